// compose.cpp: sources to xmw::Module (see compose.h).
#include "tools/xmcompose/compose.h"

#include "tools/xmcompose/synth.h"

namespace xmc {

bool build_module(const Song& song, xmw::Module& m, std::string& error) {
    m = xmw::Module{};
    m.title = song.title;
    m.channels = uint16_t(song.channels);
    m.restart = uint16_t(song.restart);
    m.flags = song.linear ? 1 : 0;
    m.speed = uint16_t(song.speed);
    m.bpm = uint16_t(song.bpm);
    for (int o : song.orders) m.orders.push_back(uint8_t(o));
    for (const Pattern& p : song.patterns) {
        xmw::Pattern out;
        out.rows = uint16_t(p.rows);
        out.cells.reserve(p.cells.size());
        for (const Cell& c : p.cells) {
            xmw::Cell w;
            w.note = c.note;
            w.instrument = c.instrument;
            w.volume = c.volume;
            w.effect = c.effect;
            w.parameter = c.parameter;
            out.cells.push_back(w);
        }
        m.patterns.push_back(std::move(out));
    }
    for (const InstrumentSource& ins : song.instruments) {
        SampleData data;
        if (!synthesise(ins, data, error)) return false;
        xmw::Sample s;
        s.data = std::move(data.data);
        s.loop_start = data.loop_start;
        s.loop_length = data.loop_length;
        s.loop_type = data.loop_type;
        s.volume = uint8_t(ins.volume);
        s.panning = uint8_t(ins.panning);
        s.finetune = int8_t(ins.finetune);
        s.relative_note = int8_t(ins.relative_note);
        s.name = ins.name;
        xmw::Instrument out;
        out.name = ins.name;
        out.samples.push_back(std::move(s));
        m.instruments.push_back(std::move(out));
    }
    return true;
}

}  // namespace xmc
