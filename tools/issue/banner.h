// banner.h: block-letter headings drawn from a small pixel font of our own
// (data/content/blockfont.txt).
//
//   issue::BlockFont f;
//   issue::font_parse(file, f, diags);
//   std::vector<std::u32string> rows;
//   issue::banner_small(f, U"CHART", rows);   // 3 rows of ▀ ▄ █
//   issue::banner_large(f, U"QUILLON", rows); // 6 rows: █ with a ░ shadow
//
// Font file: '#' at the start of a line is a comment only outside a glyph.
// A glyph is a line "[X]" naming its character (lower-case letters use the
// upper-case glyph), followed by exactly five rows of '#' (ink) and '.'
// (blank), all of the same width. Letters are set one blank pixel apart.
//
// Small banners put two pixel rows into one text row with the half blocks;
// large ones draw every pixel as two full blocks in a text row of its own and
// cast a light shade one pixel (two cells) right and one row down.
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/source.h"

namespace issue {

constexpr int font_height = 5;

struct Glyph {
    char32_t ch = 0;
    int width = 0;
    std::vector<std::u32string> rows;  // font_height rows of '#' and '.'
};

struct BlockFont {
    std::vector<Glyph> glyphs;
};

bool font_parse(const SourceFile& file, BlockFont& out, Diagnostics& d);
const Glyph* font_glyph(const BlockFont& f, char32_t c);

// Both return the index of the first character the font has no glyph for, or
// -1 when the whole text was drawn.
int banner_small(const BlockFont& f, const std::u32string& text, std::vector<std::u32string>& rows);
int banner_large(const BlockFont& f, const std::u32string& text, std::vector<std::u32string>& rows);

}  // namespace issue
