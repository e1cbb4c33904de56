// Names that come from the system (paths, file names, words typed at the
// prompt) are not ISO-8859-1 like the program's texts: they enter those
// texts converted, each character outside ISO-8859-1 written "?". A file is
// always opened by its own name, never by the converted one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvanel {

// Whether `bytes` is UTF-8 as RFC 3629 has it: no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool valid_utf8(std::string_view bytes);

// UTF-8 bytes (RFC 3629) shown in ISO-8859-1; a text that is not valid UTF-8 as a whole
// is taken byte for byte.
std::string latin1_from_utf8_name(std::string_view bytes);

// UTF-16 units shown in ISO-8859-1: a surrogate pair is one character, an
// unpaired surrogate one "?".
template <class Unit>
std::string latin1_from_utf16(std::basic_string_view<Unit> units) {
    std::string shown;
    shown.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto unit = static_cast<std::uint32_t>(static_cast<std::uint16_t>(units[i]));
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size()) {
            const auto next = static_cast<std::uint32_t>(static_cast<std::uint16_t>(units[i + 1]));
            if (next >= 0xDC00 && next <= 0xDFFF) ++i;  // one character, beyond ISO-8859-1
            shown.push_back('?');
        } else {
            shown.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
        }
    }
    return shown;
}

// How the program's texts show a path: its native form (bytes on POSIX,
// UTF-16 on Windows) converted as above.
std::string shown_name(const std::filesystem::path& path);

// A path from UTF-8 text, whatever the system's code page.
std::filesystem::path path_from_utf8(std::string_view utf8);

// A path from ISO-8859-1 text (the program's own names, such as page names).
std::filesystem::path path_from_latin1(std::string_view latin1_text);

}  // namespace korvanel
