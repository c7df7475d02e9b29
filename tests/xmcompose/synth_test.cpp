// synth_test.cpp: the instrument recipes give 8-bit samples at full scale,
// loops that close on whole cycles, exact tuning, and faults in recipes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tools/xmcompose/synth.h"

namespace {

xmc::InstrumentSource recipe(const std::string& kind, int relative = 12) {
    xmc::InstrumentSource s;
    s.number = 1;
    s.name = kind;
    s.recipe = kind;
    s.relative_note = relative;
    s.file = "instruments.txt";
    s.line = 7;
    return s;
}

// The lag (in frames) with the highest normalised autocorrelation, from 8 to max_lag.
int best_lag(const std::vector<int16_t>& v, size_t from, size_t count, int max_lag) {
    int best = 0;
    double best_r = -2;
    for (int lag = 8; lag <= max_lag; ++lag) {
        double c = 0, e0 = 0, e1 = 0;
        for (size_t i = from; i < from + count; ++i) {
            c += double(v[i]) * v[i + lag];
            e0 += double(v[i]) * v[i];
            e1 += double(v[i + lag]) * v[i + lag];
        }
        double r = c / std::sqrt(e0 * e1 + 1);
        if (r > best_r) best_r = r, best = lag;
    }
    return best;
}

TEST(Synth, EveryRecipeGivesFullScale8BitValues) {
    for (const char* kind : {"pluck", "pulse", "pad", "kick", "snare", "hat"}) {
        xmc::SampleData s;
        std::string error;
        ASSERT_TRUE(xmc::synthesise(recipe(kind), s, error)) << error;
        ASSERT_GT(s.data.size(), 1000u) << kind;
        int peak = 0;
        for (int16_t v : s.data) {
            ASSERT_EQ(v % 256, 0) << kind;
            ASSERT_LE(std::abs(int(v)), 127 * 256) << kind;
            peak = std::max(peak, std::abs(int(v)));
        }
        EXPECT_EQ(peak, 127 * 256) << kind;
        if (s.loop_type == 0) {
            EXPECT_EQ(s.data.back(), 0) << kind << " ends without a click";
        }
    }
}

TEST(Synth, TonalRecipesAreTunedToC4) {
    // relative 12 puts C-4 at 16,726 frames per second: one cycle is 64 frames.
    for (const char* kind : {"pluck", "pulse", "pad"}) {
        xmc::SampleData s;
        std::string error;
        ASSERT_TRUE(xmc::synthesise(recipe(kind, 12), s, error)) << error;
        EXPECT_EQ(best_lag(s.data, 2000, 1500, 100), 64) << kind;
    }
}

TEST(Synth, LoopsCloseWithinTheSample) {
    xmc::SampleData pulse, pad;
    std::string error;
    ASSERT_TRUE(xmc::synthesise(recipe("pulse", 0), pulse, error)) << error;
    ASSERT_TRUE(xmc::synthesise(recipe("pad", 0), pad, error)) << error;
    EXPECT_EQ(pulse.loop_type, 1);
    EXPECT_EQ(pulse.loop_start + pulse.loop_length, pulse.data.size());
    EXPECT_EQ(pulse.loop_start % 32, 0u);
    EXPECT_EQ(pulse.loop_length % 32, 0u) << "a forward loop of whole cycles joins without a step";
    // the last frame of the loop leads smoothly into its first
    int step = std::abs(pulse.data[pulse.loop_start] - pulse.data.back());
    int typical = 0;
    for (size_t i = pulse.loop_start + 1; i < pulse.data.size(); ++i)
        typical = std::max(typical, std::abs(pulse.data[i] - pulse.data[i - 1]));
    EXPECT_LE(step, typical);
    EXPECT_EQ(pad.loop_type, 2);
    EXPECT_GT(pad.loop_start, 0u);
    EXPECT_EQ(pad.loop_start + pad.loop_length, pad.data.size());
}

TEST(Synth, RecipeFaultsNameTheInstrumentsLine) {
    xmc::InstrumentSource unknown = recipe("organ");
    xmc::InstrumentSource typo = recipe("kick");
    typo.params["decya"] = 0.1;
    xmc::InstrumentSource empty = recipe("hat");
    empty.params["length"] = 0;
    xmc::InstrumentSource late_loop = recipe("pad");
    late_loop.params["loop"] = 0.6;
    late_loop.params["length"] = 0.5;
    for (const xmc::InstrumentSource& s : {unknown, typo, empty, late_loop}) {
        xmc::SampleData out;
        std::string error;
        EXPECT_FALSE(xmc::synthesise(s, out, error));
        EXPECT_EQ(error.rfind("instruments.txt:7:", 0), 0u) << error;
    }
}

TEST(Synth, TheSameRecipeGivesTheSameSample) {
    xmc::InstrumentSource s = recipe("snare");
    s.params["seed"] = 4;
    xmc::SampleData a, b;
    std::string error;
    ASSERT_TRUE(xmc::synthesise(s, a, error));
    ASSERT_TRUE(xmc::synthesise(s, b, error));
    EXPECT_EQ(a.data, b.data);
}

}  // namespace
