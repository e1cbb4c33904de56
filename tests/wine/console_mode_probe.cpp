// Runs a program in this console, then tells its exit status and whether it
// left the console's input mode as it found it (under Wine the terminal's
// own mode proves nothing, Wine restores it itself).
//   console_mode_probe PROGRAM [ARGUMENT...]   (arguments without blanks or quotes)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {
// Ctrl+C is meant for the program: the probe outlives it to report.
BOOL WINAPI keep_running(DWORD) { return TRUE; }
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: console_mode_probe PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD before = 0;
    if (!GetConsoleMode(input, &before)) {
        std::fputs("console_mode_probe: standard input is not a console\n", stderr);
        return 2;
    }
    SetConsoleCtrlHandler(keep_running, TRUE);
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) command += L" " + std::wstring(argv[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[1], command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "console_mode_probe: cannot start the program (error %lu)\n", GetLastError());
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    DWORD after = 0;
    GetConsoleMode(input, &after);
    std::printf("\nstatus=%lu mode=%s\n", status, after == before ? "restored" : "changed");
    std::fflush(stdout);
    return 0;
}
