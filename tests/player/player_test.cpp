// The player's lifecycle on the scripted wave device: what reaches the
// device at the write and block by block while it plays, pause, restart,
// stop, failed starts and their clean-up, the volume and the getters; and a
// stress run of starts and stops (run under ThreadSanitizer with the
// "threads" label).
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "music/player.h"
#include "music/state.h"
#include "platform/heap.h"
#include "platform/scripted.h"
#include "platform/threads.h"
#include "song.h"

namespace {

using namespace platform;
constexpr uint32_t block_bytes = 4096;

const std::vector<uint8_t>& song() { return test_song::bytes(); }

int32_t start_song() { return music::player_start(song().data(), int32_t(song().size()), 1); }

// A fresh machine, the player stopped, the volume at full.
void fresh() {
    music::player_start(nullptr, 0, 0);
    script::reset();
    script::wave_clear_captured();
    music::player_set_volume(64);
}

// Waits until the player's thread has read the position twice more: it has
// then seen what was consumed, rendered what that asked for and gone back to
// watching the position.
void wait_for_thread() {
    uint32_t from = script::wave_position_queries();
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (script::wave_position_queries() < from + 2) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the player's thread stopped watching";
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Plays n blocks, letting the thread catch up after each.
void play_blocks(int n) {
    for (int k = 0; k < n; ++k) {
        ASSERT_EQ(script::wave_consume(block_bytes), block_bytes);
        wait_for_thread();
    }
}

std::vector<std::string> wave_calls() {
    std::vector<std::string> out;
    for (const std::string& n : script::call_names())
        if (n.rfind("waveOut", 0) == 0) out.push_back(n);
    return out;
}

const std::vector<std::string> stop_calls = {"waveOutReset", "waveOutUnprepareHeader", "waveOutClose"};

void expect_stopped() {
    EXPECT_FALSE(script::wave_open());
    EXPECT_EQ(live_threads(), 0);
    EXPECT_EQ(live_heaps(), 0);
    EXPECT_STREQ(music::player_get_title(), "");
    EXPECT_EQ(music::player_get_levels(), 0);
    EXPECT_EQ(music::player_get_time(), 0);
}

TEST(Player, StartRendersSixteenBlocksBeforeTheWrite) {
    const std::vector<uint8_t> want = test_song::rendered(16);
    fresh();
    ASSERT_NE(start_song(), 0);
    EXPECT_EQ(wave_calls(), (std::vector<std::string>{"waveOutOpen", "waveOutPrepareHeader", "waveOutWrite"}));
    for (const script::CallRecord& c : script::calls()) {
        if (c.name == "waveOutOpen") {
            EXPECT_EQ(c.a, 44100);
            EXPECT_EQ(c.b, 2);
            EXPECT_EQ(c.c, 16);
            EXPECT_EQ(c.d, 4);
        }
        if (c.name == "waveOutWrite") {
            EXPECT_EQ(c.a, 65536);
            EXPECT_EQ(c.b, 0x0C);  // begin and end of the loop
            EXPECT_EQ(c.c, 0xFFFFFFFF);
            EXPECT_EQ(c.d, script::wave_hash(want.data(), uint32_t(want.size()))) << "buffer at the write";
        }
    }
    EXPECT_EQ(live_threads(), 1);
    EXPECT_EQ(live_heaps(), 1);
    EXPECT_STREQ(music::player_get_title(), "Lifecycle song");
    ASSERT_EQ(script::wave_consume(65536), 65536u);
    EXPECT_EQ(script::wave_captured(), want);

    EXPECT_EQ(music::player_start(nullptr, 0, 0), 0);
    std::vector<std::string> all = {"waveOutOpen", "waveOutPrepareHeader", "waveOutWrite"};
    all.insert(all.end(), stop_calls.begin(), stop_calls.end());
    EXPECT_EQ(wave_calls(), all);
    expect_stopped();
}

TEST(Player, TheThreadRendersEachPlayedBlock) {
    const std::vector<uint8_t> want = test_song::rendered(40);
    fresh();
    ASSERT_NE(start_song(), 0);
    play_blocks(40);
    EXPECT_EQ(script::wave_captured(), want);
    // Each played block was rendered again, once: the ring is at block 40.
    EXPECT_EQ(music::stream.info_index.load(), 40 % 16);
    fresh();
}

TEST(Player, GettersReportTheBlockBeingHeard) {
    // The time of each block (elapsed ms at its end), as the fill counts it.
    std::vector<int32_t> times;
    int32_t ms = 0, left = 0;
    for (int k = 0; k < 20; ++k) {
        for (int done = 0; done < 1024;) {
            if (left == 0) left = 882;
            int n = std::min(left, 1024 - done);
            ms += 20 * n / 882;
            left -= n;
            done += n;
        }
        times.push_back(ms);
    }
    fresh();
    ASSERT_NE(start_song(), 0);
    EXPECT_EQ(music::player_get_time(), times[0]);
    EXPECT_NE(music::player_get_levels(), 0);
    play_blocks(3);
    EXPECT_EQ(music::player_get_time(), times[3]) << "block 3 is now heard";
    EXPECT_NE(music::player_get_levels(), 0);
    fresh();
    expect_stopped();
}

TEST(Player, PauseRendersNothingAndResumeGoesOn) {
    const std::vector<uint8_t> want = test_song::rendered(4);
    fresh();
    ASSERT_NE(start_song(), 0);
    play_blocks(2);
    music::player_pause();
    EXPECT_TRUE(script::wave_paused());
    const int32_t ring = music::stream.info_index.load();
    EXPECT_EQ(script::wave_consume(block_bytes), 0u);
    wait_for_thread();
    wait_for_thread();
    EXPECT_EQ(music::stream.info_index.load(), ring);
    music::player_resume();
    EXPECT_FALSE(script::wave_paused());
    play_blocks(2);
    EXPECT_EQ(script::wave_captured(), want);
    fresh();
    // Without a device, pause and resume do nothing.
    music::player_pause();
    music::player_resume();
    EXPECT_TRUE(wave_calls().empty());
}

TEST(Player, StartingAgainRestartsTheSong) {
    const std::vector<uint8_t> want = test_song::rendered(16);
    fresh();
    ASSERT_NE(start_song(), 0);
    play_blocks(5);
    ASSERT_NE(start_song(), 0);
    EXPECT_EQ(live_threads(), 1);
    EXPECT_EQ(live_heaps(), 1);
    script::wave_clear_captured();
    ASSERT_EQ(script::wave_consume(65536), 65536u);
    EXPECT_EQ(script::wave_captured(), want);
    fresh();
}

TEST(Player, NullStartOnlyStops) {
    fresh();
    EXPECT_EQ(music::player_start(nullptr, 0, 0), 0);
    EXPECT_TRUE(wave_calls().empty());
    expect_stopped();

    ASSERT_NE(start_song(), 0);
    play_blocks(1);
    EXPECT_EQ(music::player_start(nullptr, 0, 0), 0);
    expect_stopped();
}

TEST(Player, FailedStartsReleaseEverything) {
    static const char not_xm[] = "Not an XM module: a text file that is long enough to be read as a header ...";
    struct Case {
        const char* name;
        script::Call fail;  // Count: none
        const void* data;
        int32_t size;
        std::vector<std::string> calls;
    } cases[] = {
        {"no wave device", script::Call::WaveOutOpen, nullptr, 0, {"waveOutOpen"}},
        {"no heap", script::Call::HeapCreate, nullptr, 0, {"waveOutOpen", "waveOutReset", "waveOutUnprepareHeader", "waveOutClose"}},
        {"not an XM module", script::Call::Count, not_xm, int32_t(sizeof not_xm),
         {"waveOutOpen", "waveOutReset", "waveOutUnprepareHeader", "waveOutClose"}},
        {"no thread", script::Call::ThreadCreate, nullptr, 0,
         {"waveOutOpen", "waveOutPrepareHeader", "waveOutWrite", "waveOutReset", "waveOutUnprepareHeader",
          "waveOutClose"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool playing : {false, true}) {
            fresh();
            if (playing) {
                ASSERT_NE(start_song(), 0);
            }
            script::reset();
            if (c.fail != script::Call::Count) script::fail_nth(c.fail);
            const void* data = c.data ? c.data : song().data();
            int32_t size = c.size ? c.size : int32_t(song().size());
            EXPECT_EQ(music::player_start(data, size, 1), 0);
            std::vector<std::string> want = c.calls;
            if (playing) want.insert(want.begin(), stop_calls.begin(), stop_calls.end());
            EXPECT_EQ(wave_calls(), want);
            expect_stopped();
            // The player starts as new afterwards.
            ASSERT_NE(start_song(), 0);
            EXPECT_STREQ(music::player_get_title(), "Lifecycle song");
        }
    }
    fresh();
}

TEST(Player, VolumeDivisorsAndTheirPersistence) {
    struct Case {
        int32_t volume, divisor;
    } cases[] = {{64, 16}, {63, 17}, {32, 48}, {1, 79}, {0, 0x7FFFFFD0}, {65, 16}, {100, 16}, {-1, 16}, {-64, 16}};
    for (const Case& c : cases) {
        music::player_set_volume(c.volume);
        EXPECT_EQ(music::stream.volume_divisor.load(), c.divisor) << c.volume;
    }

    const std::vector<uint8_t> want = test_song::rendered(16, 48);
    fresh();
    music::player_set_volume(32);
    ASSERT_NE(start_song(), 0);
    music::player_start(nullptr, 0, 0);
    EXPECT_EQ(music::stream.volume_divisor.load(), 48) << "kept over a stop";
    ASSERT_NE(start_song(), 0);
    ASSERT_EQ(script::wave_consume(65536), 65536u);
    EXPECT_EQ(script::wave_captured(), want);
    // Half volume: every sample is the full one x 16 / 48, truncated.
    const std::vector<uint8_t> full = test_song::rendered(1, 16);
    for (size_t i = 0; i + 1 < full.size(); i += 2) {
        int16_t a = int16_t(full[i] | full[i + 1] << 8), b = int16_t(want[i] | want[i + 1] << 8);
        ASSERT_EQ(b, int16_t(a * 16 / 48)) << i;
    }
    fresh();
}

// Hundreds of starts and stops with pauses, volume changes, playing and
// failed starts mixed in: no thread and no heap left behind, no data race.
TEST(Player, StartStopStress) {
    fresh();
    std::mt19937 random(12345);
    const script::Call failures[] = {script::Call::WaveOutOpen, script::Call::HeapCreate, script::Call::ThreadCreate};
    int started = 0, stops = 0;
    // A thousand starts and a thousand stops at least, in random order with
    // failed starts, pauses, volume changes and playing between them.
    for (int i = 0; started < 1000 || stops < 1000; ++i) {
        ASSERT_LT(i, 100000);
        switch (random() % 8) {
            case 0:
            case 1:
                started += start_song() != 0;
                break;
            case 2:
                script::fail_nth(failures[random() % 3]);
                EXPECT_EQ(start_song(), 0);
                break;
            case 3:
                music::player_start(nullptr, 0, 0);
                ++stops;
                ASSERT_EQ(live_threads(), 0);
                ASSERT_EQ(live_heaps(), 0) << "the module's heap outlived its stop";
                break;
            case 4:
                music::player_pause();
                break;
            case 5:
                music::player_resume();
                break;
            case 6:
                music::player_set_volume(int32_t(random() % 80) - 8);
                break;
            default:
                script::wave_consume(uint32_t(random() % 20000));
                std::this_thread::sleep_for(std::chrono::milliseconds(random() % 4));
                music::player_get_levels();
                music::player_get_time();
                break;
        }
        ASSERT_LE(live_threads(), 1);
        ASSERT_LE(live_heaps(), 1);
    }
    
    music::player_start(nullptr, 0, 0);
    EXPECT_EQ(live_threads(), 0);
    EXPECT_EQ(live_heaps(), 0);
    script::wave_clear_captured();
}

}  // namespace
