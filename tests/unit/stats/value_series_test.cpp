#include <gtest/gtest.h>

#include "stats/part_stats.h"
#include "stats/value_series.h"

namespace korvanel {
namespace {

TEST(ValueSeries, FiguresSkipTheExcludedValue) {
    ValueSeries s;
    s.push(10);
    s.push(kExcludedValue);
    s.push(20);
    EXPECT_EQ(s.count(), 3);
    EXPECT_DOUBLE_EQ(s.mean(), 15.0);
    EXPECT_DOUBLE_EQ(s.stddev(), 5.0);
    EXPECT_EQ(s.min(), 10);
    EXPECT_EQ(s.max(), 20);

    ValueSeries only_marker;
    only_marker.push(kExcludedValue);
    EXPECT_EQ(only_marker.count(), 1);
    EXPECT_DOUBLE_EQ(only_marker.mean(), 0.0);
    EXPECT_DOUBLE_EQ(only_marker.stddev(), 0.0);
    EXPECT_EQ(only_marker.min(), 0);
    EXPECT_EQ(only_marker.max(), 0);

    ValueSeries small;
    for (int v : {1, 2, 4}) small.push(v);
    EXPECT_EQ(round_half_up(small.mean()), 2);
    EXPECT_NEAR(small.stddev(), 1.247, 0.001);
    EXPECT_EQ(round_half_up(small.stddev()), 1);
}

TEST(RoundHalfUp, HalvesRoundUpAndExtremesSaturate) {
    EXPECT_EQ(round_half_up(2.5), 3);
    EXPECT_EQ(round_half_up(2.49), 2);
    EXPECT_EQ(round_half_up(-1.3), -1);
    EXPECT_EQ(round_half_up(-1.5), -1);
    EXPECT_EQ(round_half_up(-1.7), -2);
    EXPECT_EQ(round_half_up(1e12), 2147483647);
    EXPECT_EQ(round_half_up(-1e12), -2147483647 - 1);
}

TEST(PartStats, AFreshRecordHasItsInitialValues) {
    auto stats = new_part_stats();
    EXPECT_EQ(stats->weaponCount + stats->spellCount + stats->craftCount + stats->monsterCount + stats->killerCount, 0);
    EXPECT_EQ(stats->realmKillLast, -1);
    EXPECT_EQ(stats->currentWeapon.view(), "Inconnue");
    EXPECT_EQ(stats->lastHealTarget.view(), "Inconnu");
    EXPECT_EQ(stats->lastVictimName.view(), "Inconnu");
    EXPECT_EQ(stats->killerName.view(), "Inconnu");
    EXPECT_EQ(stats->incomingType, 7);
    EXPECT_EQ(stats->pendingDotKind, 1);
    EXPECT_EQ(stats->unstyledFlag, 1);
    EXPECT_EQ(stats->incantationStart, -1);
    EXPECT_EQ(stats->duelEndStamp, -1);
    EXPECT_EQ(stats->lastVictimStamp, -1);
    // Slot 0 exists before it is first used, and keeps what it is given.
    stats->crafts[0].qualities.push(97);
    EXPECT_EQ(stats->crafts[0].name.view(), "");
    EXPECT_EQ(stats->crafts[0].qualities.count(), 1);
}

}  // namespace
}  // namespace korvanel
