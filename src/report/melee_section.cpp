#include "report/sections.h"

namespace korvanel {

MeleePreparation prepare_melee(const PartStats&) { return {}; }
void write_melee_section(PageWriter&, const PartStats&, const MeleePreparation&, std::string_view) {}

}  // namespace korvanel
