// generate.cpp: values and blocks made from the release log.
#include "tools/issue/generate.h"

#include <cstdio>

#include "tools/issue/cp437.h"
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

bool need_no_arg(const std::u32string& arg, std::string& why) {
    if (arg.empty()) return true;
    why = "takes no argument";
    return false;
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

std::u32string releases_word(int n) { return num(n) + (n == 1 ? U" release" : U" releases"); }

// The heading row of a group's block: name at the left, figures at the right.
std::u32string group_heading(const Issue& is, int g, int margin, int width) {
    const Stats& s = is.stats;
    std::u32string left = std::u32string(margin, U' ') + U"▐█▌ " + upper(is.log.groups[g].name) + U" ";
    std::u32string right;
    if (s.group_first_year[g] > 0)
        right = U" since " + num(s.group_first_year[g]) + U" · " + releases_word(stats_group_total(s, g)) + U" ";
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

Rows month_chart(const Issue& is, int margin, int limit) {
    const std::vector<int> chart = stats_month_chart(is.log, is.log.chart_year, is.log.chart_month);
    std::vector<int> points;
    for (int i : chart) points.push_back(is.log.releases[i].points);
    const std::vector<int> rank = ranks(points);
    Table t;
    t.columns = {{U"#", 3, true}, {U"title", log_title_max, false}, {U"group", log_group_name_max, false},
                 {U"kind", 8, false}, {U"points", 6, true}};
    for (size_t i = 0; i < chart.size() && (limit < 0 || static_cast<int>(i) < limit); i++) {
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
        const Release& r = is.log.releases[chart[0]];
        t.body.push_back({u(month_name(m)), r.title, is.log.groups[r.group].name, num(r.points)});
    }
    return table_render(t, margin);
}

// limit >= 0: at most that many rows; at_least > 0: only groups with that
// many releases or more.
Rows year_groups(const Issue& is, int margin, int limit, int at_least) {
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
    int shown = 0;
    for (size_t i = 0; i < order.size(); i++) {
        const int g = order[i];
        if (counts[i] == 0 || counts[i] < at_least || (limit >= 0 && shown >= limit)) break;
        t.body.push_back({num(rank[i]), is.log.groups[g].name, num(counts[i]), percent(counts[i], total),
                          num(s.group_first_year[g]), num(stats_group_total(s, g))});
        shown++;
    }
    return table_render(t, margin);
}

Rows all_groups(const Issue& is, int margin, int limit) {
    const Stats& s = is.stats;
    std::vector<int> order = stats_rank_groups(is.log, [&](int g) { return stats_group_total(s, g); });
    std::vector<int> counts;
    for (int g : order) counts.push_back(stats_group_total(s, g));
    const std::vector<int> rank = ranks(counts);
    Table t;
    t.columns = {{U"#", 3, true},      {U"group", log_group_name_max, false}, {U"since", 5, true},
                 {U"latest", 6, true}, {U"releases", 8, true},                {U"best year", 9, true}};
    for (size_t i = 0; i < order.size() && (limit < 0 || static_cast<int>(i) < limit); i++) {
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

Rows busiest_groups(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns = {{U"year", 4, false}, {U"busiest group", log_group_name_max, false}, {U"releases", 8, true},
                 {U"runner-up", log_group_name_max, false}, {U"releases", 8, true}};
    for (int y = s.first_year; y <= s.chart_year; y++) {
        std::vector<int> order = stats_rank_groups(is.log, [&](int g) { return stats_group_year(s, g, y); });
        std::vector<std::u32string> row{num(y)};
        for (int i = 0; i < 2; i++) {
            const int n = i < static_cast<int>(order.size()) ? stats_group_year(s, order[i], y) : 0;
            row.push_back(n ? is.log.groups[order[i]].name : U"·");
            row.push_back(table_count(n));
        }
        t.body.push_back(row);
    }
    return table_render(t, margin);
}

Rows month_kinds(const Issue& is, int margin) {
    const Stats& s = is.stats;
    Table t;
    t.columns = {{u(month_name(s.chart_month)), 9, false}, {U"releases", 8, true}, {U"share", 6, true}};
    const int total = stats_month(s, s.chart_month);
    for (int k = 0; k < kind_count; k++) {
        const int n = stats_month_kind(is.log, s.chart_month, k);
        t.body.push_back({u(kind_plural(k)), table_count(n), percent(n, total)});
    }
    t.foot.push_back({U"all", table_count(total), percent(total, total)});
    return table_render(t, margin);
}

Rows margined(Rows rows, int margin) {
    for (std::u32string& r : rows)
        if (!r.empty()) r = std::u32string(margin, U' ') + r;
    return rows;
}

}  // namespace

const char* gen_block_names() {
    return "title, banner, scene_table, group_index, group_blocks, group_table, month_chart, month_table, "
           "month_kinds, number_ones, year_groups, year_table, all_groups, busiest_groups";
}

const char* gen_value_names() {
    return "issue, chart_month, chart_year, year_months, released, first_year, month_releases, month_groups, year_releases, "
           "year_groups, year_new_groups, all_releases, all_groups, log_groups, month_/year_/all_ with a kind "
           "(demos, intros, music, graphics, diskmags, tools), chart_title N, chart_group N, chart_points N, "
           "year_top_group, year_top_count, all_top_group, all_top_count, releases_in YEAR, groups_in YEAR, "
           "group_month G, group_year G, group_all G, group_since G, group_latest G, group_latest_date G";
}

GenResult gen_block(const Issue& is, const std::u32string& name, const std::u32string& arg, int margin,
                    std::vector<std::u32string>& rows, std::string& why) {
    rows.clear();
    int limit = -1;
    if (name == U"title" || name == U"banner") {
        if (arg.empty()) {
            why = "needs the heading's text";
            return gen_bad;
        }
        Rows set;
        const int bad = name == U"title" ? banner_large(is.font, arg, set) : banner_small(is.font, arg, set);
        if (bad >= 0) {
            why = "the block-letter font has no glyph for " + source_describe(arg[bad]);
            return gen_bad;
        }
        rows = margined(set, margin);
        return gen_ok;
    }
    if (name == U"group_table") {
        int g;
        if (!find_group(is, arg, g, why)) return gen_bad;
        rows = table_render(kind_year_table(is, g), margin);
        return gen_ok;
    }
    if (name == U"scene_table" || name == U"group_index" || name == U"group_blocks" || name == U"month_table" ||
        name == U"month_kinds" || name == U"number_ones" || name == U"year_table" || name == U"busiest_groups") {
        if (!need_no_arg(arg, why)) return gen_bad;
        if (name == U"scene_table") rows = table_render(kind_year_table(is, -1), margin);
        else if (name == U"group_index") rows = group_index(is, margin);
        else if (name == U"month_table") rows = month_table(is, margin);
        else if (name == U"month_kinds") rows = month_kinds(is, margin);
        else if (name == U"number_ones") rows = number_ones(is, margin);
        else if (name == U"year_table") rows = year_table(is, margin);
        else if (name == U"busiest_groups") rows = busiest_groups(is, margin);
        else
            for (int g : groups_by_name(is)) append(rows, group_block(is, g, margin));
        return gen_ok;
    }
    if (name == U"year_groups" && arg.rfind(U"from ", 0) == 0) {
        if (!parse_limit(arg.substr(5), limit, why) || limit < 1) {
            why = "from N: the groups with at least N releases this year";
            return gen_bad;
        }
        rows = year_groups(is, margin, -1, limit);
        return gen_ok;
    }
    if (name == U"month_chart" || name == U"year_groups" || name == U"all_groups") {
        if (!parse_limit(arg, limit, why)) {
            why = "the argument is a number of rows" + std::string(name == U"year_groups" ? ", or \"from N\"" : "");
            return gen_bad;
        }
        if (name == U"month_chart") rows = month_chart(is, margin, limit);
        else if (name == U"year_groups") rows = year_groups(is, margin, limit, 0);
        else rows = all_groups(is, margin, limit);
        return gen_ok;
    }
    return gen_unknown;
}

GenResult gen_value(const Issue& is, const std::u32string& name, const std::u32string& arg, std::u32string& out,
                    std::string& why) {
    const Stats& s = is.stats;
    const ReleaseLog& log = is.log;
    const int y = s.chart_year, m = s.chart_month;

    // Values about one group.
    if (name.rfind(U"group_", 0) == 0) {
        const std::u32string what = name.substr(6);
        if (what == U"month" || what == U"year" || what == U"all" || what == U"since" || what == U"latest" ||
            what == U"latest_date") {
            int g;
            if (!find_group(is, arg, g, why)) return gen_bad;
            const int latest = s.group_latest[g];
            if (what == U"month") out = num(stats_group_month(s, g, m));
            else if (what == U"year") out = num(stats_group_year(s, g, y));
            else if (what == U"all") out = num(stats_group_total(s, g));
            else if (latest < 0) {
                why = "the group has no release in the log";
                return gen_bad;
            } else if (what == U"since") out = num(s.group_first_year[g]);
            else if (what == U"latest") out = log.releases[latest].title;
            else out = date_long(log.releases[latest].date);
            return gen_ok;
        }
    }
    // Values about one place of the monthly chart.
    if (name == U"chart_title" || name == U"chart_group" || name == U"chart_points") {
        int place;
        if (!parse_limit(arg, place, why) || place < 1) {
            why = "needs the chart place, from 1";
            return gen_bad;
        }
        const std::vector<int> chart = stats_month_chart(log, y, m);
        if (place > static_cast<int>(chart.size())) {
            why = "the chart has only " + std::to_string(chart.size()) + " places";
            return gen_bad;
        }
        const Release& r = log.releases[chart[place - 1]];
        out = name == U"chart_title" ? r.title : name == U"chart_group" ? log.groups[r.group].name : num(r.points);
        return gen_ok;
    }
    if (name == U"releases_in" || name == U"groups_in") {
        int year;
        if (!parse_limit(arg, year, why) || year < s.first_year || year > y) {
            why = "needs a year from " + std::to_string(s.first_year) + " to " + std::to_string(y);
            return gen_bad;
        }
        out = num(name == U"releases_in" ? stats_year(s, year) : stats_active_groups_year(s, year));
        return gen_ok;
    }

    if (!arg.empty()) {
        // Only the names above take an argument; fall through to report it.
        std::u32string dummy;
        std::string w;
        if (gen_value(is, name, U"", dummy, w) == gen_unknown) return gen_unknown;
        why = "takes no argument";
        return gen_bad;
    }
    for (int k = 0; k < kind_count; k++) {
        const std::u32string plural = u(kind_plural(k));
        if (name == U"month_" + plural) return out = num(stats_month_kind(log, m, k)), gen_ok;
        if (name == U"year_" + plural) return out = num(stats_year_kind(s, y, k)), gen_ok;
        if (name == U"all_" + plural) return out = num(stats_kind(s, k)), gen_ok;
    }
    if (name == U"issue") out = num(log.issue);
    else if (name == U"chart_month") out = u(month_name(m));
    else if (name == U"chart_year") out = num(y);
    else if (name == U"year_months") out = num(m);
    else if (name == U"released") out = date_long(log.released);
    else if (name == U"first_year") out = num(s.first_year);
    else if (name == U"month_releases") out = num(stats_month(s, m));
    else if (name == U"month_groups") out = num(stats_active_groups_month(s, m));
    else if (name == U"year_releases") out = num(stats_year(s, y));
    else if (name == U"year_groups") out = num(stats_active_groups_year(s, y));
    else if (name == U"year_new_groups") out = num(stats_new_groups_year(s, y));
    else if (name == U"all_releases") out = num(stats_total(s));
    else if (name == U"all_groups") out = num(stats_active_groups(s));
    else if (name == U"log_groups") out = num(s.groups);
    else if (name == U"year_top_group" || name == U"year_top_count" || name == U"all_top_group" ||
             name == U"all_top_count") {
        const bool year = name.rfind(U"year", 0) == 0;
        auto count = [&](int g) { return year ? stats_group_year(s, g, y) : stats_group_total(s, g); };
        const std::vector<int> order = stats_rank_groups(log, count);
        if (order.empty()) {
            why = "the log has no groups";
            return gen_bad;
        }
        out = name.find(U"group") != std::u32string::npos ? log.groups[order[0]].name : num(count(order[0]));
    } else
        return gen_unknown;
    return gen_ok;
}

}  // namespace issue
