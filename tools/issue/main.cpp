// main.cpp: issue_build, the build step that turns the issue's editable text
// into the C++ source of the quillon_content library.
//
//   issue_build --pages DIR --log FILE --ticker FILE --profile FILE
//               --font FILE --out FILE.cpp [--preview FILE.txt]
//
// On any failure it prints every report as "file:line:column: error: ...",
// writes no source (and removes a stale one), and exits with 1. The preview,
// the pages as far as they could be made, is written either way.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/issue/build.h"

namespace {

bool write_file(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    issue::BuildInputs in;
    std::string out_path, preview_path;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--pages") in.pages_dir = value;
        else if (key == "--log") in.log = value;
        else if (key == "--ticker") in.ticker = value;
        else if (key == "--profile") in.profile = value;
        else if (key == "--font") in.font = value;
        else if (key == "--out") out_path = value;
        else if (key == "--preview") preview_path = value;
        else {
            std::fprintf(stderr, "issue_build: unknown option %s\n", key.c_str());
            return 2;
        }
    }
    if (argc % 2 == 0 || in.pages_dir.empty() || in.log.empty() || in.ticker.empty() || in.profile.empty() ||
        in.font.empty() || out_path.empty()) {
        std::fprintf(stderr,
                     "usage: issue_build --pages DIR --log FILE --ticker FILE --profile FILE --font FILE "
                     "--out FILE.cpp [--preview FILE.txt]\n");
        return 2;
    }
    issue::Built built;
    issue::Diagnostics d;
    const bool ok = issue::issue_build(in, built, d);
    issue::diag_print(d, stderr);
    if (!preview_path.empty() && !write_file(preview_path, issue::emit_preview(built))) {
        std::fprintf(stderr, "issue_build: cannot write %s\n", preview_path.c_str());
        return 1;
    }
    if (!ok) {
        std::remove(out_path.c_str());
        std::fprintf(stderr, "issue_build: the issue's content has %d error%s\n", d.errors, d.errors == 1 ? "" : "s");
        return 1;
    }
    if (!write_file(out_path, issue::emit_cpp(built))) {
        std::fprintf(stderr, "issue_build: cannot write %s\n", out_path.c_str());
        return 1;
    }
    return 0;
}
