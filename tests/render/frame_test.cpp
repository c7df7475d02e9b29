// One composed frame against its known checksum: background, 33 page rows
// with box-drawing art, two hover boxes, the ticker bar, ticker cells and the
// cursor, in the frame loop's order. On a mismatch the frame is written as
// frame_actual.png next to this test's binary, so a person can look at it;
// if the change is intended, put the printed checksum below.
#include <gtest/gtest.h>

#include <string>

#include "png.h"
#include "render_fixture.h"

namespace {

constexpr uint64_t expected_checksum = 0xa5d0802c13df76afull;

uint64_t fnv1a(const uint32_t* p, size_t n) {
    uint64_t h = 1469598103934665603ull;
    for (size_t i = 0; i < n; ++i)
        for (int s = 0; s < 32; s += 8) h = (h ^ ((p[i] >> s) & 255)) * 1099511628211ull;
    return h;
}

std::string page_row(int i) {
    // a framed table with a heading, shade bars and accented text
    static const char* rows[] = {
        "   \xC9\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xBB",
        "   \xBA  MONTHLY CHART  -  caf\x82, na\x8Bve, \x85 la carte     \xBA",
        "   \xC8\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD"
        "\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xCD\xBC",
    };
    if (i < 3) return rows[i];
    std::string s = "  " + std::to_string(i - 2) + ". Group " + char('A' + i % 26) + "\t";
    s.resize(24, ' ');
    for (int k = 0; k < (i * 7) % 40; ++k) s += k % 4 == 3 ? '\xB1' : '\xDB';
    s.resize(80, '\xB0');
    return s;
}

void compose() {
    const app::ViewerState& v = app::viewer;
    render::draw_background(0, 0);
    for (int i = 0; i < 36; ++i) {
        const std::string row = page_row(i);
        render::draw_pane_text(v.pane_left - 2, v.pane_top + 13 + 12 * i - 12,
                               reinterpret_cast<const uint8_t*>(row.data()), int32_t(row.size()));
    }
    const auto box = [](int x0, int y0, int x1, int y1) {
        render::blend_triangle(x0, y0, x1, y0, x1, y1, layout::highlight_colour);
        render::blend_triangle(x0, y0, x0, y1, x1, y1, layout::highlight_colour);
    };
    box(layout::menu_left, layout::menu_row_top[3], layout::menu_left + layout::menu_width,
        layout::menu_row_top[3] + layout::menu_row_height);
    box(layout::down_arrow.x, layout::down_arrow.y, layout::down_arrow.x + layout::down_arrow.width,
        layout::down_arrow.y + layout::down_arrow.height);
    render::draw_ticker_bar();
    const std::string ticker = "  WELCOME TO QUILLON - THE TEXT ART CHART MAGAZINE -- F1 TO F10 SELECT A PAGE";
    for (size_t i = 0; i < ticker.size(); ++i) {
        const int x = -3 + int(i) * 8, column = render::glyph_cell_column((unsigned char)ticker[i]);
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 9; ++k)
                if (x + k >= v.ticker_left - 2 && x + k < v.ticker_right - 6 && render::glyph_ink(column, k, r))
                    render_test::at(x + k, layout::ticker_y + r) = 0xFFFF55;
    }
    render::draw_cursor(720, 190);
}

}  // namespace

TEST(Frame, ComposedFrameMatchesItsChecksum) {
    render_test::start_up();
    render_test::clear(0);
    compose();
    const uint64_t sum = fnv1a(render::Framebuffer, 800 * 600);
    if (sum != expected_checksum) {
        const std::string path = std::string(QUILLON_TEST_OUTPUT_DIR) + "/frame_actual.png";
        render_test::write_png(path, render::Framebuffer, 800, 600);
        ADD_FAILURE() << "frame checksum 0x" << std::hex << sum << ", expected 0x" << expected_checksum
                      << "; the frame is in " << path;
    }
    // drawing the same frame again over a dirty buffer gives the same pixels
    render_test::clear(0x00FF00FF);
    compose();
    EXPECT_EQ(fnv1a(render::Framebuffer, 800 * 600), sum);
}
