// startup_probe: the viewer's whole start-up (every table built, the display
// opened, the music started, page 1 selected) through the scripted back end;
// the process ends as soon as the first frame is presented. startup_bench
// times it from process start.
#include <unistd.h>

#include "app/viewer.h"
#include "platform/scripted.h"

int main() {
    platform::script::reset();
    platform::script::keep_presented(false);
    // The window's first paint presents the surface before any frame reached
    // it; the second presentation is the first frame.
    static int presents = 0;
    platform::script::on_present([](const platform::script::Presented&) {
        if (++presents == 2) _exit(0);
    });
    return app::viewer_run() == 0 ? 1 : 2;
}
