#include <gtest/gtest.h>

#include <string>

#include "analysis/weapon_registry.h"
#include "console/messages.h"
#include "console/scripted_console.h"

namespace korvanel {
namespace {

// Selects the slot of (weapon, style) and returns its index, or -1 when the table is full.
int slot_of(PartStats& stats, std::string_view weapon, std::string_view style) {
    stats.currentWeapon = weapon;
    set_current_style(stats, style);
    return select_weapon_slot(stats) ? stats.currentSlot : -1;
}

TEST(WeaponRegistry, AStyleSlotUnderTheUnknownWeaponIsAdoptedByTheFirstWeapon) {
    auto stats = new_part_stats();
    EXPECT_EQ(slot_of(*stats, kUnknownWeapon, "Taille"), 0);
    EXPECT_EQ(slot_of(*stats, "hache", "Taille"), 0);
    EXPECT_EQ(stats->weapons[0].weaponName.view(), "hache");
    // The adopted slot now belongs to its weapon: another weapon gets its own.
    EXPECT_EQ(slot_of(*stats, "masse", "Taille"), 1);
    EXPECT_EQ(slot_of(*stats, "hache", "Taille"), 0);
    EXPECT_EQ(slot_of(*stats, "hache", "Sans style"), 2);
    EXPECT_EQ(stats->weaponCount, 3);
}

TEST(WeaponRegistry, EachStyleRemembersTheWeaponOfItsLastHit) {
    auto stats = new_part_stats();
    set_current_style(*stats, "Taille");
    weapon_for_style(*stats);
    EXPECT_EQ(stats->currentWeapon.view(), kUnknownWeapon);
    for (std::string_view weapon : {"hache", "masse"}) {
        stats->currentWeapon = weapon;
        link_style_to_weapon(*stats);
    }
    stats->currentWeapon = "autre";
    weapon_for_style(*stats);
    EXPECT_EQ(stats->currentWeapon.view(), "masse");
    EXPECT_EQ(stats->styleLinkCount, 1);
}

TEST(WeaponRegistry, FullTablesWarnAndChangeNothing) {
    ScriptedConsole console;
    set_warning_console(&console);
    auto stats = new_part_stats();
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(slot_of(*stats, "arme" + std::to_string(i), "Sans style"), i);
        link_style_to_weapon(*stats);
    }
    slot_of(*stats, "arme7", "Sans style");
    EXPECT_EQ(slot_of(*stats, "arme100", "Sans style"), -1);
    EXPECT_EQ(stats->currentSlot, 7);
    EXPECT_EQ(stats->weaponCount, 100);

    for (int i = 1; i < 100; ++i) {
        set_current_style(*stats, "style" + std::to_string(i));
        link_style_to_weapon(*stats);
    }
    set_current_style(*stats, "style100");
    link_style_to_weapon(*stats);
    EXPECT_EQ(stats->styleLinkCount, 100);
    set_warning_console(nullptr);
    EXPECT_EQ(console.output, "tableau des armes plein\ntable des styles pleine\n");
}

TEST(WeaponRegistry, WeaponNameRunsFromVotreToTheFirstCommaOfTheLine) {
    auto stats = new_part_stats();
    cut_weapon_name(LogLine("[10:00:00] Vous attaquez le loup avec votre hache, et infligez 5, 6\n"), *stats);
    EXPECT_EQ(stats->currentWeapon.view(), "hache");
    cut_weapon_name(LogLine("[10:00:00] Vous attaquez Ulf, avec votre hache, et infligez 5\n"), *stats);
    EXPECT_EQ(stats->currentWeapon.view(), "");
    const std::string long_name(70, 'x');
    cut_weapon_name(LogLine("[10:00:00] Vous attaquez avec votre " + long_name + ", 5\n"), *stats);
    EXPECT_EQ(stats->currentWeapon.view(), long_name.substr(0, 59));

    for (const char* text : {"[10:00:00] Vous attaquez avec votre hache et infligez 5\n",
                             "[10:00:00] Vous attaquez le loup, 5 points\n"}) {
        try {
            cut_weapon_name(LogLine(text), *stats);
            ADD_FAILURE() << text;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.message, "");
            EXPECT_EQ(error.line, text);
        }
    }
}

}  // namespace
}  // namespace korvanel
