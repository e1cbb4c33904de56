// The shot timer: the time between rapid shots. Only a shot that follows its
// own auto-fire announcement is timed; a shot without a fresh announcement,
// two announcements without a shot between them, or any interruption start
// the measurement anew. Intervals go into the shot slot's swingIntervals.
#include "analysis/recognisers.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kAutoFire = latin1("Vous allez tirer et recharger automatiquement");

// Interruptions, at the start of the message text.
constexpr auto kFumble = latin1("Vous ratez lamentablement");
constexpr auto kReady = latin1("Prêt à tirer");
constexpr auto kTargetUnseen = latin1("Vous ne voyez pas votre cible !");
constexpr auto kShotInterrupted = latin1("Votre tir est interrompu !");
constexpr auto kMovedDuringShot = latin1("Vous vous déplacez et interrompez votre tir ");
constexpr auto kTooTired = latin1("Vous êtes trop fatigué pour utiliser ");
constexpr std::string_view kBreakOpenings[] = {kFumble,          kReady,           kTargetUnseen,
                                               kShotInterrupted, kMovedDuringShot, kTooTired};
// Interruptions elsewhere in the line.
constexpr auto kLogClosed = latin1("*** Journal fermé : ");
constexpr auto kLogOpened = latin1("*** Journal ouvert : ");
constexpr auto kShotInterruptedBy = latin1("interrompant votre tir");
constexpr auto kTooFar = latin1("trop loin pour une attaque");

// Shot results.
constexpr auto kShoot = latin1("Vous tirez");
constexpr auto kMiss = latin1("Vous ratez votre coup");
constexpr auto kNoDamage = latin1("Vous ne parvenez pas à endommager");
constexpr std::string_view kResultOpenings[] = {kShoot, kMiss, kNoDamage};
constexpr auto kEvaded = latin1("esquive votre attaque");
constexpr auto kBlocked = latin1("bloque votre attaque");

constexpr std::int32_t kLongestInterval = 7;

bool message_starts_with_any(const LogLine& line, const auto& openings) {
    for (std::string_view opening : openings) {
        if (line.message_starts_with(opening)) return true;
    }
    return false;
}

bool is_break(const LogLine& line) {
    return message_starts_with_any(line, kBreakOpenings) || line.starts_with(kLogClosed) ||
           line.starts_with(kLogOpened) || line.contains(kShotInterruptedBy) || line.message_contains(kTooFar);
}

bool is_shot_result(const LogLine& line) {
    return message_starts_with_any(line, kResultOpenings) || line.contains(kEvaded) || line.message_contains(kBlocked);
}
}  // namespace

void recognise_shot_timer(const LogLine& line, PartStats& stats) {
    if (line.message_starts_with(kAutoFire)) {
        if (stats.autoFire == 1) stats.shotTracking = 0;  // two announcements without a shot
        stats.autoFire = 1;
    }
    if (is_break(line)) {
        stats.shotTracking = 0;
        stats.autoFire = 0;
    }
    if (!is_shot_result(line)) return;

    const std::int32_t previous = stats.lastShotSecond;
    if (stats.autoFire == 0 && stats.shotTracking == 1) stats.shotTracking = 0;  // a shot without announcement
    if (stats.autoFire != 1) return;
    stats.lastShotSecond = line.seconds();
    if (stats.shotTracking == 1) {
        const std::int32_t interval = mod32(add32(sub32(stats.lastShotSecond, previous), 60), 60);
        if (interval >= 1 && interval <= kLongestInterval) {
            push_value(stats.weapons[stats.currentSlot].swingIntervals, interval);
        }
    } else {
        stats.shotTracking = 1;
    }
    stats.autoFire = 0;
}

namespace {
// The texts without which the recogniser leaves a line alone.
constexpr std::string_view kShotTimerTextList[] = {kAutoFire,  kFumble,    kReady,  kTargetUnseen,     kShotInterrupted,
                                                   kMovedDuringShot, kTooTired, kLogClosed, kLogOpened, kShotInterruptedBy,
                                                   kTooFar,    kShoot,     kMiss,   kNoDamage,         kEvaded,
                                                   kBlocked};
}  // namespace
const TextList kShotTimerTexts = kShotTimerTextList;

}  // namespace korvanel
