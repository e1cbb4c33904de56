#include "diag/messages.h"

namespace korvanel {

namespace {
Console* g_warning_console = nullptr;
}  // namespace

void set_warning_console(Console* console) { g_warning_console = console; }
Console* warning_console() { return g_warning_console; }

void fatal_error(std::string_view message) { throw FatalError{std::string(message), std::nullopt}; }

void fatal_error(std::string_view message, std::string_view line) {
    throw FatalError{std::string(message), std::string(line)};
}

}  // namespace korvanel
