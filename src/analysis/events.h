// What the recognisers count is also an event on the part's timeline, at
// the line's clock second: each call stands next to the push it mirrors.
#pragma once

#include <cstdint>

#include "analysis/log_line.h"
#include "analysis/weapon_registry.h"
#include "stats/part_stats.h"

namespace korvanel {

// The clock second of a line stamped "[HH:MM:SS]" (hours up to 23, minutes
// and seconds up to 59), or Timeline::kNoClock.
inline std::int32_t line_clock(const LogLine& line) { return stamp_clock(line.text()); }

// A value pushed into a series that counts damage or heals; the
// excluded-value marker is no event.
inline void note_amount(const LogLine& line, PartStats& stats, AmountKind kind, std::int32_t value) {
    if (value == kExcludedValue) return;
    stats.timeline.add_amount_on_line(line.text(), kind, value);
}

// A value pushed into a weapon slot's hits, criticals or procs: archery
// when the slot's style is "Range", melee otherwise.
inline void note_weapon_damage(const LogLine& line, PartStats& stats, const WeaponStats& slot, std::int32_t value) {
    note_amount(line, stats, slot.styleName == kRangeStyle ? AmountKind::Archery : AmountKind::Melee, value);
}

inline void note_kill(const LogLine& line, PartStats& stats) { stats.timeline.add_kill(line_clock(line)); }
inline void note_death(const LogLine& line, PartStats& stats) { stats.timeline.add_death(line_clock(line)); }

}  // namespace korvanel
