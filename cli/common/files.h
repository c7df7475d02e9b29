// files.h: the few file operations whose calls differ between POSIX
// (posix/files.cpp) and Windows (win32/files.cpp), for the WAV writer's
// never-partial output: a temporary file beside the target, flushed to disk
// and then put in the target's place in one step.
//
//   std::string temp;
//   std::FILE* f = cli::files_create_beside(path, existing_mode, &temp, &err);
//   ... write, fflush ...
//   err = cli::files_sync(f);  fclose(f);  err = cli::files_replace(temp, path);
#pragma once
#include <cstdio>
#include <string>

namespace cli {

// Creates and opens "PATH.XXXXXX" for writing, with the permissions of the
// file it will replace (mode, when existing is true) or of a plain create.
// Null with *err set on failure.
std::FILE* files_create_beside(const std::string& path, bool existing, unsigned mode, std::string* temporary,
                               int* err);
// 0, or the errno of a failed flush to disk.
int files_sync(std::FILE* f);
// Puts from in to's place, replacing what is there: 0 or an errno.
int files_replace(const std::string& from, const std::string& to);

}  // namespace cli
