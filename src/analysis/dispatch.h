#pragma once

#include "analysis/log_line.h"
#include "stats/part_stats.h"

namespace korvanel {

// Runs every recogniser on a non-chat line, in their fixed order. A first
// look at the line skips the recognisers whose texts it does not hold:
// those would leave it alone anyway.
void dispatch_line(const LogLine& line, PartStats& stats);

// The same without the first look: every recogniser sees every line. Gives
// the same statistics; kept to check that it does.
void dispatch_line_unfiltered(const LogLine& line, PartStats& stats);

}  // namespace korvanel
