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

// Each line, then "Vous encaissez": the type it announces.
constexpr auto kPoison = latin1("[10:00:01] Vous êtes victime d'un empoisonnement !\n");
constexpr auto kArrow = latin1("[10:00:01] Sylwen vous tire avec son arme !\n");
constexpr auto kSpell = latin1("[10:00:01] L'ensorceleur lance un sort !\n");
constexpr auto kDisease = latin1("[10:00:01] Votre corps est recouvert d'écorchures douloureuses.\n");
constexpr auto kBleed = latin1("[10:00:01] Vous saignez.\n");
constexpr auto kStrongPoison = latin1("[10:00:01] Vous êtes victime d'un poison violent !\n");
constexpr auto kDamageAdd = latin1("[10:00:01] Le gardien vous inflige 4 points de dégâts supplémentaires.\n");
constexpr auto kInflictsOnly = latin1("[10:00:01] Le gardien vous inflige une blessure.\n");
constexpr auto kArrowAndBleed = latin1("[10:00:01] Sylwen vous tire avec son arme ! Vous saignez.\n");
constexpr auto kMeleeThenSpell = latin1("[10:00:01] Brennos vous attaque avec son arme et lance un sort.\n");
constexpr auto kPoisonAndAdd =
    latin1("[10:00:01] Vous êtes victime d'un poison violent : il vous inflige 3 points de dégâts supplémentaires.\n");

TEST(IncomingType, EachAnnouncementAndTheLaterMatchWinning) {
    const struct {
        std::string_view line;
        int type;
    } cases[] = {
        {kPoison, 0},         {kMeleeAttack, 1},   {kArrow, 2},           {kDisease, 3},
        {kStrongPoison, 4},   {kDamageAdd, 5},     {kBleed, 6},           {kSpell, 7},
        {kInflictsOnly, 7},   {kArrowAndBleed, 6}, {kMeleeThenSpell, 7},  {kPoisonAndAdd, 5},
    };
    for (const auto& c : cases) {
        auto stats = new_part_stats();
        analyse(*stats, {c.line, kTaken});
        for (int type = 0; type < kIncomingTypes; ++type) {
            EXPECT_EQ(stats->receivedByType[static_cast<std::size_t>(type)].count(), type == c.type ? 1 : 0)
                << "type " << type << " after: " << c.line;
        }
    }
}

TEST(MonsterHits, BothBlowFormsRecordTheirDamage) {
    auto stats = new_part_stats();
    analyse(*stats, {latin1("[12:34:56] Le loup des bois vous frappe pour 23 points de dégâts !\n"),
                     latin1("[12:34:58] L'archer vise votre bras et vous blesse pour 17 points de dégâts !\n"),
                     latin1("[12:35:00] Le loup des bois vous mord.\n")});
    EXPECT_EQ(values(stats->monsterHits), (Values{23, 17}));
}

TEST(Avoidance, EachOutcomeHasItsCounter) {
    auto stats = new_part_stats();
    analyse(*stats, {
                        "[10:00:01] Le troll rate son coup !\n",
                        "[10:00:02] Le troll vous attaque, mais vous bloquez le coup !\n",
                        "[10:00:03] Le troll vous attaque, mais vous parez le coup !\n",
                        "[10:00:04] Le troll vous attaque, mais vous esquivez le coup !\n",
                        latin1("[10:00:05] Vous résistez à l'effet !\n"),
                        latin1("[10:00:06] Le coup a traversé la barrière magique !\n"),
                        latin1("[10:00:07] Aldric vous protège de l'attaque lancée par le troll.\n"),
                    });
    EXPECT_EQ(stats->enemyMissed, 1);
    EXPECT_EQ(stats->blockedByPlayer, 1);
    EXPECT_EQ(stats->parriedByPlayer, 1);
    EXPECT_EQ(stats->evadedByPlayer, 1);
    EXPECT_EQ(stats->effectsResisted, 1);
    EXPECT_EQ(stats->barrierPierced, 1);
    EXPECT_EQ(stats->guardedFor, 1);
    EXPECT_EQ(stats->absorbedByBarrier, 0);
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
