// wav.cpp: the WAV writer (wav.h).
#include "cli/common/wav.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/common/files.h"
#include "music/format.h"

namespace cli {

namespace {

void put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

std::string failure(const WavFile& w, const char* what, int err) {
    return "'" + w.path + "': " + what + ": " + std::strerror(err);
}

}  // namespace

void wav_header(uint8_t out[wav_header_bytes], uint32_t frames) {
    const uint32_t data = frames * 4;
    std::memcpy(out, "RIFF", 4);
    put32(out + 4, 36 + data);
    std::memcpy(out + 8, "WAVEfmt ", 8);
    put32(out + 16, 16);      // fmt chunk size
    put16(out + 20, 1);       // PCM
    put16(out + 22, 2);       // channels
    put32(out + 24, music::output_rate);                      // frames per second
    put32(out + 28, music::output_rate * music::frame_bytes);  // bytes per second
    put16(out + 32, music::frame_bytes);                      // bytes per frame
    put16(out + 34, 16);      // bits per sample
    std::memcpy(out + 36, "data", 4);
    put32(out + 40, data);
}

int32_t wav_open(WavFile* w, const std::string& path, int64_t frames, std::string* error) {
    *w = WavFile{};
    w->path = path;
    if (frames < 0 || frames > wav_max_frames) {
        *error = "'" + path + "': too long for a WAV file";
        return 0;
    }
    struct stat st{};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        *error = "'" + path + "': is a directory";
        return 0;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        w->file = std::fopen(path.c_str(), "wb");
        if (!w->file) {
            *error = failure(*w, "cannot open", errno);
            return 0;
        }
    } else {
        int err = 0;
        w->file = files_create_beside(path, exists, unsigned(st.st_mode), &w->temporary, &err);
        if (!w->file) {
            *error = failure(*w, "cannot create", err);
            return 0;
        }
    }
    // A buffer of our own: the C library's is a few KiB, one write each.
    w->buffer.resize(wav_buffer_bytes);
    (void)std::setvbuf(w->file, w->buffer.data(), _IOFBF, w->buffer.size());
    w->expected = uint64_t(frames) * 4;
    uint8_t header[wav_header_bytes];
    wav_header(header, uint32_t(frames));
    if (std::fwrite(header, 1, sizeof header, w->file) != sizeof header) w->error = errno ? errno : EIO;
    return 1;
}

void wav_write(WavFile* w, const void* bytes, size_t count) {
    if (!w->file || w->error) return;
    if (std::fwrite(bytes, 1, count, w->file) != count) {
        w->error = errno ? errno : EIO;
        return;
    }
    w->written += count;
}

int32_t wav_close(WavFile* w, std::string* error) {
    if (!w->file) {
        *error = "'" + w->path + "': not open";
        return 0;
    }
    int err = w->error;
    if (!err && std::fflush(w->file) != 0) err = errno ? errno : EIO;
    if (!err && !w->temporary.empty()) err = files_sync(w->file);
    if (std::fclose(w->file) != 0 && !err) err = errno ? errno : EIO;
    w->file = nullptr;
    if (!err && w->written != w->expected) err = EIO;
    if (!err && !w->temporary.empty()) err = files_replace(w->temporary, w->path);
    if (err) {
        if (!w->temporary.empty()) ::unlink(w->temporary.c_str());
        *error = failure(*w, "cannot write", err);
        return 0;
    }
    return 1;
}

void wav_abort(WavFile* w) {
    if (w->file) std::fclose(w->file);
    w->file = nullptr;
    if (!w->temporary.empty()) ::unlink(w->temporary.c_str());
}

}  // namespace cli
