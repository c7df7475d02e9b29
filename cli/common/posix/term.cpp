// term.cpp: raw terminal mode and signal handling for xmplay (term.h), on a
// POSIX terminal.
#include "cli/common/term.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace cli {

namespace {

struct termios saved;
volatile sig_atomic_t saved_valid = 0;  // saved holds the settings to restore
volatile sig_atomic_t raw_active = 0;   // the terminal is in raw mode now
volatile sig_atomic_t ending_signal = 0;

bool set_raw() {
    struct termios raw = saved;
    raw.c_lflag &= ~tcflag_t(ICANON | ECHO);
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return false;
    raw_active = 1;
    return true;
}

void on_ending(int sig) {
    if (!ending_signal) ending_signal = sig;
}

void on_stop(int) {
    const bool was_raw = raw_active;
    term_raw_leave();
    std::signal(SIGTSTP, SIG_DFL);
    std::raise(SIGTSTP);  // stops here until SIGCONT
    struct sigaction a{};
    a.sa_handler = on_stop;
    sigaction(SIGTSTP, &a, nullptr);
    if (was_raw && saved_valid) set_raw();
}

void on_fatal(int sig) {
    term_raw_leave();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void restore_at_exit() { term_raw_leave(); }

}  // namespace

void term_signals_install() {
    // The audio back end must not take Ctrl-C and SIGTERM for itself.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 1);
    struct sigaction a{};
    a.sa_handler = on_ending;  // no SA_RESTART: a waiting poll returns at once
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(s, &a, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a closed output must not kill us in raw mode
    a.sa_handler = on_stop;
    sigaction(SIGTSTP, &a, nullptr);
    a.sa_handler = on_fatal;
    a.sa_flags = SA_RESETHAND;
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(s, &a, nullptr);
}

int term_signal() { return ending_signal; }

bool term_raw_enter() {
    // Only the terminal's foreground job may change it; started in the
    // background, we play without keys rather than stop on SIGTTOU.
    if (!isatty(STDIN_FILENO) || tcgetpgrp(STDIN_FILENO) != getpgrp()) return false;
    if (!saved_valid) {
        if (tcgetattr(STDIN_FILENO, &saved) != 0) return false;
        saved_valid = 1;
        std::atexit(restore_at_exit);
    }
    return set_raw();
}

void term_raw_leave() {
    if (raw_active && saved_valid) tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    raw_active = 0;
}

int term_width() {
    struct winsize ws{};
    return ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 ? ws.ws_col : 0;
}

void term_sleep_ms(int32_t ms) { usleep(useconds_t(ms) * 1000); }

int term_read_keys(char* buffer, int capacity, int timeout_ms) {
    struct pollfd p{STDIN_FILENO, POLLIN, 0};
    if (poll(&p, 1, timeout_ms) <= 0) return 0;
    if (!(p.revents & POLLIN)) {
        // A hung-up terminal reports at once; wait out the time all the same.
        usleep(useconds_t(timeout_ms) * 1000);
        return 0;
    }
    const ssize_t n = read(STDIN_FILENO, buffer, size_t(capacity));
    return n > 0 ? int(n) : 0;
}

}  // namespace cli
