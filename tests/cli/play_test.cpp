// xmplay's play loop on the scripted wave device: keys pause, resume and
// change the volume, q and a lone Escape quit and other escape sequences do
// not; --seconds counts playing time only; a signal ends it with 128 + its
// number; no device means no start; every end leaves the player stopped.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "cli/common/play.h"
#include "music/player.h"
#include "music/state.h"
#include "platform/heap.h"
#include "platform/scripted.h"
#include "platform/threads.h"
#include "songs.h"

namespace {

// The scripted terminal: bursts of keys, one per wait, and a clock that
// moves 50 ms per wait.
std::deque<std::string> bursts;
int64_t clock_ms = 0;
int signal_after = -1;  // waits before a SIGTERM arrives; -1: never
int waits = 0;
struct Seen {
    bool paused;
    int32_t divisor;
};
std::vector<Seen> seen;  // the player as each wait found it
std::string last_line;

void waited() {
    clock_ms += 50;
    waits += 1;
    seen.push_back({platform::script::wave_paused(), music::stream.volume_divisor.load()});
}

int read_keys(char* buffer, int capacity, int) {
    waited();
    if (bursts.empty()) return 0;
    const std::string b = bursts.front();
    bursts.pop_front();
    const int n = std::min(int(b.size()), capacity);
    std::copy(b.begin(), b.begin() + n, buffer);
    return n;
}
int64_t now_ms() { return clock_ms; }
void sleep_ms(int32_t) { waited(); }
void show(const std::string& line) { last_line = line; }
int stop_signal() { return signal_after >= 0 && waits >= signal_after ? 15 : 0; }

const cli::PlayIo keyboard = {read_keys, now_ms, sleep_ms, show, stop_signal};
const cli::PlayIo no_keyboard = {nullptr, now_ms, sleep_ms, show, stop_signal};

cli::PlayArgs song_args(const char* dir_name) {
    cli::PlayArgs a;
    a.input = songs::write_file(songs::scratch_dir(dir_name), "song.xm", xmw::xm_write(songs::plain(2)));
    return a;
}

void fresh() {
    music::player_start(nullptr, 0, 0);
    platform::script::reset();
    bursts.clear();
    clock_ms = 0;
    waits = 0;
    signal_after = -1;
    seen.clear();
    last_line.clear();
}

void expect_stopped() {
    EXPECT_FALSE(platform::script::wave_open());
    EXPECT_EQ(platform::live_threads(), 0);
    EXPECT_EQ(platform::live_heaps(), 0);
}

TEST(Play, KeysDriveThePlayer) {
    fresh();
    cli::PlayArgs a = song_args("play_keys");
    a.volume = 60;
    ASSERT_EQ(cli::play_start(a), 1);
    bursts = {" ", " ", "--", "+++++", "\x1b[A\x1bOP", "", "q never read"};
    EXPECT_EQ(cli::play_loop(a, keyboard), 0);
    expect_stopped();
    // What each wait saw: before any key, after each burst in turn.
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_FALSE(seen[0].paused);
    EXPECT_EQ(seen[0].divisor, 20);  // volume 60
    EXPECT_TRUE(seen[1].paused);
    EXPECT_FALSE(seen[2].paused);
    EXPECT_EQ(seen[3].divisor, 28);  // 52
    EXPECT_EQ(seen[4].divisor, 16);  // up to 64, no further
    EXPECT_EQ(seen[6].divisor, 16);  // the cursor and F1 sequences changed nothing, and did not quit
    EXPECT_NE(last_line.find("Test song"), std::string::npos) << last_line;
    EXPECT_NE(last_line.find("vol 64"), std::string::npos) << last_line;
}

TEST(Play, QuitKeys) {
    const struct {
        const char* keys;
        bool quit;
    } cases[] = {{"q", true}, {"Q", true}, {"\x1b", true}, {"\x1bx", true}, {"  \x1b", true},
                 {"\x1b[1;5C", false}, {"\x1bOQ", false}, {"x", false}};
    for (const auto& c : cases) {
        cli::PlayState s;
        cli::play_keys(&s, c.keys, int(std::strlen(c.keys)));
        EXPECT_EQ(s.quit, c.quit) << c.keys;
    }
}

TEST(Play, SecondsCountPlayingTimeOnly) {
    fresh();
    cli::PlayArgs a = song_args("play_seconds");
    a.seconds_ms = 1000;
    ASSERT_EQ(cli::play_start(a), 1);
    EXPECT_EQ(cli::play_loop(a, no_keyboard), 0);
    EXPECT_EQ(clock_ms, 1000);
    expect_stopped();

    fresh();
    ASSERT_EQ(cli::play_start(a), 1);
    bursts = {" ", "", "", "", "", "", "", "", "", "", " "};  // paused for 500 ms
    EXPECT_EQ(cli::play_loop(a, keyboard), 0);
    EXPECT_EQ(clock_ms, 1500);
    expect_stopped();
}

TEST(Play, SignalEndsWithItsCode) {
    fresh();
    cli::PlayArgs a = song_args("play_signal");
    signal_after = 3;
    ASSERT_EQ(cli::play_start(a), 1);
    EXPECT_EQ(cli::play_loop(a, no_keyboard), 128 + 15);
    EXPECT_EQ(waits, 3);
    expect_stopped();
}

TEST(Play, NoDeviceNoStart) {
    fresh();
    platform::script::config().fail[int(platform::script::Call::WaveOutOpen)] = true;
    EXPECT_EQ(cli::play_start(song_args("play_no_device")), 0);
    expect_stopped();
}

TEST(Play, StatusLine) {
    EXPECT_EQ(cli::play_status_line("Song", 83456, 0, 64, false),
              "Song  1:23.4  L ............  R ............  vol 64");
    EXPECT_EQ(cli::play_status_line("", 0, 0x7FFF0800, 0, true),
              "(untitled)  0:00.0  L ############  R ######......  vol 0  [paused]");
}

}  // namespace
