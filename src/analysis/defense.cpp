#include "analysis/recognisers.h"

namespace korvanel {

void recognise_received_damage(const LogLine&, PartStats&) {}
void recognise_incoming_type(const LogLine&, PartStats&) {}
void recognise_monster_hit(const LogLine&, PartStats&) {}
void recognise_avoidance(const LogLine&, PartStats&) {}
void recognise_damage_add(const LogLine&, PartStats&) {}

}  // namespace korvanel
