// ticker.h: the six messages of the ticker (data/ticker.txt) and their
// colour tags.
//
//   issue::Ticker t;
//   issue::ticker_load("data/ticker.txt", t, diags);
//
// File: '#' starts a comment line. A message is one or more consecutive lines
// written between bars, "|like this|", joined without anything in between;
// the bars make leading and trailing spaces visible. Messages are separated
// by blank or comment lines. The colour tags are {R} {G} {B} {W} {D}; any
// other brace ("{r}", "{X}", "{R", a lone "}") is reported as a mistyped tag,
// since the viewer would hide it or show it as text. There are exactly six
// messages, the first begins with a colour tag and the last tag of all is
// {W}, so the ticker is white again when it starts over.
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/source.h"

namespace issue {

constexpr int ticker_message_count = 6;

struct TickerMessage {
    std::u32string text;
    std::vector<int> lines, columns;  // source place of each character
    int first_line = 0;
};

struct Ticker {
    std::string path;
    std::vector<TickerMessage> messages;
};

bool ticker_parse(const SourceFile& file, Ticker& out, Diagnostics& d);
bool ticker_load(const std::string& path, Ticker& out, Diagnostics& d);

bool ticker_is_tag(const std::u32string& s, size_t i);  // a colour tag starts at s[i]
int ticker_tag_count(const std::u32string& s);
int ticker_leading_spaces(const std::u32string& s);
int ticker_trailing_spaces(const std::u32string& s);

}  // namespace issue
