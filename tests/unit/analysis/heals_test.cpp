#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

using Values = std::vector<std::int32_t>;

// A part in which the heal spell of slot `slot` was just cast at 10:12:30.
std::unique_ptr<PartStats> after_cast(int slot = 0) {
    auto stats = new_part_stats();
    stats->spellCount = slot + 1;
    stats->currentSpell = slot;
    stats->castTime = 1230;
    stats->castingFlag = 0;
    return stats;
}

void heal_lines(PartStats& stats, std::initializer_list<std::string_view> lines) {
    for (std::string_view text : lines) recognise_heal(LogLine(text), stats);
}

constexpr auto kHealAlric = latin1("[10:12:30] Vous soignez Alric de 212 points de vie.\n");
constexpr auto kHealSelf = latin1("[10:12:30] Vous vous soignez de 180 points de vie.\n");
constexpr auto kSelfFull = latin1("[10:12:30] Vos points de vie sont au maximum.\n");

TEST(Heal, AmountInTheCastSecondGoesToTheCurrentSpell) {
    auto stats = after_cast(1);
    heal_lines(*stats, {kHealAlric, kHealSelf});
    EXPECT_EQ(stats->spells[1].amounts.values(), (Values{212, 180}));
    EXPECT_EQ(stats->spells[1].spellKind, 2);
    EXPECT_EQ(stats->castingFlag, 1);
    EXPECT_EQ(stats->lastHealTarget.view(), "Alric");
}

TEST(Heal, FullHealthWithoutAnyHealChangesNothing) {
    auto stats = after_cast();
    heal_lines(*stats, {kSelfFull});
    EXPECT_TRUE(stats->spells[0].amounts.empty());
    EXPECT_TRUE(stats->spells[0].cappedHeals.empty());
}

TEST(Heal, TargetEndsAtTheFirstDeOfTheLine) {
    // "Gardien de la tour" is cut to "Gardien"; the full-health line names the
    // whole target, which then differs from the cut one.
    auto stats = after_cast();
    heal_lines(*stats, {"[10:12:30] Vous soignez Gardien de la tour de 90 points de vie.\n",
                        "[10:12:30] Gardien de la tour n'a plus besoin de soins.\n"});
    EXPECT_EQ(stats->lastHealTarget.view(), "Gardien");
    EXPECT_EQ(stats->spells[0].amounts.values(), Values{90});
    EXPECT_EQ(stats->spells[0].cappedHeals.values(), Values{0});
}

TEST(Heal, LongTargetNamesAreComparedByTheirFirst49Characters) {
    const std::string name(60, 'a');
    auto stats = after_cast();
    heal_lines(*stats, {"[10:12:30] Vous soignez " + name + " de 75 points de vie.\n",
                        "[10:12:30] " + name + "b n'a plus besoin de soins.\n"});
    EXPECT_EQ(stats->lastHealTarget.view(), std::string(49, 'a'));
    EXPECT_EQ(stats->spells[0].cappedHeals.values(), Values{75});
}

TEST(Heal, HealBeforeTheFirstCastWaitsInSlotZero) {
    auto stats = new_part_stats();
    heal_lines(*stats, {"[10:00:00] Vous vous soignez de 40 points de vie.\n"});
    EXPECT_EQ(stats->spellCount, 0);
    EXPECT_EQ(stats->spells[0].amounts.values(), Values{40});
}

TEST(Heal, HealLineWithoutDeEndsTheRunWithTheLine) {
    auto stats = after_cast();
    const std::string line = "[10:12:30] Vous soignez Alric.\n";
    try {
        heal_lines(*stats, {line});
        FAIL() << "no fatal error";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "");
        EXPECT_EQ(error.line, line);
    }
}

}  // namespace
}  // namespace korvanel
