// soak_test: the whole viewer, frame after frame, through the scripted back
// end: every page selected by key and by mouse, scrolling both ways, Home and
// End, the music switched off and on, the ticker wrapping round. The memory
// in use near the end must equal the memory in use after the first hundred
// frames: nothing grows while the viewer runs.
//
//   QUILLON_SOAK_FRAMES=1000000 build/default/tests/soak/soak_test
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>

#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "display/display_state.h"
#include "platform/heap.h"
#include "platform/keys.h"
#include "platform/scripted.h"
#include "platform/threads.h"

// Under AddressSanitizer malloc's own counters say nothing; the sanitizer's
// allocator counts instead. Declared here rather than through its header,
// which only clang's runtime package ships.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ASAN 1
#endif
#endif
#ifdef QUILLON_ASAN
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace script = platform::script;

namespace {

size_t bytes_in_use() {
#ifdef QUILLON_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    // Both the heap's chunks and the large blocks malloc maps on their own:
    // which of the two a block comes from changes as malloc tunes itself.
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

int soak_frames() {
    const char* env = std::getenv("QUILLON_SOAK_FRAMES");
    int n = env ? std::atoi(env) : 0;
    return n > 1000 ? n : 25000;
}

constexpr int menu_tops[11] = {8, 20, 32, 43, 54, 66, 77, 89, 100, 112, 123};

// One reader's round, starting at frame t, 1,000 frames long.
void script_round(int t, int k) {
    script::key_tap(platform::VK_F1 + k % 10, t);
    script::key_down(platform::VK_UP, t + 50, t + 350);
    script::key_tap(platform::VK_END, t + 400);
    script::key_down(platform::VK_DOWN, t + 450, t + 700);
    script::key_tap(platform::VK_HOME, t + 750);
    // A click on the menu row of the next page, then on the up arrow.
    int row = (k + 1) % 10;
    script::mouse(t + 800, 650, menu_tops[row] + 5, true);
    script::mouse(t + 801, 650, menu_tops[row] + 5, false);
    script::mouse(t + 850, 745, 190, true);
    script::mouse(t + 950, 745, 190, false);
    script::mouse(t + 960, 400, 400, false);
    // Every fifth round the music goes off and comes back on.
    if (k % 5 == 4) {
        script::key_tap(platform::VK_F11, t + 100);
        script::key_tap(platform::VK_F11, t + 300);
    }
}

}  // namespace

TEST(Soak, NothingGrowsOverALongRun) {
    const int frames = soak_frames();
    script::reset();
    script::keep_calls(false);
    script::keep_presented(false);
    for (int t = 200, k = 0; t + 1000 < frames - 200; t += 1000, ++k) script_round(t, k);
    script::key_down(platform::VK_ESCAPE, frames, frames + 5);

    size_t early = 0, late = 0;
    int wraps = 0;
    int32_t last_pos = 0;
    script::on_present([&](const script::Presented& p) {
        if (app::viewer.ticker_pos < last_pos) ++wraps;
        last_pos = app::viewer.ticker_pos;
        script::wave_consume(735 * 4);  // the sound card plays a frame's worth
        script::wave_clear_captured();  // (the capture keeps its capacity)
        if (p.frame == 100) early = bytes_in_use();
        if (p.frame == frames - 50) late = bytes_in_use();
    });
    app::viewer = app::ViewerState{};
    display::display_state = display::DisplayState{};
    EXPECT_EQ(app::viewer_run(), 0);
    script::on_present(nullptr);

    EXPECT_GE(script::presented_count(), frames - 2);
    ASSERT_NE(early, 0u);
    EXPECT_EQ(late, early) << "bytes in use after 100 frames and " << frames - 50 << " frames";
    EXPECT_GE(wraps, frames / 10096 - 1);
    EXPECT_EQ(platform::live_threads(), 0);
    EXPECT_EQ(platform::live_heaps(), 0);
}
