// pass.cpp: the pass rule (pass.h) on the player's replayer.
//
// The walk calls replayer_tick directly, as fill_block would at each tick
// boundary, and advances its own frame count by samples_left as the tick set
// it; nothing is mixed, and the row order, ticks and tempo do not depend on
// the voices, so the frames match a real render exactly.
//
// A played row is remembered by a 64-bit key: order (8 bits), row (16 bits)
// and a 40-bit hash of the 32 channels' loop counters (0 when none runs, so
// rows outside pattern loops compare exactly). The set is capped so that a
// song that never repeats cannot grow it past a few tens of MiB; rows past
// the cap are still compared, and the hard limit ends such a song.
#include "cli/common/pass.h"

#include <unordered_set>

#include "music/offline.h"
#include "music/replayer.h"
#include "music/state.h"

namespace cli {

namespace {

constexpr size_t remembered_rows_cap = size_t(1) << 20;

uint64_t loop_hash(const uint8_t counts[music::max_channels]) {
    uint64_t h = 0xcbf29ce484222325ull;
    bool any = false;
    for (int32_t k = 0; k < music::max_channels; ++k) {
        any = any || counts[k] != 0;
        h = (h ^ counts[k]) * 0x100000001b3ull;
    }
    if (!any) return 0;
    h &= (uint64_t(1) << 40) - 1;
    return h ? h : 1;
}

uint64_t row_key(int32_t order, int32_t row, const uint8_t counts[music::max_channels]) {
    return uint64_t(order & 0xFF) | uint64_t(row & 0xFFFF) << 8 | loop_hash(counts) << 24;
}

}  // namespace

int32_t pass_plan(const void* data, int32_t size, int32_t kind, const PassLimits& limits, PassPlan* out) {
    *out = PassPlan{};
    if (!music::offline_start(data, size, kind)) return 0;

    int64_t target = hard_limit_frames;
    if (limits.frames > 0 && limits.frames < target) target = limits.frames;
    std::unordered_set<uint64_t> played;
    int32_t previous_order = -1;
    int64_t frame = 0;
    bool ended = false;
    while (frame < target) {
        if (music::song.tick == 0) {
            uint8_t counts[music::max_channels];
            for (int32_t k = 0; k < music::max_channels; ++k) counts[k] = uint8_t(music::channels[k].loop_count);
            music::replayer_tick();
            const int32_t order = music::song.order, row = music::song.row;
            const uint64_t key = row_key(order, row, counts);
            const bool wrapped = previous_order > order && row == 0 && (order == 0 || order == music::song.restart);
            if (wrapped || played.count(key)) {
                out->passes += 1;
                if (limits.passes > 0 && out->passes >= limits.passes) {
                    ended = true;
                    break;
                }
                played.clear();
            }
            if (played.size() < remembered_rows_cap) played.insert(key);
            previous_order = order;
            out->rows += 1;
        } else {
            music::replayer_tick();
        }
        out->ticks += 1;
        frame += music::song.samples_left > 0 ? music::song.samples_left : 1;
    }
    music::offline_stop();
    out->frames = ended ? frame : target;
    out->hit_limit = !ended && (limits.frames == 0 || limits.frames > hard_limit_frames);
    return 1;
}

}  // namespace cli
