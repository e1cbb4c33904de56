#include "report/sections.h"

namespace korvanel {

void precise_shot_split(PartStats&) {}
void write_archery_section(PageWriter&, const PartStats&, const MeleePreparation&, std::string_view) {}

}  // namespace korvanel
