// songs.h: small modules for the music programs' tests, written with the XM
// writer, and a scratch directory for files.
//
//   xmw::Module m = songs::plain(2);            // orders {0, 1}, 16 rows each
//   songs::fx(m, 1, 15, 0, 0x0B, 0x00);          // pattern 1 row 15 channel 0: B00
//   std::string path = songs::write_file(dir, "a.xm", xmw::xm_write(m));
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/xmwriter/xmwriter.h"

namespace songs {

// Speed 6 at BPM 125: 882 frames a tick, 5,292 a row.
constexpr int64_t frames_per_row = 6 * 882;

// `orders` orders playing patterns 0, 1, ... of 16 rows on 2 channels, a
// looped tone struck every 4 rows on channel 0.
xmw::Module plain(int orders);
// Puts an effect into a pattern's cell (keeping its note).
void fx(xmw::Module& m, int pattern, int row, int channel, uint8_t effect, uint8_t parameter);

// A fresh empty directory under the test's temporary directory.
std::string scratch_dir(const std::string& name);
std::string write_file(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_file(const std::string& path);
// Names of the entries of a directory, sorted.
std::vector<std::string> dir_entries(const std::string& dir);

}  // namespace songs
