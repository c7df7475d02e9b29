// placeholder.cpp: a silent player until the real one lands.
#include "music/player.h"

namespace music {
int32_t player_start(const void*, int32_t, int32_t) { return 0; }
void player_pause() {}
void player_resume() {}
void player_set_volume(int32_t) {}
int32_t player_get_levels() { return 0; }
int32_t player_get_time() { return 0; }
const char* player_get_title() { return ""; }
}  // namespace music
