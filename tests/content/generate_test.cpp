// generate_test: the generator's English, its ties, the typed-figure check,
// and that every insertion it offers is one the issue's files use.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/content/fixture.h"
#include "tools/issue/cp437.h"
#include "tools/issue/english.h"

namespace {

TEST(English, CountsAndLists) {
    const struct {
        int n;
        const char32_t* noun;
        const char32_t* want;
    } counts[] = {{0, U"newcomer", U"no newcomers"}, {1, U"release", U"1 release"}, {2, U"release", U"2 releases"},
                  {5, U"music disk", U"5 music disks"}, {1, U"party/parties", U"1 party"}, {3, U"party/parties", U"3 parties"}};
    for (const auto& c : counts) EXPECT_EQ(issue::english_count(c.n, c.noun), c.want) << c.n;
    EXPECT_EQ(issue::english_list({}), U"");
    EXPECT_EQ(issue::english_list({U"A"}), U"A");
    EXPECT_EQ(issue::english_list({U"A", U"B"}), U"A and B");
    EXPECT_EQ(issue::english_list({U"A", U"B", U"C"}), U"A, B and C");
}

std::string value(const issue::Built& b, const char32_t* name, const char32_t* arg = U"", const char32_t* noun = U"") {
    std::u32string out;
    std::string why;
    EXPECT_EQ(issue::gen_value(b.issue, name, arg, noun, out, why), issue::gen_ok) << why;
    return issue::utf8_encode(out);
}

// The fixture's log with ties everywhere: two releases share number one and
// two share the cut at three rows; Alpha and Beta Crew tie for the year, Gamma
// and Delta for the runner-up place of 1997.
const char* const tied_log =
    "issue    3\nchart    1998-09\nreleased 1998-10-02\n"
    "group    Alpha\ngroup    Beta Crew\ngroup    Gamma\ngroup    Delta\n"
    "1997-01-01 | demo  | Alpha     | A0\n"
    "1997-02-01 | demo  | Alpha     | A00\n"
    "1997-03-01 | demo  | Gamma     | G0\n"
    "1997-04-01 | demo  | Delta     | D0\n"
    "1998-09-01 | demo  | Alpha     | A1 | 50\n"
    "1998-09-02 | demo  | Beta Crew | B1 | 50\n"
    "1998-09-03 | intro | Gamma     | G1 | 20\n"
    "1998-09-04 | intro | Delta     | D1 | 20\n"
    "1998-09-05 | intro | Beta Crew | B2 | 10\n"
    "1998-09-06 | music | Alpha     | A2 | 9\n";

TEST(Ties, SharedPlacesAreShownAndNamedEverywhere) {
    IssueFixture f;
    f.write("releases.log", tied_log);
    f.write("pages/03-c.txt", "  @@month_chart 3@@\n");
    f.write("pages/07-g.txt", "  @@busiest_groups@@\n");
    const issue::Diagnostics d = f.build();
    ASSERT_TRUE(d.ok()) << f.all(d);
    // The cut at three rows keeps the fourth, tied with the third.
    std::vector<std::string> chart;
    for (const issue::PageRow& r : f.built.pages[2].rows) chart.push_back(issue::utf8_encode(r.text));
    ASSERT_EQ(chart.size(), 8u);  // frame, title, rule, four rows, frame
    EXPECT_NE(chart[3].find("  1 │ A1"), std::string::npos);
    EXPECT_NE(chart[4].find("  1 │ B1"), std::string::npos);
    EXPECT_NE(chart[5].find("  3 │ G1"), std::string::npos);
    EXPECT_NE(chart[6].find("  3 │ D1"), std::string::npos);
    EXPECT_EQ(value(f.built, U"chart_top"), "\"A1\" by Alpha and \"B1\" by Beta Crew");
    EXPECT_EQ(value(f.built, U"chart_next", U"1"), "\"G1\" (20)");
    EXPECT_EQ(value(f.built, U"all_top_groups"), "Alpha");
    EXPECT_EQ(value(f.built, U"all_second_groups"), "Beta Crew, Delta and Gamma");
    EXPECT_EQ(value(f.built, U"group_year_place", U"Gamma"), "shared place 3 among the groups");
    EXPECT_EQ(value(f.built, U"group_year_place", U"Alpha"), "as many as any other group");
    EXPECT_EQ(value(f.built, U"month_newcomers"), "1 newcomer: Beta Crew");
    EXPECT_EQ(value(f.built, U"month_releases", U"", U"release"), "6 releases");
    EXPECT_EQ(value(f.built, U"month_kinds"), "2 demos, 3 intros and 1 music disk");
    // 1997: Alpha first; Delta and Gamma share the runner-up place, a row each.
    std::string busiest;
    for (const issue::PageRow& r : f.built.pages[6].rows) busiest += issue::utf8_encode(r.text) + "\n";
    EXPECT_NE(busiest.find("║ 1997 │ Alpha              │        2 │ Delta              │        1 ║\n"
                           "  ║      │                    │          │ Gamma              │        1 ║"),
              std::string::npos)
        << busiest;
    EXPECT_NE(busiest.find("║ 1998 │ Alpha              │        2 │ Delta              │        1 ║\n"
                           "  ║      │ Beta Crew          │        2 │ Gamma              │        1 ║"),
              std::string::npos)
        << busiest;
}

TEST(TypedFigures, AreWarnedWithTheirPlaceUnlessInsertedOrMarked) {
    struct Case {
        const char* what;
        const char* text;
        const char* report;  // after the fixture folder; "" for none
    } cases[] = {
        {"digits", "  In 1998 we\n", "pages/04-d.txt:1:6: warning: typed 1998"},
        {"number word", "  ok\n  thirty-two releases\n", "pages/04-d.txt:2:3: warning: typed thirty-two"},
        {"group name", "  and Beta Crew too\n", "pages/04-d.txt:1:7: warning: typed Beta Crew: write it @@group Beta Crew@@"},
        {"marked", "  In @@fixed 1998@@ we\n", ""},
        {"group by insertion", "  and @@group Beta Crew@@ too\n", ""},
        {"inserted count", "  @@month_releases|release@@ came out\n", ""},
        {"page numbers and keys", "  see page 3, pages 2, 5 and 7, or press F10\n", ""},
        {"part of a word", "  Alphabet and Gammas\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IssueFixture f;
        f.write("pages/04-d.txt", c.text);
        const issue::Diagnostics d = f.build();
        EXPECT_TRUE(d.ok()) << f.all(d);
        if (*c.report) {
            EXPECT_TRUE(f.reported(d, c.report)) << f.all(d);
        } else {
            EXPECT_TRUE(d.list.empty()) << f.all(d);
        }
    }
    IssueFixture f;
    f.write("ticker.txt", "|{R}one{W}|\n\n|b|\n\n|c|\n\n|d|\n\n|e and |\n|Gamma 12|\n\n|f |\n|{W}  |\n");
    const issue::Diagnostics d = f.build();
    EXPECT_TRUE(f.reported(d, "ticker.txt:10:2: warning: typed Gamma")) << f.all(d);
    EXPECT_TRUE(f.reported(d, "ticker.txt:10:8: warning: typed 12")) << f.all(d);
}

TEST(Insertions, TheTickerTakesThemAndTheProfileSeesTheResult) {
    IssueFixture f;
    f.write("ticker.txt", "|{R}#@@issue@@ @@month_releases|release@@{W}|\n\n|b|\n\n|c|\n\n|d|\n\n|e|\n\n|f {W}|\n");
    f.write("profile.txt", "ticker 1 chars 19\n");
    const issue::Diagnostics d = f.build();
    ASSERT_TRUE(d.ok()) << f.all(d);
    EXPECT_EQ(std::string(f.built.ticker_bytes[0].begin(), f.built.ticker_bytes[0].end()), "{R}#3 3 releases{W}");
    IssueFixture g;
    g.write("ticker.txt", "|{R}@@nope@@{W}|\n\n|two|\n\n|three|\n\n|four|\n\n|five|\n\n|six {W}|\n");
    EXPECT_TRUE(g.reported(g.build(), "ticker.txt:1:7: error: unknown insertion @@nope@@"));
    IssueFixture h;
    h.write("pages/04-d.txt", "  @@chart_month|month@@\n");
    EXPECT_TRUE(h.reported(h.build(), "pages/04-d.txt:1:5: error: @@chart_month@@ is not a count and takes no noun"));
}

TEST(Insertions, EveryOneOfferedIsUsedByTheIssue) {
    std::set<std::string> used;
    const std::regex name("@@([a-z_]+)");
    std::vector<std::string> files{std::string(QUILLON_DATA_DIR) + "/ticker.txt"};
    for (const auto& e : std::filesystem::directory_iterator(std::string(QUILLON_DATA_DIR) + "/pages"))
        files.push_back(e.path().string());
    for (const std::string& path : files) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        const std::string text = s.str();
        for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it) used.insert((*it)[1]);
    }
    for (const std::string& n : issue::gen_value_names()) EXPECT_TRUE(used.count(n)) << "value " << n << " is not used";
    for (const std::string& n : issue::gen_block_names()) EXPECT_TRUE(used.count(n)) << "block " << n << " is not used";
}

}  // namespace
