// release_log.cpp: reading and checking the release log.
#include "tools/issue/release_log.h"

#include <cstring>

#include "tools/issue/cp437.h"

namespace issue {

namespace {

const char* const kind_names[kind_count] = {"demo", "intro", "music", "graphics", "diskmag", "tool"};
const char* const kind_plurals[kind_count] = {"demos", "intros", "music", "graphics", "diskmags", "tools"};
const char* const month_names[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const char* const month_shorts[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct Field {
    std::u32string text;
    int column = 0;  // 1-based column of the field's first character (or of where it would be)
};

bool is_space(char32_t c) { return c == ' '; }

Field trimmed(const std::u32string& line, size_t begin, size_t end) {
    while (begin < end && is_space(line[begin])) begin++;
    while (end > begin && is_space(line[end - 1])) end--;
    return Field{line.substr(begin, end - begin), static_cast<int>(begin) + 1};
}

std::vector<Field> split_bars(const std::u32string& line) {
    std::vector<Field> fields;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); i++) {
        if (i == line.size() || line[i] == '|') {
            fields.push_back(trimmed(line, start, i));
            start = i + 1;
        }
    }
    return fields;
}

bool parse_number(const std::u32string& s, size_t begin, size_t count, int& value) {
    if (begin + count > s.size() || count == 0) return false;
    value = 0;
    for (size_t i = begin; i < begin + count; i++) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + static_cast<int>(s[i] - '0');
        if (value > 100000000) return false;
    }
    return true;
}

bool parse_int(const std::u32string& s, int& value) { return parse_number(s, 0, s.size(), value); }

// "YYYY-MM" or "YYYY-MM-DD"; with_day selects which.
bool parse_date(const std::u32string& s, bool with_day, Date& date) {
    if (s.size() != (with_day ? 10u : 7u) || s[4] != '-' || (with_day && s[7] != '-')) return false;
    if (!parse_number(s, 0, 4, date.year) || !parse_number(s, 5, 2, date.month)) return false;
    if (date.year < 1900 || date.month < 1 || date.month > 12) return false;
    date.day = 1;
    if (with_day && (!parse_number(s, 8, 2, date.day) || date.day < 1 ||
                     date.day > days_in_month(date.year, date.month)))
        return false;
    return true;
}

std::string quoted(const std::u32string& s) { return "\"" + utf8_encode(s) + "\""; }

bool starts_with_word(const std::u32string& line, const char* word, std::u32string& rest, int& rest_column) {
    const size_t n = std::strlen(word);
    if (line.size() <= n) return false;
    for (size_t i = 0; i < n; i++)
        if (line[i] != static_cast<char32_t>(word[i])) return false;
    if (!is_space(line[n])) return false;
    const Field f = trimmed(line, n, line.size());
    rest = f.text;
    rest_column = f.column;
    return true;
}

}  // namespace

const char* kind_name(int kind) { return kind_names[kind]; }
const char* kind_plural(int kind) { return kind_plurals[kind]; }
const char* month_name(int month) { return month_names[month - 1]; }
const char* month_short(int month) { return month_shorts[month - 1]; }

int days_in_month(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return days[month - 1];
}

int log_find_group(const ReleaseLog& log, const std::u32string& name) {
    for (size_t i = 0; i < log.groups.size(); i++)
        if (log.groups[i].name == name) return static_cast<int>(i);
    return -1;
}

bool log_parse(const SourceFile& file, ReleaseLog& out, Diagnostics& d) {
    const int errors_before = d.errors;
    const std::string& path = file.path;
    out = ReleaseLog{};
    out.path = path;
    int issue_line = 0, chart_line = 0, released_line = 0;

    struct Pending {
        Release release;
        Field group;
    };
    std::vector<Pending> pending;

    for (const SourceLine& sl : file.lines) {
        const std::u32string& line = sl.text;
        const int ln = sl.number;
        if (!source_check_drawable(path, ln, 1, line, 0, d)) continue;
        size_t first = 0;
        while (first < line.size() && is_space(line[first])) first++;
        if (first == line.size() || line[first] == '#') continue;
        if (first != 0) {
            diag_error(d, path, ln, 1, "a log line starts in the first column");
            continue;
        }
        std::u32string rest;
        int rest_col = 0;
        if (starts_with_word(line, "issue", rest, rest_col)) {
            if (issue_line) diag_error(d, path, ln, 1, "the issue number is given twice (also on line " +
                                                           std::to_string(issue_line) + ")");
            else if (!parse_int(rest, out.issue) || out.issue < 1)
                diag_error(d, path, ln, rest_col, "the issue number is a whole number from 1 on");
            issue_line = ln;
        } else if (starts_with_word(line, "chart", rest, rest_col)) {
            Date m;
            if (chart_line) diag_error(d, path, ln, 1, "the chart month is given twice (also on line " +
                                                           std::to_string(chart_line) + ")");
            else if (!parse_date(rest, false, m))
                diag_error(d, path, ln, rest_col, "the chart month is written YYYY-MM");
            else
                out.chart_year = m.year, out.chart_month = m.month;
            chart_line = ln;
        } else if (starts_with_word(line, "released", rest, rest_col)) {
            if (released_line) diag_error(d, path, ln, 1, "the release date is given twice (also on line " +
                                                              std::to_string(released_line) + ")");
            else if (!parse_date(rest, true, out.released))
                diag_error(d, path, ln, rest_col, "the release date is a real date written YYYY-MM-DD");
            released_line = ln;
        } else if (starts_with_word(line, "group", rest, rest_col)) {
            if (rest.size() > static_cast<size_t>(log_group_name_max)) {
                diag_error(d, path, ln, rest_col + log_group_name_max,
                           "group name " + quoted(rest) + " is longer than the " +
                               std::to_string(log_group_name_max) + " characters the tables have room for");
            } else if (rest.find_first_of(U"|{}") != std::u32string::npos || rest.find(U"@@") != std::u32string::npos) {
                diag_error(d, path, ln, rest_col, "a group name cannot contain '|', '{', '}' or \"@@\"");
            } else if (int other = log_find_group(out, rest); other >= 0) {
                diag_error(d, path, ln, rest_col,
                           "group " + quoted(rest) + " is declared twice (also on line " +
                               std::to_string(out.groups[other].line) + ")");
            } else {
                out.groups.push_back(Group{rest, ln});
            }
        } else if (starts_with_word(line, "staff", rest, rest_col)) {
            const std::vector<Field> f = split_bars(rest);
            if (f.size() != 2 || f[0].text.empty() || f[1].text.empty()) {
                diag_error(d, path, ln, rest_col, "a staff line is: staff NAME | ROLE");
            } else if (f[0].text.size() > static_cast<size_t>(log_staff_name_max) ||
                       f[1].text.size() > static_cast<size_t>(log_staff_role_max)) {
                diag_error(d, path, ln, rest_col,
                           "a staff name has room for " + std::to_string(log_staff_name_max) + " characters and a role for " +
                               std::to_string(log_staff_role_max));
            } else if (f[0].text.find_first_of(U"{}@") != std::u32string::npos) {
                diag_error(d, path, ln, rest_col, "a staff name cannot contain '{', '}' or '@'");
            } else {
                out.staff.push_back(Staff{f[0].text, f[1].text, ln});
            }
        } else if (line[0] >= '0' && line[0] <= '9') {
            const std::vector<Field> f = split_bars(line);
            if (f.size() < 4 || f.size() > 5) {
                diag_error(d, path, ln, 1,
                           "a release line is: date | kind | group | title [| points], found " +
                               std::to_string(f.size()) + " fields");
                continue;
            }
            Pending p;
            p.release.line = ln;
            bool good = true;
            if (!parse_date(f[0].text, true, p.release.date)) {
                diag_error(d, path, ln, f[0].column, "the date is a real date written YYYY-MM-DD");
                good = false;
            }
            p.release.kind = -1;
            for (int k = 0; k < kind_count; k++)
                if (utf8_encode(f[1].text) == kind_names[k]) p.release.kind = k;
            if (p.release.kind < 0) {
                diag_error(d, path, ln, f[1].column,
                           "unknown kind " + quoted(f[1].text) +
                               "; the kinds are demo, intro, music, graphics, diskmag and tool");
                good = false;
            }
            p.group = f[2];
            p.release.title = f[3].text;
            if (p.release.title.empty()) {
                diag_error(d, path, ln, f[3].column, "the release has no title");
                good = false;
            } else if (p.release.title.size() > static_cast<size_t>(log_title_max)) {
                diag_error(d, path, ln, f[3].column + log_title_max,
                           "title " + quoted(p.release.title) + " is longer than the " +
                               std::to_string(log_title_max) + " characters the tables have room for");
                good = false;
            } else if (p.release.title.find(U"@@") != std::u32string::npos ||
                       p.release.title.find_first_of(U"{}") != std::u32string::npos) {
                diag_error(d, path, ln, f[3].column, "a title cannot contain '{', '}' or \"@@\"");
                good = false;
            }
            if (f.size() == 5 && !f[4].text.empty() && !parse_int(f[4].text, p.release.points)) {
                diag_error(d, path, ln, f[4].column, "points are a whole number (or leave the field out)");
                good = false;
            }
            if (good) pending.push_back(p);
        } else {
            diag_error(d, path, ln, 1,
                       "not a log line: expected issue, chart, released, group, staff or a release starting with its date");
        }
    }

    if (!issue_line) diag_error(d, path, 0, 0, "the issue number (\"issue N\") is missing");
    if (!chart_line) diag_error(d, path, 0, 0, "the chart month (\"chart YYYY-MM\") is missing");
    if (!released_line) diag_error(d, path, 0, 0, "the release date (\"released YYYY-MM-DD\") is missing");

    for (Pending& p : pending) {
        Release& r = p.release;
        r.group = log_find_group(out, p.group.text);
        if (r.group < 0) {
            diag_error(d, path, r.line, p.group.column,
                       "group " + quoted(p.group.text) + " is not declared; add a \"group\" line or mend the name");
            continue;
        }
        if (chart_line && (r.date.year > out.chart_year ||
                           (r.date.year == out.chart_year && r.date.month > out.chart_month))) {
            diag_error(d, path, r.line, 1, "the release is dated after the chart month");
            continue;
        }
        if (r.date.year == out.chart_year && r.date.month == out.chart_month && r.points < 0) {
            diag_error(d, path, r.line, 1, "a release of the chart month needs its points from the vote");
            continue;
        }
        out.releases.push_back(r);
    }

    if (chart_line && released_line && out.chart_year > 0 && out.released.year > 0) {
        const bool after = out.released.year > out.chart_year ||
                           (out.released.year == out.chart_year && out.released.month > out.chart_month);
        if (!after) diag_error(d, path, released_line, 1, "the issue's release date must lie after the chart month");
    }
    return d.errors == errors_before;
}

bool log_load(const std::string& path, ReleaseLog& out, Diagnostics& d) {
    SourceFile file;
    if (!source_read(path, file, d)) return false;
    return log_parse(file, out, d);
}

}  // namespace issue
