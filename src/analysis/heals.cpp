#include "analysis/events.h"
#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kYouHeal = latin1("Vous soignez ");
constexpr auto kYouHealYourself = latin1("Vous vous soignez");
constexpr auto kYouAreFull = latin1("Vos points de vie sont au maximum.");
constexpr auto kTargetIsFull = latin1("n'a plus besoin de soins.");
constexpr auto kTargetEnd = latin1("de");

// The target of "Vous soignez <target> de ..." starts right after the verb.
constexpr std::size_t kTargetColumn = kMessageColumn + kYouHeal.size();

// The text from `from` up to the character before column `marker` (the
// blank in front of the marker); empty when nothing lies in between.
std::string_view name_before(const LogLine& line, std::size_t from, std::size_t marker) {
    if (marker == 0) return {};
    return cut_to(line.slice(from, marker - 1), Name49::capacity);
}
}  // namespace

// Heals in the cast second go to the current spell. A heal that topped its
// target up moves from the spell's amounts to its capped heals, so that the
// report can tell the heals that were needed from those that were not.
void recognise_heal(const LogLine& line, PartStats& stats) {
    const bool heals_other = line.message_starts_with(kYouHeal);
    const bool heals_self = line.message_starts_with(kYouHealYourself);
    const bool self_full = line.message_starts_with(kYouAreFull);
    const bool target_full = line.message_contains(kTargetIsFull);
    if (line.minute_second() != stats.castTime) return;

    SpellStats& spell = stats.spells[stats.currentSpell];
    if (heals_other || heals_self) {
        push_value(spell.amounts, line.message_number());
        note_amount(line, stats, AmountKind::Healed, line.message_number());
        spell.spellKind = 2;
        stats.castingFlag = 1;
    }
    if (heals_other) {
        const std::size_t end = line.find(kTargetEnd);
        if (end == kNotFound) fatal_error("", line.text());
        stats.lastHealTarget = name_before(line, kTargetColumn, end);
    }
    if (target_full) {
        // A target other than the one just healed was already full: the
        // heal that reached it did nothing.
        const std::string_view target = name_before(line, kMessageColumn, line.find(kTargetIsFull));
        if (stats.lastHealTarget != target) {
            push_value(spell.amounts, 0);
            note_amount(line, stats, AmountKind::Healed, 0);
        }
    }
    if ((self_full || target_full) && !spell.amounts.empty()) {
        push_value(spell.cappedHeals, spell.amounts.last());
        spell.amounts.pop_last();
    }
}

namespace {
// The texts without which the recogniser leaves a line alone.
constexpr std::string_view kHealTextList[] = {kYouHeal, kYouHealYourself, kYouAreFull, kTargetIsFull};
}  // namespace
const TextList kHealTexts = kHealTextList;

}  // namespace korvanel
