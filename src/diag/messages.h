// What every subsystem may say: console messages and fatal errors.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "console/console.h"
#include "text/format.h"

namespace korvanel {

// Text from outside (the log, a file name, the command line, the prompt) as
// the console may show it: every control byte (0x00 to 0x1F but tab, 0x7F,
// and 0x80 to 0x9F, which some terminals also take for control sequences)
// becomes "?", so no such text can move the cursor, clear the screen or
// retitle the window. With `keep_final_newline`, a "\n" that ends the text
// (the end of a log line) stays a line break.
std::string console_safe(std::string_view text, bool keep_final_newline = false);

// A log line given to `print`: shown safe, its final line break kept.
struct LogLineArg {
    std::string_view text;
};
inline LogLineArg log_line(std::string_view text) { return {text}; }

namespace detail {
// A value of a console text: figures as they are, every text made safe.
template <class T>
auto console_value(const T& value) {
    if constexpr (std::is_integral_v<T> || std::is_same_v<T, std::optional<int>>) {
        return value;
    } else if constexpr (std::is_same_v<T, LogLineArg>) {
        return console_safe(value.text, true);
    } else {
        return console_safe(FormatArg(value).text());
    }
}
}  // namespace detail

// Formats a console text: the format is the program's own, and every "%s"
// value is outside text, made safe (`console_safe`).
template <class... Args>
std::string console_text(std::string_view format, const Args&... args) {
    std::string text;
    format_into(text, format, {FormatArg(detail::console_value(args))...}, false);
    return text;
}

template <class... Args>
void print(Console& console, std::string_view format, const Args&... args) {
    console.write(console_text(format, args...));
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
