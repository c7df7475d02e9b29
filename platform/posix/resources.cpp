// resources.cpp: named built-in byte blocks, registered by the program under a
// module handle and looked up by name (the resource source of the music player).
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace platform {

namespace {
struct Resource {
    int module;
    std::string name;
    const uint8_t* data;
    uint32_t size;
};
std::mutex table_lock;
std::vector<Resource>& table() {
    static std::vector<Resource> t;
    return t;
}
}  // namespace

void register_resource(int module_handle, const char* name, const uint8_t* data, uint32_t size) {
    if (!name) return;
    std::lock_guard<std::mutex> g(table_lock);
    for (Resource& r : table()) {
        if (r.module == module_handle && r.name == name) {
            r.data = data;
            r.size = size;
            return;
        }
    }
    table().push_back({module_handle, name, data, size});
}

int find_resource(int module_handle, const char* name, const uint8_t** data, uint32_t* size) {
    if (!name) return 0;
    std::lock_guard<std::mutex> g(table_lock);
    for (const Resource& r : table()) {
        if (r.module == module_handle && r.name == name) {
            if (data) *data = r.data;
            if (size) *size = r.size;
            return 1;
        }
    }
    return 0;
}

}  // namespace platform
