// The announcements that set the state the result lines are read against:
// shots, styles (performed, prepared, fallback, abandoned, failed), spell
// casts and the damage-over-time markers.
#include "analysis/recognisers.h"
#include "analysis/spells.h"
#include "analysis/weapon_registry.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kPrepareShot = latin1("Vous préparez votre tir");
constexpr auto kShoot = latin1("Vous tirez");
constexpr auto kStylePerformed = latin1("Vous exécutez parfaitement");
constexpr auto kStylePrepared = latin1("Vous vous préparez à exécuter");
constexpr auto kFallbackStyle = latin1("Vous vous préparez maintenant à effectuer le style de secours");
constexpr auto kFallbackEnd = latin1("pour pallier");
constexpr auto kStyleNameStart = latin1("votre");
constexpr auto kTooFar = latin1("trop loin pour une attaque");
constexpr auto kNotInView = latin1("n'est pas en vue ");
constexpr auto kCombatMode = latin1("Vous passez en mode combat");
constexpr auto kNoLongerPreparing = latin1("Vous n'êtes plus en train de vous préparer à utiliser");
constexpr auto kFumble = latin1("Vous ratez lamentablement");
constexpr auto kStyleFailed = latin1("Vous ne parvenez pas à exécuter parfaitement");
constexpr auto kCast = latin1("Vous lancez le sort");
constexpr auto kPoisoned = latin1("est victime d'un empoisonnement !");
constexpr auto kBleeds = latin1("saigne !");
constexpr auto kMagicBurst = latin1("déferlement d'énergies magiques");
constexpr auto kAcidCloud = latin1("Un nuage acide entoure");
constexpr auto kOpenWounds = latin1("voit sa peau se couvrir de plaies ouvertes !");

// The style name begins this far after the fallback announcement's start.
constexpr std::size_t kFallbackNameOffset = 63;
// The spell name begins this far after the cast announcement's start.
constexpr std::size_t kSpellNameOffset = 20;

// "Vous exécutez parfaitement votre X !" and "Vous vous préparez à exécuter
// votre X.": the name runs from after "votre " to " !", else to ".", else to
// the end of the line.
std::string_view cut_announced_style(const LogLine& line) {
    const std::size_t votre = line.find(kStyleNameStart);
    if (votre == kNotFound) fatal_error("", line.text());
    const std::size_t start = votre + kStyleNameStart.size() + 1;
    std::size_t end = line.find(" !", start);
    if (end == kNotFound) end = line.find(".", start);
    if (end == kNotFound) return line.rest_from(start);
    return line.slice(start, end);
}

// "Vous vous préparez maintenant à effectuer le style de secours X pour
// pallier ...": the name ends one character before "pour pallier".
std::string_view cut_fallback_style(const LogLine& line) {
    const std::size_t start = kMessageColumn + kFallbackNameOffset;
    const std::size_t end = line.find(kFallbackEnd, start);
    if (end == kNotFound) fatal_error("", line.text());
    return line.slice(start, end - 1);
}

void shot_announcement(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kPrepareShot) && !line.message_starts_with(kShoot)) return;
    set_current_style(stats, kRangeStyle);
    stats.unstyledFlag = 0;
    stats.styleDoneFlag = 1;
    stats.castingFlag = 0;
}

void style_announcement(const LogLine& line, PartStats& stats) {
    const bool performed = line.message_starts_with(kStylePerformed);
    const bool prepared = line.message_starts_with(kStylePrepared);
    const bool fallback = line.message_starts_with(kFallbackStyle);
    if (!performed && !prepared && !fallback) return;
    stats.unstyledFlag = 0;
    stats.castingFlag = 0;
    set_current_style(stats, fallback ? cut_fallback_style(line) : cut_announced_style(line));
    weapon_for_style(stats);
    select_weapon_slot(stats);
    if (!performed) return;
    const std::int32_t bonus = line.message_number();
    stats.styleDoneFlag = 1;
    weapon_for_style(stats);
    select_weapon_slot(stats);
    current_slot(stats).styleBonuses.push(bonus);
}

void style_abandoned(const LogLine& line, PartStats& stats) {
    if (!line.contains(kTooFar) && !line.contains(kNotInView) && !line.message_starts_with(kCombatMode) &&
        !line.message_starts_with(kNoLongerPreparing) && !line.message_starts_with(kFumble)) {
        return;
    }
    set_current_style(stats, kNoStyle);
    stats.unstyledFlag = 1;
    stats.castingFlag = 0;
}

void style_failed(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kStyleFailed)) return;
    ++current_slot(stats).stylesFailed;
    set_current_style(stats, kNoStyle);
    weapon_for_style(stats);
    select_weapon_slot(stats);
    stats.unstyledFlag = 1;
    stats.castingFlag = 0;
}

void spell_cast(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kCast)) return;
    const std::size_t start = kMessageColumn + kSpellNameOffset;
    const std::size_t end = line.find(" !", start);
    if (end == kNotFound) fatal_error("", line.text());
    const int spell = register_spell(stats, line.slice(start, end));
    stats.currentSpell = spell;
    stats.castTime = line.minute_second();
    stats.castingFlag = 1;
    stats.pendingDotKind = 0;
    ++stats.spells[spell].casts;
    stats.lastHealTarget = "Inconnu";
}

// The kind of the next "Vous touchez" line of this second: 1 poison, 2
// bleeding, 3 burst of magical energies, 4 acid cloud, 5 open wounds.
void damage_over_time_marker(const LogLine& line, PartStats& stats) {
    int kind = 0;
    if (line.contains(kPoisoned)) kind = 1;
    if (line.contains(kBleeds)) kind = 2;
    if (line.contains(kMagicBurst)) kind = 3;
    if (line.message_starts_with(kAcidCloud)) kind = 4;
    if (line.contains(kOpenWounds)) kind = 5;
    if (kind == 0) return;
    stats.pendingDotKind = kind;
    stats.castTime = line.minute_second();
}
}  // namespace

void recognise_announcement(const LogLine& line, PartStats& stats) {
    shot_announcement(line, stats);
    style_announcement(line, stats);
    style_abandoned(line, stats);
    style_failed(line, stats);
    spell_cast(line, stats);
    damage_over_time_marker(line, stats);
}

namespace {
// The texts without which the recogniser leaves a line alone.
constexpr std::string_view kAnnouncementTextList[] = {
    kPrepareShot, kShoot,     kStylePerformed, kStylePrepared, kFallbackStyle, kTooFar,     kNotInView,
    kCombatMode,  kNoLongerPreparing, kFumble, kStyleFailed,   kCast,          kPoisoned,   kBleeds,
    kMagicBurst,  kAcidCloud, kOpenWounds};
}  // namespace
const TextList kAnnouncementTexts = kAnnouncementTextList;

}  // namespace korvanel
