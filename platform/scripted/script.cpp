// script.cpp: configuration, call log, frames and scripted input of the
// scripted back end.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/scripted/scripted_state.h"

namespace platform {
namespace script {
namespace detail {

State& state() {
    static State s;
    return s;
}

void record(const char* name, int64_t a, int64_t b, int64_t c, int64_t d) {
    if (!state().keep_calls) return;
    state().calls.push_back({name, a, b, c, d});
}

bool failing(Call call) {
    State& s = state();
    int n = ++s.call_counts[int(call)];
    if (s.config.fail[int(call)]) return true;
    auto& at = s.fail_at[int(call)];
    auto it = std::find(at.begin(), at.end(), n);
    if (it == at.end()) return false;
    at.erase(it);
    return true;
}

static bool held_at(const State& s, int vk, int frame) {
    for (const auto& h : s.held)
        if (h.vk == vk && frame >= h.first && frame <= h.last) return true;
    return false;
}

static Window* main_window() {
    State& s = state();
    return s.windows.empty() ? nullptr : s.windows.back().get();
}

// Brings the key, mouse and message state to the current frame.
static void apply_frame_input() {
    State& s = state();
    Window* w = main_window();
    for (int vk = 0; vk < 256; ++vk) {
        bool now = held_at(s, vk, s.frame);
        KeyTrack& k = s.keys[vk];
        if (now && !k.down) {
            k.pressed = true;
            if (w) s.queue.push_back({w, WM_KEYDOWN, uintptr_t(vk), 1});
        }
        k.down = now;
    }
    auto tap = s.taps.find(s.frame);
    if (tap != s.taps.end()) {
        for (int vk : tap->second) {
            s.keys[vk & 255].pressed = true;
            if (w) s.queue.push_back({w, WM_KEYDOWN, uintptr_t(vk), 1});
        }
    }
    auto m = s.mouse.find(s.frame);
    if (m != s.mouse.end() && w) {
        intptr_t lp = intptr_t((uint32_t(m->second.y & 0xFFFF) << 16) | uint32_t(m->second.x & 0xFFFF));
        s.queue.push_back({w, WM_MOUSEMOVE, 0, lp});
        if (m->second.left != s.mouse_left)
            s.queue.push_back({w, m->second.left ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, lp});
        s.mouse_left = m->second.left;
    }
    auto p = s.posted.find(s.frame);
    if (p != s.posted.end()) {
        for (Message msg : p->second) {
            if (!msg.window) msg.window = w;
            s.queue.push_back(msg);
        }
    }
}

void start_frame() {
    State& s = state();
    ++s.frame;
    apply_frame_input();
}

void present(const Surface* source) {
    State& s = state();
    Presented p;
    p.frame = s.frame;
    p.width = source->width;
    p.height = source->height;
    p.bits = source->bytes_per_pixel * 8;
    p.pitch = source->pitch;
    p.bytes = source->memory;
    ++s.presented_count;
    if (s.on_present) s.on_present(p);
    if (s.keep_presented) s.presented.push_back(p);
    s.last = std::move(p);
}

}  // namespace detail

using detail::state;

void reset(const Config& c) {
    detail::State& s = state();
    s.~State();
    new (&s) detail::State();
    s.config = c;
    // Keys held in frame 0 are down before the first pump.
}

Config& config() { return state().config; }

void fail_nth(Call call, int n) {
    detail::State& s = state();
    s.fail_at[int(call)].push_back(s.call_counts[int(call)] + n);
}

void post(int frame, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    state().posted[frame].push_back({nullptr, message, wparam, lparam});
}

void key_down(int virtual_key, int first_frame, int last_frame) {
    detail::State& s = state();
    s.held.push_back({virtual_key & 255, first_frame, last_frame});
    if (first_frame <= s.frame && s.frame <= last_frame && !s.keys[virtual_key & 255].down) {
        s.keys[virtual_key & 255].down = true;
        s.keys[virtual_key & 255].pressed = true;
    }
}

void key_tap(int virtual_key, int frame) {
    detail::State& s = state();
    if (frame == s.frame)
        s.keys[virtual_key & 255].pressed = true;
    else
        s.taps[frame].push_back(virtual_key & 255);
}

void mouse(int frame, int x, int y, bool left) { state().mouse[frame] = {x, y, left}; }

int frame() { return state().frame; }

const std::vector<CallRecord>& calls() { return state().calls; }

std::vector<std::string> call_names() {
    std::vector<std::string> out;
    for (const auto& c : state().calls) out.push_back(c.name);
    return out;
}

int count_calls(const std::string& name) {
    int n = 0;
    for (const auto& c : state().calls) n += c.name == name;
    return n;
}

void keep_calls(bool keep) { state().keep_calls = keep; }
void keep_presented(bool keep) { state().keep_presented = keep; }
const std::vector<Presented>& presented() { return state().presented; }
int presented_count() { return state().presented_count; }
const Presented& last_presented() { return state().last; }
void on_present(std::function<void(const Presented&)> callback) { state().on_present = std::move(callback); }
int cursor_shown() { return state().cursor_counter; }
int screensaver_active() { return state().screensaver; }
bool window_exists() { return !state().windows.empty(); }

}  // namespace script

}  // namespace platform
