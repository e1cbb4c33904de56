#include "analysis/recognisers.h"

namespace korvanel {

void recognise_announcement(const LogLine&, PartStats&) {}

}  // namespace korvanel
