// The shared POSIX code: which real-time priority the streaming thread asks
// for under the process's limit, and that a refused raise leaves the thread
// running at its normal priority.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/posix/posix.h"
#include "platform/threads.h"

namespace {

TEST(RealtimePriority, StaysWithinTheRangeAndTheProcessLimit) {
    struct Case {
        int lo, hi;
        long limit;
        int asked;
    } cases[] = {
        {1, 99, -1, 99},   // unlimited: the highest
        {1, 99, 99, 99},   // limit at the top
        {1, 99, 200, 99},  // limit above the range
        {1, 99, 50, 50},   // the usual audio group limit: just that
        {1, 99, 1, 1},     // the lowest real-time priority
        {1, 99, 0, 99},    // no real-time priority allowed: only a privileged process gets one
        {1, 32, 20, 20},   // another system's range
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::posix::realtime_priority(c.lo, c.hi, c.limit), c.asked)
            << c.lo << ".." << c.hi << " limit " << c.limit;
}

std::atomic<bool> ran{false};

TEST(RealtimePriority, ARefusedRaiseLeavesTheThreadRunning) {
    ran = false;
    platform::Thread* t = platform::thread_create([] { ran = true; });
    ASSERT_NE(t, nullptr);
    const int raised = platform::thread_set_priority_time_critical(t);
    EXPECT_TRUE(raised == 0 || raised == 1);
    platform::thread_wait(t);
    platform::thread_close(t);
    EXPECT_TRUE(ran.load());
    EXPECT_EQ(platform::live_threads(), 0);
}

}  // namespace
