// fake_player.cpp: the recording stand-in for music/player.h (see fake_player.h).
#include "fake_player.h"

#include "music/player.h"

namespace viewer_test {
std::vector<PlayerCall> player_calls;
}

namespace music {
int32_t player_start(const void* data, int32_t size, int32_t kind) {
    viewer_test::player_calls.push_back({data, size, kind});
    return data ? 1 : 0;
}
void player_pause() {}
void player_resume() {}
void player_set_volume(int32_t) {}
int32_t player_get_levels() { return 0; }
int32_t player_get_time() { return 0; }
const char* player_get_title() { return ""; }
}  // namespace music
