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

extern "C" void note_signal(int signal_number) {
    if (g_status == 0) g_status = 128 + signal_number;
}
#endif
}  // namespace

void catch_stop_signals() {
    if (g_caught) return;
    g_caught = true;
#ifdef _WIN32
    g_handled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(note_console_event, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    for (int s : kSignals) {
        struct sigaction previous {};
        ::sigaction(s, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) ::sigaction(s, &action, nullptr);
    }
#endif
}

bool stop_signals_caught() { return g_caught; }

std::optional<int> stop_signal_status() {
    const int status = g_status;
    if (status == 0) return std::nullopt;
    return status;
}

void stop_signal_handled() {
#ifdef _WIN32
    if (g_handled != nullptr) SetEvent(g_handled);
#endif
}

}  // namespace korvanel
