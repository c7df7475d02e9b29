// synth.h: synthesises an instrument's one sample from its recipe.
//
//   xmc::SampleData s;
//   if (!xmc::synthesise(instrument, s, error)) fail(error);   // "instruments.txt:12: ..."
//
// Every sample is 8-bit: the values are multiples of 256 (the stored byte is
// value >> 8), normalised so that the loudest frame reaches +-127.
//
// Pitch: a note C-4 plays the sample at rate = 8363 x 2^((relative + finetune/128) / 12)
// frames per second. Tonal recipes (pluck, pulse, pad) make one cycle last
// rate / (8363 / 32) frames, so every note sounds at its own pitch; the
// drum recipes (kick, snare, hat) give their times in seconds and their
// frequencies in Hz at that rate, as heard on C-4.
//
// Recipes and their parameters (times in seconds, all optional):
//   pluck  plucked string: length damping brightness body body_decay seed
//   pulse  band-limited pulse, forward loop with a pulse-width sweep:
//          length loop harmonics width width_low width_high sweeps
//   pad    detuned saws, ping-pong loop: length loop voices detune harmonics tilt attack seed
//   kick   sine with a falling pitch: length start end sweep decay click drive
//   snare  tone and band-passed noise: length tone tone_decay tone_level noise_decay
//          noise_level lowpass highpass seed
//   hat    high-passed noise and a bank of square waves: length decay highpass metal seed
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xmcompose/source.h"

namespace xmc {

struct SampleData {
    std::vector<int16_t> data;  // multiples of 256
    uint32_t loop_start = 0, loop_length = 0;
    uint8_t loop_type = 0;  // 0 none, 1 forward, 2 ping-pong
};

bool synthesise(const InstrumentSource& instrument, SampleData& out, std::string& error);

// The rate at which note C-4 plays a sample with these settings.
double c4_rate(int relative_note, int finetune);

}  // namespace xmc
