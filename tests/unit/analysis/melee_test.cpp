#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dispatch.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

void analyse(PartStats& stats, std::initializer_list<std::string_view> lines) {
    for (std::string_view text : lines) dispatch_line(LogLine(text), stats);
}

using Values = std::vector<std::int32_t>;

// "[hh:mm:ss] " followed by the message.
std::string at(const std::string& stamp, std::string_view message) {
    return "[" + stamp + "] " + std::string(message) + "\n";
}
std::string hit(const std::string& stamp, std::string_view rest = "50 (+3) points") {
    return at(stamp, "Vous attaquez le loup avec votre hache, et infligez " + std::string(rest));
}

constexpr auto kPerformed = latin1("Vous exécutez parfaitement votre Taille ! (+18)");
constexpr auto kCast = latin1("Vous lancez le sort Gel !");
constexpr auto kAbsorbed = latin1("Votre coup est absorbé par une barrière magique!");
constexpr auto kCritical = latin1("Vous réussissez un coup critique et infligez 25 points supplémentaires !");

TEST(Hits, ExcludedTargetsAndInterposedBlowsCountButDoNotWeigh) {
    auto stats = new_part_stats();
    analyse(*stats, {at("10:00:01", kPerformed),
                     at("10:00:02", "Vous attaquez le Gardien du fort avec votre hache, et infligez 90 (+5) points")});
    const WeaponStats& styled = stats->weapons[0];
    EXPECT_EQ(styled.hits.values(), Values{kExcludedValue});
    EXPECT_EQ(styled.modifiers.values(), Values{kExcludedValue});
    EXPECT_EQ(styled.styleBonuses.values(), Values{kExcludedValue});

    analyse(*stats, {at("10:00:05", "Ulf s'avance devant vous et encaisse le coup !"), hit("10:00:06"),
                     hit("10:00:09")});
    EXPECT_EQ(stats->weapons[1].hits.values(), (Values{kExcludedValue, 50}));
}

TEST(Hits, ModifierTakesItsSignAndIsZeroWithoutBrackets) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:01", "50 (+3) points"), hit("10:00:11", "60 (-4) points"), hit("10:00:21", "70 points")});
    EXPECT_EQ(stats->weapons[0].hits.values(), (Values{50, 60, 70}));
    EXPECT_EQ(stats->weapons[0].modifiers.values(), (Values{3, -4, 0}));
}

TEST(MultipleAttacks, BlowsInOneSecondCountDoublesTriplesAndQuadruples) {
    struct Case {
        int blows, triples, quadruples;
    };
    for (const Case c : {Case{2, 0, 0}, Case{3, 1, 0}, Case{4, 1, 1}, Case{5, 1, 1}}) {
        auto stats = new_part_stats();
        for (int i = 0; i < c.blows; ++i) analyse(*stats, {hit("10:00:01")});
        EXPECT_EQ(stats->tripleCount, c.triples) << c.blows;
        EXPECT_EQ(stats->quadrupleCount, c.quadruples) << c.blows;
        ASSERT_EQ(stats->weaponCount, 2);
        EXPECT_EQ(stats->weapons[1].styleName.view(), "Multiple");
        EXPECT_EQ(stats->weapons[1].hits.count(), c.blows - 1);
    }
}

TEST(MultipleAttacks, ABlowOneSecondLaterIsAnExtraBlowOnceTheWeaponHasAMultipleSlot) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:59"), hit("10:01:00")});
    EXPECT_EQ(stats->oneSecondLater, 0);  // encoded times differ by 41
    EXPECT_EQ(stats->weaponCount, 1);
    analyse(*stats, {hit("10:01:00"), hit("10:01:01")});
    EXPECT_EQ(stats->oneSecondLater, 1);
    EXPECT_EQ(stats->weapons[1].hits.count(), 2);  // the same-second blow and the one a second later
    EXPECT_EQ(stats->weapons[0].hits.count(), 2);
}

TEST(Misses, SpellMissAfterACastAndAbsorbedBlowAfterAMiss) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:01"), at("10:00:10", kCast), at("10:00:11", "Vous ratez votre coup !")});
    EXPECT_EQ(stats->spells[0].spellMisses, 1);
    EXPECT_EQ(stats->castingFlag, 0);
    EXPECT_EQ(stats->weapons[0].misses, 0);

    analyse(*stats, {at("10:00:21", "Vous ratez votre coup !"), at("10:00:21", kAbsorbed)});
    EXPECT_EQ(stats->weapons[0].misses, 0);
    EXPECT_EQ(stats->weapons[0].absorbed, 1);
}

TEST(Criticals, GoToTheWeaponOrTheSpellAndNotDuringBerserk) {
    auto stats = new_part_stats();
    // Before any slot exists the critical waits in slot 0.
    analyse(*stats, {at("10:00:00", kCritical), hit("10:00:01")});
    EXPECT_EQ(stats->weapons[0].criticals.values(), Values{25});
    analyse(*stats, {at("10:00:02", "La rage de Modi vous submerge !"), at("10:00:02", kCritical),
                     at("10:00:03", "Votre rage berserk prend fin."), at("10:00:04", kCast), at("10:00:04", kCritical)});
    EXPECT_EQ(stats->weapons[0].criticals.count(), 1);
    EXPECT_EQ(stats->spells[0].spellCriticals.values(), Values{25});
}

TEST(Touches, CreditedByWhatTheirSecondAnnounced) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:01"), at("10:00:04", kCast)});
    for (int i = 0; i < 3; ++i) analyse(*stats, {at("10:00:04", "Vous touchez le loup pour 30 (-2) points")});
    analyse(*stats, {at("10:00:05", "Vous touchez le loup pour 30 points")});
    EXPECT_EQ(stats->spells[0].amounts.values(), (Values{30, 30, 30}));
    EXPECT_EQ(stats->spells[0].spellModifiers.values(), (Values{-2, -2, -2}));
    EXPECT_EQ(stats->spells[0].spellKind, 3);
    EXPECT_EQ(stats->pendingDotKind, 6);

    analyse(*stats, {at("10:00:07", "Le loup saigne !"), at("10:00:07", "Vous touchez le loup pour 8 points"),
                     at("10:00:07", "Vous touchez le loup pour 9 points")});
    EXPECT_EQ(stats->dealtByType[3].values(), Values{8});
    analyse(*stats, {at("10:00:08", latin1("Un déferlement d'énergies magiques frappe le loup !")),
                     at("10:00:08", "Vous touchez le loup pour 12 points")});
    EXPECT_EQ(stats->weapons[0].procs.values(), Values{12});
}

TEST(Touches, StrikeWithDamageIsSpellDamageWhileCastingElseAWeaponProc) {
    auto stats = new_part_stats();
    analyse(*stats, {at("10:00:01", kCast), at("10:00:02", "Vous frappez et infligez 40 (+1) points")});
    EXPECT_EQ(stats->spells[0].amounts.values(), Values{40});
    EXPECT_EQ(stats->spells[0].spellKind, 1);
    analyse(*stats, {hit("10:00:05"), at("10:00:05", "Vous frappez et infligez 7 points")});
    EXPECT_EQ(stats->weapons[0].procs.values(), Values{7});
    EXPECT_EQ(stats->spells[0].amounts.count(), 1);
}

TEST(SwingTimer, IntervalsOfOneToSevenSecondsModuloAMinute) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:58"), hit("10:02:03"), hit("10:02:11"), hit("10:02:14"),
                     at("10:02:15", "Vous passez en mode combat."), hit("10:02:17")});
    EXPECT_EQ(stats->weapons[0].swingIntervals.values(), (Values{5, 3}));
}

TEST(Fumbles, AfterAShotCountUnderTheRangedWeapon) {
    auto stats = new_part_stats();
    analyse(*stats, {hit("10:00:01"), at("10:00:05", "Vous tirez avec votre arc court, et infligez 30 points"),
                     at("10:00:09", "Vous ratez lamentablement !"), at("10:00:12", "Vous ratez lamentablement !")});
    EXPECT_EQ(stats->weapons[1].styleName.view(), "Range");
    EXPECT_EQ(stats->weapons[1].fumbles, 2);
}

}  // namespace
}  // namespace korvanel
