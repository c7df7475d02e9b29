// resources.h: named built-in byte blocks: what executable resources are on
// the desktop platform. The program registers its own blocks under a module
// handle; the music player's resource source looks them up by name.
#pragma once
#include <cstdint>

namespace platform {

void register_resource(int module_handle, const char* name, const uint8_t* data, uint32_t size);
// 1 with data and size filled when found, else 0.
int find_resource(int module_handle, const char* name, const uint8_t** data, uint32_t* size);

}  // namespace platform
