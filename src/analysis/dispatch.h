#pragma once

#include "analysis/log_line.h"
#include "stats/part_stats.h"

namespace korvanel {

// Runs every recogniser on a non-chat line, always all of them, in their fixed order.
void dispatch_line(const LogLine& line, PartStats& stats);

}  // namespace korvanel
