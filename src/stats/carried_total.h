// Experience totals are kept as a low part of at most 1,000,000,000 and a
// count of the billions carried out of it.
#pragma once

#include <cstdint>

#include "text/int32.h"

namespace korvanel {

inline constexpr std::int32_t kBillion = 1000000000;

// Adds `amount` to `total`; a total that passes 1,000,000,000 gives one
// billion to `billions`.
inline void add_with_carry(std::int32_t& total, std::int32_t& billions, std::int32_t amount) {
    total = add32(total, amount);
    if (total > kBillion) {
        total -= kBillion;
        billions = add32(billions, 1);
    }
}

}  // namespace korvanel
