// release_log.h: the scene's release log, the one file the statistics pages
// are counted from (data/releases.log).
//
//   issue::ReleaseLog log;
//   if (!issue::log_load("data/releases.log", log, diags)) ...
//
// The file, in UTF-8; '#' starts a comment line, blank lines are ignored:
//
//   issue    41                   the issue's number
//   chart    1998-09              the month this issue charts
//   released 1998-10-04           the issue's release date
//   group    Acheron              a group; every group is declared once
//   staff    Tallow | editor      a person credited on page 1 and in the ticker
//   1998-09-12 | demo | Acheron | Cold Harbour | 412
//
// A release line is: date | kind | group | title [| points] (an empty points
// field is the same as none). The kinds are
// demo, intro, music, graphics, diskmag and tool. Points are the readers'
// votes and are required for the releases of the chart month. No release may
// be dated after the chart month. Every name must be drawable by the font and
// fit the tables (group names at most 18 characters, titles at most 28).
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/source.h"

namespace issue {

enum Kind { kind_demo, kind_intro, kind_music, kind_graphics, kind_diskmag, kind_tool, kind_count };

constexpr int log_group_name_max = 18;
constexpr int log_title_max = 28;

struct Date {
    int year = 0, month = 0, day = 0;
};

struct Group {
    std::u32string name;
    int line = 0;  // where it is declared
};

struct Staff {
    std::u32string name, role;
    int line = 0;
};

constexpr int log_staff_name_max = 16;
constexpr int log_staff_role_max = 51;

struct Release {
    Date date;
    int kind = 0;
    int group = 0;  // index into ReleaseLog::groups
    std::u32string title;
    int points = -1;  // -1: not voted on
    int line = 0;
};

struct ReleaseLog {
    std::string path;
    int issue = 0;
    int chart_year = 0, chart_month = 0;
    Date released;
    std::vector<Group> groups;      // in the order of declaration
    std::vector<Staff> staff;       // in the order of the file
    std::vector<Release> releases;  // in the order of the file
};

bool log_parse(const SourceFile& file, ReleaseLog& out, Diagnostics& d);
bool log_load(const std::string& path, ReleaseLog& out, Diagnostics& d);

// -1 when no group has that name (names compare exactly).
int log_find_group(const ReleaseLog& log, const std::u32string& name);

const char* kind_name(int kind);         // "demo"
const char* kind_plural(int kind);       // "demos"
const char* month_name(int month);       // "September", month 1-12
const char* month_short(int month);      // "Sep"
int days_in_month(int year, int month);

}  // namespace issue
