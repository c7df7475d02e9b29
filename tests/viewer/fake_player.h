// fake_player.h: a music player that only records how it was called, linked
// into the viewer tests in place of the real one so the music switch and the
// start-up and exit calls can be checked.
//
//   viewer_test::player_calls.clear(); ... EXPECT_EQ(player_calls[0].kind, 1);
#pragma once
#include <cstdint>
#include <vector>

namespace viewer_test {

struct PlayerCall {
    const void* data;
    int32_t size;
    int32_t kind;
};
extern std::vector<PlayerCall> player_calls;

}  // namespace viewer_test
