// source.cpp: the module sources: a block of memory, a named built-in
// resource (a registered block, looked up under the module handle given as
// the start's size) and a file through the C library.
#include "music/source.h"

#include <cstring>

#include "music/loader.h"
#include "platform/resources.h"

namespace music {

ModuleSource source;
SourceState source_state;

namespace {

// Memory and resource blocks.
void* memory_open(const void* argument) {
    source_state.data = static_cast<const uint8_t*>(argument);
    source_state.size = source_state.data && source_state.size_argument > 0 ? source_state.size_argument : 0;
    source_state.position = 0;
    return const_cast<void*>(argument);
}

void* resource_open(const void* argument) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!platform::find_resource(source_state.size_argument, static_cast<const char*>(argument), &data, &size)) {
        data = nullptr;
        size = 0;
    }
    source_state.data = data;
    source_state.size = data ? size : 0;
    source_state.position = 0;
    return const_cast<uint8_t*>(data);
}

void block_read(void* buffer, uint32_t count) {
    const int64_t at = source_state.position;
    source_state.position = at + count;
    if (at < 0 || at >= source_state.size || !buffer) return;
    const int64_t left = source_state.size - at;
    std::memcpy(buffer, source_state.data + at, size_t(count < left ? count : left));
}

int64_t block_seek(int64_t offset, int32_t relative) {
    int64_t at = relative ? source_state.position + offset : offset;
    if (at > source_state.size) at = source_state.size;
    source_state.position = at;
    return at;
}

void block_close(void*) {}

// Files.
void* file_open(const void* argument) {
    source_state.file = argument ? std::fopen(static_cast<const char*>(argument), "rb") : nullptr;
    return source_state.file;
}

void file_read(void* buffer, uint32_t count) {
    if (source_state.file && buffer) (void)std::fread(buffer, 1, count, source_state.file);
}

int64_t file_seek(int64_t offset, int32_t relative) {
    std::FILE* f = source_state.file;
    if (!f) return 0;
    if (offset >= 0 || relative) (void)fseeko(f, off_t(offset), relative ? SEEK_CUR : SEEK_SET);
    return int64_t(ftello(f));
}

void file_close(void* handle) {
    if (handle) std::fclose(static_cast<std::FILE*>(handle));
    if (handle == source_state.file) source_state.file = nullptr;
}

}  // namespace

void source_select(int32_t kind, int32_t size) {
    source_state = SourceState{};
    source_state.kind = kind;
    source_state.size_argument = size;
    if (kind <= 0)
        source = {resource_open, block_read, block_seek, block_close};
    else if (kind == 1)
        source = {memory_open, block_read, block_seek, block_close};
    else
        source = {file_open, file_read, file_seek, file_close};
}

}  // namespace music
