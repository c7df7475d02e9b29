// cursor_codes: turns data/assets/cursor.txt (14 rows of 14 codes 0..3,
// ';' comments) into the 196 bytes the program embeds, row by row.
//
//   cursor_codes data/assets/cursor.txt cursor.bin
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: cursor_codes CURSOR.txt OUT.bin\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "cursor_codes: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<unsigned char> codes;
    std::string line;
    int lineno = 0;
    while (std::getline(in, line)) {
        ++lineno;
        if (line.empty() || line[0] == ';' || line[0] == '\r') continue;
        std::istringstream fields(line);
        int code, row = 0;
        while (fields >> code) {
            if (code < 0 || code > 3) {
                std::fprintf(stderr, "cursor_codes: %s:%d: code %d is not 0..3\n", argv[1], lineno, code);
                return 1;
            }
            codes.push_back((unsigned char)code);
            ++row;
        }
        if (row != 14 || !fields.eof()) {
            std::fprintf(stderr, "cursor_codes: %s:%d: a row holds 14 codes\n", argv[1], lineno);
            return 1;
        }
    }
    if (codes.size() != 196) {
        std::fprintf(stderr, "cursor_codes: %s: %zu codes, not 14 rows of 14\n", argv[1], codes.size());
        return 1;
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(codes.data(), 1, codes.size(), out) != codes.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "cursor_codes: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
