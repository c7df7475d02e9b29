// source.h: the module source, the four operations the loader reads a module
// through. source_select fills `source` by kind once per start;
// every operation works on the one current source.
//
//   void* handle = source.open(argument);   // data address, resource name or file name
//   source.read(buffer, count);             // short reads copy what there is
//   int64_t at = source.seek(offset, 0);    // 0 absolute, non-zero relative
//   source.close(handle);
//
// Memory and resource reads never touch bytes outside the block: at a
// position below 0 or at or past the end they copy nothing, and the bytes of
// the buffer that were not copied keep their earlier contents. The position
// still grows by the full count, and seek puts a position above the size at
// the size. No operation reports failure.
#pragma once
#include <cstdint>
#include <cstdio>

namespace music {

struct ModuleSource {
    void* (*open)(const void* argument);
    void (*read)(void* buffer, uint32_t count);
    int64_t (*seek)(int64_t offset, int32_t relative);  // the new position
    void (*close)(void* handle);
};

struct SourceState {
    int32_t kind;
    int32_t size_argument;  // byte count of a memory block, module handle of a resource
    const uint8_t* data;    // memory and resource
    int64_t size;           // bytes of the block or the file
    int64_t position;       // memory and resource
    std::FILE* file;        // file
};

extern ModuleSource source;
extern SourceState source_state;

// Chooses the source operations by kind (0 and below a resource, 1 memory,
// 2 and above a file), puts the position at 0 and remembers size (the byte
// count of a memory block, the module handle of a resource).
void source_select(int32_t kind, int32_t size);

}  // namespace music
