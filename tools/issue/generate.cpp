// generate.cpp: values and blocks made from the release log.
#include "tools/issue/generate.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "tools/issue/cp437.h"
#include "tools/issue/english.h"
#include "tools/issue/table.h"

namespace issue {

namespace {

using Rows = std::vector<std::u32string>;

std::u32string u(const char* s) { return table_ascii(s); }
std::u32string num(int n) { return table_number(n); }

// Column titles of the kinds where a table has one column per kind.
const char* const kind_short[kind_count] = {"demo", "intro", "music", "gfx", "mag", "tool"};

std::u32string date_long(const Date& d) {
    return num(d.day) + U" " + u(month_name(d.month)) + U" " + num(d.year);
}

std::u32string date_short(const Date& d) {
    return num(d.day) + U" " + u(month_short(d.month)) + U" " + num(d.year);
}

std::u32string date_iso(const Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return u(buf);
}

std::u32string upper(std::u32string s) {
    for (char32_t& c : s)
        if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    return s;
}

std::u32string percent(int part, int whole) {
    if (whole == 0) return U"·";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f%%", 100.0 * part / whole);
    return u(buf);
}

void append(Rows& rows, const Rows& more) { rows.insert(rows.end(), more.begin(), more.end()); }

// Competition ranking: equal counts share a rank ("1, 2, 2, 4").
std::vector<int> ranks(const std::vector<int>& counts_in_order) {
    std::vector<int> r(counts_in_order.size());
    for (size_t i = 0; i < r.size(); i++)
        r[i] = (i > 0 && counts_in_order[i] == counts_in_order[i - 1]) ? r[i - 1] : static_cast<int>(i) + 1;
    return r;
}

bool parse_limit(const std::u32string& arg, int& limit, std::string& why) {
    limit = -1;
    if (arg.empty()) return true;
    int n = 0;
    for (char32_t c : arg) {
        if (c < '0' || c > '9' || n > 100000) {
            why = "the argument is a number of rows";
            return false;
        }
        n = n * 10 + static_cast<int>(c - '0');
    }
    limit = n;
    return true;
}

bool find_group(const Issue& is, const std::u32string& arg, int& g, std::string& why) {
    g = log_find_group(is.log, arg);
    if (g < 0) why = "no group \"" + utf8_encode(arg) + "\" in the release log";
    return g >= 0;
}

// ---- tables ----------------------------------------------------------------

// Kinds down, years across: one group's (g >= 0) or the whole scene's (g < 0).
Table kind_year_table(const Issue& is, int g) {
    const Stats& s = is.stats;
    Table t;
    t.columns.push_back({U"", 8, false});
    for (int y = 0; y < s.years; y++) t.columns.push_back({num(s.first_year + y), 4, true});
    t.columns.push_back({U"total", 5, true});
    auto cell = [&](int year, int kind) {
        return g >= 0 ? stats_group_year_kind(s, g, year, kind) : stats_year_kind(s, year, kind);
    };
    for (int k = 0; k < kind_count; k++) {
        std::vector<std::u32string> row{u(kind_plural(k))};
        for (int y = 0; y < s.years; y++) row.push_back(table_count(cell(s.first_year + y, k)));
        row.push_back(table_count(g >= 0 ? stats_group_kind(s, g, k) : stats_kind(s, k)));
        t.body.push_back(row);
    }
    std::vector<std::u32string> foot{U"all"};
    for (int y = 0; y < s.years; y++)
        foot.push_back(table_count(g >= 0 ? stats_group_year(s, g, s.first_year + y) : stats_year(s, s.first_year + y)));
    foot.push_back(table_count(g >= 0 ? stats_group_total(s, g) : stats_total(s)));
    t.foot.push_back(foot);
    return t;
}

// The heading row of a group's block: name at the left, figures at the right.
std::u32string group_heading(const Issue& is, int g, int margin, int width) {
    const Stats& s = is.stats;
    std::u32string left = std::u32string(margin, U' ') + U"▐█▌ " + upper(is.log.groups[g].name) + U" ";
    std::u32string right;
    if (s.group_first_year[g] > 0)
        right = U" since " + num(s.group_first_year[g]) + U" · " + english_count(stats_group_total(s, g), U"release") + U" ";
    else
        right = U" nothing logged yet ";
    right += U"▐█▌";
    const int fill = margin + width - static_cast<int>(left.size() + right.size());
    return left + std::u32string(fill > 0 ? fill : 1, U'─') + right;
}

std::u32string group_latest_line(const Issue& is, int g, int margin) {
    const int latest = is.stats.group_latest[g];
    std::u32string line(margin + 1, U' ');
    if (latest < 0) return line + U"No release logged yet.";
    const Release& r = is.log.releases[latest];
    return line + U"Latest: \"" + r.title + U"\" (" + u(kind_name(r.kind)) + U", " + date_short(r.date) + U")";
}

Rows group_block(const Issue& is, int g, int margin) {
    const Table t = kind_year_table(is, g);
    Rows rows{group_heading(is, g, margin, table_width(t))};
    append(rows, table_render(t, margin));
    rows.push_back(group_latest_line(is, g, margin));
    rows.resize(gen_group_block_rows);  // blank rows after, up to the block's height
    return rows;
}

std::vector<int> groups_by_name(const Issue& is) {
    return stats_rank_groups(is.log, [](int) { return 0; });
}

Rows group_index(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns = {{U"group", log_group_name_max, false},
                 {U"since", 5, true},
                 {U"latest release", 14, true},
                 {u(month_short(s.chart_month)), 4, true},
                 {num(s.chart_year), 4, true},
                 {U"total", 5, true}};
    for (int g : groups_by_name(is)) {
        const int latest = s.group_latest[g];
        t.body.push_back({is.log.groups[g].name,
                          s.group_first_year[g] ? num(s.group_first_year[g]) : U"·",
                          latest >= 0 ? date_iso(is.log.releases[latest].date) : U"·",
                          table_count(stats_group_month(s, g, s.chart_month)),
                          table_count(stats_group_year(s, g, s.chart_year)),
                          table_count(stats_group_total(s, g))});
    }
    t.foot.push_back({num(s.groups) + U" groups", U"", U"",
                      table_count(stats_month(s, s.chart_month)), table_count(stats_year(s, s.chart_year)),
                      table_count(stats_total(s))});
    return table_render(t, margin);
}

// The first `limit` releases of the chart and every one tied with the last
// of them; all of them when limit < 0.
size_t chart_cut(const ReleaseLog& log, const std::vector<int>& chart, int limit) {
    if (limit < 0 || static_cast<size_t>(limit) >= chart.size()) return chart.size();
    if (limit == 0) return 0;
    size_t n = static_cast<size_t>(limit);
    while (n < chart.size() && log.releases[chart[n]].points == log.releases[chart[n - 1]].points) n++;
    return n;
}

std::vector<int> chart_points(const ReleaseLog& log, const std::vector<int>& chart) {
    std::vector<int> points;
    for (int i : chart) points.push_back(log.releases[i].points);
    return points;
}

Rows month_chart(const Issue& is, int margin, int limit) {
    const std::vector<int> chart = stats_month_chart(is.log, is.log.chart_year, is.log.chart_month);
    const std::vector<int> rank = ranks(chart_points(is.log, chart));
    Table t;
    t.columns = {{U"#", 3, true}, {U"title", log_title_max, false}, {U"group", log_group_name_max, false},
                 {U"kind", 8, false}, {U"points", 6, true}};
    const size_t shown = chart_cut(is.log, chart, limit);
    for (size_t i = 0; i < shown; i++) {
        const Release& r = is.log.releases[chart[i]];
        t.body.push_back({num(rank[i]), r.title, is.log.groups[r.group].name, u(kind_name(r.kind)),
                          num(r.points)});
    }
    return table_render(t, margin);
}

// Months of the chart year down, kinds across.
Rows month_table(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns.push_back({U"month", 5, false});
    for (int k = 0; k < kind_count; k++) t.columns.push_back({u(kind_short[k]), 5, true});
    t.columns.push_back({U"total", 5, true});
    t.columns.push_back({U"groups", 6, true});
    int kind_total[kind_count] = {};
    for (int m = 1; m <= s.chart_month; m++) {
        std::vector<std::u32string> row{u(month_short(m))};
        for (int k = 0; k < kind_count; k++) {
            const int n = stats_month_kind(is.log, m, k);
            kind_total[k] += n;
            row.push_back(table_count(n));
        }
        row.push_back(table_count(stats_month(s, m)));
        row.push_back(table_count(stats_active_groups_month(s, m)));
        t.body.push_back(row);
    }
    std::vector<std::u32string> foot{num(s.chart_year)};
    for (int k = 0; k < kind_count; k++) foot.push_back(table_count(kind_total[k]));
    foot.push_back(table_count(stats_year(s, s.chart_year)));
    foot.push_back(table_count(stats_active_groups_year(s, s.chart_year)));
    t.foot.push_back(foot);
    return table_render(t, margin);
}

// Years down, kinds across, all groups.
Rows year_table(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns.push_back({U"year", 5, false});
    for (int k = 0; k < kind_count; k++) t.columns.push_back({u(kind_short[k]), 5, true});
    t.columns.push_back({U"total", 5, true});
    t.columns.push_back({U"groups", 6, true});
    for (int y = s.first_year; y <= s.chart_year; y++) {
        std::vector<std::u32string> row{num(y)};
        for (int k = 0; k < kind_count; k++) row.push_back(table_count(stats_year_kind(s, y, k)));
        row.push_back(table_count(stats_year(s, y)));
        row.push_back(table_count(stats_active_groups_year(s, y)));
        t.body.push_back(row);
    }
    std::vector<std::u32string> foot{U"all"};
    for (int k = 0; k < kind_count; k++) foot.push_back(table_count(stats_kind(s, k)));
    foot.push_back(table_count(stats_total(s)));
    foot.push_back(table_count(stats_active_groups(s)));
    t.foot.push_back(foot);
    return table_render(t, margin);
}

Rows number_ones(const Issue& is, int margin) {
    Table t;
    t.columns = {{U"month", 9, false}, {U"number one", log_title_max, false},
                 {U"group", log_group_name_max, false}, {U"points", 6, true}};
    for (int m = 1; m <= is.log.chart_month; m++) {
        const std::vector<int> chart = stats_month_chart(is.log, is.log.chart_year, m);
        if (chart.empty()) {
            t.body.push_back({u(month_name(m)), U"no vote", U"", U""});
            continue;
        }
        for (size_t i = 0; i < chart_cut(is.log, chart, 1); i++) {
            const Release& r = is.log.releases[chart[i]];
            t.body.push_back({i ? U"" : u(month_name(m)), r.title, is.log.groups[r.group].name, num(r.points)});
        }
    }
    return table_render(t, margin);
}

// at_least > 0: only the groups with that many releases or more.
Rows year_groups(const Issue& is, int margin, int at_least) {
    const Stats& s = is.stats;
    const int year = s.chart_year;
    std::vector<int> order = stats_rank_groups(is.log, [&](int g) { return stats_group_year(s, g, year); });
    std::vector<int> counts;
    for (int g : order) counts.push_back(stats_group_year(s, g, year));
    const std::vector<int> rank = ranks(counts);
    const int total = stats_year(s, year);
    Table t;
    t.columns = {{U"#", 3, true}, {U"group", log_group_name_max, false}, {num(year), 5, true},
                 {U"share", 6, true}, {U"since", 5, true}, {U"all time", 8, true}};
    for (size_t i = 0; i < order.size(); i++) {
        const int g = order[i];
        if (counts[i] == 0 || counts[i] < at_least) break;
        t.body.push_back({num(rank[i]), is.log.groups[g].name, num(counts[i]), percent(counts[i], total),
                          num(s.group_first_year[g]), num(stats_group_total(s, g))});
    }
    return table_render(t, margin);
}

Rows all_groups(const Issue& is, int margin) {
    const Stats& s = is.stats;
    std::vector<int> order = stats_rank_groups(is.log, [&](int g) { return stats_group_total(s, g); });
    std::vector<int> counts;
    for (int g : order) counts.push_back(stats_group_total(s, g));
    const std::vector<int> rank = ranks(counts);
    Table t;
    t.columns = {{U"#", 3, true},      {U"group", log_group_name_max, false}, {U"since", 5, true},
                 {U"latest", 6, true}, {U"releases", 8, true},                {U"best year", 9, true}};
    for (size_t i = 0; i < order.size(); i++) {
        const int g = order[i];
        int best = 0, best_year = 0;
        for (int y = s.first_year; y <= s.chart_year; y++)
            if (stats_group_year(s, g, y) > best) best = stats_group_year(s, g, y), best_year = y;
        const int latest = s.group_latest[g];
        t.body.push_back({num(rank[i]), is.log.groups[g].name,
                          s.group_first_year[g] ? num(s.group_first_year[g]) : U"·",
                          latest >= 0 ? num(is.log.releases[latest].date.year) : U"·", table_count(counts[i]),
                          best ? num(best_year) + U": " + num(best) : U"·"});
    }
    return table_render(t, margin);
}

// The groups with the highest count, and with the next highest, by name.
struct TopTwo {
    int top = 0, second = 0;
    std::vector<int> top_groups, second_groups;
};

template <class F>
TopTwo top_two(const Issue& is, F count) {
    TopTwo r;
    for (int g : stats_rank_groups(is.log, count)) {
        const int n = count(g);
        if (n == 0) break;
        if (r.top_groups.empty() || n == r.top) {
            r.top = n;
            r.top_groups.push_back(g);
        } else if (r.second_groups.empty() || n == r.second) {
            r.second = n;
            r.second_groups.push_back(g);
        }
    }
    return r;
}

// One row per year; a tie adds a row under it for each further group.
Rows busiest_groups(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns = {{U"year", 4, false}, {U"busiest group", log_group_name_max, false}, {U"releases", 8, true},
                 {U"runner-up", log_group_name_max, false}, {U"releases", 8, true}};
    for (int y = s.first_year; y <= s.chart_year; y++) {
        const TopTwo r = top_two(is, [&](int g) { return stats_group_year(s, g, y); });
        const size_t lines = std::max<size_t>(1, std::max(r.top_groups.size(), r.second_groups.size()));
        for (size_t i = 0; i < lines; i++) {
            std::vector<std::u32string> row{i ? U"" : num(y)};
            auto add = [&](const std::vector<int>& groups, int n) {
                const bool here = i < groups.size();
                row.push_back(here ? is.log.groups[groups[i]].name : i ? U"" : U"·");
                row.push_back(here ? table_count(n) : i ? U"" : U"·");
            };
            add(r.top_groups, r.top);
            add(r.second_groups, r.second);
            t.body.push_back(row);
        }
    }
    return table_render(t, margin);
}

// The staff box of page 1: a single frame, name and role.
Rows staff_table(const Issue& is, int margin) {
    const std::u32string pad(margin, U' ');
    const std::u32string name_rule(log_staff_name_max + 2, U'─'), role_rule(log_staff_role_max + 2, U'─');
    Rows rows{pad + U"┌" + name_rule + U"┬" + role_rule + U"┐"};
    for (const Staff& p : is.log.staff)
        rows.push_back(pad + U"│ " + p.name + std::u32string(log_staff_name_max - p.name.size(), U' ') + U" │ " +
                       p.role + std::u32string(log_staff_role_max - p.role.size(), U' ') + U" │");
    rows.push_back(pad + U"└" + name_rule + U"┴" + role_rule + U"┘");
    return rows;
}

Rows margined(Rows rows, int margin) {
    for (std::u32string& r : rows)
        if (!r.empty()) r = std::u32string(margin, U' ') + r;
    return rows;
}


// ---- values ----------------------------------------------------------------

// A value is a count (which may take a noun) or text.
struct Value {
    bool count = false;
    int n = 0;
    std::u32string text;
};

Value count(int n) { return Value{true, n, {}}; }
Value text(std::u32string t) { return Value{false, 0, std::move(t)}; }

// What a value or block gets to work with: the issue and its checked argument.
struct Ctx {
    const Issue& is;
    const std::u32string& arg;
    int group;   // group_arg: the group's index
    int number;  // place_arg, limit_arg: the number (-1 when left out)
    const Stats& s() const { return is.stats; }
    const ReleaseLog& log() const { return is.log; }
};

enum ArgKind {
    no_arg,
    group_arg,  // a group of the log
    place_arg,  // a number from 1
    limit_arg,  // a number, or nothing
    from_arg,   // "from N", or nothing
    text_arg,   // any text
};

std::u32string names(const Issue& is, const std::vector<int>& groups) {
    std::vector<std::u32string> list;
    for (int g : groups) list.push_back(is.log.groups[g].name);
    return english_list(list);
}

// Plain quotes: the font has no curly ones.
std::u32string quoted(const std::u32string& s) { return U"\"" + s + U"\""; }

// Prose nouns of the kinds, for counts in sentences.
const char32_t* const kind_noun[kind_count] = {U"demo", U"intro", U"music disk", U"art pack", U"diskmag", U"tool"};

// '"Title" by Group', for every release of `picks` in order.
std::u32string release_list(const Issue& is, const std::vector<int>& picks, bool with_month, bool with_year) {
    std::vector<std::u32string> items;
    for (int i : picks) {
        const Release& r = is.log.releases[i];
        std::u32string item = quoted(r.title) + U" by " + is.log.groups[r.group].name;
        if (with_month) item += U" in " + u(month_name(r.date.month));
        if (with_year) item += U" " + num(r.date.year);
        items.push_back(item);
    }
    return english_list(items);
}

// The releases with the most points among those `take` accepts, by date.
template <class F>
std::vector<int> best_releases(const ReleaseLog& log, F take, int& best) {
    best = -1;
    std::vector<int> picks;
    for (size_t i = 0; i < log.releases.size(); i++) {
        const Release& r = log.releases[i];
        if (r.points < 0 || !take(r)) continue;
        if (r.points > best) best = r.points, picks.clear();
        if (r.points == best) picks.push_back(static_cast<int>(i));
    }
    std::stable_sort(picks.begin(), picks.end(), [&](int a, int b) {
        const Date &x = log.releases[a].date, &y = log.releases[b].date;
        return std::tie(x.year, x.month, x.day) < std::tie(y.year, y.month, y.day);
    });
    return picks;
}

// Months of the chart year with the most (most = true) or fewest releases.
std::vector<std::u32string> extreme_months(const Stats& s, bool most, int& n) {
    n = stats_month(s, 1);
    for (int m = 1; m <= s.chart_month; m++) n = most ? std::max(n, stats_month(s, m)) : std::min(n, stats_month(s, m));
    std::vector<std::u32string> months;
    for (int m = 1; m <= s.chart_month; m++)
        if (stats_month(s, m) == n) months.push_back(u(month_name(m)));
    return months;
}

std::vector<std::u32string> busiest_years(const Stats& s, int& n) {
    n = 0;
    for (int y = s.first_year; y <= s.chart_year; y++) n = std::max(n, stats_year(s, y));
    std::vector<std::u32string> years;
    for (int y = s.first_year; y <= s.chart_year; y++)
        if (stats_year(s, y) == n) years.push_back(num(y));
    return years;
}

std::u32string extreme_kinds(const Stats& s, bool most) {
    int n = stats_kind(s, 0);
    for (int k = 0; k < kind_count; k++) n = most ? std::max(n, stats_kind(s, k)) : std::min(n, stats_kind(s, k));
    std::vector<std::u32string> kinds;
    for (int k = 0; k < kind_count; k++)
        if (stats_kind(s, k) == n) kinds.push_back(english_plural(kind_noun[k]));
    return english_list(kinds);
}

// The most releases one group made in one year: "Group in 1996", every tie.
std::u32string year_record(const Issue& is, int& n) {
    const Stats& s = is.stats;
    n = 0;
    for (int g = 0; g < s.groups; g++)
        for (int y = s.first_year; y <= s.chart_year; y++) n = std::max(n, stats_group_year(s, g, y));
    std::vector<std::u32string> items;
    for (int y = s.first_year; y <= s.chart_year; y++)
        for (int g : groups_by_name(is))
            if (n > 0 && stats_group_year(s, g, y) == n) items.push_back(is.log.groups[g].name + U" in " + num(y));
    return english_list(items);
}

// Month after the chart month, `ahead` months on: {year, month}.
Date month_ahead(const Stats& s, int ahead) {
    const int m = s.chart_month - 1 + ahead;
    return Date{s.chart_year + m / 12, m % 12 + 1, 1};
}

TopTwo all_ranking(const Issue& is) {
    return top_two(is, [&](int g) { return stats_group_total(is.stats, g); });
}
TopTwo month_ranking(const Issue& is) {
    return top_two(is, [&](int g) { return stats_group_month(is.stats, g, is.stats.chart_month); });
}

using ValueFn = bool (*)(const Ctx&, Value&, std::string&);
struct ValueEntry {
    const char* name;
    ArgKind arg;
    ValueFn make;
};

#define V(...) [](const Ctx& c, Value& v, std::string& why) -> bool { (void)why; __VA_ARGS__; return true; }

const ValueEntry value_table[] = {
    // The issue and its months.
    {"issue", no_arg, V(v = count(c.log().issue))},
    {"next_issue", no_arg, V(v = count(c.log().issue + 1))},
    {"chart_month", no_arg, V(v = text(u(month_name(c.s().chart_month))))},
    {"chart_year", no_arg, V(v = count(c.s().chart_year))},
    {"released", no_arg, V(v = text(date_long(c.log().released)))},
    {"vote_month", no_arg, V(v = text(u(month_name(month_ahead(c.s(), 1).month))))},
    {"vote_closes", no_arg, V({
         const Date d = month_ahead(c.s(), 1);
         v = text(num(days_in_month(d.year, d.month)) + U" " + u(month_name(d.month)));
     })},
    {"next_issue_month", no_arg, V(v = text(u(month_name(month_ahead(c.s(), 2).month))))},
    {"first_year", no_arg, V(v = count(c.s().first_year))},
    {"log_begins", no_arg, V({
         Date first{c.s().chart_year, c.s().chart_month, 1};
         for (const Release& r : c.log().releases)
             if (std::tie(r.date.year, r.date.month) < std::tie(first.year, first.month)) first = r.date;
         v = text(u(month_name(first.month)) + U" " + num(first.year));
     })},
    {"year_months", no_arg, V(v = count(c.s().chart_month))},
    {"year_months_left", no_arg, V(v = count(12 - c.s().chart_month))},
    {"staff_names", no_arg, V({
         std::vector<std::u32string> list;
         for (const Staff& p : c.log().staff) list.push_back(p.name);
         v = text(english_list(list));
     })},
    // The chart month.
    {"month_releases", no_arg, V(v = count(stats_month(c.s(), c.s().chart_month)))},
    {"month_groups", no_arg, V(v = count(stats_active_groups_month(c.s(), c.s().chart_month)))},
    {"month_kinds", no_arg, V({
         std::vector<std::u32string> list;
         for (int k = 0; k < kind_count; k++)
             if (const int n = stats_month_kind(c.log(), c.s().chart_month, k)) list.push_back(english_count(n, kind_noun[k]));
         v = text(english_list(list));
     })},
    {"month_newcomers", no_arg, V({
         std::vector<int> fresh;
         for (int g : groups_by_name(c.is)) {
             bool before = false, now = false;
             for (const Release& r : c.log().releases) {
                 if (r.group != g) continue;
                 const bool this_month = r.date.year == c.s().chart_year && r.date.month == c.s().chart_month;
                 now = now || this_month;
                 before = before || !this_month;
             }
             if (now && !before) fresh.push_back(g);
         }
         v = text(english_count(static_cast<int>(fresh.size()), U"newcomer") +
                  (fresh.empty() ? U"" : U": " + names(c.is, fresh)));
     })},
    {"month_top_groups", no_arg, V(v = text(names(c.is, month_ranking(c.is).top_groups)))},
    {"month_top_count", no_arg, V(v = count(month_ranking(c.is).top))},
    {"chart_top", no_arg, V({
         const std::vector<int> chart = stats_month_chart(c.log(), c.s().chart_year, c.s().chart_month);
         v = text(release_list(c.is, std::vector<int>(chart.begin(), chart.begin() + chart_cut(c.log(), chart, 1)),
                               false, false));
     })},
    {"chart_points", place_arg, V({
         const std::vector<int> chart = stats_month_chart(c.log(), c.s().chart_year, c.s().chart_month);
         if (c.number > static_cast<int>(chart.size())) {
             why = "the chart has only " + std::to_string(chart.size()) + " places";
             return false;
         }
         v = count(c.log().releases[chart[c.number - 1]].points);
     })},
    {"chart_next", place_arg, V({
         // The N releases after the number one (or the releases sharing it).
         const std::vector<int> chart = stats_month_chart(c.log(), c.s().chart_year, c.s().chart_month);
         std::vector<std::u32string> items;
         for (size_t i = chart_cut(c.log(), chart, 1); i < chart.size() && static_cast<int>(items.size()) < c.number; i++)
             items.push_back(quoted(c.log().releases[chart[i]].title) + U" (" + num(c.log().releases[chart[i]].points) + U")");
         v = text(english_list(items));
     })},
    // The chart year.
    {"year_releases", no_arg, V(v = count(stats_year(c.s(), c.s().chart_year)))},
    {"year_groups", no_arg, V(v = count(stats_active_groups_year(c.s(), c.s().chart_year)))},
    {"year_new_groups", no_arg, V(v = count(stats_new_groups_year(c.s(), c.s().chart_year)))},
    {"year_busiest_months", no_arg, V({ int n; v = text(english_list(extreme_months(c.s(), true, n))); })},
    {"year_busiest_count", no_arg, V({ int n; extreme_months(c.s(), true, n); v = count(n); })},
    {"year_quietest_months", no_arg, V({ int n; v = text(english_list(extreme_months(c.s(), false, n))); })},
    {"year_quietest_count", no_arg, V({ int n; extreme_months(c.s(), false, n); v = count(n); })},
    {"year_charts", no_arg, V({
         int n = 0;
         for (int m = 1; m <= c.s().chart_month; m++) n += !stats_month_chart(c.log(), c.s().chart_year, m).empty();
         v = count(n);
     })},
    {"year_chart_leaders", no_arg, V({
         std::vector<bool> led(c.s().groups, false);
         for (int m = 1; m <= c.s().chart_month; m++) {
             const std::vector<int> chart = stats_month_chart(c.log(), c.s().chart_year, m);
             for (size_t i = 0; i < chart_cut(c.log(), chart, 1); i++) led[c.log().releases[chart[i]].group] = true;
         }
         v = count(static_cast<int>(std::count(led.begin(), led.end(), true)));
     })},
    {"year_best_release", no_arg, V({
         int best;
         v = text(release_list(c.is, best_releases(c.log(), [&](const Release& r) { return r.date.year == c.s().chart_year; }, best), true, false));
     })},
    {"year_best_points", no_arg, V({
         int best;
         best_releases(c.log(), [&](const Release& r) { return r.date.year == c.s().chart_year; }, best);
         v = count(std::max(best, 0));
     })},
    // All time.
    {"all_releases", no_arg, V(v = count(stats_total(c.s())))},
    {"all_groups", no_arg, V(v = count(stats_active_groups(c.s())))},
    {"log_groups", no_arg, V(v = count(c.s().groups))},
    {"releases_first_year", no_arg, V(v = count(stats_year(c.s(), c.s().first_year)))},
    {"releases_last_year", no_arg, V(v = count(stats_year(c.s(), c.s().chart_year - 1)))},
    {"all_busiest_years", no_arg, V({ int n; v = text(english_list(busiest_years(c.s(), n))); })},
    {"all_busiest_count", no_arg, V({ int n; busiest_years(c.s(), n); v = count(n); })},
    {"all_common_kinds", no_arg, V(v = text(extreme_kinds(c.s(), true)))},
    {"all_rare_kinds", no_arg, V(v = text(extreme_kinds(c.s(), false)))},
    {"all_top_groups", no_arg, V(v = text(names(c.is, all_ranking(c.is).top_groups)))},
    {"all_top_count", no_arg, V(v = count(all_ranking(c.is).top))},
    {"all_second_groups", no_arg, V(v = text(names(c.is, all_ranking(c.is).second_groups)))},
    {"all_second_count", no_arg, V(v = count(all_ranking(c.is).second))},
    {"all_record", no_arg, V({ int n; v = text(year_record(c.is, n)); })},
    {"all_record_count", no_arg, V({ int n; year_record(c.is, n); v = count(n); })},
    {"all_steady_count", no_arg, V({
         int n = 0;
         for (int g = 0; g < c.s().groups; g++) {
             bool every = true;
             for (int y = c.s().first_year; y <= c.s().chart_year; y++) every = every && stats_group_year(c.s(), g, y) > 0;
             n += every;
         }
         v = count(n);
     })},
    {"all_best_release", no_arg, V({
         int best;
         v = text(release_list(c.is, best_releases(c.log(), [](const Release&) { return true; }, best), true, true));
     })},
    {"all_best_points", no_arg, V({
         int best;
         best_releases(c.log(), [](const Release&) { return true; }, best);
         v = count(std::max(best, 0));
     })},
    // One group.
    {"group", group_arg, V(v = text(c.log().groups[c.group].name))},
    {"group_month", group_arg, V(v = count(stats_group_month(c.s(), c.group, c.s().chart_month)))},
    {"group_year", group_arg, V(v = count(stats_group_year(c.s(), c.group, c.s().chart_year)))},
    {"group_all", group_arg, V(v = count(stats_group_total(c.s(), c.group)))},
    {"group_since", group_arg, V({
         if (!c.s().group_first_year[c.group]) {
             why = "the group has no release in the log";
             return false;
         }
         v = count(c.s().group_first_year[c.group]);
     })},
    {"group_year_place", group_arg, V({
         // Its place among the groups this year, by the shared-place rule.
         const int mine = stats_group_year(c.s(), c.group, c.s().chart_year);
         int above = 0, level = 0;
         for (int g = 0; g < c.s().groups; g++) {
             const int n = stats_group_year(c.s(), g, c.s().chart_year);
             above += n > mine;
             level += n == mine && g != c.group;
         }
         if (above == 0) v = text(level ? U"as many as any other group" : U"more than any other group");
         else v = text((level ? U"shared place " : U"place ") + num(above + 1) + U" among the groups");
     })},
    {"group_month_best", group_arg, V({
         const std::vector<int> chart = stats_month_chart(c.log(), c.s().chart_year, c.s().chart_month);
         const std::vector<int> rank = ranks(chart_points(c.log(), chart));
         v = text(U"no release in the chart");
         for (size_t i = 0; i < chart.size(); i++)
             if (c.log().releases[chart[i]].group == c.group) {
                 const Release& r = c.log().releases[chart[i]];
                 v = text(quoted(r.title) + U", place " + num(rank[i]) + U" with " + english_count(r.points, U"point"));
                 break;
             }
     })},
    {"group_year_best", group_arg, V({
         int best;
         const std::vector<int> picks = best_releases(
             c.log(), [&](const Release& r) { return r.group == c.group && r.date.year == c.s().chart_year; }, best);
         std::vector<std::u32string> items;
         for (int i : picks)
             items.push_back(quoted(c.log().releases[i].title) + U" in " + u(month_name(c.log().releases[i].date.month)));
         v = text(items.empty() ? U"nothing in the charts" : english_list(items) + U", " + english_count(best, U"point"));
     })},
    // Text meant as written: a figure or name that is not the log's.
    {"fixed", text_arg, V(v = text(c.arg))},
};
#undef V

using BlockFn = bool (*)(const Ctx&, int margin, Rows&, std::string&);
struct BlockEntry {
    const char* name;
    ArgKind arg;
    BlockFn make;
};

#define B(...) [](const Ctx& c, int margin, Rows& rows, std::string& why) -> bool { (void)why; (void)c; __VA_ARGS__; return true; }

bool banner(const Ctx& c, const std::u32string& words, int margin, Rows& rows, std::string& why, bool large) {
    Rows set;
    const int bad = large ? banner_large(c.is.font, words, set) : banner_small(c.is.font, words, set);
    if (bad >= 0) {
        why = "the block-letter font has no glyph for " + source_describe(words[bad]);
        return false;
    }
    rows = margined(set, margin);
    return true;
}

const BlockEntry block_table[] = {
    {"title", text_arg, B(return banner(c, c.arg, margin, rows, why, true))},
    {"banner", text_arg, B(return banner(c, c.arg, margin, rows, why, false))},
    {"month_banner", no_arg, B(return banner(c, u(month_name(c.s().chart_month)), margin, rows, why, false))},
    {"scene_table", no_arg, B(rows = table_render(kind_year_table(c.is, -1), margin))},
    {"group_index", no_arg, B(rows = group_index(c.is, margin))},
    {"group_blocks", no_arg, B(for (int g : groups_by_name(c.is)) append(rows, group_block(c.is, g, margin)))},
    {"group_table", group_arg, B(rows = table_render(kind_year_table(c.is, c.group), margin))},
    {"month_chart", limit_arg, B(rows = month_chart(c.is, margin, c.number))},
    {"month_table", no_arg, B(rows = month_table(c.is, margin))},
    {"number_ones", no_arg, B(rows = number_ones(c.is, margin))},
    {"year_groups", from_arg, B(rows = year_groups(c.is, margin, c.number))},
    {"year_table", no_arg, B(rows = year_table(c.is, margin))},
    {"all_groups", no_arg, B(rows = all_groups(c.is, margin))},
    {"busiest_groups", no_arg, B(rows = busiest_groups(c.is, margin))},
    {"staff_table", no_arg, B(rows = staff_table(c.is, margin))},
};
#undef B

// Checks `arg` against what the name takes and fills the context's group and
// number.
bool check_arg(const Issue& is, ArgKind kind, const std::u32string& arg, int& group, int& number, std::string& why) {
    group = -1;
    number = -1;
    switch (kind) {
    case no_arg:
        if (arg.empty()) return true;
        why = "takes no argument";
        return false;
    case group_arg:
        return find_group(is, arg, group, why);
    case text_arg:
        if (!arg.empty()) return true;
        why = "needs its text";
        return false;
    case place_arg:
        if (parse_limit(arg, number, why) && number >= 1) return true;
        why = "needs a place in the chart, from 1";
        return false;
    case limit_arg:
        if (parse_limit(arg, number, why)) return true;
        why = "the argument is a number of rows";
        return false;
    case from_arg:
        if (arg.empty()) return number = 0, true;
        if (arg.rfind(U"from ", 0) == 0 && parse_limit(arg.substr(5), number, why) && number >= 1) return true;
        why = "from N: the groups with at least N releases this year";
        return false;
    }
    return false;
}

template <class Entry, size_t N>
const Entry* find_entry(const Entry (&table)[N], const std::u32string& name) {
    for (const Entry& e : table)
        if (u(e.name) == name) return &e;
    return nullptr;
}

}  // namespace

std::vector<std::string> gen_block_names() {
    std::vector<std::string> out;
    for (const BlockEntry& e : block_table) out.push_back(e.name);
    return out;
}

std::vector<std::string> gen_value_names() {
    std::vector<std::string> out;
    for (const ValueEntry& e : value_table) out.push_back(e.name);
    return out;
}

GenResult gen_block(const Issue& is, const std::u32string& name, const std::u32string& arg, int margin,
                    std::vector<std::u32string>& rows, std::string& why) {
    rows.clear();
    const BlockEntry* e = find_entry(block_table, name);
    if (!e) return gen_unknown;
    int group, number;
    if (!check_arg(is, e->arg, arg, group, number, why)) return gen_bad;
    return e->make(Ctx{is, arg, group, number}, margin, rows, why) ? gen_ok : gen_bad;
}

GenResult gen_value(const Issue& is, const std::u32string& name, const std::u32string& arg,
                    const std::u32string& noun, std::u32string& out, std::string& why) {
    out.clear();
    const ValueEntry* e = find_entry(value_table, name);
    if (!e) return gen_unknown;
    int group, number;
    if (!check_arg(is, e->arg, arg, group, number, why)) return gen_bad;
    Value v;
    if (!e->make(Ctx{is, arg, group, number}, v, why)) return gen_bad;
    if (!v.count) {
        if (!noun.empty()) {
            why = "is not a count and takes no noun";
            return gen_bad;
        }
        out = v.text;
    } else {
        out = noun.empty() ? num(v.n) : english_count(v.n, noun);
    }
    return gen_ok;
}

}  // namespace issue
