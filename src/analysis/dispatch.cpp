#include "analysis/dispatch.h"

#include <bit>
#include <initializer_list>
#include <utility>
#include <vector>

#include "analysis/first_look.h"
#include "analysis/recognisers.h"
#include "analysis/searched_texts.h"

namespace korvanel {

namespace {
using Recogniser = void (*)(const LogLine&, PartStats&);

struct Step {
    Recogniser run;
    // The step runs on a line that holds one of these texts...
    std::initializer_list<const TextList*> texts;
    // ...and on any other line only does this (when given).
    void (*otherwise)(PartStats&) = nullptr;
};

// The order is part of the behaviour: a recogniser sees what the ones before
// it have just done on the same line.
const Step kSteps[] = {
    {recognise_critical, {&kCriticalTexts}},                   // criticals, berserk, damage-over-time success
    {recognise_received_damage, {&kReceivedDamageTexts}},      // "Vous encaissez", by the type the previous line left
    {recognise_incoming_type, {&kIncomingTypeTexts}, reset_incoming_type},  // the type, reset on every line
    {recognise_announcement, {&kAnnouncementTexts}},           // weapon, style, spell and shot announcements
    {recognise_multiple_attack, {&kMultipleAttackTexts}},      // several blows in one second
    {recognise_hit, {&kHitTexts}},                             // melee and ranged hits, procs, "Vous touchez"
    {recognise_heal, {&kHealTexts}},                           // heals in the cast second
    {recognise_miss, {&kMissTexts}},                           // misses and blows absorbed by a barrier
    {recognise_fumble, {&kFumbleTexts}},                       // "Vous ratez lamentablement"
    {recognise_evade, {&kEvadeTexts}},                         // "esquive votre attaque"
    {recognise_parry, {&kParryTexts}},                         // "pare votre attaque"
    {recognise_block, {&kBlockTexts}},                         // "bloque votre attaque"
    {recognise_monster_hit, {&kMonsterHitTexts}},              // blows received
    {recognise_avoidance, {&kAvoidanceTexts}},                 // attacks on the player that failed
    {recognise_resist, {&kResistTexts}},                       // resisted spells and procs
    {recognise_damage_add, {&kDamageAddTexts}},                // "subit": damage adds and damage shields
    {recognise_swing_timer, {&kSwingTimerTexts}},              // interval between melee blows
    {recognise_shot_timer, {&kShotTimerTexts}},                // interval between announced shots
    {recognise_incantation, {&kIncantationTexts}},             // casting time
    {recognise_crafting, {&kCraftingTexts}},                   // crafted items and skill gains
    {on_monster_death_group,                                   // monster death, experience, realm points, money, loot
     {&kMonsterDeathTexts, &kExperienceTexts, &kRealmPointTexts, &kMoneyTexts, &kLootTexts}},
    {record_player_death, {&kPlayerDeathTexts}},               // the player's deaths, duels
    {record_killer_name, {&kKillerNameTexts}},                 // who killed someone
    {record_victim, {&kVictimTexts}},                          // the player's victims
};
constexpr int kStepCount = static_cast<int>(std::size(kSteps));
static_assert(kStepCount <= kFirstLookSteps, "one bit per step");
static_assert(std::size(kSearchedTexts) <= TextScanner::kMaskBits - kFirstLookSteps, "one bit per searched text");

// A longer text is looked for by its beginning: a line that holds the text
// holds its beginning too.
constexpr std::size_t kLookedForLength = kSearchedPrefix;

const TextScanner& first_look() {
    static const TextScanner scanner = [] {
        std::vector<std::pair<std::string_view, std::uint64_t>> texts;
        for (int step = 0; step < kStepCount; ++step) {
            for (const TextList* list : kSteps[step].texts) {
                for (std::string_view text : *list) {
                    texts.emplace_back(text.substr(0, kLookedForLength), std::uint64_t{1} << step);
                }
            }
        }
        for (std::string_view text : kSearchedTexts) {
            texts.emplace_back(text.substr(0, kLookedForLength), kSearchedTable.bit_of(text));
        }
        return TextScanner(texts);
    }();
    return scanner;
}
}  // namespace

// The steps that do something even on a line without their texts.
std::uint32_t steps_with_otherwise() {
    std::uint32_t steps = 0;
    for (int step = 0; step < kStepCount; ++step) {
        if (kSteps[step].otherwise != nullptr) steps |= std::uint32_t{1} << step;
    }
    return steps;
}

std::uint64_t first_look_at(std::string_view text) { return first_look().scan(text); }

void first_look_at(const std::string_view* texts, std::uint64_t* looks, std::size_t count) {
    first_look().scan_many(texts, looks, count);
}

void dispatch_line(const LogLine& line, PartStats& stats) {
    static const std::uint32_t kOtherwise = steps_with_otherwise();
    const std::uint64_t look = line.has_first_look() ? line.first_look() : first_look().scan(line.text());
    const auto wanted = static_cast<std::uint32_t>(look & ((std::uint64_t{1} << kFirstLookSteps) - 1));
    // Only the steps concerned, lowest (earliest) first.
    for (std::uint32_t pending = wanted | kOtherwise; pending != 0; pending &= pending - 1) {
        const int step = std::countr_zero(pending);
        if ((wanted >> step) & 1U) {
            kSteps[step].run(line, stats);
        } else {
            kSteps[step].otherwise(stats);
        }
    }
}

}  // namespace korvanel
