#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/events.h"
#include "stats/part_stats.h"
#include "stats/timeline.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

constexpr std::int32_t at(int h, int m, int s) { return h * 3600 + m * 60 + s; }

struct Shape {
    std::int32_t start, length, kills, deaths;
    bool operator==(const Shape&) const = default;
};

std::vector<Shape> shapes(const Timeline& t) {
    std::vector<Shape> out;
    for (std::size_t i = 0; i < t.fight_count(); ++i) {
        const Fight f = t.fight(i);
        out.push_back({f.start, f.length, static_cast<std::int32_t>(f.kills), static_cast<std::int32_t>(f.deaths)});
    }
    return out;
}

TEST(Timeline, AStepOfFifteenSecondsStaysInTheFightSixteenStartsAnother) {
    Timeline t;
    t.add_amount(at(10, 0, 0), AmountKind::Melee, 100);
    t.add_amount(at(10, 0, 0), AmountKind::Received, 7);
    t.add_amount(at(10, 0, 15), AmountKind::Melee, 50);
    t.add_amount(at(10, 0, 31), AmountKind::Healed, 0);  // 16 seconds later; a 0 is an event
    t.finish();
    EXPECT_EQ(shapes(t), (std::vector<Shape>{{at(10, 0, 0), 16, 0, 0}, {at(10, 0, 31), 1, 0, 0}}));
    const std::vector<SecondRow> first = t.seconds(t.fight(0));
    ASSERT_EQ(first.size(), 2U);
    EXPECT_EQ(first[0].offset, 0);
    EXPECT_EQ(first[0].sums, (AmountSums{100, 0, 0, 0, 7, 0}));
    EXPECT_EQ(first[1].offset, 15);
    EXPECT_EQ(first[1].sums, (AmountSums{50, 0, 0, 0, 0, 0}));
    ASSERT_EQ(t.seconds(t.fight(1)).size(), 1U);
    EXPECT_EQ(t.sums(t.fight(0)), (AmountSums{150, 0, 0, 0, 7, 0}));
    EXPECT_EQ(t.totals(), (AmountSums{150, 0, 0, 0, 7, 0}));
}

TEST(Timeline, MidnightContinuesAFightAStepBackStartsOne) {
    Timeline t;
    t.add_amount(at(23, 59, 55), AmountKind::Spells, 10);
    t.add_amount(at(0, 0, 5), AmountKind::Spells, 20);   // 10 seconds after midnight's step
    t.add_amount(at(0, 0, 4), AmountKind::Spells, 30);   // a step back of 1 second
    t.add_amount(at(11, 0, 0), AmountKind::Spells, 40);  // 11 hours later
    t.add_amount(at(0, 0, 0), AmountKind::Spells, 50);   // a step back of 11 hours: no midnight
    t.finish();
    EXPECT_EQ(shapes(t), (std::vector<Shape>{{at(23, 59, 55), 11, 0, 0},
                                             {at(0, 0, 4), 1, 0, 0},
                                             {at(11, 0, 0), 1, 0, 0},
                                             {at(0, 0, 0), 1, 0, 0}}));
    EXPECT_EQ(t.seconds(t.fight(0)).back().offset, 10);
}

TEST(Timeline, KillsAndDeathsCountInTheFightUpToFifteenSecondsAfterIt) {
    Timeline t;
    t.add_kill(at(9, 0, 0));  // before any amount: the part's total only
    t.add_amount(at(10, 0, 0), AmountKind::Melee, 1);
    t.add_kill(at(10, 0, 15));
    t.add_death(at(10, 0, 15));
    t.add_kill(at(10, 0, 16));   // 16 seconds after the last amount: no fight
    t.add_death(at(9, 59, 59));  // before it: no fight
    t.add_amount(at(10, 0, 5), AmountKind::Melee, 1);  // the kill did not lengthen the fight
    t.finish();
    EXPECT_EQ(shapes(t), (std::vector<Shape>{{at(10, 0, 0), 6, 1, 1}}));
    EXPECT_EQ(t.kills(), 3);
    EXPECT_EQ(t.deaths(), 2);
    ASSERT_EQ(t.marks().size(), 1U);
    EXPECT_EQ(t.marks()[0], (FightMark{0, 15, 1, 1}));
}

TEST(Timeline, ALineWithoutClockTakesTheTimeOfThePreviousAmount) {
    Timeline t;
    t.add_amount(Timeline::kNoClock, AmountKind::Melee, 5);  // no event yet: dropped
    t.add_kill(Timeline::kNoClock);
    t.add_amount(at(10, 0, 0), AmountKind::Melee, 1);
    t.add_amount(at(10, 0, 9), AmountKind::Melee, 1);
    t.add_amount(Timeline::kNoClock, AmountKind::Other, 3);
    t.add_kill(Timeline::kNoClock);
    t.finish();
    EXPECT_EQ(shapes(t), (std::vector<Shape>{{at(10, 0, 0), 10, 1, 0}}));
    EXPECT_EQ(t.seconds(t.fight(0)).back().sums, (AmountSums{1, 0, 0, 3, 0, 0}));
    EXPECT_EQ(t.kills(), 1);
}

TEST(Timeline, LargeAndNegativeSumsKeepTheirSixtyFourBits) {
    Timeline t;
    for (int i = 0; i < 3; ++i) t.add_amount(at(1, 2, 3), AmountKind::Healed, 2147483647);
    t.add_amount(at(1, 2, 4), AmountKind::Melee, -2147483647 - 1);
    t.add_amount(at(1, 2, 4), AmountKind::Other, -1);
    t.finish();
    const std::vector<SecondRow> rows = t.seconds(t.fight(0));
    EXPECT_EQ(rows[0].sums[5], 3 * std::int64_t{2147483647});
    EXPECT_EQ(rows[1].sums, (AmountSums{-2147483647 - 1, 0, 0, -1, 0, 0}));
}

std::unique_ptr<PartStats> after(std::initializer_list<std::string_view> lines) {
    auto stats = new_part_stats();
    for (std::string_view text : lines) dispatch_line(LogLine(text), *stats);
    stats->timeline.finish();
    return stats;
}

// The events of a line, by the series its value goes to.
AmountSums sums_after(std::initializer_list<std::string_view> lines) { return after(lines)->timeline.totals(); }

TEST(TimelineEvents, EachSeriesGivesItsKind) {
    // melee, and the excluded marker of a hit on a door
    EXPECT_EQ(sums_after({latin1("[10:00:00] Vous attaquez Nolar avec votre lance, et lui infligez 131 (+10) points "
                                 "de dégâts !\n"),
                          latin1("[10:00:01] Vous attaquez les Portes avec votre lance, et lui infligez 99 points de "
                                 "dégâts !\n")}),
              (AmountSums{131, 0, 0, 0, 0, 0}));
    // archery: the slot of style "Range"
    EXPECT_EQ(sums_after({latin1("[20:00:00] Vous préparez votre tir.\n"),
                          latin1("[20:00:03] Vous tirez avec votre arc long, et touchez le gobelin pour 100 (+2) "
                                 "points de dégâts.\n")}),
              (AmountSums{0, 100, 0, 0, 0, 0}));
    // spells: a damage line while casting, and its critical
    EXPECT_EQ(sums_after({latin1("[20:14:05] Vous lancez le sort Trait de givre !\n"),
                          latin1("[20:14:05] Vous frappez et infligez 152 (+12) points de dégâts au loup gris !\n"),
                          latin1("[20:14:06] Vous réussissez un coup critique et infligez 40 points de dégâts "
                                 "supplémentaires !\n")}),
              (AmountSums{0, 0, 192, 0, 0, 0}));
    // other: a damage shield
    EXPECT_EQ(sums_after({latin1("[10:00:00] Le gobelin subit 12 points de dégâts.\n")}),
              (AmountSums{0, 0, 0, 12, 0, 0}));
    // received: damage taken and a monster's blow
    EXPECT_EQ(sums_after({latin1("[10:00:00] Vous encaissez 105 points de dégâts.\n"),
                          latin1("[10:00:01] Le nain vous frappe au bras pour 55 points de dégâts !\n")}),
              (AmountSums{0, 0, 0, 0, 160, 0}));
    // healed: a heal in the cast second, and the 0 of another target already full
    const auto stats = after({latin1("[10:12:30] Vous lancez le sort Soin majeur !\n"),
                              latin1("[10:12:30] Vous soignez Alric de 212 points de vie.\n"),
                              latin1("[10:12:30] Brisa n'a plus besoin de soins.\n")});
    EXPECT_EQ(stats->timeline.totals(), (AmountSums{0, 0, 0, 0, 0, 212}));
    ASSERT_EQ(stats->timeline.fight_count(), 1U);
    EXPECT_EQ(stats->spells[0].cappedHeals.count(), 1);  // the 0 moved, and stays an event
}

TEST(TimelineEvents, OnlyAValidStampGivesAClock) {
    EXPECT_EQ(line_clock(LogLine("[00:00:00] x")), 0);
    EXPECT_EQ(line_clock(LogLine("[23:59:59]")), 86399);
    EXPECT_EQ(line_clock(LogLine("[09:05:07] x")), 9 * 3600 + 5 * 60 + 7);
    for (const char* bad : {"[24:00:00] x", "[12:60:00] x", "[12:00:60] x", "[1:00:000] x", "[12:00:0a] x",
                            "[12:0/:00] x", "[12:00:00) x", "(12:00:00] x", "[12-00:00] x", "[12:00:00", "",
                            "*** Journal ouvert : Fri Sep 16 19:59:58 2022", "[\xb2\xb2:00:00] x"}) {
        EXPECT_EQ(line_clock(LogLine(bad)), Timeline::kNoClock) << bad;
    }
}

// Lines take the clock their whole stamp gives, however the seconds of a
// minute already read are found.
TEST(TimelineEvents, ALineTakesTheClockOfItsWholeStamp) {
    Timeline by_line, by_clock;
    for (std::string_view text : std::initializer_list<std::string_view>{
             "[00:00:07] a", "[00:00:12] a", "[00:00:7x] a", "[00:00:6", "[00:01:03] a", "[00:01:03] b",
             std::string_view("\0\0\0\0\0\0\0" "12] a", 12), "[00:01:1a] a", "[10:01:15] a", "[10:01:59] a",
             "[10:01:60] a", "[10:02:00] a", "[00:01:05] a"}) {
        by_line.add_amount_on_line(text, AmountKind::Melee, 1);
        by_clock.add_amount(stamp_clock(text), AmountKind::Melee, 1);
    }
    by_line.finish();
    by_clock.finish();
    ASSERT_EQ(shapes(by_line), shapes(by_clock));
    EXPECT_EQ(shapes(by_line).size(), 5U);
    for (std::size_t i = 0; i < by_line.fight_count(); ++i) {
        const std::vector<SecondRow> got = by_line.seconds(by_line.fight(i));
        const std::vector<SecondRow> want = by_clock.seconds(by_clock.fight(i));
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t r = 0; r < got.size(); ++r) {
            EXPECT_EQ(got[r].offset, want[r].offset);
            EXPECT_EQ(got[r].sums, want[r].sums);
        }
    }
}

TEST(TimelineEvents, KillsAndDeathsAreTheRecognisersOwn) {
    const auto stats = after({
        latin1("[10:00:00] Vous encaissez 5 points de dégâts.\n"),
        latin1("[10:00:01] Le gobelin meurt !\n"),  // a kill
        latin1("[10:00:02] Gorm vient de mourir.\n"),
        latin1("[10:00:02] Vous gagnez 123 realm points!\n"),                            // a kill: an entry opens
        latin1("[10:00:03] Vous gagnez 12 points de royaume supplémentaires !\n"),  // no entry of its own
        latin1("[10:00:04] Votre duel est terminé!\n"),
        latin1("[10:00:05] Vous êtes mort pour le royaume.\n"),  // the lost duel: no death
        latin1("[10:00:09] Vous êtes mort pour le royaume.\n"),  // a death
    });
    EXPECT_EQ(stats->timeline.kills(), 2);
    EXPECT_EQ(stats->timeline.deaths(), 1);
}

}  // namespace
}  // namespace korvanel
