// cp437_test: the UTF-8 editors write becomes the font's code page 437 bytes.
#include <gtest/gtest.h>

#include "tools/issue/cp437.h"
#include "tools/issue/source.h"

namespace {

TEST(Cp437, MapsTheCharactersEditorsUse) {
    struct Case {
        char32_t unicode;
        int code;
    };
    const Case cases[] = {
        {U' ', 32},   {U'A', 65},   {U'~', 126},  {U'Ç', 128},  {U'é', 130},  {U'Å', 143},
        {U'ÿ', 152},  {U'£', 156},  {U'ƒ', 159},  {U'ñ', 164},  {U'¿', 168},  {U'¡', 173},
        {U'«', 174},  {U'»', 175},  {U'░', 176},  {U'▒', 177},  {U'▓', 178},  {U'│', 179},
        {U'┤', 180},  {U'╣', 185},  {U'║', 186},  {U'╗', 187},  {U'╝', 188},  {U'┐', 191},
        {U'└', 192},  {U'┴', 193},  {U'┬', 194},  {U'├', 195},  {U'─', 196},  {U'┼', 197},
        {U'╟', 199},  {U'╚', 200},  {U'╔', 201},  {U'╩', 202},  {U'╦', 203},  {U'╠', 204},
        {U'═', 205},  {U'╬', 206},  {U'╧', 207},  {U'╤', 209},  {U'╪', 216},  {U'┘', 217},
        {U'┌', 218},  {U'█', 219},  {U'▄', 220},  {U'▌', 221},  {U'▐', 222},  {U'▀', 223},
        {U'α', 224},  {U'ß', 225},  {U'β', 225},  {U'π', 227},  {U'Σ', 228},  {U'µ', 230},
        {U'μ', 230},  {U'Ω', 234},  {U'∞', 236},  {U'≡', 240},  {U'±', 241},  {U'≥', 242},
        {U'≤', 243},  {U'÷', 246},  {U'≈', 247},  {U'°', 248},  {U'∙', 249},  {U'·', 250},
        {U'√', 251},  {U'ⁿ', 252},  {U'²', 253},  {U'■', 254},  {0x00A0, 255},
        // No byte: control codes, DEL, and what code page 437 lacks.
        {U'\t', -1},  {0x7F, -1},   {U'ø', -1},   {U'€', -1},   {U'“', -1},   {U'—', -1},
        {U'☺', -1},   {U'⌂', -1},   {0x1F600, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(issue::cp437_from_unicode(c.unicode), c.code) << "U+" << std::hex << static_cast<unsigned>(c.unicode);
}

TEST(Cp437, EveryDrawableCodeRoundTrips) {
    for (int code = 32; code < 256; code++) {
        if (code == 127) continue;
        const char32_t u = issue::cp437_to_unicode(static_cast<uint8_t>(code));
        ASSERT_NE(u, 0u) << code;
        EXPECT_EQ(issue::cp437_from_unicode(u), code) << code;
    }
    for (int code = 0; code < 32; code++) EXPECT_EQ(issue::cp437_to_unicode(static_cast<uint8_t>(code)), 0u);
    EXPECT_EQ(issue::cp437_to_unicode(127), 0u);
}

TEST(Utf8Decoding, ReportsMalformedBytesWithTheirPlace) {
    struct Case {
        const char* bytes;
        int line, column;  // of the report; 0 for none
    };
    const Case cases[] = {
        {"ok\n\xE2\x95\x94\xE2\x95\x90\n", 0, 0},  // ╔═ is fine
        {"ab\xFF\n", 1, 3},                         // not a UTF-8 byte
        {"a\nb\xC3", 2, 2},                         // cut off at the end
        {"\xC0\xAF", 1, 1},                         // overlong '/'
        {"x\xE0\x80\x80", 1, 2},                    // overlong NUL
        {"\xED\xA0\x80", 1, 1},                     // a surrogate
        {"\xF4\x90\x80\x80", 1, 1},                 // beyond U+10FFFF
        {"xy\xE2\x95z", 1, 3},                      // continuation missing
    };
    for (const Case& c : cases) {
        issue::Diagnostics d;
        issue::SourceFile f;
        issue::source_parse("f.txt", c.bytes, f, d);
        if (c.line == 0) {
            EXPECT_TRUE(d.ok()) << c.bytes;
            continue;
        }
        ASSERT_EQ(d.list.size(), 1u) << c.bytes;
        EXPECT_EQ(d.list[0].line, c.line) << c.bytes;
        EXPECT_EQ(d.list[0].column, c.column) << c.bytes;
    }
}

TEST(Utf8Decoding, SplitsLinesLikeAnEditorShowsThem) {
    issue::Diagnostics d;
    issue::SourceFile f;
    ASSERT_TRUE(issue::source_parse("f.txt", "\xEF\xBB\xBF" "a\r\n\nb\xC3\xA9\nlast", f, d));
    ASSERT_EQ(f.lines.size(), 4u);
    EXPECT_EQ(f.lines[0].text, U"a");  // byte order mark and CR dropped
    EXPECT_EQ(f.lines[1].text, U"");
    EXPECT_EQ(f.lines[2].text, U"bé");
    EXPECT_EQ(f.lines[3].text, U"last");  // no final line end
    EXPECT_EQ(f.lines[3].number, 4);
    issue::source_parse("f.txt", "a\n", f, d);
    EXPECT_EQ(f.lines.size(), 1u);
}

}  // namespace
