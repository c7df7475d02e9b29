// layout.h: the interface geometry in one place. The background picture is
// painted from these numbers at build time (tools/cover), and the viewer's
// start-up, mouse tests and drawing use the same ones, so what the reader
// sees and where the program reacts can never drift apart.
//
//   #include "render/layout.h"
//   if (layout::inside(layout::down_arrow, x, y)) ...
//
// Header only, no dependencies: the build-time tools include it too.
#pragma once
#include <cstdint>

namespace layout {

// The text pane: text is clipped to x pane_left..pane_right and
// y pane_top..pane_bottom (inclusive). Page rows start at x = pane_left - 2.
constexpr int32_t pane_left = 44;
constexpr int32_t pane_right = 762;
constexpr int32_t pane_top = 185;
constexpr int32_t pane_bottom = 579;

// The pane's light frame in the picture; everything strictly inside it is
// pure black, except artwork that deliberately reaches into the first rows.
constexpr int32_t frame_left = 38;
constexpr int32_t frame_right = 762;
constexpr int32_t frame_top = 183;
constexpr int32_t frame_bottom = 580;

// Clip bases of the ticker's glyphs (ticker pixels lie at x 42..758).
constexpr int32_t ticker_left = 44;
constexpr int32_t ticker_right = 765;
constexpr int32_t ticker_y = 587;  // top row of the ticker's glyph cells
// The framed bar the ticker runs on: its white frame spans these rows, its
// dark inside the rows between them; horizontally it follows the pane.
constexpr int32_t ticker_bar_top = 584;
constexpr int32_t ticker_bar_bottom = 599;

// The menu: eleven rows, row k's box spans y menu_row_top[k] ..
// menu_row_top[k] + menu_row_height and x menu_left .. menu_left + menu_width.
constexpr int32_t menu_left = 582;
constexpr int32_t menu_width = 200;
constexpr int32_t menu_row_height = 10;
constexpr int32_t menu_rows = 11;
constexpr int32_t menu_row_top[menu_rows + 1] = {0, 8, 20, 32, 43, 54, 66, 77, 89, 100, 112, 123};
// What the picture prints on each row after its key ("F1" .. "F11").
constexpr const char* menu_label[menu_rows + 1] = {
    "",
    "INSTRUCTIONS",
    "GROUP RELEASE STATISTICS",
    "MONTHLY CHART",
    "MONTHLY OVERVIEW",
    "YEARLY STATISTICS",
    "YEARLY OVERVIEW",
    "ALL-TIME STATISTICS",
    "ALL-TIME OVERVIEW",
    "GROUP OF THE MONTH",
    "GROUP OF THE YEAR",
    "MUSIC ON / OFF",
};

// A mouse hot spot: x .. x + width - 1 by y .. y + height - 1.
struct Spot {
    int32_t x, y, width, height;
};
constexpr bool inside(const Spot& s, int32_t px, int32_t py) {
    return px >= s.x && px < s.x + s.width && py >= s.y && py < s.y + s.height;
}
constexpr Spot quit_spot = {0, 0, 10, 10};
constexpr Spot down_arrow = {712, 182, 17, 16};
constexpr Spot up_arrow = {739, 182, 17, 16};
// The quit highlight is wider and lower than its spot: (0, 0) to (12, 8).
constexpr int32_t quit_highlight_right = 12;
constexpr int32_t quit_highlight_bottom = 8;

// Colour of every hover highlight: blend weight 0x6E of 256 in the top byte.
constexpr uint32_t highlight_colour = 0x6E1E3CF0;

}  // namespace layout
