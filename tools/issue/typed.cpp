// typed.cpp: finding numbers and group names the editors typed.
#include "tools/issue/typed.h"

#include "tools/issue/cp437.h"

namespace issue {

namespace {

bool is_alnum(char32_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::u32string lower(std::u32string s) {
    for (char32_t& c : s)
        if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    return s;
}

bool number_word(const std::u32string& w) {
    static const char32_t* const words[] = {
        U"two",     U"three",    U"four",     U"five",    U"six",     U"seven",     U"eight",    U"nine",
        U"ten",     U"eleven",   U"twelve",   U"thirteen", U"fourteen", U"fifteen",  U"sixteen",  U"seventeen",
        U"eighteen", U"nineteen", U"twenty",  U"thirty",  U"forty",   U"fifty",     U"sixty",    U"seventy",
        U"eighty",  U"ninety",   U"hundred",  U"thousand"};
    const std::u32string l = lower(w);
    for (const char32_t* n : words)
        if (l == n) return true;
    return false;
}

struct Word {
    size_t begin, end;
    std::u32string text;
};

void warn(const std::string& path, const Placed& p, size_t at, const std::u32string& what, const std::string& advice,
          Diagnostics& d) {
    diag_warning(d, path, p.lines[at], p.columns[at],
                 "typed " + utf8_encode(what) + ": " + advice + ", or mark it @@fixed " + utf8_encode(what) +
                     "@@ if it is meant as written");
}

}  // namespace

void typed_check(const ReleaseLog& log, const std::string& path, const Placed& p, Diagnostics& d) {
    const std::u32string& s = p.text;
    // Words of typed text: letters, digits and inner hyphens ("thirty-two");
    // an inserted character ends a word.
    std::vector<Word> words;
    for (size_t i = 0; i < s.size();) {
        if (p.inserted[i] || !is_alnum(s[i])) {
            i++;
            continue;
        }
        size_t e = i;
        while (e < s.size() && !p.inserted[e] &&
               (is_alnum(s[e]) || (s[e] == U'-' && e + 1 < s.size() && is_alnum(s[e + 1]) && e > i)))
            e++;
        words.push_back(Word{i, e, s.substr(i, e - i)});
        i = e;
    }
    bool page_list = false;  // after "page" or "pages", until a word that is not a number or "and"
    for (const Word& w : words) {
        const std::u32string l = lower(w.text);
        const bool digits = w.text.find_first_of(U"0123456789") != std::u32string::npos;
        bool figure = digits;
        for (size_t b = 0, e; b <= l.size() && !figure; b = e + 1) {
            e = l.find(U'-', b);
            if (e == std::u32string::npos) e = l.size();
            figure = number_word(l.substr(b, e - b));
        }
        const bool key = w.text.size() >= 2 && w.text[0] == U'F' &&
                         w.text.find_first_not_of(U"0123456789", 1) == std::u32string::npos;
        if (figure && !key && !(page_list && digits))
            warn(path, p, w.begin, w.text, "insert it from the release log", d);
        if (l == U"page" || l == U"pages") page_list = true;
        else if (!(page_list && (digits || l == U"and" || l == U"or" || l == U"to"))) page_list = false;
    }
    // Group names, as whole words.
    for (const Group& g : log.groups) {
        for (size_t at = s.find(g.name); at != std::u32string::npos; at = s.find(g.name, at + 1)) {
            const size_t end = at + g.name.size();
            bool typed = true;
            for (size_t i = at; i < end; i++) typed = typed && !p.inserted[i];
            if (!typed || (at > 0 && is_alnum(s[at - 1])) || (end < s.size() && is_alnum(s[end]))) continue;
            warn(path, p, at, g.name, "write it @@group " + utf8_encode(g.name) + "@@ so the log checks it", d);
        }
    }
}

}  // namespace issue
