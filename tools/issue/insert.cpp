// insert.cpp: finding insertions and putting in their values.
#include "tools/issue/insert.h"

#include "tools/issue/cp437.h"

namespace issue {

namespace {

std::u32string trim(const std::u32string& s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] == U' ') b++;
    while (e > b && s[e - 1] == U' ') e--;
    return s.substr(b, e - b);
}

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (const std::string& n : names) s += (s.empty() ? "" : ", ") + n;
    return s;
}

}  // namespace

Placed placed_line(const std::u32string& text, int line) {
    Placed p;
    p.text = text;
    p.lines.assign(text.size(), line);
    for (size_t i = 0; i < text.size(); i++) p.columns.push_back(static_cast<int>(i) + 1);
    p.inserted.assign(text.size(), false);
    return p;
}

bool insert_find(const std::string& path, const Placed& p, std::vector<Insertion>& out, Diagnostics& d) {
    const std::u32string& s = p.text;
    size_t at = 0;
    while ((at = s.find(U"@@", at)) != std::u32string::npos) {
        const size_t close = s.find(U"@@", at + 2);
        if (close == std::u32string::npos) {
            diag_error(d, path, p.lines[at], p.columns[at], "\"@@\" opens an insertion that is not closed by another \"@@\"");
            return false;
        }
        Insertion ins;
        ins.begin = at;
        ins.end = close + 2;
        std::u32string body = s.substr(at + 2, close - at - 2);
        // A trailing ":N" or ":-N" is the alignment width.
        const size_t colon = body.rfind(U':');
        if (colon != std::u32string::npos && colon + 1 < body.size()) {
            size_t i = colon + 1;
            const bool left = body[i] == U'-';
            if (left) i++;
            int w = 0;
            bool digits = i < body.size();
            for (; i < body.size(); i++) {
                if (body[i] < '0' || body[i] > '9' || w > 1000) digits = false;
                else w = w * 10 + static_cast<int>(body[i] - '0');
            }
            if (digits) {
                ins.width = left ? -w : w;
                body.resize(colon);
            }
        }
        const size_t bar = body.find(U'|');
        if (bar != std::u32string::npos) {
            ins.noun = trim(body.substr(bar + 1));
            body.resize(bar);
        }
        const size_t space = body.find(U' ');
        ins.name = body.substr(0, space);
        if (space != std::u32string::npos) ins.arg = trim(body.substr(space));
        out.push_back(ins);
        at = ins.end;
    }
    return true;
}

bool insert_values(const Issue& is, const std::string& path, const Placed& p, const std::vector<Insertion>& ins,
                   Placed& out, Diagnostics& d) {
    const int errors_before = d.errors;
    out = Placed{};
    auto keep = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; i++) {
            out.text += p.text[i];
            out.lines.push_back(p.lines[i]);
            out.columns.push_back(p.columns[i]);
            out.inserted.push_back(p.inserted[i]);
        }
    };
    size_t from = 0;
    for (const Insertion& one : ins) {
        keep(from, one.begin);
        from = one.end;
        const int line = p.lines[one.begin], col = p.columns[one.begin] + 2;
        std::u32string value;
        std::string why;
        const GenResult r = gen_value(is, one.name, one.arg, one.noun, value, why);
        if (r == gen_unknown) {
            std::vector<std::u32string> unused;
            std::string w;
            if (gen_block(is, one.name, one.arg, 0, unused, w) != gen_unknown)
                diag_error(d, path, line, col, "@@" + utf8_encode(one.name) + "@@ is a block and stands alone on its line");
            else
                diag_error(d, path, line, col,
                           "unknown insertion @@" + utf8_encode(one.name) + "@@; values are " + joined(gen_value_names()) +
                               "; blocks are " + joined(gen_block_names()));
            continue;
        }
        if (r == gen_bad) {
            diag_error(d, path, line, col, "@@" + utf8_encode(one.name) + "@@ " + why);
            continue;
        }
        const size_t w = static_cast<size_t>(one.width < 0 ? -one.width : one.width);
        if (value.size() < w) {
            const std::u32string pad(w - value.size(), U' ');
            value = one.width > 0 ? pad + value : value + pad;
        }
        out.text += value;
        out.lines.insert(out.lines.end(), value.size(), line);
        out.columns.insert(out.columns.end(), value.size(), p.columns[one.begin]);
        out.inserted.insert(out.inserted.end(), value.size(), true);
    }
    keep(from, p.text.size());
    return d.errors == errors_before;
}

}  // namespace issue
