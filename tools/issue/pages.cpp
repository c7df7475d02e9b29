// pages.cpp: finding the page files and expanding their insertions.
#include "tools/issue/pages.h"

#include <algorithm>
#include <filesystem>

#include "tools/issue/cp437.h"
#include "tools/issue/insert.h"
#include "tools/issue/typed.h"

namespace issue {

namespace fs = std::filesystem;

bool pages_find(const std::string& dir, std::vector<Page>& pages, Diagnostics& d) {
    const int errors_before = d.errors;
    pages.assign(page_count, Page{});
    std::error_code ec;
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec))
        if (e.path().filename().string()[0] != '.') names.push_back(e.path().filename().string());
    if (ec) {
        diag_error(d, dir, 0, 0, "the pages folder cannot be read: " + ec.message());
        return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = (fs::path(dir) / name).string();
        if (!fs::is_regular_file(fs::path(path))) {
            diag_error(d, path, 0, 0, "is not a page file; the pages folder holds only the ten page files");
            continue;
        }
        size_t digits = 0;
        int number = 0;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && number < 1000)
            number = number * 10 + (name[digits++] - '0');
        if (digits == 0) {
            diag_error(d, path, 0, 0,
                       "is not a page file: a page file's name starts with its page number, 1 to 10");
            continue;
        }
        if (number < 1 || number > page_count) {
            diag_error(d, path, 0, 0,
                       "an extra page: page " + std::to_string(number) + " is not one of the issue's pages 1 to 10");
            continue;
        }
        Page& p = pages[number - 1];
        if (!p.path.empty()) {
            diag_error(d, path, 0, 0, "a second file for page " + std::to_string(number) + " (the first is " +
                                          p.path + ")");
            continue;
        }
        p.number = number;
        p.path = path;
    }
    for (int n = 1; n <= page_count; n++)
        if (pages[n - 1].path.empty())
            diag_error(d, dir, 0, 0,
                       "page " + std::to_string(n) + " is missing: add a file whose name starts with " +
                           (n < 10 ? "0" : "") + std::to_string(n) + "-");
    return d.errors == errors_before;
}

namespace {

void add_row(Page& page, std::u32string text, int line, std::vector<int> columns) {
    page.rows.push_back(PageRow{std::move(text), line, std::move(columns)});
}

// A line of prose that its insertions made too long goes on over more rows,
// broken at its spaces and with its own left margin, so a longer list of
// names next month needs no editing. Lines with box or block characters (a
// frame, a heading) and words that cannot be broken are left as they are.
bool wrap_prose(Page& page, const std::u32string& text, int line, const std::vector<int>& columns) {
    if (static_cast<int>(text.size()) <= page_row_max) return false;
    for (char32_t c : text)
        if (c >= 0x2500 && c <= 0x259F) return false;
    size_t margin = 0;
    while (margin < text.size() && text[margin] == U' ') margin++;
    std::vector<std::pair<size_t, size_t>> rows;  // [begin, end) of each row's words
    size_t begin = margin;
    while (begin < text.size()) {
        size_t end = begin, fit = begin;
        while (end < text.size()) {
            size_t word_end = text.find(U' ', end);
            if (word_end == std::u32string::npos) word_end = text.size();
            if (static_cast<int>(margin + word_end - begin) > page_pane_width) break;
            fit = word_end;
            end = word_end;
            while (end < text.size() && text[end] == U' ') end++;
        }
        if (fit == begin) return false;  // a word longer than the row
        rows.emplace_back(begin, fit);
        begin = end;
    }
    for (const auto& [b, e] : rows) {
        std::vector<int> cols(margin, columns[b]);
        cols.insert(cols.end(), columns.begin() + static_cast<long>(b), columns.begin() + static_cast<long>(e));
        add_row(page, std::u32string(margin, U' ') + text.substr(b, e - b), line, std::move(cols));
    }
    return true;
}

}  // namespace

bool page_expand(const Issue& is, const SourceFile& file, Page& page, Diagnostics& d) {
    const int errors_before = d.errors;
    const std::string& path = file.path;
    page.rows.clear();
    for (const SourceLine& l : file.lines) {
        if (!source_check_drawable(path, l.number, 1, l.text, 0, d)) continue;
        const Placed src = placed_line(l.text, l.number);
        std::vector<Insertion> ins;
        if (!insert_find(path, src, ins, d)) continue;

        // A line that is only an insertion may be a generated block.
        size_t lead = 0;
        while (lead < l.text.size() && l.text[lead] == U' ') lead++;
        if (ins.size() == 1 && ins[0].begin == lead && ins[0].end == l.text.size()) {
            std::vector<std::u32string> rows;
            std::string why;
            const GenResult r = gen_block(is, ins[0].name, ins[0].arg, static_cast<int>(lead), rows, why);
            if (r == gen_bad) {
                diag_error(d, path, l.number, static_cast<int>(lead) + 3,
                           "@@" + utf8_encode(ins[0].name) + "@@ " + why);
                continue;
            }
            if (r == gen_ok) {
                if (ins[0].width != 0)
                    diag_error(d, path, l.number, static_cast<int>(lead) + 3, "a block takes no width");
                for (size_t i = 0; i < rows.size(); i++) {
                    if (static_cast<int>(rows[i].size()) > page_row_max) {
                        diag_error(d, path, l.number, static_cast<int>(lead) + 1,
                                   "row " + std::to_string(i + 1) + " of the generated @@" + utf8_encode(ins[0].name) +
                                       "@@ is " + std::to_string(rows[i].size()) + " characters long, " +
                                       std::to_string(rows[i].size() - page_row_max) + " over the " +
                                       std::to_string(page_row_max) + " a line may have");
                        break;
                    }
                }
                for (std::u32string& row : rows) {
                    std::vector<int> columns(row.size(), static_cast<int>(lead) + 1);
                    add_row(page, std::move(row), l.number, std::move(columns));
                }
                continue;
            }
            // Not a block name: it may still be a value on a line of its own.
        }

        Placed out;
        if (!insert_values(is, path, src, ins, out, d)) continue;
        typed_check(is.log, path, out, d);
        std::u32string& text = out.text;
        std::vector<int>& columns = out.columns;
        if (!ins.empty() && wrap_prose(page, text, l.number, columns)) continue;
        if (static_cast<int>(text.size()) > page_row_max) {
            diag_error(d, path, l.number, columns[page_row_max],
                       "line is " + std::to_string(text.size()) + " characters long" +
                           (ins.empty() ? "" : " with its insertions") + ", " +
                           std::to_string(text.size() - page_row_max) + " over the " + std::to_string(page_row_max) +
                           " a line may have");
        }
        if (text == U"<END>")
            diag_error(d, path, l.number, 1,
                       "a row that reads exactly \"<END>\" would end the page here in the viewer; "
                       "change its spelling or add a character");
        add_row(page, std::move(text), l.number, std::move(columns));
    }
    if (static_cast<int>(page.rows.size()) > page_row_room) {
        const PageRow& first_over = page.rows[page_row_room];
        diag_error(d, path, first_over.line, 1,
                   "page " + std::to_string(page.number) + " has " + std::to_string(page.rows.size()) +
                       " rows; the page table has room for " + std::to_string(page_row_room) +
                       " and its \"<END>\" row, so the rows from here on do not fit");
    }
    return d.errors == errors_before;
}

bool pages_load(const std::string& dir, const Issue& is, std::vector<Page>& pages, Diagnostics& d) {
    if (!pages_find(dir, pages, d)) return false;
    bool good = true;
    for (Page& p : pages) {
        SourceFile f;
        if (!source_read(p.path, f, d)) {
            good = false;
            continue;
        }
        good = page_expand(is, f, p, d) && good;
    }
    return good;
}

int page_blank_rows(const Page& p) {
    int n = 0;
    for (const PageRow& r : p.rows) n += r.text.empty();
    return n;
}

}  // namespace issue
