// What the recognisers count is also an event on the part's timeline, at
// the line's clock second: each call stands next to the push it mirrors.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "analysis/log_line.h"
#include "analysis/weapon_registry.h"
#include "stats/part_stats.h"

namespace korvanel {

// The clock second of a line stamped "[HH:MM:SS]" (hours up to 23, minutes
// and seconds up to 59), or Timeline::kNoClock. Read for every event, so
// the ten bytes are judged at once.
inline std::int32_t line_clock(const LogLine& line) {
    const std::string_view t = line.text();
    if (t.size() < 10 || t[9] != ']') return Timeline::kNoClock;
    const auto last = static_cast<unsigned>(static_cast<unsigned char>(t[8])) - '0';
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t w;  // bytes 0 to 7, byte i in bits 8i to 8i+7
        std::memcpy(&w, t.data(), sizeof w);
        constexpr std::uint64_t kMarks = 0x00FF0000FF0000FFULL;  // "[" at 0, ":" at 3 and 6
        constexpr std::uint64_t kHigh = 0xF000F0F000F0F000ULL;   // high halves of the digits at 1, 2, 4, 5, 7
        const std::uint64_t low = w & 0x0F000F0F000F0F00ULL;
        if ((w & kMarks) != 0x003A00003A00005BULL || (w & kHigh) != 0x3000303000303000ULL ||
            ((low + 0x0600060600060600ULL) & kHigh) != 0 || last > 9) {
            return Timeline::kNoClock;
        }
        auto digit = [&](int at) { return static_cast<std::int32_t>((low >> (8 * at)) & 0xF); };
        const std::int32_t h = digit(1) * 10 + digit(2), m = digit(4) * 10 + digit(5), s = digit(7) * 10;
        if (h > 23 || m > 59 || s > 50) return Timeline::kNoClock;
        return h * 3600 + m * 60 + s + static_cast<std::int32_t>(last);
    } else {
        if (t[0] != '[' || t[3] != ':' || t[6] != ':' || last > 9) return Timeline::kNoClock;
        auto two = [&](std::size_t at) {
            const int high = t[at] - '0', low = t[at + 1] - '0';
            return high >= 0 && high <= 9 && low >= 0 && low <= 9 ? high * 10 + low : 99;
        };
        const int h = two(1), m = two(4), s = (t[7] - '0') * 10;
        if (h > 23 || m > 59 || t[7] < '0' || s > 50) return Timeline::kNoClock;
        return h * 3600 + m * 60 + s + static_cast<std::int32_t>(last);
    }
}

// A value pushed into a series that counts damage or heals; the
// excluded-value marker is no event.
inline void note_amount(const LogLine& line, PartStats& stats, AmountKind kind, std::int32_t value) {
    if (value == kExcludedValue) return;
    stats.timeline.add_amount(line_clock(line), kind, value);
}

// A value pushed into a weapon slot's hits, criticals or procs: archery
// when the slot's style is "Range", melee otherwise.
inline void note_weapon_damage(const LogLine& line, PartStats& stats, const WeaponStats& slot, std::int32_t value) {
    note_amount(line, stats, slot.styleName == kRangeStyle ? AmountKind::Archery : AmountKind::Melee, value);
}

inline void note_kill(const LogLine& line, PartStats& stats) { stats.timeline.add_kill(line_clock(line)); }
inline void note_death(const LogLine& line, PartStats& stats) { stats.timeline.add_death(line_clock(line)); }

}  // namespace korvanel
