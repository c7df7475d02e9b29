// table.cpp: drawing framed tables.
#include "tools/issue/table.h"

namespace issue {

namespace {

std::u32string rule(const Table& t, char32_t left, char32_t line, char32_t cross, char32_t right) {
    std::u32string s(1, left);
    for (size_t i = 0; i < t.columns.size(); i++) {
        s.append(static_cast<size_t>(t.columns[i].width) + 2, line);
        s += i + 1 < t.columns.size() ? cross : right;
    }
    return s;
}

std::u32string row(const Table& t, const std::vector<std::u32string>& cells) {
    std::u32string s(1, U'║');
    for (size_t i = 0; i < t.columns.size(); i++) {
        const TableColumn& c = t.columns[i];
        std::u32string text = i < cells.size() ? cells[i] : std::u32string();
        if (text.size() > static_cast<size_t>(c.width)) text.resize(c.width);
        const std::u32string pad(c.width - text.size(), U' ');
        s += U' ';
        s += c.right ? pad + text : text + pad;
        s += U' ';
        s += i + 1 < t.columns.size() ? U'│' : U'║';
    }
    return s;
}

}  // namespace

int table_width(const Table& t) {
    int w = 1;
    for (const TableColumn& c : t.columns) w += c.width + 3;
    return w;
}

std::vector<std::u32string> table_render(const Table& t, int margin) {
    std::vector<std::u32string> out;
    const std::u32string pad(margin, U' ');
    out.push_back(pad + rule(t, U'╔', U'═', U'╤', U'╗'));
    if (t.header) {
        std::vector<std::u32string> titles;
        for (const TableColumn& c : t.columns) titles.push_back(c.title);
        out.push_back(pad + row(t, titles));
        if (!t.body.empty()) out.push_back(pad + rule(t, U'╟', U'─', U'┼', U'╢'));
    }
    for (const auto& cells : t.body) out.push_back(pad + row(t, cells));
    if (!t.foot.empty()) {
        out.push_back(pad + rule(t, U'╠', U'═', U'╪', U'╣'));
        for (const auto& cells : t.foot) out.push_back(pad + row(t, cells));
    }
    out.push_back(pad + rule(t, U'╚', U'═', U'╧', U'╝'));
    return out;
}

std::u32string table_ascii(const char* s) {
    std::u32string out;
    while (*s) out += static_cast<char32_t>(static_cast<unsigned char>(*s++));
    return out;
}

std::u32string table_number(int n) { return table_ascii(std::to_string(n).c_str()); }

std::u32string table_count(int n) { return n == 0 ? std::u32string(1, U'·') : table_number(n); }

}  // namespace issue
