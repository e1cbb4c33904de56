#include <gtest/gtest.h>

#include "analysis/death_chain.h"

namespace korvanel {
namespace {

using testing::fatal_message;
using testing::feed;

std::int32_t money_of(std::string_view message) {
    PartStats stats;
    feed(stats, "12:00:00", message);
    return stats.monsters[0].money;
}

TEST(Money, UnitsAreCountedInCopperPieces) {
    EXPECT_EQ(money_of("Vous ramassez 15 pièces d'argent et 30 pièces de cuivre."), 1530);
    EXPECT_EQ(money_of("Vous ramassez 1 pièce d'or, 15 pièces d'argent et 1 pièce de cuivre."), 11501);
    EXPECT_EQ(money_of("Vous ramassez 1 pièce d'argent et 2 pièces de cuivre."), 102);
    EXPECT_EQ(money_of("Vous ramassez une épée."), 0);
    EXPECT_EQ(money_of("Vous ramassez 3 pièces d'étain."), 0);
}

TEST(Loot, LootCountsForTheMonsterThatDiedLast) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    feed(stats, "12:00:00", "Vous recevez 10 points d'expérience.");
    feed(stats, "12:00:01", "Le gobelin laisse une dague.");
    feed(stats, "12:01:00", "Le loup meurt !");
    feed(stats, "12:01:00", "Le loup laisse une dague.");  // before its experience: ignored
    feed(stats, "12:01:00", "Vous recevez 10 points d'expérience.");
    feed(stats, "12:01:01", "Le loup laisse une dague.");
    feed(stats, "12:01:01", "Le loup laisse une dague.");
    EXPECT_EQ(stats.monsters[0].lootQuantities[0], 1);
    ASSERT_EQ(stats.monsters[1].lootCount, 1);
    EXPECT_EQ(stats.monsters[1].lootNames[0].view(), "une dague");
    EXPECT_EQ(stats.monsters[1].lootQuantities[0], 2);
}

TEST(Loot, ALineThatCannotBeCutEndsTheRun) {
    PartStats stats;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    feed(stats, "12:00:00", "Vous recevez 10 points d'expérience.");
    EXPECT_EQ(fatal_message(stats, "12:00:01", "Le gobelin laisse une dague"),
              " | [12:00:01] Le gobelin laisse une dague\n");
}

}  // namespace
}  // namespace korvanel
