#include <gtest/gtest.h>

#include "analysis/death_chain.h"
#include "analysis/rewards.h"

namespace korvanel {
namespace {

using testing::fatal_message;
using testing::feed;
using testing::latin1_of;

std::int32_t experience_read(std::string_view message) {
    const std::string text = latin1_of(message);
    return read_grouped_amount(text, 0, text.find(latin1_of(" points d'expérience")));
}

TEST(GroupedAmount, ExperienceGroupsStopAtTheLimit) {
    EXPECT_EQ(experience_read("1.234.567 points d'expérience."), 1234567);
    EXPECT_EQ(experience_read("85 points d'expérience."), 85);
    EXPECT_EQ(experience_read("1,234 points d'expérience."), 1);
    EXPECT_EQ(experience_read("12.5 points d'expérience."), 12005);
    EXPECT_EQ(experience_read("points d'expérience."), 0);
}

TEST(GroupedAmount, RealmAmountsContinueOnlyAcrossThreeDigitGroups) {
    EXPECT_EQ(read_thousands("[12:00:00] Vous gagnez 1.234 realm points!", 11), 1234);
    EXPECT_EQ(read_thousands("Vous gagnez 1.234.567 realm points!", 0), 1234567);
    EXPECT_EQ(read_thousands("12.5 et 3", 0), 12);
    EXPECT_EQ(read_thousands("1.2345", 0), 1);
    EXPECT_EQ(read_thousands("1.234.", 0), 1234);
    EXPECT_EQ(read_thousands("sans chiffre", 0), 0);
    EXPECT_EQ(read_thousands("99.999.999.999", 0), 2147483647);
}

TEST(Experience, AwardsAfterAMonsterDeathAreItsKills) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    feed(stats, "12:00:00", "Vous recevez 1.234.567 points d'expérience.");
    feed(stats, "12:00:01", "Vous recevez 85 points d'expérience.");
    const MonsterStats& gobelin = stats.monsters[0];
    EXPECT_EQ(gobelin.kills, 2);
    EXPECT_EQ(gobelin.xp, 1234652);
    EXPECT_EQ(stats.lootOpenFlag, 1);
}

TEST(Experience, TotalsCarryIntoBillions) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    stats.monsters[0].xp = 999999000;
    stats.monsters[0].bonusXp = 999999000;
    feed(stats, "12:00:00", "Vous recevez 2.000 points d'expérience. (bonus : 2.000)");
    EXPECT_EQ(stats.monsters[0].xp, 1000);
    EXPECT_EQ(stats.monsters[0].xpBillions, 1);
    EXPECT_EQ(stats.monsters[0].bonusXp, 1000);
    EXPECT_EQ(stats.monsters[0].bonusXpBillions, 1);
}

TEST(Experience, ExtraPartsGoToTheCurrentMonsterEvenAfterRealmPoints) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    feed(stats, "12:00:01", "Vous gagnez 10 realm points!");
    feed(stats, "12:00:02", "Vous recevez 500 points d'expérience. (bonus : 1.500) (groupe : 30) (fort : 7)");
    const MonsterStats& gobelin = stats.monsters[0];
    EXPECT_EQ(gobelin.kills, 0);
    EXPECT_EQ(gobelin.xp, 0);
    EXPECT_EQ(gobelin.bonusXp, 1500);
    EXPECT_EQ(gobelin.groupXp, 30);
    EXPECT_EQ(gobelin.strongXp, 7);
    EXPECT_EQ(stats.realmKills[0].xp, 500);  // the base goes to the hunting table
}

TEST(Experience, ExperienceWithoutMonsterOrAwardIsDropped) {
    PartStats stats;
    feed(stats, "12:00:00", "Vous recevez 500 points d'expérience.");
    EXPECT_EQ(stats.realmKillLast, -1);
    EXPECT_EQ(stats.monsters[0].xp, 0);
    EXPECT_EQ(stats.monsters[0].kills, 0);
}

TEST(Experience, AnExtraPartWithoutClosingBracketEndsTheRun) {
    PartStats stats;
    EXPECT_EQ(fatal_message(stats, "12:00:00", "Vous recevez 5 points d'expérience. (groupe : 3"),
              latin1_of(" | [12:00:00] Vous recevez 5 points d'expérience. (groupe : 3\n"));
}

TEST(RealmPoints, BountyInAnotherSecondForgetsTheVictim) {
    PartStats stats;
    feed(stats, "12:00:00", "Vous gagnez 10 realm points!");
    feed(stats, "12:00:05", "Gorm vient de mourir.");
    feed(stats, "12:00:06", "Vous gagnez 3 Prime de Royaume!");
    EXPECT_EQ(stats.lastVictimName.view(), "Inconnu");
    EXPECT_EQ(stats.realmKills[0].bounty, 3);
}

TEST(RealmPoints, AwardsBeforeAnyEntryOnlyAddToAnEntry) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    feed(stats, "12:00:00", "Vous gagnez 20 points de royaume supplémentaires !");
    feed(stats, "12:00:00", "Vous gagnez 5 Primes de Royaume!");
    EXPECT_EQ(stats.realmKillLast, -1);
    EXPECT_EQ(stats.monsterDiedFlag, 0);  // additional points end the monster's claim too
}

TEST(RealmPoints, EveryAwardOpensAnEntryAndTheLastOneTakesWhatFollows) {
    PartStats stats;
    for (int i = 0; i <= 5000; ++i) {
        feed(stats, "12:00:00", "Gorm vient de mourir.");
        feed(stats, "12:00:00", "Vous gagnez 10 realm points!");
    }
    feed(stats, "12:00:00", "Vous gagnez 4 Primes de Royaume!");
    feed(stats, "12:00:00", "Vous recevez 7 points d'expérience.");
    ASSERT_EQ(stats.realmKillLast, 5000);
    const RealmKill& last = stats.realmKills[5000];
    EXPECT_EQ(last.victim.view(), "Gorm");
    EXPECT_EQ(last.realmPoints, 10);
    EXPECT_EQ(last.bounty, 4);
    EXPECT_EQ(last.xp, 7);
    EXPECT_EQ(stats.realmKills[4999].bounty, 0);
}

}  // namespace
}  // namespace korvanel
