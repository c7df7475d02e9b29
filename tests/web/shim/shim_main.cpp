// shim_main.cpp: runs every TEST registered through the gtest.h shim; exit
// status 0 when all passed.
#include <cstdio>

#include "gtest/gtest.h"

namespace shim {
std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}
int failures = 0;
}  // namespace shim

int main() {
    int failed_cases = 0;
    for (const shim::Case& c : shim::cases()) {
        const int before = shim::failures;
        c.run();
        const bool ok = shim::failures == before;
        if (!ok) ++failed_cases;
        std::printf("%s %s\n", ok ? "ok  " : "FAIL", c.name);
    }
    std::printf("%zu tests, %d failed\n", shim::cases().size(), failed_cases);
    return failed_cases ? 1 : 0;
}
