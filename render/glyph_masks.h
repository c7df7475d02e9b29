// glyph_masks.h: the renderer's own table of where each glyph cell has ink,
// one 9-bit mask per cell row (bit k = cell column k), built once from
// palette_colours and font_atlas by prepare_palette_and_font. The pane text
// walks these masks so that it touches only ink pixels; it is the same ink
// test as glyph_ink, made once instead of per pixel.
#pragma once
#include <cstdint>

namespace render {

extern uint16_t glyph_ink_masks[224][12];  // [code - 32][cell row]
void build_glyph_ink_masks();

}  // namespace render
