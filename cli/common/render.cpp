// render.cpp: xmrender's rendering and summary (render.h).
#include "cli/common/render.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "music/offline.h"
#include "music/player.h"
#include "cli/common/wav.h"

namespace cli {

namespace {

std::string grouped(int64_t v) {
    std::string digits = std::to_string(v), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string duration(int64_t frames) {
    const int64_t ms = frames * 1000 / frames_per_second;
    char b[32];
    std::snprintf(b, sizeof b, "%lld:%02lld.%03lld", (long long)(ms / 60000), (long long)(ms / 1000 % 60),
                  (long long)(ms % 1000));
    return b;
}

// The output names the input file itself, by whatever path: writing it would
// put the WAV in the module's place.
bool same_file(const std::string& a, const std::string& b) {
    struct stat sa{}, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace

int32_t render_wav(const ModuleFile& module, const RenderArgs& args, RenderSummary* out, std::string* error) {
    *out = RenderSummary{};
    out->output = args.output;
    const void* data = module.bytes.data();
    const int32_t size = int32_t(module.bytes.size());

    PassLimits limits{args.passes, args.seconds_ms * frames_per_second / 1000};
    if (limits.passes == 0 && limits.frames == 0) limits.passes = 1;
    if (!pass_plan(data, size, 1, limits, &out->plan)) {
        *error = "'" + args.input + "': cannot be loaded";
        return 0;
    }

    WavFile w;
    if (!wav_open(&w, args.output, out->plan.frames, error)) return 0;
    music::player_set_volume(args.volume);
    if (!music::offline_start(data, size, 1)) {
        wav_abort(&w);
        *error = "'" + args.input + "': cannot be loaded";
        return 0;
    }
    out->title = module_title_shown(music::player_get_title());
    int32_t peak_l = 0, peak_r = 0;
    for (int64_t left = out->plan.frames; left > 0 && !w.error;) {
        const uint8_t* b = music::offline_block();
        const int32_t n = left < music::block_frames ? int32_t(left) : music::block_frames;
        for (int32_t f = 0; f < n; ++f) {
            const int32_t l = std::abs(int32_t(int16_t(b[4 * f] | b[4 * f + 1] << 8)));
            const int32_t r = std::abs(int32_t(int16_t(b[4 * f + 2] | b[4 * f + 3] << 8)));
            if (l > peak_l) peak_l = l;
            if (r > peak_r) peak_r = r;
        }
        wav_write(&w, b, size_t(n) * 4);
        left -= n;
    }
    music::offline_stop();
    out->peak_left = peak_l;
    out->peak_right = peak_r;
    return wav_close(&w, error);
}

std::string render_summary_line(const RenderSummary& s) {
    const PassPlan& p = s.plan;
    std::string line = "\"" + s.title + "\": ";
    line += grouped(p.passes) + (p.passes == 1 ? " pass, " : " passes, ");
    line += grouped(p.rows) + " rows, " + grouped(p.ticks) + " ticks, " + grouped(p.frames) + " frames, ";
    line += duration(p.frames);
    line += "; peaks L " + std::to_string(s.peak_left) + " R " + std::to_string(s.peak_right);
    line += " -> " + s.output;
    if (p.hit_limit) line += " (stopped at the 30-minute limit)";
    return line;
}

int render_main(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
    RenderArgs args;
    std::string error;
    switch (args_parse_render(argc, argv, &args, &error)) {
    case args_help:
        std::fputs(render_usage, out);
        return 0;
    case args_error:
        std::fprintf(err, "xmrender: %s\n%s", error.c_str(), render_usage);
        return 2;
    case args_ok:
        break;
    }
    if (same_file(args.input, args.output)) {
        std::fprintf(err, "xmrender: '%s' is the input file '%s'; name another file for the WAV\n", args.output.c_str(),
                     args.input.c_str());
        return 2;
    }
    ModuleFile module;
    if (!module_file_open("xmrender", args.input, &module, err)) return 1;
    RenderSummary summary;
    if (!render_wav(module, args, &summary, &error)) {
        std::fprintf(err, "xmrender: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(out, "%s\n", render_summary_line(summary).c_str());
    return 0;
}

}  // namespace cli
