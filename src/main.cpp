#include <filesystem>

#include "run/run.h"

#ifdef _WIN32
#include <string>
#include <vector>

#include "console/windows_console.h"

// The command line arrives in UTF-16, so every name typed or dropped keeps
// its letters whatever the code page.
int wmain(int argc, wchar_t** argv) {
    [[maybe_unused]] const std::vector<std::filesystem::path::string_type> args(argv + 1, argv + argc);
    korvanel::WindowsConsole console;
    return korvanel::run_korvanel(console, std::filesystem::path("."));
}
#else
#include "console/terminal_console.h"

int main() {
    korvanel::TerminalConsole console(korvanel::locale_wants_utf8());
    return korvanel::run_korvanel(console, std::filesystem::path("."));
}
#endif
