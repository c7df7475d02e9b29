// Where the SDL back end puts the 800 x 600 frame: whole-number blocks, the
// remaining fraction, the bars, and pointer positions back to frame pixels.
#include <gtest/gtest.h>

#include "platform/sdl/scale.h"

using namespace platform::sdl;

TEST(FramePlacement, WholeFactorThenFraction) {
    const struct {
        int out_w, out_h;
        bool integer_only;
        Placement want;
    } cases[] = {
        {800, 600, false, {1, 0, 0, 800, 600}},
        {1600, 1200, false, {2, 0, 0, 1600, 1200}},
        {1024, 768, false, {1, 0, 0, 1024, 768}},
        {1920, 1080, false, {1, 240, 0, 1440, 1080}},
        {1920, 1080, true, {1, 560, 240, 800, 600}},
        {2560, 1440, false, {2, 320, 0, 1920, 1440}},
        {2560, 1440, true, {2, 480, 120, 1600, 1200}},
        {3840, 2160, false, {3, 480, 0, 2880, 2160}},
        {3840, 2160, true, {3, 720, 180, 2400, 1800}},
        {1280, 1024, false, {1, 0, 32, 1280, 960}},
        {640, 480, true, {1, 0, 0, 640, 480}},  // smaller than the frame: fitted down
    };
    for (const auto& c : cases) {
        Placement p = place_frame(c.out_w, c.out_h, 800, 600, c.integer_only);
        EXPECT_EQ(p.factor, c.want.factor) << c.out_w << "x" << c.out_h << " " << c.integer_only;
        EXPECT_EQ(p.x, c.want.x) << c.out_w << "x" << c.out_h;
        EXPECT_EQ(p.y, c.want.y) << c.out_w << "x" << c.out_h;
        EXPECT_EQ(p.w, c.want.w) << c.out_w << "x" << c.out_h;
        EXPECT_EQ(p.h, c.want.h) << c.out_w << "x" << c.out_h;
    }
}

TEST(FramePlacement, PointerLandsOnTheFramePixelUnderIt) {
    // Whole blocks: every output pixel of a block gives that block's pixel.
    Placement p = place_frame(2560, 1440, 800, 600, true);  // 2x, bars 480 and 120
    for (int py = 0; py < 1440; py += 7)
        for (int px = 0; px < 2560; px += 3) {
            int fx, fy;
            frame_point(p, 800, 600, 2560, 1440, 2560, 1440, px, py, &fx, &fy);
            int ex = (px - 480) >= 0 ? (px - 480) / 2 : 0, ey = (py - 120) >= 0 ? (py - 120) / 2 : 0;
            ASSERT_EQ(fx, ex > 799 ? 799 : ex) << px << "," << py;
            ASSERT_EQ(fy, ey > 599 ? 599 : ey) << px << "," << py;
        }
    // With the fraction: the frame's edges and its middle.
    Placement f = place_frame(1920, 1080, 800, 600, false);  // 1440 x 1080 from x 240
    const struct {
        int x, y, fx, fy;
    } at[] = {{240, 0, 0, 0}, {1679, 1079, 799, 599}, {960, 540, 400, 300}, {0, 500, 0, 277}, {1919, 0, 799, 0},
              {241, 1, 0, 0}, {242, 2, 1, 1}};
    for (const auto& a : at) {
        int fx, fy;
        frame_point(f, 800, 600, 1920, 1080, 1920, 1080, a.x, a.y, &fx, &fy);
        EXPECT_EQ(fx, a.fx) << a.x << "," << a.y;
        EXPECT_EQ(fy, a.fy) << a.x << "," << a.y;
    }
    // A high-density window: 800 x 600 coordinates over 1600 x 1200 pixels.
    Placement h = place_frame(1600, 1200, 800, 600, false);
    for (int x : {0, 1, 399, 799}) {
        int fx, fy;
        frame_point(h, 800, 600, 800, 600, 1600, 1200, x, x * 3 / 4, &fx, &fy);
        EXPECT_EQ(fx, x);
        EXPECT_EQ(fy, x * 3 / 4);
    }
}
