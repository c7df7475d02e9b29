// triangle.cpp: the translucent triangle fill, the only primitive that reads
// the frame back. Every hover highlight is a rectangle of two such triangles.
//
//   blend_triangle(x1, y1, x2, y2, x3, y3, 0x6E1E3CF0);   // weight 0x6E of 256
//
// Vertices are sorted by y with a fixed exchange sort, edges advance in
// double precision one addition per row, and each span's ends round to the
// nearest pixel (halves to even); both ends of a span are blended, so two
// triangles that share an edge both blend its pixels.
#include <algorithm>
#include <cmath>

#include "render/render.h"

namespace render {

uint32_t blend_colour(uint32_t dst, uint32_t src, uint32_t alpha) {
    // red and blue in one multiply-add, green in another; with alpha up to
    // 255 each lane stays below 65,536 and cannot carry into its neighbour
    const uint32_t a = alpha & 0xFF, b = 256 - a;
    const uint32_t rb = ((src & 0x00FF00FF) * a + (dst & 0x00FF00FF) * b) & 0xFF00FF00;
    const uint32_t g = ((src & 0x0000FF00) * a + (dst & 0x0000FF00) * b) & 0x00FF0000;
    return (rb | g) >> 8;
}

int64_t round_half_even(double v) {
    if (!(v > -1e9)) return -1000000000;  // far off screen (and NaN) clamps alike
    if (!(v < 1e9)) return 1000000000;
    double f = std::floor(v);
    const double d = v - f;
    if (d > 0.5 || (d == 0.5 && std::fmod(f, 2.0) != 0.0)) f += 1.0;
    return int64_t(f);
}

namespace {

struct Vertex {
    int32_t x, y;
};

inline void blend_span(int64_t y, double p, double q, uint32_t src, uint32_t alpha) {
    if (y < 0 || y >= frame_height) return;
    int64_t left = round_half_even(p < q ? p : q);
    int64_t right = round_half_even(p < q ? q : p);
    if (right > frame_width) right = frame_width;
    if (left < 0) left = 0;
    if (right - left <= 0) return;  // a span that rounds to one pixel is not drawn
    if (right > frame_width - 1) right = frame_width - 1;
    uint32_t* row = Framebuffer + y * frame_width;
    for (int64_t x = left; x <= right; ++x) row[x] = blend_colour(row[x], src, alpha);
}

// Rows far above the frame draw nothing; past this many the edges jump
// there in one multiplication instead of one addition per row.
constexpr int64_t hidden_rows_walked = 65536;

// Moves y (and both edges) down to the frame's first row when it starts
// far above it, without passing `end`.
inline void skip_hidden_rows(int64_t& y, int64_t end, double& e1, double d1, double& e2, double d2) {
    if (y >= -hidden_rows_walked) return;
    const int64_t n = std::min<int64_t>(end, 0) - y;
    if (n <= 0) return;
    e1 += double(n) * d1;
    e2 += double(n) * d2;
    y += n;
}

inline double slope(int32_t xa, int32_t ya, int32_t xb, int32_t yb) {
    // only asked for edges that span at least one row; a horizontal edge
    // never reaches a drawn row, so its advance is left at 0
    return yb != ya ? (double(xb) - double(xa)) / (double(yb) - double(ya)) : 0.0;
}

}  // namespace

void blend_triangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, uint32_t colour) {
    Vertex v[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < 2; ++i) {
            if (v[i].y >= v[i + 1].y) {
                const Vertex t = v[i];
                v[i] = v[i + 1];
                v[i + 1] = t;
            }
        }
    }
    const Vertex a = v[0], b = v[1], c = v[2];
    if (a.x < 0 && b.x < 0 && c.x < 0) return;
    if (a.x > frame_width && b.x > frame_width && c.x > frame_width) return;
    if (a.y > frame_height || c.y < 0) return;  // wholly below or wholly above the frame

    const uint32_t src = colour & 0x00FFFFFF, alpha = colour >> 24;
    const int64_t last_row = std::min<int64_t>(c.y, frame_height - 1);  // rows beyond draw nothing

    if (a.y == b.y && b.y < c.y) {
        // flat top: both edges run to the bottom vertex
        double ea = a.x, eb = b.x;
        const double da = slope(a.x, a.y, c.x, c.y), db = slope(b.x, b.y, c.x, c.y);
        int64_t y = a.y;
        skip_hidden_rows(y, last_row, ea, da, eb, db);
        for (; y <= last_row; ++y) {
            blend_span(y, ea, eb, src, alpha);
            ea += da;
            eb += db;
        }
        return;
    }

    // the short edge s heads for the middle vertex, the long edge l for the bottom one
    double s = a.x, l = a.x;
    double ds = slope(a.x, a.y, b.x, b.y);
    const double dl = slope(a.x, a.y, c.x, c.y);
    int64_t y = a.y;
    skip_hidden_rows(y, std::min<int64_t>(b.y, last_row + 1), s, ds, l, dl);
    for (; y < b.y && y <= last_row; ++y) {
        blend_span(y, s, l, src, alpha);
        s += ds;
        l += dl;
    }
    if (y < b.y) return;  // left the frame before the middle vertex
    s = b.x;
    ds = slope(b.x, b.y, c.x, c.y);
    skip_hidden_rows(y, last_row, s, ds, l, dl);
    for (; y <= last_row; ++y) {
        blend_span(y, s, l, src, alpha);
        s += ds;
        l += dl;
    }
}

}  // namespace render
