// palette: turns data/assets/palette.txt (lines "INDEX RRGGBB", ';' comments)
// into the 768 bytes the program embeds: red, green, blue for entries 0..255.
// Every index must be given exactly once.
//
//   palette data/assets/palette.txt palette.bin
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: palette PALETTE.txt OUT.bin\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "palette: cannot open %s\n", argv[1]);
        return 1;
    }
    unsigned char bytes[768] = {};
    bool seen[256] = {};
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        if (line.empty() || line[0] == ';' || line[0] == '\r') continue;
        std::istringstream fields(line);
        int index = -1;
        std::string hex;
        char* end = nullptr;
        if (!(fields >> index >> hex) || index < 0 || index > 255 || hex.size() != 6 ||
            (std::strtoul(hex.c_str(), &end, 16), *end != 0)) {
            std::fprintf(stderr, "palette: %s:%d: expected 'INDEX RRGGBB'\n", argv[1], lineno);
            return 1;
        }
        if (seen[index]) {
            std::fprintf(stderr, "palette: %s:%d: entry %d given twice\n", argv[1], lineno, index);
            return 1;
        }
        seen[index] = true;
        const unsigned long rgb = std::strtoul(hex.c_str(), nullptr, 16);
        bytes[3 * index] = (rgb >> 16) & 255;
        bytes[3 * index + 1] = (rgb >> 8) & 255;
        bytes[3 * index + 2] = rgb & 255;
    }
    for (int i = 0; i < 256; ++i) {
        if (!seen[i]) {
            std::fprintf(stderr, "palette: %s: entry %d missing\n", argv[1], i);
            return 1;
        }
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(bytes, 1, sizeof bytes, out) != sizeof bytes || std::fclose(out) != 0) {
        std::fprintf(stderr, "palette: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
