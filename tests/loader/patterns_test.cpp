// patterns_test.cpp: pattern unpacking: mask and plain cells, instrument
// numbers above the count, empty and row-less patterns, the packed size that
// says nothing about how much is read.
#include "tests/loader/load_fixture.h"

namespace loader_test {
namespace {

bool same(const Cell& a, const xmw::Cell& b) {
    return a.note == b.note && a.instrument == b.instrument && a.volume == b.volume && a.effect == b.effect &&
           a.parameter == b.parameter;
}

// One 1-row pattern of two channels from raw bytes, two instruments.
xmw::Module raw_pattern(std::vector<uint8_t> bytes) {
    xmw::Module m;
    m.channels = 2;
    m.orders = {0};
    m.patterns.push_back({.rows = 1, .raw = std::move(bytes)});
    m.instruments.resize(2);
    return m;
}

TEST_F(LoaderTest, CellBytes) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        xmw::Cell first, second;
    };
    const Case cases[] = {
        {"mask alone is an empty cell", {0x80, 0x80}, {}, {}},
        {"mask with the note only", {0x81, 0x31, 0x80}, {49}, {}},
        {"each mask bit reads its field", {0x82, 2, 0x9C, 0x50, 0x0F, 0x7F}, {0, 2}, {0, 0, 0x50, 0x0F, 0x7F}},
        {"all mask bits", {0x9F, 97, 1, 0x10, 0x0E, 0xC3, 0x80}, {97, 1, 0x10, 0x0E, 0xC3}, {}},
        {"plain cells", {49, 1, 0x20, 3, 4, 0, 2, 0, 0, 9}, {49, 1, 0x20, 3, 4}, {0, 2, 0, 0, 9}},
        {"mixed", {0x88, 0x0F, 0x60, 0, 0, 0, 0}, {0, 0, 0, 0x0F}, {0x60}},
        {"instrument above the count becomes 0", {0x83, 49, 3, 12, 200, 1, 2, 3}, {49, 0}, {12, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(load(raw_pattern(c.bytes)), 1) << c.what;
        const Cell* cells = song.pattern_table[0].cells;
        EXPECT_TRUE(same(cells[0], c.first)) << c.what;
        EXPECT_TRUE(same(cells[1], c.second)) << c.what;
        check_tables();
    }
}

TEST_F(LoaderTest, CellsPastTheEndReadAsZeros) {
    xmw::Module m = raw_pattern({0x83, 49, 2, 0x60, 1});
    std::vector<uint8_t> bytes = xmw::xm_write(m);
    bytes.resize(bytes.size() - 2 * 29 - 1);  // the last cell byte and the instruments gone
    ASSERT_EQ(load(bytes), 1);
    const Cell* cells = song.pattern_table[0].cells;
    EXPECT_TRUE(same(cells[0], {49, 2}));
    EXPECT_TRUE(same(cells[1], {0x60}));
    EXPECT_EQ(song.instruments[0].sample_count, 0);
}

TEST_F(LoaderTest, PackedAndPlainPatternsLoadAlike) {
    xmw::Module m;
    m.channels = 5;
    m.orders = {0, 1};
    m.patterns.assign(2, xmw::Pattern{.rows = 16});
    m.instruments.resize(3);
    for (int k = 0; k < 2; ++k)
        for (int r = 0; r < 16; r += 3)
            for (int ch = 0; ch < 5; ++ch)
                xmw::cell(m, k, r, ch) = {uint8_t(1 + r * 5 + ch), uint8_t(ch % 4), uint8_t(r & 1 ? 0x30 : 0),
                                          uint8_t(ch), uint8_t(r * 7)};
    ASSERT_EQ(load(m), 1);
    for (int ch = 0; ch < 5; ++ch) EXPECT_EQ(song.pattern_table[1].cells[3 * 5 + ch].note, 16 + ch);
    EXPECT_EQ(song.pattern_table[0].cells[3].instrument, 3);
    EXPECT_EQ(song.pattern_table[0].cells[4].instrument, 0);
    // Only the stored packed sizes differ.
    song.pattern_table[0].packed_size = song.pattern_table[1].packed_size = 0;
    const std::string packed = dump_tables();
    m.patterns[0].packed = m.patterns[1].packed = false;
    ASSERT_EQ(load(m), 1);
    EXPECT_EQ(song.pattern_table[0].packed_size, 16 * 5 * 5);
    song.pattern_table[0].packed_size = song.pattern_table[1].packed_size = 0;
    EXPECT_EQ(dump_tables(), packed);
}

TEST_F(LoaderTest, EmptyAndRowlessPatternsReadNoCells) {
    // Pattern 0: packed size 0 (all cells zero, no data); pattern 1: 0 rows
    // with a packed size but no data read; pattern 2 follows their headers.
    xmw::Module m;
    m.channels = 2;
    m.orders = {0, 1, 2};
    m.patterns.push_back({.rows = 8, .raw = std::vector<uint8_t>{}});
    m.patterns.push_back({.rows = 0, .packed_size = 40, .raw = std::vector<uint8_t>{}});
    m.patterns.push_back({.rows = 2});
    xmw::cell(m, 2, 1, 1).note = 61;
    ASSERT_EQ(load(m), 1);
    const PatternSlot* t = song.pattern_table;
    EXPECT_EQ(t[0].rows, 8);
    EXPECT_EQ(t[0].packed_size, 0);
    ASSERT_NE(t[0].cells, nullptr);
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(same(t[0].cells[i], {}));
    EXPECT_EQ(t[1].rows, 0);
    EXPECT_EQ(t[1].packed_size, 40);
    EXPECT_EQ(t[1].cells, nullptr);
    EXPECT_EQ(t[2].cells[3].note, 61);
    check_tables();
}

TEST_F(LoaderTest, PackedSizeDoesNotLimitTheCellsRead) {
    // A packed size too small or too large: all rows x channels cells are
    // read, and the next pattern header is taken right after them.
    for (uint16_t packed_size : {uint16_t(1), uint16_t(60000)}) {
        xmw::Module m;
        m.channels = 2;
        m.orders = {0, 1};
        m.patterns.assign(2, xmw::Pattern{.rows = 3});
        m.patterns[0].packed_size = packed_size;
        xmw::cell(m, 0, 2, 1).note = 12;
        xmw::cell(m, 1, 0, 0).note = 13;
        ASSERT_EQ(load(m), 1);
        EXPECT_EQ(song.pattern_table[0].packed_size, packed_size);
        EXPECT_EQ(song.pattern_table[0].cells[5].note, 12);
        EXPECT_EQ(song.pattern_table[1].cells[0].note, 13);
    }
}

}  // namespace
}  // namespace loader_test
