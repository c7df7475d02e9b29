// web_reference: the native frames the browser tests compare the web edition
// with. Runs the whole viewer on the scripted back end, with the surface in
// the canvas's layout (xbgr8888), through the same reader's session the
// browser test plays (web_test.js), and writes the frame presented after each
// step as 800 x 600 R, G, B bytes:
//
//   web_reference OUT_DIR      -> OUT_DIR/f2.rgb end.rgb home.rgb menu3.rgb
//
// The session: F2, End, Home (each a tap), then the pointer to menu row 3
// (600, 37) and a click held for a few frames, each step left to settle;
// Escape ends the run.
#include <cstdio>
#include <string>

#include "app/viewer.h"
#include "platform/keys.h"
#include "platform/surfaces.h"
#include "platform/window.h"
#include "platform/scripted.h"

using namespace platform;

namespace {
struct Shot {
    int frame;
    const char* name;
};
constexpr Shot shots[] = {{60, "f2"}, {120, "end"}, {180, "home"}, {250, "menu3"}};
std::string out_dir;
int written = 0;

void save(const script::Presented& p) {
    for (const Shot& s : shots) {
        if (p.frame != s.frame) continue;
        std::string path = out_dir + "/" + s.name + ".rgb";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return;
        for (uint32_t y = 0; y < p.height; ++y)
            for (uint32_t x = 0; x < p.width; ++x) std::fwrite(&p.bytes[size_t(p.pitch) * y + 4 * x], 1, 3, f);
        std::fclose(f);
        ++written;
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: web_reference OUT_DIR\n");
        return 2;
    }
    out_dir = argv[1];
    script::Config c;
    c.answer = IDNO;
    c.pixel_format = {32, DDPF_RGB, 0, 32, 0xFF, 0xFF00, 0xFF0000, 0};
    script::reset(c);
    script::keep_presented(false);
    script::keep_calls(false);
    script::on_present(save);
    script::key_tap(VK_F1 + 1, 10);
    script::key_tap(VK_END, 70);
    script::key_tap(VK_HOME, 130);
    script::mouse(189, 600, 37, false);
    script::mouse(190, 600, 37, true);
    script::mouse(196, 600, 37, false);
    script::key_down(VK_ESCAPE, 260, 262);
    const int code = app::viewer_run();
    if (code != 0 || written != int(sizeof shots / sizeof shots[0])) {
        std::fprintf(stderr, "web_reference: exit %d, %d of %d frames written\n", code, written,
                     int(sizeof shots / sizeof shots[0]));
        return 1;
    }
    return 0;
}
