// sources_test.cpp: the module sources: memory, named resources and files
// give the same tables; what a missing source does; the memory reads and
// seeks at and past the ends of the block.
#include <unistd.h>

#include <cstdio>

#include "music/source.h"
#include "platform/resources.h"
#include "tests/loader/load_fixture.h"

namespace loader_test {
namespace {

constexpr int resource_module = 7;

std::string temp_file(const std::vector<uint8_t>& bytes) {
    char path[] = "/tmp/quillon-loader-XXXXXX";
    int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    close(fd);
    return path;
}

int32_t load_kind(int32_t kind, int32_t size, const void* argument) {
    fresh_heap();
    source_select(kind, size);
    return module_load(argument);
}

TEST_F(LoaderTest, SourceKindsGiveIdenticalTables) {
    xmw::Module m = small_module();
    m.instruments[0].samples.push_back({.data = {1000, -1000, 7}, .sixteen_bit = true});
    const std::vector<uint8_t> whole = xmw::xm_write(m);
    // Whole, and cut inside the last sample's data.
    for (size_t cut : {size_t(0), size_t(3)}) {
        const std::vector<uint8_t> bytes(whole.begin(), whole.end() - long(cut));
        ASSERT_EQ(load_kind(1, int32_t(bytes.size()), bytes.data()), 1);
        const std::string expected = dump_tables();
        platform::register_resource(resource_module, "MODULE", bytes.data(), uint32_t(bytes.size()));
        const std::string path = temp_file(bytes);
        struct Case {
            int32_t kind, size;
            const void* argument;
        };
        const Case cases[] = {{0, resource_module, "MODULE"}, {-4, resource_module, "MODULE"},
                              {2, 0, path.c_str()}, {9, 12345, path.c_str()}};
        for (const Case& c : cases) {
            ASSERT_EQ(load_kind(c.kind, c.size, c.argument), 1) << c.kind;
            EXPECT_EQ(dump_tables(), expected) << "kind " << c.kind << " cut " << cut;
        }
        std::remove(path.c_str());
    }
}

TEST_F(LoaderTest, MissingSourcesFail) {
    const std::vector<uint8_t> bytes = xmw::xm_write(small_module());
    platform::register_resource(resource_module, "PRESENT", bytes.data(), uint32_t(bytes.size()));
    struct Case {
        const char* what;
        int32_t kind, size;
        const void* argument;
    };
    const Case cases[] = {
        {"unknown resource name", 0, resource_module, "ABSENT"},
        {"resource under another module handle", 0, resource_module + 1, "PRESENT"},
        {"no resource name", 0, resource_module, nullptr},
        {"missing file", 2, 0, "/nonexistent/quillon.xm"},
        {"no file name", 2, 0, nullptr},
        {"memory of size 0", 1, 0, bytes.data()},
        {"memory of negative size", 1, -5, bytes.data()},
        {"no memory", 1, 100, nullptr},
    };
    for (const Case& c : cases) {
        // After a good load, so an earlier header cannot pass for this one.
        ASSERT_EQ(load(bytes), 1);
        EXPECT_EQ(load_kind(c.kind, c.size, c.argument), 0) << c.what;
    }
}

TEST(ModuleSource, MemoryReadsAndSeeksStayInsideTheBlock) {
    const uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    source_select(1, 8);
    source.open(data);
    struct Step {
        const char* what;
        int64_t seek_to;  // absolute, before the read
        uint32_t count;
        std::vector<uint8_t> got;  // the buffer afterwards, initially all 0xEE
        int64_t position;          // after the read
    };
    const Step steps[] = {
        {"inside", 2, 3, {3, 4, 5, 0xEE}, 5},
        {"short at the end", 6, 4, {7, 8, 0xEE, 0xEE}, 10},
        {"at the end", 8, 2, {0xEE, 0xEE}, 10},
        {"seek past the end stops at the size", 50, 1, {0xEE}, 9},
        {"negative position", -3, 4, {0xEE, 0xEE, 0xEE, 0xEE}, 1},
        {"far below", -(int64_t(1) << 40), 2, {0xEE, 0xEE}, -(int64_t(1) << 40) + 2},
    };
    for (const Step& s : steps) {
        source.seek(s.seek_to, 0);
        std::vector<uint8_t> buffer(s.got.size(), 0xEE);
        source.read(buffer.data(), s.count);
        EXPECT_EQ(buffer, s.got) << s.what;
        EXPECT_EQ(source_state.position, s.position) << s.what;
    }
    // Relative seeks: past the end clamps, below 0 stays below 0.
    source.seek(3, 0);
    EXPECT_EQ(source.seek(4, 1), 7);
    EXPECT_EQ(source.seek(4, 1), 8);
    EXPECT_EQ(source.seek(-10, 1), -2);
    source.close(nullptr);
}

}  // namespace
}  // namespace loader_test
