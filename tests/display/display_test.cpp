// The display library against the scripted platform: the open sequence with
// its fallbacks and failures, the window procedure, presentation and close.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/display.h"
#include "display/display_state.h"
#include "platform/scripted.h"
#include "platform/surfaces.h"
#include "platform/window.h"

using namespace display;
namespace script = platform::script;
using script::Call;

namespace {

void fresh(const script::Config& c = script::Config()) {
    script::reset(c);
    display_state = DisplayState{};
}

std::vector<std::string> names_from(const std::string& first) {
    std::vector<std::string> out;
    bool on = false;
    for (const auto& n : script::call_names()) {
        on = on || n == first;
        if (on) out.push_back(n);
    }
    return out;
}

const script::CallRecord* find_call(const std::string& name, int nth = 1) {
    for (const auto& c : script::calls())
        if (c.name == name && --nth == 0) return &c;
    return nullptr;
}

std::vector<uint32_t> test_frame(int w, int h) {
    std::vector<uint32_t> px(size_t(w) * h);
    for (int i = 0; i < w * h; ++i) px[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    return px;
}

}  // namespace

TEST(DisplayOpen, DefaultsGiveAFramedWindowCentredOnTheScreen) {
    fresh();
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    const std::vector<std::string> expect = {
        "LoadLibrary",   "GetProcAddress", "DirectDrawCreate", "RegisterClass",  "AdjustWindowRect",
        "CreateWindow",  "ShowWindow",     "SetCooperativeLevel", "CreateSurface", "CreateSurface",
        "CreateClipper", "ClipperSetHwnd", "SetClipper",       "GetPixelFormat", "SystemParametersInfo"};
    EXPECT_EQ(script::call_names(), expect);
    const auto* w = find_call("CreateWindow");
    // Outer size 806 x 625 with the scripted desktop's frame (3, 3, caption 19).
    EXPECT_EQ(w->a, 0xCA0000);
    EXPECT_EQ(w->b, (1024 - 806) >> 1);
    EXPECT_EQ(w->c, (768 - 625) >> 1);
    EXPECT_EQ(w->d, (int64_t(806) << 32) | 625);
    EXPECT_EQ(find_call("RegisterClass")->a, 3);  // CS_HREDRAW | CS_VREDRAW
    EXPECT_EQ(find_call("SetCooperativeLevel")->a, 8);
    EXPECT_EQ(find_call("CreateSurface", 1)->b, 0x4200);
    EXPECT_EQ(find_call("CreateSurface", 2)->a, 7);
    EXPECT_EQ(find_call("CreateSurface", 2)->b, 0x40);
    EXPECT_EQ(script::screensaver_active(), 0);
    EXPECT_EQ(display_state.windowed, 1);
}

TEST(DisplayOpen, BorderlessWindowIsCentredForTheFramedSize) {
    fresh();
    display_set_question(0, "", 1, 1);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    const auto* w = find_call("CreateWindow");
    EXPECT_EQ(uint32_t(w->a), 0x90000000u);
    EXPECT_EQ(w->b, (1024 - 806) >> 1);
    EXPECT_EQ(w->c, (768 - 625) >> 1);
    EXPECT_EQ(w->d, (int64_t(806 - 6) << 32) | (625 - 6 - 19));
}

TEST(DisplayOpen, BorderlessWindowHasTheFrameSizeWhateverTheSizingFrame) {
    // Windows' sizing frame is wider than its dialog frame: the pop-up's
    // client area is still exactly the frame, so nothing is stretched.
    script::Config c;
    c.sizing_frame_extra = 5;
    fresh(c);
    display_set_question(0, "", 1, 1);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    const auto* w = find_call("CreateWindow");
    EXPECT_EQ(w->b, (1024 - 816) >> 1);
    EXPECT_EQ(w->c, (768 - 635) >> 1);
    EXPECT_EQ(w->d, (int64_t(800) << 32) | 600);
    platform::Rect client{};
    platform::get_client_rect(display_state.window, &client);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
}

TEST(DisplayOpen, WindowLargerThanTheScreenGetsANegativePosition) {
    script::Config c;
    c.screen_width = 640;
    c.screen_height = 480;
    fresh(c);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    EXPECT_EQ(find_call("CreateWindow")->b, (640 - 806) >> 1);
    EXPECT_LT(find_call("CreateWindow")->b, 0);
}

TEST(DisplayOpen, QuestionDecidesAndIgnoresTheWindowedArgument) {
    struct Case {
        int answer;
        int32_t windowed_arg;
        int32_t expect_windowed;
    } cases[] = {{platform::IDYES, 1, 0}, {platform::IDNO, 0, 1}};
    for (const Case& k : cases) {
        script::Config c;
        c.answer = k.answer;
        fresh(c);
        display_set_question(1, "GO FULL SCREEN?", k.windowed_arg, 1);
        ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
        EXPECT_EQ(display_state.windowed, k.expect_windowed);
        EXPECT_EQ(find_call("MessageBox")->a, 0x24);
        EXPECT_STREQ(display_state.question, "GO FULL SCREEN?");
    }
    fresh();
    display_set_question(0, "", 0, 0);
    EXPECT_STREQ(display_state.question, "Fullscreen Mode ?");
    EXPECT_EQ(display_state.windowed, 0);
}

TEST(DisplayOpen, FullScreenSequence) {
    fresh();
    display_set_question(0, "", 0, 0);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    const std::vector<std::string> expect = {
        "LoadLibrary",  "GetProcAddress", "DirectDrawCreate", "RegisterClass",      "SetCursor",
        "CreateWindow", "SetCooperativeLevel", "SetDisplayMode", "CreateSurface", "GetAttachedSurface",
        "GetPixelFormat", "SystemParametersInfo"};
    EXPECT_EQ(script::call_names(), expect);
    EXPECT_EQ(find_call("RegisterClass")->a, 0);
    EXPECT_EQ(uint32_t(find_call("CreateWindow")->a), 0x80000000u);
    EXPECT_EQ(find_call("CreateWindow")->d, 0);
    EXPECT_EQ(find_call("SetCooperativeLevel")->a, 0x11);
    const auto* s = find_call("CreateSurface");
    EXPECT_EQ(s->a, 0x21);
    EXPECT_EQ(s->b, 0x4218);
    EXPECT_EQ(s->c, 2);
    EXPECT_EQ(find_call("GetAttachedSurface")->a, 4);
}

TEST(DisplayOpen, DisplayModeFallsBackFrom32To24To16) {
    struct Case {
        std::vector<uint32_t> offered;
        std::vector<int64_t> tried;
        int32_t result;
    } cases[] = {
        {{32, 24, 16}, {32}, 1},
        {{24, 16}, {32, 24}, 1},
        {{16}, {32, 24, 16}, 1},
        {{8}, {32, 24, 16}, 0},
        {{}, {32, 24, 16}, 0},
    };
    for (const Case& k : cases) {
        script::Config c;
        c.display_modes = k.offered;
        fresh(c);
        display_set_question(0, "", 0, 0);
        EXPECT_EQ(display_open("QUILLON", 800, 600), k.result);
        std::vector<int64_t> tried;
        for (const auto& r : script::calls())
            if (r.name == "SetDisplayMode") tried.push_back(r.c);
        EXPECT_EQ(tried, k.tried);
        if (k.result == 0) {
            EXPECT_EQ(script::count_calls("CreateSurface"), 0);
        }
    }
}

TEST(DisplayOpen, FlippingChainFallsBackAndALonePrimaryFails) {
    struct Case {
        uint32_t max_back;
        std::vector<int64_t> counts;  // back-buffer counts asked for
        int32_t result;
    } cases[] = {
        {2, {2}, 1},
        {1, {2, 1}, 1},
        {0, {2, 1, 0}, 0},  // the lone primary is made, but has no back buffer
    };
    for (const Case& k : cases) {
        script::Config c;
        c.max_back_buffers = k.max_back;
        fresh(c);
        display_set_question(0, "", 0, 0);
        EXPECT_EQ(display_open("QUILLON", 800, 600), k.result);
        std::vector<int64_t> counts;
        for (const auto& r : script::calls())
            if (r.name == "CreateSurface") counts.push_back(r.c);
        EXPECT_EQ(counts, k.counts);
        if (k.max_back == 0) {
            EXPECT_EQ(find_call("CreateSurface", 3)->a, 1);
            EXPECT_EQ(find_call("CreateSurface", 3)->b, 0x4200);
            EXPECT_EQ(script::count_calls("GetAttachedSurface"), 1);
        }
    }
}

TEST(DisplayOpen, EveryFailingStepReturnsZeroAndLeavesTheScreenSaverAlone) {
    const Call windowed_steps[] = {Call::LoadLibrary,   Call::GetProcAddress, Call::DirectDrawCreate,
                                   Call::SetCooperativeLevel, Call::CreateSurface, Call::CreateClipper,
                                   Call::ClipperSetHwnd, Call::SetClipper,    Call::GetPixelFormat};
    for (Call step : windowed_steps) {
        script::Config c;
        c.fail[int(step)] = true;
        fresh(c);
        EXPECT_EQ(display_open("QUILLON", 800, 600), 0) << int(step);
        EXPECT_EQ(script::count_calls("SystemParametersInfo"), 0) << int(step);
        EXPECT_EQ(script::count_calls("MessageBox"), 0);
    }
    // The offscreen surface is the second creation of a window.
    fresh();
    script::fail_nth(Call::CreateSurface, 2);
    EXPECT_EQ(display_open("QUILLON", 800, 600), 0);
    EXPECT_EQ(script::count_calls("CreateClipper"), 0);
    // The question is asked only after DirectDraw started.
    script::Config c;
    c.fail[int(Call::DirectDrawCreate)] = true;
    fresh(c);
    display_set_question(1, "GO FULL SCREEN?", 0, 1);
    EXPECT_EQ(display_open("QUILLON", 800, 600), 0);
    EXPECT_EQ(script::count_calls("MessageBox"), 0);
    // No display at all.
    script::Config none;
    none.video_available = false;
    fresh(none);
    EXPECT_EQ(display_open("QUILLON", 800, 600), 0);
}

TEST(DisplayOpen, PixelFormatMustBeRgbWithKnownMasks) {
    struct Case {
        platform::PixelFormat format;
        int32_t result;
        display::RowConverter expect;
    } cases[] = {
        {{32, platform::DDPF_RGB, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0}, 1, row_to_xrgb8888},
        {{32, platform::DDPF_RGB, 0, 16, 0x7C00, 0x3E0, 0x1F, 0}, 1, row_to_rgb555},
        {{32, platform::DDPF_RGB, 0, 16, 0xF800, 0x7E0, 0x1F, 0}, 1, row_to_rgb565},
        {{32, 0, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0}, 0, nullptr},  // not RGB
        {{32, platform::DDPF_RGB, 0, 8, 0xE0, 0x1C, 0x3, 0}, 0, nullptr},
    };
    for (const Case& k : cases) {
        script::Config c;
        c.pixel_format = k.format;
        fresh(c);
        EXPECT_EQ(display_open("QUILLON", 800, 600), k.result);
        if (k.result) {
            EXPECT_EQ(display_state.converter, k.expect);
        }
        EXPECT_EQ(script::count_calls("SystemParametersInfo"), k.result);
    }
}

TEST(WindowProc, TableOfMessages) {
    fresh();
    display_set_close_allowed(0);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    platform::Window* w = display_state.window;
    EXPECT_EQ(display_window_proc(w, platform::WM_MOUSEMOVE, 0, intptr_t(0xFFFF0005u)), 0);
    EXPECT_EQ(display_mouse_x(), 5);
    EXPECT_EQ(display_mouse_y(), 65535) << "coordinates are zero-extended 16-bit values";
    display_window_proc(w, platform::WM_LBUTTONDOWN, 0, 0);
    display_window_proc(w, platform::WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(display_mouse_left(), 1);
    EXPECT_EQ(display_mouse_right(), 1);
    display_window_proc(w, platform::WM_LBUTTONUP, 0, 0);
    display_window_proc(w, platform::WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(display_mouse_left(), 0);
    EXPECT_EQ(display_mouse_right(), 0);
    display_window_proc(w, platform::WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(display_state.active, 1);
    display_window_proc(w, platform::WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(display_state.active, 0);

    // With close_allowed 0 neither a close request nor Escape does anything.
    int defaults = script::count_calls("DefWindowProc");
    EXPECT_EQ(display_window_proc(w, platform::WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(display_window_proc(w, platform::WM_KEYDOWN, 27, 0), 0);
    EXPECT_EQ(display_window_proc(w, platform::WM_KEYDOWN, 65, 0), 0);
    EXPECT_EQ(script::count_calls("DefWindowProc"), defaults);
    EXPECT_EQ(script::count_calls("ExitProcess"), 0);
    EXPECT_NE(display_state.window, nullptr);

    // Anything else goes to the default procedure; a paint also presents.
    display_window_proc(w, 0x0005 /* WM_SIZE */, 0, 0);
    EXPECT_EQ(script::count_calls("DefWindowProc"), defaults + 1);
    int blits = script::count_calls("Blt");
    display_window_proc(w, platform::WM_PAINT, 0, 0);
    EXPECT_EQ(script::count_calls("Blt"), blits + 1);
    EXPECT_EQ(script::count_calls("DefWindowProc"), defaults + 2);
}

TEST(WindowProcDeathTest, CloseOrEscapeEndTheProcessWhenAllowed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        uint32_t message;
        uintptr_t wparam;
    } cases[] = {{platform::WM_CLOSE, 0}, {platform::WM_KEYDOWN, 27}, {platform::WM_KEYDOWN, 0x11B}};
    for (const auto& k : cases) {
        EXPECT_EXIT(
            {
                fresh();
                display_open("QUILLON", 800, 600);
                display_window_proc(display_state.window, k.message, k.wparam, 0);
            },
            testing::ExitedWithCode(0), "");
    }
}

TEST(DisplayUpdate, InBackgroundOnlyPumpsAndSleepsInAWindow) {
    script::Config c;
    c.activate_on_show = false;
    fresh(c);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    auto px = test_frame(800, 600);
    size_t before = script::calls().size();
    EXPECT_EQ(display_update(px.data()), 1);
    std::vector<std::string> after;
    for (size_t i = before; i < script::calls().size(); ++i) after.push_back(script::calls()[i].name);
    // The window's first paint still blits (whatever the surface holds); no lock.
    EXPECT_EQ(script::count_calls("Lock"), 0);
    EXPECT_EQ(after.back(), "Sleep");
    EXPECT_EQ(script::calls().back().a, 1);
    EXPECT_EQ(script::count_calls("Restore"), 0);
    EXPECT_EQ(script::paced_frames(), 1) << "paced in the background too";

    // Full screen in the background: no sleep at all.
    fresh(c);
    display_set_question(0, "", 0, 0);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    EXPECT_EQ(display_update(px.data()), 1);
    EXPECT_EQ(script::count_calls("Sleep"), 0);
    EXPECT_EQ(script::presented_count(), 0);
}

TEST(DisplayUpdate, WindowedConvertsEveryRowWithThePitchAndBlits) {
    script::Config c;
    c.pixel_format = {32, platform::DDPF_RGB, 0, 16, 0xF800, 0x7E0, 0x1F, 0};
    c.pitch_padding = 6;
    fresh(c);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    auto px = test_frame(800, 600);
    EXPECT_EQ(display_update(px.data()), 1);
    // The window's first paint blitted the surface as it was; then the frame.
    ASSERT_EQ(script::presented_count(), 2);
    const auto& p = script::last_presented();
    EXPECT_EQ(p.pitch, 1606);
    for (int y = 0; y < 600; y += 37) {
        std::vector<uint8_t> row(1600);
        row_to_rgb565(px.data() + y * 800, row.data(), 800);
        ASSERT_EQ(0, std::memcmp(row.data(), p.bytes.data() + size_t(y) * 1606, 1600)) << "row " << y;
    }
    std::vector<uint8_t> last(1600);
    row_to_rgb565(px.data() + 599 * 800, last.data(), 800);
    EXPECT_EQ(0, std::memcmp(last.data(), p.bytes.data() + size_t(599) * 1606, 1600));
    // Restore both surfaces, lock, unlock, blit, then sleep 0 and 1.
    auto seq = names_from("Restore");
    const std::vector<std::string> expect = {"Restore", "Restore", "Lock", "Unlock", "Blt", "Sleep", "Sleep"};
    EXPECT_EQ(seq, expect);
    EXPECT_EQ(find_call("Lock")->a, 1);
    EXPECT_EQ(find_call("Blt")->c, 0x01000000);
    // The destination rectangle is the client area in screen coordinates.
    EXPECT_EQ(find_call("Blt")->a, find_call("CreateWindow")->b);
}

TEST(DisplayUpdate, FullScreenFlipsWithOrWithoutWaiting) {
    for (int32_t wait : {1, 0}) {
        fresh();
        display_set_question(0, "", 0, 0);
        display_set_flip_wait(wait);
        ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
        auto px = test_frame(800, 600);
        EXPECT_EQ(display_update(px.data()), 1);
        EXPECT_EQ(find_call("Flip")->a, wait ? 1 : 8);
        EXPECT_EQ(script::count_calls("Blt"), 0);
        EXPECT_EQ(script::count_calls("Restore"), 1) << "the back buffer goes with its primary";
        ASSERT_EQ(script::presented_count(), 1);
        EXPECT_EQ(0, std::memcmp(script::last_presented().bytes.data(), px.data(), size_t(800) * 600 * 4));
        // Sleep(0) after the flip, and no 1 ms sleep in full screen.
        EXPECT_EQ(script::count_calls("Sleep"), 1);
        EXPECT_EQ(script::calls().back().a, 0);
    }
}

TEST(DisplayUpdate, FailedLockLosesTheFrameAndTheNextOneTriesAgain) {
    fresh();
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    auto px = test_frame(800, 600);
    script::fail_nth(Call::Lock, 1);
    int blits = script::count_calls("Blt");
    EXPECT_EQ(display_update(px.data()), 0);
    EXPECT_EQ(script::count_calls("Blt") - blits, 1) << "only the first paint's blit";
    EXPECT_EQ(script::count_calls("Unlock"), 0);
    EXPECT_EQ(script::count_calls("Sleep"), 0) << "a failed lock returns before any sleep";
    EXPECT_EQ(script::paced_frames(), 1) << "the lost frame keeps the pace";
    int presented = script::presented_count();
    EXPECT_EQ(display_update(px.data()), 1);
    EXPECT_EQ(script::presented_count(), presented + 1);
    EXPECT_EQ(script::paced_frames(), 2);
}

TEST(DisplayUpdate, MouseStateChangesOnlyInsideUpdate) {
    fresh();
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    auto px = test_frame(800, 600);
    script::mouse(2, 300, 40, true);
    display_update(px.data());  // frame 1
    EXPECT_EQ(display_mouse_x(), 0);
    EXPECT_EQ(display_mouse_left(), 0);
    display_update(px.data());  // frame 2
    EXPECT_EQ(display_mouse_x(), 300);
    EXPECT_EQ(display_mouse_y(), 40);
    EXPECT_EQ(display_mouse_left(), 1);
    EXPECT_EQ(display_mouse_x(), 300);
}

TEST(DisplayClose, ReleasesInOrderAndSwitchesTheScreenSaverOn) {
    fresh();
    ASSERT_EQ(display_open("QUILLON", 800, 600), 1);
    display_close();
    const std::vector<std::string> expect = {"ReleaseSurface", "ReleaseSurface", "RestoreDisplayMode",
                                             "SetCooperativeLevel", "ReleaseDirectDraw", "DestroyWindow",
                                             "FreeLibrary", "SystemParametersInfo"};
    EXPECT_EQ(names_from("ReleaseSurface"), expect);
    EXPECT_EQ(find_call("ReleaseSurface", 1)->a, 0) << "the offscreen surface first";
    EXPECT_EQ(find_call("ReleaseSurface", 2)->a, 1);
    EXPECT_EQ(script::screensaver_active(), 1);
    EXPECT_EQ(display_state.primary, nullptr);
    EXPECT_FALSE(script::window_exists());

    // Closing after a failed open releases only what exists and still turns
    // the screen saver on.
    script::Config c;
    c.fail[int(Call::CreateClipper)] = true;
    fresh(c);
    ASSERT_EQ(display_open("QUILLON", 800, 600), 0);
    display_close();
    EXPECT_EQ(script::screensaver_active(), 1);
}
