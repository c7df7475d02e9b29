// insert.h: the "@@name argument|noun:width@@" insertions of the pages and
// the ticker, found in a piece of text and replaced by their values.
//
//   issue::Placed src = issue::placed_line(line.text, line.number);
//   std::vector<issue::Insertion> ins;
//   issue::insert_find(path, src, ins, diags);
//   issue::Placed out;
//   issue::insert_values(is, path, src, ins, out, diags);
//
// Inside the "@@" pair: the name, then its argument after a space, then an
// optional noun after '|' for a count ("@@month_releases|release@@"), then an
// optional width after ':' (":6" right-aligned in 6 columns, ":-6" left).
// Text keeps the source place of every character, and marks the characters
// that came from an insertion, so later checks can tell typed text apart.
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/generate.h"

namespace issue {

struct Placed {
    std::u32string text;
    std::vector<int> lines, columns;  // source place of each character
    std::vector<bool> inserted;       // the character comes from an insertion
};

Placed placed_line(const std::u32string& text, int line);

struct Insertion {
    size_t begin = 0, end = 0;  // of "@@...@@" in the text, end past the closing "@@"
    std::u32string name, arg, noun;
    int width = 0;  // 0: as it comes; > 0 right-aligned; < 0 left-aligned
};

// Reports an "@@" that is not closed.
bool insert_find(const std::string& path, const Placed& text, std::vector<Insertion>& out, Diagnostics& d);

// Replaces every insertion by its value (blocks are not allowed here);
// reports unknown names and bad arguments.
bool insert_values(const Issue& is, const std::string& path, const Placed& text, const std::vector<Insertion>& ins,
                   Placed& out, Diagnostics& d);

}  // namespace issue
