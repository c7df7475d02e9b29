// song_walk.h: the length of one pass through a song, added up from its
// text sources alone: rows as the order list, pattern breaks, jumps and
// pattern loops lead through them, ticks from the speeds effect F sets, and
// output frames from the tempo (110,250 / BPM frames per tick).
//
//   xmc::Song song; xmc::read_song(dir, song, error);
//   PassLength pass = walk_one_pass(song);
//
// A pass ends where play runs off the last order and goes back to the
// restart position. Only F, B, D and E6 shape the length of this module.
#pragma once
#include <cstdint>
#include <vector>

#include "tools/xmcompose/source.h"

struct PassLength {
    int64_t rows = 0, ticks = 0, frames = 0;
};

inline PassLength walk_one_pass(const xmc::Song& song) {
    PassLength pass;
    const int C = song.channels, length = int(song.orders.size());
    int speed = song.speed, frames_per_tick = 110250 / song.bpm;
    std::vector<int> loop_row(C, 0), loop_count(C, 0);
    int order = 0, row = 0;
    for (int guard = 0; guard < 1 << 20; ++guard) {
        const xmc::Pattern& p = song.patterns[song.orders[order]];
        int next_row = -1, next_order = -1;
        bool jumped = false;
        for (int ch = 0; ch < C; ++ch) {
            const xmc::Cell& c = p.cells[size_t(row) * C + ch];
            int x = c.parameter >> 4, y = c.parameter & 15;
            if (c.effect == 0xF) {
                if (c.parameter < 32) speed = c.parameter;
                else frames_per_tick = 110250 / c.parameter;
            } else if (c.effect == 0xB) {
                next_row = 0;
                next_order = c.parameter < length ? c.parameter : 0;
                jumped = true;
            } else if (c.effect == 0xD) {
                next_row = 10 * x + y;
                if (!jumped) next_order = order + 1 < length ? order + 1 : 0;
            } else if (c.effect == 0xE && x == 6) {
                if (y == 0) {
                    loop_row[ch] = row;
                } else {
                    if (loop_count[ch] == 0) loop_count[ch] = y + 1;
                    if (--loop_count[ch] != 0) next_row = loop_row[ch];
                }
            }
        }
        pass.rows += 1;
        pass.ticks += speed;
        pass.frames += int64_t(speed) * frames_per_tick;
        int r = next_row >= 0 ? next_row : row + 1;
        if (r < p.rows) {
            row = r;
            if (next_order >= 0) order = next_order;
        } else {
            row = 0;
            if (next_order >= 0) {
                order = next_order;
            } else if (order + 1 < length) {
                order = order + 1;
            } else {
                break;  // off the last order: back to the restart position, the pass is over
            }
        }
    }
    return pass;
}
