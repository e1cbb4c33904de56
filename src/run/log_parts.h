// The named parts of the log: up to ten, each with its own statistics and
// page, chosen by commands the player types into the game's chat.
#pragma once

#include <array>
#include <memory>

#include "analysis/log_line.h"
#include "console/console.h"
#include "stats/part_stats.h"

namespace korvanel {

struct PartTable {
    static constexpr int kMaxParts = 10;
    std::array<Name49, kMaxParts> names{};
    std::array<std::unique_ptr<PartStats>, kMaxParts> stats{};
    int count = 1;
    int current = 0;

    PartStats& current_stats() { return *stats[static_cast<std::size_t>(current)]; }
};

// Follows the player's target ("Vous visez [") and carries out log commands
// ("[TOUS]:  ]log "), which may switch or create the current part. A command
// naming a part drops the line's final line break.
void select_log_part(LogLine& line, PartTable& parts, Name49& target, Console& console);

// Carries out a log command; returns the index of the part that becomes current.
int handle_log_command(LogLine& line, PartTable& parts, const Name49& target, Console& console);

}  // namespace korvanel
