// generate.h: the text the build makes from the release log: the values that
// editorial lines quote and the blocks (tables, block letters) that fill
// whole rows. Pages ask for them with "@@name argument@@" (see pages.h).
//
//   issue::Issue is;                     // log, its counts and the block font
//   std::vector<std::u32string> rows;
//   std::string why;
//   issue::gen_block(is, U"month_chart", U"", 2, rows, why);
//   issue::gen_value(is, U"year_releases", U"", text, why);
//
// Blocks with an argument: title TEXT and banner TEXT (block letters),
// group_table GROUP, month_chart N, all_groups N, year_groups N or
// year_groups from N (the groups with at least N releases this year); N rows
// at most, all when left out.
//
// Both return gen_unknown for a name they do not know, so a page can tell a
// misspelt name from a bad argument (gen_bad, with the reason in why).
#pragma once
#include <string>
#include <vector>

#include "tools/issue/banner.h"
#include "tools/issue/release_log.h"
#include "tools/issue/stats.h"

namespace issue {

struct Issue {
    ReleaseLog log;
    Stats stats;
    BlockFont font;
};

enum GenResult { gen_ok, gen_unknown, gen_bad };

GenResult gen_block(const Issue& is, const std::u32string& name, const std::u32string& arg, int margin,
                    std::vector<std::u32string>& rows, std::string& why);
GenResult gen_value(const Issue& is, const std::u32string& name, const std::u32string& arg, std::u32string& out,
                    std::string& why);

// The names each knows, for messages.
const char* gen_block_names();
const char* gen_value_names();

// Rows of one group's block on the long group page, and of its table alone.
constexpr int gen_group_block_rows = 17;

}  // namespace issue
