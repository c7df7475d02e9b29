// play.cpp: xmplay's play loop and status line (play.h).
#include "cli/common/play.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "cli/common/module_file.h"
#include "music/player.h"

namespace cli {

namespace {

constexpr int32_t volume_step = 4;
constexpr int32_t poll_ms = 50;
constexpr int32_t meter_width = 12;
constexpr double meter_floor_db = -48.0;

// A bar of meter_width cells for a mean absolute level, on a dB scale from
// meter_floor_db to full scale.
std::string meter(int32_t level) {
    int32_t cells = 0;
    if (level > 0) {
        const double db = 20.0 * std::log10(double(level) / 32768.0);
        cells = int32_t(std::lround((db - meter_floor_db) / -meter_floor_db * meter_width));
        if (cells < 0) cells = 0;
        if (cells > meter_width) cells = meter_width;
    }
    return std::string(size_t(cells), '#') + std::string(size_t(meter_width - cells), '.');
}

}  // namespace

void play_keys(PlayState* s, const char* keys, int count) {
    if (count == 0) {
        // Nothing came after the last burst: an Escape it ended was a lone one.
        if (s->sequence == keys_escape) s->quit = true;
        s->sequence = keys_plain;
        return;
    }
    for (int i = 0; i < count; ++i) {
        const char c = keys[i];
        // A lone Escape quits; "ESC [ ... final" and "ESC O x" come from other keys.
        switch (s->sequence) {
        case keys_escape:
            if (c != '[' && c != 'O') {
                s->quit = true;
                return;
            }
            s->sequence = c == '[' ? keys_csi : keys_ss3;
            continue;
        case keys_csi:
            if (c >= 0x40 && c <= 0x7E) s->sequence = keys_plain;
            continue;
        case keys_ss3:
            s->sequence = keys_plain;
            continue;
        case keys_plain:
            break;
        }
        if (c == 27) {
            s->sequence = keys_escape;
        } else if (c == 'q' || c == 'Q') {
            s->quit = true;
            return;
        } else if (c == ' ') {
            s->paused = !s->paused;
            if (s->paused)
                music::player_pause();
            else
                music::player_resume();
        } else if (c == '+' || c == '=' || c == '-' || c == '_') {
            const bool up = c == '+' || c == '=';
            s->volume += up ? volume_step : -volume_step;
            if (s->volume > 64) s->volume = 64;
            if (s->volume < 0) s->volume = 0;
            music::player_set_volume(s->volume);
        }
    }
}

std::string play_status_line(const std::string& title, int32_t time_ms, int32_t levels, int32_t volume,
                             bool paused) {
    if (time_ms < 0) time_ms = 0;
    char t[32];
    std::snprintf(t, sizeof t, "%d:%02d.%d", time_ms / 60000, time_ms / 1000 % 60, time_ms / 100 % 10);
    std::string line = (title.empty() ? std::string("(untitled)") : title) + "  " + t;
    line += "  L " + meter(int32_t(uint32_t(levels) >> 16)) + "  R " + meter(levels & 0xFFFF);
    line += "  vol " + std::to_string(volume);
    if (paused) line += "  [paused]";
    return line;
}

int32_t play_start(const PlayArgs& args) {
    music::player_set_volume(args.volume);
    std::fflush(stderr);
    const int kept = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (kept >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    const int32_t started = music::player_start(args.input.c_str(), 0, 2);
    if (kept >= 0 && null >= 0) dup2(kept, STDERR_FILENO);
    if (kept >= 0) close(kept);
    if (null >= 0) close(null);
    return started;
}

int play_loop(const PlayArgs& args, const PlayIo& io) {
    PlayState s;
    s.volume = args.volume;
    int64_t played_ms = 0;
    int64_t last = io.now_ms();
    PlayEnd end = play_quit;
    for (;;) {
        if (io.stop_signal()) {
            end = play_signal;
            break;
        }
        if (io.read_keys) {
            char keys[64];
            const int n = io.read_keys(keys, sizeof keys, poll_ms);
            play_keys(&s, keys, n);
            if (s.quit) break;
        } else {
            io.sleep_ms(poll_ms);
        }
        const int64_t now = io.now_ms();
        if (!s.paused) played_ms += now - last;
        last = now;
        if (args.seconds_ms > 0 && played_ms >= args.seconds_ms) {
            end = play_time_up;
            break;
        }
        io.show(play_status_line(module_title_shown(music::player_get_title()), music::player_get_time(), music::player_get_levels(),
                                 s.volume, s.paused));
    }
    music::player_start(nullptr, 0, 0);
    return end == play_signal ? 128 + io.stop_signal() : 0;
}

}  // namespace cli
