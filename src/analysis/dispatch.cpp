#include "analysis/dispatch.h"

#include "analysis/recognisers.h"

namespace korvanel {

namespace {
using Recogniser = void (*)(const LogLine&, PartStats&);

// The order is part of the behaviour: a recogniser sees what the ones before
// it have just done on the same line.
constexpr Recogniser kRecognisers[] = {
    recognise_critical,          // criticals, berserk, damage-over-time success
    recognise_received_damage,   // "Vous encaissez", by the type the previous line left
    recognise_incoming_type,     // sets the incoming type, reset on every line
    recognise_announcement,      // weapon, style, spell and shot announcements
    recognise_multiple_attack,   // several blows in one second
    recognise_hit,               // melee and ranged hits, procs, "Vous touchez"
    recognise_heal,              // heals in the cast second
    recognise_miss,              // misses and blows absorbed by a barrier
    recognise_fumble,            // "Vous ratez lamentablement"
    recognise_evade,             // "esquive votre attaque"
    recognise_parry,             // "pare votre attaque"
    recognise_block,             // "bloque votre attaque"
    recognise_monster_hit,       // blows received
    recognise_avoidance,         // attacks on the player that failed
    recognise_resist,            // resisted spells and procs
    recognise_damage_add,        // "subit": damage adds and damage shields
    recognise_swing_timer,       // interval between melee blows
    recognise_shot_timer,        // interval between announced shots
    recognise_incantation,       // casting time
    recognise_crafting,          // crafted items and skill gains
    on_monster_death_group,      // monster death, experience, realm points, money, loot
    record_player_death,         // the player's deaths, duels
    record_killer_name,          // who killed someone
    record_victim,               // the player's victims
};
}  // namespace

void dispatch_line(const LogLine& line, PartStats& stats) {
    for (Recogniser recognise : kRecognisers) recognise(line, stats);
}

}  // namespace korvanel
