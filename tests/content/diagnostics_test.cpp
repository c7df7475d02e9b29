// diagnostics_test: every way an editor can break the issue fails the build
// with the file, line and column of the fault.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "tests/content/fixture.h"

namespace {

TEST(IssueBuild, TheFixtureIssueBuilds) {
    IssueFixture f;
    f.write("pages/03-c.txt", "  ╔═╗ Straße ±½ ≤ α\n\n  @@chart_month@@ @@chart_year@@: @@month_releases:3@@|@@issue:-3@@|\n");
    const issue::Diagnostics d = f.build();
    ASSERT_TRUE(d.ok()) << f.all(d);
    const std::vector<issue::Bytes>& rows = f.built.page_bytes[2];
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (issue::Bytes{' ', ' ', 201, 205, 187, ' ', 'S', 't', 'r', 'a', 225, 'e', ' ', 241, 171, ' ', 243, ' ', 224}));
    EXPECT_TRUE(rows[1].empty());
    EXPECT_EQ(std::string(rows[2].begin(), rows[2].end()), "  September 1998:   3|3  |");
    ASSERT_EQ(f.built.ticker_bytes.size(), 6u);
    EXPECT_EQ(std::string(f.built.ticker_bytes[5].begin(), f.built.ticker_bytes[5].end()), "f {W}  ");
    const std::string cpp = issue::emit_cpp(f.built);
    EXPECT_NE(cpp.find("\\311\\315\\273"), std::string::npos);  // ╔═╗ as octal escapes
    EXPECT_NE(cpp.find("page_line_counts[page_count] = {1, 1, 3, 1, 1, 1, 1, 1, 1, 1}"), std::string::npos);
}

struct Breakage {
    const char* what;
    std::function<void(IssueFixture&)> edit;
    std::string report;  // start of the expected report, after the fixture folder
};

TEST(IssueBuild, ReportsEachFaultWithItsPlace) {
    const std::string over(82, 'x');
    const Breakage cases[] = {
        {"character without a code page 437 byte", [](IssueFixture& f) { f.write("pages/03-c.txt", "  ok\n  Mørk\n"); },
         "pages/03-c.txt:2:4: error: character 'ø' (U+00F8) has no code page 437 byte"},
        {"tab", [](IssueFixture& f) { f.write("pages/03-c.txt", "\tx\n"); }, "pages/03-c.txt:1:1: error: a tab"},
        {"line of 82", [&](IssueFixture& f) { f.write("pages/03-c.txt", over + "\n"); },
         "pages/03-c.txt:1:82: error: line is 82 characters long"},
        {"line made too long by an insertion",
         [](IssueFixture& f) { f.write("pages/03-c.txt", "@@chart_month@@" + std::string(75, 'x') + "\n"); },
         "pages/03-c.txt:1:88: error: line is 84 characters long with its insertions"},
        {"generated block too wide", [](IssueFixture& f) { f.write("pages/03-c.txt", "\n          @@month_chart@@\n"); },
         "pages/03-c.txt:2:11: error: row 1 of the generated @@month_chart@@ is 89 characters long"},
        {"missing page", [](IssueFixture& f) { f.remove("pages/04-d.txt"); }, "pages: error: page 4 is missing"},
        {"extra page", [](IssueFixture& f) { f.write("pages/11-k.txt", "x\n"); }, "pages/11-k.txt: error: an extra page"},
        {"second file for a page", [](IssueFixture& f) { f.write("pages/2-again.txt", "x\n"); },
         "pages/2-again.txt: error: a second file for page 2"},
        {"stray file", [](IssueFixture& f) { f.write("pages/notes.txt", "x\n"); }, "pages/notes.txt: error: is not a page file"},
        {"row that would end the page", [](IssueFixture& f) { f.write("pages/05-e.txt", "a\n<END>\n"); },
         "pages/05-e.txt:2:1: error: a row that reads exactly \"<END>\""},
        {"page beyond the table's room", [](IssueFixture& f) {
             std::string lines;
             for (int i = 0; i < 5001; i++) lines += "  row\n";
             f.write("pages/07-g.txt", lines);
         },
         "pages/07-g.txt:5001:1: error: page 7 has 5001 rows; the page table has room for 5000"},
        {"unknown insertion", [](IssueFixture& f) { f.write("pages/03-c.txt", "  @@no_such@@ here\n"); },
         "pages/03-c.txt:1:5: error: unknown insertion @@no_such@@"},
        {"unclosed insertion", [](IssueFixture& f) { f.write("pages/03-c.txt", "  in @@chart_month\n"); },
         "pages/03-c.txt:1:6: error: \"@@\" opens an insertion"},
        {"block inside a line", [](IssueFixture& f) { f.write("pages/03-c.txt", "  x @@scene_table@@\n"); },
         "pages/03-c.txt:1:7: error: @@scene_table@@ is a block"},
        {"heading the font cannot set", [](IssueFixture& f) { f.write("pages/03-c.txt", "  @@banner a~b@@\n"); },
         "pages/03-c.txt:1:5: error: @@banner@@ the block-letter font has no glyph for '~'"},
        {"group the log does not have", [](IssueFixture& f) { f.write("pages/09-i.txt", "  @@group_table Delta@@\n"); },
         "pages/09-i.txt:1:5: error: @@group_table@@ no group \"Delta\""},
        {"mistyped ticker tag", [](IssueFixture& f) {
             f.write("ticker.txt", "|{R}one{r}|\n\n|two|\n\n|three|\n\n|four|\n\n|five|\n\n|six {W}|\n");
         },
         "ticker.txt:1:8: error: mistyped colour tag \"{r}\""},
        {"brace outside a tag", [](IssueFixture& f) {
             f.write("ticker.txt", "|{R}one|\n\n|two|\n\n|th}ree|\n\n|four|\n\n|five|\n\n|six {W}|\n");
         },
         "ticker.txt:5:4: error: a '}' that closes no colour tag"},
        {"tag broken over two lines", [](IssueFixture& f) {
             f.write("ticker.txt", "|{R}one {|\n|G]|\n\n|two|\n\n|three|\n\n|four|\n\n|five|\n\n|six {W}|\n");
         },
         "ticker.txt:1:9: error: mistyped colour tag \"{G]\""},
        {"five messages", [](IssueFixture& f) { f.write("ticker.txt", "|{R}one|\n\n|two|\n\n|three|\n\n|four|\n\n|{W}five|\n"); },
         "ticker.txt:9:1: error: the ticker has 5 messages; it takes exactly 6"},
        {"first message without a tag", [](IssueFixture& f) {
             f.write("ticker.txt", "|one{R}|\n\n|two|\n\n|three|\n\n|four|\n\n|five|\n\n|six {W}|\n");
         },
         "ticker.txt:1:2: error: the first message begins with a colour tag"},
        {"last tag not white", [](IssueFixture& f) {
             f.write("ticker.txt", "|{R}one|\n\n|two|\n\n|three|\n\n|four|\n\n|five|\n\n|six {W} {D}|\n");
         },
         "ticker.txt:11:10: error: the last colour tag of the ticker is {W}"},
        {"message without bars", [](IssueFixture& f) {
             f.write("ticker.txt", "|{R}one|\n\nno bars\n\n|three|\n\n|four|\n\n|five|\n\n|x|\n\n|six {W}|\n");
         },
         "ticker.txt:3:1: error: a message line is written between bars"},
        {"page rows off the profile", [](IssueFixture& f) {
             f.write("profile.txt", "page 3 rows 2\n");
             f.write("pages/03-c.txt", "a\nb\nc\n");
         },
         "pages/03-c.txt:3:1: error: page 3 has 3 rows where this issue's profile has 2"},
        {"ticker message off the profile", [](IssueFixture& f) { f.write("profile.txt", "ticker 2 chars 5 lead 0\n"); },
         "ticker.txt:3:1: error: message 2 has 1 characters (tags included) where this issue's profile has 5"},
        {"undeclared group", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "1998-09-04 | demo | Alpah | Typo\n");
         },
         "releases.log:16:21: error: group \"Alpah\" is not declared"},
        {"unknown kind", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "1998-09-04 | demos | Alpha | Kind\n");
         },
         "releases.log:16:14: error: unknown kind \"demos\""},
        {"impossible date", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "1998-02-30 | demo | Alpha | Date\n");
         },
         "releases.log:16:1: error: the date is a real date"},
        {"release after the chart month", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "1998-10-01 | demo | Alpha | Late | 3\n");
         },
         "releases.log:16:1: error: the release is dated after the chart month"},
        {"chart month release without points", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "1998-09-30 | demo | Alpha | Unvoted\n");
         },
         "releases.log:16:1: error: a release of the chart month needs its points"},
        {"group name too long for the tables", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "group    A Name Far Too Long\n");
         },
         "releases.log:16:28: error: group name \"A Name Far Too Long\" is longer than the 18"},
        {"group declared twice", [](IssueFixture& f) { f.write("releases.log", std::string(fixture_log) + "group    Gamma\n"); },
         "releases.log:16:10: error: group \"Gamma\" is declared twice (also on line 7)"},
        {"character without a byte in the log", [](IssueFixture& f) {
             f.write("releases.log", std::string(fixture_log) + "group    Ørsted\n");
         },
         "releases.log:16:10: error: character 'Ø'"},
    };
    for (const Breakage& c : cases) {
        SCOPED_TRACE(c.what);
        IssueFixture f;
        c.edit(f);
        const issue::Diagnostics d = f.build();
        EXPECT_FALSE(d.ok());
        EXPECT_TRUE(f.reported(d, c.report)) << "wanted " << c.report << "\ngot:\n" << f.all(d);
    }
}

TEST(IssueBuild, TheToolFailsTheBuildAndLeavesNoSource) {
    IssueFixture f;
    const std::string out = f.path("out.cpp"), err = f.path("err.txt");
    const std::string command = std::string(ISSUE_BUILD_EXE) + " --pages " + f.inputs.pages_dir + " --log " +
                                f.inputs.log + " --ticker " + f.inputs.ticker + " --profile " + f.inputs.profile +
                                " --font " + f.inputs.font + " --out " + out + " 2>" + err;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(out));

    f.write("pages/06-f.txt", "  fine\n  Ω and € \n");
    EXPECT_NE(std::system(command.c_str()), 0);
    EXPECT_FALSE(std::filesystem::exists(out)) << "a stale source would let the build go on";
    std::ifstream in(err);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find(f.path("pages/06-f.txt") + ":2:9: error: character '€' (U+20AC)"), std::string::npos)
        << text.str();
}

}  // namespace
