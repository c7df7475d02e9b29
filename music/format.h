// format.h: the player's output, the same for the streaming player and the
// offline render: 44,100 stereo frames a second, each frame a 16-bit signed
// little-endian left sample then right sample, rendered in blocks of 1,024
// frames.
#pragma once
#include <cstdint>

namespace music {

constexpr int32_t output_rate = 44100;  // frames per second
constexpr int32_t frame_bytes = 4;
constexpr int32_t block_frames = 1024;
constexpr int32_t block_bytes = block_frames * frame_bytes;

}  // namespace music
