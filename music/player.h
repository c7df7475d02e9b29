// player.h: the XM music player's interface. One player per process, driven
// from one thread; it renders on a thread of its own while it plays.
//
//   music::player_start(bytes, size, 1);     // memory: play from the start, loop for ever
//   music::player_start("song.xm", 0, 2);    // a file
//   music::player_set_volume(48);
//   music::player_start(nullptr, 0, 0);      // stop
//
// Source kinds: 0 and below a named built-in resource (size is the module
// handle it was registered under), 1 a block of memory (size is its byte
// count), 2 and above a file name. Results are non-zero on success, 0 on
// failure; no cause is reported.
#pragma once
#include <cstdint>

namespace music {

// Stops whatever plays; then, unless data is null, loads the module and plays
// it from its first order and row. Non-zero while playing.
int32_t player_start(const void* data, int32_t size, int32_t kind);
void player_pause();
void player_resume();
// 64 unity gain, 1..63 a gain of 16 / (80 - volume), 0 mutes; values above 64
// (negative ones included) act as 64. Survives stops and starts.
void player_set_volume(int32_t volume);
// High 16 bits: mean absolute left output value of a block; low 16: right. 0 while stopped.
int32_t player_get_levels();
// Elapsed song time in milliseconds at the end of the block now heard; 0 while stopped.
int32_t player_get_time();
// The module's title, printable characters only; empty while stopped.
const char* player_get_title();

}  // namespace music
