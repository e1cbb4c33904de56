// Comparing and finding short byte texts inside a log line, without a call
// to the C library for every question: a line is short (at most 299 bytes)
// and most questions are settled by its first bytes, so the call and its
// set-up would cost more than the answer.
//
// Every read stays inside the given texts: no load ever reaches past the
// last byte (the sanitizers and the fuzzer see to it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvanel {

namespace byte_search_detail {
inline std::uint64_t load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}
inline std::uint32_t load4(const char* p) {
    std::uint32_t w;
    std::memcpy(&w, p, 4);
    return w;
}
}  // namespace byte_search_detail

// Whether the n bytes at a and at b are the same (both hold at least n bytes).
inline bool same_bytes(const char* a, const char* b, std::size_t n) {
    using namespace byte_search_detail;
    if (n >= 8) {
        if (load8(a) != load8(b)) return false;
        if (n <= 16) return load8(a + n - 8) == load8(b + n - 8);
        if (load8(a + 8) != load8(b + 8)) return false;
        if (n <= 24) return load8(a + n - 8) == load8(b + n - 8);
        return std::memcmp(a + 16, b + 16, n - 16) == 0;
    }
    if (n >= 4) return load4(a) == load4(b) && load4(a + n - 4) == load4(b + n - 4);
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

// Whether `text` begins with `prefix`.
inline bool begins_with(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && same_bytes(text.data(), prefix.data(), prefix.size());
}

// The position of the first `needle` in `text` at or after `from`, or npos;
// exactly what std::string_view::find answers (`from` at most text.size()).
inline std::size_t find_bytes(std::string_view text, std::string_view needle, std::size_t from) {
    const std::size_t n = needle.size();
    if (n == 0) return from;
    if (n > text.size() || from > text.size() - n) return std::string_view::npos;
    const char* const data = text.data();
    const std::size_t last_start = text.size() - n;  // the last position the needle can begin at
    const char first = needle[0];
    const char last = needle[n - 1];
    std::size_t i = from;
#if defined(__SSE2__)
    if (last_start - i >= 15) {
        // Sixteen starting positions at a time: a candidate has the needle's
        // first byte at its start and the needle's last byte n - 1 further.
        const __m128i firsts = _mm_set1_epi8(first);
        const __m128i lasts = _mm_set1_epi8(last);
        auto candidates_at = [&](std::size_t at) {
            const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + n - 1));
            return static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, firsts), _mm_cmpeq_epi8(ends, lasts))));
        };
        for (;;) {
            unsigned candidates = candidates_at(i);
            while (candidates != 0) {
                const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(candidates));
                if (n <= 2 || same_bytes(data + at + 1, needle.data() + 1, n - 2)) return at;
                candidates &= candidates - 1;
            }
            if (i + 16 > last_start) return std::string_view::npos;
            // The last sixteen positions overlap the ones just seen, which hold no match.
            i = i + 31 <= last_start ? i + 16 : last_start - 15;
        }
    }
#endif
    for (; i <= last_start; ++i) {
        if (data[i] == first && data[i + n - 1] == last &&
            (n <= 2 || same_bytes(data + i + 1, needle.data() + 1, n - 2))) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace korvanel
