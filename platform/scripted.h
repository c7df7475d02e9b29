// scripted.h: control of the scripted platform back end, for tests.
//
// Link a test with platform_scripted instead of platform_sdl and every
// platform call becomes deterministic: no window, no sound, no waiting. The
// test describes the "machine" with a Config (which display modes and which
// pixel format the display offers, which calls fail, the answer to the
// question box, the screen size), then scripts input per frame, runs the code
// under test and reads back what happened:
//
//   platform::script::Config c;
//   c.answer = platform::IDNO;                 // windowed
//   platform::script::reset(c);
//   platform::script::key_down(VK_UP, 3, 10);  // Up held in frames 3..10
//   platform::script::mouse(5, 100, 200, true);
//   ... run ...
//   platform::script::presented()              // every presented surface
//   platform::script::calls()                  // the call log, in order
//
// Frames: frame 0 is everything before the first message pump. Each pump (the
// first peek_message after the previous pump drained the queue) starts the
// next frame: its scripted messages are queued and its key and mouse state
// takes effect, so a key scripted for frame N is seen by code running after
// the N-th pump.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/surfaces.h"
#include "platform/window.h"

namespace platform::script {

// Calls that a test can make fail (the first time or every time).
enum class Call {
    LoadLibrary,
    GetProcAddress,
    DirectDrawCreate,
    RegisterClass,
    CreateWindow,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    GetAttachedSurface,
    CreateClipper,
    ClipperSetHwnd,
    SetClipper,
    GetPixelFormat,
    Lock,
    WaveOutOpen,
    ThreadCreate,
    HeapCreate,
    Count
};

struct Config {
    bool video_available = true;  // false: load_library("ddraw.dll") fails
    int answer = IDNO;            // the question box's answer
    int screen_width = 1024, screen_height = 768;
    int dlg_frame_x = 3, dlg_frame_y = 3, caption = 19;  // frame metrics of a desktop
    int sizing_frame_extra = 0;  // how much wider a sizing frame is than a dialog frame
    std::vector<uint32_t> display_modes = {32, 24, 16};  // bits per pixel accepted by set_display_mode
    uint32_t max_back_buffers = 2;  // flipping chains longer than this fail to be created
    PixelFormat pixel_format = {32, DDPF_RGB, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0};
    int32_t pitch_padding = 0;  // extra bytes per surface row beyond width * bytes per pixel
    bool activate_on_show = true;  // a WM_ACTIVATEAPP(1) is queued when the first window appears
    bool fail[int(Call::Count)] = {};  // these calls fail every time
};

void reset(const Config& config = Config());
Config& config();

// Makes the n-th call (1 = the next one) of that kind fail, once.
void fail_nth(Call call, int n = 1);

// --- input, per frame ---
void post(int frame, uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0);  // to the window
void key_down(int virtual_key, int first_frame, int last_frame);  // held down over these frames
void key_tap(int virtual_key, int frame);  // pressed and released within the frame: 0x0001 only
void mouse(int frame, int x, int y, bool left);  // WM_MOUSEMOVE, and button messages on changes
int frame();  // the current frame number

// --- what happened ---
struct CallRecord {
    std::string name;
    int64_t a = 0, b = 0, c = 0, d = 0;
};
const std::vector<CallRecord>& calls();
// Long runs: stop logging calls (on by default).
void keep_calls(bool keep);
std::vector<std::string> call_names();
int count_calls(const std::string& name);

struct Presented {
    int frame;
    uint32_t width, height, bits;
    int32_t pitch;
    std::vector<uint8_t> bytes;  // pitch * height bytes of the surface as presented
};
// Every presented surface is kept, unless keep_presented(false): then only
// the count and the last one are (for long runs).
void keep_presented(bool keep);
const std::vector<Presented>& presented();
int presented_count();
const Presented& last_presented();
// Called with each presented surface (optional).
void on_present(std::function<void(const Presented&)> callback);

int paced_frames();       // pace_frame calls (it returns at once here)
int cursor_shown();       // ShowCursor counter (starts at 0)
int screensaver_active(); // last value set through system_parameters_info, -1 if never
bool window_exists();

// --- wave output ---
// The device plays only when told: consume() takes bytes from the looping
// buffer at the play position (as the sound card would) and appends them to
// the captured sound; the position advances by that many bytes. Paused or
// closed devices consume nothing. The calls of the caller's thread are in the
// call log (waveOutOpen, waveOutPrepareHeader, waveOutWrite with length,
// flags, loops and wave_hash of the buffer at the write, waveOutPause,
// waveOutRestart, waveOutReset, waveOutUnprepareHeader, waveOutClose).
uint32_t wave_consume(uint32_t bytes);
const std::vector<uint8_t>& wave_captured();
void wave_clear_captured();
bool wave_open();
bool wave_paused();
uint32_t wave_position();
// Position queries so far, from any thread.
uint32_t wave_position_queries();
// The device goes away as SDL reports it (SDL_AUDIODEVICEREMOVED). With
// `another_default`, the sound carries on on the new default device: nothing
// changes for the caller. Without, the device consumes nothing more and no
// device opens until wave_device_added().
void wave_device_removed(bool another_default);
void wave_device_added();
// The hash that the log of "waveOutWrite" gives for these bytes.
int64_t wave_hash(const uint8_t* data, uint32_t length);

}  // namespace platform::script
