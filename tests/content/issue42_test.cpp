// issue42_test: the issue moves on with the log alone. Issue 41 (the shipped
// one) and issue 42 (the log plus the month in tests/content/issue42, from
// the same page files and ticker) are built, and what a reader sees is
// checked against figures this test counts from the log by itself: the
// newcomers, the chart with its ties, the month, the year and all time, the
// ticker and the credits.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "tests/content/fixture.h"
#include "tools/issue/cp437.h"

namespace {

namespace fs = std::filesystem;

std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string trim(const std::string& s) {
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// ---- the log, read and counted here, without the build tool ----------------

struct Rel {
    int year, month, day, order;
    std::string kind, group, title;
    int points;
};

struct Log {
    int issue = 0, chart_year = 0, chart_month = 0;
    std::vector<Rel> rels;
    std::vector<std::string> staff;
};

Log parse(const std::string& text) {
    Log log;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("issue ", 0) == 0) log.issue = std::stoi(l.substr(6));
        if (l.rfind("chart ", 0) == 0) {
            const std::string d = trim(l.substr(6));
            log.chart_year = std::stoi(d.substr(0, 4));
            log.chart_month = std::stoi(d.substr(5, 2));
        }
        if (l.rfind("staff ", 0) == 0) log.staff.push_back(trim(l.substr(6, l.find('|') - 6)));
        if (l.empty() || l[0] < '0' || l[0] > '9') continue;
        std::vector<std::string> f;
        std::stringstream ls(l);
        for (std::string x; std::getline(ls, x, '|');) f.push_back(trim(x));
        Rel r{std::stoi(f[0].substr(0, 4)), std::stoi(f[0].substr(5, 2)), std::stoi(f[0].substr(8, 2)),
              static_cast<int>(log.rels.size()), f[1], f[2], f[3], f.size() > 4 && !f[4].empty() ? std::stoi(f[4]) : -1};
        log.rels.push_back(r);
    }
    return log;
}

const char* const months[] = {"", "January", "February", "March", "April", "May", "June", "July",
                              "August", "September", "October", "November", "December"};

std::string list(std::vector<std::string> items) {
    std::string s;
    for (size_t i = 0; i < items.size(); i++) s += (i ? (i + 1 == items.size() ? " and " : ", ") : "") + items[i];
    return s;
}

std::string count(int n, const std::string& noun) {
    return (n == 0 ? "no" : std::to_string(n)) + " " + noun + (n == 1 ? "" : "s");
}

struct ChartRow {
    int place;
    std::string title, group;
    int points;
};

// The month's chart: most points first, then by date, then as logged; cut
// after `cut` rows but keeping every release tied with the last.
std::vector<ChartRow> chart(const Log& log, int year, int month, size_t cut) {
    std::vector<Rel> m;
    for (const Rel& r : log.rels)
        if (r.year == year && r.month == month && r.points >= 0) m.push_back(r);
    std::sort(m.begin(), m.end(), [](const Rel& a, const Rel& b) {
        return std::make_tuple(-a.points, a.day, a.order) < std::make_tuple(-b.points, b.day, b.order);
    });
    std::vector<ChartRow> rows;
    for (size_t i = 0; i < m.size(); i++) {
        if (i >= cut && m[i].points != m[cut - 1].points) break;
        const int place = i > 0 && m[i].points == m[i - 1].points ? rows.back().place : static_cast<int>(i) + 1;
        rows.push_back({place, m[i].title, m[i].group, m[i].points});
    }
    return rows;
}

// ---- the issue as built ------------------------------------------------------

// The cells of a framed table row, trimmed; empty for any other row.
std::vector<std::string> cells(const std::string& row) {
    std::vector<std::string> out;
    const size_t first = row.find("║");
    if (first == std::string::npos) return out;
    std::string cur;
    for (size_t i = first + 3; i < row.size();) {
        if (row.compare(i, 3, "│") == 0 || row.compare(i, 3, "║") == 0) {
            out.push_back(trim(cur)), cur.clear(), i += 3;
        } else {
            cur += row[i++];
        }
    }
    return out;
}

// The rows of page n's tables of `width` columns whose first cell is `first`.
std::vector<std::vector<std::string>> rows_starting(const issue::Built& b, int n, size_t width, const std::string& first) {
    std::vector<std::vector<std::string>> out;
    for (const issue::PageRow& r : b.pages[n - 1].rows) {
        std::vector<std::string> c = cells(issue::utf8_encode(r.text));
        if (c.size() == width && c[0] == first) out.push_back(c);
    }
    return out;
}

struct Built {
    issue::Built b;
    issue::Diagnostics d;
    std::string page(int n) const {  // rows joined, runs of spaces as one
        std::string s;
        for (const issue::PageRow& r : b.pages[n - 1].rows) s += " " + issue::utf8_encode(r.text);
        std::string out;
        for (char c : s)
            if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
        return out;
    }
    std::string ticker(int m) const { return issue::utf8_encode(b.ticker.messages[m - 1].text); }
};

// Builds from data/ with the given log text and profile file.
void build(const std::string& log_text, const std::string& profile, Built& out, const fs::path& dir) {
    const std::string log_path = (dir / "releases.log").string();
    std::ofstream(log_path, std::ios::binary) << log_text;
    const std::string data = QUILLON_DATA_DIR;
    issue::BuildInputs in{data + "/pages", log_path, data + "/ticker.txt", profile, data + "/content/blockfont.txt"};
    issue::issue_build(in, out.b, out.d);
}

// Issue 42's log: issue 41's without its three header lines, then the month.
std::string log_42() {
    std::istringstream in(read(std::string(QUILLON_DATA_DIR) + "/releases.log"));
    std::string out;
    for (std::string l; std::getline(in, l);)
        if (l.rfind("issue ", 0) != 0 && l.rfind("chart ", 0) != 0 && l.rfind("released ", 0) != 0) out += l + "\n";
    return out + read(std::string(QUILLON_TESTS_DIR) + "/issue42/october-1998.log");
}

struct Issues : ::testing::Test {
    static fs::path dir;
    static Built i41, i42;
    static Log log41, log42;
    static void SetUpTestSuite() {
        std::string tmpl = (fs::temp_directory_path() / "issue42_XXXXXX").string();
        dir = mkdtemp(tmpl.data());
        fs::create_directories(dir / "41");
        fs::create_directories(dir / "42");
        const std::string text41 = read(std::string(QUILLON_DATA_DIR) + "/releases.log");
        build(text41, std::string(QUILLON_DATA_DIR) + "/content/profile.txt", i41, dir / "41");
        std::ofstream((dir / "none.txt").string()) << "# issue 42 has sizes of its own\n";
        build(log_42(), (dir / "none.txt").string(), i42, dir / "42");
        log41 = parse(text41);
        log42 = parse(log_42());
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }
    static std::string all(const issue::Diagnostics& d) {
        std::string s;
        for (const issue::Diagnostic& one : d.list) s += issue::diag_format(one) + "\n";
        return s;
    }
};
fs::path Issues::dir;
Built Issues::i41, Issues::i42;
Log Issues::log41, Issues::log42;

TEST_F(Issues, BothBuildWithoutAWarning) {
    EXPECT_TRUE(i41.d.ok() && i41.d.list.empty()) << all(i41.d);
    EXPECT_TRUE(i42.d.ok() && i42.d.list.empty()) << all(i42.d);
    ASSERT_EQ(i42.b.pages.size(), 10u);
    EXPECT_EQ(log42.issue, 42);
    EXPECT_EQ(log42.chart_month, 10);
}

// Each issue's figures, counted here, in the sentences the pages make of them.
void check_figures(const Built& is, const Log& log) {
    ASSERT_EQ(is.b.pages.size(), 10u);
    const int y = log.chart_year, m = log.chart_month;
    const std::string month = months[m];
    SCOPED_TRACE("issue " + std::to_string(log.issue));

    // The month: releases, groups and newcomers.
    std::set<std::string> month_groups;
    std::map<std::string, Rel> first;
    int month_n = 0;
    for (const Rel& r : log.rels) {
        if (r.year == y && r.month == m) month_n++, month_groups.insert(r.group);
        auto it = first.find(r.group);
        if (it == first.end() || std::tie(r.year, r.month, r.day) < std::tie(it->second.year, it->second.month, it->second.day))
            first[r.group] = r;
    }
    std::vector<std::string> newcomers;
    for (const auto& [g, r] : first)
        if (r.year == y && r.month == m) newcomers.push_back(g);
    const std::string page4 = is.page(4);
    EXPECT_NE(page4.find(count(month_n, "release") + " by " + count(static_cast<int>(month_groups.size()), "group") +
                         " in " + month + ":"),
              std::string::npos)
        << page4;
    EXPECT_NE(page4.find("The month brought " + count(static_cast<int>(newcomers.size()), "newcomer") +
                         (newcomers.empty() ? "." : ": " + list(newcomers) + ".")),
              std::string::npos)
        << page4;

    // The chart, row by row, with the ties at the top and at the cut.
    const std::vector<ChartRow> want = chart(log, y, m, 30);
    std::vector<ChartRow> shown;
    for (const issue::PageRow& r : is.b.pages[2].rows) {
        const std::vector<std::string> c = cells(issue::utf8_encode(r.text));
        if (c.size() == 5 && c[4] != "points") shown.push_back({std::stoi(c[0]), c[1], c[2], std::stoi(c[4])});
    }
    ASSERT_EQ(shown.size(), want.size());
    for (size_t i = 0; i < want.size(); i++) {
        EXPECT_EQ(shown[i].place, want[i].place) << i;
        EXPECT_EQ(shown[i].title, want[i].title) << i;
        EXPECT_EQ(shown[i].group, want[i].group) << i;
        EXPECT_EQ(shown[i].points, want[i].points) << i;
    }
    std::vector<std::string> top;
    for (const ChartRow& r : want)
        if (r.place == 1) top.push_back("\"" + r.title + "\" by " + r.group);
    EXPECT_NE(is.page(3).find("Number one: " + list(top) + ", " + count(want[0].points, "point") + "."), std::string::npos);

    // The year: releases, groups, newcomers, the busiest and quietest months.
    std::set<std::string> year_groups;
    int year_n = 0, year_new = 0;
    std::map<int, int> per_month;
    for (const Rel& r : log.rels)
        if (r.year == y) year_n++, year_groups.insert(r.group), per_month[r.month]++;
    for (const auto& [g, r] : first) year_new += r.year == y;
    EXPECT_NE(is.page(6).find(count(year_n, "release") + " by " + count(static_cast<int>(year_groups.size()), "group") +
                              " so far, " + std::to_string(year_new) + " of them new to the log this year."),
              std::string::npos)
        << is.page(6);
    int most = 0, least = 1 << 30;
    for (int k = 1; k <= m; k++) most = std::max(most, per_month[k]), least = std::min(least, per_month[k]);
    std::vector<std::string> busiest, quietest;
    for (int k = 1; k <= m; k++) {
        if (per_month[k] == most) busiest.push_back(months[k]);
        if (per_month[k] == least) quietest.push_back(months[k]);
    }
    EXPECT_NE(is.page(6).find("Quietest so far: " + list(quietest) + ", with " + count(least, "release") + "."),
              std::string::npos);
    const std::string busy = "The busiest month of " + std::to_string(y) + " so far: " + list(busiest) + ", with " +
                             count(most, "release") + ".";
    EXPECT_NE(page4.find(busy), std::string::npos) << page4;
    EXPECT_NE(is.ticker(3).find(busy.substr(0, busy.size() - 1)), std::string::npos) << is.ticker(3);

    // The month's row of page 5's month table and every year's row of page
    // 7's year table: releases and active groups.
    std::map<int, int> per_year;
    std::map<int, std::set<std::string>> groups_of_year;
    for (const Rel& r : log.rels) per_year[r.year]++, groups_of_year[r.year].insert(r.group);
    const std::vector<std::vector<std::string>> month_row = rows_starting(is.b, 5, 9, std::string(months[m]).substr(0, 3));
    ASSERT_EQ(month_row.size(), 1u);
    EXPECT_EQ(month_row[0][7], std::to_string(month_n));
    EXPECT_EQ(month_row[0][8], std::to_string(month_groups.size()));
    for (const auto& [year, n] : per_year) {
        const std::vector<std::vector<std::string>> row = rows_starting(is.b, 7, 9, std::to_string(year));
        ASSERT_EQ(row.size(), 1u) << year;
        EXPECT_EQ(row[0][7], std::to_string(n)) << year;
        EXPECT_EQ(row[0][8], std::to_string(groups_of_year[year].size())) << year;
    }

    // All time: the total, the leaders, the second place, the record year.
    std::map<std::string, int> total;
    std::map<std::pair<std::string, int>, int> group_year;
    for (const Rel& r : log.rels) total[r.group]++, group_year[{r.group, r.year}]++;
    int lead = 0, second = 0, record = 0;
    for (const auto& [g, n] : total) lead = std::max(lead, n);
    for (const auto& [g, n] : total)
        if (n < lead) second = std::max(second, n);
    for (const auto& [gy, n] : group_year) record = std::max(record, n);
    std::vector<std::string> leaders, seconds, records;
    for (const auto& [g, n] : total) {
        if (n == lead) leaders.push_back(g);
        if (n == second) seconds.push_back(g);
    }
    for (int year = 1900; year <= y; year++)
        for (const auto& [g, n] : total)
            if (group_year.count({g, year}) && group_year[{g, year}] == record)
                records.push_back(g + " in " + std::to_string(year));
    const std::string page8 = is.page(8);
    EXPECT_NE(page8.find(count(static_cast<int>(log.rels.size()), "release") + " by " +
                         count(static_cast<int>(total.size()), "group") + " in the log"),
              std::string::npos)
        << page8;
    EXPECT_NE(page8.find(list(leaders) + " lead the all-time table with " + count(lead, "release")), std::string::npos);
    EXPECT_NE(page8.find("In second place, with " + count(second, "release") + ": " + list(seconds) + "."),
              std::string::npos)
        << page8;
    EXPECT_NE(page8.find("in one year: " + count(record, "release") + ", by " + list(records) + ","), std::string::npos)
        << page8;

    // The ticker's welcome line and the vote: this issue's months.
    EXPECT_NE(is.ticker(1).find("#" + std::to_string(log.issue) + "{D}: {G}the " + month + " " + std::to_string(y) + " chart"),
              std::string::npos);
    EXPECT_NE(is.ticker(5).find(std::string("for the ") + months[m % 12 + 1] + " chart"), std::string::npos);
    EXPECT_NE(is.ticker(6).find(std::string("See you in ") + months[(m + 1) % 12 + 1] + "!"), std::string::npos);
}

TEST_F(Issues, Issue41AgreesWithTheLog) { check_figures(i41, log41); }
TEST_F(Issues, Issue42AgreesWithTheLog) { check_figures(i42, log42); }

TEST_F(Issues, TheTestMonthHasTheTiesItIsMeantToHave) {
    // Otherwise the checks above would not see a tie at the top or the cut.
    const std::vector<ChartRow> c = chart(log42, 1998, 10, 30);
    ASSERT_EQ(c.size(), 31u);
    EXPECT_EQ(c[1].place, 1);
    EXPECT_EQ(c[30].place, 29);
    // Issue 41's cut also keeps a tie: its 31 rows fit the page's 54.
    EXPECT_EQ(chart(log41, 1998, 9, 30).size(), 31u);
    EXPECT_EQ(i41.b.pages[2].rows.size(), 54u);
}

TEST_F(Issues, CreditsAreTheSameOnPageOneAndInTheTicker) {
    for (const Built* is : {&i41, &i42}) {
        // Page 1's staff box: the first column of each framed row.
        std::vector<std::string> page;
        for (const issue::PageRow& r : is->b.pages[0].rows) {
            const std::string row = issue::utf8_encode(r.text);
            const size_t bar = row.find("│ ");
            if (bar == std::string::npos || row.find("┬") != std::string::npos) continue;
            const size_t next = row.find("│", bar + 3);
            const std::string name = trim(row.substr(bar + 4, next - bar - 4));
            for (const std::string& s : log41.staff)
                if (name == s) page.push_back(name);
        }
        EXPECT_EQ(page, log41.staff);
        // The credits message: all names in one green run.
        const std::string credits = is->ticker(6);
        const size_t g = credits.find("{G}"), d = credits.find("{D}", g);
        ASSERT_NE(g, std::string::npos);
        EXPECT_EQ(credits.substr(g + 3, d - g - 3), list(log41.staff));
        EXPECT_EQ(credits.find("{G}", d), std::string::npos) << "every name is coloured alike";
    }
}

}  // namespace
