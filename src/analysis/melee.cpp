// The results of the player's own blows and shots: criticals, multiple
// attacks, hits (with the spell damage and procs that share their lines),
// misses, fumbles, evades, parries, blocks and the swing timer.
#include "analysis/events.h"
#include "analysis/recognisers.h"
#include "analysis/weapon_registry.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kRageStart = latin1("La rage de Modi vous submerge !");
constexpr auto kRageEnd = latin1("Votre rage berserk prend fin.");
constexpr auto kCritical = latin1("Vous réussissez un coup critique");
constexpr auto kDotCritical = latin1("Votre sort de dégâts répétés a réussi parfaitement, il inflige ");

constexpr auto kMiss = latin1("Vous ratez votre coup");
constexpr auto kFumble = latin1("Vous ratez lamentablement");
constexpr auto kNoDamage = latin1("Vous ne parvenez pas à endommager");
constexpr auto kMovedAndMissed = latin1("Votre déplacement vous a fait rater votre coup !");
constexpr auto kAttack = latin1("Vous attaquez");
constexpr auto kAttackSpeedBack = latin1("Vous attaquez à nouveau à vitesse normale");
constexpr auto kAttackFerocity = latin1("Vous attaquez avec une férocité renouvelée!");
constexpr auto kEvaded = latin1("esquive votre attaque");
constexpr auto kParried = latin1("pare votre attaque");
constexpr auto kBlocked = latin1("bloque votre attaque");
constexpr auto kAbsorbed = latin1("Votre coup est absorbé par une barrière magique!");

constexpr auto kInterposed = latin1("s'avance devant vous et encaisse le coup !");
constexpr auto kShoot = latin1("Vous tirez");
constexpr auto kSpellStrike = latin1("Vous frappez et infligez");
constexpr auto kTouch = latin1("Vous touchez");
constexpr auto kTrebuchet = latin1("Vous tirez avec votre le trébuchet !");
constexpr auto kIntoTheSky = latin1("Vous tirez droit au zénith !");
constexpr auto kCatapult = latin1("Vous tirez avec votre la catapulte !");
constexpr auto kPalintone = latin1("Vous tirez avec votre le palintone !");
// Lines that begin like a hit but are not one (siege engines, shots into the air).
constexpr std::string_view kNotHits[] = {kAttackSpeedBack, kAttackFerocity, kTrebuchet,
                                         kIntoTheSky,      kCatapult,       kPalintone};

// Targets whose hits must not weigh in the figures (doors and keep lords).
constexpr auto kGates = latin1("les Portes");
constexpr auto kLord = latin1("Seigneur ");
constexpr auto kCommander = latin1("le Commandant des Champions ");
constexpr auto kGuardian = latin1("le Gardien ");
constexpr std::string_view kExcludedTargets[] = {kGates, kLord, kCommander, kGuardian};
// The target follows "Vous attaquez " in the message text.
constexpr std::size_t kTargetColumn = kMessageColumn + 14;

constexpr auto kCombatMode = latin1("Vous passez en mode combat");
constexpr auto kTooFar = latin1("trop loin pour une attaque");
constexpr auto kNotInView = latin1("n'est pas en vue ");
constexpr auto kNeedTarget = latin1("Vous devez avoir une cible pour utiliser un style de combat !");
constexpr auto kLogClosed = latin1("*** Journal fermé : ");
constexpr auto kLogOpened = latin1("*** Journal ouvert : ");

// Indices of the dealt damage series fed by "Vous touchez" after a marker.
constexpr std::size_t kDealtPoison = 0;
constexpr std::size_t kDealtBleeding = 3;
constexpr std::size_t kDealtAcid = 4;
constexpr std::size_t kDealtDisease = 5;
// pendingDotKind values.
constexpr int kDotSpell = 0;
constexpr int kDotPoison = 1;
constexpr int kDotBleeding = 2;
constexpr int kDotMagicBurst = 3;
constexpr int kDotAcid = 4;
constexpr int kDotOpenWounds = 5;
constexpr int kDotNothing = 6;

bool is_miss(const LogLine& line) {
    return line.message_starts_with(kMiss) || line.message_starts_with(kNoDamage) ||
           line.message_starts_with(kMovedAndMissed);
}

bool is_melee_attack(const LogLine& line) {
    return line.message_starts_with(kAttack) && !line.message_starts_with(kAttackSpeedBack) &&
           !line.message_starts_with(kAttackFerocity);
}

bool is_target_defense(const LogLine& line) {
    return line.contains(kBlocked) || line.contains(kParried) || line.contains(kEvaded);
}

// A weapon event: counts in the slot of the weapon linked to the style in
// force ("Sans style" unless a style is pending).
void select_for_weapon_event(PartStats& stats) {
    if (stats.unstyledFlag == 1) set_current_style(stats, kNoStyle);
    weapon_for_style(stats);
    select_weapon_slot(stats);
}

bool has_slot(const PartStats& stats, std::string_view weapon, std::string_view style) {
    for (int i = 0; i < stats.weaponCount; ++i) {
        if (stats.weapons[i].weaponName == weapon && stats.weapons[i].styleName == style) return true;
    }
    return false;
}

bool excluded_target(const LogLine& line) {
    for (std::string_view target : kExcludedTargets) {
        if (line.has_at(kTargetColumn, target)) return true;
    }
    return false;
}

bool is_hit_line(const LogLine& line) {
    if (!line.message_starts_with(kShoot) && !line.message_starts_with(kAttack) &&
        !line.message_starts_with(kSpellStrike) && !line.message_starts_with(kTouch)) {
        return false;
    }
    for (std::string_view other : kNotHits) {
        if (line.message_starts_with(other)) return false;
    }
    return true;
}

// The bracketed modifier of a hit line, with its sign; 0 without brackets.
std::int32_t read_modifier(const LogLine& line) {
    const std::size_t bracket = line.find_in_message("(");
    if (bracket == kNotFound) return 0;
    const std::int32_t modifier = line.number_at(bracket);
    return line.has_at(bracket + 1, "-") ? sub32(0, modifier) : modifier;
}

void weapon_hit(const LogLine& line, PartStats& stats, bool excluded, std::int32_t damage, std::int32_t modifier) {
    if (stats.styleDoneFlag == 0 && stats.unstyledFlag == 0) stats.unstyledFlag = 1;  // prepared, not performed
    stats.styleDoneFlag = 0;
    stats.meleeHitSeen = 1;
    cut_weapon_name(line, stats);
    const bool not_counted = excluded || stats.interposedFlag == 1;
    if (stats.unstyledFlag == 1) {
        set_current_style(stats, kNoStyle);
        // A blow one second after the previous one is an extra blow when
        // the weapon already made multiple attacks.
        if (stats.oneSecondLater == 1 && has_slot(stats, stats.currentWeapon, kMultipleStyle)) {
            set_current_style(stats, kMultipleStyle);
        }
    } else if (not_counted) {
        ValueSeries& bonuses = current_slot(stats).styleBonuses;
        if (!bonuses.empty()) bonuses.set(bonuses.count() - 1, kExcludedValue);
    }
    link_style_to_weapon(stats);
    select_weapon_slot(stats);
    WeaponStats& slot = current_slot(stats);
    slot.hits.push(not_counted ? kExcludedValue : damage);
    note_weapon_damage(line, stats, slot, not_counted ? kExcludedValue : damage);
    slot.modifiers.push(not_counted ? kExcludedValue : modifier);
    if (not_counted) stats.interposedFlag = 0;
    stats.unstyledFlag = 1;
    stats.castingFlag = 0;
}

void spell_strike(const LogLine& line, PartStats& stats, std::int32_t damage, std::int32_t modifier) {
    if (stats.castingFlag != 1) {
        current_slot(stats).procs.push(damage);  // a damage proc of the weapon
        note_weapon_damage(line, stats, current_slot(stats), damage);
        return;
    }
    SpellStats& spell = stats.spells[stats.currentSpell];
    spell.amounts.push(damage);
    note_amount(line, stats, AmountKind::Spells, damage);
    spell.spellModifiers.push(modifier);
    if (spell.spellKind != 3) spell.spellKind = 1;
}

void dealt_by_type(const LogLine& line, PartStats& stats, std::size_t type, std::int32_t damage) {
    stats.dealtByType[type].push(damage);
    note_amount(line, stats, AmountKind::Other, damage);
}

// "Vous touchez" in the second of the last cast or damage-over-time marker
// belongs to what that line announced; in any other second, to nothing.
void touch(const LogLine& line, PartStats& stats, std::int32_t damage, std::int32_t modifier) {
    if (line.minute_second() != stats.castTime) {
        stats.pendingDotKind = kDotNothing;
        return;
    }
    switch (stats.pendingDotKind) {
        case kDotSpell: {
            SpellStats& spell = stats.spells[stats.currentSpell];
            spell.amounts.push(damage);
            note_amount(line, stats, AmountKind::Spells, damage);
            spell.spellModifiers.push(modifier);
            spell.spellKind = 3;
            return;  // further targets of the same second count too
        }
        case kDotPoison: dealt_by_type(line, stats, kDealtPoison, damage); break;
        case kDotBleeding: dealt_by_type(line, stats, kDealtBleeding, damage); break;
        case kDotMagicBurst:
            current_slot(stats).procs.push(damage);
            note_weapon_damage(line, stats, current_slot(stats), damage);
            break;
        case kDotAcid: dealt_by_type(line, stats, kDealtAcid, damage); break;
        case kDotOpenWounds: dealt_by_type(line, stats, kDealtDisease, damage); break;
        default: return;
    }
    stats.pendingDotKind = kDotNothing;
}

void count_target_defense(const LogLine& line, PartStats& stats, std::string_view text,
                          std::int32_t WeaponStats::*counter) {
    if (!line.contains(text)) return;
    select_for_weapon_event(stats);
    ++(current_slot(stats).*counter);
    stats.unstyledFlag = 1;
    stats.styleDoneFlag = 0;
}
}  // namespace

void recognise_critical(const LogLine& line, PartStats& stats) {
    if (line.message_starts_with(kRageStart)) stats.berserk = 1;
    if (line.message_starts_with(kRageEnd)) stats.berserk = 0;
    if (line.message_starts_with(kCritical) && stats.berserk == 0) {
        const std::int32_t damage = line.message_number();
        if (stats.castingFlag == 0) {
            current_slot(stats).criticals.push(damage);
            note_weapon_damage(line, stats, current_slot(stats), damage);
        } else if (stats.castingFlag == 1) {
            stats.spells[stats.currentSpell].spellCriticals.push(damage);
            note_amount(line, stats, AmountKind::Spells, damage);
        }
    }
    if (line.message_starts_with(kDotCritical) && stats.pendingDotKind == kDotSpell) {
        stats.spells[stats.currentSpell].spellCriticals.push(line.message_number());
        note_amount(line, stats, AmountKind::Spells, line.message_number());
    }
}

void recognise_multiple_attack(const LogLine& line, PartStats& stats) {
    const bool attack_result = is_miss(line) || line.message_starts_with(kFumble) || is_melee_attack(line) ||
                               is_target_defense(line);
    if (!attack_result) return;
    const std::int32_t t = line.hms();
    if (t != stats.lastAttackTime) {
        stats.secondBlowSeen = 0;
        stats.thirdBlowSeen = 0;
    } else {
        stats.unstyledFlag = 0;
        stats.styleDoneFlag = 1;
        set_current_style(stats, kMultipleStyle);
        bool fourth = false;
        if (stats.thirdBlowSeen == 1) {
            stats.thirdBlowSeen = 0;
            ++stats.quadrupleCount;
            fourth = true;
        }
        if (stats.secondBlowSeen == 1) {
            stats.thirdBlowSeen = 1;
            stats.secondBlowSeen = 0;
            ++stats.tripleCount;
        }
        if (stats.secondBlowSeen == 0 && stats.thirdBlowSeen == 0 && !fourth) stats.secondBlowSeen = 1;
    }
    stats.oneSecondLater = sub32(t, stats.lastAttackTime) == 1 ? 1 : 0;
    stats.lastAttackTime = t;
}

void recognise_hit(const LogLine& line, PartStats& stats) {
    if (line.message_contains(kInterposed)) stats.interposedFlag = 1;
    const bool excluded = excluded_target(line);
    if (line.message_starts_with(kTrebuchet)) stats.pendingDotKind = kDotNothing;
    if (!is_hit_line(line)) return;
    const std::int32_t damage = line.message_number();
    const std::int32_t modifier = read_modifier(line);
    if (line.message_starts_with(kShoot) || line.message_starts_with(kAttack)) {
        weapon_hit(line, stats, excluded, damage, modifier);
    } else if (line.message_starts_with(kSpellStrike)) {
        spell_strike(line, stats, damage, modifier);
    } else {
        touch(line, stats, damage, modifier);
    }
}

void recognise_miss(const LogLine& line, PartStats& stats) {
    if (is_miss(line)) {
        stats.styleDoneFlag = 0;
        if (stats.castingFlag == 1) {
            ++stats.spells[stats.currentSpell].spellMisses;
            stats.castingFlag = 0;
        } else {
            select_for_weapon_event(stats);
            ++current_slot(stats).misses;
            stats.unstyledFlag = 1;
        }
    }
    if (line.message_starts_with(kAbsorbed)) {
        stats.styleDoneFlag = 0;
        select_for_weapon_event(stats);
        WeaponStats& slot = current_slot(stats);
        ++slot.absorbed;
        slot.misses = sub32(slot.misses, 1);  // the miss line before it counted this blow
    }
}

void recognise_fumble(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kFumble)) return;
    if (current_slot(stats).styleName == kRangeStyle) {
        set_current_style(stats, kRangeStyle);
        stats.unstyledFlag = 0;
    }
    select_for_weapon_event(stats);
    ++current_slot(stats).fumbles;
    stats.unstyledFlag = 1;
}

void recognise_evade(const LogLine& line, PartStats& stats) {
    count_target_defense(line, stats, kEvaded, &WeaponStats::evaded);
}

void recognise_parry(const LogLine& line, PartStats& stats) {
    count_target_defense(line, stats, kParried, &WeaponStats::parried);
}

void recognise_block(const LogLine& line, PartStats& stats) {
    count_target_defense(line, stats, kBlocked, &WeaponStats::blocked);
}

void recognise_swing_timer(const LogLine& line, PartStats& stats) {
    if (line.contains(kCombatMode) || line.contains(kTooFar) || line.contains(kNotInView) ||
        line.message_starts_with(kFumble) || line.message_starts_with(kNeedTarget) || line.starts_with(kLogClosed) ||
        line.starts_with(kLogOpened)) {
        stats.swingTracking = 0;
    }
    if (!is_miss(line) && !is_melee_attack(line) && !is_target_defense(line)) return;
    const std::int32_t previous = stats.lastSwingSecond;
    stats.lastSwingSecond = line.seconds();
    if (stats.swingTracking != 1) {
        stats.swingTracking = 1;
        return;
    }
    const std::int32_t interval = mod32(add32(sub32(stats.lastSwingSecond, previous), 60), 60);
    if (interval >= 1 && interval <= 7) current_slot(stats).swingIntervals.push(interval);
}

// The texts without which each recogniser leaves a line alone.
namespace {
constexpr std::string_view kCriticalTextList[] = {kRageStart, kRageEnd, kCritical, kDotCritical};
constexpr std::string_view kAttackResultTextList[] = {kMiss,   kFumble, kNoDamage, kMovedAndMissed,
                                                      kAttack, kEvaded, kParried,  kBlocked};
constexpr std::string_view kHitTextList[] = {kInterposed, kShoot, kAttack, kSpellStrike, kTouch, kTrebuchet};
constexpr std::string_view kMissTextList[] = {kMiss, kNoDamage, kMovedAndMissed, kAbsorbed};
constexpr std::string_view kFumbleTextList[] = {kFumble};
constexpr std::string_view kEvadeTextList[] = {kEvaded};
constexpr std::string_view kParryTextList[] = {kParried};
constexpr std::string_view kBlockTextList[] = {kBlocked};
constexpr std::string_view kSwingTextList[] = {kCombatMode, kTooFar, kNotInView, kFumble,  kNeedTarget,
                                               kLogClosed,  kLogOpened, kMiss,  kNoDamage, kMovedAndMissed,
                                               kAttack,     kEvaded,  kParried,  kBlocked};
}  // namespace
const TextList kCriticalTexts = kCriticalTextList;
const TextList kMultipleAttackTexts = kAttackResultTextList;
const TextList kHitTexts = kHitTextList;
const TextList kMissTexts = kMissTextList;
const TextList kFumbleTexts = kFumbleTextList;
const TextList kEvadeTexts = kEvadeTextList;
const TextList kParryTexts = kParryTextList;
const TextList kBlockTexts = kBlockTextList;
const TextList kSwingTimerTexts = kSwingTextList;

}  // namespace korvanel
