#include "analysis/recognisers.h"

namespace korvanel {

void recognise_critical(const LogLine&, PartStats&) {}
void recognise_multiple_attack(const LogLine&, PartStats&) {}
void recognise_hit(const LogLine&, PartStats&) {}
void recognise_miss(const LogLine&, PartStats&) {}
void recognise_fumble(const LogLine&, PartStats&) {}
void recognise_evade(const LogLine&, PartStats&) {}
void recognise_parry(const LogLine&, PartStats&) {}
void recognise_block(const LogLine&, PartStats&) {}
void recognise_swing_timer(const LogLine&, PartStats&) {}

}  // namespace korvanel
