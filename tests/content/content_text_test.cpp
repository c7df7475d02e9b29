// content_text_test: the built-in text meets the size profile the viewer's
// behaviour depends on: row counts per page, line widths, the six ticker
// messages with their tags and spaces.
#include <gtest/gtest.h>

#include <string>

#include "data/content.h"

namespace {

std::string text(const content::Line& l) { return std::string(reinterpret_cast<const char*>(l.bytes), l.length); }

bool is_tag(const std::string& s, size_t i) {
    return i + 2 < s.size() && s[i] == '{' && s[i + 2] == '}' && std::string("RGBWD").find(s[i + 1]) != std::string::npos;
}

int tags(const std::string& s) {
    int n = 0;
    for (size_t i = 0; i < s.size(); i++) n += is_tag(s, i);
    return n;
}

TEST(ContentText, PagesHaveTheIssueProfile) {
    const int rows[content::page_count] = {518, 1887, 54, 23, 107, 17, 160, 35, 34, 19};
    const int blank[content::page_count] = {148, 313, 8, 9, 7, 7, 7, 11, 8, 7};
    int total = 0;
    for (int p = 0; p < content::page_count; p++) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        ASSERT_EQ(content::page_line_counts[p], rows[p]);
        int blanks = 0;
        for (int r = 0; r < rows[p]; r++) {
            const std::string line = text(content::page_lines[p][r]);
            blanks += line.empty();
            EXPECT_LE(line.size(), 81u) << "row " << r;
            EXPECT_NE(line, "<END>") << "row " << r << " would end the page early";
            EXPECT_EQ(line.find('\0'), std::string::npos) << "row " << r;
            for (unsigned char c : line) EXPECT_GE(c, 32) << "row " << r << " has a control code";
        }
        EXPECT_EQ(blanks, blank[p]);
        total += rows[p];
    }
    EXPECT_EQ(total, 2854);
}

TEST(ContentText, PagesUseTheBlockAndBoxCodes) {
    // Headings, rules and frames are drawn with codes 176 to 223; every page
    // has some, and the long page's tables use the double frame corners.
    for (int p = 0; p < content::page_count; p++) {
        bool art = false;
        for (int r = 0; r < content::page_line_counts[p] && !art; r++)
            for (unsigned char c : text(content::page_lines[p][r])) art = art || (c >= 176 && c <= 223);
        EXPECT_TRUE(art) << "page " << p + 1;
    }
    bool corner = false;
    for (int r = 0; r < content::page_line_counts[1]; r++) corner = corner || text(content::page_lines[1][r]).find('\xC9') != std::string::npos;
    EXPECT_TRUE(corner);
}

TEST(ContentText, MostLinesHaveALeftMargin) {
    int text_rows = 0, margined = 0;
    for (int p = 0; p < content::page_count; p++)
        for (int r = 0; r < content::page_line_counts[p]; r++) {
            const std::string line = text(content::page_lines[p][r]);
            if (line.empty()) continue;
            text_rows++;
            margined += line[0] == ' ';
        }
    EXPECT_GT(margined * 10, text_rows * 9);
}

TEST(ContentText, TickerMessagesHaveTheIssueProfile) {
    struct Want {
        size_t chars;
        int tags, lead;
    };
    const Want want[content::ticker_message_count] = {{115, 9, 0}, {227, 6, 4}, {121, 0, 11},
                                                      {201, 0, 1}, {236, 0, 6}, {260, 7, 8}};
    std::string all;
    for (int m = 0; m < content::ticker_message_count; m++) {
        SCOPED_TRACE("message " + std::to_string(m + 1));
        const std::string s = text(content::ticker_messages[m]);
        EXPECT_EQ(s.size(), want[m].chars);
        EXPECT_EQ(tags(s), want[m].tags);
        EXPECT_EQ(s.find_first_not_of(' '), static_cast<size_t>(want[m].lead));
        for (unsigned char c : s) EXPECT_GE(c, 32);
        all += s;
    }
    EXPECT_EQ(all.size(), 1160u);  // 1,261 with the viewer's 101-space lead-in
    EXPECT_TRUE(is_tag(all, 0)) << "the first message begins with a tag";
    const std::string last = text(content::ticker_messages[5]);
    EXPECT_EQ(last.substr(last.size() - 31), std::string(31, ' '));
    EXPECT_NE(last[last.size() - 32], ' ');
    size_t last_tag = std::string::npos;
    for (size_t i = 0; i < all.size(); i++)
        if (is_tag(all, i)) last_tag = i;
    ASSERT_NE(last_tag, std::string::npos);
    EXPECT_EQ(all.substr(last_tag, 3), "{W}");
    // No brace outside a tag: the viewer would hide "{x}" or show a stray one.
    for (size_t i = 0; i < all.size(); i++) {
        if (is_tag(all, i)) {
            i += 2;
            continue;
        }
        EXPECT_TRUE(all[i] != '{' && all[i] != '}') << "at " << i;
    }
}

}  // namespace
