// placeholder_content.cpp: a one-line stand-in for the text, used
// until the real content is generated.
#include "data/content.h"

namespace content {
namespace {
const uint8_t text[] = "  QUILLON";
const Line one_line[] = {{text, 9}};
}  // namespace
const Line* const page_lines[page_count] = {one_line, one_line, one_line, one_line, one_line,
                                            one_line, one_line, one_line, one_line, one_line};
const int32_t page_line_counts[page_count] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
const Line ticker_messages[ticker_message_count] = {{text, 9}, {text, 9}, {text, 9},
                                                    {text, 9}, {text, 9}, {text, 9}};
}  // namespace content
