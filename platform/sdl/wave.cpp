// wave.cpp: the wave-output device on SDL2 audio. The device plays the
// caller's one looping buffer (44,100 Hz, 16-bit signed, stereo): SDL's audio
// thread copies from it at the play position and advances the position, which
// counts every byte consumed since the write. Pausing stops the copying, so
// the position holds; a reset stops playback and puts the position back to 0.
//
// The caller writes a part of the buffer only after the position has passed
// it, and SDL's audio thread reads the buffer concurrently, so both directions
// are ordered by release/acquire pairs:
// - the audio thread's read of a part happens before the caller's rewrite:
//   the feed stores the advanced position with release, and the position
//   query loads it with acquire;
// - the caller's writes happen before the audio thread's later read: every
//   position query (and the write of the header) adds to `published` with
//   release, and the feed loads `published` with acquire before it copies,
//   so everything the caller wrote before any query the feed has seen is
//   visible to it. The caller rewrites a part many queries before the play
//   position comes round to it again.
//
// The device is opened with no changes allowed: SDL converts from exactly the
// asked format (44,100 Hz or whatever rate the caller gives, 16-bit signed,
// stereo) to whatever the sound card takes, so the feed always copies bytes
// in the caller's format and the position counts them.
#include <SDL.h>

#include <atomic>

#include "platform/wave.h"

namespace platform {

struct WaveOut {
    SDL_AudioDeviceID id;
    std::atomic<uint32_t> position;
    std::atomic<uint32_t> published;  // see the top of the file
    std::atomic<WaveHeader*> header;
};

namespace {
void SDLCALL feed(void* user, Uint8* out, int len) {
    WaveOut* d = static_cast<WaveOut*>(user);
    d->published.load(std::memory_order_acquire);
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
    if (!out || !f) return MMSYSERR_ERROR;
    if (f->format_tag != 1 || f->channels != 2 || f->bits_per_sample != 16 || f->samples_per_sec == 0)
        return WAVERR_BADFORMAT;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return MMSYSERR_ERROR;
    WaveOut* d = new WaveOut();
    SDL_AudioSpec want{}, have{};
    want.freq = int(f->samples_per_sec);
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;
    want.callback = feed;
    want.userdata = d;
    const int no_changes = 0;  // SDL converts to the card's format itself
    d->id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, no_changes);
    if (d->id != 0 && (have.freq != want.freq || have.format != want.format || have.channels != want.channels)) {
        SDL_CloseAudioDevice(d->id);  // cannot happen with no changes allowed; never play the wrong format
        d->id = 0;
    }
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
    d->published.fetch_add(1, std::memory_order_release);
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
    d->published.fetch_add(1, std::memory_order_release);
    t->type = TIME_BYTES;
    t->bytes = d->position.load(std::memory_order_acquire);
    return MMSYSERR_NOERROR;
}

}  // namespace platform
