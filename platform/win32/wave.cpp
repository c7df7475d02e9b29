// wave.cpp: wave output on WINMM's waveOut, on the default device
// (WAVE_MAPPER) with no callback. The player hands over one looping buffer;
// its header is copied once into the one WAVEHDR the device is given, which
// lives here from prepare to unprepare. The position is waveOutGetPosition's
// in bytes, which WINMM allows from any thread.
#ifdef _WIN32
#include "platform/win32/win32_state.h"
#include <mmsystem.h>


namespace platform {

namespace {
WAVEHDR header;
HWAVEOUT device_of(WaveOut* d) { return reinterpret_cast<HWAVEOUT>(d); }
}  // namespace

uint32_t wave_out_open(WaveOut** out, const WaveFormat* f) {
    WAVEFORMATEX wf{};
    wf.wFormatTag = f->format_tag;
    wf.nChannels = f->channels;
    wf.nSamplesPerSec = f->samples_per_sec;
    wf.nAvgBytesPerSec = f->avg_bytes_per_sec;
    wf.nBlockAlign = f->block_align;
    wf.wBitsPerSample = f->bits_per_sample;
    HWAVEOUT h = nullptr;
    const MMRESULT r = waveOutOpen(&h, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL);
    *out = r == MMSYSERR_NOERROR ? reinterpret_cast<WaveOut*>(h) : nullptr;
    return r;
}

uint32_t wave_out_prepare_header(WaveOut* d, WaveHeader* h) {
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(h->data);
    header.dwBufferLength = h->length;
    header.dwFlags = h->flags;
    header.dwLoops = h->loops;
    return waveOutPrepareHeader(device_of(d), &header, sizeof header);
}

uint32_t wave_out_write(WaveOut* d, WaveHeader*) { return waveOutWrite(device_of(d), &header, sizeof header); }
uint32_t wave_out_pause(WaveOut* d) { return waveOutPause(device_of(d)); }
uint32_t wave_out_restart(WaveOut* d) { return waveOutRestart(device_of(d)); }
uint32_t wave_out_reset(WaveOut* d) { return waveOutReset(device_of(d)); }

uint32_t wave_out_unprepare_header(WaveOut* d, WaveHeader*) {
    return waveOutUnprepareHeader(device_of(d), &header, sizeof header);
}

uint32_t wave_out_close(WaveOut* d) { return waveOutClose(device_of(d)); }

uint32_t wave_out_get_position(WaveOut* d, MMTime* t) {
    MMTIME mt{};
    mt.wType = TIME_BYTES;
    const MMRESULT r = waveOutGetPosition(device_of(d), &mt, sizeof mt);
    t->type = mt.wType;
    t->bytes = mt.u.cb;
    return r;
}

}  // namespace platform
#endif
