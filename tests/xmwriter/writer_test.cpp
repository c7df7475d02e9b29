// writer_test.cpp: the XM writer's bytes at their file offsets: header fields
// and overrides, packed and plain cells, delta-coded and 4-bit packed samples,
// instrument header sizes, the older layouts and stored header sizes.
#include <gtest/gtest.h>

#include "tools/xmwriter/xmwriter.h"

namespace {

uint32_t u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t u32(const std::vector<uint8_t>& b, size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }
std::vector<uint8_t> slice(const std::vector<uint8_t>& b, size_t at, size_t n) {
    return {b.begin() + long(at), b.begin() + long(at + n)};
}

TEST(XmWriter, HeaderFieldsAndOverrides) {
    xmw::Module m;
    m.title = "Song";
    m.channels = 12;
    m.speed = 8;
    m.bpm = 160;
    m.orders = {0, 3, 1};
    m.patterns.resize(2);
    std::vector<uint8_t> b = xmw::xm_write(m);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 17), "Extended Module: ");
    EXPECT_EQ(std::string(b.begin() + 17, b.begin() + 21), "Song");
    EXPECT_EQ(b[21], 0);
    EXPECT_EQ(b[37], 0x1A);
    EXPECT_EQ(u16(b, 58), 0x0104u);
    EXPECT_EQ(u32(b, 60), 276u);
    EXPECT_EQ(u16(b, 64), 3u);
    EXPECT_EQ(u16(b, 68), 12u);
    EXPECT_EQ(u16(b, 70), 2u);
    EXPECT_EQ(u16(b, 72), 0u);
    EXPECT_EQ(u16(b, 74), 1u);
    EXPECT_EQ(u16(b, 76), 8u);
    EXPECT_EQ(u16(b, 78), 160u);
    EXPECT_EQ(slice(b, 80, 4), (std::vector<uint8_t>{0, 3, 1, 0}));
    // Two empty packed patterns of 64 x 12 cells: 9-byte header, one 0x80 per cell.
    ASSERT_EQ(b.size(), 336u + 2 * (9 + 64 * 12));
    EXPECT_EQ(u32(b, 336), 9u);
    EXPECT_EQ(u16(b, 341), 64u);
    EXPECT_EQ(u16(b, 343), 768u);

    m.header_size = 300;
    m.song_length = 400;
    m.pattern_count = 7;
    m.instrument_count = 0x1203;
    m.id = "Oops";
    b = xmw::xm_write(m);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 5), std::string("Oops\0", 5));
    EXPECT_EQ(u16(b, 64), 400u);
    EXPECT_EQ(u16(b, 70), 7u);
    EXPECT_EQ(u16(b, 72), 0x1203u);
    EXPECT_EQ(u32(b, 360), 9u);  // the first pattern moved to 60 + 300
}

TEST(XmWriter, Cells) {
    xmw::Module m;
    m.channels = 2;
    m.patterns.push_back({.rows = 1});
    xmw::cell(m, 0, 0, 0) = {49, 0, 0, 0, 0};
    xmw::cell(m, 0, 0, 1) = {1, 2, 3, 4, 5};
    EXPECT_EQ(xmw::encode_pattern(m.patterns[0], 2), (std::vector<uint8_t>{0x81, 49, 0x9F, 1, 2, 3, 4, 5}));
    m.patterns[0].packed = false;
    EXPECT_EQ(xmw::encode_pattern(m.patterns[0], 2), (std::vector<uint8_t>{49, 0, 0, 0, 0, 1, 2, 3, 4, 5}));
    xmw::Pattern empty{.rows = 2};
    EXPECT_EQ(xmw::encode_pattern(empty, 2), (std::vector<uint8_t>(4, 0x80)));
}

TEST(XmWriter, SampleData) {
    struct Case {
        const char* what;
        xmw::Sample sample;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"8-bit deltas", {.data = {2560, 0, 5120}}, {10, 246, 20}},
        {"8-bit takes the high byte", {.data = {0x01FF, -1}}, {1, 0xFE}},
        {"16-bit deltas", {.data = {1000, -1000}, .sixteen_bit = true}, {0xE8, 0x03, 0x30, 0xF8}},
        {"4-bit packed, odd length",
         {.data = {256, 768, 512}, .packed4 = true},
         {0, 1, 2, 4, 8, 16, 32, 64, 0xFF, 0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80, 0x21, 0x08}},
    };
    for (const Case& c : cases) EXPECT_EQ(xmw::encode_sample(c.sample), c.bytes) << c.what;
}

TEST(XmWriter, InstrumentsAndSampleHeaders) {
    xmw::Module m;
    m.instruments.resize(2);
    xmw::Instrument& ins = m.instruments[1];
    ins.fadeout = 0x1234;
    ins.volume.points = {{0, 64}, {10, 0}};
    ins.samples.push_back({.data = std::vector<int16_t>(6), .sixteen_bit = true, .loop_start = 1, .loop_length = 4,
                           .loop_type = 2, .volume = 40, .finetune = -3, .relative_note = 12});
    std::vector<uint8_t> b = xmw::xm_write(m);
    // Instrument 1 without samples: a 29-byte header.
    EXPECT_EQ(u32(b, 336), 29u);
    EXPECT_EQ(u16(b, 336 + 27), 0u);
    const size_t i = 336 + 29;
    EXPECT_EQ(u32(b, i), 263u);
    EXPECT_EQ(u16(b, i + 27), 1u);
    EXPECT_EQ(u32(b, i + 29), 40u);
    EXPECT_EQ(u16(b, i + 33 + 96 + 4), 10u);   // second volume point x
    EXPECT_EQ(b[i + 33 + 192], 2);             // volume points
    EXPECT_EQ(u16(b, i + 33 + 206), 0x1234u);  // fadeout
    const size_t s = i + 263;
    EXPECT_EQ(u32(b, s), 12u);  // lengths in bytes
    EXPECT_EQ(u32(b, s + 4), 2u);
    EXPECT_EQ(u32(b, s + 8), 8u);
    EXPECT_EQ(b[s + 12], 40);
    EXPECT_EQ(b[s + 13], 0xFD);
    EXPECT_EQ(b[s + 14], 0x12);
    EXPECT_EQ(b[s + 16], 12);
    EXPECT_EQ(b[s + 17], 0);
    EXPECT_EQ(b.size(), s + 40 + 12);
}

TEST(XmWriter, OlderLayoutsAndHeaderSizes) {
    // One instrument of two samples (3 and 2 bytes of data), one pattern of
    // 5 rows on 1 channel (5 bytes of 0x80).
    xmw::Module m;
    m.channels = 1;
    m.orders = {0};
    m.patterns.push_back({.rows = 5});
    xmw::Instrument& ins = m.instruments.emplace_back();
    ins.samples = {{.data = {256, 512, 768}}, {.data = {1024, 1280}}};
    const size_t data = 3 + 2, heads = 263 + 2 * 40;
    for (uint16_t version : {0x0102, 0x0103}) {
        m.version = version;
        const std::vector<uint8_t> b = xmw::xm_write(m);
        const size_t pattern_head = version == 0x0102 ? 8 : 9;
        ASSERT_EQ(b.size(), 336 + heads + pattern_head + 5 + data) << version;
        EXPECT_EQ(u32(b, 336), 263u);                 // the instrument first
        EXPECT_EQ(u32(b, 336 + 263), 3u);             // its sample headers right after it
        const size_t p = 336 + heads;
        EXPECT_EQ(u32(b, p), pattern_head);           // then the pattern
        if (version == 0x0102) {
            EXPECT_EQ(b[p + 5], 4);                   // rows - 1 in one byte
            EXPECT_EQ(u16(b, p + 6), 5u);
        } else {
            EXPECT_EQ(u16(b, p + 5), 5u);
            EXPECT_EQ(u16(b, p + 7), 5u);
        }
        EXPECT_EQ(slice(b, b.size() - data, data), (std::vector<uint8_t>{1, 1, 1, 4, 1}));  // then all the data
    }
    // Stored sizes cut or pad each header.
    m.version = 0x0104;
    m.header_size = 22;
    m.patterns[0].header_length = 12;
    ins.header_size = 300;
    ins.sample_header_size = 30;
    const std::vector<uint8_t> b = xmw::xm_write(m);
    ASSERT_EQ(b.size(), 60 + 22 + 12 + 5 + 300 + 2 * 30 + data);
    EXPECT_EQ(u32(b, 82), 12u);
    EXPECT_EQ(u32(b, 82 + 12 + 5), 300u);
    EXPECT_EQ(u32(b, 82 + 17 + 300 + 30), 2u);  // the second sample header
}

}  // namespace
