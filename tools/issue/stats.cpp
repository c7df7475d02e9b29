// stats.cpp: counting the release log.
#include "tools/issue/stats.h"

namespace issue {

Stats stats_count(const ReleaseLog& log) {
    Stats s;
    s.chart_year = log.chart_year;
    s.chart_month = log.chart_month;
    s.groups = static_cast<int>(log.groups.size());
    s.first_year = log.chart_year;
    for (const Release& r : log.releases) s.first_year = std::min(s.first_year, r.date.year);
    s.years = log.chart_year - s.first_year + 1;
    s.group_year_kind.assign(static_cast<size_t>(s.groups) * s.years * kind_count, 0);
    s.group_month.assign(static_cast<size_t>(s.groups) * 12, 0);
    s.group_first_year.assign(s.groups, 0);
    s.group_latest.assign(s.groups, -1);
    for (size_t i = 0; i < log.releases.size(); i++) {
        const Release& r = log.releases[i];
        const int y = r.date.year - s.first_year;
        s.group_year_kind[(static_cast<size_t>(r.group) * s.years + y) * kind_count + r.kind]++;
        if (r.date.year == log.chart_year) s.group_month[r.group * 12 + r.date.month - 1]++;
        int& first = s.group_first_year[r.group];
        if (first == 0 || r.date.year < first) first = r.date.year;
        int& latest = s.group_latest[r.group];
        if (latest < 0) {
            latest = static_cast<int>(i);
        } else {
            const Date& a = log.releases[latest].date;
            const Date& b = r.date;
            if (b.year > a.year || (b.year == a.year && (b.month > a.month || (b.month == a.month && b.day >= a.day))))
                latest = static_cast<int>(i);
        }
    }
    return s;
}

int stats_group_year_kind(const Stats& s, int group, int year, int kind) {
    const int y = year - s.first_year;
    if (y < 0 || y >= s.years) return 0;
    return s.group_year_kind[(static_cast<size_t>(group) * s.years + y) * kind_count + kind];
}

int stats_group_year(const Stats& s, int group, int year) {
    int n = 0;
    for (int k = 0; k < kind_count; k++) n += stats_group_year_kind(s, group, year, k);
    return n;
}

int stats_group_kind(const Stats& s, int group, int kind) {
    int n = 0;
    for (int y = 0; y < s.years; y++) n += stats_group_year_kind(s, group, s.first_year + y, kind);
    return n;
}

int stats_group_total(const Stats& s, int group) {
    int n = 0;
    for (int k = 0; k < kind_count; k++) n += stats_group_kind(s, group, k);
    return n;
}

int stats_group_month(const Stats& s, int group, int month) { return s.group_month[group * 12 + month - 1]; }

int stats_year_kind(const Stats& s, int year, int kind) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_year_kind(s, g, year, kind);
    return n;
}

int stats_year(const Stats& s, int year) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_year(s, g, year);
    return n;
}

int stats_kind(const Stats& s, int kind) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_kind(s, g, kind);
    return n;
}

int stats_total(const Stats& s) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_total(s, g);
    return n;
}

int stats_month(const Stats& s, int month) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_month(s, g, month);
    return n;
}

int stats_active_groups_month(const Stats& s, int month) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_month(s, g, month) > 0;
    return n;
}

int stats_active_groups_year(const Stats& s, int year) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_year(s, g, year) > 0;
    return n;
}

int stats_active_groups(const Stats& s) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += stats_group_total(s, g) > 0;
    return n;
}

int stats_new_groups_year(const Stats& s, int year) {
    int n = 0;
    for (int g = 0; g < s.groups; g++) n += s.group_first_year[g] == year;
    return n;
}

int stats_month_kind(const ReleaseLog& log, int month, int kind) {
    int n = 0;
    for (const Release& r : log.releases)
        n += r.date.year == log.chart_year && r.date.month == month && r.kind == kind;
    return n;
}

std::vector<int> stats_month_chart(const ReleaseLog& log, int year, int month) {
    std::vector<int> picks;
    for (size_t i = 0; i < log.releases.size(); i++) {
        const Release& r = log.releases[i];
        if (r.date.year == year && r.date.month == month && r.points >= 0) picks.push_back(static_cast<int>(i));
    }
    std::stable_sort(picks.begin(), picks.end(), [&](int a, int b) {
        const Release& x = log.releases[a];
        const Release& y = log.releases[b];
        if (x.points != y.points) return x.points > y.points;
        return x.date.day < y.date.day;
    });
    return picks;
}

}  // namespace issue
