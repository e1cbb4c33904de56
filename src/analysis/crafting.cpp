#include "analysis/recognisers.h"

namespace korvanel {

void recognise_crafting(const LogLine&, PartStats&) {}

}  // namespace korvanel
