#include "report/sections.h"

namespace korvanel {

void write_grouped_number(PageWriter&, std::int32_t, std::int32_t) {}
void write_killers_section(PageWriter&, const PartStats&, std::string_view) {}
void write_hunting_section(PageWriter&, const PartStats&, std::string_view) {}

}  // namespace korvanel
