#include "analysis/recognisers.h"

namespace korvanel {

void recognise_heal(const LogLine&, PartStats&) {}

}  // namespace korvanel
