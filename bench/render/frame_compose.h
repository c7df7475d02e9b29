// frame_compose.h: the renderer's whole frame as the viewer composes it in its
// first visible state (background, 33 visible page rows of 80 characters,
// two hover boxes, the ticker bar, 103 ticker cells, the cursor), shared by
// frame_bench and web_bench (bench/web), natively and in the browser.
//
//   frame_compose::start_up();   // once: the tables the renderer draws from
//   frame_compose::compose();    // one frame into render::Framebuffer
#pragma once
#include <string>
#include <vector>

#include "app/state/viewer_state.h"
#include "render/layout.h"
#include "render/render.h"
#include "tests/render/render_fixture.h"

namespace frame_compose {

// The renderer's tables as the viewer's start-up leaves them, as its tests set them.
inline void start_up() { render_test::start_up(); }

inline const std::vector<std::string>& page() {
    static std::vector<std::string> rows = [] {
        std::vector<std::string> r;
        const std::string words = "  Top ten groups of the month \xB3 releases \xBA score \xDB\xDB\xDB\xB2\xB1\xB0 r\x82sum\x82 ";
        for (int i = 0; i < 33; ++i) {
            std::string s;
            while (s.size() < 80) s += words.substr(size_t(i * 7) % words.size());
            s.resize(80);
            r.push_back(s);
        }
        return r;
    }();
    return rows;
}

// The ticker's glyph cells: 8 pixels apart, clipped to x 42..758, one colour.
inline void ticker_cells(const std::string& window, int x) {
    const app::ViewerState& v = app::viewer;
    for (size_t i = 0; i < window.size(); ++i, x += 8) {
        const int column = render::glyph_cell_column((unsigned char)window[i]);
        for (int r = 0; r < 12; ++r) {
            uint32_t* row = render::Framebuffer + (layout::ticker_y + r) * 800;
            const uint32_t ink = render::glyph_row_mask(column, r);
            if (ink == 0) continue;
            for (int k = 0; k < 9; ++k) {
                const int X = x + k;
                if ((ink >> k & 1) && X >= v.ticker_left - 2 && X < v.ticker_right - 6) row[X] = 0xFFFFFF;
            }
        }
    }
}

inline void compose() {
    const app::ViewerState& v = app::viewer;
    render::draw_background(0, 0);
    const auto& rows = page();
    for (int i = 0; i < 33; ++i)
        render::draw_pane_text(v.pane_left - 2, v.pane_top + 13 + 12 * i - 12,
                               reinterpret_cast<const uint8_t*>(rows[i].data()), 80);
    const auto box = [](int x0, int y0, int x1, int y1) {
        render::blend_triangle(x0, y0, x1, y0, x1, y1, layout::highlight_colour);
        render::blend_triangle(x0, y0, x0, y1, x1, y1, layout::highlight_colour);
    };
    box(layout::menu_left, layout::menu_row_top[2], layout::menu_left + layout::menu_width,
        layout::menu_row_top[2] + layout::menu_row_height);
    box(layout::up_arrow.x, layout::up_arrow.y, layout::up_arrow.x + layout::up_arrow.width,
        layout::up_arrow.y + layout::up_arrow.height);
    render::draw_ticker_bar();
    static const std::string ticker = [] {
        std::string t = "  WELCOME TO QUILLON, THE TEXT ART CHART MAGAZINE - PRESS F1 TO F10 FOR THE PAGES";
        t.resize(103, ' ');
        return t;
    }();
    ticker_cells(ticker, -4);
    render::draw_cursor(750, 190);
}

}  // namespace frame_compose
