// wave.cpp: the wave-output device on SDL2 audio. The device plays the
// caller's one looping buffer (44,100 Hz, 16-bit signed, stereo): SDL's audio
// thread copies from it at the play position and advances the position, which
// counts every byte consumed since the write. Pausing stops the copying, so
// the position holds; a reset stops playback and puts the position back to 0.
//
// The position is an atomic shared with the player's thread. The player writes
// a block of the buffer only after the position has passed it, and each
// position query is a release that the audio thread acquires before copying,
// so the buffer's bytes are never read and written unordered.
//
// SDL's device stays open from the first wave_out_open to the end of the
// process: closing the wave device only pauses it, and the next open takes it
// up again. Closing and opening SDL's device waits for its audio thread and
// the sound server (tens of milliseconds), which would stall the frame in
// which the music is switched back on.
//
// A device that goes away (a headset unplugged: SDL_AUDIODEVICEREMOVED,
// pumped with the window's events) is replaced by the new default device,
// which carries on at the same position; when there is none the position
// simply stops, the player renders nothing more, and the next start tries to
// open a device again.
#include <SDL.h>

#include <atomic>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/sdl/hooks.h"

namespace platform {

struct WaveOut {
    SDL_AudioDeviceID id;  // 0: no device to play on
    std::atomic<uint32_t> position;
    std::atomic<uint32_t> sync;
    std::atomic<WaveHeader*> header;
    bool open;     // between wave_out_open and wave_out_close
    bool playing;  // written, and neither paused nor reset
};

namespace {
enum : uint32_t {
    MMSYSERR_NOERROR = 0,
    MMSYSERR_ERROR = 1,
    MMSYSERR_ALLOCATED = 4,
    MMSYSERR_INVALHANDLE = 5,
    WAVERR_BADFORMAT = 32
};

WaveOut device;  // one per process; SDL's callback always has this one

void SDLCALL feed(void* user, Uint8* out, int len) {
    WaveOut* d = static_cast<WaveOut*>(user);
    d->sync.load(std::memory_order_acquire);
    WaveHeader* h = d->header.load(std::memory_order_acquire);
    if (!h || !h->data || h->length == 0) {
        SDL_memset(out, 0, size_t(len));
        return;
    }
    uint32_t pos = d->position.load(std::memory_order_relaxed);
    uint32_t at = pos % h->length;
    int done = 0;
    while (done < len) {
        uint32_t run = h->length - at;
        if (run > uint32_t(len - done)) run = uint32_t(len - done);
        SDL_memcpy(out + done, h->data + at, run);
        done += int(run);
        at = (at + run) % h->length;
    }
    d->position.store(pos + uint32_t(len), std::memory_order_release);
}

void close_at_exit() {
    if (device.id) SDL_CloseAudioDevice(device.id);
    device.id = 0;
}

// Opens SDL's default device for `device`, paused; false when there is none.
bool open_sdl_device() {
    static bool started = false;
    if (!started) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        std::atexit(close_at_exit);
        started = true;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = 44100;
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;
    want.callback = feed;
    want.userdata = &device;
    device.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    return device.id != 0;
}

void pause_sdl(bool pause) {
    if (device.id) SDL_PauseAudioDevice(device.id, pause ? 1 : 0);
}
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    if (f->format_tag != 1 || f->channels != 2 || f->bits_per_sample != 16 || f->samples_per_sec != 44100)
        return WAVERR_BADFORMAT;
    if (device.open) return MMSYSERR_ALLOCATED;
    if (!device.id && !open_sdl_device()) return MMSYSERR_ERROR;
    device.header.store(nullptr);
    device.position.store(0);
    device.open = true;
    device.playing = false;
    *out = &device;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_prepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_write(WaveOut* d, WaveHeader* h) {
    if (!d) return MMSYSERR_INVALHANDLE;
    d->sync.fetch_add(1, std::memory_order_acq_rel);
    d->header.store(h, std::memory_order_release);
    d->playing = true;
    pause_sdl(false);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_pause(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    d->playing = false;
    pause_sdl(true);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_restart(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    if (d->header.load()) {
        d->playing = true;
        pause_sdl(false);
    }
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_reset(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    d->playing = false;
    pause_sdl(true);
    if (d->id) SDL_LockAudioDevice(d->id);
    d->header.store(nullptr);
    d->position.store(0);
    if (d->id) SDL_UnlockAudioDevice(d->id);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_unprepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_close(WaveOut* d) {
    if (!d || !d->open) return MMSYSERR_INVALHANDLE;
    // SDL's device stays open, paused and fed silence, for the next start.
    wave_out_reset(d);
    d->open = false;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_get_position(WaveOut* d, MMTime* t) {
    if (!d || !t) return MMSYSERR_INVALHANDLE;
    d->sync.fetch_add(1, std::memory_order_acq_rel);
    t->type = TIME_BYTES;
    t->bytes = d->position.load(std::memory_order_acquire);
    return MMSYSERR_NOERROR;
}

namespace sdl {

void wave_device_removed(uint32_t device_id) {
    if (!device.id || device.id != device_id) return;
    SDL_CloseAudioDevice(device.id);
    device.id = 0;
    // The new default device, if any, carries on where the old one stopped.
    if (open_sdl_device() && device.playing) pause_sdl(false);
}

uint32_t wave_device_id() { return device.id; }

}  // namespace sdl
}  // namespace platform
