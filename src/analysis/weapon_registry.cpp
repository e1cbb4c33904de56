#include "analysis/weapon_registry.h"

#include <utility>

#include "diag/messages.h"
#include "text/byte_search.h"

namespace korvanel {

namespace {
constexpr std::string_view kWeaponStart = "votre ";

// Whether two names are the same, without a call for the short ones.
bool same_name(std::string_view a, std::string_view b) {
    return a.size() == b.size() && same_bytes(a.data(), b.data(), a.size());
}

// Index of the link of currentStyle, or -1 (a style has at most one link).
int find_style_link(const PartStats& stats) {
    return stats.styleLinkIndex.find(name_hash(stats.currentStyle.view()), [&](int i) {
        return same_name(stats.styleLinks[i].styleName, stats.currentStyle);
    });
}

std::uint64_t slot_hash(const PartStats& stats) {
    return name_hash(stats.currentWeapon.view()) ^ (name_hash(stats.currentStyle.view()) * 31);
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
        link = stats.styleLinkCount++;
        stats.styleLinks[link].styleName = stats.currentStyle.view();
        stats.styleLinkIndex.add(name_hash(stats.currentStyle.view()), link);
    }
    stats.styleLinks[link].weaponName = stats.currentWeapon.view();
}

// The search from the front stops at the first slot of currentStyle whose
// weapon is currentWeapon or an initial part of "Inconnue". A slot the search
// passed over keeps its names for good (a style never changes, a weapon name
// changes only while it is an initial part of "Inconnue"), so a remembered
// slot that still holds exactly (currentWeapon, currentStyle) is the slot
// the search would stop at, and taking it changes nothing more.
void select_weapon_slot(PartStats& stats) {
    const std::uint64_t hash = slot_hash(stats);
    const int hinted = stats.weaponHints.slot_for(hash);
    if (hinted >= 0 && hinted < stats.weaponCount) {
        const WeaponStats& slot = std::as_const(stats.weapons)[hinted];
        if (same_name(slot.styleName, stats.currentStyle) && same_name(slot.weaponName, stats.currentWeapon)) {
            stats.currentSlot = hinted;
            return;
        }
    }
    for (int i = 0; i < stats.weaponCount; ++i) {
        WeaponStats& slot = stats.weapons[i];
        if (slot.styleName != stats.currentStyle) continue;
        if (kUnknownWeapon.starts_with(slot.weaponName.view())) {
            slot.weaponName = stats.currentWeapon.view();
            stats.currentSlot = i;
            stats.weaponHints.remember(hash, i);
            return;
        }
        if (slot.weaponName == stats.currentWeapon) {
            stats.currentSlot = i;
            stats.weaponHints.remember(hash, i);
            return;
        }
    }
    const int index = stats.weaponCount++;
    WeaponStats& slot = stats.weapons[index];
    slot.weaponName = stats.currentWeapon.view();
    slot.styleName = stats.currentStyle.view();
    stats.currentSlot = index;
    stats.weaponHints.remember(hash, index);
}

void cut_weapon_name(const LogLine& line, PartStats& stats) {
    const std::size_t start = line.find(kWeaponStart);
    const std::size_t comma = line.find(",");
    if (start == kNotFound || comma == kNotFound) fatal_error("", line.text());
    stats.currentWeapon = line.slice(start + kWeaponStart.size(), comma);
}

}  // namespace korvanel
