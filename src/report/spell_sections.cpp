#include "report/sections.h"

namespace korvanel {

bool has_offensive_spells(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (!stats.spells[i].amounts.empty() && stats.spells[i].spellKind != 2) return true;
    }
    return false;
}

bool has_heals(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (!stats.spells[i].amounts.empty() && stats.spells[i].spellKind == 2) return true;
    }
    return false;
}

bool has_other_spells(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (stats.spells[i].amounts.empty()) return true;
    }
    return false;
}

void write_offensive_spells_section(PageWriter&, const PartStats&, std::string_view) {}
void write_other_spells_section(PageWriter&, const PartStats&, std::string_view) {}

}  // namespace korvanel
