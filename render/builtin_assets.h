// builtin_assets.h: the asset bytes compiled into the program (data/assets,
// generated at build time). Only the renderer's decoding reads them.
//
//   builtin_palette       768 bytes: 256 x red, green, blue
//   builtin_font_atlas    24,576 bytes: 12 rows x 2,048 palette indices
//   builtin_picture       1,440,054 bytes: the 800 x 600 24-bit BMP
//   builtin_cursor_codes  196 codes 0..3, row by row
#pragma once

extern const unsigned char builtin_palette[];
extern const unsigned int builtin_palette_size;
extern const unsigned char builtin_font_atlas[];
extern const unsigned int builtin_font_atlas_size;
extern const unsigned char builtin_picture[];
extern const unsigned int builtin_picture_size;
extern const unsigned char builtin_cursor_codes[];
extern const unsigned int builtin_cursor_codes_size;
