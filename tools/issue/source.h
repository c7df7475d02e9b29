// source.h: the editors' UTF-8 text files, split into numbered lines of code
// points, with the checks every file of the issue shares.
//
//   issue::SourceFile f;
//   if (!issue::source_read("data/pages/03-chart.txt", f, diags)) ...
//   for (const issue::SourceLine& l : f.lines) use(l.text, l.number);
//
// Decoding is strict: a malformed or overlong UTF-8 sequence, a surrogate or
// a code point beyond U+10FFFF is reported with its line and column. A byte
// order mark at the start is skipped; CR LF line ends count as LF. A final
// line without a line end is still a line; an empty file has no lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tools/issue/diag.h"

namespace issue {

struct SourceLine {
    std::u32string text;
    int number = 0;  // 1-based line number in the file
};

struct SourceFile {
    std::string path;
    std::vector<SourceLine> lines;
};

bool source_parse(const std::string& path, std::string_view bytes, SourceFile& out, Diagnostics& d);
bool source_read(const std::string& path, SourceFile& out, Diagnostics& d);

// Checks that every character of text from index `from` on has a drawable
// code page 437 byte (see cp437.h); reports each one that has none, or that
// is a tab or another control character. `column_base` is the column of
// text[0]. Returns true when all are drawable.
bool source_check_drawable(const std::string& path, int line, int column_base, const std::u32string& text,
                           size_t from, Diagnostics& d);

// Describes a character for a message: "'ø' (U+00F8)".
std::string source_describe(char32_t c);

}  // namespace issue
