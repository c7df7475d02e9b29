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
//
// SDL's device stays open from the first wave_out_open to the end of the
// process: closing the wave device only pauses it, and the next open takes it
// up again (or, for another rate, opens it anew). Closing and opening SDL's
// device waits for its audio thread and
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

#include "platform/sdl/hooks.h"
#include "platform/wave.h"

namespace platform {

struct WaveOut {
    SDL_AudioDeviceID id;  // 0: no device to play on
    std::atomic<uint32_t> position;
    std::atomic<uint32_t> published;  // see the top of the file
    std::atomic<WaveHeader*> header;
    bool open;     // between wave_out_open and wave_out_close
    bool playing;  // written, and neither paused nor reset
    uint32_t rate;  // of SDL's device
};

namespace {
constexpr uint32_t MMSYSERR_ALLOCATED = 4;  // the device is open already

WaveOut device;  // one per process; SDL's callback always has this one

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

void close_at_exit() {
    if (device.id) SDL_CloseAudioDevice(device.id);
    device.id = 0;
}

// Opens SDL's default device for `device` at `rate`, paused; false when
// there is none.
bool open_sdl_device(uint32_t rate) {
    static bool started = false;
    if (!started) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        std::atexit(close_at_exit);
        started = true;
    }
    SDL_AudioSpec want{}, have{};
    want.freq = int(rate);
    want.format = AUDIO_S16LSB;
    want.channels = 2;
    want.samples = 1024;
    want.callback = feed;
    want.userdata = &device;
    const int no_changes = 0;  // SDL converts to the card's format itself
    device.id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, no_changes);
    if (device.id != 0 && (have.freq != want.freq || have.format != want.format || have.channels != want.channels)) {
        SDL_CloseAudioDevice(device.id);  // cannot happen with no changes allowed; never play the wrong format
        device.id = 0;
    }
    device.rate = rate;
    return device.id != 0;
}

void pause_sdl(bool pause) {
    if (device.id) SDL_PauseAudioDevice(device.id, pause ? 1 : 0);
}
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    if (!out || !f) return MMSYSERR_ERROR;
    if (f->format_tag != 1 || f->channels != 2 || f->bits_per_sample != 16 || f->samples_per_sec == 0)
        return WAVERR_BADFORMAT;
    if (device.open) return MMSYSERR_ALLOCATED;
    if (device.id && device.rate != f->samples_per_sec) {
        SDL_CloseAudioDevice(device.id);
        device.id = 0;
    }
    if (!device.id && !open_sdl_device(f->samples_per_sec)) return MMSYSERR_ERROR;
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
    d->published.fetch_add(1, std::memory_order_release);
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
    d->published.fetch_add(1, std::memory_order_release);
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
    if (open_sdl_device(device.rate) && device.playing) pause_sdl(false);
}

uint32_t wave_device_id() { return device.id; }

}  // namespace sdl
}  // namespace platform
