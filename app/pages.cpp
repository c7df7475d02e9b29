// pages.cpp: build_page_table and select_page over the PageTable and
// CurrentPage. The page text comes from data/content.h; each page's lines go
// into its column from row 0 and its "<END>" row follows them.
#include "app/pages.h"

#include "app/state/viewer_state.h"
#include "app/viewer.h"
#include "data/content.h"
#include "render/layout.h"

namespace app {

Text PageTable[page_table_rows * page_table_columns];
Text CurrentPage[current_page_rows];

namespace {
const char end_marker[] = "<END>";
}  // namespace

Text page_end_marker() { return text_literal(end_marker); }

void build_page_table() {
    for (int32_t k = 1; k <= layout::menu_rows; ++k) viewer.menu_row_top[k] = layout::menu_row_top[k];

    for (int32_t page = 1; page <= page_count; ++page)
        fill_page_column(page, content::page_lines[page - 1], content::page_line_counts[page - 1]);
}

void fill_page_column(int32_t page, const content::Line* lines, int32_t rows) {
    if (page < 1 || page >= page_table_columns) return;
    // The marker must fit in the column's last row, so at most 5,000 text
    // rows are taken; anything past them would lie outside the table.
    if (rows < 0 || !lines) rows = 0;
    if (rows > page_table_rows - 1) rows = page_table_rows - 1;
    for (int32_t r = 0; r < rows; ++r) page_cell(r, page) = text_of(lines[r].bytes, int32_t(lines[r].length));
    page_cell(rows, page) = page_end_marker();
}

void select_page(int32_t page) {
    if (page < 0 || page >= page_table_columns) return;  // no such column
    ViewerState& v = viewer;
    v.page_length = 1;
    v.row_offset = 13;
    v.top_row = 0;
    v.scroll_velocity = 0;

    const Text marker = page_end_marker();
    bool found = false;
    for (int32_t i = 0; i < page_table_rows; ++i) {
        CurrentPage[i] = page_cell(i, page);
        // The first marker row ends the page; a column without one keeps
        // the length of 1.
        if (!found && text_equal(CurrentPage[i], marker)) {
            v.page_length = i;
            found = true;
        }
    }
}

}  // namespace app
