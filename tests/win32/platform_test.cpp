// platform_test.cpp: the Win32 back end on the real API (run under Wine).
// The built-in module is linked in twice: as the program's bytes and as the
// RCDATA resource QUILLON_XM, which the resource source reaches through
// FindResource, LoadResource and LockResource.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "music/offline.h"
#include "music/player.h"
#include "platform/heap.h"
#include "platform/resources.h"
#include "platform/threads.h"

extern const unsigned char builtin_module[];
extern const unsigned int builtin_module_size;

namespace {

std::vector<uint8_t> render(const void* data, int32_t size, int32_t kind, int blocks) {
    std::vector<uint8_t> out;
    if (!music::offline_start(data, size, kind)) return out;
    for (int i = 0; i < blocks; ++i) {
        const uint8_t* b = music::offline_block();
        out.insert(out.end(), b, b + 4096);
    }
    music::offline_stop();
    return out;
}

TEST(Win32Resources, TheModuleResourceIsTheBuiltInModule) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(platform::find_resource(0, "QUILLON_XM", &data, &size), 1);
    ASSERT_EQ(size, builtin_module_size);
    EXPECT_EQ(std::memcmp(data, builtin_module, size), 0);
    EXPECT_EQ(platform::find_resource(0, "ABSENT", &data, &size), 0);
    EXPECT_EQ(platform::find_resource(0, nullptr, &data, &size), 0);
}

TEST(Win32Resources, ResourceSourcePlaysAsMemory) {
    const std::vector<uint8_t> memory = render(builtin_module, int32_t(builtin_module_size), 1, 64);
    ASSERT_EQ(memory.size(), size_t(64) * 4096);
    EXPECT_EQ(render("QUILLON_XM", 0, 0, 64), memory);
    EXPECT_EQ(render("QUILLON_XM", 0, -3, 64), memory);
    // A missing resource fails the start cleanly, as a failed load does.
    EXPECT_EQ(music::offline_start("ABSENT", 0, 0), 0);
    EXPECT_EQ(platform::live_heaps(), 0);
}

TEST(Win32Heap, ZeroFilledGrowableAndLimited) {
    platform::Heap* h = platform::heap_create();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(platform::live_heaps(), 1);
    size_t total = 0;
    for (size_t size : {size_t(1), size_t(100), size_t(1) << 20, size_t(8) << 20}) {
        auto* p = static_cast<uint8_t*>(platform::heap_alloc(h, size));
        ASSERT_NE(p, nullptr) << size;
        for (size_t i = 0; i < size; i += 4093) EXPECT_EQ(p[i], 0);
        std::memset(p, 0xAB, size);
        total += (size + 15) & ~size_t(15);
    }
    EXPECT_EQ(platform::heap_bytes(h), total);
    EXPECT_EQ(platform::heap_alloc(h, platform::heap_limit), nullptr);
    platform::heap_destroy(h);
    EXPECT_EQ(platform::live_heaps(), 0);
}

std::atomic<int> ran{0};

TEST(Win32Threads, RunWaitAndClose) {
    platform::Thread* t = platform::thread_create([] {
        platform::sleep_ms(20);
        ran.fetch_add(1);
    });
    ASSERT_NE(t, nullptr);
    platform::thread_set_priority_time_critical(t);
    platform::thread_wait(t);
    EXPECT_EQ(ran.load(), 1);
    EXPECT_EQ(platform::live_threads(), 0);
    platform::thread_close(t);
}

TEST(Win32Wave, NoDeviceMeansNoStart) {
    // The test run switches Wine's sound drivers off: the start fails and
    // leaves nothing behind, so the viewer plays silently.
    EXPECT_EQ(music::player_start(builtin_module, int32_t(builtin_module_size), 1), 0);
    EXPECT_EQ(platform::live_heaps(), 0);
    EXPECT_EQ(platform::live_threads(), 0);
}

}  // namespace
