#include "analysis/weapon_registry.h"

#include "console/console.h"
#include "console/messages.h"

namespace korvanel {

namespace {
constexpr std::string_view kWeaponTableFull = "tableau des armes plein\n";
constexpr std::string_view kStyleTableFull = "table des styles pleine\n";
constexpr std::string_view kWeaponStart = "votre ";

void warn(std::string_view text) {
    if (Console* console = warning_console()) console->write(text);
}

// Index of the link of currentStyle, or -1.
int find_style_link(const PartStats& stats) {
    for (int i = 0; i < stats.styleLinkCount; ++i) {
        if (stats.styleLinks[i].styleName == stats.currentStyle.view()) return i;
    }
    return -1;
}
}  // namespace

void set_current_style(PartStats& stats, std::string_view name) { stats.currentStyle = name; }

void weapon_for_style(PartStats& stats) {
    const int link = find_style_link(stats);
    stats.currentWeapon = link < 0 ? kUnknownWeapon : stats.styleLinks[link].weaponName.view();
}

void link_style_to_weapon(PartStats& stats) {
    int link = find_style_link(stats);
    if (link < 0) {
        if (stats.styleLinkCount >= decltype(stats.styleLinks)::capacity) {
            warn(kStyleTableFull);
            return;
        }
        link = stats.styleLinkCount++;
        stats.styleLinks[link].styleName = stats.currentStyle.view();
    }
    stats.styleLinks[link].weaponName = stats.currentWeapon.view();
}

bool select_weapon_slot(PartStats& stats) {
    for (int i = 0; i < stats.weaponCount; ++i) {
        WeaponStats& slot = stats.weapons[i];
        if (slot.styleName != stats.currentStyle) continue;
        if (kUnknownWeapon.starts_with(slot.weaponName.view())) {
            slot.weaponName = stats.currentWeapon.view();
            stats.currentSlot = i;
            return true;
        }
        if (slot.weaponName == stats.currentWeapon) {
            stats.currentSlot = i;
            return true;
        }
    }
    if (stats.weaponCount >= decltype(stats.weapons)::capacity) {
        warn(kWeaponTableFull);
        return false;
    }
    const int index = stats.weaponCount++;
    WeaponStats& slot = stats.weapons[index];
    slot.weaponName = stats.currentWeapon.view();
    slot.styleName = stats.currentStyle.view();
    stats.currentSlot = index;
    return true;
}

void cut_weapon_name(const LogLine& line, PartStats& stats) {
    const std::size_t start = line.find(kWeaponStart);
    const std::size_t comma = line.find(",");
    if (start == kNotFound || comma == kNotFound) fatal_error("", line.text());
    stats.currentWeapon = line.slice(start + kWeaponStart.size(), comma);
}

}  // namespace korvanel
