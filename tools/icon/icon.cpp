// icon: draws the Windows edition's program icon at build time: the Q of the
// cover's title lettering (logo.glyphs), leaning forward and shaded like the
// cover's polished metal, on a dark blue tile, at 16, 24, 32, 48 and 64
// pixels, written as one .ico file (32-bit images with their alpha).
//
//   icon LOGO.glyphs OUT.ico
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/glyph_file/glyph_file.h"

namespace {

struct RGBA {
    float r, g, b, a;
};

RGBA hex(uint32_t c, float a = 1.f) { return {((c >> 16) & 255) / 255.f, ((c >> 8) & 255) / 255.f, (c & 255) / 255.f, a}; }
RGBA mix(RGBA p, RGBA q, float t) {
    return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t, p.a + (q.a - p.a) * t};
}

// One image of size n: every pixel sampled 4 x 4 times.
std::vector<RGBA> draw(const glyphfile::GlyphSet& logo, int code, int n) {
    int used = 0;
    for (int r = 0; r < logo.height; ++r)
        for (int k = 0; k < logo.width; ++k)
            if (logo.ink(code, k, r)) used = std::max(used, k + 1);
    const float lean = 0.18f;
    const float margin = n * 0.1f;
    const float cell = (n - 2 * margin) / float(std::max(logo.height, int(used + logo.height * lean)));
    const float x0 = (n - (used + logo.height * lean) * cell) / 2, y0 = (n - logo.height * cell) / 2;
    const float height = logo.height * cell;
    auto letter = [&](float fx, float fy) {
        const float v = fy - y0, u = fx - x0 - (height - v) * lean;
        const int c = int(std::floor(u / cell)), r = int(std::floor(v / cell));
        return logo.ink(code, c, r);
    };
    auto tile = [&](float fx, float fy) {
        const float rad = n * 0.18f, lo = rad, hi = n - rad;
        const float cx = std::clamp(fx, lo, hi), cy = std::clamp(fy, lo, hi);
        return std::hypot(fx - cx, fy - cy) <= rad;
    };
    const RGBA sky_hi = hex(0xFFF9E0), sky_lo = hex(0xFFB43A), horizon = hex(0x7A2200), ground = hex(0xFF7F1A);
    std::vector<RGBA> out(size_t(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            RGBA sum{0, 0, 0, 0};
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const float fx = x + (sx + 0.5f) / 4, fy = y + (sy + 0.5f) / 4;
                    RGBA p{0, 0, 0, 0};
                    if (tile(fx, fy)) p = mix(hex(0x1B2A6B), hex(0x05081C), fy / n);
                    if (letter(fx, fy)) {
                        const float t = std::clamp((fy - y0) / height, 0.f, 1.f);
                        p = t < 0.5f ? mix(sky_hi, sky_lo, t / 0.5f) : mix(horizon, ground, (t - 0.5f) / 0.5f);
                    } else if (letter(fx - n * 0.04f, fy - n * 0.04f)) {
                        p = hex(0x020108);
                    }
                    sum = {sum.r + p.r * p.a, sum.g + p.g * p.a, sum.b + p.b * p.a, sum.a + p.a};
                }
            const float a = sum.a / 16;
            out[size_t(y) * n + x] = a > 0 ? RGBA{sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, a} : RGBA{0, 0, 0, 0};
        }
    return out;
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
uint8_t byte(float v) { return uint8_t(std::lround(std::clamp(v, 0.f, 1.f) * 255)); }

// A .ico image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows
// bottom first, then the 1-bit AND mask, rows padded to 32 bits.
std::vector<uint8_t> entry(const std::vector<RGBA>& px, int n) {
    std::vector<uint8_t> b;
    put32(b, 40);
    put32(b, uint32_t(n));
    put32(b, uint32_t(2 * n));
    put16(b, 1);
    put16(b, 32);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const RGBA& p = px[size_t(y) * n + x];
            b.insert(b.end(), {byte(p.b), byte(p.g), byte(p.r), byte(p.a)});
        }
    const int mask_row = (n + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(size_t(mask_row), 0);
        for (int x = 0; x < n; ++x)
            if (px[size_t(y) * n + x].a <= 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon LOGO.glyphs OUT.ico\n");
        return 2;
    }
    glyphfile::GlyphSet logo;
    std::string error;
    if (!glyphfile::read(argv[1], logo, error)) {
        std::fprintf(stderr, "icon: %s\n", error.c_str());
        return 1;
    }
    if (!logo.has('Q')) {
        std::fprintf(stderr, "icon: %s has no Q\n", argv[1]);
        return 1;
    }
    const int sizes[] = {16, 24, 32, 48, 64};
    const int count = int(sizeof sizes / sizeof sizes[0]);
    std::vector<std::vector<uint8_t>> images;
    for (int n : sizes) images.push_back(entry(draw(logo, 'Q', n), n));
    std::vector<uint8_t> file;
    put16(file, 0);
    put16(file, 1);
    put16(file, uint16_t(count));
    uint32_t offset = 6 + 16 * uint32_t(count);
    for (int i = 0; i < count; ++i) {
        file.push_back(uint8_t(sizes[i]));
        file.push_back(uint8_t(sizes[i]));
        file.push_back(0);
        file.push_back(0);
        put16(file, 1);
        put16(file, 32);
        put32(file, uint32_t(images[size_t(i)].size()));
        put32(file, offset);
        offset += uint32_t(images[size_t(i)].size());
    }
    for (const auto& im : images) file.insert(file.end(), im.begin(), im.end());
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size() || std::fclose(f) != 0) {
        std::fprintf(stderr, "icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
