// xm_corpus.h: the shared corpus of real XM modules for tests and benchmarks
// (the folder QUILLON_XM_CORPUS, defined by quillon_use_xm_corpus in CMake).
//
//   for (const auto& path : xm_corpus::files()) use(xm_corpus::read(path));
//
// files() is empty when the folder is missing; callers then skip.
#pragma once
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace xm_corpus {

// The .xm files of the corpus, sorted by name.
inline std::vector<std::filesystem::path> files() {
    std::vector<std::filesystem::path> out;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(QUILLON_XM_CORPUS, error))
        if (entry.path().extension() == ".xm") out.push_back(entry.path());
    std::sort(out.begin(), out.end());
    return out;
}

inline std::vector<uint8_t> read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace xm_corpus
