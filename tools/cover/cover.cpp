// cover: paints the magazine's background picture at build time and writes
// it as the 800 x 600 24-bit BMP the program embeds (54-byte header, bottom
// row first, blue-green-red, no row padding).
//
//   cover FONT.glyphs SMALL.glyphs LOGO.glyphs OUT.bmp
//
// Every place the viewer reacts to the mouse (menu rows, scroll arrows, quit
// cross) and the pane's frame come from render/layout.h, the constants the
// program itself uses. The pane stays pure black inside its frame, except
// the artwork that deliberately reaches into its first rows (the tab of key
// hints and the arrow buttons); those pixels are never pure black, so the
// text drawn there goes behind them.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "render/layout.h"
#include "tools/glyph_file/glyph_file.h"

namespace {

constexpr int W = 800, H = 600;

struct RGB {
    float r, g, b;
};
RGB pic[H][W];
bool pane_art[H][W];  // artwork inside the pane (kept away from pure black)

RGB hex(uint32_t c) { return {((c >> 16) & 255) / 255.f, ((c >> 8) & 255) / 255.f, (c & 255) / 255.f}; }
RGB mix(RGB a, RGB b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
RGB scale(RGB a, float s) { return {a.r * s, a.g * s, a.b * s}; }
float clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
float smooth(float t) {
    t = clamp01(t);
    return t * t * (3 - 2 * t);
}

bool in_frame(int x, int y) { return x >= 0 && x < W && y >= 0 && y < H; }
bool in_pane(int x, int y) {
    return x > layout::frame_left && x < layout::frame_right && y > layout::frame_top && y < layout::frame_bottom;
}
void put(int x, int y, RGB c, float a = 1.f) {
    if (!in_frame(x, y) || a <= 0) return;
    pic[y][x] = mix(pic[y][x], c, clamp01(a));
    if (in_pane(x, y)) pane_art[y][x] = true;
}
void fill(int x0, int y0, int x1, int y1, RGB c, float a = 1.f) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) put(x, y, c, a);
}
void hline(int x0, int x1, int y, RGB c, float a = 1.f) { fill(x0, y, x1, y, c, a); }
void vline(int x, int y0, int y1, RGB c, float a = 1.f) { fill(x, y0, x, y1, c, a); }

uint32_t hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352d;
    x ^= x >> 15;
    x *= 0x846ca68b;
    x ^= x >> 16;
    return x;
}
float noise(int x, int y) { return (hash(uint32_t(x) * 7919u + uint32_t(y) * 104729u + 17u) & 0xFFFF) / 65535.f; }

// --- text -------------------------------------------------------------------

glyphfile::GlyphSet font, small, logo;

// A line in the 9 x 12 font, 9 pixels a character, colour by row.
void text9(int x, int y, const std::string& s, RGB top, RGB bottom, int advance = 9) {
    for (size_t i = 0; i < s.size(); ++i) {
        const int code = (unsigned char)s[i];
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 9; ++k)
                if (font.ink(code, k, r)) put(x + int(i) * advance + k, y + r, mix(top, bottom, r / 11.f));
    }
}
// A line in the 5 x 7 capitals, 6 pixels a character.
void text5(int x, int y, const std::string& s, RGB c, float a = 1.f) {
    for (size_t i = 0; i < s.size(); ++i)
        for (int r = 0; r < small.height; ++r)
            for (int k = 0; k < small.width; ++k)
                if (small.ink((unsigned char)s[i], k, r)) put(x + int(i) * 6 + k, y + r, c, a);
}
int width5(const std::string& s) { return s.empty() ? 0 : int(s.size()) * 6 - 1; }

// --- the picture's parts ----------------------------------------------------

void paint_sky() {
    const RGB top = hex(0x0E1538), bottom = hex(0x06071A);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            RGB c = mix(top, bottom, smooth(y / float(H - 1)));
            // a violet glow behind the title and a blue one behind the menu
            const float d1 = std::hypot((x - 290) / 330.f, (y - 85) / 150.f);
            const float d2 = std::hypot((x - 690) / 170.f, (y - 70) / 120.f);
            c = mix(c, hex(0x3A1F6E), 0.55f * std::pow(clamp01(1 - d1), 2.f));
            c = mix(c, hex(0x12306A), 0.45f * std::pow(clamp01(1 - d2), 2.f));
            // fine diagonal hatching, the texture of printed paper
            if ((x + y) % 4 == 0) c = scale(c, 1.10f);
            pic[y][x] = c;
        }
    }
    // a thin scatter of stars in the dark
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (noise(x, y) > 0.9965f) put(x, y, hex(0xC8D4FF), 0.25f + 0.6f * noise(y, x));
}

// The title: the letters of logo.glyphs, each cell a block of pixels, leaning
// forward and shaded like polished metal over a dark outline and a shadow.
void paint_title(int x0, int y0, int cell, int gap, float lean) {
    const std::string title = "QUILLON";
    // the title as one grid of cells
    std::vector<std::string> rows(logo.height);
    for (char ch : title) {
        int used = 0;
        for (int r = 0; r < logo.height; ++r)
            for (int k = 0; k < logo.width; ++k)
                if (logo.ink(ch, k, r)) used = std::max(used, k + 1);
        for (int r = 0; r < logo.height; ++r) {
            rows[r] += logo.grid[(unsigned char)ch][r].substr(0, used);
            rows[r] += std::string(gap, '.');
        }
    }
    const int cols = int(rows[0].size()), height = logo.height * cell;
    auto cell_ink = [&](int c, int r) { return c >= 0 && r >= 0 && c < cols && r < logo.height && rows[r][c] == '#'; };
    // inside test at a point, with rounded outer corners
    auto inside = [&](float fx, float fy) {
        const float v = fy - y0;
        const float u = fx - x0 - (height - v) * lean;
        const int c = int(std::floor(u / cell)), r = int(std::floor(v / cell));
        if (!cell_ink(c, r)) return false;
        const float lx = u - c * cell, ly = v - r * cell, rad = cell * 0.55f;
        for (int sx = -1; sx <= 1; sx += 2)
            for (int sy = -1; sy <= 1; sy += 2) {
                if (cell_ink(c + sx, r) || cell_ink(c, r + sy)) continue;
                const float cx = sx < 0 ? rad : cell - rad, cy = sy < 0 ? rad : cell - rad;
                const bool corner = (sx < 0 ? lx < cx : lx > cx) && (sy < 0 ? ly < cy : ly > cy);
                if (corner && std::hypot(lx - cx, ly - cy) > rad) return false;
            }
        return true;
    };
    const int bx0 = x0 - 12, bx1 = x0 + cols * cell + int(height * lean) + 14, by0 = y0 - 12, by1 = y0 + height + 14;
    const int bw = bx1 - bx0 + 1, bh = by1 - by0 + 1;
    std::vector<float> cov(size_t(bw) * bh, 0.f);
    for (int y = 0; y < bh; ++y)
        for (int x = 0; x < bw; ++x) {
            int n = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) n += inside(bx0 + x + (sx + 0.5f) / 4, by0 + y + (sy + 0.5f) / 4);
            cov[size_t(y) * bw + x] = n / 16.f;
        }
    auto at = [&](int x, int y) {
        x -= bx0;
        y -= by0;
        return x < 0 || y < 0 || x >= bw || y >= bh ? 0.f : cov[size_t(y) * bw + x];
    };
    // shadow, then outline, then the metal
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            float s = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) s += at(x - 7 + dx, y - 7 + dy);
            put(x, y, hex(0x020108), 0.7f * s / 25.f);
            float o = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (dx * dx + dy * dy <= 5) o = std::max(o, at(x + dx, y + dy));
            put(x, y, hex(0x1A0A02), o);
        }
    const RGB sky_hi = hex(0xFFF9E0), sky_lo = hex(0xFFB43A), horizon = hex(0x7A2200), ground = hex(0xFF7F1A),
              rim = hex(0xFFE7A0);
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            const float c = at(x, y);
            if (c <= 0) continue;
            const float t = (y - y0) / float(height - cell);
            RGB m = t < 0.52f ? mix(sky_hi, sky_lo, smooth(t / 0.52f))
                              : (t < 0.8f ? mix(horizon, ground, smooth((t - 0.52f) / 0.28f))
                                          : mix(ground, rim, smooth((t - 0.8f) / 0.2f)));
            const float hi = clamp01(c - at(x - 2, y - 2)), lo = clamp01(c - at(x + 2, y + 2));
            m = mix(m, hex(0xFFFFFF), 0.65f * hi);
            m = mix(m, hex(0x3A1000), 0.6f * lo);
            put(x, y, m, c);
        }
}

void paint_masthead() {
    const int x0 = 44;
    paint_title(x0, 26, 6, 2, 0.16f);
    // the strapline under the title, framed by shade rules of the font's own blocks
    const std::string strap = "THE TEXT ART CHART MAGAZINE";
    const int sx = 56, sy = 132;
    text9(sx, sy, strap, hex(0xE8EEFF), hex(0x8FA8E8), 10);
    const int end = sx + int(strap.size()) * 10;
    const std::string rule = "\xB0\xB1\xB2\xDB";
    for (int i = 0; i < 4; ++i) text9(end + 8 + i * 9, sy, std::string(1, rule[i]), hex(0xFF9C3A), hex(0xC0501A));
    for (int x = end + 44; x < 566; x += 9) text9(x, sy, "\xDB", hex(0xFF9C3A), hex(0xC0501A));
    hline(sx, 566, sy + 16, hex(0x5A6EB0), 0.8f);
    // issue line
    text5(sx, sy + 22, "MONTHLY CHARTS  -  GROUPS  -  RELEASES  -  OVERVIEWS", hex(0x9FB0D8));
}

void paint_menu() {
    const int x0 = layout::menu_left - 6, x1 = layout::menu_left + layout::menu_width + 7;
    const int y0 = 2, y1 = layout::menu_row_top[layout::menu_rows] + layout::menu_row_height + 6;
    fill(x0, y0, x1, y1, hex(0x05071A), 0.82f);
    hline(x0, x1, y0, hex(0x6A82C8));
    vline(x0, y0, y1, hex(0x6A82C8));
    hline(x0, x1, y1, hex(0x2A386A));
    vline(x1, y0, y1, hex(0x2A386A));
    for (int k = 1; k <= layout::menu_rows; ++k) {
        const int top = layout::menu_row_top[k];
        const std::string key = "F" + std::to_string(k);
        const int ty = top + (layout::menu_row_height + 1 - small.height) / 2;
        // a faint band per row, so each row reads as a button
        fill(layout::menu_left + 1, top, layout::menu_left + layout::menu_width - 1, top + layout::menu_row_height,
             hex(k == layout::menu_rows ? 0x1A1230 : 0x0E1432), 0.9f);
        text5(layout::menu_left + 22 - width5(key), ty, key, hex(k == layout::menu_rows ? 0x7CF0C0 : 0xFFB347));
        text5(layout::menu_left + 28, ty, layout::menu_label[k], hex(0xDCE4F8));
    }
}

void paint_quit_cross() {
    const auto& q = layout::quit_spot;
    fill(q.x, q.y, q.x + q.width - 1, q.y + q.height - 1, hex(0x6A0E1E));
    hline(q.x, q.x + q.width - 1, q.y, hex(0xFF6A80));
    vline(q.x, q.y, q.y + q.height - 1, hex(0xFF6A80));
    hline(q.x, q.x + q.width - 1, q.y + q.height - 1, hex(0x2A0008));
    vline(q.x + q.width - 1, q.y, q.y + q.height - 1, hex(0x2A0008));
    for (int i = 2; i <= q.width - 3; ++i) {
        put(q.x + i, q.y + i, hex(0xFFE4EA));
        put(q.x + q.width - 1 - i, q.y + i, hex(0xFFE4EA));
    }
}

void paint_pane() {
    using namespace layout;
    // a soft dark halo around the pane, then the pane itself
    for (int d = 6; d >= 1; --d) {
        const float a = 0.16f * (7 - d) / 6.f;
        hline(frame_left - d, frame_right + d, frame_top - d, hex(0x000000), a);
        hline(frame_left - d, frame_right + d, frame_bottom + d, hex(0x000000), a);
        vline(frame_left - d, frame_top - d, frame_bottom + d, hex(0x000000), a);
        vline(frame_right + d, frame_top - d, frame_bottom + d, hex(0x000000), a);
    }
    for (int y = frame_top + 1; y < frame_bottom; ++y)
        for (int x = frame_left + 1; x < frame_right; ++x) {
            pic[y][x] = {0, 0, 0};
            pane_art[y][x] = false;
        }
    const RGB light = hex(0xA8BCE4);
    hline(frame_left, frame_right, frame_top, light);
    hline(frame_left, frame_right, frame_bottom, light);
    vline(frame_left, frame_top, frame_bottom, light);
    vline(frame_right, frame_top, frame_bottom, light);
    hline(frame_left - 2, frame_right + 2, frame_bottom + 2, hex(0x4A5C90));
}

// The tab of key hints that sits on the pane's top edge: its lower rows lie
// inside the pane, where scrolled text passes behind it.
void paint_key_tab() {
    const int x0 = layout::frame_left + 6, y0 = layout::frame_top - 12, y1 = layout::frame_top + 3;
    const std::string hint = "F1-F10 PAGES   F11 MUSIC   HOME/END   ESC QUIT";
    const int x1 = x0 + width5(hint) + 16;
    fill(x0, y0, x1, y1, hex(0x1C2A58));
    hline(x0, x1, y0, hex(0xA8BCE4));
    vline(x0, y0, y1, hex(0xA8BCE4));
    vline(x1, y0, y1, hex(0xA8BCE4));
    hline(x0 + 1, x1 - 1, y1, hex(0x34488A));
    text5(x0 + 8, y0 + 4, hint, hex(0xE8EEFF));
}

void paint_arrow(const layout::Spot& s, bool down) {
    const int x0 = s.x, y0 = s.y, x1 = s.x + s.width - 1, y1 = s.y + s.height - 1;
    fill(x0, y0, x1, y1, hex(0x22345E));
    hline(x0, x1, y0, hex(0xC8D6F4));
    vline(x0, y0, y1, hex(0xC8D6F4));
    hline(x0, x1, y1, hex(0x101A38));
    vline(x1, y0, y1, hex(0x101A38));
    const int cx = x0 + s.width / 2, cy = y0 + s.height / 2;
    for (int i = 0; i < 5; ++i) {
        const int y = down ? cy - 2 + i : cy + 2 - i;
        hline(cx - 4 + i, cx + 4 - i, y, hex(0xF4F8FF));
    }
}

// Artwork inside the pane must never be pure black, or the text would show
// through it.
void lift_pane_art(uint8_t& r, uint8_t& g, uint8_t& b) {
    if (r == 0 && g == 0 && b == 0) r = g = b = 1;
}

bool write_bmp(const char* path) {
    std::vector<uint8_t> f;
    auto u16 = [&](uint32_t v) {
        f.push_back(v & 255);
        f.push_back((v >> 8) & 255);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const uint32_t image = W * H * 3;
    f.push_back('B');
    f.push_back('M');
    u32(54 + image);
    u32(0);
    u32(54);
    u32(40);
    u32(W);
    u32(H);
    u16(1);
    u16(24);
    u32(0);
    u32(image);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = H - 1; y >= 0; --y)
        for (int x = 0; x < W; ++x) {
            const RGB c = pic[y][x];
            uint8_t r = uint8_t(std::lround(clamp01(c.r) * 255)), g = uint8_t(std::lround(clamp01(c.g) * 255)),
                    b = uint8_t(std::lround(clamp01(c.b) * 255));
            if (in_pane(x, y)) {
                if (pane_art[y][x]) lift_pane_art(r, g, b);
                else r = g = b = 0;
            }
            f.push_back(b);
            f.push_back(g);
            f.push_back(r);
        }
    std::FILE* out = std::fopen(path, "wb");
    return out && std::fwrite(f.data(), 1, f.size(), out) == f.size() && std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: cover FONT.glyphs SMALL.glyphs LOGO.glyphs OUT.bmp\n");
        return 2;
    }
    std::string error;
    if (!glyphfile::read(argv[1], font, error) || !glyphfile::read(argv[2], small, error) ||
        !glyphfile::read(argv[3], logo, error)) {
        std::fprintf(stderr, "cover: %s\n", error.c_str());
        return 1;
    }
    paint_sky();
    paint_masthead();
    paint_menu();
    paint_quit_cross();
    paint_pane();  // clears the pane: the artwork below is the only thing inside it
    paint_key_tab();
    paint_arrow(layout::down_arrow, true);
    paint_arrow(layout::up_arrow, false);
    if (!write_bmp(argv[4])) {
        std::fprintf(stderr, "cover: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
