// order_test.cpp: which row plays next: jumps, breaks and both in one row,
// pattern loops, the end of the order list with its restart, and the tables
// that a module gets wrong (song lengths above 256, slots without cells,
// rows beyond the pattern that plays next, instruments that do not exist).
#include <gtest/gtest.h>

#include <utility>

#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

using Position = std::pair<int, int>;  // order, row

// Seven orders over seven 64-row patterns, two channels, speed 1 (one tick a row).
xmw::Module seven_orders() {
    xmw::Module m = one_channel(2);
    m.speed = 1;
    m.orders = {0, 1, 2, 3, 4, 5, 6};
    m.patterns.resize(7);
    return m;
}

// The (order, row) of each of the next n rows.
std::vector<Position> rows_played(int n) {
    std::vector<Position> out;
    for (int i = 0; i < n; i++) {
        finish_row();
        out.push_back({song.order, song.row});
    }
    return out;
}

TEST(NextRow, JumpsAndBreaks) {
    struct Case {
        const char* name;
        xmw::Cell low, high;  // the cells of channels 0 and 1 on row 10 of order 0
        Position next;
    } cases[] = {
        {"B05", {0, 0, 0, 0xB, 0x05}, {}, {5, 0}},
        {"D32", {0, 0, 0, 0xD, 0x32}, {}, {1, 32}},
        {"B05 then D32", {0, 0, 0, 0xB, 0x05}, {0, 0, 0, 0xD, 0x32}, {5, 32}},
        {"D32 then B05", {0, 0, 0, 0xD, 0x32}, {0, 0, 0, 0xB, 0x05}, {5, 0}},
        {"D70 beyond the 64 rows", {0, 0, 0, 0xD, 0x70}, {}, {1, 0}},
        {"D with hex digits", {0, 0, 0, 0xD, 0x1F}, {}, {1, 25}},
        {"B beyond the song length", {0, 0, 0, 0xB, 0x09}, {}, {0, 0}},
    };
    for (const Case& c : cases) {
        xmw::Module m = seven_orders();
        xmw::cell(m, 0, 10, 0) = c.low;
        xmw::cell(m, 0, 10, 1) = c.high;
        start(m);
        tick(11);
        ASSERT_EQ(song.row, 10) << c.name;
        tick();
        EXPECT_EQ(Position(song.order, song.row), c.next) << c.name;
    }
}

TEST(NextRow, EndOfTheOrderList) {
    // Three orders of 2-row patterns, restart at order 1; order 0 jumps
    // straight to the last order, whose row 0 holds the cell of the case.
    struct Case {
        const char* name;
        xmw::Cell last;
        uint16_t restart;
        std::vector<Position> after;
    } cases[] = {
        {"running off the end goes to restart", {}, 1, {{2, 0}, {2, 1}, {1, 0}, {1, 1}, {2, 0}}},
        {"D at the last order goes to order 0", {0, 0, 0, 0xD, 0x00}, 1, {{2, 0}, {0, 0}}},
        {"B at the last order", {0, 0, 0, 0xB, 0x01}, 1, {{2, 0}, {1, 0}}},
        {"restart beyond the song length is order 0", {}, 3, {{2, 0}, {2, 1}, {0, 0}}},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.speed = 1;
        m.restart = c.restart;
        m.orders = {0, 1, 2};
        m.patterns.assign(3, xmw::Pattern{.rows = 2});
        xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xB, 0x02};
        xmw::cell(m, 2, 0, 0) = c.last;
        start(m);
        tick();
        EXPECT_EQ(rows_played(int(c.after.size())), c.after) << c.name;
    }
}

TEST(NextRow, PatternLoop) {
    // E60 on row 4 and E63 on row 12: rows 4 to 12 play four times, then 13.
    xmw::Module m = one_channel();
    m.speed = 1;
    m.patterns[0].rows = 16;
    xmw::cell(m, 0, 4, 0) = {0, 0, 0, 0xE, 0x60};
    xmw::cell(m, 0, 12, 0) = {0, 0, 0, 0xE, 0x63};
    start(m);
    std::vector<int> expected = {0, 1, 2, 3};
    for (int pass = 0; pass < 4; pass++)
        for (int row = 4; row <= 12; row++) expected.push_back(row);
    expected.push_back(13);
    expected.push_back(14);
    std::vector<int> rows;
    for (size_t i = 0; i < expected.size(); i++) {
        tick();
        rows.push_back(song.row);
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(channels[0].loop_count, 0);
}

TEST(NextRow, BreakRowBeyondTheNextPatternStartsItAtRowZero) {
    // D40 in a 64-row pattern names row 40 of the next pattern, which has 16.
    xmw::Module m = one_channel();
    m.speed = 1;
    m.orders = {0, 1};
    m.patterns.resize(2);
    m.patterns[1].rows = 16;
    xmw::cell(m, 0, 0, 0) = {0, 0, 0, 0xD, 0x40};
    start(m);
    tick();
    EXPECT_EQ(rows_played(3), (std::vector<Position>{{1, 0}, {1, 1}, {1, 2}}));
}

TEST(NextRow, SlotsWithoutCellsPlayAsOneEmptyRow) {
    // Order 1 names a pattern of 0 rows (stored without cells); order 2 is
    // changed after loading to name a slot that does not exist.
    xmw::Module m = one_channel();
    m.speed = 1;
    m.orders = {0, 1, 2, 0};
    m.patterns.assign(3, xmw::Pattern{.rows = 2});
    m.patterns[1].rows = 0;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
    start(m);
    ASSERT_EQ(song.pattern_table[1].cells, nullptr);
    song.order_table[2] = 200;
    std::vector<Position> expected = {{0, 0}, {0, 1}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {0, 0}};
    std::vector<Position> got;
    for (size_t i = 0; i < expected.size(); i++) {
        tick();
        got.push_back({song.order, song.row});
    }
    EXPECT_EQ(got, expected);
    // The note of order 0 kept sounding through the empty rows.
    EXPECT_EQ(channels[0].volume, 64);
}

TEST(NextRow, SongLengthAboveTheStoredOrders) {
    // 300 orders claimed, 256 stored: play wraps to the restart after order 255.
    xmw::Module m = one_channel();
    m.speed = 1;
    m.orders.assign(256, 0);
    m.song_length = 300;
    m.patterns[0].rows = 1;
    start(m);
    int highest = 0;
    for (int i = 0; i < 600; i++) {
        tick();
        ASSERT_EQ(song.order, i % 256);
        highest = std::max(highest, song.order);
    }
    EXPECT_EQ(highest, 255);
}

TEST(NextRow, MissingInstrumentsPlayTheEmptySample) {
    struct Case {
        const char* name;
        bool no_instruments;
        uint8_t poked_instrument;  // written into the loaded cell; 0 keeps the cell
    } cases[] = {
        {"module without instruments", true, 0},
        {"instrument number beyond the table", false, 9},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        if (c.no_instruments) m.instruments.clear();
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
        xmw::cell(m, 0, 1, 0) = {50, 0, 0, 0x0, 0x37};
        start(m);
        if (c.poked_instrument) song.pattern_table[0].cells[0].instrument = c.poked_instrument;
        finish_row();
        EXPECT_EQ(voices[0].sample, &empty_sample) << c.name;
        EXPECT_EQ(voices[0].volume, 0) << c.name;
        finish_row();
        EXPECT_EQ(channels[0].voice->sample, &empty_sample) << c.name;
    }
}

}  // namespace
