// song.cpp: the player tests' module and its offline rendering (song.h).
#include "song.h"

#include <cmath>
#include <numbers>

#include "music/offline.h"
#include "music/state.h"
#include "tools/xmwriter/xmwriter.h"

namespace test_song {

const std::vector<uint8_t>& bytes() {
    static const std::vector<uint8_t> file = [] {
        xmw::Module m;
        m.title = "Lifecycle\x01 song";
        m.channels = 2;
        m.speed = 3;
        m.bpm = 125;
        m.orders = {0, 1, 0};
        m.patterns.resize(2);
        m.patterns[0].rows = m.patterns[1].rows = 16;
        xmw::Instrument& tone = m.instruments.emplace_back();
        xmw::Sample& loop = tone.samples.emplace_back();
        for (int i = 0; i < 64; ++i) loop.data.push_back(int16_t(12000 * std::sin(i * 2 * std::numbers::pi / 64)));
        loop.sixteen_bit = true;
        loop.loop_type = 1;
        loop.loop_length = 64;
        xmw::Instrument& hit = m.instruments.emplace_back();
        xmw::Sample& decay = hit.samples.emplace_back();
        for (int i = 0; i < 3000; ++i) decay.data.push_back(int16_t((i * 7919 % 2001 - 1000) * (3000 - i) / 150));
        decay.sixteen_bit = true;
        for (int p = 0; p < 2; ++p)
            for (int r = 0; r < 16; r += 2) {
                xmw::cell(m, p, r, 0) = {uint8_t(49 + r / 2 + 5 * p), 1, 0, 0, 0};
                if (r % 4 == 0) xmw::cell(m, p, r, 1) = {uint8_t(37 + r), 2, 0, 0, 0};
            }
        return xmw::xm_write(m);
    }();
    return file;
}

std::vector<uint8_t> rendered(int blocks, int32_t divisor) {
    std::vector<uint8_t> out;
    const std::vector<uint8_t>& m = bytes();
    if (!music::offline_start(m.data(), int32_t(m.size()), 1)) return out;
    music::stream.volume_divisor = divisor;
    for (int k = 0; k < blocks; ++k) {
        const uint8_t* b = music::offline_block();
        out.insert(out.end(), b, b + music::block_frames * 4);
    }
    music::offline_stop();
    return out;
}

}  // namespace test_song
