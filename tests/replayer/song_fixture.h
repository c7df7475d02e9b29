// song_fixture.h: a tiny module described with the XM writer's records, put
// into the player's tables and started, for tick-by-tick replayer tests.
//
//   xmw::Module m = one_channel();            // 1 channel, 1 pattern, 1 instrument
//   xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0xA, 0x02};
//   start(m);                                 // tables loaded, replayer_reset
//   tick();                                   // one replayer_tick
//   EXPECT_EQ(music::channels[0].volume, 62);
//
// The module goes through the writer and the real loader (memory source, a
// fresh private heap each time); the test can still change fields of the
// loaded tables before the first tick.
#pragma once
#include <cstdint>
#include <vector>

#include "music/replayer.h"
#include "music/state.h"
#include "music/voice.h"
#include "tools/xmwriter/xmwriter.h"

// A module of `channels` channels, one 64-row pattern in order 0, speed 6,
// BPM 125, linear table, one instrument whose one sample (volume 64,
// panning 128, 16 frames, no loop) every note maps to.
xmw::Module one_channel(int channels = 1);

// Loads m into the player's tables and calls replayer_reset. Fields of the
// tables can then still be changed by the test before the first tick.
void start(const xmw::Module& m);

void tick(int n = 1);

// Ticks until song.tick is 0 again, i.e. plays out the current row.
void finish_row();

// The channel's current voice's index, 0..63.
int voice_of(int channel);
