// pages.h: the table of all page text and the selected page's rows.
//
// PageTable holds the ten chart pages side by side: column n (1..10) is page
// n, one text line per row from row 0, closed by a row that reads exactly
// "<END>"; every other cell, and the whole of column 0, is empty. It is filled
// once by build_page_table and never changes. select_page(n) copies column n
// into CurrentPage and puts the pane back at the page's top:
//
//   app::build_page_table();                 // start-up, once
//   app::select_page(3);                     // CurrentPage = page 3, page_length = its rows
//   app::Text t = app::page_cell(5, 3);      // row 5 of page 3
#pragma once
#include <cstdint>

#include "app/text.h"
#include "data/content.h"

namespace app {

constexpr int32_t page_table_rows = 5001;     // rows 0..5000
constexpr int32_t page_table_columns = 11;    // columns 0..10; 0 stays empty
constexpr int32_t current_page_rows = 5101;   // 5001..5100 are never written
constexpr int32_t page_count = 10;

// Row r, column c is element r * page_table_columns + c.
extern Text PageTable[page_table_rows * page_table_columns];
extern Text CurrentPage[current_page_rows];

inline Text& page_cell(int32_t row, int32_t column) { return PageTable[row * page_table_columns + column]; }

// The text of the row that closes every page.
Text page_end_marker();

// Puts `rows` lines into column `page` from row 0 and the marker after them
// (build_page_table does this for each page). At most 5,000 lines are
// taken, so that the marker still fits in the table's last row.
void fill_page_column(int32_t page, const content::Line* lines, int32_t rows);

}  // namespace app
