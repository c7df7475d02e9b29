// term.h: the terminal side of xmplay: keys without echo or line buffering,
// and the signals that end or suspend it, with the terminal put back as it
// was on every way out.
//
//   cli::term_signals_install();          // INT, TERM, HUP, QUIT end the play loop
//   bool keys = cli::term_raw_enter();     // false when stdin is not a terminal
//   while (!cli::term_signal()) { int n = cli::term_read_keys(buf, sizeof buf, 50); ... }
//   cli::term_raw_leave();                 // also run at exit and on fatal signals
//
// posix/term.cpp serves a POSIX terminal, win32/term.cpp the Windows console
// (there Ctrl-C, Ctrl-Break and closing the console count as SIGINT, SIGINT
// and SIGTERM).
//
// The raw mode keeps ISIG, so Ctrl-C and Ctrl-Z still reach the process:
// Ctrl-C only sets the flag that term_signal returns; Ctrl-Z puts the
// terminal back before the process stops and raw mode again when it
// continues. A crash signal (SEGV, BUS, FPE, ILL, ABRT) restores the terminal
// and then takes its default course.
#pragma once
#include <cstdint>

namespace cli {

void term_signals_install();
// 0, or the number of the first ending signal received.
int term_signal();
// Non-canonical, no echo; true when stdin is a terminal whose foreground
// job we are, and it worked.
bool term_raw_enter();
// Puts the saved terminal settings back; safe to call at any time, repeatedly
// and from a signal handler.
void term_raw_leave();
// Waits up to timeout_ms for key bytes and reads what is there (at most
// capacity); 0 when none came or the wait was interrupted by a signal.
int term_read_keys(char* buffer, int capacity, int timeout_ms);
// Columns of the terminal on stdout; 0 when unknown.
int term_width();
void term_sleep_ms(int32_t ms);

}  // namespace cli
