// One line of the log as read: at most 299 bytes, ending with its "\n"
// (except a last line without one). Columns 0 to 9 hold the time stamp
// "[hh:mm:ss]", column 10 a blank, and the message text starts at column 11.
//
// Every question a recogniser asks of a line goes through here, so that no
// recogniser ever reads past the end: a position beyond the end reads as an
// empty text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/searched_texts.h"
#include "text/byte_search.h"

namespace korvanel {

inline constexpr std::size_t kMessageColumn = 11;
inline constexpr std::size_t kNotFound = std::string_view::npos;

std::int32_t read_number_from(std::string_view text, std::size_t pos);

// The first run of decimal digits at or after `pos` (0 when there is none);
// a run too large for a signed 32-bit integer reads as 2147483647.
inline std::int32_t read_number(std::string_view text, std::size_t pos = 0) {
    // Two digits and a non-digit, as in every time stamp.
    auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (pos + 2 < text.size() && digit(pos) && digit(pos + 1) && !digit(pos + 2)) {
        return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
    }
    return read_number_from(text, pos);
}

// False when a line with this first look (dispatch.h) certainly does not hold `text`.
inline bool first_look_may_hold(std::uint64_t look, std::string_view text) {
    const std::uint64_t bit = kSearchedTable.bit_of(text);
    return bit == 0 || (look & bit) != 0;
}

class LogLine {
public:
    LogLine() = default;
    explicit LogLine(std::string_view text) : text_(text) {}
    // A line whose first look (dispatch.h) was already taken, by the reader.
    LogLine(std::string_view text, std::uint64_t first_look)
        : LogLine(text, first_look, read_number(text, kMessageColumn)) {}
    // The same, with the first number of its message text already read too.
    LogLine(std::string_view text, std::uint64_t first_look, std::int32_t message_number)
        : text_(text), first_look_(first_look), message_number_(message_number), looked_(true) {}

    std::string_view text() const { return text_; }
    std::size_t size() const { return text_.size(); }

    // The message text, from column 11; empty for a shorter line.
    std::string_view message() const {
        return text_.size() > kMessageColumn ? text_.substr(kMessageColumn) : std::string_view{};
    }
    bool starts_with(std::string_view s) const { return begins_with(text_, s); }
    bool message_starts_with(std::string_view s) const {
        if (text_.size() <= kMessageColumn) return s.empty();  // the message text is empty
        return text_.size() - kMessageColumn >= s.size() &&
               same_bytes(text_.data() + kMessageColumn, s.data(), s.size());
    }
    // Begins-with test at any column; false beyond the end.
    bool has_at(std::size_t pos, std::string_view s) const {
        return pos <= text_.size() && text_.size() - pos >= s.size() &&
               same_bytes(text_.data() + pos, s.data(), s.size());
    }
    bool contains(std::string_view s) const { return find(s) != kNotFound; }
    bool message_contains(std::string_view s) const { return find_in_message(s) != kNotFound; }

    // Column of the first `s` at or after `from` in the whole line, or kNotFound.
    std::size_t find(std::string_view s, std::size_t from = 0) const {
        if (from > text_.size() || (looked_ && !first_look_may_hold(first_look_, s))) return kNotFound;
        return find_bytes(text_, s, from);
    }
    // Column of the first `s` in the message text, or kNotFound.
    std::size_t find_in_message(std::string_view s) const {
        return text_.size() > kMessageColumn ? find(s, kMessageColumn) : (s.empty() ? kMessageColumn : kNotFound);
    }
    // The text from column `from` up to (not including) column `to`; empty
    // when `to` is not after `from`, clipped at the end of the line.
    std::string_view slice(std::size_t from, std::size_t to) const {
        if (from >= text_.size() || to <= from) return {};
        return text_.substr(from, to - from);
    }
    // The text from column `from` to the end of the line, its line break excluded.
    std::string_view rest_from(std::size_t from) const;

    // read_number at a column of the line.
    std::int32_t number_at(std::size_t pos) const { return read_number(text_, pos); }
    // The first number of the message text.
    std::int32_t message_number() const { return looked_ ? message_number_ : read_number(text_, kMessageColumn); }

    // Clock readings of the time stamp.
    std::int32_t hours() const { return number_at(1); }
    std::int32_t minutes() const { return number_at(4); }
    std::int32_t seconds() const { return number_at(7); }
    // hours * 10000 + minutes * 100 + seconds (32-bit, wrapping).
    std::int32_t hms() const;
    // minutes * 100 + seconds (32-bit, wrapping).
    std::int32_t minute_second() const;

    // Drops a final line break (a log command naming a part does so).
    void drop_final_newline() {
        if (!text_.empty() && text_.back() == '\n') {
            text_.remove_suffix(1);
            looked_ = false;  // the first look and the number were taken of the longer text
        }
    }

    // The first look taken by the reader, if it took one (see dispatch.h).
    bool has_first_look() const { return looked_; }
    std::uint64_t first_look() const { return first_look_; }

private:
    std::string_view text_;
    std::uint64_t first_look_ = 0;
    std::int32_t message_number_ = 0;
    bool looked_ = false;
};

}  // namespace korvanel
