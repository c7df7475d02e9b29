// state.h: the player's global records: the song state, the 32 channel
// records, the 64 voices (the seam between the replayer and the mixer) and
// the streaming state. Each lives once, in state.cpp.
//
// Threads: the caller's thread starts and stops the player; between a start
// and the next stop only the player's thread touches song, channels and
// voices. The fields of StreamState that both threads use are atomics.
#pragma once
#include <atomic>
#include <cstdint>

#include "music/module.h"
#include "platform/heap.h"
#include "platform/threads.h"
#include "platform/wave.h"

namespace music {

constexpr int32_t output_rate = 44100;
constexpr int32_t block_frames = 1024;
constexpr int32_t block_count = 16;
constexpr int32_t max_channels = 32;
constexpr int32_t voice_count = 64;
// The master volume divisor of full volume (gain 16 / divisor).
constexpr int32_t unity_divisor = 16;

// The module header's fields that stay in use, and the play state.
struct SongState {
    PatternSlot* pattern_table;
    Instrument* instruments;
    int32_t samples_left;  // output frames left in the current tick
    int32_t global_volume;  // 0..64
    int32_t tick;           // tick within the row; 0 is the row's first
    int32_t speed;          // ticks per row
    int32_t order;
    int32_t row;
    int32_t delay_ticks;    // extra ticks of the current row (pattern delay)
    int32_t next_order;     // -1: keep
    int32_t next_row;       // -1: none set
    int32_t elapsed_ms;
    int32_t channels;       // 0..32
    uint8_t global_slide_memory;
    int32_t samples_per_tick;
    uint32_t header_size;   // the first pattern starts at 60 + header_size
    uint16_t song_length, restart, pattern_slots, instrument_count, flags, default_speed, default_bpm;
    uint8_t order_table[256];
};

// Channel flags: this tick's work for update_voice.
enum : uint8_t { flag_pitch = 0x01, flag_volume = 0x02, flag_panning = 0x04, flag_trigger = 0x08, flag_restart = 0x10 };

struct Voice;

struct ChannelState {
    uint8_t note;
    uint8_t flags;
    uint8_t instrument;
    Voice* voice;
    int32_t period;
    int32_t volume;
    int32_t volume_offset;
    int32_t pitch_offset;
    int32_t panning;
    int32_t vol_env_tick;
    int32_t vol_env_point;
    int32_t vol_env_slope;
    int32_t pan_env_point;
    int32_t pan_env_tick;
    int32_t pan_env_slope;
    int32_t autovib_sweep;
    int32_t autovib_pos;
    uint8_t released;
    uint8_t vol_env_done;
    uint8_t pan_env_done;
    uint8_t tremor_count;
    int32_t vol_env_fixed;
    int32_t vol_env_value;
    int32_t pan_env_fixed;
    int32_t pan_env_value;
    int32_t fadeout_volume;
    int32_t note_period;
    uint32_t sample_offset;
    int32_t porta_target;
    int32_t loop_row;
    int32_t loop_count;
    uint8_t real_note;
    uint8_t last_effect;
    uint8_t porta_down_memory, porta_up_memory;
    uint8_t xfine_down_memory, xfine_up_memory;
    uint8_t vol_slide_memory;
    uint8_t pan_slide_memory;
    uint8_t retrig_volume, retrig_interval;
    uint8_t porta_speed;
    int8_t vib_pos;
    uint8_t vib_speed, vib_depth;
    int8_t trem_pos;
    uint8_t trem_speed, trem_depth;
    uint8_t tremor_on, tremor_off;
    uint8_t wave_control;
    int8_t fine_vol_memory;
    uint8_t fine_up_memory, fine_down_memory;
};

struct Voice {
    int32_t index;
    int32_t volume;        // final volume 0..128
    int32_t panning;       // final panning 0..255
    int32_t start_offset;  // frames; where the next trigger starts
    int32_t gain_right;
    int32_t gain_left;
    int32_t position;
    uint32_t step_fraction;
    int32_t step_integer;
    int32_t mix_target_right, mix_target_left;
    float ramp_step_right, ramp_step_left;
    SampleRecord* sample;  // null: silent
    uint32_t position_fraction;
    int32_t direction;     // ping-pong: 0 forwards, non-zero backwards
    int32_t ramp_gain_right, ramp_gain_left;
    int32_t ramp_left;     // frames left in the current gain ramp
};

struct InfoEntry {
    std::atomic<int32_t> levels;  // high 16 bits left, low 16 right
    std::atomic<int32_t> time;    // elapsed song time in ms
};

struct StreamState {
    platform::WaveOut* device;
    platform::WaveHeader header;
    alignas(64) uint8_t wave_buffer[block_count * block_frames * 4];
    alignas(64) float mix_buffer[block_count * block_frames * 2];
    // The next block to render. Stored (release) at the end of every render,
    // so a thread that sees the new value also sees the block's bytes.
    std::atomic<int32_t> block_index;
    std::atomic<int32_t> info_index;
    InfoEntry info_ring[block_count];
    platform::Thread* thread;
    std::atomic<int32_t> stop_flag;
    platform::Heap* heap;  // every pattern, instrument and sample of the module
    std::atomic<int32_t> volume_divisor;  // 0: never set; the next start makes it 16
};

extern SongState song;
extern ChannelState channels[max_channels];
extern Voice voices[voice_count];
extern StreamState stream;
// The playing module's title: printable characters, zero-terminated.
extern char song_title[21];

}  // namespace music
