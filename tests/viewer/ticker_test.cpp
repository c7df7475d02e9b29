// The message ticker: its frame timeline (the empty lead-in window, 8-frame
// cells with a 9-frame first one, the empty cell after the end, a pass of
// 10,096 frames over 1,261 characters), the colour tags inside the window
// and carried in from the left, hidden tags, and the glyph clip 42 <= X < 759.
#include <gtest/gtest.h>

#include <string>

#include "data/content.h"
#include "viewer_fixture.h"

namespace {

constexpr uint32_t white = 0xFFFFFF, red = 0xFF5555, grey = 0xBBBBBB;
constexpr int ticker_row = 587;

// Every glyph but the space's is a solid 9 x 12 block.
void block_font() {
    for (uint32_t& c : render::palette_colours) c = 0;
    render::palette_colours[1] = 0x808080;
    for (int r = 0; r < 12; ++r)
        for (int col = 0; col < 2048; ++col) render::font_atlas[r * 2048 + col] = col >= 9 ? 1 : 0;
}

void clear_ticker_rows() {
    for (int y = ticker_row - 2; y < 600; ++y)
        for (int x = 0; x < 800; ++x) viewer_test::pixel(x, y) = 0;
}

// 101 spaces, a message that opens with a tag, and the closing "{W}" with 31
// spaces: 1,261 characters, like the issue's own ticker text.
const std::string& tagged_text() {
    static const std::string s = std::string(101, ' ') + "{R}HELLO{D}WORLD{x}AB" + std::string(1105, 'A') + "{W}" +
                                 std::string(31, ' ');
    return s;
}

void use_text(const std::string& s) {
    app::viewer.ticker_text = app::text_of(reinterpret_cast<const uint8_t*>(s.data()), int32_t(s.size()));
}

// Centre colour of the window's cell j in this frame.
uint32_t cell_centre(int x, int j) { return viewer_test::pixel(x + 8 * j + 4, ticker_row + 6); }

TEST(Ticker, FrameTimelineOverAWholePass) {
    viewer_test::fresh();
    viewer_test::clear_frame(0);
    block_font();
    use_text(tagged_text());
    ASSERT_EQ(app::viewer.ticker_text.length, 1261);
    const app::ViewerState& v = app::viewer;

    struct At {
        int frame, pos, x;  // before the frame's draw
    } timeline[] = {
        {1, 0, 0},       {2, 0, -1},      {9, 0, -8},                         // lead-in: empty window, 9 frames
        {10, 1, -1},     {17, 1, -8},     {18, 2, -1},    {59, 7, -2},        // 8 frames per cell
        {10089, 1260, -8}, {10090, 1261, -1}, {10097, 1261, -8},
        {10098, 0, -1},  {10105, 0, -8},                                      // one empty cell after the end
        {10106, 1, -1},  {10114, 2, -1},                                      // and over again
    };
    size_t next = 0;
    for (int f = 1; f <= 10114; ++f) {
        if (next < std::size(timeline) && timeline[next].frame == f) {
            EXPECT_EQ(v.ticker_pos, timeline[next].pos) << "frame " << f;
            EXPECT_EQ(v.ticker_x, timeline[next].x) << "frame " << f;
            ++next;
        }
        if (f == 825) {
            EXPECT_EQ(v.ticker_colour, white);
        }
        const bool check = f <= 10 || f == 82 || f == 83 || f == 826 || (f >= 10097 && f <= 10106);
        if (check) clear_ticker_rows();
        app::draw_ticker();
        if (!check) continue;

        int inked = 0, at_758 = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (viewer_test::pixel(x, y)) {
                    ++inked;
                    at_758 += x == 758;
                }
        if (f <= 82 || (f >= 10097 && f <= 10106)) {
            EXPECT_EQ(inked, 0) << "frame " << f;  // spaces, then the hidden "{R}"
        } else if (f == 83) {
            // 'H', three cells after the tag's '{' (character 102), enters at x = 758 in red
            EXPECT_EQ(inked, 12);
            EXPECT_EQ(at_758, 12);
            EXPECT_EQ(viewer_test::pixel(758, ticker_row), red);
            EXPECT_EQ(viewer_test::pixel(758, ticker_row + 11), red);
        } else if (f == 826) {
            // "{" of "{R}" has scrolled out: the window opens with "R}" (clipped
            // away left of 42) and red carried in from the left.
            EXPECT_EQ(v.ticker_colour, red);
            EXPECT_EQ(v.ticker_pos, 103);
            const char* expected = "...rr...ggggg...gg";  // cells 2..19
            for (int j = 0; j < 18; ++j) {
                const uint32_t want = expected[j] == 'r' ? red : expected[j] == 'g' ? grey : 0;
                EXPECT_EQ(cell_centre(-1, j + 2), want) << "cell " << j + 2;
            }
            for (int y = 0; y < 600; ++y)
                for (int x = 0; x < 42; ++x) ASSERT_EQ(viewer_test::pixel(x, y), 0u) << x << ", " << y;
        }
    }
    EXPECT_EQ(next, std::size(timeline));
    EXPECT_EQ(v.ticker_colour, white);  // the closing "{W}" has scrolled out
}

TEST(Ticker, FirstCharacterAfterTheLeadInEntersAtFrame59) {
    viewer_test::fresh();
    viewer_test::clear_frame(0);
    block_font();
    static const std::string s = std::string(101, ' ') + "QUILLON";
    use_text(s);
    for (int f = 1; f <= 59; ++f) {
        clear_ticker_rows();
        app::draw_ticker();
        int inked = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) inked += viewer_test::pixel(x, y) != 0;
        if (f < 59) {
            ASSERT_EQ(inked, 0) << "frame " << f;
        }
    }
    for (int y = ticker_row; y < ticker_row + 12; ++y) EXPECT_EQ(viewer_test::pixel(758, y), white) << y;
    EXPECT_EQ(viewer_test::pixel(757, ticker_row), 0u);
    EXPECT_EQ(viewer_test::pixel(758, ticker_row - 1), 0u);
    EXPECT_EQ(viewer_test::pixel(758, ticker_row + 12), 0u);
}

TEST(Ticker, TextHidesEveryBracePairAndOnlyFiveTagsSetAColour) {
    viewer_test::fresh();
    viewer_test::clear_frame(0);
    block_font();
    // The space's cell gets one ink pixel in its top-left corner, to show
    // that codes below 32 draw the space's glyph.
    for (int col = 0; col < 9; ++col) render::font_atlas[col] = col == 4 ? 1 : 0;
    static const std::string s = "A{R}B{q}C\x09{G}D{B}E{D}F{W}G{}}H{}";
    viewer_test::clear_frame(0);
    app::viewer.ticker_draw_colour = white;
    app::draw_ticker_text(100, ticker_row,
                          app::text_of(reinterpret_cast<const uint8_t*>(s.data()), int32_t(s.size())));
    // per cell: the colour of its centre (0: nothing drawn); "{}}" is hidden
    // like any brace pair, the closing "{}" is not one and is drawn
    const uint32_t G = 0x55FF55, B = 0x5555FF;
    const uint32_t expected[] = {white, 0, 0, 0, red, 0, 0, 0, red, 0, 0, 0, 0, G, 0, 0, 0, B,
                                 0,     0, 0, grey, 0, 0, 0, white, 0, 0, 0, white, white, white};
    static_assert(std::size(expected) == 32);
    ASSERT_EQ(s.size(), 32u);
    for (int j = 0; j < 32; ++j) EXPECT_EQ(cell_centre(100, j), expected[j]) << "cell " << j << " '" << s[j] << "'";
    // the tab drew the space's one ink pixel, in the colour then in effect
    EXPECT_EQ(viewer_test::pixel(100 + 8 * 9 + 4, ticker_row), red);
    EXPECT_EQ(app::viewer.ticker_draw_colour, white);
}

TEST(Ticker, GlyphsAreClippedToColumns42To758AndKeepAllTwelveRows) {
    viewer_test::fresh();
    viewer_test::clear_frame(0);
    block_font();
    app::viewer.ticker_draw_colour = red;
    const int column = render::glyph_cell_column('Q');
    struct Case {
        int x, first, last;  // columns written
    } cases[] = {{37, 42, 45}, {33, 42, 41}, {42, 42, 50}, {200, 200, 208}, {750, 750, 758}, {755, 755, 758},
                 {759, 759, 758}, {-9, 0, -1}, {790, 0, -1}};
    for (const Case& c : cases) {
        viewer_test::clear_frame(0x123456);
        app::draw_ticker_glyph(c.x, ticker_row, column);
        for (int y = ticker_row - 1; y <= ticker_row + 12; ++y)
            for (int x = 0; x < 800; ++x) {
                const bool in = y >= ticker_row && y < ticker_row + 12 && x >= c.first && x <= c.last;
                ASSERT_EQ(viewer_test::pixel(x, y), in ? red : 0x123456u) << "glyph at " << c.x << ": " << x << ", " << y;
            }
    }
    // Off the frame nothing is written at all.
    viewer_test::clear_frame(0x123456);
    app::draw_ticker_glyph(100, 595, column);
    app::draw_ticker_glyph(100, -20, column);
    int red_pixels = 0;
    for (uint32_t p : render::Framebuffer) red_pixels += p == red;
    EXPECT_EQ(red_pixels, 9 * 5 + 0);
}

TEST(Ticker, QueuedTextIsTheLeadInFollowedByTheSixMessages) {
    viewer_test::fresh();
    app::queue_ticker_messages();
    std::string expected(101, ' ');
    for (const content::Line& m : content::ticker_messages)
        expected.append(reinterpret_cast<const char*>(m.bytes), m.length);
    const app::Text t = app::viewer.ticker_text;
    const std::string text(reinterpret_cast<const char*>(t.bytes), size_t(t.length));
    EXPECT_EQ(text, expected);
    // The ticker: 1,261 characters, white again when it starts over.
    EXPECT_EQ(t.length, 1261);
    const size_t last_tag = text.rfind('{');
    ASSERT_NE(last_tag, std::string::npos);
    EXPECT_EQ(text.substr(last_tag), "{W}" + std::string(31, ' '));
}

}  // namespace
