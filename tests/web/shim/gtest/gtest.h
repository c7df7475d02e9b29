// gtest.h: just enough of GoogleTest's interface (TEST, EXPECT_EQ,
// ASSERT_EQ, EXPECT_TRUE with streamed messages) to run a plain test file
// under the web preset, where GoogleTest itself is not built. Each TEST
// registers itself; main() (in shim_main.cpp) runs them all and fails on the
// first failed assertion of each test. Used for the converter tests, so their
// WebAssembly paths are checked by the same file as the native ones.
#pragma once
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace shim {

struct Case {
    const char* name;
    void (*run)();
};
std::vector<Case>& cases();
extern int failures;

struct Register {
    Register(const char* name, void (*run)()) { cases().push_back({name, run}); }
};

// Streams the message of a failed assertion, then reports it.
struct Failure {
    const char* file;
    int line;
    std::string what;
    std::ostringstream message;
    Failure(const char* f, int l, std::string w) : file(f), line(l), what(std::move(w)) {}
    ~Failure() {
        std::printf("%s:%d: failed: %s %s\n", file, line, what.c_str(), message.str().c_str());
        ++failures;
    }
    template <typename T>
    Failure& operator<<(const T& v) {
        message << v;
        return *this;
    }
};

// An assertion that fails returns from the test after its message.
struct Fatal {
    void operator=(const Failure&) {}
};

}  // namespace shim

#define TEST(suite, name)                                                          \
    static void suite##_##name();                                                  \
    static shim::Register suite##_##name##_registered(#suite "." #name, suite##_##name); \
    static void suite##_##name()

#define EXPECT_TRUE(c) \
    if (c) {           \
    } else             \
        shim::Failure(__FILE__, __LINE__, #c)
#define EXPECT_EQ(a, b)  \
    if ((a) == (b)) {    \
    } else               \
        shim::Failure(__FILE__, __LINE__, #a " == " #b)
#define ASSERT_EQ(a, b) \
    if ((a) == (b)) {   \
    } else              \
        return shim::Fatal() = shim::Failure(__FILE__, __LINE__, #a " == " #b)
