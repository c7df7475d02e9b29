// fixture.cpp: writing the small issue and running the build on it.
#include "tests/content/fixture.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

const char* const fixture_log =
    "# a small log\n"
    "issue    3\n"
    "chart    1998-09\n"
    "released 1998-10-02\n"
    "group    Alpha\n"
    "group    Beta Crew\n"
    "group    Gamma\n"
    "1996-06-06 | tool     | Gamma     | G One\n"
    "1997-03-01 | demo     | Alpha     | A One |\n"
    "1997-11-20 | intro    | Beta Crew | B One | 12\n"
    "1998-01-05 | intro    | Alpha     | A Two | 10\n"
    "1998-02-02 | graphics | Beta Crew | B Two | 5\n"
    "1998-09-02 | music    | Alpha     | A Three | 30\n"
    "1998-09-03 | demo     | Beta Crew | B Three | 50\n"
    "1998-09-20 | diskmag  | Alpha     | A Four #1 | 30\n";

IssueFixture::IssueFixture() {
    // A folder of its own (create_directory fails on one that exists).
    std::random_device random;
    do dir = fs::temp_directory_path() / ("issue_fixture_" + std::to_string(random()));
    while (!fs::create_directory(dir));
    fs::create_directories(dir / "pages");
    const char* names[10] = {"01-a.txt", "02-b.txt", "03-c.txt", "04-d.txt", "05-e.txt",
                             "06-f.txt", "07-g.txt", "08-h.txt", "09-i.txt", "10-j.txt"};
    for (const char* n : names) write(std::string("pages/") + n, "  page\n");
    write("releases.log", fixture_log);
    write("ticker.txt",
          "|{R}one{W}|\n\n|b|\n\n|c|\n\n|d|\n\n|e|\n\n# the last\n|f |\n|{W}  |\n");
    write("profile.txt", "# nothing fixed\n");
    inputs = {path("pages"), path("releases.log"), path("ticker.txt"), path("profile.txt"),
              std::string(QUILLON_DATA_DIR) + "/content/blockfont.txt"};
}

IssueFixture::~IssueFixture() {
    std::error_code ec;
    fs::remove_all(dir, ec);
}

void IssueFixture::write(const std::string& relative, const std::string& text) {
    std::ofstream out(dir / relative, std::ios::binary | std::ios::trunc);
    out << text;
}

void IssueFixture::remove(const std::string& relative) { fs::remove(dir / relative); }

issue::Diagnostics IssueFixture::build() {
    issue::Diagnostics d;
    issue::issue_build(inputs, built, d);
    return d;
}

bool IssueFixture::reported(const issue::Diagnostics& d, const std::string& start) const {
    const std::string want = (dir / start).string();
    for (const issue::Diagnostic& one : d.list)
        if (issue::diag_format(one).rfind(want, 0) == 0) return true;
    return false;
}

std::string IssueFixture::all(const issue::Diagnostics& d) const {
    std::string s;
    for (const issue::Diagnostic& one : d.list) s += issue::diag_format(one) + "\n";
    return s;
}
