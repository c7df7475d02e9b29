// wave.cpp: the scripted wave-output device. It plays only when the test says
// so (script::wave_consume), which copies bytes from the looping buffer at the
// play position into the captured sound and advances the position, as a sound
// card would. The position is an atomic, read by the player's thread.
//
// The calls made from the caller's thread go to the call log ("waveOutWrite"
// with the buffer's length, flags, loop count and a hash of its bytes at the
// moment of the write). Position queries come from the player's thread: they
// are only counted (script::wave_position_queries), so a test can wait until
// the thread has looked at the position again after a render.
#include <atomic>
#include <mutex>

#include "platform/scripted/scripted_state.h"
#include "platform/wave.h"

namespace platform {

struct WaveOut {
    std::atomic<uint32_t> position{0};
    std::atomic<uint32_t> published{0};  // orders buffer writes before later reads, as on SDL
    WaveHeader* header = nullptr;
    bool playing = false;
    bool paused = false;
};

namespace {
std::atomic<uint32_t> position_queries{0};
std::mutex device_lock;
WaveOut* device = nullptr;
std::vector<uint8_t> captured;
}  // namespace

using script::Call;
using script::detail::failing;
using script::detail::record;

namespace {
// FNV-1a over the buffer, for the log of a write.
int64_t hash_bytes(const uint8_t* data, uint32_t length) {
    uint64_t h = 14695981039346656037ull;
    for (uint32_t i = 0; i < length; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return int64_t(h);
}
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    record("waveOutOpen", f->samples_per_sec, f->channels, f->bits_per_sample, f->block_align);
    std::lock_guard<std::mutex> g(device_lock);
    if (failing(Call::WaveOutOpen) || device) return MMSYSERR_ERROR;
    if (f->format_tag != 1 || f->channels != 2 || f->samples_per_sec != 44100 || f->bits_per_sample != 16)
        return WAVERR_BADFORMAT;
    device = new WaveOut();
    *out = device;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_prepare_header(WaveOut* d, WaveHeader*) {
    record("waveOutPrepareHeader");
    return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

uint32_t wave_out_write(WaveOut* d, WaveHeader* header) {
    if (header)
        record("waveOutWrite", header->length, header->flags, header->loops, hash_bytes(header->data, header->length));
    std::lock_guard<std::mutex> g(device_lock);
    if (!d) return MMSYSERR_INVALHANDLE;
    d->header = header;
    d->playing = true;
    d->published.fetch_add(1, std::memory_order_release);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_pause(WaveOut* d) {
    record("waveOutPause");
    std::lock_guard<std::mutex> g(device_lock);
    if (!d) return MMSYSERR_INVALHANDLE;
    d->paused = true;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_restart(WaveOut* d) {
    record("waveOutRestart");
    std::lock_guard<std::mutex> g(device_lock);
    if (!d) return MMSYSERR_INVALHANDLE;
    d->paused = false;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_reset(WaveOut* d) {
    record("waveOutReset");
    std::lock_guard<std::mutex> g(device_lock);
    if (!d) return MMSYSERR_INVALHANDLE;
    d->playing = false;
    d->header = nullptr;
    d->position.store(0, std::memory_order_release);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_unprepare_header(WaveOut* d, WaveHeader*) {
    record("waveOutUnprepareHeader");
    return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

uint32_t wave_out_close(WaveOut* d) {
    record("waveOutClose");
    std::lock_guard<std::mutex> g(device_lock);
    if (!d || d != device) return MMSYSERR_INVALHANDLE;
    delete device;
    device = nullptr;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_get_position(WaveOut* d, MMTime* time) {
    position_queries.fetch_add(1);
    if (!d || !time) return MMSYSERR_INVALHANDLE;
    d->published.fetch_add(1, std::memory_order_release);
    time->type = TIME_BYTES;
    time->bytes = d->position.load(std::memory_order_acquire);
    return MMSYSERR_NOERROR;
}

namespace script {

uint32_t wave_consume(uint32_t bytes) {
    std::lock_guard<std::mutex> g(device_lock);
    if (!device || !device->playing || device->paused || !device->header || device->header->length == 0) return 0;
    device->published.load(std::memory_order_acquire);
    const WaveHeader* h = device->header;
    uint32_t pos = device->position.load(std::memory_order_relaxed);
    for (uint32_t i = 0; i < bytes; ++i) captured.push_back(h->data[(pos + i) % h->length]);
    device->position.store(pos + bytes, std::memory_order_release);
    return bytes;
}

const std::vector<uint8_t>& wave_captured() { return captured; }
void wave_clear_captured() { captured.clear(); }
bool wave_open() {
    std::lock_guard<std::mutex> g(device_lock);
    return device != nullptr;
}
bool wave_paused() {
    std::lock_guard<std::mutex> g(device_lock);
    return device && device->paused;
}
uint32_t wave_position_queries() { return position_queries.load(); }

int64_t wave_hash(const uint8_t* data, uint32_t length) { return hash_bytes(data, length); }

uint32_t wave_position() {
    std::lock_guard<std::mutex> g(device_lock);
    return device ? device->position.load() : 0;
}

}  // namespace script
}  // namespace platform
