#include "run/log_parts.h"

namespace korvanel {

void select_log_part(LogLine&, PartTable&, Name49&, Console&) {}

int handle_log_command(LogLine&, PartTable& parts, const Name49&, Console&) { return parts.current; }

}  // namespace korvanel
