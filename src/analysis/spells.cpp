#include "analysis/spells.h"

#include "analysis/recognisers.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kInterrupted = latin1("vous attaque, vous empêchant de poursuivre votre incantation !");
constexpr auto kIncantationStart = latin1("Vous commencez à incanter");
constexpr auto kIncantationOfYour = latin1("Vous commencez l'incantation de votre ");
constexpr auto kSpellCast = latin1("Vous lancez le sort");
constexpr auto kEffectResisted = latin1("résiste à l'effet");
constexpr auto kEnragedResists = latin1("Votre cible est enragée et résiste au sort !");

// An incantation longer than this belongs to no cast.
constexpr std::int32_t kLongestIncantation = 7;
}  // namespace

int register_spell(PartStats& stats, std::string_view name) {
    name = cut_to(name, SpellName::capacity);
    for (int i = 0; i < stats.spellCount; ++i) {
        if (stats.spells[i].name.view().starts_with(name)) return i;
    }
    const int index = stats.spellCount++;
    stats.spells[index].name = name;
    return index;
}

// Measures the time from the start of an incantation to the cast. The cast
// announcement has already made its spell current on this line.
void recognise_incantation(const LogLine& line, PartStats& stats) {
    if (line.message_contains(kInterrupted)) stats.incantationStart = -1;
    if (line.message_starts_with(kIncantationStart) || line.message_starts_with(kIncantationOfYour)) {
        stats.incantationStart = line.seconds();
    }
    if (!line.message_starts_with(kSpellCast)) return;
    std::int32_t delay = 0;  // no incantation: an instant cast
    if (stats.incantationStart != -1) {
        delay = mod32(add32(sub32(line.seconds(), stats.incantationStart), 60), 60);
    }
    // A start too long ago stays in force for the next cast.
    if (delay > kLongestIncantation) return;
    push_value(stats.spells[stats.currentSpell].castDelays, delay);
    stats.incantationStart = -1;
}

// A resist while a spell is being cast counts for the spell when it comes in
// the cast second; otherwise it is a weapon's damage proc that was resisted,
// listed in the slot's procs without weighing in any of its figures.
void recognise_resist(const LogLine& line, PartStats& stats) {
    if (!line.contains(kEffectResisted) && !line.contains(kEnragedResists)) return;
    if (stats.castingFlag == 0) {
        push_value(stats.weapons[stats.currentSlot].procs, kExcludedValue);
    } else if (line.minute_second() == stats.castTime) {
        ++stats.spells[stats.currentSpell].spellResists;
    }
}

namespace {
// The texts without which each recogniser leaves a line alone.
constexpr std::string_view kIncantationTextList[] = {kInterrupted, kIncantationStart, kIncantationOfYour, kSpellCast};
constexpr std::string_view kResistTextList[] = {kEffectResisted, kEnragedResists};
}  // namespace
const TextList kIncantationTexts = kIncantationTextList;
const TextList kResistTexts = kResistTextList;

}  // namespace korvanel
