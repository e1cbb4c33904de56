#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/console.h"

namespace korvanel {

// The console of a Windows program: a console window (text shown through
// UTF-16, so accents are right whatever the code page; input read as UTF-16
// and key presses read as console events), or redirected standard handles
// (the ISO-8859-1 bytes as they stand, input read as bytes).
class WindowsConsole : public Console {
public:
    WindowsConsole();
    ~WindowsConsole() override;
    WindowsConsole(const WindowsConsole&) = delete;
    WindowsConsole& operator=(const WindowsConsole&) = delete;

    void write(std::string_view latin1_text) override;
    void write_error(std::string_view latin1_text) override;
    std::optional<TypedWord> read_word() override;
    bool key_waiting() override;
    std::int64_t now_ms() override;
    void sleep_ms(int ms) override;
    void begin_wait() override;
    void end_wait() override;
    bool alone_in_window() override;

private:
    // One output handle with the text not yet handed to the system.
    struct Output {
        void* handle = nullptr;
        bool is_console = false;
        std::string pending;
        std::int64_t flushed_at = 0;
    };
    void flush(Output& out);
    void send(Output& out, std::string_view latin1_text);
    long next_console_unit();
    long next_byte();

    Output out_;
    Output err_;
    void* in_ = nullptr;
    bool input_is_console_ = false;
    bool input_ended_ = false;
    // Console input: the units of the line being read, and whether the next
    // unit begins a line. Redirected input: the bytes read ahead.
    std::wstring line_units_;
    std::size_t line_at_ = 0;
    bool at_line_start_ = true;
    std::string read_bytes_;
    std::size_t bytes_at_ = 0;
    bool waiting_ = false;
    bool key_pressed_ = false;
};

}  // namespace korvanel
