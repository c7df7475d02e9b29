// corpus_test.cpp: real modules written elsewhere (the shared corpus, some of
// them deliberately malformed): each loads or is refused, and what loads
// keeps every table in bounds. Each is also cut at a few dozen points and
// loaded from a block of exactly the cut size, so that AddressSanitizer sees
// any read past the data.
#include <filesystem>
#include <fstream>

#include "tests/loader/load_fixture.h"
#include "tests/support/xm_corpus.h"

namespace loader_test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpus() { return xm_corpus::files(); }

std::vector<uint8_t> read_file(const fs::path& path) { return xm_corpus::read(path); }

TEST_F(LoaderTest, CorpusLoadsOrFailsCleanly) {
    const std::vector<fs::path> files = corpus();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << QUILLON_XM_CORPUS;
    int loaded = 0;
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        const std::vector<uint8_t> bytes = read_file(f);
        if (load_exact(bytes, bytes.size())) {
            ++loaded;
            check_tables();
            EXPECT_LT(strlen(song_title), sizeof song_title);
        }
    }
    // Most of them are sound modules.
    EXPECT_GT(loaded, int(files.size()) / 2);
}

TEST_F(LoaderTest, CorpusTruncationsStayInBounds) {
    const std::vector<fs::path> files = corpus();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << QUILLON_XM_CORPUS;
    constexpr size_t cuts = 40;
    for (const fs::path& f : files) {
        const std::vector<uint8_t> bytes = read_file(f);
        // Evenly spread cuts, plus the header's edge and the last bytes.
        std::vector<size_t> at;
        for (size_t i = 0; i < cuts; ++i) at.push_back(bytes.size() * i / cuts);
        for (size_t n : {size_t(4), size_t(335), size_t(336), size_t(337), bytes.size() - 1})
            if (n <= bytes.size()) at.push_back(n);
        for (size_t n : at) {
            SCOPED_TRACE(f.filename().string() + " cut at " + std::to_string(n));
            if (load_exact(bytes, n)) check_tables();
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace loader_test
