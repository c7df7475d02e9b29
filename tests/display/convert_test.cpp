// Row converters: worked values, the packed paths against the per-pixel
// formulas for every awkward row length, exact writes, and the chooser.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "display/convert.h"

using namespace display;

namespace {

struct Layout {
    const char* name;
    RowConverter convert;
    int bytes;
    uint32_t (*pixel)(uint32_t);  // expected destination value, per pixel
};

uint32_t ref_xrgb(uint32_t p) { return p; }
uint32_t ref_xbgr(uint32_t p) { return pixel_xbgr8888(p); }
uint32_t ref_rgb888(uint32_t p) { return p & 0xFFFFFF; }
uint32_t ref_bgr888(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }
uint32_t ref_rgb565(uint32_t p) { return ((p >> 16 & 0xFF) >> 3) << 11 | ((p >> 8 & 0xFF) >> 2) << 5 | (p & 0xFF) >> 3; }
uint32_t ref_bgr565(uint32_t p) { return ((p & 0xFF) >> 3) << 11 | ((p >> 8 & 0xFF) >> 2) << 5 | (p >> 16 & 0xFF) >> 3; }
uint32_t ref_rgb555(uint32_t p) { return ((p >> 16 & 0xFF) >> 3) << 10 | ((p >> 8 & 0xFF) >> 3) << 5 | (p & 0xFF) >> 3; }
uint32_t ref_bgr555(uint32_t p) { return ((p & 0xFF) >> 3) << 10 | ((p >> 8 & 0xFF) >> 3) << 5 | (p >> 16 & 0xFF) >> 3; }

const Layout layouts[] = {
    {"xrgb8888", row_to_xrgb8888, 4, ref_xrgb}, {"xbgr8888", row_to_xbgr8888, 4, ref_xbgr},
    {"rgb888", row_to_rgb888, 3, ref_rgb888},   {"bgr888", row_to_bgr888, 3, ref_bgr888},
    {"rgb565", row_to_rgb565, 2, ref_rgb565},   {"bgr565", row_to_bgr565, 2, ref_bgr565},
    {"rgb555", row_to_rgb555, 2, ref_rgb555},   {"bgr555", row_to_bgr555, 2, ref_bgr555},
};

uint32_t read_le(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

}  // namespace

TEST(Convert, WorkedValuesOf0x00FF8040) {
    const uint32_t src[1] = {0x00FF8040};
    uint8_t out[4];
    row_to_rgb565(src, out, 1);
    EXPECT_EQ(read_le(out, 2), 0xFC08u);
    row_to_bgr565(src, out, 1);
    EXPECT_EQ(read_le(out, 2), 0x441Fu);
    row_to_rgb555(src, out, 1);
    EXPECT_EQ(read_le(out, 2), 0x7E08u);
    row_to_bgr555(src, out, 1);
    EXPECT_EQ(read_le(out, 2), 0x221Fu);
    row_to_rgb888(src, out, 1);
    EXPECT_EQ(out[0], 0x40);
    EXPECT_EQ(out[1], 0x80);
    EXPECT_EQ(out[2], 0xFF);
    row_to_bgr888(src, out, 1);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(out[1], 0x80);
    EXPECT_EQ(out[2], 0x40);
}

// Every row length that exercises a packed path, its tail or both, with and
// without the processor's wide steps; random pixels with random top bytes;
// the destination is guarded on both sides.
TEST(Convert, PackedAndPerPixelAgreeForEveryRowLength) {
    std::mt19937 rng(1234);
    const int lengths[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 32, 33, 800, 803};
    for (bool wide : {true, false})
    for (const Layout& l : layouts) {
        convert_use_wide_steps(wide);
        for (int n : lengths) {
            std::vector<uint32_t> src(size_t(n) + 1);
            for (auto& p : src) p = rng();
            const int guard = 16;
            std::vector<uint8_t> dst(size_t(n) * l.bytes + 2 * guard, 0xA5);
            l.convert(src.data(), dst.data() + guard, n);
            for (int i = 0; i < guard; ++i) {
                ASSERT_EQ(dst[i], 0xA5) << l.name << " wrote before the row, n=" << n;
                ASSERT_EQ(dst[guard + size_t(n) * l.bytes + i], 0xA5) << l.name << " wrote past the row, n=" << n;
            }
            for (int i = 0; i < n; ++i) {
                uint32_t expect = l.pixel(src[i]);
                if (l.bytes == 4 && l.convert != row_to_xrgb8888) expect &= 0xFFFFFF;
                ASSERT_EQ(read_le(&dst[guard + size_t(i) * l.bytes], l.bytes), expect)
                    << l.name << " pixel " << i << " of " << n << (wide ? " (wide steps)" : "");
            }
        }
    }
    convert_use_wide_steps(true);
}

TEST(Convert, OnlyTheStraightCopyPassesTheFourthByte) {
    const uint32_t src[2] = {0xAB123456, 0xCD654321};
    uint8_t out[8];
    row_to_xrgb8888(src, out, 2);
    EXPECT_EQ(out[3], 0xAB);
    EXPECT_EQ(out[7], 0xCD);
    row_to_xbgr8888(src, out, 2);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(read_le(out, 4), 0x00563412u);
    uint8_t o16[4];
    row_to_rgb555(src, o16, 2);
    EXPECT_EQ(o16[1] & 0x80, 0) << "bit 15 of 5-5-5 stays clear";
}

TEST(Convert, ChooserMatchesMasksExactly) {
    struct Case {
        uint32_t bits, r, g, b;
        RowConverter expect;
    } cases[] = {
        {32, 0xFF0000, 0xFF00, 0xFF, row_to_xrgb8888}, {32, 0xFF, 0xFF00, 0xFF0000, row_to_xbgr8888},
        {24, 0xFF0000, 0xFF00, 0xFF, row_to_rgb888},   {24, 0xFF, 0xFF00, 0xFF0000, row_to_bgr888},
        {16, 0xF800, 0x7E0, 0x1F, row_to_rgb565},      {16, 0x1F, 0x7E0, 0xF800, row_to_bgr565},
        {16, 0x7C00, 0x3E0, 0x1F, row_to_rgb555},      {16, 0x1F, 0x3E0, 0x7C00, row_to_bgr555},
        {32, 0xFF0000, 0xFF00, 0xFE, nullptr},         {24, 0xF800, 0x7E0, 0x1F, nullptr},
        {16, 0x7C00, 0x7E0, 0x1F, nullptr},            {8, 0xE0, 0x1C, 0x3, nullptr},
        {32, 0, 0, 0, nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pick_row_converter(c.bits, c.r, c.g, c.b), c.expect)
            << c.bits << " " << std::hex << c.r << " " << c.g << " " << c.b;
}
