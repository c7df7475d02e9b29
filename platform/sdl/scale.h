// scale.h: where the frame goes on the window of the SDL back end, as plain
// integer arithmetic (no SDL), so the rules can be tested alone.
//
//   Placement p = place_frame(out_w, out_h, 800, 600, integer_only);
//   draw the frame scaled by p.factor with nearest-neighbour into a
//   p.factor * 800 x p.factor * 600 target, then that target into
//   (p.x, p.y, p.w, p.h) with linear filtering; when p.w == p.factor * 800
//   the second pass is a plain copy. Black bars fill the rest.
//   frame_point(p, 800, 600, ...) maps a pointer position back.
//
// So every frame pixel stays a sharp block of factor x factor pixels, and
// only the remaining fraction (at most one output pixel of blur per edge of
// a block) is filtered. integer_only keeps the blocks exact and leaves wider
// bars instead. An output smaller than the frame is fitted downwards.
#pragma once
#include <cstdint>

namespace platform::sdl {

struct Placement {
    int factor;      // whole-number factor of the nearest-neighbour pass, at least 1
    int x, y, w, h;  // the frame's rectangle on the output, in output pixels
};

inline Placement place_frame(int out_w, int out_h, int frame_w, int frame_h, bool integer_only) {
    Placement p{1, 0, 0, frame_w, frame_h};
    if (out_w <= 0 || out_h <= 0 || frame_w <= 0 || frame_h <= 0) return p;
    int kx = out_w / frame_w, ky = out_h / frame_h;
    p.factor = kx < ky ? kx : ky;
    if (p.factor < 1) p.factor = 1;
    if (integer_only && out_w >= frame_w && out_h >= frame_h) {
        p.w = frame_w * p.factor;
        p.h = frame_h * p.factor;
    } else if (int64_t(out_w) * frame_h <= int64_t(out_h) * frame_w) {  // the width decides
        p.w = out_w;
        p.h = int((int64_t(out_w) * frame_h + frame_w / 2) / frame_w);
    } else {
        p.h = out_h;
        p.w = int((int64_t(out_h) * frame_w + frame_h / 2) / frame_h);
    }
    p.x = (out_w - p.w) / 2;
    p.y = (out_h - p.h) / 2;
    return p;
}

// The frame pixel under a pointer at (x, y) in window coordinates, on a window
// of win_w x win_h coordinates whose output has out_w x out_h pixels (more on
// a high-density screen). Positions over the bars give the nearest edge
// pixel, so the pointer is always somewhere on the frame.
inline void frame_point(const Placement& p, int frame_w, int frame_h, int win_w, int win_h, int out_w, int out_h,
                        int x, int y, int* fx, int* fy) {
    int64_t px = win_w > 0 ? int64_t(x) * out_w / win_w : x;
    int64_t py = win_h > 0 ? int64_t(y) * out_h / win_h : y;
    int64_t ux = p.w > 0 ? (px - p.x) * frame_w : 0;
    int64_t uy = p.h > 0 ? (py - p.y) * frame_h : 0;
    // floor division, also left of and above the frame
    int64_t cx = ux >= 0 ? ux / p.w : -((-ux + p.w - 1) / p.w);
    int64_t cy = uy >= 0 ? uy / p.h : -((-uy + p.h - 1) / p.h);
    *fx = int(cx < 0 ? 0 : cx >= frame_w ? frame_w - 1 : cx);
    *fy = int(cy < 0 ? 0 : cy >= frame_h ? frame_h - 1 : cy);
}

}  // namespace platform::sdl
