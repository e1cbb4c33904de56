// The end of a run: the fatal report and the exit wait.
#pragma once

#include "diag/messages.h"

namespace korvanel {

// The user quit at the file-name prompt, or the console input ended there.
struct QuitRun {
    int status;
};

// Prints the fatal report of `error` on the console (without the wait).
void report_fatal_error(Console& console, const FatalError& error);

// Keys are taken one by one while it lives (a terminal in raw input).
struct WaitScope {
    explicit WaitScope(Console& c) : console(c) { console.begin_wait(); }
    ~WaitScope() { console.end_wait(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
    Console& console;
};

// The wait that closes every run: a quiet phase of five seconds, then a
// countdown from 5 to 0; a key press ends it at once.
void wait_before_exit(Console& console);

}  // namespace korvanel
