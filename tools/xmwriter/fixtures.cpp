// fixtures.cpp: the shared modules of fixtures.h.
#include "tools/xmwriter/fixtures.h"

namespace xmw {

namespace {

// A short looped wave whose level and period tell the samples apart.
Sample tone(int index, bool sixteen_bit) {
    Sample s;
    const int period = 8 + index % 5;
    for (int i = 0; i < period * 4; ++i)
        s.data.push_back(int16_t(((i % period) * 2 - period) * (1 + index % 5) * 256 + (sixteen_bit ? index : 0)));
    s.sixteen_bit = sixteen_bit;
    s.loop_start = uint32_t(period);
    s.loop_length = uint32_t(period * 2);
    s.loop_type = index % 3 == 2 ? 2 : 1;
    s.volume = uint8_t(40 + index);
    s.relative_note = int8_t(index % 4);
    s.name = "tone " + std::to_string(index);
    return s;
}

// Two patterns on 4 channels striking `notes` with instruments 1 and 2 in turn.
void strike(Module& m, const std::vector<uint8_t>& notes) {
    m.channels = 4;
    m.orders = {0, 1, 0};
    Pattern pattern;
    pattern.rows = 16;
    m.patterns.assign(2, pattern);
    for (size_t k = 0; k < notes.size(); ++k) {
        const int pattern = int(k / 16 % 2), row = int(k % 16), channel = int(k % 4);
        cell(m, pattern, row, channel) = {notes[k], uint8_t(1 + k % 2), 0, 0, 0};
    }
}

}  // namespace

Module overfull_module() {
    Module m;
    m.title = "overfull";
    Instrument& a = m.instruments.emplace_back();
    a.name = "23 samples";
    for (int i = 0; i < 23; ++i) a.samples.push_back(tone(i, false));
    for (int k = 0; k < 96; ++k) a.sample_map[k] = uint8_t(k % 24);
    Instrument& b = m.instruments.emplace_back();
    b.name = "17 samples";
    for (int i = 0; i < 17; ++i) b.samples.push_back(tone(i, true));
    for (int k = 0; k < 96; ++k) b.sample_map[k] = uint8_t(k < 60 ? k % 16 : k < 84 ? 16 : 200);
    // Notes naming samples 0..23 of instrument 1 and 0..16 and 200 of instrument 2.
    std::vector<uint8_t> notes;
    for (int k = 0; k < 32; ++k) notes.push_back(uint8_t(1 + (k * 25) % 96));
    strike(m, notes);
    return m;
}

Module resized_module() {
    Module m;
    m.title = "resized";
    Instrument& a = m.instruments.emplace_back();
    a.header_size = 300;
    a.sample_header_size = 48;
    a.samples = {tone(0, false), tone(1, true)};
    for (int k = 48; k < 96; ++k) a.sample_map[k] = 1;
    a.volume.points = {{0, 64}, {16, 32}};
    a.volume.type = 1;
    Instrument& b = m.instruments.emplace_back();
    b.header_size = 250;
    b.sample_header_size = 30;  // the name cut after 12 bytes
    b.samples = {tone(2, false)};
    b.fadeout = 512;
    std::vector<uint8_t> notes;
    for (int k = 0; k < 32; ++k) notes.push_back(uint8_t(30 + (k * 7) % 50));
    strike(m, notes);
    for (Pattern& p : m.patterns) p.header_length = 12;
    m.header_size = 20 + uint32_t(m.orders.size());  // the order table ends with the used orders
    return m;
}

}  // namespace xmw
