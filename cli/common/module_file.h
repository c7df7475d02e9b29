// module_file.h: an XM file as a user hands it to the programs: read whole,
// checked, and test-loaded by the player's own loader, with a one-line
// reason when it cannot be played.
//
//   cli::ModuleFile m;
//   std::string error;
//   if (!cli::module_file_read("song.xm", &m, &error)) { print error; exit 1; }
//   if (m.truncated) warn;    // what is missing loads as zero bytes (silence)
//   music::offline_start(m.bytes.data(), int32_t(m.bytes.size()), 1);
//
// Refused, each with its reason: a file that cannot be opened or read, a
// directory or other non-regular file, an empty file, a file larger than the
// player's heap could ever hold, a file that does not begin with the XM id
// as the player tests it (music/magic.h: "Exte"), and a module that the loader
// refuses (counts or sizes beyond what it accepts). The error text names the
// file: "'song.xm': empty file, not an XM module".
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {

struct ModuleFile {
    std::vector<uint8_t> bytes;
    std::string title;   // printable characters of the title field, trailing spaces cut
    bool truncated = false;  // the loader read past the file's end
};

// 1 when the file holds a module the player loads; 0 with *error set.
// It uses the player's global state (stops whatever plays).
int32_t module_file_read(const std::string& path, ModuleFile* out, std::string* error);
// The programs' way in: reads the file; on failure prints
// "PROGRAM: reason" to err and returns 0; warns about a truncated module.
int32_t module_file_open(const char* program, const std::string& path, ModuleFile* out, std::FILE* err);
// A title as the programs show it: trailing spaces cut.
std::string module_title_shown(const char* title);
// The same checks on bytes already in memory; `name` is for the message.
int32_t module_file_check(const std::string& name, ModuleFile* m, std::string* error);

}  // namespace cli
