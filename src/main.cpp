#include <filesystem>
#include <vector>

#include "run/run.h"
#include "system/standard_streams.h"

#ifdef _WIN32
#include "console/windows_console.h"

// The command line arrives in UTF-16, so every name typed or dropped keeps
// its letters whatever the code page.
int wmain(int argc, wchar_t** argv) {
    korvanel::open_standard_streams();
    korvanel::WindowsConsole console;
    const std::vector<std::filesystem::path::string_type> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return korvanel::run_command_line(console, args);
}
#else
#include "console/terminal_console.h"

int main(int argc, char** argv) {
    korvanel::open_standard_streams();
    korvanel::TerminalConsole console(korvanel::locale_wants_utf8());
    const std::vector<std::filesystem::path::string_type> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return korvanel::run_command_line(console, args);
}
#endif
