#pragma once

#include <string>

#include "console/console.h"

namespace korvanel {

// The console of a Linux terminal (or of whatever standard input and output
// are). With `utf8_output`, ISO-8859-1 text is converted to UTF-8 on the way out.
class TerminalConsole : public Console {
public:
    explicit TerminalConsole(bool utf8_output);
    ~TerminalConsole() override;

    void write(std::string_view latin1_text) override;
    void write_error(std::string_view latin1_text) override;
    std::optional<TypedWord> read_word() override;
    bool key_waiting() override;
    std::int64_t now_ms() override;
    void sleep_ms(int ms) override;
    void begin_wait() override;
    void end_wait() override;
    void flush() override;

private:

    bool utf8_output_;
    bool output_is_terminal_;
    bool input_is_terminal_;
    bool raw_mode_ = false;
    // Text for standard output not yet written; whether a write to
    // standard output or error has failed (nothing more goes there).
    std::string pending_;
    bool output_failed_ = false;
    bool error_failed_ = false;
};

// Whether the environment's locale uses UTF-8 (then console text is converted).
bool locale_wants_utf8();

}  // namespace korvanel
