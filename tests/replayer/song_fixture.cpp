// song_fixture.cpp: the tiny modules of the replayer tests, written with the
// XM writer and loaded through the real loader from memory.
#include "tests/replayer/song_fixture.h"

#include <gtest/gtest.h>

#include "music/loader.h"
#include "platform/heap.h"

using namespace music;

xmw::Module one_channel(int channels) {
    xmw::Module m;
    m.channels = uint16_t(channels);
    m.orders = {0};
    m.patterns.resize(1);
    xmw::Instrument& ins = m.instruments.emplace_back();
    ins.samples.push_back({.data = std::vector<int16_t>(16, 1000)});
    return m;
}

void start(const xmw::Module& m) {
    static std::vector<uint8_t> bytes;
    bytes = xmw::xm_write(m);
    if (stream.heap) platform::heap_destroy(stream.heap);
    stream.heap = platform::heap_create();
    source_select(1, int32_t(bytes.size()));
    ASSERT_TRUE(module_load(bytes.data()));
    replayer_reset();
}

void tick(int n) {
    for (int i = 0; i < n; i++) replayer_tick();
}

void finish_row() {
    do replayer_tick();
    while (song.tick != 0);
}

int voice_of(int channel) { return int(channels[channel].voice - voices); }
