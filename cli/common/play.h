// play.h: xmplay's play loop on the player's interface (music/player.h),
// apart from the terminal so it can run against the scripted wave device.
//
//   cli::PlayIo io = {read_keys, now_ms, sleep_ms, show, stop_signal};
//   if (!cli::play_start(args)) { no device; exit 1; }
//   int code = cli::play_loop(args, io);
//
// Keys: Space pauses and resumes, + (or =) and - (or _) change the volume
// by 4 within 0..64, q, Q or a lone Escape quit; the escape sequences that
// cursor and function keys send are skipped, also when a read ends inside
// one: an Escape that ends a read waits for the next, and quits when that
// read is empty (nothing followed within the poll time) or does not go on
// with a sequence. With --seconds the loop ends after that much playing time
// (paused time does not count).
#pragma once
#include <cstdint>
#include <string>

#include "cli/common/args.h"

namespace cli {

struct PlayIo {
    // Waits up to timeout_ms for keys and returns how many it read into
    // buffer; null when there is no keyboard (then the loop only waits).
    int (*read_keys)(char* buffer, int capacity, int timeout_ms);
    int64_t (*now_ms)();             // a monotonic clock
    void (*sleep_ms)(int32_t ms);    // used when there is no keyboard
    void (*show)(const std::string& line);  // the status line, shown in place
    int (*stop_signal)();            // 0, or the signal that ends the loop
};

enum PlayEnd { play_quit, play_time_up, play_signal };

// How far an escape sequence has come, carried from one read to the next.
enum KeySequence : uint8_t { keys_plain, keys_escape, keys_csi, keys_ss3 };  // -, ESC, ESC [, ESC O

struct PlayState {
    bool paused = false;
    int32_t volume = 64;
    bool quit = false;
    KeySequence sequence = keys_plain;
};

// Applies a burst of key bytes to the state, calling the player; a count of
// 0 (a read that timed out) ends a sequence left open by the last burst.
void play_keys(PlayState* s, const char* keys, int count);
// "Title  1:23.4  L ########....  R #######.....  vol 64  [paused]"
std::string play_status_line(const std::string& title, int32_t time_ms, int32_t levels, int32_t volume,
                             bool paused);
// Sets the volume and starts the file (source kind 2). 0 when the player
// cannot start; for a module that loads, that means no audio device could be
// opened. The audio system's own complaints on stderr are held back meanwhile,
// so the caller's one-line error is all the user sees.
int32_t play_start(const PlayArgs& args);
// Runs the started player until a quit key, the end of --seconds or a
// signal, then stops it. The exit code: 0, or 128 + the signal.
int play_loop(const PlayArgs& args, const PlayIo& io);
// The whole program behind main(): parse, check the module, set up the
// terminal and signals, play. Exit codes: 0, 1 for a bad module or no audio
// device, 2 for usage errors, 128 + a signal that ended the play.
int play_main(int argc, const char* const* argv);

}  // namespace cli
