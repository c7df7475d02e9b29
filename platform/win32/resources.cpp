// resources.cpp: named built-in blocks are the executable's own RCDATA
// resources, linked in by the resource compiler (see cmake/windows.cmake):
// FindResourceA, SizeofResource, LoadResource and LockResource. Module handle
// 0 is the program itself; any other is taken as an HMODULE. Nothing is
// registered at run time here, so register_resource does nothing.
#ifdef _WIN32
#include "platform/win32/win32_state.h"

namespace platform {

void register_resource(int, const char*, const uint8_t*, uint32_t) {}

int find_resource(int module_handle, const char* name, const uint8_t** data, uint32_t* size) {
    if (!name) return 0;
    HMODULE module = module_handle ? reinterpret_cast<HMODULE>(intptr_t(module_handle)) : GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return 0;
    if (data) *data = static_cast<const uint8_t*>(bytes);
    if (size) *size = SizeofResource(module, found);
    return 1;
}

}  // namespace platform
#endif
