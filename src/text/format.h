// printf-like formatting for the program's fixed texts: "%i" takes a 32-bit
// integer, "%s" a text, "%%" writes "%". An integer figure may also be
// missing (a figure over a zero divisor): it is written "-", and a "%%"
// right after its "%i" is dropped.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "text/bounded_text.h"
#include "text/latin1.h"

namespace korvanel {

class FormatArg {
public:
    enum class Kind { Integer, Text, Figure };

    FormatArg(int value) : kind_(Kind::Integer), integer_(value) {}  // NOLINT
    FormatArg(std::optional<int> figure)  // NOLINT
        : kind_(Kind::Figure), integer_(figure.value_or(0)), present_(figure.has_value()) {}
    FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}  // NOLINT
    FormatArg(const char* text) : kind_(Kind::Text), text_(text) {}       // NOLINT
    FormatArg(const std::string& text) : kind_(Kind::Text), text_(text) {}  // NOLINT
    template <std::size_t N>
    FormatArg(const BoundedText<N>& text) : kind_(Kind::Text), text_(text.view()) {}  // NOLINT
    template <std::size_t N>
    FormatArg(const Latin1Text<N>& text) : kind_(Kind::Text), text_(text.view()) {}  // NOLINT

    Kind kind() const { return kind_; }
    int integer() const { return integer_; }
    bool present() const { return present_; }
    std::string_view text() const { return text_; }

private:
    Kind kind_;
    int integer_ = 0;
    bool present_ = true;
    std::string_view text_;
};

// Appends the formatted text to `out`. With `escape_texts`, every "%s"
// argument is HTML-escaped (pages); without, texts go in as they are (console).
void format_into(std::string& out, std::string_view format, std::initializer_list<FormatArg> args,
                 bool escape_texts);

// Appends `text` HTML-escaped: & < > and " become entities, every other
// byte is kept.
void append_escaped(std::string& out, std::string_view text);

void append_int(std::string& out, std::int64_t value);

}  // namespace korvanel
