// wav.h: writing a 44,100 Hz 16-bit stereo PCM WAV file whose length is
// known before the first sample, so the header is right from the start.
//
//   cli::WavFile w;
//   if (!cli::wav_open(&w, "out.wav", frames, &error)) fail;
//   cli::wav_write(&w, bytes, count);          // as often as needed
//   if (!cli::wav_close(&w, &error)) fail;     // and no file is left behind
//
// A regular file (or a new one) is written under a temporary name in the
// same directory and renamed into place only when every byte, the flush and
// the close have succeeded; any failure removes it, so an OUT.wav that
// exists after a failed render is the one that was there before. A path that
// names an existing non-regular file (/dev/null, a pipe) is written directly.
// Errors name the file and the system's reason. The samples go out in
// writes of wav_buffer_bytes (a four-minute song in about forty).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {

constexpr size_t wav_header_bytes = 44;
constexpr size_t wav_buffer_bytes = size_t(1) << 20;
// Frames a WAV file's 32-bit sizes can count.
constexpr int64_t wav_max_frames = (int64_t(0xFFFFFFFF) - 36) / 4;

struct WavFile {
    std::FILE* file = nullptr;
    std::string path;       // where the WAV ends up
    std::string temporary;  // written first; empty when writing directly
    int error = 0;          // errno of the first failed write, 0 while all is well
    uint64_t written = 0;   // bytes after the header
    uint64_t expected = 0;  // data bytes the header announces
    std::vector<char> buffer;  // the stream's buffer, wav_buffer_bytes
};

// The 44-byte header for this many frames.
void wav_header(uint8_t out[wav_header_bytes], uint32_t frames);
int32_t wav_open(WavFile* w, const std::string& path, int64_t frames, std::string* error);
// Appends sample bytes; after a failure it does nothing (wav_close reports it).
void wav_write(WavFile* w, const void* bytes, size_t count);
// Finishes the file; 0 with *error set (and the temporary removed) on any
// failure, also when fewer bytes were written than the header announced.
int32_t wav_close(WavFile* w, std::string* error);
// Gives up: closes and removes the temporary.
void wav_abort(WavFile* w);

}  // namespace cli
