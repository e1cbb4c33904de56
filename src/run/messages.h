// Console messages, fatal errors and the exit wait.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "run/console.h"
#include "text/format.h"

namespace korvanel {

template <class... Args>
void print(Console& console, std::string_view format, const Args&... args) {
    std::string text;
    format_into(text, format, {FormatArg(args)...}, false);
    console.write(text);
}

// A fatal condition: the run stops, reports the message and the offending
// line (when there is one), waits and ends with status 1.
struct FatalError {
    std::string message;
    std::optional<std::string> line;
};

[[noreturn]] void fatal_error(std::string_view message);
[[noreturn]] void fatal_error(std::string_view message, std::string_view line);

// The user quit at the file-name prompt, or the console input ended there.
struct QuitRun {
    int status;
};

// Prints the fatal report of `error` on the console (without the wait).
void report_fatal_error(Console& console, const FatalError& error);

// The wait that closes every run: a quiet phase of five seconds, then a
// countdown from 5 to 0; a key press ends it at once.
void wait_before_exit(Console& console);

}  // namespace korvanel
