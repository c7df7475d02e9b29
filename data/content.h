// content.h: the text as the program embeds it: the ten chart pages
// and the six ticker messages, already in the font's 8-bit codes (code page
// 437 order). Generated at build time from the editable sources in data/.
//
//   const content::Line& l = content::page_lines[0][5];   // page 1, row 5
//   draw(l.bytes, l.length);
#pragma once
#include <cstdint>

namespace content {

struct Line {
    const uint8_t* bytes;  // 8-bit codes, no zero byte inside
    uint32_t length;
};

constexpr int page_count = 10;
// page_lines[n - 1] holds the text rows of page n (without its "<END>" row),
// page_line_counts[n - 1] their number.
extern const Line* const page_lines[page_count];
extern const int32_t page_line_counts[page_count];

constexpr int ticker_message_count = 6;
// The messages in their order, colour tags included.
extern const Line ticker_messages[ticker_message_count];

}  // namespace content
