// diag.cpp: collecting and printing the issue build's error reports.
#include "tools/issue/diag.h"

namespace issue {

static void add(Diagnostics& d, const std::string& file, int line, int column, bool warning,
                const std::string& message) {
    d.list.push_back(Diagnostic{file, line, column, warning, message});
    if (!warning) d.errors++;
}

void diag_error(Diagnostics& d, const std::string& file, int line, int column, const std::string& message) {
    add(d, file, line, column, false, message);
}

void diag_warning(Diagnostics& d, const std::string& file, int line, int column, const std::string& message) {
    add(d, file, line, column, true, message);
}

std::string diag_format(const Diagnostic& one) {
    std::string s = one.file;
    if (one.line > 0) s += ":" + std::to_string(one.line) + ":" + std::to_string(one.column > 0 ? one.column : 1);
    s += one.warning ? ": warning: " : ": error: ";
    s += one.message;
    return s;
}

void diag_print(const Diagnostics& d, std::FILE* to) {
    for (const Diagnostic& one : d.list) std::fprintf(to, "%s\n", diag_format(one).c_str());
}

}  // namespace issue
