// xmcompose: builds the XM module from its text sources.
//
//   xmcompose SOURCE_DIR OUTPUT.xm
//
// SOURCE_DIR holds song.txt, instruments.txt and patterns/*.txt (source.h
// describes them). The instruments are synthesised (synth.h) and the module
// is written with the XM writer. On any fault in the sources it prints
// "xmcompose: FILE:LINE: what is wrong", writes nothing and exits with 1.
#include <cstdio>

#include "tools/xmcompose/compose.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xmcompose SOURCE_DIR OUTPUT.xm\n");
        return 2;
    }
    xmc::Song song;
    xmw::Module module;
    std::string error;
    if (!xmc::read_song(argv[1], song, error) || !xmc::build_module(song, module, error)) {
        std::fprintf(stderr, "xmcompose: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes = xmw::xm_write(module);
    std::FILE* out = std::fopen(argv[2], "wb");
    bool ok = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out) ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "xmcompose: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
