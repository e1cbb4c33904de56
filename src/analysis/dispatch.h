#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "analysis/log_line.h"
#include "stats/part_stats.h"

namespace korvanel {

// Runs every recogniser on a non-chat line, in their fixed order. A first
// look at the line skips the recognisers whose texts it does not hold:
// those would leave it alone anyway. A line that comes with its first look
// (LogLine::has_first_look) is not looked at again.
void dispatch_line(const LogLine& line, PartStats& stats);

// The first look at a line's text: which recognisers it may concern (one
// bit per step of the dispatcher, below kFirstLookSteps) and which of the
// texts searched anywhere in a line it may hold (the bits above, used by
// LogLine::find). It depends on the text alone, so a reader may take it
// ahead of the dispatch, on another thread, and hand it over with the line.
std::uint64_t first_look_at(std::string_view text);
// The first look at each of `count` texts, into looks[0..count): the same
// answers as first_look_at, faster for many lines at once.
void first_look_at(const std::string_view* texts, std::uint64_t* looks, std::size_t count);

}  // namespace korvanel
