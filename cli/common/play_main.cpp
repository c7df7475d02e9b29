// play_main.cpp: xmplay as a program (play_main in play.h): the module
// check, the terminal, the signals and the status line around play_start
// and play_loop.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cli/common/module_file.h"
#include "cli/common/play.h"
#include "cli/common/term.h"

namespace cli {

namespace {

bool status_on_terminal = false;

int64_t steady_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The line in place: back to column 0, the line cut to the terminal's
// width (a wrapped line could not be redrawn), the rest of the row cleared.
void show_line(const std::string& line) {
    if (!status_on_terminal) return;
    const int columns = term_width();
    const size_t width = columns > 1 ? size_t(columns) : 80;
    const std::string shown = line.size() >= width ? line.substr(0, width - 1) : line;
    std::fprintf(stdout, "\r%s\033[K", shown.c_str());
    std::fflush(stdout);
}

}  // namespace

int play_main(int argc, const char* const* argv) {
    PlayArgs args;
    std::string error;
    switch (args_parse_play(argc, argv, &args, &error)) {
    case args_help:
        std::fputs(play_usage, stdout);
        return 0;
    case args_error:
        std::fprintf(stderr, "xmplay: %s\n%s", error.c_str(), play_usage);
        return 2;
    case args_ok:
        break;
    }
    ModuleFile module;
    if (!module_file_open("xmplay", args.input, &module, stderr)) return 1;
    module.bytes.clear();
    module.bytes.shrink_to_fit();

    term_signals_install();
    status_on_terminal = isatty(STDOUT_FILENO);
    const bool keys = term_raw_enter();
    if (!play_start(args)) {
        term_raw_leave();
        std::fprintf(stderr, "xmplay: no audio output device could be opened to play '%s'\n", args.input.c_str());
        return 1;
    }
    if (!status_on_terminal) std::printf("xmplay: playing \"%s\" from '%s'\n", module.title.c_str(), args.input.c_str());
    std::fflush(stdout);
    const PlayIo io = {keys ? term_read_keys : nullptr, steady_ms, term_sleep_ms, show_line, term_signal};
    const int code = play_loop(args, io);
    term_raw_leave();
    if (status_on_terminal) std::fputs("\n", stdout);
    return code;
}

}  // namespace cli
