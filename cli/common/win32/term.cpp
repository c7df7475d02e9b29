// term.cpp: keys and the ending signals for xmplay (term.h) on the Windows
// console. Raw mode is the console's input without line editing and echo;
// Ctrl-C and Ctrl-Break count as SIGINT, closing the console as SIGTERM.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <csignal>

#include "cli/common/term.h"

namespace cli {

namespace {
volatile LONG ending_signal = 0;
DWORD saved_mode;
bool saved_valid = false;
DWORD saved_out_mode;
bool out_valid = false;

BOOL WINAPI on_control(DWORD event) {
    const LONG sig = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM;
    InterlockedCompareExchange(&ending_signal, sig, 0);
    return TRUE;
}
}  // namespace

void term_signals_install() { SetConsoleCtrlHandler(on_control, TRUE); }

int term_signal() { return int(ending_signal); }

bool term_raw_enter() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (in == INVALID_HANDLE_VALUE || !GetConsoleMode(in, &mode)) return false;
    if (!saved_valid) {
        saved_mode = mode;
        saved_valid = true;
    }
    // The status line clears its row with an escape sequence.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD out_mode = 0;
    if (!out_valid && GetConsoleMode(out, &out_mode)) {
        saved_out_mode = out_mode;
        out_valid = true;
        SetConsoleMode(out, out_mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
    return SetConsoleMode(in, (mode & ~DWORD(ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT)) | ENABLE_PROCESSED_INPUT) != 0;
}

void term_raw_leave() {
    if (saved_valid) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), saved_mode);
    if (out_valid) SetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), saved_out_mode);
}

int term_read_keys(char* buffer, int capacity, int timeout_ms) {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (WaitForSingleObject(in, DWORD(timeout_ms)) != WAIT_OBJECT_0) return 0;
    int n = 0;
    DWORD waiting = 0;
    while (n < capacity && GetNumberOfConsoleInputEvents(in, &waiting) && waiting > 0) {
        INPUT_RECORD r;
        DWORD got = 0;
        if (!ReadConsoleInputA(in, &r, 1, &got) || got == 0) break;
        if (r.EventType != KEY_EVENT || !r.Event.KeyEvent.bKeyDown) continue;
        const char c = r.Event.KeyEvent.uChar.AsciiChar;
        if (c) buffer[n++] = c;
    }
    return n;
}

int term_width() {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

void term_sleep_ms(int32_t ms) { Sleep(DWORD(ms)); }

}  // namespace cli
