#include <filesystem>
#include <vector>

#include "run/run.h"
#include "console/terminal_console.h"

int main(int argc, char** argv) {
    korvanel::TerminalConsole console(korvanel::locale_wants_utf8());
    const std::vector<std::filesystem::path::string_type> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return korvanel::run_command_line(console, args);
}
