// effects_test.cpp: the effect table tick by tick: one row holding a note
// (C-4, real note 48: period 4608 on the linear table, 1712 on the Amiga
// table) with one effect, and the channel, voice or song field the effect
// drives, read after every tick of the row.
#include <gtest/gtest.h>

#include "music/periods.h"
#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

using Field = int (*)();
int pitch_offset() { return channels[0].pitch_offset; }
int period() { return channels[0].period; }
int volume() { return channels[0].volume; }
int volume_offset() { return channels[0].volume_offset; }
int panning() { return channels[0].panning; }
int final_volume() { return channels[0].voice->volume; }
int voice_index() { return voice_of(0); }
int global_volume() { return song.global_volume; }
int sounding() { return channels[0].voice->sample != nullptr; }

std::vector<int> trace(size_t ticks, Field field) {
    std::vector<int> out;
    for (size_t i = 0; i < ticks; i++) {
        tick();
        out.push_back(field());
    }
    return out;
}

TEST(Effects, OneRowTickByTick) {
    struct Case {
        const char* name;
        xmw::Cell cell;
        Field field;
        std::vector<int> expected;  // one value per tick; the row's speed is their count
        bool amiga = false;
    } cases[] = {
        {"arpeggio 037", {49, 1, 0, 0x0, 0x37}, pitch_offset, {0, 192, 448, 0, 192, 448}},
        {"arpeggio 037, Amiga", {49, 1, 0, 0x0, 0x37}, pitch_offset, {0, 1440 - 1712, 1143 - 1712, 0}, true},
        {"arpeggio 000 does nothing", {49, 1, 0, 0x0, 0x00}, pitch_offset, {0, 0, 0}},
        {"portamento up", {49, 1, 0, 0x1, 0x10}, period, {4608, 4544, 4480, 4416}},
        {"portamento up stops at 56", {96, 1, 0, 0x1, 0xFF}, period, {1600, 580, 56, 56}},
        {"portamento down", {49, 1, 0, 0x2, 0x10}, period, {4608, 4672, 4736, 4800}},
        {"vibrato 484", {49, 1, 0, 0x4, 0x84}, pitch_offset, {0, 0, -20, -32, -20, 0}},
        {"tremolo 788", {49, 1, 0x30, 0x7, 0x88}, volume_offset, {0, 0, 22, 32, 22, 0}},
        {"tremor T21", {49, 1, 0, 0x1D, 0x21}, final_volume, {128, 128, 128, 0, 0, 128, 128, 128}},
        {"retrig R61", {49, 1, 0, 0x1B, 0x61}, volume, {64, 42, 28}},
        {"retrig R62", {49, 1, 0, 0x1B, 0x62}, volume, {64, 64, 42, 42, 28}},
        {"retrig volume 14", {49, 1, 0x20, 0x1B, 0xE1}, volume, {16, 24, 36, 54, 64}},
        {"retrig R81 keeps the volume", {49, 1, 0x20, 0x1B, 0x81}, volume, {16, 16, 16}},
        {"volume slide down", {49, 1, 0, 0xA, 0x02}, volume, {64, 62, 60, 58}},
        {"volume slide up", {49, 1, 0x30, 0xA, 0x20}, volume, {32, 34, 36, 38}},
        {"volume slide: x wins", {49, 1, 0x30, 0xA, 0x23}, volume, {32, 34, 36}},
        {"tone portamento + slide", {49, 1, 0x30, 0x5, 0x02}, volume, {32, 30, 28}},
        {"vibrato + slide", {49, 1, 0x30, 0x6, 0x20}, volume, {32, 34, 36}},
        {"set volume", {49, 1, 0, 0xC, 0x20}, volume, {32, 32}},
        {"fine volume up", {49, 1, 0x30, 0xE, 0xA3}, volume, {35, 35}},
        {"fine volume down", {49, 1, 0x30, 0xE, 0xB3}, volume, {29, 29}},
        {"fine portamento up", {49, 1, 0, 0xE, 0x12}, period, {4600, 4600}},
        {"fine portamento down", {49, 1, 0, 0xE, 0x22}, period, {4616, 4616}},
        {"extra fine portamento up", {49, 1, 0, 0x21, 0x12}, period, {4606, 4606}},
        {"extra fine portamento down", {49, 1, 0, 0x21, 0x22}, period, {4610, 4610}},
        {"note cut EC2", {49, 1, 0, 0xE, 0xC2}, volume, {64, 64, 0, 0}},
        {"EC0 never cuts", {49, 1, 0, 0xE, 0xC0}, volume, {64, 64, 64, 64}},
        {"retrigger E92", {49, 1, 0, 0xE, 0x92}, voice_index, {0, 0, 32, 32, 0, 0}},
        {"note delay ED2", {49, 1, 0, 0xE, 0xD2}, sounding, {0, 0, 1, 1}},
        {"ED0 holds the note for the row", {49, 1, 0, 0xE, 0xD0}, sounding, {0, 0, 0, 0}},
        {"global volume", {49, 1, 0, 0x10, 0x20}, global_volume, {32, 32}},
        {"global volume at most 64", {49, 1, 0, 0x10, 0x90}, global_volume, {64}},
        {"global volume slide down", {49, 1, 0, 0x11, 0x01}, global_volume, {64, 63, 62, 61}},
        {"global volume slide up stops at 64", {49, 1, 0, 0x11, 0x10}, global_volume, {64, 64, 64}},
        {"set panning", {49, 1, 0, 0x8, 0xC0}, panning, {192, 192}},
        {"coarse panning", {49, 1, 0, 0xE, 0x83}, panning, {48, 48}},
        {"panning slide left", {49, 1, 0, 0x19, 0x01}, panning, {128, 127, 126, 125}},
        {"panning slide right", {49, 1, 0, 0x19, 0x20}, panning, {128, 130, 132, 134}},
        {"key off without envelope", {49, 1, 0, 0x14, 0x00}, final_volume, {0, 0}},
        {"unused effect number", {49, 1, 0, 0x12, 0x55}, volume, {64, 64}},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.speed = uint16_t(c.expected.size());
        if (c.amiga) m.flags = 0;
        xmw::cell(m, 0, 0, 0) = c.cell;
        start(m);
        EXPECT_EQ(trace(c.expected.size(), c.field), c.expected) << c.name;
    }
}

TEST(Effects, MemoriesCarryToTheNextRow) {
    // The first row sets each memory; the second row's parameter 0 reuses it.
    struct Case {
        const char* name;
        xmw::Cell first, second;
        Field field;
        std::vector<int> second_row;
    } cases[] = {
        {"portamento up", {49, 1, 0, 0x1, 0x04}, {0, 0, 0, 0x1, 0}, period, {4576, 4560, 4544}},
        {"volume slide", {49, 1, 0, 0xA, 0x02}, {0, 0, 0, 0xA, 0}, volume, {60, 58, 56}},
        {"fine volume down", {49, 1, 0, 0xE, 0xB3}, {0, 0, 0, 0xE, 0xB0}, volume, {58, 58, 58}},
        {"extra fine up", {49, 1, 0, 0x21, 0x13}, {0, 0, 0, 0x21, 0x10}, period, {4602, 4602, 4602}},
        {"global slide", {49, 1, 0, 0x11, 0x02}, {0, 0, 0, 0x11, 0}, global_volume, {60, 58, 56}},
        {"vibrato speed and depth", {49, 1, 0, 0x4, 0x84}, {0, 0, 0, 0x4, 0}, pitch_offset, {-32, -32, -20}},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.speed = 3;
        xmw::cell(m, 0, 0, 0) = c.first;
        xmw::cell(m, 0, 1, 0) = c.second;
        start(m);
        finish_row();
        EXPECT_EQ(trace(3, c.field), c.second_row) << c.name;
    }
}

TEST(Effects, TonePortamentoSlidesToTheNewNote) {
    // C-4 (4608) then C-5 (3840) as a tone portamento target, 256 per tick.
    struct Case {
        const char* name;
        xmw::Cell target;
        int note;  // the latched note: effect 3 keeps the old one
    } cases[] = {
        {"effect 3", {61, 0, 0, 0x3, 0x40}, 48},
        {"volume column F4", {61, 0, 0xF4, 0, 0}, 60},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
        xmw::cell(m, 0, 1, 0) = c.target;
        start(m);
        finish_row();
        EXPECT_EQ(trace(6, period), (std::vector<int>{4608, 4352, 4096, 3840, 3840, 3840})) << c.name;
        EXPECT_EQ(voice_of(0), 0) << c.name << ": no new note";
        EXPECT_EQ(channels[0].note, c.note) << c.name;
    }
}

TEST(Effects, TremoloLeavesItsLastOffsetWhenItEnds) {
    xmw::Module m = one_channel();
    m.speed = 4;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0x30, 0x7, 0x88};
    xmw::cell(m, 0, 1, 0) = {0, 0, 0, 0, 0};
    start(m);
    EXPECT_EQ(trace(4, volume_offset), (std::vector<int>{0, 0, 22, 32}));
    tick();
    EXPECT_EQ(channels[0].volume, 64);
    EXPECT_EQ(channels[0].volume_offset, 0);
}

TEST(Effects, TremoloWaveformsAndClamp) {
    // Depth 15, speed 8 on volume 40; the offset stays within 0..64 of the volume.
    struct Case {
        uint8_t control;
        std::vector<int> offsets;  // ticks 1..5
    } cases[] = {
        {0x00, {0, 24, 24, 24, 0}},    // sine: 42, 60 -> kept at 24 (64 - 40)
        {0x10, {0, 15, 24, 24, -40}},  // ramp: 8 x |pos|: 15, 30 -> 24, then -60 -> -40
        {0x20, {24, 24, 24, 24, -40}}, // square: 59
        {0x30, {0, 24, 24, 24, 0}},    // 3 is the sine
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.speed = 6;
        xmw::cell(m, 0, 0, 0) = {49, 1, 0x38, 0x7, 0x8F};
        start(m);
        channels[0].wave_control = c.control;
        tick();
        EXPECT_EQ(trace(5, volume_offset), c.offsets) << int(c.control);
    }
}

TEST(Effects, VibratoWaveforms) {
    // Vibrato 484 with each waveform; offsets of ticks 1..5.
    struct Case {
        uint8_t control;
        std::vector<int> offsets;
    } cases[] = {
        {0x00, {0, -20, -32, -20, 0}},
        {0x01, {0, -8, -16, -24, 32}},
        {0x02, {-28, -28, -28, -28, 28}},
        {0x03, {-28, -28, -28, -28, 28}},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0x4, 0x84};
        start(m);
        channels[0].wave_control = c.control;
        tick();
        EXPECT_EQ(trace(5, pitch_offset), c.offsets) << int(c.control);
    }
}

TEST(Effects, SampleOffset) {
    struct Case {
        const char* name;
        uint8_t parameter;
        int position;  // of the voice after the row's first tick
        bool new_voice;
    } cases[] = {
        {"inside the sample", 0x02, 512, true},
        {"memory", 0x00, 768, true},  // the first row left 0x03
        {"beyond the end restarts the old note", 0x09, 0, false},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.instruments[0].samples[0].data.assign(2048, 100);
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0x9, 0x03};
        xmw::cell(m, 0, 1, 0) = {49, 1, 0, 0x9, c.parameter};
        start(m);
        finish_row();
        EXPECT_EQ(voices[0].position, 768) << c.name;
        voices[0].position = 1000;  // as the mixer would have moved it
        tick();
        EXPECT_EQ(voice_of(0), c.new_voice ? 32 : 0) << c.name;
        EXPECT_EQ(channels[0].voice->position, c.position) << c.name;
        EXPECT_EQ(channels[0].voice->start_offset, 0) << c.name;
    }
}

TEST(Effects, SetFinetuneActsFromTheNextNote) {
    xmw::Module m = one_channel();
    m.speed = 1;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0xE, 0x58};
    xmw::cell(m, 0, 1, 0) = {49, 0, 0, 0, 0};
    start(m);
    tick();
    EXPECT_EQ(channels[0].note_period, 4608);
    EXPECT_EQ(song.instruments[0].samples[0]->finetune, 8);
    tick();
    EXPECT_EQ(channels[0].note_period, 4608 - 4);
}

TEST(Effects, SetFinetuneLeavesTheEmptySampleAlone) {
    // The note maps to no sample: E5 would write the shared empty sample.
    xmw::Module m = one_channel();
    m.instruments[0].sample_map[48] = 3;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0xE, 0x5F};
    start(m);
    tick();
    EXPECT_EQ(channels[0].voice->sample, &empty_sample);
    EXPECT_EQ(empty_sample.finetune, 0);
}

TEST(Effects, VolumeOutOfRangeNeverGivesNegativeGains) {
    // The volume column lifts the volume to 79 before tremor silences it with
    // an offset of -79; the voice limits the volume to 64 first.
    xmw::Module m = one_channel();
    m.speed = 3;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0x7F, 0x1D, 0x01};
    start(m);
    tick(2);
    EXPECT_EQ(channels[0].volume, 64);
    EXPECT_EQ(voices[0].volume, 0);
    EXPECT_EQ(voices[0].gain_left, 0);
    EXPECT_EQ(voices[0].gain_right, 0);
}

TEST(Effects, NoteOffReleasesWithoutAnInstrument) {
    // Note 97 with no instrument: released, and without a volume envelope
    // silent at once; the next note without an instrument stays released.
    xmw::Module m = one_channel();
    m.speed = 1;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
    xmw::cell(m, 0, 1, 0) = {97, 0, 0, 0, 0};
    xmw::cell(m, 0, 2, 0) = {49, 0, 0, 0, 0};
    xmw::cell(m, 0, 3, 0) = {49, 1, 0, 0, 0};
    start(m);
    EXPECT_EQ(trace(4, final_volume), (std::vector<int>{128, 0, 0, 128}));
}

}  // namespace
