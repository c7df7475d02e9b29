// profile.h: the issue's size profile (data/content/profile.txt), the figures
// the viewer's behaviour was tuned to, checked against what the build made.
//
//   page 2 rows 1887 blank 313
//   ticker 6 chars 260 tags 7 lead 8 trail 31
//
// One line per page and per ticker message; '#' starts a comment line. The
// build fails when a page's row count or a message's characters, tags,
// leading or trailing spaces differ from the profile, naming the place where
// the difference shows; a different count of blank rows is only a warning.
// A new issue with other sizes edits this file along with its texts.
#pragma once
#include <string>
#include <vector>

#include "tools/issue/diag.h"
#include "tools/issue/pages.h"
#include "tools/issue/source.h"
#include "tools/issue/ticker.h"

namespace issue {

struct PageProfile {
    int rows = -1, blank = -1, line = 0;
};

struct TickerProfile {
    int chars = -1, tags = -1, lead = -1, trail = -1, line = 0;
};

struct Profile {
    std::string path;
    PageProfile pages[page_count];
    TickerProfile messages[ticker_message_count];
};

bool profile_parse(const SourceFile& file, Profile& out, Diagnostics& d);
bool profile_load(const std::string& path, Profile& out, Diagnostics& d);

bool profile_check_pages(const Profile& p, const std::vector<Page>& pages, Diagnostics& d);
bool profile_check_ticker(const Profile& p, const Ticker& t, Diagnostics& d);

}  // namespace issue
