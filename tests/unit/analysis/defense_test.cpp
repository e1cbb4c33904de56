#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "analysis/dispatch.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

// Runs the lines through the dispatcher, one after the other.
void analyse(PartStats& stats, std::initializer_list<std::string_view> lines) {
    for (std::string_view text : lines) dispatch_line(LogLine(text), stats);
}

std::vector<std::int32_t> values(const ValueSeries& series) { return series.values(); }

using Values = std::vector<std::int32_t>;

constexpr auto kTaken = latin1("[10:00:02] Vous encaissez 45 points de dégâts.\n");
constexpr auto kMeleeAttack = latin1("[10:00:01] Brennos vous attaque avec son arme !\n");

TEST(ReceivedDamage, GoesToTheTypeLeftByTheLineJustBefore) {
    auto stats = new_part_stats();
    analyse(*stats, {kMeleeAttack, kTaken});
    EXPECT_EQ(values(stats->receivedByType[1]), Values{45});

    // Another line in between resets the type: the damage is a spell's (or unexplained).
    analyse(*stats, {kMeleeAttack, "[10:00:02] Brennos se met en garde.\n", kTaken});
    EXPECT_EQ(values(stats->receivedByType[1]), Values{45});
    EXPECT_EQ(values(stats->receivedByType[7]), Values{45});
}

TEST(ReceivedDamage, FirstLineOfAFreshPartCountsAsSpellDamage) {
    auto stats = new_part_stats();
    analyse(*stats, {kTaken});
    EXPECT_EQ(values(stats->receivedByType[7]), Values{45});
}

// Lines announcing more than one attack: the later test wins.
constexpr auto kInflictsOnly = latin1("[10:00:01] Le gardien vous inflige une blessure.\n");
constexpr auto kArrowAndBleed = latin1("[10:00:01] Sylwen vous tire avec son arme ! Vous saignez.\n");
constexpr auto kMeleeThenSpell = latin1("[10:00:01] Brennos vous attaque avec son arme et lance un sort.\n");
constexpr auto kPoisonAndAdd =
    latin1("[10:00:01] Vous êtes victime d'un poison violent : il vous inflige 3 points de dégâts supplémentaires.\n");

TEST(IncomingType, TheLaterMatchWins) {
    const struct {
        std::string_view line;
        int type;
    } cases[] = {{kInflictsOnly, 7}, {kArrowAndBleed, 6}, {kMeleeThenSpell, 7}, {kPoisonAndAdd, 5}};
    for (const auto& c : cases) {
        auto stats = new_part_stats();
        analyse(*stats, {c.line, kTaken});
        for (int type = 0; type < kIncomingTypes; ++type) {
            EXPECT_EQ(stats->receivedByType[static_cast<std::size_t>(type)].count(), type == c.type ? 1 : 0)
                << "type " << type << " after: " << c.line;
        }
    }
}

TEST(Avoidance, ABarrierAbsorptionIsNotAlsoAMiss) {
    auto stats = new_part_stats();
    analyse(*stats, {latin1("[10:00:01] Le coup est absorbé par une barrière magique : le troll rate son coup.\n")});
    EXPECT_EQ(stats->enemyMissed, 0);
    EXPECT_EQ(stats->absorbedByBarrier, 1);

    // On its own the absorption takes one back from the misses.
    analyse(*stats, {latin1("[10:00:02] Le coup est absorbé par une barrière magique !\n")});
    EXPECT_EQ(stats->enemyMissed, -1);
    EXPECT_EQ(stats->absorbedByBarrier, 2);
}

TEST(DamageAdds, OnlyTheFirstSufferingAfterAWeaponHitIsADamageAdd) {
    constexpr auto kHit =
        latin1("[10:00:00] Vous attaquez le troll avec votre épée longue, vous infligez 40 (+2) points de dégâts !\n");
    constexpr auto kAdd = latin1("[10:00:00] Le troll subit 7 points de dégâts supplémentaires.\n");
    constexpr auto kShield = latin1("[10:00:01] Le troll subit 5 points de dégâts de votre bouclier.\n");
    auto stats = new_part_stats();
    analyse(*stats, {kShield, kHit, kAdd, kShield, kHit, kAdd});
    EXPECT_EQ(values(stats->dealtByType[1]), (Values{7, 7}));
    EXPECT_EQ(values(stats->dealtByType[2]), (Values{5, 5}));
    EXPECT_EQ(stats->meleeHitSeen, 0);
}

}  // namespace
}  // namespace korvanel
