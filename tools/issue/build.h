// build.h: the whole issue build, from the editors' files to the code page
// 437 bytes the viewer embeds, and the C++ source that carries them.
//
//   issue::BuildInputs in{pages_dir, log, ticker, profile, font};
//   issue::Built out;
//   issue::Diagnostics d;
//   if (!issue::issue_build(in, out, d)) { diag_print(d, stderr); ... }
//   std::string cpp = issue::emit_cpp(out);
//
// Every check runs before anything is produced, and all failures are
// reported, each with its file, line and column.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/generate.h"
#include "tools/issue/pages.h"
#include "tools/issue/ticker.h"

namespace issue {

struct BuildInputs {
    std::string pages_dir, log, ticker, profile, font;
};

using Bytes = std::vector<uint8_t>;

struct Built {
    Issue issue;
    std::vector<Page> pages;                 // expanded, in Unicode
    std::vector<std::vector<Bytes>> page_bytes;  // [page][row]
    std::vector<Bytes> ticker_bytes;         // the six messages
    Ticker ticker;
};

bool issue_build(const BuildInputs& in, Built& out, Diagnostics& d);

// Puts the values into the ticker's "@@name@@" insertions (see insert.h) and
// checks its typed text for figures (typed.h).
bool ticker_expand(const Issue& is, Ticker& t, Diagnostics& d);

// Code page 437 bytes of drawable text (checked before; an unmapped
// character would become '?').
Bytes to_cp437(const std::u32string& s);

// The C++ source defining content::page_lines, page_line_counts and
// ticker_messages (data/content.h).
std::string emit_cpp(const Built& b);

// The pages and messages as a reader sees them, in UTF-8, for review; also
// made when the checks failed, from whatever could be expanded.
std::string emit_preview(const Built& b);

}  // namespace issue
