// xmwriter.cpp: the XM writer (see xmwriter.h).
#include "tools/xmwriter/xmwriter.h"

#include <algorithm>
#include <cstdlib>

namespace xmw {

namespace {

using Bytes = std::vector<uint8_t>;

void put8(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)); }
void put16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void put_text(Bytes& b, const std::string& s, size_t width) {
    for (size_t i = 0; i < width; ++i) b.push_back(i < s.size() ? uint8_t(s[i]) : 0);
}

Bytes encode_packed4(const Sample& s) {
    Bytes out;
    for (int8_t t : s.packed4_table) out.push_back(uint8_t(t));
    const auto& table = s.packed4_table;
    int zero = 0;
    for (int i = 0; i < 16; ++i)
        if (table[i] == 0) {
            zero = i;
            break;
        }
    uint8_t acc = 0;
    auto nibble_for = [&](int16_t value) {
        uint8_t want = uint8_t(value >> 8);
        int best = 0, best_distance = 1 << 30;
        for (int n = 0; n < 16; ++n) {
            uint8_t got = uint8_t(acc + uint8_t(table[n]));
            int d = std::abs(int(int8_t(uint8_t(got - want))));
            if (d < best_distance) {
                best = n;
                best_distance = d;
            }
        }
        acc = uint8_t(acc + uint8_t(table[best]));
        return best;
    };
    for (size_t i = 0; i < s.data.size(); i += 2) {
        int low = nibble_for(s.data[i]);
        int high = i + 1 < s.data.size() ? nibble_for(s.data[i + 1]) : zero;
        out.push_back(uint8_t(low | high << 4));
    }
    return out;
}

Bytes instrument_header(const Instrument& ins) {
    Bytes h;
    const bool has_samples = !ins.samples.empty();
    uint32_t size = ins.header_size ? *ins.header_size : has_samples ? 263 : 29;
    put32(h, size);
    put_text(h, ins.name, 22);
    put8(h, ins.type);
    put16(h, ins.sample_count ? *ins.sample_count : uint16_t(ins.samples.size()));
    if (has_samples || ins.header_size) {
        put32(h, ins.sample_header_size);
        for (uint8_t s : ins.sample_map) put8(h, s);
        for (const Envelope* e : {&ins.volume, &ins.panning})
            for (size_t i = 0; i < 12; ++i) {
                EnvelopePoint p = i < e->points.size() ? e->points[i] : EnvelopePoint{};
                put16(h, p.x);
                put16(h, p.y);
            }
        put8(h, ins.volume.point_count ? *ins.volume.point_count : uint8_t(ins.volume.points.size()));
        put8(h, ins.panning.point_count ? *ins.panning.point_count : uint8_t(ins.panning.points.size()));
        put8(h, ins.volume.sustain);
        put8(h, ins.volume.loop_start);
        put8(h, ins.volume.loop_end);
        put8(h, ins.panning.sustain);
        put8(h, ins.panning.loop_start);
        put8(h, ins.panning.loop_end);
        put8(h, ins.volume.type);
        put8(h, ins.panning.type);
        put8(h, ins.vibrato_type);
        put8(h, ins.vibrato_sweep);
        put8(h, ins.vibrato_depth);
        put8(h, ins.vibrato_rate);
        put16(h, ins.fadeout);
        h.resize(263, 0);  // reserved
    }
    h.resize(size, 0);
    return h;
}

void sample_header(Bytes& out, const Sample& s, uint32_t size) {
    Bytes b;
    const uint32_t unit = s.sixteen_bit ? 2 : 1;
    put32(b, s.length_field ? *s.length_field : uint32_t(s.data.size()) * unit);
    put32(b, s.loop_start_field ? *s.loop_start_field : s.loop_start * unit);
    put32(b, s.loop_length_field ? *s.loop_length_field : s.loop_length * unit);
    put8(b, s.volume);
    put8(b, uint8_t(s.finetune));
    put8(b, s.type_byte ? *s.type_byte : uint8_t(s.loop_type | (s.sixteen_bit ? 0x10 : 0)));
    put8(b, s.panning);
    put8(b, uint8_t(s.relative_note));
    put8(b, s.reserved_byte ? *s.reserved_byte : s.packed4 ? 0xAD : 0);
    put_text(b, s.name, 22);
    b.resize(size, 0);
    out.insert(out.end(), b.begin(), b.end());
}

bool older_layout(const Module& m) { return m.version == 0x0102 || m.version == 0x0103; }

void write_patterns(Bytes& b, const Module& m) {
    const bool short_header = m.version == 0x0102;
    for (const Pattern& p : m.patterns) {
        Bytes data = encode_pattern(p, m.channels);
        Bytes h;
        const uint32_t length = p.header_length ? *p.header_length : short_header ? 8 : 9;
        put32(h, length);
        put8(h, p.packing_type);
        if (short_header)
            put8(h, p.stored_rows ? *p.stored_rows : uint32_t(p.rows) - 1);
        else
            put16(h, p.stored_rows ? *p.stored_rows : p.rows);
        put16(h, p.packed_size ? *p.packed_size : uint16_t(data.size()));
        h.resize(length, 0);
        b.insert(b.end(), h.begin(), h.end());
        b.insert(b.end(), data.begin(), data.end());
    }
}

void write_instrument_heads(Bytes& b, const Instrument& ins) {
    Bytes h = instrument_header(ins);
    b.insert(b.end(), h.begin(), h.end());
    for (const Sample& s : ins.samples) sample_header(b, s, ins.sample_header_size);
}

void write_sample_data(Bytes& b, const Instrument& ins) {
    for (const Sample& s : ins.samples) {
        Bytes data = encode_sample(s);
        b.insert(b.end(), data.begin(), data.end());
    }
}

}  // namespace

std::vector<uint8_t> encode_sample(const Sample& s) {
    if (s.raw) return *s.raw;
    if (s.packed4) return encode_packed4(s);
    Bytes out;
    if (s.sixteen_bit) {
        uint16_t previous = 0;
        for (int16_t v : s.data) {
            put16(out, uint16_t(uint16_t(v) - previous));
            previous = uint16_t(v);
        }
    } else {
        uint8_t previous = 0;
        for (int16_t v : s.data) {
            uint8_t byte = uint8_t(v >> 8);
            out.push_back(uint8_t(byte - previous));
            previous = byte;
        }
    }
    return out;
}

std::vector<uint8_t> encode_pattern(const Pattern& p, int channels) {
    if (p.raw) return *p.raw;
    Bytes out;
    const size_t count = size_t(p.rows) * size_t(channels > 0 ? channels : 0);
    for (size_t i = 0; i < count; ++i) {
        Cell c = i < p.cells.size() ? p.cells[i] : Cell{};
        if (!p.packed) {
            out.insert(out.end(), {c.note, c.instrument, c.volume, c.effect, c.parameter});
            continue;
        }
        uint8_t mask = 0x80 | (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) | (c.effect ? 8 : 0) |
                       (c.parameter ? 16 : 0);
        out.push_back(mask);
        if (c.note) out.push_back(c.note);
        if (c.instrument) out.push_back(c.instrument);
        if (c.volume) out.push_back(c.volume);
        if (c.effect) out.push_back(c.effect);
        if (c.parameter) out.push_back(c.parameter);
    }
    return out;
}

std::vector<uint8_t> xm_write(const Module& m) {
    Bytes b;
    put_text(b, m.id, 17);
    put_text(b, m.title, 20);
    put8(b, 0x1A);
    put_text(b, m.tracker, 20);
    put16(b, m.version);
    put32(b, m.header_size);
    const size_t stored_orders = std::min<size_t>(m.orders.size(), 256);
    put16(b, m.song_length ? *m.song_length : uint16_t(stored_orders));
    put16(b, m.restart);
    put16(b, m.channels);
    put16(b, m.pattern_count ? *m.pattern_count : uint16_t(m.patterns.size()));
    put16(b, m.instrument_count ? *m.instrument_count : uint16_t(m.instruments.size()));
    put16(b, m.flags);
    put16(b, m.speed);
    put16(b, m.bpm);
    for (size_t i = 0; i < 256; ++i) put8(b, i < stored_orders ? m.orders[i] : 0);
    b.resize(60 + size_t(m.header_size), 0);

    if (older_layout(m)) {
        for (const Instrument& ins : m.instruments) write_instrument_heads(b, ins);
        write_patterns(b, m);
        for (const Instrument& ins : m.instruments) write_sample_data(b, ins);
    } else {
        write_patterns(b, m);
        for (const Instrument& ins : m.instruments) {
            write_instrument_heads(b, ins);
            write_sample_data(b, ins);
        }
    }
    return b;
}

Cell& cell(Module& m, int pattern, int row, int channel) {
    if (size_t(pattern) >= m.patterns.size()) m.patterns.resize(size_t(pattern) + 1);
    Pattern& p = m.patterns[size_t(pattern)];
    size_t index = size_t(row) * m.channels + size_t(channel);
    size_t needed = std::max(index + 1, size_t(p.rows) * m.channels);
    if (p.cells.size() < needed) p.cells.resize(needed);
    return p.cells[index];
}

}  // namespace xmw
