#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/console.h"

namespace korvanel {

// Console input taken as the console gives it, a line (or part of a long
// line) at a time: a line that begins with Ctrl+Z ends the input, as the end
// of a file does elsewhere.
class ConsoleLineInput {
public:
    // The next unit, or -1 once the input has ended. `read(units)` replaces
    // `units` with what the console gives next and returns false when it
    // gives nothing more.
    template <class Read>
    long next(Read read) {
        if (ended_) return -1;
        if (at_ == units_.size()) {
            if (!read(units_) || units_.empty()) {
                ended_ = true;
                return -1;
            }
            at_ = 0;
        }
        const wchar_t unit = units_[at_++];
        if (at_line_start_ && unit == kCtrlZ) {
            ended_ = true;
            return -1;
        }
        at_line_start_ = unit == L'\n';
        return static_cast<long>(static_cast<std::uint16_t>(unit));
    }

private:
    static constexpr wchar_t kCtrlZ = 0x1A;
    std::wstring units_;
    std::size_t at_ = 0;
    bool at_line_start_ = true;
    bool ended_ = false;
};

// The name a word of redirected input stands for: its UTF-8 reading when it
// is valid UTF-8 (so the same bytes open the same file as on Linux), else
// each byte as its ISO-8859-1 character.
std::wstring name_from_redirected_bytes(const std::string& bytes);

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
    void flush() override { flush(out_); }

private:
    // One output handle with the text not yet handed to the system.
    struct Output {
        void* handle = nullptr;
        bool is_console = false;
        bool failed = false;
        std::string pending;
        std::int64_t flushed_at = 0;
    };
    void flush(Output& out);
    void send(Output& out, std::string_view latin1_text);
    long next_byte();

    Output out_;
    Output err_;
    void* in_ = nullptr;
    bool input_is_console_ = false;
    bool bytes_ended_ = false;
    // Console input by lines; redirected input: the bytes read ahead.
    ConsoleLineInput console_input_;
    std::string read_bytes_;
    std::size_t bytes_at_ = 0;
    bool waiting_ = false;
    bool key_pressed_ = false;
};

}  // namespace korvanel
