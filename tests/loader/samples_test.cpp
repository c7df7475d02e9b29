// samples_test.cpp: sample heads (16-bit halving, unlooped normalisation,
// loops cut back into the frames), the three data codings, the guard, and
// the failures: 16-bit data marked 4-bit packed, sizes past memory.
#include "platform/heap.h"
#include "tests/loader/load_fixture.h"

namespace loader_test {
namespace {

// A module whose only instrument holds the given samples.
xmw::Module with_samples(std::vector<xmw::Sample> samples) {
    xmw::Module m;
    m.channels = 1;
    m.orders = {0};
    m.patterns.push_back({.rows = 1});
    m.instruments.emplace_back().samples = std::move(samples);
    return m;
}

TEST_F(LoaderTest, SampleDataDecoding) {
    const std::vector<uint8_t> table = {0, 1, 2, 4, 8, 16, 32, 64, 0xFF, 0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80};
    auto packed = [&](std::vector<uint8_t> nibbles) {
        std::vector<uint8_t> b = table;
        b.insert(b.end(), nibbles.begin(), nibbles.end());
        return b;
    };
    struct Case {
        const char* what;
        xmw::Sample sample;
        std::vector<int16_t> values;  // the frames, then what follows them
    };
    const Case cases[] = {
        {"8-bit deltas", {.data = std::vector<int16_t>(3), .raw = std::vector<uint8_t>{10, 246, 20}},
         {2560, 0, 5120, 0, 0, 0}},
        {"8-bit deltas wrap", {.data = std::vector<int16_t>(3), .raw = std::vector<uint8_t>{0x7F, 0x02, 0xFF}},
         {0x7F00, -0x7F00, -0x8000, 0}},
        {"16-bit deltas wrap",
         {.data = std::vector<int16_t>(3), .sixteen_bit = true,
          .raw = std::vector<uint8_t>{0xFF, 0x7F, 0x02, 0x00, 0x00, 0x80}},
         {0x7FFF, -0x7FFF, 1, 0}},
        {"8-bit through the writer", {.data = {-32768, -256, 0, 256, 32512}}, {-32768, -256, 0, 256, 32512, 0}},
        {"16-bit through the writer", {.data = {-32768, -1, 0, 1, 32767}, .sixteen_bit = true},
         {-32768, -1, 0, 1, 32767, 0}},
        {"4-bit, low nibble first", {.data = std::vector<int16_t>(4), .packed4 = true, .raw = packed({0x21, 0x8F})},
         {256, 768, -32000, -32256, 0}},  // 3 - 128 wraps to 0x83, then 0x82
        // An odd length decodes one value more; the (absent) guard follows it.
        {"4-bit, odd length", {.data = std::vector<int16_t>(3), .packed4 = true, .raw = packed({0x11, 0x71})},
         {256, 512, 768, 64 * 256 + 768, 0, 0}},
        {"data cut short", {.data = std::vector<int16_t>(4), .raw = std::vector<uint8_t>{5}}, {1280, 1280, 1280, 1280}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(load(with_samples({c.sample})), 1) << c.what;
        const SampleRecord* s = sample(0, 0);
        EXPECT_EQ(values(s, int(c.values.size())), c.values) << c.what;
        check_tables();
    }
}

TEST_F(LoaderTest, GuardValue) {
    const std::vector<int16_t> v = {10 << 8, 20 << 8, 30 << 8, 40 << 8, 50 << 8};
    struct Case {
        const char* what;
        uint8_t loop_type;
        uint32_t loop_start, loop_length;
        bool packed4;
        int16_t guard;
    };
    const Case cases[] = {
        {"forward: the value at loop start", 1, 2, 3, false, 30 << 8},
        {"ping-pong: the last value", 2, 1, 2, false, 50 << 8},
        {"none", 0, 0, 0, false, 0},
        {"type 3: no guard", 3, 1, 3, false, 0},
        {"forward, 4-bit", 1, 1, 4, true, 20 << 8},
    };
    for (const Case& c : cases) {
        xmw::Sample s{.data = v, .packed4 = c.packed4, .loop_start = c.loop_start, .loop_length = c.loop_length,
                      .loop_type = c.loop_type};
        s.packed4_table = {0, 10, 20, 30, 40, 50, 60, 70, -10, -20, -30, -40, -50, -60, -70, -80};
        ASSERT_EQ(load(with_samples({s})), 1) << c.what;
        const SampleRecord* r = sample(0, 0);
        ASSERT_EQ(values(r, 5), v) << c.what;
        // 4-bit data of odd length: index 5 holds the extra decoded value.
        const int at = c.packed4 ? 6 : 5;
        EXPECT_EQ(r->data[at], c.guard) << c.what;
        EXPECT_EQ(r->data[at + 1], 0) << c.what;
    }
}

TEST_F(LoaderTest, SampleHeads) {
    struct Case {
        const char* what;
        bool sixteen_bit;
        uint8_t type;
        uint32_t length, loop_start, loop_length;  // as stored, in bytes
        int32_t frames, start, span;
        uint8_t loop_type;
    };
    const Case cases[] = {
        {"forward loop", false, 1, 10, 2, 5, 10, 2, 5, 1},
        {"no loop type: unlooped", false, 0, 10, 2, 5, 10, 0, 10, 0},
        {"loop type 1, loop length 0: unlooped", false, 1, 10, 4, 0, 10, 0, 10, 0},
        {"16-bit halves the byte counts", true, 2, 21, 5, 9, 10, 2, 4, 2},
        {"type 3 as read", false, 3, 10, 1, 8, 10, 1, 8, 3},
        // Loops reaching past the frames are cut back into them.
        {"loop end past the frames", false, 1, 10, 4, 20, 10, 4, 6, 1},
        {"loop length near 2^32", false, 2, 10, 3, 0xFFFFFFFF, 10, 3, 7, 2},
        {"loop start past the frames", false, 1, 10, 12, 5, 10, 0, 10, 0},
        {"loop start at the end", false, 1, 10, 10, 5, 10, 0, 10, 0},
        {"empty sample with a loop", false, 1, 0, 0, 4, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        xmw::Sample s{.data = std::vector<int16_t>(c.sixteen_bit ? c.length / 2 : c.length), .sixteen_bit = c.sixteen_bit,
                      .volume = 33, .panning = 200, .finetune = -128, .relative_note = -12, .name = "AB"};
        s.length_field = c.length;
        s.loop_start_field = c.loop_start;
        s.loop_length_field = c.loop_length;
        s.type_byte = uint8_t(c.type | (c.sixteen_bit ? 0x10 : 0));
        ASSERT_EQ(load(with_samples({s})), 1) << c.what;
        const SampleRecord* r = sample(0, 0);
        EXPECT_EQ(r->length, c.frames) << c.what;
        EXPECT_EQ(r->loop_start, c.start) << c.what;
        EXPECT_EQ(r->loop_length, c.span) << c.what;
        EXPECT_EQ(r->loop_type, c.loop_type) << c.what;
        EXPECT_EQ(r->is_16bit, c.sixteen_bit ? 1 : 0);
        EXPECT_EQ(r->volume, 33);
        EXPECT_EQ(r->panning, 200);
        EXPECT_EQ(r->finetune, -128);
        EXPECT_EQ(r->relative_note, -12);
        EXPECT_EQ(r->packing, 0);
        EXPECT_EQ(r->name_byte, 'B');
        check_tables();
    }
}

TEST_F(LoaderTest, SamplesFollowAllHeadersOfTheirInstrument) {
    xmw::Module m = with_samples({{.data = {256, 512}}, {.data = {1000, 2000, 3000}, .sixteen_bit = true},
                                  {.data = {512, 1024, 1536}, .packed4 = true}});
    m.instruments.push_back(m.instruments[0]);
    ASSERT_EQ(load(m), 1);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(values(sample(i, 0), 2), (std::vector<int16_t>{256, 512}));
        EXPECT_EQ(values(sample(i, 1), 3), (std::vector<int16_t>{1000, 2000, 3000}));
        EXPECT_EQ(values(sample(i, 2), 3), (std::vector<int16_t>{512, 1024, 1536}));
        EXPECT_EQ(sample(i, 2)->packing, 0xAD);
    }
}

TEST_F(LoaderTest, SampleFailures) {
    struct Case {
        const char* what;
        xmw::Sample sample;
    };
    const Case cases[] = {
        {"16-bit data marked 4-bit packed", {.data = {1, 2}, .sixteen_bit = true, .packed4 = true}},
        // 20 + 2 x length + 6 wraps to 0 in 32 bits.
        {"length 2^31 - 3", {.length_field = 0x7FFFFFFD, .raw = std::vector<uint8_t>{}}},
        {"length near 2^32", {.length_field = 0xFFFFFFFF, .raw = std::vector<uint8_t>{}}},
        {"16-bit length near 2^32", {.sixteen_bit = true, .length_field = 0xFFFFFFFE, .raw = std::vector<uint8_t>{}}},
        {"more than the heap allows", {.length_field = 200u << 20, .raw = std::vector<uint8_t>{}}},
    };
    for (const Case& c : cases) EXPECT_EQ(load(with_samples({{.data = {256}}, c.sample})), 0) << c.what;
}

TEST_F(LoaderTest, AllocationFailureFailsTheLoad) {
    // No heap at all.
    drop_heap();
    const std::vector<uint8_t> bytes = xmw::xm_write(small_module());
    source_select(1, int32_t(bytes.size()));
    EXPECT_EQ(module_load(bytes.data()), 0);
    EXPECT_EQ(player_alloc(16), nullptr);

    // Patterns that claim more than the heap's limit between them (no cell
    // data is read for them, so nothing but the memory is asked for).
    xmw::Module m;
    m.channels = 32;
    m.orders = {0};
    m.patterns.assign(26, xmw::Pattern{.rows = 65535, .packed_size = 0, .raw = std::vector<uint8_t>{}});
    EXPECT_EQ(load(m), 0);
    EXPECT_LE(platform::heap_bytes(stream.heap), platform::heap_limit);
}

}  // namespace
}  // namespace loader_test
