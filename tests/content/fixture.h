// fixture.h: a small, valid issue in a temporary folder, for the build tool's
// tests to break one piece at a time.
//
//   IssueFixture f;                       // ten one-line pages, a tiny log, six messages
//   f.write("pages/03-chart.txt", "  bad ø\n");
//   issue::Diagnostics d = f.build();     // runs the whole build
//   EXPECT_TRUE(f.reported(d, "pages/03-chart.txt:1:7: error: character"));
#pragma once
#include <filesystem>
#include <string>

#include "tools/issue/build.h"

struct IssueFixture {
    IssueFixture();
    ~IssueFixture();
    std::filesystem::path dir;
    issue::BuildInputs inputs;
    issue::Built built;

    void write(const std::string& relative, const std::string& text);
    void remove(const std::string& relative);
    issue::Diagnostics build();
    std::string path(const std::string& relative) const { return (dir / relative).string(); }
    // True when a report starts with the fixture folder followed by `start`.
    bool reported(const issue::Diagnostics& d, const std::string& start) const;
    std::string all(const issue::Diagnostics& d) const;
};

// The small log the fixture starts with: three groups, releases from 1996
// to its chart month, September 1998.
extern const char* const fixture_log;
