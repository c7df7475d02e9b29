// typed.h: the check that keeps typed figures out of the issue. A number
// (digits, or a number word from "two" on) or a group name of the log in the
// text an editor typed, rather than one an insertion put there, is reported
// as a warning with its file, line and column: it would not move on with the
// log. Page numbers ("page 3", "pages 2, 5 and 7") and key names (F1 to F12)
// are not figures. A figure meant as written is marked "@@fixed 1995@@"; a
// group named in commentary is written "@@group Paper Lynx@@", which checks
// the name against the log.
//
//   issue::typed_check(log, path, placed_text, diags);
#pragma once
#include <string>

#include "tools/issue/diag.h"
#include "tools/issue/insert.h"
#include "tools/issue/release_log.h"

namespace issue {

void typed_check(const ReleaseLog& log, const std::string& path, const Placed& text, Diagnostics& d);

}  // namespace issue
