// files.cpp: the WAV writer's file operations on Windows (files.h). Paths
// are in the process's code page, which the programs' manifest makes UTF-8.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cli/common/files.h"

namespace cli {

std::FILE* files_create_beside(const std::string& path, bool, unsigned, std::string* temporary, int* err) {
    // The new file takes the folder's permissions, as a plain create would.
    std::string name = path + ".XXXXXX";
    if (_mktemp_s(name.data(), name.size() + 1) != 0) {
        *err = errno ? errno : EEXIST;
        return nullptr;
    }
    const int fd = _open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        *err = errno;
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "wb");
    if (!f) {
        *err = errno;
        _close(fd);
        _unlink(name.c_str());
        return nullptr;
    }
    *temporary = name;
    return f;
}

int files_sync(std::FILE* f) { return _commit(_fileno(f)) != 0 ? errno : 0; }

int files_replace(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    return GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
}

}  // namespace cli
