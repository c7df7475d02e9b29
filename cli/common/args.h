// args.h: the two programs' command lines, parsed into records.
//
//   cli::RenderArgs a;
//   std::string error;
//   switch (cli::args_parse_render(argc, argv, &a, &error)) { ... }
//
// Options may come before, between or after the file names, as "--name V" or
// "--name=V"; "--" ends the options. Numbers are checked strictly: the whole
// word must be a number within the option's range.
#pragma once
#include <cstdint>
#include <string>

namespace cli {

// Longest render or timed play: 30 minutes of audio.
constexpr int64_t max_render_ms = 30 * 60 * 1000;
constexpr int32_t max_passes = 10000;

enum ArgsResult { args_ok, args_help, args_error };

struct RenderArgs {
    std::string input, output;
    int32_t passes = 0;      // 0: not given
    int64_t seconds_ms = 0;  // 0: not given
    int32_t volume = 64;
};

struct PlayArgs {
    std::string input;
    int64_t seconds_ms = 0;  // 0: play until quit
    int32_t volume = 64;
};

ArgsResult args_parse_render(int argc, const char* const* argv, RenderArgs* out, std::string* error);
ArgsResult args_parse_play(int argc, const char* const* argv, PlayArgs* out, std::string* error);

// A decimal number of seconds with at most three decimals, above 0 and at
// most max_ms milliseconds, as milliseconds. 0 when the text is not one.
int64_t args_seconds(const char* text, int64_t max_ms);
// A whole number within lo..hi; 1 on success.
int32_t args_int(const char* text, int32_t lo, int32_t hi, int32_t* out);

extern const char* const render_usage;
extern const char* const play_usage;

}  // namespace cli
