// text.h: the viewer's text strings: 8-bit character codes with an explicit
// length, as the page table, the selected page and the ticker hold them.
//
// A Text is a value that never changes: it refers to bytes that live for the
// whole run (the built-in content, or storage filled once at start-up), so
// assigning one Text to another copies the text without allocating, which
// keeps the per-frame page copy and the ticker's window cheap.
//
//   app::Text t = app::text_literal("<END>");
//   app::text_equal(t, other);          // same length, same bytes
//   app::text_sub(t, 2, 3);             // "END": 1-based start, length cut at the end
//   app::text_code(t, 1);               // '<' as 0..255; -1 outside the text
//
// Positions are 1-based throughout. A substring whose start lies below 1 or
// past the end is empty; a length reaching past the end stops there.
#pragma once
#include <cstdint>
#include <cstring>

namespace app {

struct Text {
    const uint8_t* bytes = nullptr;
    int32_t length = 0;
};

inline Text text_of(const uint8_t* bytes, int32_t length) {
    if (!bytes || length < 0) return Text{};
    return Text{bytes, length};
}

// A Text over a zero-terminated literal (which must outlive it).
inline Text text_literal(const char* s) {
    return text_of(reinterpret_cast<const uint8_t*>(s), int32_t(std::strlen(s)));
}

inline bool text_equal(Text a, Text b) {
    if (a.length != b.length) return false;
    return a.length == 0 || std::memcmp(a.bytes, b.bytes, size_t(a.length)) == 0;
}

// The characters from 1-based `start`, at most `length` of them.
inline Text text_sub(Text t, int32_t start, int32_t length) {
    if (start < 1 || start > t.length || length <= 0) return Text{};
    int32_t room = t.length - start + 1;
    return Text{t.bytes + (start - 1), length < room ? length : room};
}

// The code (0..255) of the character at 1-based `position`, or -1 when the
// position lies outside the text.
inline int32_t text_code(Text t, int32_t position) {
    if (position < 1 || position > t.length) return -1;
    return t.bytes[position - 1];
}

}  // namespace app
