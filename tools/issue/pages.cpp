// pages.cpp: finding the page files and expanding their insertions.
#include "tools/issue/pages.h"

#include <algorithm>
#include <filesystem>

#include "tools/issue/cp437.h"

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

struct Insertion {
    size_t begin = 0, end = 0;  // of "@@...@@" in the line, end past the closing "@@"
    std::u32string name, arg;
    int width = 0;  // 0: as it comes; > 0 right-aligned; < 0 left-aligned
};

// Finds the insertions of a line; reports an unclosed "@@".
bool find_insertions(const std::string& path, const SourceLine& l, std::vector<Insertion>& out, Diagnostics& d) {
    const std::u32string& s = l.text;
    size_t at = 0;
    while ((at = s.find(U"@@", at)) != std::u32string::npos) {
        const size_t close = s.find(U"@@", at + 2);
        if (close == std::u32string::npos) {
            diag_error(d, path, l.number, static_cast<int>(at) + 1,
                       "\"@@\" opens an insertion that is not closed by another \"@@\"");
            return false;
        }
        Insertion ins;
        ins.begin = at;
        ins.end = close + 2;
        std::u32string body = s.substr(at + 2, close - at - 2);
        // A trailing ":N" or ":-N" is the alignment width.
        const size_t colon = body.rfind(U':');
        if (colon != std::u32string::npos && colon + 1 < body.size()) {
            size_t i = colon + 1;
            const bool left = body[i] == U'-';
            if (left) i++;
            int w = 0;
            bool digits = i < body.size();
            for (; i < body.size(); i++) {
                if (body[i] < '0' || body[i] > '9' || w > 1000) digits = false;
                else w = w * 10 + static_cast<int>(body[i] - '0');
            }
            if (digits) {
                ins.width = left ? -w : w;
                body.resize(colon);
            }
        }
        const size_t space = body.find(U' ');
        ins.name = body.substr(0, space);
        if (space != std::u32string::npos) {
            size_t b = space;
            while (b < body.size() && body[b] == U' ') b++;
            size_t e = body.size();
            while (e > b && body[e - 1] == U' ') e--;
            ins.arg = body.substr(b, e - b);
        }
        out.push_back(ins);
        at = ins.end;
    }
    return true;
}

void add_row(Page& page, std::u32string text, int line, std::vector<int> columns) {
    page.rows.push_back(PageRow{std::move(text), line, std::move(columns)});
}

}  // namespace

bool page_expand(const Issue& is, const SourceFile& file, Page& page, Diagnostics& d) {
    const int errors_before = d.errors;
    const std::string& path = file.path;
    page.rows.clear();
    for (const SourceLine& l : file.lines) {
        if (!source_check_drawable(path, l.number, 1, l.text, 0, d)) continue;
        std::vector<Insertion> ins;
        if (!find_insertions(path, l, ins, d)) continue;

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

        std::u32string text;
        std::vector<int> columns;
        size_t from = 0;
        bool good = true;
        for (const Insertion& one : ins) {
            for (size_t i = from; i < one.begin; i++) text += l.text[i], columns.push_back(static_cast<int>(i) + 1);
            std::u32string value;
            std::string why;
            const int col = static_cast<int>(one.begin) + 3;
            const GenResult r = gen_value(is, one.name, one.arg, value, why);
            if (r == gen_unknown) {
                std::vector<std::u32string> unused;
                std::string w;
                if (gen_block(is, one.name, one.arg, 0, unused, w) != gen_unknown)
                    diag_error(d, path, l.number, col,
                               "@@" + utf8_encode(one.name) + "@@ is a block and stands alone on its line");
                else
                    diag_error(d, path, l.number, col,
                               "unknown insertion @@" + utf8_encode(one.name) + "@@; values are " + gen_value_names() +
                                   "; blocks are " + gen_block_names());
                good = false;
            } else if (r == gen_bad) {
                diag_error(d, path, l.number, col, "@@" + utf8_encode(one.name) + "@@ " + why);
                good = false;
            }
            const size_t w = static_cast<size_t>(one.width < 0 ? -one.width : one.width);
            if (value.size() < w) {
                const std::u32string pad(w - value.size(), U' ');
                value = one.width > 0 ? pad + value : value + pad;
            }
            text += value;
            columns.insert(columns.end(), value.size(), static_cast<int>(one.begin) + 1);
            from = one.end;
        }
        for (size_t i = from; i < l.text.size(); i++) text += l.text[i], columns.push_back(static_cast<int>(i) + 1);
        if (!good) continue;
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
