#include "analysis/log_line.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/int32.h"

namespace korvanel {

namespace {
// Whether one of the eight bytes of w is a decimal digit.
bool holds_digit(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    const std::uint64_t x = w ^ (kOnes * '0');  // a digit becomes a byte below 10
    return ((x - kOnes * 10) & ~x & (kOnes * 0x80)) != 0;
}
}  // namespace

std::int32_t read_number_from(std::string_view text, std::size_t pos) {
#if defined(__SSE2__)
    // Sixteen bytes at a time up to the first digit: a digit less '0' is
    // below 10, which the signed comparison sees once the sign bit is flipped.
    const __m128i zero = _mm_set1_epi8('0');
    const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
    const __m128i ten = _mm_set1_epi8(static_cast<char>(0x80 + 10));
    while (pos + 16 <= text.size()) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        const __m128i below = _mm_cmplt_epi8(_mm_xor_si128(_mm_sub_epi8(bytes, zero), flip), ten);
        const auto digits = static_cast<unsigned>(_mm_movemask_epi8(below));
        if (digits != 0) {
            pos += static_cast<std::size_t>(__builtin_ctz(digits));
            break;
        }
        pos += 16;
    }
#endif
    // Eight bytes at a time up to the block that holds the first digit.
    while (pos + 8 <= text.size()) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + pos, 8);
        if (holds_digit(w)) break;
        pos += 8;
    }
    while (pos < text.size() && (text[pos] < '0' || text[pos] > '9')) ++pos;
    std::int64_t value = 0;
    bool capped = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (!capped) {
            value = value * 10 + (text[pos] - '0');
            if (value > 2147483647) capped = true;
        }
        ++pos;
    }
    return capped ? 2147483647 : static_cast<std::int32_t>(value);
}

std::string_view LogLine::rest_from(std::size_t from) const {
    if (from >= text_.size()) return {};
    std::string_view rest = text_.substr(from);
    if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
    return rest;
}

std::int32_t LogLine::hms() const {
    return add32(add32(mul32(hours(), 10000), mul32(minutes(), 100)), seconds());
}

std::int32_t LogLine::minute_second() const { return add32(mul32(minutes(), 100), seconds()); }

}  // namespace korvanel
