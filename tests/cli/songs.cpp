// songs.cpp: the test modules and file helpers (songs.h).
#include "songs.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace songs {

xmw::Module plain(int orders) {
    xmw::Module m;
    m.title = "Test song";
    m.channels = 2;
    m.speed = 6;
    m.bpm = 125;
    for (int k = 0; k < orders; ++k) m.orders.push_back(uint8_t(k));
    m.patterns.resize(size_t(orders));
    for (xmw::Pattern& p : m.patterns) p.rows = 16;
    xmw::Instrument& ins = m.instruments.emplace_back();
    xmw::Sample& s = ins.samples.emplace_back();
    for (int i = 0; i < 32; ++i) s.data.push_back(int16_t(i < 16 ? 9000 : -9000));
    s.sixteen_bit = true;
    s.loop_type = 1;
    s.loop_length = 32;
    for (int p = 0; p < orders; ++p)
        for (int r = 0; r < 16; r += 4) xmw::cell(m, p, r, 0) = {uint8_t(49 + p + r / 4), 1, 0, 0, 0};
    return m;
}

void fx(xmw::Module& m, int pattern, int row, int channel, uint8_t effect, uint8_t parameter) {
    xmw::Cell& c = xmw::cell(m, pattern, row, channel);
    c.effect = effect;
    c.parameter = parameter;
}

std::string scratch_dir(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path d = fs::temp_directory_path() / ("quillon_cli_" + name);
    fs::remove_all(d);
    fs::create_directories(d);
    return d.string();
}

std::string write_file(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::vector<std::string> dir_entries(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace songs
