#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "diag/messages.h"
#include "test_support.h"

namespace korvanel {
namespace {

WeaponStats& add_slot(PartStats& stats, std::string_view weapon, std::string_view style) {
    WeaponStats& slot = stats.weapons[stats.weaponCount++];
    slot.weaponName = weapon;
    slot.styleName = style;
    return slot;
}

std::string section_text(const PartStats& stats) {
    const MeleePreparation prep = prepare_melee(stats);
    return testing::page_text([&](PageWriter& page) { write_melee_section(page, stats, prep, "p"); });
}

TEST(MeleePreparation, GroupsByWeaponNameBeginningAndListsRangedAndMultipleSlots) {
    auto stats = new_part_stats();
    add_slot(*stats, "hache de guerre", "Sans style").hits.push(10);
    add_slot(*stats, "Inconnue", "Taille").misses = 4;
    add_slot(*stats, "arc", "Range").hits.push(10);
    add_slot(*stats, "hache", "Taille").fumbles = 2;
    add_slot(*stats, "hache", "Multiple").evaded = 3;
    add_slot(*stats, "hache de guerre", "Taille").blocked = 1;
    const MeleePreparation prep = prepare_melee(*stats);
    ASSERT_EQ(prep.groups.size(), 1u);
    EXPECT_EQ(prep.groups[0].name.view(), "hache de guerre");
    EXPECT_EQ(prep.groups[0].slots, (std::vector<int>{0, 3, 5}));
    EXPECT_EQ(prep.archery, std::vector<int>{2});
    EXPECT_EQ(prep.multiple, std::vector<int>{4});
    // The unknown weapon is shown nowhere but its attempts count.
    EXPECT_EQ(prep.meleeAttempts, 1 + 4 + 2 + 3 + 1);
    EXPECT_EQ(prep.multipleAttempts, 3);
}

TEST(MeleePreparation, MoreThanTwentyWeaponsEndTheRun) {
    auto stats = new_part_stats();
    for (int i = 0; i < 20; ++i) add_slot(*stats, "arme" + std::to_string(100 + i), "Sans style");
    EXPECT_NO_THROW(prepare_melee(*stats));
    add_slot(*stats, "arme200", "Sans style");
    try {
        prepare_melee(*stats);
        ADD_FAILURE();
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "trop d'armes utilisees");
        EXPECT_FALSE(error.line);
    }
}

TEST(MeleeSection, FiguresOverAZeroDivisorShowADash) {
    auto stats = new_part_stats();
    add_slot(*stats, "hache", "Sans style");
    add_slot(*stats, "hache", "Taille");
    add_slot(*stats, "hache", "Multiple").misses = 1;  // every melee attempt is a multiple one
    const std::string text = section_text(*stats);
    EXPECT_NE(text.find("<td width=\"200\" height=\"25\" ><i>Total</i>(+0)</td><td width=\"70\">0</td>"
                        "<td width=\"70\">0(0)</td><td width=\"70\">-</td><td width=\"70\">0-0</td>"
                        "<td width=\"70\">-</td><td width=\"70\">-</td><td width=\"270\"><b>-,</b> (- rat"),
              std::string::npos);
    EXPECT_NE(text.find("- fumble)</td><td width=\"70\">-</td></tr>"), std::string::npos);
    EXPECT_NE(text.find("(doubles : -)</font> ("), std::string::npos);
    EXPECT_NE(text.find("<td width=\"270\">hache</td><td width=\"80\">0</td><td width=\"80\">0(0)</td>"
                        "<td width=\"80\">-</td><td width=\"80\">0-0</td><td width=\"80\">-</td>"
                        "<td width=\"80\">-</td><td width=\"270\"><b>100.0%,</b>"),
              std::string::npos);
}

}  // namespace
}  // namespace korvanel
