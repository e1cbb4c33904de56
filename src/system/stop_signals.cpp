#include "system/stop_signals.h"

#include <csignal>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

namespace korvanel {

namespace {
volatile std::sig_atomic_t g_status = 0;
bool g_caught = false;

#ifdef _WIN32
HANDLE g_handled = nullptr;

BOOL WINAPI note_console_event(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            if (g_status == 0) g_status = 130;
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            // The system ends the program when this returns: the last pages
            // are written first, within the seconds it leaves.
            if (g_status == 0) g_status = 130;
            if (g_handled != nullptr) WaitForSingleObject(g_handled, 4500);
            return TRUE;
        default:
            return FALSE;
    }
}
#else
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
// What each signal did before, to do it again once the stop is handled.
struct sigaction g_previous[kSignalCount];
bool g_replaced[kSignalCount] = {};

extern "C" void note_signal(int signal_number) {
    if (g_status == 0) g_status = 128 + signal_number;
}
#endif
}  // namespace

void catch_stop_signals() {
    if (g_caught) return;
    g_caught = true;
#ifdef _WIN32
    if (g_handled == nullptr) {
        g_handled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    } else {
        ResetEvent(g_handled);
    }
    SetConsoleCtrlHandler(note_console_event, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        ::sigaction(kSignals[i], nullptr, &g_previous[i]);
        g_replaced[i] = g_previous[i].sa_handler != SIG_IGN;
        if (g_replaced[i]) ::sigaction(kSignals[i], &action, nullptr);
    }
#endif
}

bool stop_signals_caught() { return g_caught; }

std::optional<int> stop_signal_status() {
    const int status = g_status;
    if (status == 0) return std::nullopt;
    return status;
}

// From then on the stop signals end the program again as they did before
// (the exit wait after a fatal report included), and a stop that comes
// later is not noted.
void stop_signal_handled() {
    if (!g_caught) return;
#ifdef _WIN32
    if (g_handled != nullptr) SetEvent(g_handled);
    SetConsoleCtrlHandler(note_console_event, FALSE);
#else
    for (int i = 0; i < kSignalCount; ++i) {
        if (g_replaced[i]) ::sigaction(kSignals[i], &g_previous[i], nullptr);
        g_replaced[i] = false;
    }
#endif
    g_caught = false;
}

}  // namespace korvanel
