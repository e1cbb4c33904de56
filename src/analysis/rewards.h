// The amount readings of the reward messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvanel {

// An experience amount written with "." between groups of three digits
// ("1.234.567"): the first number at or after `start`, then, for every "."
// found after the cursor whose next character is not beyond `limit`, the
// amount times 1000 plus the first number after that ".". 32-bit, wrapping.
std::int32_t read_grouped_amount(std::string_view text, std::size_t start, std::size_t limit);

// A realm-point or bounty amount: the first run of digits at or after
// `start`, continued across every "." followed by exactly three digits and
// a non-digit ("1.234" is 1234, "12.5" is 12). At most 2147483647.
std::int32_t read_thousands(std::string_view text, std::size_t start);

}  // namespace korvanel
