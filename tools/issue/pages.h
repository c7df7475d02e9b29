// pages.h: the ten chart pages, one UTF-8 file each in data/pages/, and their
// expansion into the rows the viewer shows.
//
//   std::vector<issue::Page> pages;
//   issue::pages_load(dir, is, pages, diags);   // finds, reads and expands
//
// A page file's name starts with its number, 1 to 10, optionally with leading
// zeros and followed by a non-digit ("03-monthly-chart.txt"); every page has
// exactly one file, and any other file in the folder is an error. Lines are
// shown as written, with two kinds of insertion:
//
//   @@name argument@@         inside a line: a value from the release log;
//   @@name|noun@@             a count with its noun: "1 release", "3 releases";
//   @@name:6@@ / @@name:-6@@  the same, right / left aligned in 6 columns.
//     @@name argument@@       alone on a line: a generated block (a table or
//                             block letters); its leading spaces are the
//                             block's left margin.
//
// A line of prose that its insertions make longer than page_row_max goes on
// over more rows (broken at spaces, with its left margin), so a longer list
// of names in another month needs no editing; the size profile then tells
// whether the page still has the rows it should.
//
// After expansion every row is at most page_row_max characters and a page
// has at most page_row_room rows, so that it and its "<END>" row fit the
// viewer's page table. Failures name the file, line and column; a number or
// group name typed outside an insertion is a warning (typed.h).
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/generate.h"

namespace issue {

constexpr int page_count = 10;
constexpr int page_row_max = 81;    // 80 fill the pane; the pane cuts the rest
constexpr int page_pane_width = 80; // rows a long line of prose is wrapped to
constexpr int page_row_room = 5000; // page table rows 0..5000 hold the text and "<END>"

struct PageRow {
    std::u32string text;
    int line = 0;              // source line it comes from
    std::vector<int> columns;  // source column of each character (for reports)
};

struct Page {
    int number = 0;
    std::string path;
    std::vector<PageRow> rows;
};

// Finds the ten page files of dir; pages[n - 1] gets page n's path.
bool pages_find(const std::string& dir, std::vector<Page>& pages, Diagnostics& d);

// Expands one page's source lines; checks characters, insertions, row widths
// and the room of the page table.
bool page_expand(const Issue& is, const SourceFile& file, Page& page, Diagnostics& d);

bool pages_load(const std::string& dir, const Issue& is, std::vector<Page>& pages, Diagnostics& d);

int page_blank_rows(const Page& p);

}  // namespace issue
