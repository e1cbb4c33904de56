#include <filesystem>

#include "run/run.h"
#include "console/terminal_console.h"

int main() {
    korvanel::TerminalConsole console(korvanel::locale_wants_utf8());
    return korvanel::run_korvanel(console, std::filesystem::path("."));
}
