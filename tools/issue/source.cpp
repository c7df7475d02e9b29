// source.cpp: strict UTF-8 decoding of the editors' files, line splitting and
// the drawable-character check.
#include "tools/issue/source.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/issue/cp437.h"

namespace issue {

namespace {

// Decodes one code point at bytes[i]; returns its length, or 0 when the
// sequence is malformed.
size_t decode_one(std::string_view bytes, size_t i, char32_t& c) {
    const unsigned char b0 = static_cast<unsigned char>(bytes[i]);
    size_t n;
    char32_t min;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > bytes.size()) return 0;
    for (size_t k = 1; k < n; k++) {
        const unsigned char b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return n;
}

std::string hex4(char32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
    return buf;
}

}  // namespace

std::string source_describe(char32_t c) {
    if (c < 32 || c == 127) return hex4(c);
    return "'" + utf8_encode(c) + "' (" + hex4(c) + ")";
}

bool source_parse(const std::string& path, std::string_view bytes, SourceFile& out, Diagnostics& d) {
    out.path = path;
    out.lines.clear();
    const int errors_before = d.errors;
    size_t i = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
    SourceLine line;
    line.number = 1;
    bool open = false;  // characters seen since the last line end
    while (i < bytes.size()) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            i += bytes[i] == '\r' ? 2 : 1;
            out.lines.push_back(line);
            line.text.clear();
            line.number++;
            open = false;
            continue;
        }
        char32_t c;
        const size_t n = decode_one(bytes, i, c);
        open = true;
        if (n == 0) {
            diag_error(d, path, line.number, static_cast<int>(line.text.size()) + 1,
                       "this is not valid UTF-8 (byte " + std::to_string(static_cast<unsigned char>(bytes[i])) +
                           "); save the file as UTF-8");
            // Skip to the next line so one bad byte is reported once.
            while (i < bytes.size() && bytes[i] != '\n') i++;
            continue;
        }
        line.text += c;
        i += n;
    }
    if (open) out.lines.push_back(line);
    return d.errors == errors_before;
}

bool source_read(const std::string& path, SourceFile& out, Diagnostics& d) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diag_error(d, path, 0, 0, "cannot be read");
        return false;
    }
    std::ostringstream all;
    all << in.rdbuf();
    return source_parse(path, all.str(), out, d);
}

bool source_check_drawable(const std::string& path, int line, int column_base, const std::u32string& text,
                           size_t from, Diagnostics& d) {
    bool good = true;
    for (size_t i = from; i < text.size(); i++) {
        const char32_t c = text[i];
        const int column = column_base + static_cast<int>(i);
        if (c == '\t') {
            diag_error(d, path, line, column, "a tab shows as a single blank cell in the viewer; use spaces");
            good = false;
        } else if (c < 32 || c == 127 || (c >= 0x80 && c < 0xA0)) {
            diag_error(d, path, line, column, "control character " + source_describe(c) + " cannot be shown");
            good = false;
        } else if (cp437_from_unicode(c) < 0) {
            diag_error(d, path, line, column,
                       "character " + source_describe(c) + " has no code page 437 byte, so the font cannot show it");
            good = false;
        }
    }
    return good;
}

}  // namespace issue
