// wave.h: wave output: one looping buffer of 16-bit signed stereo PCM at
// 44,100 Hz, played from the caller's memory (wave_out_*), with the format,
// buffer header, position record and error codes of the desktop platform.
// The position query is safe from any thread; the others are made from the
// thread that opened the device.
#pragma once
#include <cstdint>

namespace platform {

struct WaveOut;

struct WaveFormat {
    uint16_t format_tag;  // 1 = PCM
    uint16_t channels;
    uint32_t samples_per_sec;
    uint32_t avg_bytes_per_sec;
    uint16_t block_align;
    uint16_t bits_per_sample;
};

struct WaveHeader {
    uint8_t* data;
    uint32_t length;  // bytes
    uint32_t flags;
    uint32_t loops;
};

enum : uint32_t { WHDR_BEGINLOOP = 0x04, WHDR_ENDLOOP = 0x08 };
enum : uint32_t { TIME_BYTES = 4 };

struct MMTime {
    uint32_t type;  // TIME_BYTES
    uint32_t bytes;
};

// Results follow the wave-output convention: 0 is success, non-zero an error.
enum : uint32_t { MMSYSERR_NOERROR = 0, MMSYSERR_ERROR = 1, MMSYSERR_INVALHANDLE = 5, WAVERR_BADFORMAT = 32 };

uint32_t wave_out_open(WaveOut** out, const WaveFormat* format);
uint32_t wave_out_prepare_header(WaveOut* device, WaveHeader* header);
uint32_t wave_out_write(WaveOut* device, WaveHeader* header);
uint32_t wave_out_pause(WaveOut* device);
uint32_t wave_out_restart(WaveOut* device);
uint32_t wave_out_reset(WaveOut* device);
uint32_t wave_out_unprepare_header(WaveOut* device, WaveHeader* header);
uint32_t wave_out_close(WaveOut* device);
// Bytes the device has consumed since the write (or the last reset); safe to
// call from any thread.
uint32_t wave_out_get_position(WaveOut* device, MMTime* time);

}  // namespace platform
