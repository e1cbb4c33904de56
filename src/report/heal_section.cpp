#include "report/sections.h"

namespace korvanel {

void write_heal_section(PageWriter&, const PartStats&, std::string_view) {}

}  // namespace korvanel
