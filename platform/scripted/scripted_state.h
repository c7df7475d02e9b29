// scripted_state.h: the scripted back end's one state record, shared by its files.
#pragma once
#include <map>
#include <memory>
#include <vector>

#include "platform/scripted.h"
#include "platform/surfaces.h"
#include "platform/window.h"

namespace platform {

struct Window {
    WindowClass window_class;
    uint32_t style;
    int x, y, width, height;
    bool visible;
};

struct Surface {
    bool primary;
    bool back;
    uint32_t width, height, bytes_per_pixel;
    int32_t pitch;
    std::vector<uint8_t> memory;
    Surface* attached;  // back buffer of a flipping primary
    Clipper* clipper;
    bool locked;
};

struct Clipper {
    Window* window;
};

struct DirectDraw {
    uint32_t mode_width, mode_height, mode_bits;
    uint32_t cooperative;
};

struct Library {
    int unused;
};

namespace script::detail {

struct KeyTrack {
    bool down = false;
    bool pressed = false;
};

struct State {
    Config config;
    std::vector<CallRecord> calls;
    bool keep_calls = true;
    int call_counts[int(Call::Count)] = {};
    std::vector<int> fail_at[int(Call::Count)];

    int frame = 0;
    bool pumping = false;
    std::vector<Message> queue;
    std::map<int, std::vector<Message>> posted;
    struct Held {
        int vk, first, last;
    };
    std::vector<Held> held;
    std::map<int, std::vector<int>> taps;
    struct MouseAt {
        int x, y;
        bool left;
    };
    std::map<int, MouseAt> mouse;
    bool mouse_left = false;
    KeyTrack keys[256];

    std::vector<std::unique_ptr<Window>> windows;
    std::vector<std::unique_ptr<WindowClass>> classes;
    std::vector<std::unique_ptr<Surface>> surfaces;
    std::vector<std::unique_ptr<Clipper>> clippers;
    std::unique_ptr<DirectDraw> dd;
    std::unique_ptr<Library> library;
    bool activation_sent = false;

    bool keep_presented = true;
    std::vector<Presented> presented;
    int presented_count = 0;
    Presented last;
    std::function<void(const Presented&)> on_present;

    int cursor_counter = 0;
    int screensaver = -1;
};

State& state();
void record(const char* name, int64_t a = 0, int64_t b = 0, int64_t c = 0, int64_t d = 0);
bool failing(Call call);  // counts the call and says whether it fails
void start_frame();       // moves to the next frame (called by the first peek of a pump)
void present(const Surface* source);

}  // namespace script::detail
}  // namespace platform
