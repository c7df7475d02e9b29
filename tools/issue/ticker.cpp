// ticker.cpp: reading the ticker messages and checking their tags.
#include "tools/issue/ticker.h"

#include "tools/issue/cp437.h"

namespace issue {

bool ticker_is_tag(const std::u32string& s, size_t i) {
    if (i + 2 >= s.size() || s[i] != U'{' || s[i + 2] != U'}') return false;
    const char32_t c = s[i + 1];
    return c == U'R' || c == U'G' || c == U'B' || c == U'W' || c == U'D';
}

int ticker_tag_count(const std::u32string& s) {
    int n = 0;
    for (size_t i = 0; i < s.size(); i++) n += ticker_is_tag(s, i);
    return n;
}

int ticker_leading_spaces(const std::u32string& s) {
    int n = 0;
    while (n < static_cast<int>(s.size()) && s[n] == U' ') n++;
    return n;
}

int ticker_trailing_spaces(const std::u32string& s) {
    int n = 0;
    while (n < static_cast<int>(s.size()) && s[s.size() - 1 - n] == U' ') n++;
    return n;
}

bool ticker_parse(const SourceFile& file, Ticker& out, Diagnostics& d) {
    const int errors_before = d.errors;
    const std::string& path = file.path;
    out = Ticker{};
    out.path = path;
    bool open = false;  // the previous line was part of a message
    for (const SourceLine& l : file.lines) {
        const std::u32string& s = l.text;
        size_t b = 0, e = s.size();
        while (b < e && s[b] == U' ') b++;
        while (e > b && s[e - 1] == U' ') e--;
        if (b == e || s[b] == U'#') {
            open = false;
            continue;
        }
        if (s[b] != U'|' || e - b < 2 || s[e - 1] != U'|') {
            diag_error(d, path, l.number, static_cast<int>(b) + 1,
                       "a message line is written between bars, |like this|");
            open = false;
            continue;
        }
        if (!open) {
            out.messages.push_back(TickerMessage{});
            out.messages.back().first_line = l.number;
        }
        open = true;
        TickerMessage& m = out.messages.back();
        if (!source_check_drawable(path, l.number, 1, s.substr(0, e - 1), b + 1, d)) continue;
        for (size_t i = b + 1; i + 1 < e; i++) {
            m.text += s[i];
            m.lines.push_back(l.number);
            m.columns.push_back(static_cast<int>(i) + 1);
        }
    }

    for (size_t k = 0; k < out.messages.size(); k++) {
        const TickerMessage& m = out.messages[k];
        const std::u32string& s = m.text;
        for (size_t i = 0; i < s.size(); i++) {
            if (ticker_is_tag(s, i)) {
                i += 2;
                continue;
            }
            if (s[i] == U'{') {
                std::string seen = utf8_encode(s.substr(i, 3));
                diag_error(d, path, m.lines[i], m.columns[i],
                           "mistyped colour tag \"" + seen + "\"; the tags are {R} {G} {B} {W} and {D}");
            } else if (s[i] == U'}') {
                diag_error(d, path, m.lines[i], m.columns[i],
                           "a '}' that closes no colour tag; the tags are {R} {G} {B} {W} and {D}");
            }
        }
    }
    if (static_cast<int>(out.messages.size()) != ticker_message_count) {
        const int line = static_cast<int>(out.messages.size()) > ticker_message_count
                             ? out.messages[ticker_message_count].first_line
                             : (file.lines.empty() ? 0 : file.lines.back().number);
        diag_error(d, path, line, 1,
                   "the ticker has " + std::to_string(out.messages.size()) + " messages; it takes exactly " +
                       std::to_string(ticker_message_count) + " (separate messages with a blank line)");
    } else if (d.errors == errors_before) {
        const TickerMessage& first = out.messages.front();
        if (!ticker_is_tag(first.text, 0))
            diag_error(d, path, first.first_line, first.columns.empty() ? 1 : first.columns[0],
                       "the first message begins with a colour tag");
        // The last tag of the whole text must be {W}.
        int line = 0, column = 0;
        char32_t last = 0;
        for (const TickerMessage& m : out.messages)
            for (size_t i = 0; i < m.text.size(); i++)
                if (ticker_is_tag(m.text, i)) last = m.text[i + 1], line = m.lines[i], column = m.columns[i];
        if (last != U'W')
            diag_error(d, path, line, column,
                       "the last colour tag of the ticker is {W}, so the text is white again when it starts over");
    }
    return d.errors == errors_before;
}

bool ticker_load(const std::string& path, Ticker& out, Diagnostics& d) {
    SourceFile file;
    if (!source_read(path, file, d)) return false;
    return ticker_parse(file, out, d);
}

}  // namespace issue
