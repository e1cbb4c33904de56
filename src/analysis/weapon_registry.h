// The weapon and style registry of a part: the weapon in use, the style in
// force, the (weapon, style) slot that weapon events are counted in, and for
// every style the weapon last used with it.
//
// The log names a weapon only in hit lines and never in style
// announcements, so a style performed before any hit gets a slot under the
// weapon "Inconnue", which the first weapon hit with that style adopts.
#pragma once

#include <string_view>

#include "analysis/log_line.h"
#include "stats/part_stats.h"

namespace korvanel {

// The pseudo-names of the weapon table.
inline constexpr std::string_view kUnknownWeapon = "Inconnue";
inline constexpr std::string_view kNoStyle = "Sans style";
inline constexpr std::string_view kRangeStyle = "Range";
inline constexpr std::string_view kMultipleStyle = "Multiple";

// currentStyle := name (cut to 49 characters).
void set_current_style(PartStats& stats, std::string_view name);

// currentWeapon := the weapon linked to currentStyle, or "Inconnue".
void weapon_for_style(PartStats& stats);

// Links currentStyle to currentWeapon, adding the style when it is new.
void link_style_to_weapon(PartStats& stats);

// Makes currentSlot the slot of (currentWeapon, currentStyle), creating it
// when needed; a slot of that style whose weapon name is an initial part of
// "Inconnue" adopts currentWeapon.
void select_weapon_slot(PartStats& stats);

// currentWeapon := the text after the line's first "votre " up to the
// line's first comma (empty when that comma comes first). A line without
// either ends the run with an empty message and the line.
void cut_weapon_name(const LogLine& line, PartStats& stats);

// The slot events are currently counted in.
inline WeaponStats& current_slot(PartStats& stats) { return stats.weapons[stats.currentSlot]; }

}  // namespace korvanel
