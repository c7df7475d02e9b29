// files.cpp: the WAV writer's file operations on POSIX (files.h).
#include "cli/common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace cli {

std::FILE* files_create_beside(const std::string& path, bool existing, unsigned mode, std::string* temporary,
                               int* err) {
    std::string pattern = path + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        *err = errno;
        return nullptr;
    }
    // mkstemp makes the file private; give it the mode a plain create would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(fd, existing ? (mode & 07777) : (0666 & ~mask));
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        *err = errno;
        ::close(fd);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    *temporary = pattern;
    return f;
}

int files_sync(std::FILE* f) { return ::fsync(::fileno(f)) != 0 && errno != EINVAL ? errno : 0; }

int files_replace(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
}

}  // namespace cli
