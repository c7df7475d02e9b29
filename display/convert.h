// convert.h: row converters from the frame's 0x00RRGGBB pixels to the eight
// RGB layouts a display surface can have, and the chooser that picks one from
// the pixel format the display reports.
//
//   RowConverter c = display::pick_row_converter(16, 0xF800, 0x7E0, 0x1F);
//   c(frame_row, surface_row, 800);   // writes 800 16-bit pixels
//
// A converter writes exactly count destination pixels (4, 3 or 2 bytes each)
// and reads exactly count source pixels; channel reduction truncates.
#pragma once
#include <cstdint>

namespace display {

using RowConverter = void (*)(const uint32_t* source, void* destination, int32_t count);

void row_to_xrgb8888(const uint32_t* source, void* destination, int32_t count);
void row_to_xbgr8888(const uint32_t* source, void* destination, int32_t count);
void row_to_rgb888(const uint32_t* source, void* destination, int32_t count);
void row_to_bgr888(const uint32_t* source, void* destination, int32_t count);
void row_to_rgb565(const uint32_t* source, void* destination, int32_t count);
void row_to_bgr565(const uint32_t* source, void* destination, int32_t count);
void row_to_rgb555(const uint32_t* source, void* destination, int32_t count);
void row_to_bgr555(const uint32_t* source, void* destination, int32_t count);

// The converter whose layout matches exactly, or null.
RowConverter pick_row_converter(uint32_t bit_count, uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask);

// Tests: switch the processor-specific wide steps off (on by default where
// the processor has them) to exercise the 64-bit packed paths on whole rows.
void convert_use_wide_steps(bool on);

// The per-pixel formulas, shared by the packed paths' tails and the tests.
inline uint16_t pixel_rgb565(uint32_t p) {
    return uint16_t(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x001F));
}
inline uint16_t pixel_bgr565(uint32_t p) {
    return uint16_t(((p << 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 19) & 0x001F));
}
inline uint16_t pixel_rgb555(uint32_t p) {
    return uint16_t(((p >> 9) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 3) & 0x001F));
}
inline uint16_t pixel_bgr555(uint32_t p) {
    return uint16_t(((p << 7) & 0x7C00) | ((p >> 6) & 0x03E0) | ((p >> 19) & 0x001F));
}
inline uint32_t pixel_xbgr8888(uint32_t p) {
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

}  // namespace display
