// ISO-8859-1 texts written as readable UTF-8 in the source.
//
// Every French text the program recognises or writes is a Latin-1 byte
// string. The sources stay UTF-8; `latin1("é")` converts at compile time,
// so the constant holds the single byte 0xE9. A character outside Latin-1
// is a compile error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvanel {

template <std::size_t N>
struct Latin1Text {
    char bytes[N] = {};
    std::size_t length = 0;

    constexpr std::string_view view() const { return {bytes, length}; }
    constexpr operator std::string_view() const { return view(); }
    constexpr const char* c_str() const { return bytes; }
    constexpr std::size_t size() const { return length; }
};


template <std::size_t N>
consteval Latin1Text<N> latin1(const char (&utf8)[N]) {
    Latin1Text<N> out{};
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.bytes[o++] = static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 2 < N) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            if ((next & 0xC0) != 0x80) throw "latin1: malformed UTF-8";
            out.bytes[o++] = static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
            ++i;
        } else {
            throw "latin1: character outside ISO-8859-1";
        }
    }
    out.bytes[o] = '\0';
    out.length = o;
    return out;
}

// Converts Latin-1 bytes to UTF-8 (console in a UTF-8 locale, file names on disk).
std::string latin1_to_utf8(std::string_view latin1_text);

}  // namespace korvanel
