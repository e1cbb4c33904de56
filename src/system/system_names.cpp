#include "system/system_names.h"

#include <cstdint>

#include "text/latin1.h"

namespace korvanel {

namespace {
// The code point of the UTF-8 sequence at `at`, or -1 when it is not a valid one.
long decode_utf8(std::string_view bytes, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    int extra = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07;
    } else {
        return -1;
    }
    if (at + static_cast<std::size_t>(extra) >= bytes.size()) return -1;
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) return -1;
        code = (code << 6) | (next & 0x3F);
    }
    static constexpr std::uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
    at += static_cast<std::size_t>(extra) + 1;
    return static_cast<long>(code);
}
}  // namespace

bool valid_utf8(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (decode_utf8(bytes, at) < 0) return false;
    }
    return true;
}

std::string latin1_from_utf8_name(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const long code = decode_utf8(bytes, at);
        if (code < 0) return std::string(bytes);
        shown.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    }
    return shown;
}

std::string shown_name(const std::filesystem::path& path) {
#ifdef _WIN32
    return latin1_from_utf16(std::wstring_view(path.native()));
#else
    return latin1_from_utf8_name(path.native());
#endif
}

std::filesystem::path path_from_utf8(std::string_view utf8) {
    std::u8string text(utf8.size(), u8'\0');
    for (std::size_t i = 0; i < utf8.size(); ++i) text[i] = static_cast<char8_t>(utf8[i]);
    return std::filesystem::path(text);
}

std::filesystem::path path_from_latin1(std::string_view latin1_text) { return path_from_utf8(latin1_to_utf8(latin1_text)); }

}  // namespace korvanel
