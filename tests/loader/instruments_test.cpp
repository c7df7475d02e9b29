// instruments_test.cpp: instrument records: the 208 extended bytes kept in
// the file's order, fadeout doubled, envelope types cleared below 2 points,
// header sizes, sample counts (layouts_test.cpp has the counts above 16).
#include "tests/loader/load_fixture.h"

namespace loader_test {
namespace {

xmw::Sample short_sample(int16_t v) { return {.data = {v, v}}; }

TEST_F(LoaderTest, ExtendedInstrumentBytesInFileOrder) {
    xmw::Module m = small_module();
    xmw::Instrument& ins = m.instruments[0];
    for (int i = 0; i < 96; ++i) ins.sample_map[i] = uint8_t(i % 3);
    ins.samples.push_back(short_sample(256));
    ins.samples.push_back(short_sample(512));
    ins.volume = {.points = {{0, 64}, {8, 32}, {300, 0}}, .sustain = 1, .loop_start = 0, .loop_end = 2, .type = 7};
    ins.panning = {.points = {{0, 0}, {4, 64}}, .sustain = 0, .loop_start = 1, .loop_end = 1, .type = 3};
    ins.vibrato_type = 2;
    ins.vibrato_sweep = 10;
    ins.vibrato_depth = 11;
    ins.vibrato_rate = 12;
    ins.fadeout = 0x300;
    ASSERT_EQ(load(m), 1);
    const Instrument& r = song.instruments[0];
    EXPECT_EQ(r.sample_count, 3);
    EXPECT_EQ(r.sample_map[0], 0);
    EXPECT_EQ(r.sample_map[95], 2);
    EXPECT_EQ(r.volume_envelope[1].x, 8);
    EXPECT_EQ(r.volume_envelope[1].y, 32);
    EXPECT_EQ(r.volume_envelope[2].x, 300);
    EXPECT_EQ(r.panning_envelope[1].y, 64);
    EXPECT_EQ(r.volume_points, 3);
    EXPECT_EQ(r.panning_points, 2);
    EXPECT_EQ(r.volume_sustain, 1);
    EXPECT_EQ(r.volume_loop_end, 2);
    EXPECT_EQ(r.panning_loop_start, 1);
    EXPECT_EQ(r.volume_type, 7);
    EXPECT_EQ(r.panning_type, 3);
    EXPECT_EQ(r.vibrato_type, 2);
    EXPECT_EQ(r.vibrato_sweep, 10);
    EXPECT_EQ(r.vibrato_depth, 11);
    EXPECT_EQ(r.vibrato_rate, 12);
    EXPECT_EQ(r.fadeout, 0x600);
    EXPECT_EQ(r.samples[1]->data[0], 256);
    EXPECT_EQ(r.samples[2]->data[1], 512);
    check_tables();
}

TEST_F(LoaderTest, FadeoutAndEnvelopeTypesAtLoad) {
    struct Case {
        uint16_t fadeout, doubled;
        uint8_t volume_points, panning_points, volume_type, panning_type;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0},
        {0x0FFF, 0x1FFE, 1, 2, 0, 5},
        {0x7FFF, 0xFFFE, 2, 1, 5, 0},
        {0x8000, 0xFFFF, 12, 0, 5, 0},  // doubling would wrap: held at the top
        // Counts above 12 are kept as read.
        {0xFFFF, 0xFFFF, 200, 13, 5, 5},
    };
    for (const Case& c : cases) {
        xmw::Module m = small_module();
        xmw::Instrument& ins = m.instruments[0];
        ins.fadeout = c.fadeout;
        ins.volume = {.points = {{0, 64}, {5, 0}}, .sustain = 40, .type = 5, .point_count = c.volume_points};
        ins.panning = {.points = {{0, 64}, {5, 0}}, .loop_end = 99, .type = 5, .point_count = c.panning_points};
        ASSERT_EQ(load(m), 1);
        const Instrument& r = song.instruments[0];
        EXPECT_EQ(r.fadeout, c.doubled) << c.fadeout;
        EXPECT_EQ(r.volume_points, c.volume_points);
        EXPECT_EQ(r.panning_points, c.panning_points);
        EXPECT_EQ(r.volume_type, c.volume_type) << int(c.volume_points);
        EXPECT_EQ(r.panning_type, c.panning_type) << int(c.panning_points);
        EXPECT_EQ(r.volume_sustain, 40);
        EXPECT_EQ(r.panning_loop_end, 99);
    }
}

TEST_F(LoaderTest, InstrumentHeaderSizesAndCounts) {
    // Instrument 1 without samples (its 29-byte header; the loader reads the
    // next instrument's bytes as its 208 and steps back), instrument 2 with a
    // padded header and an odd sample header size, instrument 3 with a header
    // cut before its reserved bytes and a sample count of 0x0101.
    xmw::Module m;
    m.channels = 1;
    m.orders = {0};
    m.patterns.resize(1);
    m.instruments.resize(3);
    m.instruments[1].header_size = 263 + 37;
    m.instruments[1].sample_header_size = 99;
    m.instruments[1].samples = {short_sample(0x100), short_sample(0x200)};
    m.instruments[1].fadeout = 3;
    m.instruments[2].header_size = 241;
    m.instruments[2].sample_count = 0x0101;
    m.instruments[2].samples = {short_sample(0x300)};
    m.instrument_count = 0x0103;  // the low byte counts
    ASSERT_EQ(load(m), 1);
    EXPECT_EQ(song.instrument_count, 3);
    EXPECT_EQ(song.instruments[0].sample_count, 0);
    EXPECT_EQ(song.instruments[0].samples, nullptr);
    EXPECT_EQ(song.instruments[1].sample_count, 2);
    EXPECT_EQ(song.instruments[1].fadeout, 6);
    EXPECT_EQ(song.instruments[1].samples[1]->data[0], 0x200);
    EXPECT_EQ(song.instruments[2].sample_count, 1);
    EXPECT_EQ(song.instruments[2].samples[0]->data[1], 0x300);
    check_tables();
}

}  // namespace
}  // namespace loader_test
