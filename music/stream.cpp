// stream.cpp: the stop sequence and the streaming thread.
//
// Threads: the caller's thread starts and stops; stream_thread renders
// every block after the first 16. Nothing is locked: the thread polls
// stop_flag after every 5 ms sleep, and the stop sequence waits for it to
// end before it touches the device or the heap. Between a start and the
// next stop the song, channel and voice records are the thread's alone.
#include <cstring>

#include "music/mixer.h"
#include "music/state.h"
#include "music/stream.h"
#include "platform/heap.h"
#include "platform/threads.h"
#include "platform/wave.h"

namespace music {

namespace {
constexpr uint32_t block_bytes = block_frames * 4;
constexpr uint32_t sleep_between_checks_ms = 5;
}  // namespace

int32_t player_stop() {
    if (platform::Thread* t = stream.thread) {
        stream.thread = nullptr;
        stream.stop_flag.store(1);
        platform::thread_wait(t);
        platform::thread_close(t);
    }
    stream.info_index.store(0);
    for (InfoEntry& e : stream.info_ring) {
        e.levels.store(0);
        e.time.store(0);
    }
    std::memset(song_title, 0, sizeof song_title);
    stream.block_index.store(0);
    if (stream.device) {
        platform::wave_out_reset(stream.device);
        platform::wave_out_unprepare_header(stream.device, &stream.header);
        platform::wave_out_close(stream.device);
        stream.device = nullptr;
    }
    if (stream.heap) {
        platform::heap_destroy(stream.heap);
        stream.heap = nullptr;
    }
    return 0;
}

void stream_thread() {
    for (;;) {
        platform::MMTime time{platform::TIME_BYTES, 0};
        platform::wave_out_get_position(stream.device, &time);
        const int32_t playing = int32_t((time.bytes / block_bytes) & (block_count - 1));
        for (;;) {
            platform::sleep_ms(sleep_between_checks_ms);
            if (stream.stop_flag.load() != 0) return;
            if (stream.block_index.load(std::memory_order_relaxed) == playing) break;  // read the position again
            stream.info_index.store((stream.info_index.load() + 1) & (block_count - 1));
            fill_block();
        }
    }
}

}  // namespace music
