#include "analysis/spells.h"

#include "analysis/recognisers.h"
#include "run/messages.h"

namespace korvanel {

int register_spell(PartStats& stats, std::string_view name) {
    name = cut_to(name, SpellName::capacity);
    for (int i = 0; i < stats.spellCount; ++i) {
        if (stats.spells[i].name.view().starts_with(name)) return i;
    }
    if (stats.spellCount >= decltype(stats.spells)::capacity) fatal_error("trop de sorts utilises");
    const int index = stats.spellCount++;
    stats.spells[index].name = name;
    return index;
}

void recognise_incantation(const LogLine&, PartStats&) {}
void recognise_resist(const LogLine&, PartStats&) {}

}  // namespace korvanel
