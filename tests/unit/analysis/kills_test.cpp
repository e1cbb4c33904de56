#include <gtest/gtest.h>

#include "analysis/death_chain.h"

namespace korvanel {
namespace {

using testing::feed;

TEST(MonsterDeath, NamesTheMonsterAndMakesItCurrent) {
    PartStats stats;
    stats.lootOpenFlag = 1;
    feed(stats, "12:00:00", "Le gobelin meurt !");
    EXPECT_EQ(stats.monsterCount, 1);
    EXPECT_EQ(stats.monsters[0].name.view(), "Le gobelin");
    EXPECT_EQ(stats.monsterDiedFlag, 1);
    EXPECT_EQ(stats.lootOpenFlag, 0);

    feed(stats, "12:01:00", "le gobelin meurt !");  // case counts
    feed(stats, "12:02:00", "Le gobelin meurt !");
    EXPECT_EQ(stats.monsterCount, 2);
    EXPECT_EQ(stats.monsters[1].name.view(), "le gobelin");
    EXPECT_EQ(stats.currentMonster, 0);
}

TEST(MonsterDeath, NamesAreBoundedAndMayBeEmpty) {
    PartStats stats;
    const std::string long_name(60, 'g');
    feed(stats, "12:00:00", long_name + " meurt !");
    feed(stats, "12:00:01", long_name.substr(0, 49) + "x meurt !");  // same first 49 bytes
    EXPECT_EQ(stats.monsterCount, 1);
    EXPECT_EQ(stats.monsters[0].name.view(), long_name.substr(0, 49));

    feed(stats, "12:00:02", "meurt !");  // nothing before the marker
    EXPECT_EQ(stats.monsterCount, 2);
    EXPECT_EQ(stats.monsters[1].name.view(), "");
    EXPECT_EQ(stats.currentMonster, 1);
}

TEST(MonsterDeath, EveryMonsterOfAFullTableIsFoundAgainInItsSlot) {
    auto stats = new_part_stats();
    // Names that share their first and last eight bytes differ only in the middle.
    auto name = [](int i) { return "Le gobelin " + std::to_string(i) + " des collines"; };
    for (int i = 0; i < 500; ++i) feed(*stats, "12:00:00", name(i) + " meurt !");
    ASSERT_EQ(stats->monsterCount, 500);
    for (int i = 499; i >= 0; --i) {
        feed(*stats, "12:00:01", name(i) + " meurt !");
        ASSERT_EQ(stats->currentMonster, i);
        ASSERT_EQ(stats->monsters[i].name.view(), name(i));
    }
    EXPECT_EQ(stats->monsterCount, 500);
}

// The number of deaths counted after a duel that ended at `duel_end`.
int deaths_after_duel(std::string_view duel_end, std::string_view death) {
    PartStats stats;
    feed(stats, duel_end, "Votre duel est terminé!");
    feed(stats, death, "Vous êtes mort pour le royaume.");
    return stats.killerCount == 0 ? 0 : stats.killers[0].deaths;
}

TEST(PlayerDeath, DeathsCloseToTheEndOfADuelAreTheLostDuel) {
    EXPECT_EQ(deaths_after_duel("12:30:04", "12:30:04"), 0);
    EXPECT_EQ(deaths_after_duel("12:30:04", "12:30:05"), 0);
    EXPECT_EQ(deaths_after_duel("12:30:05", "12:30:04"), 0);
    EXPECT_EQ(deaths_after_duel("12:30:04", "12:30:07"), 1);
    EXPECT_EQ(deaths_after_duel("12:30:04", "13:30:04"), 0);  // the hour is not compared
    EXPECT_EQ(deaths_after_duel("12:30:59", "12:31:00"), 1);
}

TEST(PlayerDeath, WithoutADuelEveryDeathCounts) {
    PartStats stats;
    feed(stats, "12:00:00", "Vous êtes mort pour le royaume.");
    feed(stats, "12:00:01", "Vous êtes mort pour le royaume.");
    ASSERT_EQ(stats.killerCount, 1);
    EXPECT_EQ(stats.killers[0].name.view(), "Inconnu");
    EXPECT_EQ(stats.killers[0].deaths, 2);
}

TEST(KillerName, TheNameEndsOneCharacterBeforeTheExclamationMark) {
    PartStats stats;
    EXPECT_EQ(stats.killerName.view(), "Inconnu");
    feed(stats, "12:00:00", "Lia vient juste d'être tué dans [Plaine] par Gorm!");
    EXPECT_EQ(stats.killerName.view(), "Gor");
    feed(stats, "12:00:01", "Lia vient juste d'être tué dans [Plaine] par Gorm !");
    EXPECT_EQ(stats.killerName.view(), "Gorm");

    // Lines that cannot be cut leave the name as it was.
    feed(stats, "12:00:02", "Lia vient juste d'être tué dans [Plaine] !");
    feed(stats, "12:00:03", "Lia vient juste d'être tué dans [Plaine] par Tuk");
    EXPECT_EQ(stats.killerName.view(), "Gorm");

    feed(stats, "12:00:04", "Lia vient juste d'être tué dans [Plaine] par !");
    EXPECT_EQ(stats.killerName.view(), "");
}

TEST(Victim, TheVictimIsBoldAfterThePlayersKillingBlow) {
    PartStats stats;
    feed(stats, "12:00:00", "Vous venez de tuer Gorm !");
    feed(stats, "12:00:01", "Gorm vient de mourir.");
    EXPECT_EQ(stats.lastVictimName.view(), "Gorm");
    EXPECT_TRUE(stats.lastVictimByPlayer);
    EXPECT_EQ(stats.lastVictimStamp, 1);
    EXPECT_EQ(stats.playerKillFlag, 0);

    feed(stats, "12:00:02", "Tuk vient de mourir.");
    EXPECT_EQ(stats.lastVictimName.view(), "Tuk");
    EXPECT_FALSE(stats.lastVictimByPlayer);
}

TEST(Victim, AKillAnnouncementNamesTheVictimUnlessAlsoJustDied) {
    PartStats stats;
    stats.playerKillFlag = 1;
    feed(stats, "12:34:56", "Lia vient juste d'être tué dans [Plaine] par Gorm !");
    EXPECT_EQ(stats.lastVictimName.view(), "Lia");
    EXPECT_FALSE(stats.lastVictimByPlayer);
    EXPECT_EQ(stats.playerKillFlag, 1);  // kept for the next "vient de mourir"
    EXPECT_EQ(stats.lastVictimStamp, 3456);

    feed(stats, "12:34:57", "Sla vient de mourir, vient juste d'être tué dans [Plaine] par Gorm !");
    EXPECT_EQ(stats.lastVictimName.view(), "Sla");
    EXPECT_TRUE(stats.lastVictimByPlayer);
}

}  // namespace
}  // namespace korvanel
