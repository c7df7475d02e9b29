// The music switch end to end: the viewer with the real player on the
// scripted wave device. Music plays from start-up; F11 stops it; the
// 40-frame lock swallows a second press; menu row 11 starts it again from
// the module's beginning; Escape stops it and leaves no thread or heap.
#include <gtest/gtest.h>

#include <vector>

#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "display/display_state.h"
#include "music/player.h"
#include "platform/heap.h"
#include "platform/keys.h"
#include "platform/scripted.h"
#include "platform/threads.h"
#include "render/render.h"

namespace {

namespace script = platform::script;

void fresh() {
    script::reset();
    app::viewer = app::ViewerState{};
    display::display_state = display::DisplayState{};
    render::rewind_cursor_codes();
}

TEST(MusicSwitch, F11AndMenuRowElevenDriveThePlayer) {
    fresh();

    script::key_tap(platform::VK_F11, 30);   // off
    script::key_tap(platform::VK_F11, 50);   // within the lock: ignored
    script::mouse(100, 650, 128, true);      // menu row 11: on again
    script::mouse(101, 650, 128, false);
    script::key_down(platform::VK_ESCAPE, 160, 160);

    std::vector<bool> open;  // whether the device was open at each presented frame
    script::on_present([&](const script::Presented&) {
        open.push_back(script::wave_open());
        script::wave_consume(735 * 4);  // a sixtieth of a second of sound
    });
    ASSERT_EQ(app::viewer_run(), 0);

    ASSERT_GT(open.size(), 150u);
    EXPECT_TRUE(open[20]) << "plays from start-up";
    EXPECT_FALSE(open[40]) << "F11 stops it";
    EXPECT_FALSE(open[90]) << "the second F11 fell within the lock";
    EXPECT_TRUE(open[120]) << "menu row 11 starts it again";
    EXPECT_FALSE(script::wave_open());
    EXPECT_EQ(platform::live_threads(), 0);
    EXPECT_EQ(platform::live_heaps(), 0);

    // Both starts hand the device the same first sixteen blocks: the song
    // begins again from its start.
    std::vector<int64_t> writes;
    for (const script::CallRecord& c : script::calls())
        if (c.name == "waveOutWrite") writes.push_back(c.d);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], writes[1]);
    EXPECT_EQ(script::count_calls("waveOutClose"), 2);
    EXPECT_STREQ(music::player_get_title(), "");
}

// No sound device: the viewer runs silently and the switch only tries again.
TEST(MusicSwitch, WithoutASoundDeviceTheViewerRunsSilently) {
    fresh();
    script::fail_nth(script::Call::WaveOutOpen, 1);
    script::fail_nth(script::Call::WaveOutOpen, 2);
    script::key_tap(platform::VK_F11, 10);  // off
    script::key_tap(platform::VK_F11, 60);  // on: no device again
    script::key_down(platform::VK_ESCAPE, 120, 120);
    int frames = 0;
    script::on_present([&](const script::Presented&) { ++frames; });
    ASSERT_EQ(app::viewer_run(), 0);
    EXPECT_GT(frames, 110);
    EXPECT_EQ(script::count_calls("waveOutWrite"), 0);
    EXPECT_EQ(platform::live_threads(), 0);
    EXPECT_EQ(platform::live_heaps(), 0);
}

}  // namespace
