// player.cpp: the player's interface (player.h): start, pause, resume, the
// master volume and the getters.
//
// A start stops whatever plays, chooses the source, opens the wave device
// (44,100 Hz, 16-bit, stereo), creates the private heap, loads the module,
// sets the song to its start, renders all 16 blocks of the looping 64 KiB
// buffer on the caller's thread, hands the buffer to the device and starts
// stream_thread, raised to time-critical priority where the system allows.
// Any failure on the way runs the stop sequence and returns 0.
#include "music/loader.h"
#include "music/mixer.h"
#include "music/player.h"
#include "music/replayer.h"
#include "music/state.h"
#include "music/stream.h"
#include "platform/heap.h"
#include "platform/threads.h"
#include "platform/wave.h"

namespace music {

namespace {
constexpr int32_t mute_divisor = 0x7FFFFFD0;
constexpr platform::WaveFormat wave_format = {1, 2, output_rate, output_rate * 4, 4, 16};
}  // namespace

int32_t song_setup(const void* data) {
    for (Voice& v : voices) v = Voice{};
    for (ChannelState& c : channels) c = ChannelState{};
    stream.heap = platform::heap_create();
    if (!stream.heap) return 0;
    if (!module_load(data)) return 0;
    if (stream.volume_divisor.load() == 0) stream.volume_divisor.store(unity_divisor);
    replayer_reset();  // voice indexes and steps, song start values, set_bpm(default_bpm)
    return 1;
}

int32_t player_start(const void* data, int32_t size, int32_t kind) {
    player_stop();
    if (!data) return 0;
    source_select(kind, size);
    stream.device = nullptr;
    if (platform::wave_out_open(&stream.device, &wave_format) != 0) {
        stream.device = nullptr;
        return 0;
    }
    if (!song_setup(data)) return player_stop();

    stream.header = platform::WaveHeader{stream.wave_buffer, uint32_t(sizeof stream.wave_buffer),
                                         platform::WHDR_BEGINLOOP | platform::WHDR_ENDLOOP, 0xFFFFFFFFu};
    platform::wave_out_prepare_header(stream.device, &stream.header);
    for (int32_t k = 0; k < block_count; ++k) fill_block();  // block_index comes back to 0
    stream.stop_flag.store(0);
    platform::wave_out_write(stream.device, &stream.header);

    stream.thread = platform::thread_create(stream_thread);
    if (!stream.thread) return player_stop();
    platform::thread_set_priority_time_critical(stream.thread);  // refused: plays all the same
    return 1;
}

void player_pause() {
    if (stream.device) platform::wave_out_pause(stream.device);
}

void player_resume() {
    if (stream.device) platform::wave_out_restart(stream.device);
}

void player_set_volume(int32_t volume) {
    uint32_t v = uint32_t(volume);
    if (v > 64) v = 64;
    stream.volume_divisor.store(v == 0 ? mute_divisor : 80 - int32_t(v));
}

int32_t player_get_levels() { return stream.info_ring[stream.info_index.load() & (block_count - 1)].levels.load(); }

int32_t player_get_time() { return stream.info_ring[stream.info_index.load() & (block_count - 1)].time.load(); }

const char* player_get_title() { return song_title; }

}  // namespace music
