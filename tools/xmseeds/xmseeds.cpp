// xmseeds.cpp: seed inputs for the fuzz targets. Small modules made with the
// XM writer that reach every part of the replayer (every effect and
// volume-column form, envelopes with sustain and loops, auto-vibrato, both
// frequency tables, all loop kinds and sample formats, order jumps and
// pattern loops), the same in the older 0x0102 and 0x0103 layouts, the
// over-full instruments and the other header sizes of fixtures.h in each
// layout, and a few that bend the header's counts; and, for the
// decoder target, one sample description per format, odd and even lengths.
//
//   xmseeds XM_DIR SAMPLE_DIR      (both folders must exist)
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/xmwriter/fixtures.h"
#include "tools/xmwriter/xmwriter.h"

namespace {

bool save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<int16_t> wave(int n, int step) {
    std::vector<int16_t> v;
    for (int i = 0; i < n; ++i) v.push_back(int16_t((((i * step) & 0xFF) - 128) * 256));
    return v;
}

// Instrument 1: an 8-bit forward loop (or 4-bit packed) with volume envelope
// sustain and loop and auto-vibrato; instrument 2: a 16-bit ping-pong loop
// with a looping panning envelope and a fade-out; both map notes to samples.
void add_instruments(xmw::Module& m, bool packed4) {
    xmw::Instrument& a = m.instruments.emplace_back();
    a.volume.points = {{0, 64}, {6, 20}, {12, 48}, {30, 0}};
    a.volume.sustain = 1;
    a.volume.loop_start = 1;
    a.volume.loop_end = 2;
    a.volume.type = 7;
    a.vibrato_type = 1;
    a.vibrato_sweep = 4;
    a.vibrato_depth = 8;
    a.vibrato_rate = 20;
    a.fadeout = 800;
    xmw::Sample sa{.data = wave(33, 9), .packed4 = packed4, .loop_start = 4, .loop_length = 20, .loop_type = 1};
    a.samples.push_back(sa);
    a.samples.push_back({.data = wave(10, 40), .relative_note = 12});
    for (int k = 48; k < 96; ++k) a.sample_map[k] = 1;

    xmw::Instrument& b = m.instruments.emplace_back();
    b.panning.points = {{0, 0}, {10, 64}, {20, 32}};
    b.panning.loop_start = 0;
    b.panning.loop_end = 2;
    b.panning.type = 5;
    b.volume.points = {{0, 64}, {20, 64}};
    b.volume.type = 1;
    b.fadeout = 4000;
    std::vector<int16_t> d;
    for (int i = 0; i < 40; ++i) d.push_back(int16_t(i * 1500 - 30000));
    b.samples.push_back({.data = d, .sixteen_bit = true, .loop_start = 10, .loop_length = 30, .loop_type = 2,
                         .finetune = -40});
}

// Every effect with a parameter that does something, then the volume
// column's forms, spread over the channels.
xmw::Module effects_module(uint16_t flags, bool packed4) {
    xmw::Module m;
    m.channels = 4;
    m.flags = flags;
    m.speed = 3;
    m.bpm = 200;
    m.orders = {0, 1, 0};
    m.patterns.resize(2);
    m.patterns[0].rows = m.patterns[1].rows = 48;
    add_instruments(m, packed4);
    const uint8_t params[36] = {0x37, 0x08, 0x08, 0x10, 0x48, 0x34, 0x34, 0x4A, 0x80, 0x10, 0x1F, 0x00,
                                0x30, 0x00, 0x00, 0x05, 0x20, 0x2F, 0,    0,    0x05, 0x10, 0,    0,
                                0,    0xF1, 0,    0x44, 0,    0x32, 0,    0,    0,    0x21, 0,    0};
    int row = 0;
    for (uint8_t fx = 0; fx < 36; ++fx) {
        if (fx == 0x0B || fx == 0x0D || fx == 0x0E) continue;  // jumps and E-commands below
        const uint8_t note = uint8_t(40 + (fx % 3) * 12);
        xmw::cell(m, 0, row, fx & 3) = {note, uint8_t(1 + (fx & 1)), 0, fx, params[fx]};
        xmw::cell(m, 0, row, (fx + 1) & 3) = {0, 0, 0, fx, params[fx]};
        if (++row == 48) row = 0;
    }
    const uint8_t e_params[] = {0x11, 0x21, 0x32, 0x41, 0x55, 0x72, 0x9A, 0xA2, 0xB2, 0xC3, 0xD2, 0xE1, 0x62, 0x60};
    for (int k = 0; k < int(sizeof e_params); ++k) xmw::cell(m, 1, k * 3, k & 3) = {uint8_t(50 + k), 2, 0, 0x0E, e_params[k]};
    const uint8_t vol[] = {0x10, 0x30, 0x50, 0x65, 0x75, 0x85, 0x95, 0xA4, 0xB4, 0xC8, 0xD3, 0xE3, 0xF4, 0xF0};
    for (int k = 0; k < int(sizeof vol); ++k) xmw::cell(m, 1, 1 + k * 3, (k + 1) & 3) = {uint8_t(45 + k), 1, vol[k], 0, 0};
    xmw::cell(m, 1, 44, 0) = {97, 0, 0, 0, 0};            // key-off
    xmw::cell(m, 1, 45, 1) = {0, 0, 0, 0x14, 0x02};       // K02
    xmw::cell(m, 1, 46, 2) = {60, 1, 0, 0x0B, 0x02};      // B02
    xmw::cell(m, 1, 47, 3) = {0, 0, 0, 0x0D, 0x10};       // D10
    return m;
}

// Hostile counts: song length past 256, an order naming a slot far beyond
// the stored patterns, a zero-row pattern, envelope counts past 12 with
// sustain and loop points beyond them, loop type 3, 40 channels.
xmw::Module bent_module() {
    xmw::Module m;
    m.channels = 40;
    m.song_length = 300;
    m.orders = {0, 1, 5, 0};
    m.patterns.resize(2);
    m.patterns[1].rows = 0;
    m.patterns[0].rows = 8;
    xmw::Instrument& a = m.instruments.emplace_back();
    a.volume.points = {{0, 64}, {4, 10}};
    a.volume.point_count = 20;
    a.volume.sustain = 30;
    a.volume.loop_start = 14;
    a.volume.loop_end = 40;
    a.volume.type = 7;
    a.panning = a.volume;
    a.samples.push_back({.data = wave(16, 17), .loop_start = 3, .loop_length = 9, .loop_type = 3});
    for (int k = 0; k < 96; ++k) a.sample_map[k] = uint8_t(k & 1);  // sample 2 does not exist
    for (int c = 0; c < 8; ++c) xmw::cell(m, 0, c, c * 5) = {uint8_t(1 + c * 13), 1, uint8_t(0x10 + c * 8), 0x0E, 0xD1};
    return m;
}

xmw::Module in_version(xmw::Module m, uint16_t version) {
    m.version = version;
    return m;
}

// Jumps that circle: a pattern loop inside a pattern break inside a position
// jump back to order 0, with a pattern delay, on short patterns.

xmw::Module circle_module() {
    xmw::Module m;
    m.channels = 2;
    m.speed = 1;
    m.orders = {0, 1};
    m.restart = 1;
    m.patterns.resize(2);
    m.patterns[0].rows = m.patterns[1].rows = 4;
    xmw::Instrument& a = m.instruments.emplace_back();
    a.samples.push_back({.data = wave(8, 33), .loop_start = 0, .loop_length = 8, .loop_type = 1});
    xmw::cell(m, 0, 0, 0) = {49, 1, 0, 0x0E, 0x60};
    xmw::cell(m, 0, 1, 0) = {0, 0, 0, 0x0E, 0x63};
    xmw::cell(m, 0, 2, 1) = {0, 0, 0, 0x0E, 0xE2};
    xmw::cell(m, 0, 3, 1) = {0, 0, 0, 0x0D, 0x02};
    xmw::cell(m, 1, 2, 0) = {0, 0, 0, 0x0B, 0x00};
    xmw::cell(m, 1, 3, 1) = {0, 0, 0, 0x0F, 0x00};  // speed 0
    return m;
}

// One 7-byte description (samplefuzz.cpp) and its data.
std::vector<uint8_t> sample_seed(uint8_t flags, uint16_t length, uint16_t loop_start, uint16_t loop_length, int data_bytes) {
    std::vector<uint8_t> v = {flags, uint8_t(length), uint8_t(length >> 8), uint8_t(loop_start), uint8_t(loop_start >> 8),
                              uint8_t(loop_length), uint8_t(loop_length >> 8)};
    for (int i = 0; i < data_bytes; ++i) v.push_back(uint8_t(i * 37 + 11));
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xmseeds XM_DIR SAMPLE_DIR\n");
        return 2;
    }
    const std::string xm = std::string(argv[1]) + "/", smp = std::string(argv[2]) + "/";
    bool ok = true;
    ok &= save(xm + "seed_effects_linear.xm", xmw::xm_write(effects_module(1, false)));
    ok &= save(xm + "seed_effects_amiga.xm", xmw::xm_write(effects_module(0, false)));
    ok &= save(xm + "seed_effects_packed4.xm", xmw::xm_write(effects_module(1, true)));
    ok &= save(xm + "seed_bent.xm", xmw::xm_write(bent_module()));
    ok &= save(xm + "seed_circle.xm", xmw::xm_write(circle_module()));
    for (uint16_t version : {0x0102, 0x0103}) {
        const std::string v = version == 0x0102 ? "0102" : "0103";
        ok &= save(xm + "seed_effects_" + v + ".xm", xmw::xm_write(in_version(effects_module(1, false), version)));
        ok &= save(xm + "seed_overfull_" + v + ".xm", xmw::xm_write(in_version(xmw::overfull_module(), version)));
        ok &= save(xm + "seed_resized_" + v + ".xm", xmw::xm_write(in_version(xmw::resized_module(), version)));
    }
    ok &= save(xm + "seed_overfull.xm", xmw::xm_write(xmw::overfull_module()));
    ok &= save(xm + "seed_resized.xm", xmw::xm_write(xmw::resized_module()));

    struct Seed {
        const char* name;
        uint8_t flags;
        uint16_t length, loop_start, loop_length;
        int data_bytes;
    };
    // flags: bit 0 16-bit, bit 1 packed, bits 2-3 loop type, bit 4 odd length field.
    const Seed seeds[] = {
        {"d8_plain", 0x00, 12, 0, 0, 12},       {"d8_forward", 0x04, 12, 3, 6, 12},
        {"d8_pingpong_short", 0x08, 12, 2, 40, 5}, {"d16_forward", 0x05, 24, 4, 12, 24},
        {"d16_odd_bytes", 0x19, 24, 0, 0, 25},  {"d16_type3", 0x0D, 20, 2, 8, 20},
        {"p4_even", 0x02, 10, 0, 0, 16 + 5},    {"p4_odd_forward", 0x16, 10, 2, 5, 16 + 6},
        {"p4_pingpong", 0x0A, 9, 1, 8, 16 + 5}, {"p4_16bit_refused", 0x03, 8, 0, 0, 20},
    };
    for (const Seed& s : seeds)
        ok &= save(smp + s.name, sample_seed(s.flags, s.length, s.loop_start, s.loop_length, s.data_bytes));
    if (!ok) std::fprintf(stderr, "xmseeds: could not write every seed\n");
    return ok ? 0 : 1;
}
