// The recognisers, one family per source file. Each looks for its own game
// messages in a line and updates the part's statistics; they keep no state
// of their own, so the order in which `dispatch_line` runs them matters.
#pragma once

#include <span>
#include <string_view>

#include "analysis/log_line.h"
#include "stats/part_stats.h"

namespace korvanel {

// The texts a recogniser looks for: a line that holds none of them (anywhere,
// time stamp included) is one the recogniser leaves alone.
using TextList = std::span<const std::string_view>;

// melee.cpp: criticals and berserk, multiple attacks, hits, misses and
// absorbed blows, fumbles, evades, parries, blocks, the swing timer.
void recognise_critical(const LogLine& line, PartStats& stats);
void recognise_multiple_attack(const LogLine& line, PartStats& stats);
void recognise_hit(const LogLine& line, PartStats& stats);
void recognise_miss(const LogLine& line, PartStats& stats);
void recognise_fumble(const LogLine& line, PartStats& stats);
void recognise_evade(const LogLine& line, PartStats& stats);
void recognise_parry(const LogLine& line, PartStats& stats);
void recognise_block(const LogLine& line, PartStats& stats);
void recognise_swing_timer(const LogLine& line, PartStats& stats);
extern const TextList kCriticalTexts, kMultipleAttackTexts, kHitTexts, kMissTexts, kFumbleTexts, kEvadeTexts,
    kParryTexts, kBlockTexts, kSwingTimerTexts;

// announcements.cpp: shot, style and spell announcements, damage-over-time markers.
void recognise_announcement(const LogLine& line, PartStats& stats);
extern const TextList kAnnouncementTexts;

// archery.cpp: the shot timer.
void recognise_shot_timer(const LogLine& line, PartStats& stats);
extern const TextList kShotTimerTexts;

// spells.cpp: incantation timing and resists.
void recognise_incantation(const LogLine& line, PartStats& stats);
void recognise_resist(const LogLine& line, PartStats& stats);
extern const TextList kIncantationTexts, kResistTexts;

// heals.cpp
void recognise_heal(const LogLine& line, PartStats& stats);
extern const TextList kHealTexts;

// defense.cpp: damage received, incoming type, monster hits, avoidance,
// damage adds and damage shields.
void recognise_received_damage(const LogLine& line, PartStats& stats);
void recognise_incoming_type(const LogLine& line, PartStats& stats);
void recognise_monster_hit(const LogLine& line, PartStats& stats);
void recognise_avoidance(const LogLine& line, PartStats& stats);
void recognise_damage_add(const LogLine& line, PartStats& stats);
// What a line without any incoming-type text still does: the type goes back to 7.
void reset_incoming_type(PartStats& stats);
extern const TextList kReceivedDamageTexts, kIncomingTypeTexts, kMonsterHitTexts, kAvoidanceTexts, kDamageAddTexts;

// crafting.cpp
void recognise_crafting(const LogLine& line, PartStats& stats);
extern const TextList kCraftingTexts;

// kills.cpp: the monster chain and the deaths around the player.
void on_monster_death_group(const LogLine& line, PartStats& stats);
void record_monster_death(const LogLine& line, PartStats& stats);
void record_player_death(const LogLine& line, PartStats& stats);
void record_killer_name(const LogLine& line, PartStats& stats);
void record_victim(const LogLine& line, PartStats& stats);
extern const TextList kMonsterDeathTexts, kPlayerDeathTexts, kKillerNameTexts, kVictimTexts;

// rewards.cpp: experience, realm points and bounty.
void record_experience(const LogLine& line, PartStats& stats);
void record_realm_points(const LogLine& line, PartStats& stats);
extern const TextList kExperienceTexts, kRealmPointTexts;

// loot.cpp: money and loot.
void record_money(const LogLine& line, PartStats& stats);
void record_loot(const LogLine& line, PartStats& stats);
extern const TextList kMoneyTexts, kLootTexts;

}  // namespace korvanel
