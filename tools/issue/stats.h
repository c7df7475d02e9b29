// stats.h: the counts every statistics page shows, made once from the release
// log so that all pages agree.
//
//   issue::Stats s = issue::stats_count(log);
//   int n = issue::stats_group_year(s, g, 1998);   // releases of group g in 1998
//
// Years run from the log's first release year to the chart year. "Month"
// figures are the chart month's, "year" figures the chart year's.
#pragma once
#include <vector>

#include "tools/issue/release_log.h"

namespace issue {

struct Stats {
    int first_year = 0;  // year of the earliest release (the chart year when there is none)
    int years = 0;       // first_year .. chart year
    int groups = 0;
    int chart_year = 0, chart_month = 0;
    std::vector<int> group_year_kind;   // [group][year - first_year][kind]
    std::vector<int> group_month;       // [group][month 0..11] of the chart year
    std::vector<int> group_first_year;  // 0 when the group has no release
    std::vector<int> group_latest;      // index of its latest release, -1 when none
};

Stats stats_count(const ReleaseLog& log);

int stats_group_year_kind(const Stats& s, int group, int year, int kind);
int stats_group_year(const Stats& s, int group, int year);
int stats_group_kind(const Stats& s, int group, int kind);        // all time
int stats_group_total(const Stats& s, int group);                 // all time
int stats_group_month(const Stats& s, int group, int month);      // month 1-12 of the chart year
int stats_year_kind(const Stats& s, int year, int kind);          // all groups
int stats_year(const Stats& s, int year);
int stats_kind(const Stats& s, int kind);                         // all groups, all time
int stats_total(const Stats& s);
int stats_month(const Stats& s, int month);                       // all groups, chart year
int stats_active_groups_month(const Stats& s, int month);         // groups with a release that month
int stats_active_groups_year(const Stats& s, int year);
int stats_active_groups(const Stats& s);                          // with any release
int stats_new_groups_year(const Stats& s, int year);              // first release that year

// The chart year's month by kind, counted straight from the releases.
int stats_month_kind(const ReleaseLog& log, int month, int kind);

// Groups ordered by a count, highest first, ties by name. count(g) decides.
template <class F>
std::vector<int> stats_rank_groups(const ReleaseLog& log, F count);

// Releases of the chart month (or of any month of the chart year) in chart
// order: most points first, then earlier date, then log order.
std::vector<int> stats_month_chart(const ReleaseLog& log, int year, int month);

}  // namespace issue

#include <algorithm>
namespace issue {
template <class F>
std::vector<int> stats_rank_groups(const ReleaseLog& log, F count) {
    std::vector<int> order(log.groups.size());
    for (size_t i = 0; i < order.size(); i++) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ca = count(a), cb = count(b);
        if (ca != cb) return ca > cb;
        return log.groups[a].name < log.groups[b].name;
    });
    return order;
}
}  // namespace issue
