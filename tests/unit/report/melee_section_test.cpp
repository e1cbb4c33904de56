#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
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

TEST(MeleeSection, TheTotalRowGathersEveryHitOfTheGroup) {
    auto stats = new_part_stats();
    WeaponStats& plain = add_slot(*stats, "hache", "Sans style");
    WeaponStats& styled = add_slot(*stats, "hache", "Taille");
    for (int i = 0; i < 3000; ++i) {
        plain.hits.push(10);
        styled.hits.push(i < 2999 ? 30 : 6030);
    }
    EXPECT_NE(section_text(*stats).find("<i>Total</i>(+0)</td><td width=\"70\">6000</td>"
                                        "<td width=\"70\">21(0)</td><td width=\"70\">372%</td>"
                                        "<td width=\"70\">10-6030</td>"),
              std::string::npos);
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
