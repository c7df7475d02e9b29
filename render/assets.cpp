// assets.cpp: turns the built-in assets into ready-to-draw tables once at
// start-up, and copies the picture into the frame every frame.
//
//   decode_background();          // after the viewer allocated background_pixels
//   prepare_palette_and_font();   // before any glyph is drawn
//   draw_background(0, 0);        // first step of every frame
//
// background_pixels keeps each row right to left (the decoder walks the BMP
// from its last byte); draw_background writes each row from its right end,
// which puts the picture back upright and unmirrored.
#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/builtin_assets.h"
#include "render/glyph_masks.h"
#include "render/render.h"

namespace render {

uint32_t* background_pixels = nullptr;
alignas(64) uint32_t palette_colours[256];
alignas(64) uint32_t font_atlas[12 * 2048];

namespace {
constexpr uint32_t picture_data_offset = 54;
constexpr uint32_t picture_bytes = 3u * background_width * background_height;
uint32_t cursor_read_position = 0;
}  // namespace

void decode_background() {
    if (background_pixels == nullptr || builtin_picture_size < picture_data_offset + picture_bytes) return;
    const unsigned char* b = builtin_picture;
    uint32_t n = 0;
    for (int64_t j = int64_t(picture_data_offset) + picture_bytes - 1; j >= picture_data_offset; j -= 3)
        background_pixels[n++] = uint32_t(b[j]) << 16 | uint32_t(b[j - 1]) << 8 | uint32_t(b[j - 2]);
}

// One picture row, stored right to left, written left to right.
static inline void copy_row_reversed(uint32_t* dst, const uint32_t* src, int32_t count) {
    int32_t i = 0;
#if defined(__SSE2__)
    // four words at a time: load the last four, turn them round, store
    for (; i + 8 <= count; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - i - 4));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + count - i - 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_shuffle_epi32(a, 0x1B));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 4), _mm_shuffle_epi32(b, 0x1B));
    }
#endif
    for (; i < count; ++i) dst[i] = src[count - 1 - i];
}

void draw_background(int32_t x0, int32_t y0) {
    if (background_pixels == nullptr) return;
    const int32_t w = background_width, h = background_height;
    if (x0 == 0 && y0 == 0) {
        for (int32_t r = 0; r < h; ++r) copy_row_reversed(Framebuffer + r * frame_width, background_pixels + r * w, w);
        return;
    }
    // Any other origin: only the part that lies inside the frame is written.
    const int64_t left = x0 < 0 ? -int64_t(x0) : 0;                            // first picture column shown
    const int64_t right = std::min<int64_t>(w, int64_t(frame_width) - x0);     // one past the last
    if (right <= left) return;
    for (int32_t r = 0; r < h; ++r) {
        const int64_t y = int64_t(y0) + r;
        if (y < 0 || y >= frame_height) continue;
        // picture column c sits at entry r * w + (w - 1 - c)
        const uint32_t* src = background_pixels + r * w + (w - right);
        copy_row_reversed(Framebuffer + y * frame_width + (x0 + left), src, int32_t(right - left));
    }
}

void prepare_palette_and_font() {
    for (int i = 0; i < 256; ++i) {
        const unsigned char* p = builtin_palette + 3 * i;
        palette_colours[i] = builtin_palette_size >= 768 ? uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2] : 0;
    }
    for (uint32_t i = 0; i < 12 * 2048; ++i) font_atlas[i] = i < builtin_font_atlas_size ? builtin_font_atlas[i] : 0;
    build_glyph_ink_masks();
}

int32_t read_cursor_code() {
    if (cursor_read_position >= builtin_cursor_codes_size) return 0;
    return builtin_cursor_codes[cursor_read_position++];
}

void rewind_cursor_codes() { cursor_read_position = 0; }

}  // namespace render
