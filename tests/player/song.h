// song.h: the module the player tests play (written with the XM writer), and
// what the player must hand to the device for it, rendered offline.
//
//   const std::vector<uint8_t>& m = test_song::bytes();
//   const std::vector<uint8_t>& want = test_song::rendered(40);  // 40 blocks
#pragma once
#include <cstdint>
#include <vector>

namespace test_song {

// Two channels, two 16-row patterns at speed 3, BPM 125 (882 frames a tick):
// a looped tone and an unlooped decaying one.
const std::vector<uint8_t>& bytes();
// The first `blocks` blocks (4,096 bytes each) at the given volume divisor.
std::vector<uint8_t> rendered(int blocks, int32_t divisor = 16);

}  // namespace test_song
