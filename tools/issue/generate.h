// generate.h: the text the build makes from the release log: the values that
// editorial lines quote and the blocks (tables, block letters) that fill
// whole rows. Pages and the ticker ask for them with "@@name argument@@"
// (see pages.h); both kinds are looked up in one table each.
//
//   issue::Issue is;                     // log, its counts and the block font
//   std::vector<std::u32string> rows;
//   std::string why;
//   issue::gen_block(is, U"month_chart", U"30", 2, rows, why);
//   issue::gen_value(is, U"year_releases", U"", U"release", text, why);  // "195 releases"
//
// A value that counts something takes a noun after '|' ("@@month_releases|release@@")
// and comes out as "1 release", "32 releases" or "no releases"; without one it
// is the bare number. Lists of names come out as "A", "A and B", "A, B and C".
//
// Ties, everywhere: equal points or counts share a place and the next place
// is skipped; releases of equal points are listed by date, groups of equal
// counts by name. A chart cut at N rows also shows every release tied with
// the Nth, and values naming "the" busiest, best or second list every one
// that ties.
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
GenResult gen_value(const Issue& is, const std::u32string& name, const std::u32string& arg,
                    const std::u32string& noun, std::u32string& out, std::string& why);

// Every name of each table, for messages and for the test that each is used.
std::vector<std::string> gen_block_names();
std::vector<std::string> gen_value_names();

// Rows of one group's block on the long group page.
constexpr int gen_group_block_rows = 17;

}  // namespace issue
