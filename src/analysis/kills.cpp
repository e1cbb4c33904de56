#include "analysis/recognisers.h"

namespace korvanel {

void on_monster_death_group(const LogLine& line, PartStats& stats) {
    record_monster_death(line, stats);
    record_experience(line, stats);
    record_realm_points(line, stats);
    record_money(line, stats);
    // Loot counts only once the dead monster's experience has arrived.
    if (stats.lootOpenFlag == 1) record_loot(line, stats);
}

void record_monster_death(const LogLine&, PartStats&) {}
void record_player_death(const LogLine&, PartStats&) {}
void record_killer_name(const LogLine&, PartStats&) {}
void record_victim(const LogLine&, PartStats&) {}

}  // namespace korvanel
