// voice_test.cpp: from channel to voice: note periods on both frequency
// tables, the frequency and the 32.32 step, the final volume and the gains,
// the panning law, auto-vibrato, instrument defaults and the voice pairs.
#include <gtest/gtest.h>

#include <algorithm>

#include "music/periods.h"
#include "tests/replayer/song_fixture.h"

using namespace music;

namespace {

TEST(Periods, AmigaPeriod) {
    struct Case {
        int real_note;
        int8_t finetune;
        int period;
    } cases[] = {
        {48, 0, 1712},   {0, 0, 27392},    {131, 0, 14},     {51, 0, 1440},   {55, 0, 1143},
        {48, 127, 1616}, {48, -128, 1814}, {48, 64, 1664},   {48, 1, 1711},   {48, -1, 1712},
        // Outside the table: notes below 0 play as 0, above 131 as 131, and
        // a neighbour outside the table gives no finetune.
        {-1, 0, 27392},  {0, -64, 27392},  {200, 0, 14},     {131, 64, 14},   {254, -128, 15},
    };
    for (const Case& c : cases) {
        SampleRecord s{};
        s.finetune = c.finetune;
        EXPECT_EQ(amiga_period(c.real_note, &s), c.period) << c.real_note << " " << int(c.finetune);
    }
}

TEST(Periods, Frequency) {
    struct Case {
        bool linear;
        int period, pitch_offset, frequency;
    } cases[] = {
        {true, 4608, 0, 8363},     {true, 3840, 0, 16726},   {true, 5376, 0, 4182},   {true, 4608, 768, 16726},
        {true, 100000, 0, 100},    {true, 0, 0, 0},          {true, 64, -64, 0},      {true, -50000000, 0, 2147483647},
        {false, 1712, 0, 8362},    {false, 1712, -856, 16725}, {false, 200000, 0, 100}, {false, -5, 0, 100},
        {false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        song.flags = c.linear ? 1 : 0;
        EXPECT_EQ(period_frequency(c.period, c.pitch_offset), c.frequency)
            << (c.linear ? "linear " : "amiga ") << c.period << " + " << c.pitch_offset;
    }
}

TEST(Periods, NotesGiveTheirPeriodAndStep) {
    struct Case {
        const char* name;
        uint8_t note;
        int8_t relative_note, finetune;
        bool linear;
        int period, real_note;
        uint32_t step_fraction;
    } cases[] = {
        {"C-4, linear", 49, 0, 0, true, 4608, 48, 814485521u},
        {"C-4, Amiga", 49, 0, 0, false, 1712, 48, 814388129u},
        {"relative note +12", 49, 12, 0, true, 3840, 60, 1628971042u},
        {"finetune -128", 49, 0, -128, true, 4672, 48, 0},
        {"finetune 127", 49, 0, 127, true, 4545, 48, 0},
        {"finetune 64, Amiga", 49, 0, 64, false, 1664, 48, 0},
        {"real note -1", 1, -1, 0, true, 7744, 255, 0},
        {"real note -1, Amiga", 1, -1, 0, false, 27392, 255, 0},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        if (!c.linear) m.flags = 0;
        m.instruments[0].samples[0].relative_note = c.relative_note;
        m.instruments[0].samples[0].finetune = c.finetune;
        xmw::cell(m, 0, 0, 0) = {c.note, 1, 0, 0, 0};
        start(m);
        tick();
        EXPECT_EQ(channels[0].period, c.period) << c.name;
        EXPECT_EQ(channels[0].note_period, c.period) << c.name;
        EXPECT_EQ(channels[0].real_note, c.real_note) << c.name;
        int32_t f = period_frequency(c.period, 0);
        EXPECT_EQ(voices[0].step_integer, f / 44100) << c.name;
        if (c.step_fraction) {
            EXPECT_EQ(voices[0].step_fraction, c.step_fraction) << c.name;
        }
    }
}

// A channel on voice 0 and a fresh voice, for calling update_voice directly.
ChannelState& bare_channel() {
    song = SongState{};
    song.flags = 1;
    song.global_volume = 64;
    replayer_reset();
    return channels[0];
}

TEST(Voice, FinalVolumeAndGains) {
    struct Case {
        int volume, offset, envelope, fadeout, global, panning;
        int final_volume, gain_right, gain_left;
    } cases[] = {
        {64, 0, 64, 65536, 64, 128, 128, 64, 63},  // 127.5 rounds to even
        {32, 0, 64, 65536, 64, 128, 64, 32, 31},   // 63.75
        {64, 0, 64, 32768, 64, 0, 64, 0, 64},
        {64, 0, 32, 65536, 64, 255, 64, 64, 0},
        {64, 0, 1, 65536, 64, 128, 2, 1, 0},       // 1.99
        {48, -16, 64, 65536, 64, 128, 64, 32, 31},
        {64, 0, 64, 65536, 0, 128, 0, 0, 0},
        {70, 0, 64, 65536, 64, 128, 128, 64, 63},  // the volume is limited to 64 first
        {-5, 0, 64, 65536, 64, 128, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ChannelState& ch = bare_channel();
        ch.volume = c.volume;
        ch.volume_offset = c.offset;
        ch.vol_env_value = c.envelope;
        ch.fadeout_volume = c.fadeout;
        song.global_volume = c.global;
        voices[0].panning = c.panning;
        ch.flags = flag_volume;
        update_voice(ch, &empty_sample, nullptr);
        EXPECT_EQ(voices[0].volume, c.final_volume) << c.volume << " " << c.envelope << " " << c.fadeout;
        EXPECT_EQ(voices[0].gain_right, c.gain_right) << c.volume;
        EXPECT_EQ(voices[0].gain_left, c.gain_left) << c.volume;
        EXPECT_EQ(ch.volume, std::clamp(c.volume, 0, 64));
    }
}

TEST(Voice, PanningLaw) {
    struct Case {
        int panning, envelope, voice_panning;
    } cases[] = {
        {128, 64, 255}, {0, 64, 0}, {128, 0, 0}, {255, 64, 255}, {160, 40, 184}, {-20, 32, 0}, {300, 32, 255},
    };
    for (const Case& c : cases) {
        ChannelState& ch = bare_channel();
        ch.panning = c.panning;
        ch.pan_env_value = c.envelope;
        voices[0].volume = 100;
        ch.flags = flag_panning;
        update_voice(ch, &empty_sample, nullptr);
        EXPECT_EQ(voices[0].panning, c.voice_panning) << c.panning << " " << c.envelope;
        EXPECT_EQ(voices[0].gain_right, 100 * c.voice_panning / 255);
        EXPECT_EQ(voices[0].gain_left, 100 * (255 - c.voice_panning) / 255);
    }
}

TEST(Voice, ZeroPeriodKeepsTheStepAndRestartRewinds) {
    ChannelState& ch = bare_channel();
    voices[0].position = 77;
    voices[0].position_fraction = 5;
    voices[0].start_offset = 9;
    ch.flags = flag_pitch | flag_restart;
    update_voice(ch, &empty_sample, nullptr);
    EXPECT_EQ(voices[0].step_integer, 1);
    EXPECT_EQ(voices[0].step_fraction, 0u);
    EXPECT_EQ(voices[0].position, 0);
    EXPECT_EQ(voices[0].position_fraction, 0u);
    EXPECT_EQ(voices[0].start_offset, 0);
}

TEST(Voice, AutoVibrato) {
    // Depth 64 makes the pitch offset the waveform value itself; rate 64
    // visits positions 0, 64, 128, 192.
    struct Case {
        const char* name;
        uint8_t type, sweep, depth, rate;
        std::vector<int> offsets;
    } cases[] = {
        {"sine", 0, 0, 64, 64, {0, 64, 0, -64, 0}},
        {"square", 1, 0, 64, 64, {64, 64, -64, -64, 64}},
        {"ramp down", 2, 0, 64, 64, {0, -32, 64, 32, 0}},
        {"ramp up", 3, 0, 64, 64, {0, 32, 64, -32, 0}},
        {"sweep 4", 1, 4, 8, 0, {0, 2, 4, 6, 8, 8}},
    };
    for (const Case& c : cases) {
        xmw::Module m = one_channel();
        m.speed = 31;
        xmw::Instrument& ins = m.instruments[0];
        ins.vibrato_type = c.type;
        ins.vibrato_sweep = c.sweep;
        ins.vibrato_depth = c.depth;
        ins.vibrato_rate = c.rate;
        xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
        start(m);
        std::vector<int> offsets;
        for (size_t i = 0; i < c.offsets.size(); i++) {
            tick();
            offsets.push_back(channels[0].pitch_offset);
        }
        EXPECT_EQ(offsets, c.offsets) << c.name;
    }
}

TEST(Voice, InstrumentDefaultsKeepWavePositionsWhenAsked) {
    struct Case {
        uint8_t wave_control;
        int vib_pos, trem_pos;
    } cases[] = {{0x00, 0, 0}, {0x04, 10, 0}, {0x40, 0, -5}, {0x47, 10, -5}};
    for (const Case& c : cases) {
        ChannelState& ch = bare_channel();
        ch.wave_control = c.wave_control;
        ch.vib_pos = 10;
        ch.trem_pos = -5;
        ch.released = 1;
        ch.vol_env_point = 3;
        ch.tremor_count = 2;
        SampleRecord s{};
        s.volume = 40;
        s.panning = 99;
        apply_instrument_defaults(ch, &s);
        EXPECT_EQ(ch.vib_pos, c.vib_pos);
        EXPECT_EQ(ch.trem_pos, c.trem_pos);
        EXPECT_EQ(ch.volume, 40);
        EXPECT_EQ(ch.panning, 99);
        EXPECT_EQ(ch.fadeout_volume, 65536);
        EXPECT_EQ(ch.vol_env_value, 64);
        EXPECT_EQ(ch.pan_env_value, 32);
        EXPECT_EQ(ch.released + ch.vol_env_point + ch.tremor_count, 0);
        EXPECT_EQ(ch.flags, flag_volume | flag_panning);
    }
}

TEST(Voice, NotesAlternateBetweenThePairsVoices) {
    // Three notes on channel 1 of two: voice 1, then 33 (1 keeps its sample
    // with its gains at 0 so the mixer fades it), then 1 again.
    xmw::Module m = one_channel(2);
    m.speed = 1;
    for (int row = 0; row < 3; row++) xmw::cell(m, 0, row, 1) = {uint8_t(49 + row), 1, 0, 0, 0};
    start(m);
    tick();
    EXPECT_EQ(voice_of(1), 1);
    voices[1].position = 5;  // as the mixer would have moved it
    tick();
    EXPECT_EQ(voice_of(1), 33);
    EXPECT_NE(voices[1].sample, nullptr);
    EXPECT_EQ(voices[1].position, 5);
    EXPECT_EQ(voices[1].volume, 0);
    EXPECT_EQ(voices[1].gain_left + voices[1].gain_right, 0);
    EXPECT_EQ(voices[33].position, 0);
    EXPECT_EQ(voices[33].volume, 128);
    EXPECT_EQ(voices[33].ramp_gain_left + voices[33].ramp_gain_right + voices[33].ramp_left, 0);
    tick();
    EXPECT_EQ(voice_of(1), 1);
    EXPECT_EQ(voices[33].volume, 0);
    EXPECT_EQ(voices[1].volume, 128);
    EXPECT_EQ(voice_of(0), 0);
}

TEST(Voice, AnEndedVoiceIsReusedInPlace) {
    xmw::Module m = one_channel();
    m.speed = 1;
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0, 0};
    xmw::cell(m, 0, 1, 0) = {49, 1, 0, 0, 0};
    start(m);
    tick();
    voices[0].sample = nullptr;  // the mixer reached the end of the unlooped sample
    tick();
    EXPECT_EQ(voice_of(0), 0);
    EXPECT_NE(voices[0].sample, nullptr);
}

}  // namespace
