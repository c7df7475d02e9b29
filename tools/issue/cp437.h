// cp437.h: the font's character set. The viewer's glyphs follow code page 437
// order; editors write UTF-8. This maps between the two.
//
//   int b = issue::cp437_from_unicode(U'╔');   // 201, or -1 when there is none
//   char32_t c = issue::cp437_to_unicode(201); // U'╔'
//
// Only the drawable codes are mapped: printable ASCII 32 to 126 and 128 to 255.
// Codes 0 to 31 draw as a blank cell and 127 as a solid block in this font, so
// no Unicode character maps to them (U+2588 FULL BLOCK is 219). Besides the
// one character per code, the Greek beta and mu, which code page 437 draws with
// its sharp s (225) and micro sign (230), map there too.
#pragma once
#include <cstdint>
#include <string>

namespace issue {

int cp437_from_unicode(char32_t c);
char32_t cp437_to_unicode(uint8_t code);  // 0 for the unmapped codes 0-31 and 127

// UTF-8 encoding of one code point and of a string, for messages and previews.
std::string utf8_encode(char32_t c);
std::string utf8_encode(const std::u32string& s);

}  // namespace issue
