// The page table and page selection: what build_page_table leaves in the
// table, the exact "<END>" match, the full copy and the scroll reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/content.h"
#include "viewer_fixture.h"

namespace {

using app::page_cell;
using app::Text;

Text lit(const char* s) { return app::text_literal(s); }

TEST(PageTable, HoldsEachPageInItsColumnClosedByTheMarker) {
    viewer_test::fresh();
    app::build_page_table();
    const int32_t tops[12] = {0, 8, 20, 32, 43, 54, 66, 77, 89, 100, 112, 123};
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(app::viewer.menu_row_top[k], tops[k]) << "menu row " << k;

    for (int32_t r = 0; r < app::page_table_rows; ++r) ASSERT_EQ(page_cell(r, 0).length, 0) << "column 0, row " << r;
    for (int page = 1; page <= 10; ++page) {
        const int32_t rows = content::page_line_counts[page - 1];
        for (int32_t r = 0; r < rows; ++r) {
            const content::Line& l = content::page_lines[page - 1][r];
            ASSERT_TRUE(app::text_equal(page_cell(r, page), app::text_of(l.bytes, int32_t(l.length))))
                << "page " << page << " row " << r;
        }
        EXPECT_TRUE(app::text_equal(page_cell(rows, page), lit("<END>"))) << "page " << page;
        for (int32_t r = rows + 1; r < app::page_table_rows; ++r)
            ASSERT_EQ(page_cell(r, page).length, 0) << "page " << page << " row " << r;

        app::select_page(page);
        EXPECT_EQ(app::viewer.page_length, rows) << "page " << page;
    }
}

TEST(PageTable, TheIssueHasItsPageProfile) {
    viewer_test::fresh();
    app::build_page_table();
    const int32_t rows[10] = {518, 1887, 54, 23, 107, 17, 160, 35, 34, 19};
    const int32_t blank[10] = {148, 313, 8, 9, 7, 7, 7, 11, 8, 7};
    int filled = 0;
    for (const Text& t : app::PageTable) filled += t.length > 0;
    EXPECT_EQ(filled, 2854 - 525 + 10);  // the rows that are not blank, and the ten markers
    for (int page = 1; page <= 10; ++page) {
        app::select_page(page);
        EXPECT_EQ(app::viewer.page_length, rows[page - 1]) << "page " << page;
        int blanks = 0;
        for (int32_t r = 0; r < app::viewer.page_length; ++r) {
            blanks += app::CurrentPage[r].length == 0;
            EXPECT_LE(app::CurrentPage[r].length, 81) << "page " << page << " row " << r;
        }
        EXPECT_EQ(blanks, blank[page - 1]) << "page " << page;
    }
}

TEST(PageTable, APageTooLongForTheTableIsCutSoItsMarkerStillFits) {
    static const uint8_t line[] = "text";
    static std::vector<content::Line> lines(6000, content::Line{line, 4});
    struct Case {
        int32_t given, length;
    } cases[] = {{6000, 5000}, {5001, 5000}, {5000, 5000}, {4999, 4999}, {0, 0}, {-3, 0}};
    for (const Case& c : cases) {
        viewer_test::fresh();
        app::fill_page_column(7, lines.data(), c.given);
        app::select_page(7);
        EXPECT_EQ(app::viewer.page_length, c.length) << c.given << " lines";
        EXPECT_TRUE(app::text_equal(page_cell(c.length, 7), lit("<END>"))) << c.given << " lines";
        for (int column : {6, 8}) EXPECT_EQ(page_cell(0, column).length, 0) << "neighbour column " << column;
    }
}

TEST(SelectPage, CopiesTheWholeColumnAndPutsThePaneAtTheTop) {
    viewer_test::fresh();
    viewer_test::make_page(4, 40);
    for (Text& t : app::CurrentPage) t = lit("left over");
    app::ViewerState& v = app::viewer;
    v.top_row = 6;
    v.row_offset = -3;
    v.scroll_velocity = -7;

    app::select_page(4);
    EXPECT_EQ(v.page_length, 40);
    EXPECT_EQ(v.top_row, 0);
    EXPECT_EQ(v.row_offset, 13);
    EXPECT_EQ(v.scroll_velocity, 0);
    EXPECT_TRUE(app::text_equal(app::CurrentPage[39], lit("row 39")));
    EXPECT_TRUE(app::text_equal(app::CurrentPage[40], lit("<END>")));
    for (int32_t r = 41; r < app::page_table_rows; ++r) ASSERT_EQ(app::CurrentPage[r].length, 0) << r;

    // The page already shown goes back to its top as well.
    v.top_row = 6;
    v.row_offset = 2;
    v.scroll_velocity = 3;
    app::select_page(4);
    EXPECT_EQ(v.top_row, 0);
    EXPECT_EQ(v.row_offset, 13);
    EXPECT_EQ(v.scroll_velocity, 0);
}

TEST(SelectPage, OnlyTheExactMarkerEndsThePage) {
    viewer_test::fresh();
    const char* look_alikes[] = {"<end>", " <END>", "<END> ", "x<END>", "<END", "END>", "<ENDE>", "<<END>>"};
    int32_t r = 0;
    for (const char* s : look_alikes) page_cell(r++, 2) = lit(s);
    page_cell(r, 2) = lit("<END>");
    app::select_page(2);
    EXPECT_EQ(app::viewer.page_length, r);

    // A marker whose bytes run on past a zero byte is not the marker either.
    static const uint8_t with_zero[] = {'<', 'E', 'N', 'D', '>', 0};
    viewer_test::fresh();
    page_cell(0, 3) = lit("text");
    page_cell(1, 3) = app::text_of(with_zero, 6);
    page_cell(2, 3) = lit("more");
    page_cell(3, 3) = lit("<END>");
    app::select_page(3);
    EXPECT_EQ(app::viewer.page_length, 3);
}

TEST(SelectPage, FirstMarkerWinsAndAColumnWithoutOneKeepsLengthOne) {
    struct Case {
        int32_t first_marker, second_marker, expected;
    } cases[] = {
        {1, 10, 1},   // a one-row page stays one row, whatever follows its marker
        {0, 7, 0},    // an empty page draws nothing
        {25, 40, 25},
        {-1, -1, 1},  // no marker at all
    };
    for (const Case& c : cases) {
        viewer_test::fresh();
        for (int32_t r = 0; r < 60; ++r) page_cell(r, 5) = lit("text");
        if (c.first_marker >= 0) page_cell(c.first_marker, 5) = lit("<END>");
        if (c.second_marker >= 0) page_cell(c.second_marker, 5) = lit("<END>");
        app::select_page(5);
        EXPECT_EQ(app::viewer.page_length, c.expected) << "markers at " << c.first_marker << ", " << c.second_marker;
    }
}

TEST(SelectPage, ColumnZeroIsAnEmptyPageAndColumnsOutsideTheTableAreIgnored) {
    viewer_test::fresh();
    viewer_test::make_page(1, 50);
    app::select_page(1);
    app::viewer.top_row = 9;
    app::select_page(11);
    app::select_page(-1);
    EXPECT_EQ(app::viewer.page_length, 50);
    EXPECT_EQ(app::viewer.top_row, 9);
    app::select_page(0);
    EXPECT_EQ(app::viewer.page_length, 1);
    EXPECT_EQ(app::CurrentPage[0].length, 0);
}

}  // namespace
