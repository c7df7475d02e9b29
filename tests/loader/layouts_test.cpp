// layouts_test.cpp: the older layouts (0x0102, 0x0103) and the header sizes
// other trackers write load into the same tables as the format's own, and
// play the same; instruments of more than 16 samples load whole and play;
// what they claim beyond the data fails cleanly.
#include "music/offline.h"
#include "tests/loader/load_fixture.h"
#include "tools/xmwriter/fixtures.h"

namespace loader_test {
namespace {

xmw::Module in_version(xmw::Module m, uint16_t version) {
    m.version = version;
    return m;
}

// The blocks of the first `blocks` x 1,024 frames.
std::vector<uint8_t> render(const std::vector<uint8_t>& bytes, int blocks) {
    std::vector<uint8_t> out;
    if (!offline_start(bytes.data(), int32_t(bytes.size()), 1)) return out;
    for (int k = 0; k < blocks; ++k) {
        const uint8_t* b = offline_block();
        out.insert(out.end(), b, b + 4096);
    }
    offline_stop();
    return out;
}

bool silent(const std::vector<uint8_t>& pcm) {
    return std::all_of(pcm.begin(), pcm.end(), [](uint8_t b) { return b == 0; });
}

// Every sample format and an instrument without samples, an empty pattern
// and a 256-row one, for the layouts to agree on.
xmw::Module mixed_module() {
    xmw::Module m = small_module();
    m.patterns.push_back({.rows = 256});
    m.patterns.push_back({.rows = 1, .raw = std::vector<uint8_t>{}});  // packed size 0
    m.orders = {0, 2, 1, 3};
    xmw::cell(m, 2, 255, 1) = {60, 3, 0, 0, 0};
    m.instruments.emplace_back();  // no samples
    xmw::Instrument& c = m.instruments.emplace_back();
    c.samples.push_back({.data = {1000, -1000, 2000}, .sixteen_bit = true, .loop_start = 1, .loop_length = 2,
                         .loop_type = 2});
    c.samples.push_back({.data = {512, 1024, 1536, 2048, 256}, .packed4 = true});
    for (int k = 50; k < 96; ++k) c.sample_map[k] = 1;
    return m;
}

TEST_F(LoaderTest, OlderLayoutsLoadTheSameTablesAndPlayTheSame) {
    const struct {
        const char* what;
        xmw::Module m;
    } cases[] = {
        {"small", small_module()},
        {"mixed", mixed_module()},
        {"over-full instruments", xmw::overfull_module()},
        {"other header sizes", xmw::resized_module()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(load(c.m), 1);
        check_tables();
        const std::string want = dump_tables();
        const std::vector<uint8_t> sound = render(xmw::xm_write(c.m), 40);
        ASSERT_FALSE(sound.empty());
        EXPECT_FALSE(silent(sound));
        for (uint16_t version : {0x0102, 0x0103}) {
            SCOPED_TRACE(version);
            const std::vector<uint8_t> bytes = xmw::xm_write(in_version(c.m, version));
            ASSERT_NE(bytes, xmw::xm_write(c.m));
            ASSERT_EQ(load(bytes), 1);
            check_tables();
            EXPECT_EQ(dump_tables(), want);
            EXPECT_EQ(render(bytes, 40), sound);
        }
    }
}

TEST_F(LoaderTest, OldestLayoutCountsRowsInOneByte) {
    // The byte holds rows - 1: 0 is one row, 255 is 256 rows; the 0x0103
    // header has the 16-bit count.
    const struct {
        uint16_t version;
        uint16_t field;
        int rows;
    } cases[] = {{0x0102, 0, 1}, {0x0102, 63, 64}, {0x0102, 255, 256}, {0x0103, 300, 300}, {0x0104, 0, 0}};
    for (const auto& c : cases) {
        xmw::Module m;
        m.version = c.version;
        m.channels = 1;
        m.orders = {0, 1};
        m.patterns = {{.rows = 1, .stored_rows = c.field, .packed_size = 0, .raw = std::vector<uint8_t>{}}, {.rows = 1}};
        xmw::cell(m, 1, 0, 0).note = 7;
        ASSERT_EQ(load(m), 1) << c.version << " " << c.field;
        EXPECT_EQ(song.pattern_table[0].rows, c.rows) << c.version << " " << c.field;
        EXPECT_EQ(song.pattern_table[1].cells[0].note, 7) << c.version << " " << c.field;
        check_tables();
    }
}

TEST_F(LoaderTest, StoredHeaderSizesAreHonoured) {
    // Each case cuts or pads one header; fields past a cut read as zero and
    // whatever follows is still found where it was written.
    const xmw::Module base = small_module();
    struct Case {
        const char* what;
        std::function<void(xmw::Module&)> shape;
        std::function<void()> check;
    };
    const Case cases[] = {
        {"module header ending inside the order table",
         [](xmw::Module& m) { m.header_size = 20 + 2; },
         [] {
             EXPECT_EQ(song.song_length, 3);
             EXPECT_EQ(song.order_table[1], 1);
             EXPECT_EQ(song.order_table[2], 0);  // written as 0 after the cut: pattern bytes follow
             EXPECT_EQ(song.pattern_table[0].cells[0].note, 49);
         }},
        {"module header ending before the song length",
         [](xmw::Module& m) { m.header_size = 4; },
         [] {
             EXPECT_EQ(song.song_length, 0);
             EXPECT_EQ(song.channels, 0);
             EXPECT_EQ(song.default_bpm, 0);
         }},
        {"pattern headers of 20 bytes",
         [](xmw::Module& m) { m.patterns[0].header_length = m.patterns[1].header_length = 20; },
         [] {
             EXPECT_EQ(song.pattern_table[0].cells[0].note, 49);
             EXPECT_EQ(song.pattern_table[1].cells[7].note, 97);
             EXPECT_EQ(song.instruments[0].samples[0]->length, 6);
         }},
        {"pattern header without its packed size",
         [](xmw::Module& m) {
             m.patterns[0].header_length = 7;
             m.patterns[0].raw = std::vector<uint8_t>{};
         },
         [] {
             EXPECT_EQ(song.pattern_table[0].rows, 4);
             EXPECT_EQ(song.pattern_table[0].packed_size, 0);
             EXPECT_EQ(song.pattern_table[0].cells[0].note, 0);
             EXPECT_EQ(song.pattern_table[1].cells[7].note, 97);
         }},
        {"instrument header without its envelopes",
         [](xmw::Module& m) {
             xmw::Instrument& ins = m.instruments[0];
             ins.header_size = 33 + 96;
             ins.sample_map[5] = 3;
             ins.volume = {.points = {{0, 64}, {8, 32}}, .type = 1};
             ins.fadeout = 100;
         },
         [] {
             const Instrument& r = song.instruments[0];
             EXPECT_EQ(r.sample_map[5], 3);
             EXPECT_EQ(r.volume_points, 0);
             EXPECT_EQ(r.volume_type, 0);
             EXPECT_EQ(r.volume_envelope[1].x, 0);
             EXPECT_EQ(r.fadeout, 0);
             EXPECT_EQ(values(r.samples[0], 3), (std::vector<int16_t>{0, 4096, 8192}));
         }},
        {"instrument header before its sample count",
         [](xmw::Module& m) { m.instruments[0].header_size = 27; },
         [] {
             EXPECT_EQ(song.instruments[0].sample_count, 0);
             EXPECT_EQ(song.instruments[0].samples, nullptr);
         }},
        {"sample headers of 64 bytes",
         [](xmw::Module& m) { m.instruments[0].sample_header_size = 64; },
         [] {
             EXPECT_EQ(sample(0, 0)->length, 6);
             EXPECT_EQ(sample(0, 0)->loop_length, 4);
             EXPECT_EQ(values(sample(0, 0), 3), (std::vector<int16_t>{0, 4096, 8192}));
         }},
        {"sample headers without names or loop fields",
         [](xmw::Module& m) { m.instruments[0].sample_header_size = 8; },
         [] {
             // Length and loop start are there, the loop length and type are not.
             const SampleRecord* s = sample(0, 0);
             EXPECT_EQ(s->length, 6);
             EXPECT_EQ(s->loop_type, 0);
             EXPECT_EQ(s->volume, 0);
             EXPECT_EQ(values(s, 3), (std::vector<int16_t>{0, 4096, 8192}));
         }},
    };
    for (const Case& c : cases) {
        for (uint16_t version : {0x0104, 0x0102}) {
            SCOPED_TRACE(std::string(c.what) + " in " + std::to_string(version));
            xmw::Module m = in_version(base, version);
            c.shape(m);
            ASSERT_EQ(load(m), 1);
            c.check();
            check_tables();
        }
    }
}

TEST_F(LoaderTest, OverfullInstrumentsLoadEverySample) {
    const xmw::Module m = xmw::overfull_module();
    ASSERT_EQ(load(m), 1);
    check_tables();
    for (int i = 0; i < 2; ++i) {
        const xmw::Instrument& want = m.instruments[size_t(i)];
        const Instrument& r = song.instruments[i];
        ASSERT_EQ(r.sample_count, int(want.samples.size()));
        EXPECT_EQ(std::vector<uint8_t>(r.sample_map, r.sample_map + 96),
                  std::vector<uint8_t>(want.sample_map, want.sample_map + 96));
        for (int j = 0; j < r.sample_count; ++j) {
            const xmw::Sample& s = want.samples[size_t(j)];
            EXPECT_EQ(values(r.samples[j], int(s.data.size())), s.data) << i << " " << j;
            EXPECT_EQ(r.samples[j]->volume, s.volume) << i << " " << j;
        }
    }
}

TEST_F(LoaderTest, MapValuesBeyondTheSamplesPlayNothing) {
    // One note on instrument 1 of the over-full module: its map names
    // sample 22 (the last) for note 23, and 23 (past it) for note 24.
    for (uint8_t note : {uint8_t(23), uint8_t(24)}) {
        xmw::Module m = xmw::overfull_module();
        for (xmw::Pattern& p : m.patterns) p.cells.clear();
        xmw::cell(m, 0, 0, 0) = {note, 1, 0, 0, 0};
        const std::vector<uint8_t> sound = render(xmw::xm_write(m), 8);
        ASSERT_FALSE(sound.empty());
        EXPECT_EQ(silent(sound), note == 24) << int(note);
    }
}

TEST_F(LoaderTest, CutOrMislabelledLayoutsStayInBounds) {
    // Each fixture in each layout, cut at every 37th byte and at its last,
    // and labelled with the other layouts' versions: it loads or fails, and
    // what loads keeps every table in bounds, with no read past the block.
    const xmw::Module fixtures[] = {mixed_module(), xmw::overfull_module(), xmw::resized_module()};
    for (const xmw::Module& f : fixtures) {
        for (uint16_t version : {0x0102, 0x0103, 0x0104}) {
            const std::vector<uint8_t> bytes = xmw::xm_write(in_version(f, version));
            for (size_t n = 0; n <= bytes.size(); n += n + 37 < bytes.size() ? 37 : std::max<size_t>(1, bytes.size() - n)) {
                SCOPED_TRACE(f.title + " " + std::to_string(version) + " cut at " + std::to_string(n));
                if (load_exact(bytes, n)) check_tables();
                if (HasFatalFailure()) return;
            }
            for (uint16_t label : {0x0102, 0x0103, 0x0104}) {
                std::vector<uint8_t> relabelled = bytes;
                relabelled[58] = uint8_t(label);
                relabelled[59] = uint8_t(label >> 8);
                SCOPED_TRACE(f.title + " " + std::to_string(version) + " labelled " + std::to_string(label));
                if (load_exact(relabelled, relabelled.size())) check_tables();
                if (HasFatalFailure()) return;
            }
        }
    }
}

TEST_F(LoaderTest, SampleCountsBeyondTheDataFail) {
    auto with_count = [](int samples, std::optional<uint16_t> count) {
        xmw::Module m = small_module();
        m.instruments[0].samples.assign(size_t(samples), {.data = {256, 512}});
        m.instruments[0].sample_count = count;
        return xmw::xm_write(m);
    };
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int32_t result;
    } cases[] = {
        {"17 samples", with_count(17, {}), 1},
        {"255 samples", with_count(255, {}), 1},
        {"the count's high byte does not count", with_count(17, 0x0111), 1},
        {"200 claimed, 1 written", with_count(1, 200), 0},
        {"17 claimed, 16 written and nothing after", with_count(16, 17), 0},
        // Up to 16 a cut file still plays what it has.
        {"16 claimed, 2 written", with_count(2, 16), 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(load(c.bytes), c.result) << c.what;
        if (c.result) check_tables();
    }
    // Headers that fit with data that could never: the heap's limit holds.
    xmw::Module m = small_module();
    m.instruments[0].samples.assign(20, {.length_field = 20u << 20, .raw = std::vector<uint8_t>{}});
    EXPECT_EQ(load(m), 0);
    EXPECT_LE(platform::heap_bytes(stream.heap), platform::heap_limit);
}

}  // namespace
}  // namespace loader_test
