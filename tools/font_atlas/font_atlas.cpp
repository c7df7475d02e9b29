// font_atlas: turns the readable glyph file into the font atlas the program
// embeds: 12 rows x 2,048 columns of palette indices, 255 for ink and 0 for
// blank. Code c (32..255) fills the 9 columns from (c - 32) x 9; columns
// 2,016 to 2,047 stay blank.
//
//   font_atlas data/assets/font.glyphs atlas.bin
#include <cstdio>
#include <vector>

#include "tools/glyph_file/glyph_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: font_atlas FONT.glyphs OUT.bin\n");
        return 2;
    }
    glyphfile::GlyphSet set;
    std::string error;
    if (!glyphfile::read(argv[1], set, error)) {
        std::fprintf(stderr, "font_atlas: %s\n", error.c_str());
        return 1;
    }
    if (set.width != 9 || set.height != 12) {
        std::fprintf(stderr, "font_atlas: %s: glyphs are %d x %d, not 9 x 12\n", argv[1], set.width, set.height);
        return 1;
    }
    for (int c = 32; c < 256; ++c) {
        if (!set.has(c)) {
            std::fprintf(stderr, "font_atlas: %s: no glyph for code %d\n", argv[1], c);
            return 1;
        }
    }
    std::vector<unsigned char> atlas(12 * 2048, 0);
    for (int c = 32; c < 256; ++c)
        for (int r = 0; r < 12; ++r)
            for (int k = 0; k < 9; ++k)
                if (set.ink(c, k, r)) atlas[r * 2048 + (c - 32) * 9 + k] = 255;
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || std::fwrite(atlas.data(), 1, atlas.size(), out) != atlas.size() || std::fclose(out) != 0) {
        std::fprintf(stderr, "font_atlas: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
