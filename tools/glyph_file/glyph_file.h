// glyph_file.h: reads the readable glyph files of data/assets (header only,
// for the build-time tools).
//
//   glyphfile::GlyphSet set;
//   std::string error;
//   if (!glyphfile::read("font.glyphs", set, error)) { fprintf(stderr, "%s\n", error.c_str()); ... }
//   bool ink = set.ink(65, k, r);
//
// Format: a line "@CODE [note]" (CODE decimal 0..255) starts a glyph; the
// lines after it are its grid, '#' for ink and '.' for blank, every grid of
// the file the same size. Lines starting with ';' and empty lines are skipped.
#pragma once
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace glyphfile {

struct GlyphSet {
    int width = 0, height = 0;
    std::vector<std::string> grid[256];  // rows of '#' and '.', empty when absent
    bool has(int code) const { return code >= 0 && code < 256 && !grid[code].empty(); }
    bool ink(int code, int k, int r) const {
        return has(code) && r >= 0 && r < height && k >= 0 && k < width && grid[code][r][k] == '#';
    }
};

inline bool read(const char* path, GlyphSet& set, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = std::string(path) + ": cannot open";
        return false;
    }
    std::string line;
    int lineno = 0, code = -1;
    auto fail = [&](const std::string& what) {
        error = std::string(path) + ":" + std::to_string(lineno) + ": " + what;
        return false;
    };
    auto close = [&]() {
        if (code < 0) return true;
        const auto& g = set.grid[code];
        if (g.empty()) return fail("glyph " + std::to_string(code) + " has no rows");
        if (set.height == 0) set.height = int(g.size());
        if (int(g.size()) != set.height)
            return fail("glyph " + std::to_string(code) + " has " + std::to_string(g.size()) + " rows, not " +
                        std::to_string(set.height));
        return true;
    };
    while (std::getline(in, line)) {
        ++lineno;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '@') {
            if (!close()) return false;
            char* end = nullptr;
            long c = std::strtol(line.c_str() + 1, &end, 10);
            if (end == line.c_str() + 1 || c < 0 || c > 255) return fail("bad code in '" + line + "'");
            if (set.has(int(c))) return fail("code " + std::to_string(c) + " given twice");
            code = int(c);
            continue;
        }
        if (code < 0) return fail("grid row before the first '@CODE' line");
        for (char ch : line)
            if (ch != '#' && ch != '.') return fail("grid rows hold only '#' and '.'");
        if (set.width == 0) set.width = int(line.size());
        if (int(line.size()) != set.width)
            return fail("row of " + std::to_string(line.size()) + " cells, not " + std::to_string(set.width));
        set.grid[code].push_back(line);
    }
    return close();
}

}  // namespace glyphfile
