#pragma once

#include <string_view>

#include "stats/part_stats.h"

namespace korvanel {

// The slot of a spell: the first slot whose name begins with `name` (cut to
// 99 characters), or a new one.
int register_spell(PartStats& stats, std::string_view name);

}  // namespace korvanel
