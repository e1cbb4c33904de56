#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/weapon_registry.h"
#include "diag/messages.h"

namespace korvanel {
namespace {

// Selects the slot of (weapon, style) and returns its index.
int slot_of(PartStats& stats, std::string_view weapon, std::string_view style) {
    stats.currentWeapon = weapon;
    set_current_style(stats, style);
    select_weapon_slot(stats);
    return stats.currentSlot;
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

// The search the registry must answer as: front to back over the slots.
struct PlainRegistry {
    struct Slot {
        std::string weapon, style;
    };
    std::vector<Slot> slots;
    std::vector<std::pair<std::string, std::string>> links;  // style, weapon

    int select(const std::string& weapon, const std::string& style) {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (slots[i].style != style) continue;
            if (std::string_view(kUnknownWeapon).starts_with(slots[i].weapon)) slots[i].weapon = weapon;
            if (slots[i].weapon == weapon) return static_cast<int>(i);
        }
        slots.push_back({weapon, style});
        return static_cast<int>(slots.size()) - 1;
    }
    std::string weapon_for(const std::string& style) const {
        for (const auto& [linked_style, weapon] : links) {
            if (linked_style == style) return weapon;
        }
        return std::string(kUnknownWeapon);
    }
    void link(const std::string& style, const std::string& weapon) {
        for (auto& [linked_style, linked_weapon] : links) {
            if (linked_style == style) {
                linked_weapon = weapon;
                return;
            }
        }
        links.emplace_back(style, weapon);
    }
};

TEST(WeaponRegistry, SlotsAndLinksAreTheOnesTheSearchFromTheFrontFinds) {
    // Initial parts of "Inconnue" among the weapons, so that slots are
    // adopted, and enough names to share hash places and to grow the tables
    // and their shortcuts several times.
    std::vector<std::string> weapons = {"", "I", "Inco", "Inconnue", "Inconnues", "hache", "masse"};
    std::vector<std::string> styles = {"Sans style", "Multiple", "Range", ""};
    for (int i = 0; i < 60; ++i) weapons.push_back("arme " + std::to_string(i));
    for (int i = 0; i < 150; ++i) styles.push_back("style " + std::to_string(i * 7919));
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        auto stats = new_part_stats();
        PlainRegistry plain;
        // Few styles early on, all of them later, so that the tables grow late too.
        for (int step = 0; step < 4000; ++step) {
            const std::size_t style_range = step < 2000 ? 20 : styles.size();
            const std::string& style = styles[random() % style_range];
            set_current_style(*stats, style);
            if (random() % 4 == 0) {
                weapon_for_style(*stats);
                ASSERT_EQ(stats->currentWeapon.view(), plain.weapon_for(style)) << seed << " " << step;
                continue;
            }
            const std::string& weapon = weapons[random() % weapons.size()];
            stats->currentWeapon = weapon;
            if (random() % 3 == 0) {
                link_style_to_weapon(*stats);
                plain.link(style, weapon);
                continue;
            }
            const int expected = plain.select(weapon, style);
            select_weapon_slot(*stats);
            ASSERT_EQ(stats->currentSlot, expected) << seed << " " << step;
        }
        ASSERT_EQ(stats->weaponCount, static_cast<int>(plain.slots.size()));
        for (int i = 0; i < stats->weaponCount; ++i) {
            EXPECT_EQ(stats->weapons[i].weaponName.view(), plain.slots[static_cast<std::size_t>(i)].weapon);
            EXPECT_EQ(stats->weapons[i].styleName.view(), plain.slots[static_cast<std::size_t>(i)].style);
        }
        EXPECT_EQ(stats->styleLinkCount, static_cast<int>(plain.links.size()));
    }
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
