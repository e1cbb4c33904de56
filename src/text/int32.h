// The record's counters and totals are 32-bit integers that wrap around as
// two's-complement values when an absurd log pushes them out of range.
#pragma once

#include <cstdint>

namespace korvanel {

inline std::int32_t add32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t sub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t mul32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
// Integer division truncating toward zero; INT32_MIN / -1 wraps to INT32_MIN.
inline std::int32_t div32(std::int32_t a, std::int32_t b) {
    if (b == -1) return sub32(0, a);
    return a / b;
}
inline std::int32_t mod32(std::int32_t a, std::int32_t b) {
    if (b == -1) return 0;
    return a % b;
}

}  // namespace korvanel
