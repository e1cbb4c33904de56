#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

using Values = std::vector<std::int32_t>;

void fill(ValueSeries& series, std::initializer_list<int> values) {
    for (int v : values) series.push(v);
}

WeaponStats& add_slot(PartStats& stats, std::string_view weapon, std::string_view style,
                      std::initializer_list<int> hits, std::initializer_list<int> modifiers) {
    WeaponStats& slot = stats.weapons[stats.weaponCount++];
    slot.weaponName = weapon;
    slot.styleName = style;
    fill(slot.hits, hits);
    fill(slot.modifiers, modifiers);
    return slot;
}

TEST(PreciseShotSplit, MovesOutliersAgainstTheMeanOfWhatRemains) {
    auto stats = new_part_stats();
    WeaponStats& bow = add_slot(*stats, "arc long", "Range", {100, 100, 100, 100, 400}, {1, 2, 3, 4, 9});
    WeaponStats& equal = add_slot(*stats, "arc court", "Range", {80, 80, 80}, {0, 0, 0});
    WeaponStats& sword = add_slot(*stats, "Inconnue", "Sans style", {100, 100, 100, 100, 400}, {0, 0, 0, 0, 0});
    WeaponStats& axe = add_slot(*stats, "hache", "Rangement", {100, 100, 100, 100, 400}, {0, 0, 0, 0, 0});
    // The highest threshold is tried over all hits before a lower one; after
    // each move the mean is taken again and the thresholds start over.
    WeaponStats& darts = add_slot(*stats, "Inconnue", "Range", {24, 10, 10, 10, 10, 10, 10, 10, 10, 35},
                                  {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    // 16 exceeds only the lowest threshold, 1.5 times the mean of 10.6.
    WeaponStats& javelins = add_slot(*stats, "javelots", "Range", {10, 10, 10, 10, 10, 16, 10, 10, 10, 10},
                                     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // An excluded hit always moves, with its marker in the modifiers.
    WeaponStats& excluded = add_slot(*stats, "arbalète", "Range", {50, kExcludedValue, 50}, {0, kExcludedValue, 0});

    precise_shot_split(*stats);

    EXPECT_EQ(bow.hits.values(), (Values{100, 100, 100, 100}));
    EXPECT_EQ(bow.modifiers.values(), (Values{1, 2, 3, 4}));
    EXPECT_EQ(bow.preciseShots.values(), Values{400});
    EXPECT_EQ(bow.preciseModifiers.values(), Values{9});
    EXPECT_TRUE(equal.preciseShots.empty());
    EXPECT_EQ(equal.hits.count(), 3);
    EXPECT_TRUE(sword.preciseShots.empty());
    EXPECT_EQ(sword.hits.count(), 5);
    EXPECT_EQ(axe.hits.count(), 5);  // a melee style, whatever its name begins with
    EXPECT_EQ(darts.preciseShots.values(), (Values{35, 24}));
    EXPECT_EQ(darts.preciseModifiers.values(), (Values{10, 1}));
    EXPECT_EQ(darts.hits.values(), (Values{10, 10, 10, 10, 10, 10, 10, 10}));
    EXPECT_EQ(darts.modifiers.values(), (Values{9, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(javelins.preciseShots.values(), Values{16});
    EXPECT_EQ(excluded.preciseShots.values(), Values{kExcludedValue});
    EXPECT_EQ(excluded.preciseModifiers.values(), Values{kExcludedValue});
    EXPECT_EQ(excluded.hits.values(), (Values{50, 50}));
}

// The split as first written: the largest hit sought again before every move.
void plain_split(WeaponStats& slot) {
    for (;;) {
        const std::vector<std::int32_t>& hits = slot.hits.values();
        if (hits.empty()) return;
        double sum = 0;
        int counted = 0;
        for (std::int32_t v : hits) {
            if (v != kExcludedValue) sum += v, ++counted;
        }
        const double mean = counted == 0 ? 0.0 : sum / counted;
        const std::int32_t largest = *std::max_element(hits.begin(), hits.end());
        int k = 0;
        while (k < 6 && largest <= (2.0 - 0.1 * k) * mean) ++k;
        if (k == 6) return;
        std::size_t j = 0;
        while (hits[j] <= (2.0 - 0.1 * k) * mean) ++j;
        slot.preciseShots.push(hits[j]);
        slot.preciseModifiers.push(slot.modifiers[static_cast<int>(j)]);
        slot.hits.remove_by_swap(static_cast<int>(j));
        slot.modifiers.remove_by_swap(static_cast<int>(j));
    }
}

TEST(PreciseShotSplit, MovesTheHitsTheSplitAsFirstWrittenMoves) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        auto stats = new_part_stats();
        WeaponStats& slot = add_slot(*stats, "arc", "Range", {}, {});
        const int n = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < n; ++i) {
            // Mostly ordinary hits, some strong ones (repeated largest values
            // among them), now and then an excluded hit.
            const unsigned kind = random() % 10;
            const std::int32_t hit = kind == 0   ? kExcludedValue
                                     : kind < 4 ? 150 + static_cast<std::int32_t>(random() % 4) * 50
                                                : 80 + static_cast<std::int32_t>(random() % 40);
            slot.hits.push(hit);
            slot.modifiers.push(i);
        }
        WeaponStats plain = slot;
        plain_split(plain);
        precise_shot_split(*stats);
        ASSERT_EQ(slot, plain) << round;
    }
}

std::string section_of(const PartStats& stats, const MeleePreparation& prep) {
    return testing::page_text([&](PageWriter& page) { write_archery_section(page, stats, prep, "Resultats"); });
}

TEST(ArcherySection, AWeaponWithoutAttemptsShowsDashesForItsMissedShots) {
    auto stats = new_part_stats();
    add_slot(*stats, "javelot <lourd>", "Range", {}, {});
    MeleePreparation prep;
    prep.attempts = {0};
    prep.archery = {0};
    EXPECT_NE(section_of(*stats, prep)
                  .find(latin1("<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >javelot &lt;lourd&gt;</td>"
                               "<td width=\"80\">0</td><td width=\"80\">0(0)</td><td width=\"80\">-</td>"
                               "<td width=\"80\">0-0</td><td width=\"80\">-</td><td width=\"250\"><b>-,</b> ("
                               "- ratés, - bloqués, - esquivés, - bullés, - fumble)</td></tr></table>")
                            .view()),
              std::string::npos);
}

}  // namespace
}  // namespace korvanel
