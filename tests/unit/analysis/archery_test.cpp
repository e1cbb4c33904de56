#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/recognisers.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

using Values = std::vector<std::int32_t>;

constexpr auto kAnnounce = latin1("[10:00:00] Vous allez tirer et recharger automatiquement.\n");

std::string shot_at(int second) {
    std::string line = "[10:00:00] Vous tirez avec votre arc long, 80 points de dommages (+3).\n";
    line[7] = static_cast<char>('0' + second / 10);
    line[8] = static_cast<char>('0' + second % 10);
    return line;
}

// Runs the shot timer alone; the shot slot is slot 2.
Values timed(std::initializer_list<std::string_view> lines) {
    auto stats = new_part_stats();
    stats->weaponCount = 3;
    stats->currentSlot = 2;
    for (std::string_view text : lines) recognise_shot_timer(LogLine(text), *stats);
    return stats->weapons[2].swingIntervals.values();
}

TEST(ShotTimer, MeasuresBetweenShotsThatEachFollowAnAnnouncement) {
    const std::string s10 = shot_at(10), s14 = shot_at(14), s22 = shot_at(22), s58 = shot_at(58), s03 = shot_at(3);
    EXPECT_EQ(timed({kAnnounce, s10, kAnnounce, s14}), Values{4});
    EXPECT_EQ(timed({kAnnounce, s58, kAnnounce, s03}), Values{5});  // across the minute
    EXPECT_EQ(timed({kAnnounce, s14, kAnnounce, s22}), Values{});   // 8 seconds is no rapid shot
    // The first timed shot is measured from, not into.
    EXPECT_EQ(timed({kAnnounce, s10}), Values{});
}

TEST(ShotTimer, AShotWithoutItsOwnAnnouncementRestartsTheMeasurement) {
    const std::string s10 = shot_at(10), s13 = shot_at(13), s15 = shot_at(15), s17 = shot_at(17);
    EXPECT_EQ(timed({kAnnounce, s10, s13, kAnnounce, s15}), Values{});
    EXPECT_EQ(timed({kAnnounce, s10, s13, kAnnounce, s15, kAnnounce, s17}), Values{2});
    // Two announcements without a shot between them.
    EXPECT_EQ(timed({kAnnounce, s10, kAnnounce, kAnnounce, s13}), Values{});
}

constexpr auto kMissed = latin1("[10:00:12] Vous ratez votre coup !\n");
constexpr auto kNoDamage = latin1("[10:00:12] Vous ne parvenez pas à endommager le golem.\n");
constexpr std::string_view kEvaded = "[10:00:12] Le gobelin esquive votre attaque !\n";
constexpr std::string_view kBlocked = "[10:00:12] Le gobelin bloque votre attaque !\n";
constexpr auto kIntoTheSky = latin1("[10:00:12] Vous tirez droit au zénith !\n");

TEST(ShotTimer, OtherShotResultsAreTimedToo) {
    const std::string s10 = shot_at(10);
    for (std::string_view result : {kMissed.view(), kNoDamage.view(), kEvaded, kBlocked, kIntoTheSky.view()}) {
        EXPECT_EQ(timed({kAnnounce, s10, kAnnounce, result}), Values{2}) << result;
    }
}

constexpr auto kFumble = latin1("[10:00:11] Vous ratez lamentablement votre tir !\n");
constexpr auto kReady = latin1("[10:00:11] Prêt à tirer !\n");
constexpr auto kUnseen = latin1("[10:00:11] Vous ne voyez pas votre cible !\n");
constexpr auto kInterrupted = latin1("[10:00:11] Votre tir est interrompu !\n");
constexpr auto kMoved = latin1("[10:00:11] Vous vous déplacez et interrompez votre tir !\n");
constexpr auto kTired = latin1("[10:00:11] Vous êtes trop fatigué pour utiliser votre arc !\n");
constexpr auto kClosed = latin1("*** Journal fermé : Mon Jan 05 10:00:11 2026\n");
constexpr auto kOpened = latin1("*** Journal ouvert : Mon Jan 05 10:00:11 2026\n");
constexpr std::string_view kInterruptions[] = {
    kFumble, kReady, kUnseen, kInterrupted, kMoved, kTired, kClosed, kOpened,
    "[10:00:11] Le gobelin vous attaque, interrompant votre tir !\n",
    "[10:00:11] Votre cible est trop loin pour une attaque !\n",
};

TEST(ShotTimer, InterruptionsStopTheMeasurement) {
    const std::string s10 = shot_at(10), s12 = shot_at(12), s14 = shot_at(14);
    for (std::string_view interruption : kInterruptions) {
        // Between two timed shots, and between an announcement and its shot.
        EXPECT_EQ(timed({kAnnounce, s10, interruption, kAnnounce, s12}), Values{}) << interruption;
        EXPECT_EQ(timed({kAnnounce, s10, kAnnounce, interruption, s12, kAnnounce, s14}), Values{}) << interruption;
    }
}

}  // namespace
}  // namespace korvanel
