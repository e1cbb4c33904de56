#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/dispatch.h"
#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

void analyse(PartStats& stats, std::initializer_list<std::string_view> lines) {
    for (std::string_view text : lines) dispatch_line(LogLine(text), stats);
}

using Values = std::vector<std::int32_t>;

constexpr auto kPerformed = latin1("[10:00:01] Vous exécutez parfaitement votre Taille Brutale ! (+18)\n");
constexpr auto kPerformedAgain = latin1("[10:00:09] Vous exécutez parfaitement votre Taille Brutale ! (+20)\n");
constexpr auto kPrepared = latin1("[10:00:01] Vous vous préparez à exécuter votre Taille Brutale.\n");
constexpr auto kFailed = latin1("[10:00:02] Vous ne parvenez pas à exécuter parfaitement votre Taille Brutale.\n");
constexpr auto kAxeHit = latin1("[10:00:03] Vous attaquez le loup avec votre hache, et infligez 50 points de dégâts.\n");
constexpr auto kMaceHit = latin1("[10:00:12] Vous attaquez le loup avec votre masse, et infligez 40 points de dégâts.\n");

// A hit with the axe at second 10 * n (blows in one second would be a multiple attack).
std::string axe_hit(int n) { return "[10:0" + std::to_string(n) + ":00] Vous attaquez avec votre hache, et infligez 50\n"; }

TEST(StyleAnnouncement, StylePerformedBeforeAnyHitWaitsForItsWeapon) {
    auto stats = new_part_stats();
    analyse(*stats, {kPerformed});
    ASSERT_EQ(stats->weaponCount, 1);
    EXPECT_EQ(stats->weapons[0].weaponName.view(), "Inconnue");
    EXPECT_EQ(stats->weapons[0].styleName.view(), "Taille Brutale");
    EXPECT_EQ(stats->weapons[0].styleBonuses.values(), Values{18});

    analyse(*stats, {kAxeHit});
    EXPECT_EQ(stats->weaponCount, 1);
    EXPECT_EQ(stats->weapons[0].weaponName.view(), "hache");
    EXPECT_EQ(stats->weapons[0].hits.values(), Values{50});

    // The same style with another weapon: the announcement still goes to the
    // axe (the weapon linked to the style), the hit to the mace.
    analyse(*stats, {kPerformedAgain, kMaceHit});
    EXPECT_EQ(stats->weapons[0].styleBonuses.values(), (Values{18, 20}));
    ASSERT_EQ(stats->weaponCount, 2);
    EXPECT_EQ(stats->weapons[1].weaponName.view(), "masse");
    EXPECT_EQ(stats->weapons[1].hits.values(), Values{40});
    analyse(*stats, {kPerformed});
    EXPECT_EQ(stats->weapons[1].styleBonuses.values(), Values{18});
}

TEST(StyleAnnouncement, PreparedButNotPerformedCountsUnstyledAndFailuresGoToTheAnnouncedSlot) {
    auto stats = new_part_stats();
    analyse(*stats, {axe_hit(1), kPerformed, axe_hit(2), kPrepared, axe_hit(3)});
    ASSERT_EQ(stats->weaponCount, 2);
    EXPECT_EQ(stats->weapons[0].styleName.view(), "Sans style");
    EXPECT_EQ(stats->weapons[0].hits.count(), 2);
    EXPECT_EQ(stats->weapons[1].hits.count(), 1);

    analyse(*stats, {kPrepared, kFailed});
    EXPECT_EQ(stats->weapons[1].stylesFailed, 1);
    EXPECT_EQ(stats->weapons[0].stylesFailed, 0);
    EXPECT_EQ(stats->currentSlot, 0);
    EXPECT_EQ(stats->currentStyle.view(), "Sans style");
}

TEST(StyleAnnouncement, StyleNameCuts) {
    constexpr auto kNoEnd = latin1("[10:00:01] Vous vous préparez à exécuter votre Coup Bas\n");
    constexpr auto kDotOnly = latin1("[10:00:01] Vous exécutez parfaitement votre Coup Bas. (+4)\n");
    constexpr auto kFallback = latin1(
        "[10:00:01] Vous vous préparez maintenant à effectuer le style de secours: Riposte pour pallier l'échec.\n");
    std::string long_style(kDotOnly.view());
    long_style.replace(long_style.find("Coup Bas"), 8, std::string(60, 's'));
    const std::pair<std::string_view, std::string> cases[] = {
        {kNoEnd, "Coup Bas"}, {kDotOnly, "Coup Bas"}, {kFallback, "Riposte"}, {long_style, std::string(49, 's')}};
    for (const auto& [line, style] : cases) {
        auto stats = new_part_stats();
        recognise_announcement(LogLine(line), *stats);
        EXPECT_EQ(stats->currentStyle.view(), style) << line;
    }
}

TEST(StyleAnnouncement, UncuttableAnnouncementsEndTheRun) {
    constexpr auto kNoVotre = latin1("[10:00:01] Vous exécutez parfaitement la Taille !\n");
    constexpr auto kNoPallier = latin1("[10:00:01] Vous vous préparez maintenant à effectuer le style de secours: X.\n");
    constexpr auto kSpellNoMark = latin1("[10:00:01] Vous lancez le sort Gel.\n");
    for (std::string_view line : {std::string_view(kNoVotre), std::string_view(kNoPallier),
                                  std::string_view(kSpellNoMark)}) {
        auto stats = new_part_stats();
        EXPECT_THROW(recognise_announcement(LogLine(line), *stats), FatalError) << line;
    }
}

TEST(SpellAnnouncement, CastOpensASpellEpisode) {
    auto stats = new_part_stats();
    stats->lastHealTarget = "Ulf";
    analyse(*stats, {latin1("[10:12:34] Vous lancez le sort Flèche de glace !\n"),
                     latin1("[10:12:40] Vous lancez le sort Flèche !\n")});
    ASSERT_EQ(stats->spellCount, 1);
    EXPECT_EQ(stats->spells[0].name.view(), latin1("Flèche de glace").view());
    EXPECT_EQ(stats->spells[0].casts, 2);
    EXPECT_EQ(stats->currentSpell, 0);
    EXPECT_EQ(stats->castTime, 1240);
    EXPECT_EQ(stats->castingFlag, 1);
    EXPECT_EQ(stats->pendingDotKind, 0);
    EXPECT_EQ(stats->lastHealTarget.view(), "Inconnu");
}

TEST(SpellAnnouncement, DamageOverTimeMarkersTheLastOneWins) {
    constexpr auto kPoisoned = latin1("[10:01:02] Le loup est victime d'un empoisonnement !\n");
    constexpr auto kBurst = latin1("[10:01:02] Un déferlement d'énergies magiques frappe le loup.\n");
    const std::pair<std::string_view, int> cases[] = {
        {kPoisoned, 1},
        {"[10:01:02] Le loup saigne !\n", 2},
        {kBurst, 3},
        {"[10:01:02] Un nuage acide entoure le loup saigne !\n", 4},
        {"[10:01:02] Le loup voit sa peau se couvrir de plaies ouvertes !\n", 5},
    };
    for (const auto& [line, kind] : cases) {
        auto stats = new_part_stats();
        recognise_announcement(LogLine(line), *stats);
        EXPECT_EQ(stats->pendingDotKind, kind) << line;
        EXPECT_EQ(stats->castTime, 102) << line;
    }
}

}  // namespace
}  // namespace korvanel
