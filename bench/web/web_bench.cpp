// web_bench: the frame's two costs per frame, composition (the renderer's
// whole frame, bench/render/frame_compose.h) and conversion to the canvas's
// layout (row_to_xbgr8888 over 800 x 600), next to a memcpy of the frame, as
// one program built both natively and for the browser, so the two can be
// set side by side on one machine (tests/web/bench_web.js does).
//
//   build/default/bench/web/web_bench          native
//   build/web/bench/index.html                 the browser's, same figures
//
// Prints one line: "web_bench compose_ms=... convert_ms=... memcpy_ms=...",
// each the best of 100 rounds of 20 calls (the median follows, as *_median).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/render/frame_compose.h"
#include "display/convert.h"

namespace {

double now_ms() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

volatile uint32_t sink;

// Aligned as a display's surface memory is.
alignas(64) uint8_t surface[800 * 600 * 4];
alignas(64) uint32_t copy[800 * 600];

void compose_frame() {
    frame_compose::compose();
    sink = render::Framebuffer[1234];
}

void convert_frame() {
    for (int r = 0; r < 600; ++r) display::row_to_xbgr8888(render::Framebuffer + r * 800, surface + r * 3200, 800);
    sink = surface[4321];
}

void copy_frame() {
    std::memcpy(copy, render::Framebuffer, sizeof copy);
    sink = copy[777];
}

// Each round times `batch` calls, so a browser's coarse clock (0.1 ms in
// places) still resolves a call.
void measure(void (*f)(), double& best, double& median) {
    const int rounds = 100, batch = 20;
    std::vector<double> t;
    for (int r = 0; r < rounds; ++r) {
        const double t0 = now_ms();
        for (int k = 0; k < batch; ++k) f();
        t.push_back((now_ms() - t0) / batch);
    }
    std::sort(t.begin(), t.end());
    best = t.front();
    median = t[t.size() / 2];
}

}  // namespace

int main() {
    frame_compose::start_up();
    double compose_best, compose_median, convert_best, convert_median, memcpy_best, memcpy_median;
    measure(compose_frame, compose_best, compose_median);
    measure(convert_frame, convert_best, convert_median);
    measure(copy_frame, memcpy_best, memcpy_median);
    std::printf("web_bench compose_ms=%.4f convert_ms=%.4f memcpy_ms=%.4f compose_median=%.4f convert_median=%.4f "
                "memcpy_median=%.4f\n",
                compose_best, convert_best, memcpy_best, compose_median, convert_median, memcpy_median);
    return 0;
}
