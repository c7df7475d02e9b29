// consistency_test: the statistics pages agree with each other. The tables
// are rendered as the pages show them, read back cell by cell, and their
// figures compared: every group's total with the index, the index with the
// scene's years, the year's months with the chart month, and so on.
#include <gtest/gtest.h>

#include <map>

#include "tests/content/fixture.h"
#include "tools/issue/cp437.h"
#include "tools/issue/generate.h"
#include "tools/issue/source.h"

namespace {

using Cells = std::vector<std::u32string>;

// The cells of one table row (empty for a rule or a row outside a table).
Cells cells(const std::u32string& row) {
    Cells out;
    const size_t first = row.find(U'║');
    if (first == std::u32string::npos) return out;
    std::u32string cur;
    for (size_t i = first + 1; i < row.size(); i++) {
        if (row[i] == U'│' || row[i] == U'║') {
            size_t b = cur.find_first_not_of(U' '), e = cur.find_last_not_of(U' ');
            out.push_back(b == std::u32string::npos ? U"" : cur.substr(b, e - b + 1));
            cur.clear();
        } else {
            cur += row[i];
        }
    }
    return out;
}

int number(const std::u32string& cell) {
    if (cell == U"·" || cell.empty()) return 0;
    int n = 0;
    for (char32_t c : cell) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + static_cast<int>(c - '0');
    }
    return n;
}

// The data rows of a table: every row with cells, without the title row.
std::vector<Cells> data_rows(const std::vector<std::u32string>& rows) {
    std::vector<Cells> out;
    bool title = true;
    for (const std::u32string& r : rows) {
        Cells c = cells(r);
        if (c.empty()) continue;
        if (title) {
            title = false;
            continue;
        }
        out.push_back(c);
    }
    return out;
}

std::vector<std::u32string> block(const issue::Issue& is, const std::u32string& name, const std::u32string& arg = U"") {
    std::vector<std::u32string> rows;
    std::string why;
    EXPECT_EQ(issue::gen_block(is, name, arg, 2, rows, why), issue::gen_ok) << why;
    return rows;
}

void load(issue::Issue& is, const std::string& log_path) {
    issue::Diagnostics d;
    ASSERT_TRUE(issue::log_load(log_path, is.log, d));
    is.stats = issue::stats_count(is.log);
    issue::SourceFile font;
    ASSERT_TRUE(issue::source_read(std::string(QUILLON_DATA_DIR) + "/content/blockfont.txt", font, d));
    ASSERT_TRUE(issue::font_parse(font, is.font, d));
}

// Checks the generated tables against each other; returns the all-time total.
int check_tables_agree(const issue::Issue& is) {
    const issue::Stats& s = is.stats;
    const int years = s.years;

    // The scene table: kinds down, years across, the "all" row last.
    const std::vector<Cells> scene = data_rows(block(is, U"scene_table"));
    EXPECT_EQ(scene.size(), static_cast<size_t>(issue::kind_count + 1));
    const Cells& scene_all = scene.back();
    std::vector<int> per_year(years, 0);
    int kinds_sum = 0;
    for (int k = 0; k < issue::kind_count; k++) {
        int row_sum = 0;
        for (int y = 0; y < years; y++) row_sum += number(scene[k][1 + y]), per_year[y] += number(scene[k][1 + y]);
        EXPECT_EQ(row_sum, number(scene[k][1 + years])) << "kind " << k;
        kinds_sum += row_sum;
    }
    for (int y = 0; y < years; y++) EXPECT_EQ(per_year[y], number(scene_all[1 + y])) << "year " << s.first_year + y;
    const int total = number(scene_all[1 + years]);
    EXPECT_EQ(kinds_sum, total);

    // The index: one row per group, then the sum row.
    const std::vector<Cells> index = data_rows(block(is, U"group_index"));
    EXPECT_EQ(index.size(), static_cast<size_t>(s.groups + 1));
    int month = 0, year = 0, all = 0;
    std::map<std::u32string, int> group_totals;
    for (size_t i = 0; i + 1 < index.size(); i++) {
        month += number(index[i][3]);
        year += number(index[i][4]);
        all += number(index[i][5]);
        group_totals[index[i][0]] = number(index[i][5]);
    }
    const Cells& index_sum = index.back();
    EXPECT_EQ(month, number(index_sum[3]));
    EXPECT_EQ(year, number(index_sum[4]));
    EXPECT_EQ(all, number(index_sum[5]));
    EXPECT_EQ(all, total) << "the index and the scene table";
    EXPECT_EQ(year, number(scene_all[years])) << "the index's year and the scene's last year";

    // Every group's own table agrees with its index row.
    const std::vector<std::u32string> blocks = block(is, U"group_blocks");
    EXPECT_EQ(blocks.size(), static_cast<size_t>(s.groups * issue::gen_group_block_rows));
    for (int g = 0; g < s.groups; g++) {
        const std::vector<std::u32string> one(blocks.begin() + g * issue::gen_group_block_rows,
                                              blocks.begin() + (g + 1) * issue::gen_group_block_rows);
        const std::vector<Cells> t = data_rows(one);
        EXPECT_EQ(t.size(), static_cast<size_t>(issue::kind_count + 1));
        if (t.size() != static_cast<size_t>(issue::kind_count + 1)) return -1;
        int sum = 0;
        for (int k = 0; k < issue::kind_count; k++) sum += number(t[k][1 + years]);
        const int group_all = number(t.back()[1 + years]);
        EXPECT_EQ(sum, group_all);
        // The heading row names the group in capitals; match it to the index.
        bool matched = false;
        for (const auto& [name, n] : group_totals) {
            std::u32string upper = name;
            for (char32_t& c : upper)
                if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
            if (one[0].find(U" " + upper + U" ") != std::u32string::npos) {
                EXPECT_EQ(group_all, n) << issue::utf8_encode(name);
                matched = true;
            }
        }
        EXPECT_TRUE(matched) << issue::utf8_encode(one[0]);
    }

    // The year's months add up to the year; the chart month's row is the
    // index's month column and the number of releases in the full chart.
    const std::vector<Cells> months = data_rows(block(is, U"month_table"));
    EXPECT_EQ(months.size(), static_cast<size_t>(s.chart_month + 1));
    int months_sum = 0;
    for (size_t m = 0; m + 1 < months.size(); m++) {
        int kinds = 0;
        for (int k = 0; k < issue::kind_count; k++) kinds += number(months[m][1 + k]);
        EXPECT_EQ(kinds, number(months[m][1 + issue::kind_count])) << "month " << m + 1;
        months_sum += kinds;
    }
    EXPECT_EQ(months_sum, number(months.back()[1 + issue::kind_count]));
    EXPECT_EQ(months_sum, year);
    EXPECT_EQ(number(months[s.chart_month - 1][1 + issue::kind_count]), month);
    EXPECT_EQ(data_rows(block(is, U"month_chart")).size(), static_cast<size_t>(month));

    // The all-time table's years are the scene table's years.
    const std::vector<Cells> by_year = data_rows(block(is, U"year_table"));
    EXPECT_EQ(by_year.size(), static_cast<size_t>(years + 1));
    for (int y = 0; y < years; y++) EXPECT_EQ(number(by_year[y][1 + issue::kind_count]), per_year[y]);
    EXPECT_EQ(number(by_year.back()[1 + issue::kind_count]), total);

    // The rankings cover the same releases.
    int ranked_all = 0, ranked_year = 0;
    for (const Cells& c : data_rows(block(is, U"all_groups"))) ranked_all += number(c[4]);
    for (const Cells& c : data_rows(block(is, U"year_groups"))) ranked_year += number(c[2]);
    EXPECT_EQ(ranked_all, total);
    EXPECT_EQ(ranked_year, year);

    // And the values the editorial pages quote.
    std::u32string v;
    std::string why;
    issue::gen_value(is, U"all_releases", U"", U"", v, why);
    EXPECT_EQ(number(v), total);
    issue::gen_value(is, U"year_releases", U"", U"", v, why);
    EXPECT_EQ(number(v), year);
    issue::gen_value(is, U"month_releases", U"", U"", v, why);
    EXPECT_EQ(number(v), month);
    return total;
}

TEST(Consistency, TheSmallLogsTablesAgreeAndCountRight) {
    IssueFixture f;
    issue::Issue is;
    load(is, f.inputs.log);
    EXPECT_EQ(check_tables_agree(is), 8);
    EXPECT_EQ(is.stats.first_year, 1996);
    EXPECT_EQ(issue::stats_year(is.stats, 1998), 5);
    EXPECT_EQ(issue::stats_month(is.stats, 9), 3);
    const int alpha = issue::log_find_group(is.log, U"Alpha");
    EXPECT_EQ(issue::stats_group_total(is.stats, alpha), 4);
    EXPECT_EQ(issue::stats_group_month(is.stats, alpha, 9), 2);
    // The chart: most points first; equal points share a place.
    const std::vector<Cells> chart = data_rows(block(is, U"month_chart"));
    ASSERT_EQ(chart.size(), 3u);
    EXPECT_EQ(chart[0][1], U"B Three");
    EXPECT_EQ(chart[1][0], U"2");
    EXPECT_EQ(chart[2][0], U"2");
    EXPECT_EQ(chart[1][1], U"A Three");  // equal points: the earlier release first
}

TEST(Consistency, TheIssuesTablesAgree) {
    issue::Issue is;
    load(is, std::string(QUILLON_DATA_DIR) + "/releases.log");
    EXPECT_EQ(check_tables_agree(is), issue::stats_total(is.stats));
    // The long group page needs its hundred groups (17 rows each, plus one
    // index row) for its 1,887 rows.
    EXPECT_EQ(is.stats.groups, 100);
}

}  // namespace
