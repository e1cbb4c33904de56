#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr auto kHeading = latin1("<p><font size=\"4\"><b>Défense</b></font>");
constexpr auto kMonsterTitle = latin1("<tr align=\"center\"><td>Coups portés par un monstre</td></tr>");
constexpr auto kResistedHeading = latin1("<td width=\"80\">Résistés</td>");
constexpr auto kAvoidedHeading = latin1("<td width=\"150\">Total des coups evités</td>");
constexpr auto kMissedHeading = latin1("<td width=\"150\">Ratés par l'ennemi</td>");
constexpr auto kBlockedHeading = latin1("<td width=\"80\">Bloqués</td>");
constexpr auto kParriedHeading = latin1("<td width=\"80\">Parés</td>");
constexpr auto kEvadedHeading = latin1("<td width=\"80\">Esquivés</td>");
constexpr auto kGuardedHeading = latin1("<td width=\"80\">Gardés</td>");
constexpr auto kBarrierHeading = latin1("<td width=\"150\">Evités par une bulle</td>");
constexpr auto kBarrierCell = latin1("<td width=\"150\">%i%% (efficacité : %i%%)</td>");

// Received types 0 to 6 stand three to a row; type 7, spells and the
// unexplained, stands apart with its resist share.
constexpr int kSpellsReceivedType = 7;

std::int32_t avoided_total(const PartStats& stats) {
    std::int32_t total = add32(stats.enemyMissed, stats.blockedByPlayer);
    total = add32(total, stats.parriedByPlayer);
    total = add32(total, stats.evadedByPlayer);
    total = add32(total, stats.absorbedByBarrier);
    return add32(total, stats.guardedFor);
}

void write_spells_received(PageWriter& page, const PartStats& stats) {
    const ValueSeries& spells = stats.receivedByType[kSpellsReceivedType];
    page.raw("<table width=\"400\">");
    page.format("<tr align=\"center\"><td>%s</tr></td>", damage_type_name(kDealtTypes + kSpellsReceivedType));
    page.raw("<tr><td>");
    write_series_heading(page);
    page.raw(kResistedHeading);
    page.raw("</tr>");
    page.raw("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
    write_statistics_row(page, spells, nullptr, nullptr);
    page.format("<td width=\"80\">%i%%</td>",
                percent(stats.effectsResisted, add32(stats.effectsResisted, spells.count())));
    page.raw("</tr>");
    page.raw("</table>");
    page.raw("</table>");
}

// One row of shares of all blows aimed at the player.
void write_avoidance_row(PageWriter& page, const PartStats& stats, std::string_view label, std::int32_t avoided,
                         std::int32_t base) {
    const auto share = [base](std::int32_t x) { return percent(x, base); };
    page.raw("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
    page.format("<td width=\"150\">%s</td>", label);
    page.format("<td width=\"150\">%i%%</td>", share(avoided));
    page.format("<td width=\"150\">%i%%</td>", share(stats.enemyMissed));
    page.format("<td width=\"80\">%i%%</td>", share(stats.blockedByPlayer));
    page.format("<td width=\"80\">%i%%</td>", share(stats.parriedByPlayer));
    page.format("<td width=\"80\">%i%%</td>", share(stats.evadedByPlayer));
    if (stats.guardedFor != 0) page.format("<td width=\"80\">%i%%</td>", share(stats.guardedFor));
    page.format(kBarrierCell, share(stats.absorbedByBarrier),
                percent(stats.absorbedByBarrier, add32(stats.absorbedByBarrier, stats.barrierPierced)));
    page.raw("</tr>");
}

void write_avoidance(PageWriter& page, const PartStats& stats, std::int32_t avoided, std::int32_t hits) {
    const std::int32_t base = add32(avoided, hits);
    page.raw("<br>");
    page.raw("<table border=\"0\" bgcolor=\"#000000\">");
    page.raw("<tr align=\"center\" bgcolor=\"#DEE3E7\">");
    page.raw("<td width=\"150\"></td>");
    page.raw(kAvoidedHeading);
    page.raw(kMissedHeading);
    page.raw(kBlockedHeading);
    page.raw(kParriedHeading);
    page.raw(kEvadedHeading);
    if (stats.guardedFor != 0) page.raw(kGuardedHeading);
    page.raw(kBarrierHeading);
    page.raw("</tr>");
    write_avoidance_row(page, stats, "moyenne totale", avoided, base);
    // The partial row has no base of its own: it repeats the total's figures.
    write_avoidance_row(page, stats, "moyenne partielle", avoided, base);
    page.raw("</table>");
}
}  // namespace

std::int32_t blows_received(const PartStats& stats) {
    return stats.monsterHits.count() + stats.receivedByType[1].count() + stats.receivedByType[2].count();
}

void write_defense_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.raw("\n\n<a name=\"Defense\"></a>");
    page.raw(kHeading);
    page.format(" (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>", part_link);

    page.raw("<table>");
    page.raw("<tr>");
    int column = 0;
    if (!stats.monsterHits.empty()) {
        page.raw("<td>");
        ++column;
        page.raw("<table>");
        page.raw(kMonsterTitle);
        write_small_table(page, stats.monsterHits);
        page.raw("</table>");
        page.raw("</td>");
    }
    for (int type = 0; type < kSpellsReceivedType; ++type) {
        const ValueSeries& series = stats.receivedByType[static_cast<std::size_t>(type)];
        if (series.empty()) continue;
        if (++column == 4) {
            column = 1;
            page.raw("</tr><tr>");
        }
        page.raw("<td>");
        page.raw("<table>");
        page.format("<tr align=\"center\"><td>%s</tr></td>", damage_type_name(kDealtTypes + type));
        write_small_table(page, series);
        page.raw("</table>");
        page.raw("</td>");
    }
    page.raw("</tr>");
    page.raw("</table>");

    if (!stats.receivedByType[kSpellsReceivedType].empty()) write_spells_received(page, stats);

    const std::int32_t avoided = avoided_total(stats);
    if (avoided != 0) write_avoidance(page, stats, avoided, blows_received(stats));
}

}  // namespace korvanel
