// corpus_test.cpp: real modules written elsewhere (the shared corpus, some
// of them deliberately malformed) played through the replayer: every one
// that loads runs for a few thousand ticks, and the state the mixer reads
// stays in range throughout. Run under the sanitizer preset this also proves
// that no table is read out of bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "music/loader.h"
#include "platform/heap.h"
#include "tests/replayer/song_fixture.h"
#include "tests/support/xm_corpus.h"

using namespace music;

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpus() { return xm_corpus::files(); }

TEST(Corpus, EveryLoadedModulePlaysThrough) {
    const std::vector<fs::path> files = corpus();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << QUILLON_XM_CORPUS;
    int played = 0;
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        const std::vector<uint8_t> bytes = xm_corpus::read(f);
        // Exactly the file's bytes, so that a read past them is seen.
        std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), block.get());
        if (stream.heap) platform::heap_destroy(stream.heap);
        stream.heap = platform::heap_create();
        source_select(1, int32_t(bytes.size()));
        if (!module_load(block.get())) continue;
        replayer_reset();
        played++;
        for (int t = 0; t < 4000; t++) {
            replayer_tick();
            ASSERT_GE(song.order, 0);
            ASSERT_LT(song.order, 256);
            ASSERT_GE(song.global_volume, 0);
            ASSERT_LE(song.global_volume, 64);
            ASSERT_GT(song.samples_per_tick, 0);
            for (const Voice& v : voices) {
                ASSERT_GE(v.volume, 0);
                ASSERT_LE(v.volume, 128);
                ASSERT_GE(v.panning, 0);
                ASSERT_LE(v.panning, 255);
                ASSERT_GE(v.gain_left, 0);
                ASSERT_GE(v.gain_right, 0);
                ASSERT_LE(v.gain_left + v.gain_right, 128);
                ASSERT_GE(v.step_integer, 0);
                if (v.sample) {
                    ASSERT_GE(v.position, 0);
                    ASSERT_LE(v.position, std::max(v.sample->length, 0));
                }
            }
        }
    }
    EXPECT_GT(played, int(files.size()) / 2);
}

}  // namespace
