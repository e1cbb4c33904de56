#include <gtest/gtest.h>

#include <string>

#include "report/analysis_page.h"
#include "test_support.h"

namespace korvanel {
namespace {

WeaponStats& add_slot(PartStats& stats, std::string_view weapon, std::string_view style,
                      std::initializer_list<int> hits) {
    WeaponStats& slot = stats.weapons[stats.weaponCount++];
    slot.weaponName = weapon;
    slot.styleName = style;
    for (int v : hits) {
        slot.hits.push(v);
        slot.modifiers.push(v / 10);
    }
    return slot;
}

std::string page_of(PartStats& stats, bool keep) {
    MemoryPageSink sink;
    const PageTarget target{"Resultats.html", "Resultats.html", "Resultats", 0};
    if (keep) {
        write_analysis_page_keeping_stats(stats, "chat.log", target, sink);
    } else {
        write_analysis_page(stats, "chat.log", target, sink);
    }
    return sink.pages.at(0).second;
}

TEST(AnalysisPageKeepingStats, ARecordWrittenTwiceGivesTheSamePageAsAWriteThatConsumesIt) {
    auto stats = new_part_stats();
    add_slot(*stats, "arc long", "Range", {100, 100, 100, 400, 100, 380});
    add_slot(*stats, "epee", "Sans style", {100, 400});
    const WeaponStats before = stats->weapons[0];

    const std::string first = page_of(*stats, true);
    EXPECT_EQ(stats->weapons[0], before);
    EXPECT_EQ(page_of(*stats, true), first);
    EXPECT_EQ(page_of(*stats, false), first);
    EXPECT_FALSE(stats->weapons[0] == before);  // the split moved the precise shots
}

}  // namespace
}  // namespace korvanel
