// setup.cpp: song_setup (setup.h), the part of a start that loads the module
// and sets the song and channel state to their start.
#include "music/setup.h"

#include "music/loader.h"
#include "music/replayer.h"
#include "music/state.h"

namespace music {

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

}  // namespace music
