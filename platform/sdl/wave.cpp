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
#include <SDL.h>

#include <atomic>

#include "platform/platform.h"
#include "platform/sdl/hooks.h"

namespace platform {

struct WaveOut {
    SDL_AudioDeviceID id;
    std::atomic<uint32_t> position;
    std::atomic<uint32_t> sync;
    std::atomic<WaveHeader*> header;
};

namespace {
enum : uint32_t { MMSYSERR_NOERROR = 0, MMSYSERR_ERROR = 1, MMSYSERR_INVALHANDLE = 5, WAVERR_BADFORMAT = 32 };

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
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    if (f->format_tag != 1 || f->channels != 2 || f->bits_per_sample != 16) return WAVERR_BADFORMAT;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return MMSYSERR_ERROR;
    WaveOut* d = new WaveOut();
    SDL_AudioSpec want{}, have{};
    want.freq = int(f->samples_per_sec);
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;
    want.callback = feed;
    want.userdata = d;
    d->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (d->id == 0) {
        delete d;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return MMSYSERR_ERROR;
    }
    *out = d;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_prepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_write(WaveOut* d, WaveHeader* h) {
    if (!d) return MMSYSERR_INVALHANDLE;
    d->sync.fetch_add(1, std::memory_order_acq_rel);
    d->header.store(h, std::memory_order_release);
    SDL_PauseAudioDevice(d->id, 0);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_pause(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    SDL_PauseAudioDevice(d->id, 1);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_restart(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    if (d->header.load()) SDL_PauseAudioDevice(d->id, 0);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_reset(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    SDL_PauseAudioDevice(d->id, 1);
    SDL_LockAudioDevice(d->id);
    d->header.store(nullptr);
    d->position.store(0);
    SDL_UnlockAudioDevice(d->id);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_unprepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_close(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    SDL_CloseAudioDevice(d->id);
    delete d;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
void wave_device_removed(uint32_t) {}
}  // namespace sdl

}  // namespace platform
