// How a word is read at the file-name prompt, whatever the units of the
// console (bytes on POSIX, UTF-16 units in a Windows console).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace korvanel {

// Reads one word: white space before it is skipped; a word that begins with
// a double quote runs to the next double quote on the same line, blanks
// included, the quotes not being part of it (without a closing quote it runs
// to the end of the line); any other word runs to the next white space. Only
// the first `max_units` units are kept. `next()` returns the next unit, or
// -1 once the input has ended; no value is returned when it ends before a
// word. What follows a closing quote stays unread.
template <class Unit, class Next>
std::optional<std::basic_string<Unit>> read_prompt_word(Next next, std::size_t max_units = 63) {
    auto blank = [](long c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; };
    long c = next();
    while (c >= 0 && blank(c)) c = next();
    if (c < 0) return std::nullopt;
    std::basic_string<Unit> word;
    auto keep = [&](long unit) {
        if (word.size() < max_units) word.push_back(static_cast<Unit>(unit));
    };
    if (c == '"') {
        for (c = next(); c >= 0 && c != '"' && c != '\n' && c != '\r'; c = next()) keep(c);
        return word;
    }
    for (; c >= 0 && !blank(c); c = next()) keep(c);
    return word;
}

}  // namespace korvanel
