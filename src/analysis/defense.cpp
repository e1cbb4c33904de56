#include "analysis/events.h"
#include "analysis/recognisers.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
// Damage received, credited to the type announced by the line before.
constexpr auto kDamageTaken = latin1("Vous encaissez");

// What the player is being hit with; the later match wins.
constexpr auto kPoisoned = latin1("Vous êtes victime d'un empoisonnement");
constexpr auto kWeaponAttack = latin1("vous attaque avec son arme");
constexpr auto kArrowShot = latin1("vous tire avec son arme");
constexpr auto kSpellCast = latin1("lance un sort");
constexpr auto kDiseased = latin1("Votre corps est recouvert d'écorchures douloureuses");
constexpr auto kBleeding = latin1("Vous saignez");
constexpr auto kStrongPoison = latin1("Vous êtes victime d'un poison violent");
constexpr auto kInflicts = latin1("vous inflige");
constexpr auto kExtraDamage = latin1("points de dégâts supplémentaires");

// Blows from monsters.
constexpr auto kMonsterBlow = latin1("vous frappe");
constexpr auto kAimedBlow = latin1("vise votre bras et vous blesse pour");

// Attacks on the player that failed.
constexpr auto kEnemyMissed = latin1("rate son coup");
constexpr auto kBlocked = latin1("vous attaque, mais vous bloquez");
constexpr auto kParried = latin1("vous attaque, mais vous parez");
constexpr auto kEvaded = latin1("vous attaque, mais vous esquivez");
constexpr auto kBarrierAbsorbed = latin1("Le coup est absorbé par une barrière magique ");
constexpr auto kEffectResisted = latin1("Vous résistez à l'effet !");
constexpr auto kBarrierPierced = latin1("Le coup a traversé la barrière magique !");
constexpr auto kGuarded = latin1("vous protège de l'attaque lancée par");

// Extra damage on the target: a damage add right after a weapon hit, a
// damage shield otherwise.
constexpr auto kSuffers = latin1("subit");

enum IncomingType : std::int32_t {
    kPoisonType = 0,
    kMeleeType = 1,
    kArrowType = 2,
    kDiseaseType = 3,
    kStrongPoisonType = 4,
    kDamageAddType = 5,
    kBleedingType = 6,
    kSpellOrUnknownType = 7,
};

constexpr std::size_t kDamageAddDealt = 1;
constexpr std::size_t kDamageShieldDealt = 2;
}  // namespace

void recognise_received_damage(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kDamageTaken)) return;
    push_value(stats.receivedByType[static_cast<std::size_t>(stats.incomingType)], line.message_number());
    note_amount(line, stats, AmountKind::Received, line.message_number());
}

void recognise_incoming_type(const LogLine& line, PartStats& stats) {
    std::int32_t type = kSpellOrUnknownType;
    if (line.message_contains(kPoisoned)) type = kPoisonType;
    if (line.message_contains(kWeaponAttack)) type = kMeleeType;
    if (line.message_contains(kArrowShot)) type = kArrowType;
    if (line.message_contains(kSpellCast)) type = kSpellOrUnknownType;
    if (line.message_contains(kDiseased)) type = kDiseaseType;
    if (line.message_contains(kBleeding)) type = kBleedingType;
    if (line.message_contains(kStrongPoison)) type = kStrongPoisonType;
    if (line.message_contains(kInflicts) && line.message_contains(kExtraDamage)) type = kDamageAddType;
    stats.incomingType = type;
}

void recognise_monster_hit(const LogLine& line, PartStats& stats) {
    if (line.contains(kMonsterBlow) || line.contains(kAimedBlow)) {
        push_value(stats.monsterHits, line.message_number());
        note_amount(line, stats, AmountKind::Received, line.message_number());
    }
}

void recognise_avoidance(const LogLine& line, PartStats& stats) {
    // Every test is made before any counter moves.
    const bool missed = line.contains(kEnemyMissed);
    const bool blocked = line.contains(kBlocked);
    const bool parried = line.contains(kParried);
    const bool evaded = line.contains(kEvaded);
    const bool absorbed = line.message_starts_with(kBarrierAbsorbed);
    const bool resisted = line.message_starts_with(kEffectResisted);
    const bool pierced = line.message_starts_with(kBarrierPierced);
    const bool guarded = line.message_contains(kGuarded);

    if (missed) stats.enemyMissed = add32(stats.enemyMissed, 1);
    if (blocked) ++stats.blockedByPlayer;
    if (parried) ++stats.parriedByPlayer;
    if (evaded) ++stats.evadedByPlayer;
    if (absorbed) {
        // A blow the barrier absorbed counts under the barrier, not as the enemy's miss.
        ++stats.absorbedByBarrier;
        stats.enemyMissed = sub32(stats.enemyMissed, 1);
    }
    if (resisted) ++stats.effectsResisted;
    if (pierced) ++stats.barrierPierced;
    if (guarded) ++stats.guardedFor;
}

void recognise_damage_add(const LogLine& line, PartStats& stats) {
    if (!line.contains(kSuffers)) return;
    if (stats.meleeHitSeen == 1) {
        push_value(stats.dealtByType[kDamageAddDealt], line.message_number());
        note_amount(line, stats, AmountKind::Other, line.message_number());
        stats.meleeHitSeen = 0;
    } else {
        push_value(stats.dealtByType[kDamageShieldDealt], line.message_number());
        note_amount(line, stats, AmountKind::Other, line.message_number());
    }
}

void reset_incoming_type(PartStats& stats) { stats.incomingType = kSpellOrUnknownType; }

namespace {
// The texts without which each recogniser leaves a line alone (the incoming
// type still goes back to "spell or unknown" on such a line).
constexpr std::string_view kReceivedDamageTextList[] = {kDamageTaken};
constexpr std::string_view kIncomingTypeTextList[] = {kPoisoned,    kWeaponAttack, kArrowShot,
                                                      kSpellCast,   kDiseased,     kBleeding,
                                                      kStrongPoison, kInflicts};
constexpr std::string_view kMonsterHitTextList[] = {kMonsterBlow, kAimedBlow};
constexpr std::string_view kAvoidanceTextList[] = {kEnemyMissed,     kBlocked,       kParried,        kEvaded,
                                                   kBarrierAbsorbed, kEffectResisted, kBarrierPierced, kGuarded};
constexpr std::string_view kDamageAddTextList[] = {kSuffers};
}  // namespace
const TextList kReceivedDamageTexts = kReceivedDamageTextList;
const TextList kIncomingTypeTexts = kIncomingTypeTextList;
const TextList kMonsterHitTexts = kMonsterHitTextList;
const TextList kAvoidanceTexts = kAvoidanceTextList;
const TextList kDamageAddTexts = kDamageAddTextList;

}  // namespace korvanel
