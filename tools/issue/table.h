// table.h: framed tables drawn with the box-drawing characters, the one style
// all generated tables share: a double outer frame, single inner rules, a
// double rule above the closing (total) rows.
//
//   issue::Table t;
//   t.columns = {{"kind", 8, false}, {"1998", 4, true}};
//   t.body.push_back({U"demos", U"12"});
//   t.foot.push_back({U"all", U"40"});
//   std::vector<std::u32string> rows = issue::table_render(t, 2);   // margin 2
//
//   ╔══════════╤══════╗
//   ║ kind     │ 1998 ║
//   ╟──────────┼──────╢
//   ║ demos    │   12 ║
//   ╠══════════╪══════╣
//   ║ all      │   40 ║
//   ╚══════════╧══════╝
//
// A cell wider than its column is cut; the table's rows are
// 1 + 3 × columns + the widths wide, plus the margin.
#pragma once
#include <string>
#include <vector>

namespace issue {

struct TableColumn {
    std::u32string title;
    int width = 0;
    bool right = false;  // right-aligned (numbers)
};

struct Table {
    std::vector<TableColumn> columns;
    bool header = true;  // the column titles as the first row
    std::vector<std::vector<std::u32string>> body;
    std::vector<std::vector<std::u32string>> foot;
};

std::vector<std::u32string> table_render(const Table& t, int margin);
int table_width(const Table& t);

// A count as a table cell: the number, or a middle dot for none.
std::u32string table_count(int n);
std::u32string table_number(int n);
std::u32string table_ascii(const char* s);

}  // namespace issue
