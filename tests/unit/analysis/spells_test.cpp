#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/recognisers.h"
#include "analysis/spells.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

using Values = std::vector<std::int32_t>;

void see(PartStats& stats, std::string_view text) {
    recognise_resist(LogLine(text), stats);
    recognise_incantation(LogLine(text), stats);
}

// What the cast announcement leaves behind: the spell current, the cast second stamped.
void cast(PartStats& stats, std::string_view name, std::int32_t minute_second) {
    stats.currentSpell = register_spell(stats, name);
    stats.castTime = minute_second;
    stats.castingFlag = 1;
    stats.pendingDotKind = 0;
    ++stats.spells[stats.currentSpell].casts;
}

std::string cast_line(const char* time, std::string_view name) {
    return std::string("[") + time + "] Vous lancez le sort " + std::string(name) + " !\n";
}

TEST(RegisterSpell, InitialPartOfAnEarlierNameFindsItsSlot) {
    auto stats = new_part_stats();
    EXPECT_EQ(register_spell(*stats, "Boule de feu majeure"), 0);
    EXPECT_EQ(register_spell(*stats, "Boule de feu"), 0);
    EXPECT_EQ(stats->spellCount, 1);

    auto reverse = new_part_stats();
    EXPECT_EQ(register_spell(*reverse, "Boule de feu"), 0);
    EXPECT_EQ(register_spell(*reverse, "Boule de feu majeure"), 1);
    EXPECT_EQ(reverse->spells[1].name.view(), "Boule de feu majeure");
}

TEST(RegisterSpell, LongNameIsKeptAndFoundAgainByItsFirst99Characters) {
    auto stats = new_part_stats();
    const std::string long_name(120, 'x');
    EXPECT_EQ(register_spell(*stats, long_name), 0);
    EXPECT_EQ(stats->spells[0].name.view(), std::string(99, 'x'));
    EXPECT_EQ(register_spell(*stats, long_name + "y"), 0);
}

constexpr auto kStartIncanting = latin1("Vous commencez à incanter Souffle de givre.\n");
constexpr auto kInterrupted =
    latin1("[10:00:05] Le loup gris vous attaque, vous empêchant de poursuivre votre incantation !\n");

TEST(Incantation, DelayFromTheStartToTheCast) {
    auto stats = new_part_stats();
    // Instant cast: no incantation started.
    cast(*stats, "Souffle de givre", 1);
    see(*stats, cast_line("10:00:01", "Souffle de givre"));
    // From second 58 to second 03 of the next minute.
    see(*stats, std::string("[10:00:58] ") + std::string(kStartIncanting));
    cast(*stats, "Souffle de givre", 103);
    see(*stats, cast_line("10:01:03", "Souffle de givre"));
    // The other way of announcing an incantation.
    see(*stats, "[10:01:10] Vous commencez l'incantation de votre sort Souffle de givre.\n");
    cast(*stats, "Souffle de givre", 112);
    see(*stats, cast_line("10:01:12", "Souffle de givre"));
    EXPECT_EQ(stats->spells[0].castDelays.values(), (Values{0, 5, 2}));
    EXPECT_EQ(stats->incantationStart, -1);
}

TEST(Incantation, EightSecondsOrMoreRecordNothingAndKeepTheStart) {
    auto stats = new_part_stats();
    see(*stats, std::string("[10:00:50] ") + std::string(kStartIncanting));
    cast(*stats, "Souffle de givre", 58);
    see(*stats, cast_line("10:00:58", "Souffle de givre"));
    EXPECT_TRUE(stats->spells[0].castDelays.empty());
    EXPECT_EQ(stats->incantationStart, 50);
    // Still measured from second 50 at the next cast.
    cast(*stats, "Souffle de givre", 57);
    see(*stats, cast_line("10:01:57", "Souffle de givre"));
    EXPECT_EQ(stats->spells[0].castDelays.values(), Values{7});
}

TEST(Incantation, InterruptedIncantationMakesTheNextCastInstant) {
    auto stats = new_part_stats();
    see(*stats, std::string("[10:00:02] ") + std::string(kStartIncanting));
    see(*stats, kInterrupted);
    cast(*stats, "Souffle de givre", 6);
    see(*stats, cast_line("10:00:06", "Souffle de givre"));
    EXPECT_EQ(stats->spells[0].castDelays.values(), Values{0});
}

constexpr auto kResisted = latin1("[10:00:04] Le loup gris résiste à l'effet !\n");
constexpr auto kEnraged = latin1("[10:00:04] Votre cible est enragée et résiste au sort !\n");

TEST(Resist, ResistedWeaponProcIsListedButWeighsNothing) {
    auto stats = new_part_stats();
    stats->currentSlot = 2;
    see(*stats, kResisted);
    see(*stats, kEnraged);
    EXPECT_EQ(stats->weapons[2].procs.values(), (Values{kExcludedValue, kExcludedValue}));
    EXPECT_EQ(stats->spells[0].spellResists, 0);
}

}  // namespace
}  // namespace korvanel
