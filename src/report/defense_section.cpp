#include "report/sections.h"

namespace korvanel {

std::int32_t blows_received(const PartStats& stats) {
    return stats.monsterHits.count() + stats.receivedByType[1].count() + stats.receivedByType[2].count();
}

void write_defense_section(PageWriter&, const PartStats&, std::string_view) {}

}  // namespace korvanel
