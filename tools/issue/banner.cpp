// banner.cpp: reading the block-letter font and setting headings with it.
#include "tools/issue/banner.h"

namespace issue {

namespace {

char32_t fold(char32_t c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }

// The text set in pixels: font_height rows, glyphs one blank column apart.
int set_pixels(const BlockFont& f, const std::u32string& text, std::vector<std::u32string>& px) {
    px.assign(font_height, std::u32string());
    for (size_t i = 0; i < text.size(); i++) {
        const Glyph* g = font_glyph(f, text[i]);
        if (!g) return static_cast<int>(i);
        for (int r = 0; r < font_height; r++) {
            if (i > 0) px[r] += U'.';
            px[r] += g->rows[r];
        }
    }
    return -1;
}

bool ink(const std::vector<std::u32string>& px, int r, int c) {
    return r >= 0 && r < static_cast<int>(px.size()) && c >= 0 && c < static_cast<int>(px[r].size()) &&
           px[r][c] == U'#';
}

void trim_right(std::vector<std::u32string>& rows) {
    for (std::u32string& s : rows)
        while (!s.empty() && s.back() == U' ') s.pop_back();
}

}  // namespace

const Glyph* font_glyph(const BlockFont& f, char32_t c) {
    c = fold(c);
    for (const Glyph& g : f.glyphs)
        if (g.ch == c) return &g;
    return nullptr;
}

bool font_parse(const SourceFile& file, BlockFont& out, Diagnostics& d) {
    const int errors_before = d.errors;
    out.glyphs.clear();
    Glyph* open = nullptr;
    int open_line = 0;
    auto close = [&](int at_line) {
        if (open && static_cast<int>(open->rows.size()) != font_height)
            diag_error(d, file.path, open_line, 1,
                       "the glyph has " + std::to_string(open->rows.size()) + " rows; every glyph has " +
                           std::to_string(font_height));
        (void)at_line;
        open = nullptr;
    };
    for (const SourceLine& l : file.lines) {
        const std::u32string& s = l.text;
        if (s.size() == 3 && s[0] == U'[' && s[2] == U']') {
            close(l.number);
            if (font_glyph(out, s[1])) {
                diag_error(d, file.path, l.number, 2, "a second glyph for " + source_describe(s[1]));
                continue;
            }
            out.glyphs.push_back(Glyph{fold(s[1]), 0, {}});
            open = &out.glyphs.back();
            open_line = l.number;
            continue;
        }
        if (!open || static_cast<int>(open->rows.size()) == font_height) {
            if (s.empty() || s[0] == U'#') continue;
            diag_error(d, file.path, l.number, 1, "expected a glyph heading such as \"[A]\"");
            continue;
        }
        if (s.empty()) {
            diag_error(d, file.path, l.number, 1, "a glyph row is missing");
            continue;
        }
        for (size_t i = 0; i < s.size(); i++)
            if (s[i] != U'#' && s[i] != U'.')
                diag_error(d, file.path, l.number, static_cast<int>(i) + 1, "glyph rows hold only '#' and '.'");
        if (open->rows.empty()) open->width = static_cast<int>(s.size());
        else if (static_cast<int>(s.size()) != open->width)
            diag_error(d, file.path, l.number, 1, "this row is not as wide as the glyph's first row");
        open->rows.push_back(s);
    }
    close(0);
    return d.errors == errors_before;
}

int banner_small(const BlockFont& f, const std::u32string& text, std::vector<std::u32string>& rows) {
    std::vector<std::u32string> px;
    const int bad = set_pixels(f, text, px);
    if (bad >= 0) return bad;
    const int width = static_cast<int>(px[0].size());
    rows.assign((font_height + 1) / 2, std::u32string());
    for (int tr = 0; tr < static_cast<int>(rows.size()); tr++) {
        for (int c = 0; c < width; c++) {
            const bool top = ink(px, 2 * tr, c), bottom = ink(px, 2 * tr + 1, c);
            rows[tr] += top ? (bottom ? U'█' : U'▀') : (bottom ? U'▄' : U' ');
        }
    }
    trim_right(rows);
    return -1;
}

int banner_large(const BlockFont& f, const std::u32string& text, std::vector<std::u32string>& rows) {
    std::vector<std::u32string> px;
    const int bad = set_pixels(f, text, px);
    if (bad >= 0) return bad;
    const int width = 2 * static_cast<int>(px[0].size()) + 2;
    rows.assign(font_height + 1, std::u32string());
    for (int r = 0; r <= font_height; r++) {
        for (int c = 0; c < width; c++) {
            if (ink(px, r, c / 2))
                rows[r] += U'█';
            else if (ink(px, r - 1, c / 2 - 1))
                rows[r] += U'░';
            else
                rows[r] += U' ';
        }
    }
    trim_right(rows);
    return -1;
}

}  // namespace issue
