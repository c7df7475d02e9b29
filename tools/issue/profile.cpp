// profile.cpp: reading the size profile and comparing the built issue with it.
#include "tools/issue/profile.h"

#include <sstream>

#include "tools/issue/cp437.h"

namespace issue {

namespace {

bool read_pairs(const std::vector<std::string>& words, size_t from, std::vector<std::pair<std::string, int>>& out) {
    for (size_t i = from; i + 1 < words.size(); i += 2) {
        try {
            size_t used = 0;
            const int v = std::stoi(words[i + 1], &used);
            if (used != words[i + 1].size() || v < 0) return false;
            out.emplace_back(words[i], v);
        } catch (...) {
            return false;
        }
    }
    return (words.size() - from) % 2 == 0;
}

}  // namespace

bool profile_parse(const SourceFile& file, Profile& out, Diagnostics& d) {
    const int errors_before = d.errors;
    out = Profile{};
    out.path = file.path;
    for (const SourceLine& l : file.lines) {
        std::istringstream in(utf8_encode(l.text));
        std::vector<std::string> w;
        for (std::string s; in >> s;) w.push_back(s);
        if (w.empty() || w[0][0] == '#') continue;
        std::vector<std::pair<std::string, int>> pairs;
        int n = 0;
        if (w.size() < 2 || (w[0] != "page" && w[0] != "ticker") || !read_pairs(w, 2, pairs)) {
            diag_error(d, file.path, l.number, 1,
                       "expected \"page N rows R blank B\" or \"ticker N chars C tags T lead L trail S\"");
            continue;
        }
        try {
            n = std::stoi(w[1]);
        } catch (...) {
            n = 0;
        }
        const bool page = w[0] == "page";
        if (n < 1 || n > (page ? page_count : ticker_message_count)) {
            diag_error(d, file.path, l.number, 1, "no " + w[0] + " " + w[1] + " in the issue");
            continue;
        }
        for (const auto& [key, value] : pairs) {
            int* field = nullptr;
            if (page) {
                PageProfile& p = out.pages[n - 1];
                p.line = l.number;
                if (key == "rows") field = &p.rows;
                else if (key == "blank") field = &p.blank;
            } else {
                TickerProfile& m = out.messages[n - 1];
                m.line = l.number;
                if (key == "chars") field = &m.chars;
                else if (key == "tags") field = &m.tags;
                else if (key == "lead") field = &m.lead;
                else if (key == "trail") field = &m.trail;
            }
            if (!field) diag_error(d, file.path, l.number, 1, "unknown figure \"" + key + "\"");
            else *field = value;
        }
    }
    return d.errors == errors_before;
}

bool profile_load(const std::string& path, Profile& out, Diagnostics& d) {
    SourceFile file;
    if (!source_read(path, file, d)) return false;
    return profile_parse(file, out, d);
}

bool profile_check_pages(const Profile& p, const std::vector<Page>& pages, Diagnostics& d) {
    const int errors_before = d.errors;
    for (const Page& page : pages) {
        const PageProfile& want = p.pages[page.number - 1];
        const int rows = static_cast<int>(page.rows.size());
        const std::string where = " (" + p.path + ":" + std::to_string(want.line) + ")";
        if (want.rows >= 0 && rows != want.rows) {
            // Point at the first row beyond the profile, or at the page's end.
            const int line = rows > want.rows ? page.rows[want.rows].line : (rows ? page.rows.back().line : 0);
            diag_error(d, page.path, line, 1,
                       "page " + std::to_string(page.number) + " has " + std::to_string(rows) +
                           " rows where this issue's profile has " + std::to_string(want.rows) + where +
                           (rows > want.rows ? "; row " + std::to_string(want.rows + 1) + " comes from this line"
                                             : "; the page ends at this line"));
        }
        const int blank = page_blank_rows(page);
        if (want.blank >= 0 && blank != want.blank)
            diag_warning(d, page.path, 0, 0,
                         "page " + std::to_string(page.number) + " has " + std::to_string(blank) +
                             " blank rows where the profile has " + std::to_string(want.blank) + where);
    }
    return d.errors == errors_before;
}

bool profile_check_ticker(const Profile& p, const Ticker& t, Diagnostics& d) {
    const int errors_before = d.errors;
    for (size_t k = 0; k < t.messages.size() && k < static_cast<size_t>(ticker_message_count); k++) {
        const TickerMessage& m = t.messages[k];
        const TickerProfile& want = p.messages[k];
        const std::string which = "message " + std::to_string(k + 1);
        const std::string where = " (" + p.path + ":" + std::to_string(want.line) + ")";
        auto check = [&](int have, int wanted, const char* what) {
            if (wanted >= 0 && have != wanted)
                diag_error(d, t.path, m.first_line, 1,
                           which + " has " + std::to_string(have) + " " + what + " where this issue's profile has " +
                               std::to_string(wanted) + where);
        };
        check(static_cast<int>(m.text.size()), want.chars, "characters (tags included)");
        check(ticker_tag_count(m.text), want.tags, "colour tags");
        check(ticker_leading_spaces(m.text), want.lead, "leading spaces");
        check(ticker_trailing_spaces(m.text), want.trail, "trailing spaces");
    }
    return d.errors == errors_before;
}

}  // namespace issue
