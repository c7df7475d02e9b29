// diag.h: error reports of the issue build, each tied to a file, line and
// column, printed in the compilers' "file:line:column: error: text" form so
// editors and IDEs can jump to the place.
//
//   issue::Diagnostics d;
//   issue::diag_error(d, path, 12, 5, "line is too long");
//   if (!d.ok()) { diag_print(d, stderr); return 1; }
//
// Line and column are 1-based; column counts characters, not bytes. A report
// about a whole file or folder uses line 0 and is printed without a place.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace issue {

struct Diagnostic {
    std::string file;
    int line = 0;
    int column = 0;
    bool warning = false;
    std::string message;
};

struct Diagnostics {
    std::vector<Diagnostic> list;
    int errors = 0;
    bool ok() const { return errors == 0; }
};

void diag_error(Diagnostics& d, const std::string& file, int line, int column, const std::string& message);
void diag_warning(Diagnostics& d, const std::string& file, int line, int column, const std::string& message);
std::string diag_format(const Diagnostic& one);
void diag_print(const Diagnostics& d, std::FILE* to);

}  // namespace issue
