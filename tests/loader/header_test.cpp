// header_test.cpp: the 336-byte header: the magic test, song_title, the
// header fields as read, the pattern slot count from the order table and the
// channel cap.
#include "tests/loader/load_fixture.h"

namespace loader_test {
namespace {

TEST_F(LoaderTest, HeaderFieldsAsRead) {
    xmw::Module m = small_module();
    m.restart = 2;
    m.flags = 0;
    m.speed = 8;
    m.bpm = 160;
    ASSERT_EQ(load(m), 1);
    EXPECT_EQ(song.header_size, 276u);
    EXPECT_EQ(song.song_length, 3);
    EXPECT_EQ(song.restart, 2);
    EXPECT_EQ(song.channels, 2);
    EXPECT_EQ(song.pattern_slots, 2);
    EXPECT_EQ(song.instrument_count, 1);
    EXPECT_EQ(song.flags, 0);
    EXPECT_EQ(song.default_speed, 8);
    EXPECT_EQ(song.default_bpm, 160);
    EXPECT_EQ(song.order_table[1], 1);
    check_tables();
}

TEST_F(LoaderTest, MagicIsTheFirstFourBytes) {
    struct Case {
        const char* id;
        int32_t result;
    };
    const Case cases[] = {{"Extended Module: ", 1}, {"Extended Mischief", 1}, {"Exte", 1}, {"extended Module: ", 0},
                          {"Ext", 0}, {"", 0}};
    for (const Case& c : cases) {
        xmw::Module m = small_module();
        m.id = c.id;
        EXPECT_EQ(load(m), c.result) << c.id;
    }
    // Shorter than the magic.
    EXPECT_EQ(load(std::vector<uint8_t>{'E', 'x', 't'}), 0);
}

TEST_F(LoaderTest, TitleKeepsPrintableBytesOnly) {
    struct Case {
        std::string title;
        const char* expected;
    };
    const Case cases[] = {
        {std::string("\x41\x01\x42\xE9\x43", 5), "ABC"},
        {"Twenty characters!!!", "Twenty characters!!!"},
        {std::string("\x7F \x1F\x80\xFF~", 6), "\x7F ~"},
        {"", ""},
    };
    for (const Case& c : cases) {
        xmw::Module m = small_module();
        m.title = c.title;
        ASSERT_EQ(load(m), 1);
        EXPECT_STREQ(song_title, c.expected);
    }
}

TEST_F(LoaderTest, PatternSlotsFromTheOrderTable) {
    struct Case {
        const char* what;
        std::vector<uint8_t> orders;
        std::optional<uint16_t> song_length;
        int stored;
        int slots;
    };
    const Case cases[] = {
        {"highest entry 11 of 12", {0, 1, 2, 11, 3, 0}, {}, 12, 12},
        {"entry 20 of 12 stored", {0, 20, 1}, {}, 12, 21},
        {"entries past the song length are not scanned", {0, 1, 30}, 2, 12, 12},
        {"song length 0 takes the stored count", {40}, 0, 3, 3},
        {"fewer orders than stored patterns", {0}, {}, 5, 5},
        // A song length above 256 is kept, but only the 256 entries are scanned.
        {"song length 300", std::vector<uint8_t>(256, 7), 300, 2, 8},
    };
    for (const Case& c : cases) {
        xmw::Module m;
        m.channels = 3;
        m.orders = c.orders;
        m.song_length = c.song_length;
        m.patterns.assign(size_t(c.stored), xmw::Pattern{.rows = 2});
        for (int k = 0; k < c.stored; ++k) xmw::cell(m, k, 1, 2).note = uint8_t(k + 1);
        ASSERT_EQ(load(m), 1) << c.what;
        EXPECT_EQ(song.pattern_slots, c.slots) << c.what;
        EXPECT_EQ(song.song_length, c.song_length ? *c.song_length : c.orders.size()) << c.what;
        for (int k = 0; k < c.stored; ++k) {
            EXPECT_EQ(song.pattern_table[k].rows, 2) << c.what;
            EXPECT_EQ(song.pattern_table[k].cells[5].note, k + 1) << c.what;
        }
        for (int k = c.stored; k < c.slots; ++k) {
            const PatternSlot& p = song.pattern_table[k];
            EXPECT_EQ(p.rows, 64) << c.what << " slot " << k;
            EXPECT_EQ(p.packed_size, 0) << c.what << " slot " << k;
            ASSERT_NE(p.cells, nullptr);
            for (int i = 0; i < 64 * 3; ++i) EXPECT_EQ(p.cells[i].note | p.cells[i].effect, 0);
        }
        check_tables();
    }
}

TEST_F(LoaderTest, ChannelCountIsTheLowByteCappedAt32) {
    struct Case {
        uint16_t stored;
        int32_t channels;
    };
    const Case cases[] = {{12, 12}, {32, 32}, {33, 32}, {40, 32}, {255, 32}, {0x0104, 4}, {0x0100, 0}};
    for (const Case& c : cases) {
        xmw::Module m;
        m.channels = c.stored;
        m.orders = {0};
        m.patterns.push_back({.rows = 1});
        xmw::cell(m, 0, 0, 0).note = 5;
        ASSERT_EQ(load(m), 1) << c.stored;
        EXPECT_EQ(song.channels, c.channels) << c.stored;
        if (c.channels) {
            EXPECT_EQ(song.pattern_table[0].cells[0].note, 5) << c.stored;
        }
        check_tables();
    }
}

TEST_F(LoaderTest, ZeroChannelsGiveNoCells) {
    xmw::Module m;
    m.channels = 0;
    m.orders = {3};
    m.patterns.resize(1);
    ASSERT_EQ(load(m), 1);
    EXPECT_EQ(song.pattern_slots, 4);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(song.pattern_table[k].cells, nullptr);
    EXPECT_EQ(song.pattern_table[3].rows, 64);
}

TEST_F(LoaderTest, HeaderSizePlacesTheFirstPattern) {
    xmw::Module m = small_module();
    m.header_size = 276 + 100;  // padding between the order table and the first pattern
    ASSERT_EQ(load(m), 1);
    EXPECT_EQ(song.pattern_table[0].cells[0].note, 49);
    EXPECT_EQ(song.instruments[0].samples[0]->length, 6);

    // A header size reaching past the data, or wrapping 32 bits when 60 is
    // added, finds nothing there: the patterns and instruments read as zeros.
    m.header_size = 276;
    for (uint32_t header_size : {100000u, 0xFFFFFFC4u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> b = xmw::xm_write(m);
        for (int i = 0; i < 4; ++i) b[60 + i] = uint8_t(header_size >> 8 * i);
        ASSERT_EQ(load(b), 1) << header_size;
        EXPECT_EQ(song.pattern_table[0].rows, 0) << header_size;
        EXPECT_EQ(song.instruments[0].sample_count, 0) << header_size;
        check_tables();
    }
}

}  // namespace
}  // namespace loader_test
