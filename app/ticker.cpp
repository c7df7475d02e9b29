// ticker.cpp: the message ticker along the bottom of the screen.
//
// queue_ticker_messages (start-up) builds the one long ticker text: 101
// spaces, then the six built-in messages. draw_ticker (once per frame) draws
// the 103-character window that starts at ticker_pos and moves it one pixel
// left; every 8 frames the window advances by one character, and after the
// last one the window stays empty for one cell before the text starts over.
//
// Colour tags are "{R}", "{G}", "{B}", "{W}" and "{D}"; any "{", character,
// "}" triple is hidden in the same way but sets no colour. A tag keeps its
// three cells (24 pixels of empty space). The colour of the last tag that
// scrolled out at the left is carried in ticker_colour to the next frames.
#include <vector>

#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "data/content.h"
#include "render/layout.h"
#include "render/render.h"

namespace app {

namespace {

constexpr int32_t lead_in_spaces = 101;
constexpr int32_t window_chars = 103;
constexpr int32_t cell_width = 8;

std::vector<uint8_t> ticker_storage;  // the bytes ticker_text refers to; built once

}  // namespace

bool ticker_tag_colour(Text t, int32_t position, uint32_t* colour) {
    if (text_code(t, position) != '{' || text_code(t, position + 2) != '}') return false;
    switch (text_code(t, position + 1)) {
        case 'R': *colour = 0xFF5555; return true;
        case 'G': *colour = 0x55FF55; return true;
        case 'B': *colour = 0x5555FF; return true;
        case 'W': *colour = 0xFFFFFF; return true;
        case 'D': *colour = 0xBBBBBB; return true;
        default: return false;
    }
}

void queue_ticker_messages() {
    ticker_storage.assign(size_t(lead_in_spaces), uint8_t(' '));
    for (const content::Line& m : content::ticker_messages)
        ticker_storage.insert(ticker_storage.end(), m.bytes, m.bytes + m.length);
    viewer.ticker_text = text_of(ticker_storage.data(), int32_t(ticker_storage.size()));
}

void draw_ticker() {
    ViewerState& v = viewer;
    v.ticker_draw_colour = v.ticker_colour;
    draw_ticker_text(v.ticker_x, layout::ticker_y, text_sub(v.ticker_text, v.ticker_pos, window_chars));

    v.ticker_x -= 1;
    if (v.ticker_x >= -cell_width) return;

    // The first cell has left the screen: advance by one character.
    uint32_t colour;
    if (ticker_tag_colour(v.ticker_text, v.ticker_pos, &colour)) v.ticker_colour = colour;
    v.ticker_pos += 1;
    if (v.ticker_pos > v.ticker_text.length) v.ticker_pos = 0;
    v.ticker_x += cell_width;
}

void draw_ticker_text(int32_t x, int32_t y, Text text) {
    int32_t hidden = 0;
    for (int32_t i = 1; i <= text.length; ++i) {
        uint32_t colour;
        if (ticker_tag_colour(text, i, &colour)) viewer.ticker_draw_colour = colour;
        if (text_code(text, i) == '{' && text_code(text, i + 2) == '}') hidden = 3;
        if (hidden <= 0) draw_ticker_glyph(x, y, render::glyph_cell_column(uint32_t(text_code(text, i))));
        if (hidden > 0) hidden -= 1;
        x += cell_width;
    }
}

void draw_ticker_glyph(int32_t x, int32_t y, int32_t cell_column) {
    const ViewerState& v = viewer;
    // A cell column outside the atlas has no glyph to draw.
    if (cell_column < 0 || cell_column > 2048 - 9) return;
    const int32_t clip_left = v.ticker_left - 2, clip_right = v.ticker_right - 6;
    const uint32_t colour = v.ticker_draw_colour;
    for (int32_t r = 0; r < 12; ++r) {
        int32_t row = y + r;
        if (row < 0 || row >= render::frame_height) continue;  // off the frame
        uint32_t* out = render::Framebuffer + row * render::frame_width;
        for (int32_t k = 0; k < 9; ++k) {
            int32_t col = x + k;
            if (col < clip_left || col >= clip_right) continue;
            if (col < 0 || col >= render::frame_width) continue;  // off the frame
            if (render::glyph_ink(cell_column, k, r)) out[col] = colour;
        }
    }
}

}  // namespace app
