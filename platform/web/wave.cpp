// wave.cpp: the wave-output device on Web Audio. The page's audio node (an
// AudioWorklet, or a script processor where the browser has no worklet) takes
// the caller's one looping buffer at the play position, chunk by chunk, as
// its output needs them, and the position counts every byte taken since the
// write (page/quillon-web.js). The page and the player's thread share one
// JavaScript thread, so a chunk is always read between two of the thread's
// steps, never during one. Pausing stops the taking (the position holds) and
// drops what the node has queued, so the music stops at once; a reset also
// puts the position back to 0.
//
// The device opens only when the page has an audio context, started on the
// answer to the question; without Web Audio it fails and the issue plays
// silently, as with no sound card.
#include <emscripten.h>

#include "platform/wave.h"

// clang-format off
EM_ASYNC_JS(int, web_audio_open, (), { return await QuillonWeb.audioOpen(); });
EM_JS(void, web_audio_write, (const uint8_t* data, uint32_t length), { QuillonWeb.audioWrite(data, length); });
EM_JS(void, web_audio_run, (int run), { QuillonWeb.audioRun(!!run); });
EM_JS(void, web_audio_reset, (), { QuillonWeb.audioReset(); });
EM_JS(void, web_audio_close, (), { QuillonWeb.audioClose(); });
EM_JS(uint32_t, web_audio_position, (), { return QuillonWeb.audioPosition() >>> 0; });
// clang-format on

namespace platform {

struct WaveOut {
    bool written;
};

namespace {
WaveOut device;
bool device_open = false;
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    if (f->format_tag != 1 || f->channels != 2 || f->bits_per_sample != 16 || f->samples_per_sec != 44100)
        return WAVERR_BADFORMAT;
    if (device_open || !web_audio_open()) return MMSYSERR_ERROR;
    device = WaveOut{false};
    device_open = true;
    *out = &device;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_prepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_write(WaveOut* d, WaveHeader* h) {
    if (!d || !h) return MMSYSERR_INVALHANDLE;
    d->written = true;
    web_audio_write(h->data, h->length);
    web_audio_run(1);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_pause(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    web_audio_run(0);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_restart(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    if (d->written) web_audio_run(1);
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_reset(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    d->written = false;
    web_audio_reset();
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_unprepare_header(WaveOut* d, WaveHeader*) { return d ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

uint32_t wave_out_close(WaveOut* d) {
    if (!d) return MMSYSERR_INVALHANDLE;
    web_audio_close();
    device_open = false;
    return MMSYSERR_NOERROR;
}

uint32_t wave_out_get_position(WaveOut* d, MMTime* t) {
    if (!d || !t) return MMSYSERR_INVALHANDLE;
    t->type = TIME_BYTES;
    t->bytes = web_audio_position();
    return MMSYSERR_NOERROR;
}

}  // namespace platform
