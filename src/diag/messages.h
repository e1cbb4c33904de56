// What every subsystem may say: console messages and fatal errors.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/console.h"
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

}  // namespace korvanel
