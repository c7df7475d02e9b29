// args.cpp: command-line parsing for xmrender and xmplay (args.h).
#include "cli/common/args.h"

#include <cstring>
#include <vector>

namespace cli {

const char* const render_usage =
    "usage: xmrender FILE.xm OUT.wav [--passes N] [--seconds S] [--volume V]\n"
    "  renders the module to a 44,100 Hz 16-bit stereo WAV file, by default one pass of the song\n"
    "  --passes N   N passes of the song (1..10000)\n"
    "  --seconds S  S seconds of audio (up to 1800, decimals allowed); with --passes, whichever ends first\n"
    "  --volume V   master volume 0..64 (64: unity gain, the default)\n";

const char* const play_usage =
    "usage: xmplay FILE.xm [--seconds S] [--volume V]\n"
    "  plays the module through the sound device; Space pauses and resumes,\n"
    "  + and - change the volume, q or Escape quits\n"
    "  --seconds S  stop after S seconds of playing (up to 1800, decimals allowed)\n"
    "  --volume V   master volume 0..64 (64: unity gain, the default)\n";

int64_t args_seconds(const char* text, int64_t max_ms) {
    if (!text || !*text) return 0;
    int64_t whole = 0, fraction = 0;
    int fraction_digits = -1;
    for (const char* p = text; *p; ++p) {
        if (*p == '.') {
            if (fraction_digits >= 0 || p == text) return 0;
            fraction_digits = 0;
        } else if (*p >= '0' && *p <= '9') {
            if (fraction_digits < 0) {
                whole = whole * 10 + (*p - '0');
                if (whole > max_ms) return 0;
            } else {
                if (++fraction_digits > 3) return 0;
                fraction = fraction * 10 + (*p - '0');
            }
        } else {
            return 0;
        }
    }
    if (fraction_digits == 0) return 0;  // "5." is not a number
    for (int d = fraction_digits < 0 ? 0 : fraction_digits; d < 3; ++d) fraction *= 10;
    const int64_t ms = whole * 1000 + fraction;
    return ms > 0 && ms <= max_ms ? ms : 0;
}

int32_t args_int(const char* text, int32_t lo, int32_t hi, int32_t* out) {
    if (!text || !*text) return 0;
    int64_t v = 0;
    const char* p = text;
    bool negative = *p == '-';
    if (negative) ++p;
    if (!*p) return 0;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9') return 0;
        v = v * 10 + (*p - '0');
        if (v > int64_t(1) << 32) return 0;
    }
    if (negative) v = -v;
    if (v < lo || v > hi) return 0;
    *out = int32_t(v);
    return 1;
}

namespace {

// One option with a value: "--name V" or "--name=V". Returns the value (and
// moves i past it), or null when argv[i] is not this option; *missing is
// set when the option has no value.
const char* option_value(int argc, const char* const* argv, int* i, const char* name, bool* missing) {
    const char* a = argv[*i];
    const size_t n = std::strlen(name);
    if (std::strncmp(a, name, n) != 0) return nullptr;
    if (a[n] == '=') return a + n + 1;
    if (a[n] != 0) return nullptr;
    if (*i + 1 >= argc) {
        *missing = true;
        return nullptr;
    }
    return argv[++*i];
}

struct Common {
    std::vector<std::string> files;
    int32_t passes = 0;
    int64_t seconds_ms = 0;
    int32_t volume = 64;
};

ArgsResult parse(int argc, const char* const* argv, bool render, Common* c, std::string* error) {
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (options && (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0)) return args_help;
        if (options && std::strcmp(a, "--") == 0) {
            options = false;
            continue;
        }
        if (!options || a[0] != '-' || a[1] == 0) {
            c->files.push_back(a);
            continue;
        }
        bool missing = false;
        const char* v;
        if ((v = option_value(argc, argv, &i, "--seconds", &missing))) {
            c->seconds_ms = args_seconds(v, max_render_ms);
            if (!c->seconds_ms) {
                *error = std::string("--seconds wants a number of seconds above 0 and at most 1800, not '") + v + "'";
                return args_error;
            }
        } else if ((v = option_value(argc, argv, &i, "--volume", &missing))) {
            if (!args_int(v, 0, 64, &c->volume)) {
                *error = std::string("--volume wants a whole number from 0 to 64, not '") + v + "'";
                return args_error;
            }
        } else if (render && (v = option_value(argc, argv, &i, "--passes", &missing))) {
            if (!args_int(v, 1, max_passes, &c->passes)) {
                *error = std::string("--passes wants a whole number from 1 to 10000, not '") + v + "'";
                return args_error;
            }
        } else {
            *error = missing ? std::string(a) + " needs a value" : std::string("unknown option '") + a + "'";
            return args_error;
        }
    }
    return args_ok;
}

}  // namespace

ArgsResult args_parse_render(int argc, const char* const* argv, RenderArgs* out, std::string* error) {
    Common c;
    const ArgsResult r = parse(argc, argv, true, &c, error);
    if (r != args_ok) return r;
    if (c.files.size() != 2) {
        *error = c.files.size() < 2 ? "needs an XM file and a WAV file to write" : "too many file names";
        return args_error;
    }
    out->input = c.files[0];
    out->output = c.files[1];
    out->passes = c.passes;
    out->seconds_ms = c.seconds_ms;
    out->volume = c.volume;
    return args_ok;
}

ArgsResult args_parse_play(int argc, const char* const* argv, PlayArgs* out, std::string* error) {
    Common c;
    const ArgsResult r = parse(argc, argv, false, &c, error);
    if (r != args_ok) return r;
    if (c.files.size() != 1) {
        *error = c.files.empty() ? "needs an XM file to play" : "too many file names";
        return args_error;
    }
    out->input = c.files[0];
    out->seconds_ms = c.seconds_ms;
    out->volume = c.volume;
    return args_ok;
}

}  // namespace cli
