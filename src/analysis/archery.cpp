#include "analysis/recognisers.h"

namespace korvanel {

void recognise_shot_timer(const LogLine&, PartStats&) {}

}  // namespace korvanel
