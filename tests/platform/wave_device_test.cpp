// The SDL back end's wave device for real, on SDL's disk driver and its
// dummy video driver: it stays open across a stop and a start, and when SDL
// reports it removed (SDL_AUDIODEVICEREMOVED, pumped with the window's
// messages) the new default device carries on at the same position.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "display/display.h"
#include "platform/threads.h"
#include "platform/wave.h"
#include "platform/sdl/hooks.h"

namespace {

using namespace platform;

const WaveFormat format{1, 2, 44100, 176400, 4, 16};

uint32_t position(WaveOut* d) {
    MMTime t{TIME_BYTES, 0};
    wave_out_get_position(d, &t);
    return t.bytes;
}

long file_size(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    long n = std::ftell(f);
    std::fclose(f);
    return n;
}

// Waits (up to 5 s) until the device has consumed more than `bytes`.
bool consumed_past(WaveOut* d, uint32_t bytes) {
    for (int i = 0; i < 500 && position(d) <= bytes; ++i) sleep_ms(10);
    return position(d) > bytes;
}

TEST(SdlWaveDevice, KeptAcrossStopAndStartAndReplacedWhenRemoved) {
    std::string file = ::testing::TempDir() + "quillon_wave_device.raw";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    display::display_set_question(0, "", 1, 0);
    ASSERT_EQ(display::display_open("QUILLON", 800, 600), 1);
    std::vector<uint32_t> pixels(800 * 600, 0x102030);

    std::vector<uint8_t> buffer(65536, 0x11);
    WaveHeader header{buffer.data(), 65536, WHDR_BEGINLOOP | WHDR_ENDLOOP, 0xFFFFFFFFu};
    WaveOut* d = nullptr;
    ASSERT_EQ(wave_out_open(&d, &format), 0u);
    uint32_t first_id = sdl::wave_device_id();
    ASSERT_NE(first_id, 0u);
    wave_out_prepare_header(d, &header);
    wave_out_write(d, &header);
    ASSERT_TRUE(consumed_past(d, 8192));

    // Stop and start: the same SDL device, the position from 0 again.
    wave_out_reset(d);
    wave_out_unprepare_header(d, &header);
    wave_out_close(d);
    ASSERT_EQ(wave_out_open(&d, &format), 0u);
    WaveOut* second = nullptr;
    EXPECT_NE(wave_out_open(&second, &format), 0u) << "a second open while one is open fails";
    EXPECT_EQ(sdl::wave_device_id(), first_id);
    EXPECT_EQ(position(d), 0u);
    wave_out_write(d, &header);
    ASSERT_TRUE(consumed_past(d, 131072));
    long before = file_size(file);
    ASSERT_GE(before, 131072);

    // Removed: the next pump puts the new default device in its place.
    SDL_Event e{};
    e.type = SDL_AUDIODEVICEREMOVED;
    e.adevice.which = first_id;
    e.adevice.iscapture = 0;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    display::display_update(pixels.data());
    EXPECT_NE(sdl::wave_device_id(), 0u);
    uint32_t at = position(d);
    EXPECT_GE(at, 131072u) << "the position carries on";
    EXPECT_TRUE(consumed_past(d, at + 8192)) << "the sound goes on";
    EXPECT_LT(file_size(file), before) << "on a device opened anew (the disk driver starts its file again)";

    wave_out_reset(d);
    wave_out_close(d);
    display::display_close();
    std::remove(file.c_str());
}

}  // namespace
