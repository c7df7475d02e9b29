// synth.cpp: the instrument recipes (see synth.h). Each recipe renders into
// a float buffer in -1..1; finish() normalises it and rounds it to 8 bits.
#include "tools/xmcompose/synth.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace xmc {
namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double c4_hz = 8363.0 / 32.0;  // the pitch of note C-4 on every tonal sample

// A recipe's parameter table: the names it knows and their defaults.
struct Params {
    const InstrumentSource& source;
    std::map<std::string, double> defaults;

    double operator[](const std::string& name) const {
        auto it = source.params.find(name);
        return it != source.params.end() ? it->second : defaults.at(name);
    }
    bool check(std::string& error) const {
        for (const auto& [name, value] : source.params) {
            if (!defaults.count(name)) {
                error = source.file + ":" + std::to_string(source.line) + ": instrument " +
                        std::to_string(source.number) + ": recipe " + source.recipe + " has no parameter '" +
                        name + "'";
                return false;
            }
        }
        return true;
    }
};

// Deterministic white noise in -1..1 (xorshift32), the same on every machine.
struct Noise {
    uint32_t state;
    explicit Noise(double seed) : state(uint32_t(seed) * 2654435761u + 12345u) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }
};

// One-pole low-pass; high-pass is the input less the low-pass.
struct OnePole {
    double a, y = 0;
    OnePole(double hz, double rate) : a(1.0 - std::exp(-2.0 * pi * hz / rate)) {}
    double low(double x) { return y += a * (x - y); }
    double high(double x) { return x - low(x); }
};

size_t frames_of(double seconds, double rate) { return size_t(std::max(1.0, std::round(seconds * rate))); }

// Fades the last `frames` frames to silence so an unlooped sample ends without a click.
void fade_tail(std::vector<double>& v, size_t frames) {
    frames = std::min(frames, v.size());
    for (size_t i = 0; i < frames; ++i) v[v.size() - 1 - i] *= double(i) / double(frames);
}

void fade_head(std::vector<double>& v, size_t frames) {
    frames = std::min(frames, v.size());
    for (size_t i = 0; i < frames; ++i) v[i] *= double(i) / double(frames);
}

// Normalises to a peak of 127 and rounds to 8-bit steps.
void finish(const std::vector<double>& v, SampleData& out) {
    double peak = 0;
    for (double x : v) peak = std::max(peak, std::fabs(x));
    double scale = peak > 0 ? 127.0 / peak : 0.0;
    out.data.resize(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        long q = std::lround(v[i] * scale);
        out.data[i] = int16_t(std::clamp(q, -127L, 127L) * 256);
    }
}

// Karplus-Strong string: a delay line of one cycle whose feedback runs
// through a symmetric three-tap low-pass (so the tuning stays exact), with a
// decaying sine at the fundamental for body.
void pluck(const Params& p, double rate, SampleData& out) {
    const double period = rate / c4_hz;
    const size_t len = frames_of(p["length"], rate);
    const size_t P = size_t(std::lround(period));
    Noise noise(p["seed"]);
    OnePole colour(200.0 + 8000.0 * p["brightness"], rate);
    std::vector<double> y(len, 0.0);
    for (size_t i = 0; i < P && i < len; ++i) y[i] = colour.low(noise.next());
    const double loss = 1.0 - p["damping"] * 0.02, blend = p["brightness"];
    for (size_t i = P; i < len; ++i) {
        double straight = y[i - P];
        double smooth = 0.5 * y[i - P] + 0.25 * y[i - P + 1] + 0.25 * (i > P ? y[i - P - 1] : 0.0);
        y[i] = loss * (blend * straight + (1.0 - blend) * smooth);
    }
    double string_peak = 0;
    for (double v : y) string_peak = std::max(string_peak, std::fabs(v));
    const double body = p["body"], body_tau = p["body_decay"] * rate;
    for (size_t i = 0; i < len; ++i) {
        double s = std::sin(2.0 * pi * double(i) / period) * std::exp(-double(i) / body_tau);
        y[i] = (1.0 - body) * y[i] / (string_peak > 0 ? string_peak : 1.0) + body * s;
    }
    fade_head(y, 8);
    fade_tail(y, len / 8);
    finish(y, out);
}

// Band-limited pulse by additive synthesis with a per-frame width: the
// attack glides from `width` to `width_high`; the loop sweeps the width down
// to `width_low` and back `sweeps` times, a whole number of cycles long.
void pulse(const Params& p, double rate, SampleData& out) {
    const double period = rate / c4_hz;
    const size_t P = size_t(std::lround(period));
    const size_t head = std::max<size_t>(1, size_t(std::lround(p["loop"] * rate / P))) * P;
    const size_t loop = std::max<size_t>(1, size_t(std::lround((p["length"] - p["loop"]) * rate / P))) * P;
    const int harmonics = std::clamp(int(p["harmonics"]), 1, int(P / 2));
    const double lo = p["width_low"], hi = p["width_high"], sweeps = std::max(1.0, std::round(p["sweeps"]));
    std::vector<double> y(head + loop);
    for (size_t i = 0; i < y.size(); ++i) {
        double width;
        if (i < head) width = p["width"] + (hi - p["width"]) * double(i) / double(head);
        else width = 0.5 * (lo + hi) + 0.5 * (hi - lo) * std::cos(2.0 * pi * sweeps * double(i - head) / double(loop));
        double phase = double(i % P) / double(P), v = 0;
        for (int k = 1; k <= harmonics; ++k) {
            double sigma = k == 0 ? 1.0 : std::sin(pi * k / (harmonics + 1)) / (pi * k / (harmonics + 1));
            v += sigma * (2.0 / (k * pi)) * std::sin(pi * k * width) * std::cos(2.0 * pi * k * (phase - width / 2));
        }
        y[i] = v;
    }
    fade_head(y, 16);
    finish(y, out);
    out.loop_start = uint32_t(head);
    out.loop_length = uint32_t(loop);
    out.loop_type = 1;
}

// Detuned saws (harmonic k at 1/k^tilt) with a slow attack; the part after
// `loop` plays as a ping-pong loop, so the beating of the voices never repeats bluntly.
void pad(const Params& p, double rate, SampleData& out) {
    const double period = rate / c4_hz;
    const size_t len = frames_of(p["length"], rate), head = frames_of(p["loop"], rate);
    const int voices = std::clamp(int(p["voices"]), 1, 16);
    const int harmonics = std::max(1, int(p["harmonics"]));
    const double spread = p["detune"], tilt = p["tilt"];
    Noise noise(p["seed"]);
    std::vector<double> y(len, 0.0);
    for (int v = 0; v < voices; ++v) {
        double cents = voices == 1 ? 0.0 : spread * (2.0 * v / (voices - 1) - 1.0);
        double f = std::pow(2.0, cents / 1200.0) / period;
        double phase0 = noise.next() * pi;
        for (int k = 1; k <= harmonics && k * f < 0.45; ++k) {
            double a = std::pow(double(k), -tilt);
            for (size_t i = 0; i < len; ++i) y[i] += a * std::sin(2.0 * pi * k * f * double(i) + phase0 * k);
        }
    }
    const size_t attack = frames_of(p["attack"], rate);
    for (size_t i = 0; i < std::min(attack, len); ++i) y[i] *= 0.5 - 0.5 * std::cos(pi * double(i) / double(attack));
    finish(y, out);
    out.loop_start = uint32_t(std::min(head, len - 1));
    out.loop_length = uint32_t(len - out.loop_start);
    out.loop_type = 2;
}

// A sine whose pitch falls exponentially from `start` to `end` Hz, with a
// short noise click and some saturation.
void kick(const Params& p, double rate, SampleData& out) {
    const size_t len = frames_of(p["length"], rate);
    const double f0 = p["start"], f1 = p["end"], sweep = p["sweep"] * rate, decay = p["decay"] * rate;
    const double drive = std::max(0.1, p["drive"]);
    Noise noise(7);
    std::vector<double> y(len);
    double phase = 0;
    for (size_t i = 0; i < len; ++i) {
        double t = double(i);
        double f = f1 + (f0 - f1) * std::exp(-t / sweep);
        phase += f / rate;
        double v = std::sin(2.0 * pi * phase) * std::exp(-t / decay);
        v += p["click"] * noise.next() * std::exp(-t / (0.002 * rate));
        y[i] = std::tanh(drive * v) / std::tanh(drive);
    }
    fade_tail(y, len / 10);
    finish(y, out);
}

// A decaying tone for the drum's body and band-passed noise for the wires.
void snare(const Params& p, double rate, SampleData& out) {
    const size_t len = frames_of(p["length"], rate);
    Noise noise(p["seed"]);
    OnePole low(p["lowpass"], rate), high(p["highpass"], rate);
    const double tone_tau = p["tone_decay"] * rate, noise_tau = p["noise_decay"] * rate;
    std::vector<double> y(len);
    double phase = 0;
    for (size_t i = 0; i < len; ++i) {
        double t = double(i);
        double f = p["tone"] * (1.0 + 0.5 * std::exp(-t / (0.01 * rate)));
        phase += f / rate;
        double tone = std::sin(2.0 * pi * phase) * std::exp(-t / tone_tau);
        double wires = high.high(low.low(noise.next())) * std::exp(-t / noise_tau);
        y[i] = p["tone_level"] * tone + p["noise_level"] * wires;
    }
    fade_tail(y, len / 10);
    finish(y, out);
}

// Metallic hat: six square waves at inharmonic ratios mixed with noise,
// high-passed twice, with an exponential decay.
void hat(const Params& p, double rate, SampleData& out) {
    const size_t len = frames_of(p["length"], rate);
    static const double ratios[6] = {2.0, 3.0, 4.16, 5.43, 6.79, 8.21};
    Noise noise(p["seed"]);
    OnePole h1(p["highpass"], rate), h2(p["highpass"], rate);
    const double tau = p["decay"] * rate, metal = p["metal"];
    std::vector<double> y(len);
    for (size_t i = 0; i < len; ++i) {
        double sq = 0;
        for (double r : ratios) sq += std::fmod(double(i) * 205.3 * r / rate, 1.0) < 0.5 ? 1.0 : -1.0;
        double x = metal * sq / 6.0 + (1.0 - metal) * noise.next();
        y[i] = h2.high(h1.high(x)) * std::exp(-double(i) / tau);
    }
    fade_tail(y, len / 8);
    finish(y, out);
}

}  // namespace

double c4_rate(int relative_note, int finetune) {
    return 8363.0 * std::pow(2.0, (relative_note + finetune / 128.0) / 12.0);
}

bool synthesise(const InstrumentSource& ins, SampleData& out, std::string& error) {
    using Recipe = void (*)(const Params&, double, SampleData&);
    struct Kind {
        Recipe make;
        std::map<std::string, double> defaults;
    };
    static const std::map<std::string, Kind> kinds = {
        {"pluck", {pluck, {{"length", 0.4}, {"damping", 0.3}, {"brightness", 0.5}, {"body", 0.4},
                           {"body_decay", 0.2}, {"seed", 1}}}},
        {"pulse", {pulse, {{"length", 0.4}, {"loop", 0.05}, {"harmonics", 12}, {"width", 0.5},
                           {"width_low", 0.2}, {"width_high", 0.45}, {"sweeps", 1}}}},
        {"pad", {pad, {{"length", 0.5}, {"loop", 0.1}, {"voices", 5}, {"detune", 12}, {"harmonics", 16},
                       {"tilt", 1.3}, {"attack", 0.08}, {"seed", 1}}}},
        {"kick", {kick, {{"length", 0.3}, {"start", 160}, {"end", 45}, {"sweep", 0.03}, {"decay", 0.1},
                         {"click", 0.3}, {"drive", 1.5}}}},
        {"snare", {snare, {{"length", 0.25}, {"tone", 185}, {"tone_decay", 0.05}, {"tone_level", 0.6},
                           {"noise_decay", 0.07}, {"noise_level", 1.0}, {"lowpass", 7000},
                           {"highpass", 900}, {"seed", 1}}}},
        {"hat", {hat, {{"length", 0.12}, {"decay", 0.03}, {"highpass", 6000}, {"metal", 0.4}, {"seed", 1}}}},
    };
    auto it = kinds.find(ins.recipe);
    if (it == kinds.end()) {
        error = ins.file + ":" + std::to_string(ins.line) + ": instrument " + std::to_string(ins.number) +
                ": unknown recipe '" + ins.recipe + "'";
        return false;
    }
    Params params{ins, it->second.defaults};
    if (!params.check(error)) return false;
    const std::string where = ins.file + ":" + std::to_string(ins.line) + ": instrument " + std::to_string(ins.number);
    if (!(params["length"] > 0 && params["length"] <= 4)) {
        error = where + ": length must lie in 0..4 seconds";
        return false;
    }
    if (it->second.defaults.count("loop") && !(params["loop"] >= 0 && params["loop"] < params["length"])) {
        error = where + ": the loop must start within the sample";
        return false;
    }
    out = SampleData{};
    it->second.make(params, c4_rate(ins.relative_note, ins.finetune), out);
    return true;
}

}  // namespace xmc
