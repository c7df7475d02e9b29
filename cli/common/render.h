// render.h: xmrender's work: a checked module rendered offline to a WAV file
// for the span the pass rule (pass.h) or --seconds sets.
//
//   cli::RenderSummary s;
//   std::string error;
//   if (!cli::render_wav(module, args, &s, &error)) { print error; exit 1; }
//   puts(cli::render_summary_line(s).c_str());
//
// The blocks are the streaming player's own (music/offline.h) at the chosen
// master volume; the last block is cut at the planned frame.
#pragma once
#include <cstdint>
#include <string>

#include "cli/common/args.h"
#include "cli/common/module_file.h"
#include "cli/common/pass.h"

namespace cli {

struct RenderSummary {
    std::string title;
    std::string output;
    PassPlan plan;
    int32_t peak_left, peak_right;  // largest absolute output sample, 0..32768
};

// 1 when the whole file was written; 0 with *error set (and no new file).
int32_t render_wav(const ModuleFile& module, const RenderArgs& args, RenderSummary* out, std::string* error);
// "Title": 1 pass, 512 rows, 3,072 ticks, 2,116,800 frames, 0:48.000; peaks L 21000 R 20500 -> out.wav
std::string render_summary_line(const RenderSummary& s);
// The whole program behind main(): parses, checks, renders, prints the
// summary to `out` and one-line errors to `err`. Returns the exit code:
// 0 written, 1 the module or the output failed, 2 a usage error (an output
// that is the input file itself, by any path, is one).
int render_main(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace cli
