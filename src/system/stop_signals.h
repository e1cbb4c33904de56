// The signals that ask the program to stop (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT; on Windows Ctrl+C, Ctrl+Break and the console window closing),
// once the program takes them itself: each is only noted, and the program
// ends in its own time, its work done.
#pragma once

#include <optional>

namespace korvanel {

// From now on, a stop signal no longer ends the program; the temporary
// files of pages under way are left to the program too. A signal the
// program was started with ignored stays ignored.
void catch_stop_signals();
bool stop_signals_caught();

// The exit status the first stop signal asks for (128 + the signal, 130 for
// the Windows events); none while no signal came.
std::optional<int> stop_signal_status();

// The program has done what a stop asks, or will not wait for one any
// more: the stop signals end it again as they did before (the exit wait
// after a fatal report included), and on Windows a closing console window
// (which holds the program until then, for a few seconds at most) may now
// end it. The status of a stop already noted stays.
void stop_signal_handled();

}  // namespace korvanel
