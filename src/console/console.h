// The console: everything the program says to its user and the little it
// reads back. Text handed to `write` is ISO-8859-1; an implementation may
// convert it on the way out (UTF-8 terminals).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvanel {

// A word typed at the prompt: the name as the system takes it (bytes on
// POSIX, UTF-16 units on Windows; at most 63 units), and as the program's
// ISO-8859-1 texts show it.
struct TypedWord {
    std::filesystem::path::string_type native;
    std::string shown;
};

class Console {
public:
    virtual ~Console() = default;

    virtual void write(std::string_view latin1_text) = 0;
    // Standard error (usage errors), converted like `write`.
    virtual void write_error(std::string_view latin1_text) = 0;
    // One blank-delimited word (leading white space skipped, at most 63
    // units kept); no value when the input has ended.
    virtual std::optional<TypedWord> read_word() = 0;
    // Whether a key press is waiting, without reading it.
    virtual bool key_waiting() = 0;
    // Hands the text written so far to the system at once.
    virtual void flush() {}
    virtual std::int64_t now_ms() = 0;
    virtual void sleep_ms(int ms) = 0;
    // Bracket the exit wait (a terminal switches to raw input meanwhile).
    virtual void begin_wait() {}
    virtual void end_wait() {}
    // Whether the console window belongs to this program alone (a Windows
    // program started from the file manager or by dropping a file onto it):
    // then even a usage error waits, so the window does not vanish unread.
    virtual bool alone_in_window() { return false; }
};

}  // namespace korvanel
