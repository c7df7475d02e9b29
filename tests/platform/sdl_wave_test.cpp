// The SDL wave device on SDL's dummy audio driver: the wave-output results,
// the position counting the bytes of the caller's format while it plays,
// holding while paused and back at 0 after a reset; and a writer that
// rewrites the part of the buffer the position has passed while SDL's audio
// thread reads the rest (run under ThreadSanitizer with the "threads" label:
// the buffer's bytes must never be read and written unordered).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/wave.h"

namespace {

using namespace platform;

constexpr uint32_t block_bytes = 4096;
constexpr uint32_t blocks = 16;

WaveFormat stereo16(uint32_t rate) { return {1, 2, rate, rate * 4, 4, 16}; }

uint32_t position(WaveOut* d) {
    MMTime t{TIME_BYTES, 0};
    EXPECT_EQ(wave_out_get_position(d, &t), MMSYSERR_NOERROR);
    return t.bytes;
}

// Waits until the position reaches `bytes`; false after two seconds.
bool wait_for(WaveOut* d, uint32_t bytes) {
    for (int i = 0; i < 400; ++i) {
        if (position(d) >= bytes) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

class SdlWave : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

    // Opens the device at 44,100 Hz (null on failure) for the looping buffer.
    WaveOut* open() {
        WaveOut* d = nullptr;
        const WaveFormat f = stereo16(44100);
        return wave_out_open(&d, &f) == MMSYSERR_NOERROR ? d : nullptr;
    }

    std::vector<uint8_t> buffer = std::vector<uint8_t>(block_bytes * blocks, 0);
    WaveHeader header{buffer.data(), uint32_t(buffer.size()), WHDR_BEGINLOOP | WHDR_ENDLOOP, 0xFFFFFFFFu};
};

TEST_F(SdlWave, RefusesWhatItCannotPlayWithTheWaveErrorCodes) {
    WaveOut* d = nullptr;
    WaveFormat mono = stereo16(44100);
    mono.channels = 1;
    EXPECT_EQ(wave_out_open(&d, &mono), WAVERR_BADFORMAT);
    WaveFormat eight = stereo16(44100);
    eight.bits_per_sample = 8;
    EXPECT_EQ(wave_out_open(&d, &eight), WAVERR_BADFORMAT);
    EXPECT_EQ(wave_out_write(nullptr, nullptr), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(wave_out_close(nullptr), MMSYSERR_INVALHANDLE);
}

TEST_F(SdlWave, PlaysPausesAndResetsInTheCallersFormat) {
    WaveOut* d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(wave_out_prepare_header(d, &header), MMSYSERR_NOERROR);
    EXPECT_EQ(position(d), 0u);
    ASSERT_EQ(wave_out_write(d, &header), MMSYSERR_NOERROR);
    ASSERT_TRUE(wait_for(d, 2 * block_bytes)) << "the dummy device does not play";
    EXPECT_EQ(position(d) % 4, 0u);  // whole stereo frames of 4 bytes

    ASSERT_EQ(wave_out_pause(d), MMSYSERR_NOERROR);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // a callback in flight ends
    const uint32_t held = position(d);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(position(d), held);
    ASSERT_EQ(wave_out_restart(d), MMSYSERR_NOERROR);
    EXPECT_TRUE(wait_for(d, held + block_bytes));

    ASSERT_EQ(wave_out_reset(d), MMSYSERR_NOERROR);
    EXPECT_EQ(position(d), 0u);
    EXPECT_EQ(wave_out_unprepare_header(d, &header), MMSYSERR_NOERROR);
    EXPECT_EQ(wave_out_close(d), MMSYSERR_NOERROR);
}

TEST_F(SdlWave, ABlockRewrittenBehindThePositionIsOrderedWithTheAudioThread) {
    WaveOut* d = open();
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(wave_out_write(d, &header), MMSYSERR_NOERROR);
    // As the streaming thread does: rewrite every block the position has
    // passed, then look at the position again.
    uint32_t written = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    while (std::chrono::steady_clock::now() < end) {
        const uint32_t played = position(d) / block_bytes;
        while (written < played) {
            uint8_t* block = buffer.data() + (written % blocks) * block_bytes;
            for (uint32_t i = 0; i < block_bytes; ++i) block[i] = uint8_t(written + i);
            ++written;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(written, 0u);
    EXPECT_EQ(wave_out_reset(d), MMSYSERR_NOERROR);
    EXPECT_EQ(wave_out_close(d), MMSYSERR_NOERROR);
}

}  // namespace
