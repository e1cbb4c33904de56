// The log generator: realistic game logs of any length, for the benchmark,
// the tests and the sample log.
//
// A log is a sequence of play sessions (each opened and closed by the game
// client) made of episodes: melee fights with styles and multiple attacks,
// archery, spell casting, group heals, incoming attacks, monster hunts with
// their experience, money and loot, realm fights with kills and deaths,
// duels, crafting and chat on every channel. Optionally the log is cut into
// named parts by the in-log part commands.
//
// The same options always give the same bytes. The text is ISO-8859-1, as
// the game writes it. Every line is well formed (no recogniser ever ends the
// run on it) and, unless the log is unbounded, the names used stay within
// the table sizes the analysis once had.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvanel::loggen {

// What a generated line tells, so that a benchmark can replay one kind at a time.
enum class LineKind {
    kMeleeHit,         // "Vous attaquez ..."
    kStyle,            // style announcements, failures and abandons
    kMeleeMiss,        // misses, fumbles, evades, parries, blocks, absorbed blows
    kCritical,         // critical hits, berserk
    kProc,             // weapon procs, damage adds and shields
    kDamageOverTime,   // poison, bleeding, acid, magic and wound markers and their hits
    kShot,             // archery announcements, shots and interruptions
    kSpellCast,        // incantations and casts
    kSpellResult,      // spell damage, criticals, resists, misses
    kHeal,             // heal amounts and full-health messages
    kMonsterAttack,    // blows received from monsters
    kAvoidance,        // attacks on the player that failed
    kReceivedDamage,   // incoming attack kinds and "Vous encaissez"
    kMonsterDeath,     // "... meurt !"
    kExperience,       // "Vous recevez ... points d'expérience"
    kMoney,            // coins picked up or shared
    kLoot,             // "... laisse ..."
    kRealmPoints,      // realm points and bounty
    kKillsAndDeaths,   // kills, the player's deaths, duels
    kCrafting,         // crafting starts, results and skill gains
    kTarget,           // "Vous visez [...]"
    kOther,            // everything no recogniser looks for
    kChat,             // chat lines (never analysed, kept for the transcript)
    kLogSession,       // "*** Journal ouvert : " and "*** Journal fermé : "
    kPartCommand,      // "[TOUS]:  ]log ..."
    kCount
};

std::string_view kind_name(LineKind kind);

struct Options {
    std::uint64_t lines = 1000;  // exactly this many lines
    std::uint64_t seed = 1;
    int parts = 1;  // 1 to 10: above 1, part commands cut the log into that many parts

    // Ceilings that keep every log within the table sizes the analysis once
    // had: the logs of the tests stay what they were.
    int storedLineBudget = 29000;  // chat and log-opening lines in the whole log
    int realmAwardBudget = 4500;   // realm-point awards per part

    // A log with no ceiling, as years of play give: every budget lifted,
    // 2,080 monsters, 169 spells, 300 crafted items, and the chat of a
    // sociable player (about one line in five).
    bool unbounded = false;
};

// Calls `sink` once per line, in log order, with the line and its line break.
void generate_log(const Options& options, const std::function<void(LineKind, std::string_view)>& sink);

// The whole log as one text.
std::string generate_log_text(const Options& options);

}  // namespace korvanel::loggen
