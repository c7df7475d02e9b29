// module_file.cpp: reading and checking a module file (module_file.h).
#include "cli/common/module_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "music/offline.h"
#include "music/source.h"
#include "music/state.h"
#include "platform/heap.h"

namespace cli {

namespace {

constexpr char xm_id[] = "Extended Module: ";
constexpr size_t xm_id_length = sizeof xm_id - 1;

std::string quoted(const std::string& path) { return "'" + path + "'"; }

bool same_letters(uint8_t a, uint8_t b) {
    if (a >= 'A' && a <= 'Z') a = uint8_t(a + 32);
    if (b >= 'A' && b <= 'Z') b = uint8_t(b + 32);
    return a == b;
}

}  // namespace

std::string module_title_shown(const char* title) {
    std::string t = title ? title : "";
    while (!t.empty() && t.back() == ' ') t.pop_back();
    return t;
}

int32_t module_file_check(const std::string& name, ModuleFile* m, std::string* error) {
    const std::vector<uint8_t>& b = m->bytes;
    if (b.empty()) {
        *error = quoted(name) + ": empty file, not an XM module";
        return 0;
    }
    bool id = b.size() >= xm_id_length;
    for (size_t i = 0; id && i < xm_id_length; ++i) id = same_letters(b[i], uint8_t(xm_id[i]));
    if (!id) {
        *error = quoted(name) + ": not an XM module (it does not begin with \"Extended Module: \")";
        return 0;
    }
    if (b.size() > platform::heap_limit) {
        *error = quoted(name) + ": too large for the player (more than 256 MiB)";
        return 0;
    }
    // The memory source reads nothing past the end but counts its position
    // on; a seek past the end stops at the end, though. Loaded with one zero
    // byte more (which reads as the missing bytes do, zero), a module that
    // ends where the file ends leaves the position at most at the file's
    // size, and one that claims more leaves it beyond.
    const int32_t size = int32_t(b.size());
    m->bytes.push_back(0);
    const int32_t loaded = music::offline_start(m->bytes.data(), size + 1, 1);
    m->bytes.pop_back();
    if (!loaded) {
        *error = quoted(name) + ": cannot be loaded (its counts or sizes are beyond what the player accepts)";
        return 0;
    }
    m->truncated = music::source_state.position > size;
    m->title = module_title_shown(music::song_title);
    music::offline_stop();
    return 1;
}

int32_t module_file_read(const std::string& path, ModuleFile* out, std::string* error) {
    *out = ModuleFile{};
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) {
        *error = quoted(path) + ": cannot open: " + std::strerror(errno);
        return 0;
    }
    if (S_ISDIR(st.st_mode)) {
        *error = quoted(path) + ": is a directory, not an XM module";
        return 0;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = quoted(path) + ": not a regular file";
        return 0;
    }
    if (uint64_t(st.st_size) > platform::heap_limit) {
        *error = quoted(path) + ": too large for the player (more than 256 MiB)";
        return 0;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = quoted(path) + ": cannot open: " + std::strerror(errno);
        return 0;
    }
    // Read to the end whatever stat said, so a file that changes size while
    // it is read is taken as it then is (and still no larger than the limit).
    uint8_t chunk[65536];
    for (;;) {
        const size_t n = std::fread(chunk, 1, sizeof chunk, f);
        out->bytes.insert(out->bytes.end(), chunk, chunk + n);
        if (out->bytes.size() > platform::heap_limit) break;
        if (n < sizeof chunk) break;
    }
    const bool failed = std::ferror(f) != 0;
    const int read_errno = errno;
    std::fclose(f);
    if (failed) {
        *error = quoted(path) + ": cannot read: " + std::strerror(read_errno);
        return 0;
    }
    return module_file_check(path, out, error);
}

int32_t module_file_open(const char* program, const std::string& path, ModuleFile* out, std::FILE* err) {
    std::string error;
    if (!module_file_read(path, out, &error)) {
        std::fprintf(err, "%s: %s\n", program, error.c_str());
        return 0;
    }
    if (out->truncated)
        std::fprintf(err, "%s: warning: '%s' is truncated; the missing part plays as silence\n", program,
                     path.c_str());
    return 1;
}

}  // namespace cli
