// The player's killers, the hunting table of realm-point awards, and the
// writer of large numbers in groups of three digits.
#include <cstdlib>
#include <string>

#include "report/sections.h"
#include "stats/carried_total.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr std::string_view kBackLink = " (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>";
constexpr std::string_view kTableStart =
    "<table border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#EFEFEF\"><td>";
}  // namespace

void write_grouped_number(PageWriter& page, std::int32_t low, std::int32_t billions) {
    std::int64_t value = low;
    if (billions > 0) value += std::int64_t{billions} * kBillion;
    const bool negative = value < 0;
    // A negative value is a wrapped low part alone, so its magnitude fits.
    const std::string digits = std::to_string(negative ? -value : value);
    std::string text = negative ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) text += '.';
        text += digits[i];
    }
    page.raw(text);
}

void write_killers_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    if (stats.killerCount == 0) return;
    page.raw("\n\n<a name=\"Meurtriers\"></a><p><font size=\"4\"><b>Liste de vos meurtriers</b></font>");
    page.format(kBackLink, part_link);
    page.raw(kTableStart);
    std::int32_t deaths = 0;
    for (int i = 0; i < stats.killerCount; ++i) {
        const KillerStats& killer = stats.killers[i];
        if (i != 0) page.raw(", ");
        page.format("%s", killer.name);
        if (killer.deaths != 1) page.format("(%i fois)", killer.deaths);
        deaths = add32(deaths, killer.deaths);
    }
    page.raw("</td></tr>");
    page.format("<tr align=\"left\" bgcolor=\"#EFEFEF\"><td><b>Total </b>: %i meurtriers</td></tr>", deaths);
    page.raw("</table>");
}

void write_hunting_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    if (stats.realmKillLast < 0) return;
    std::int32_t realm_points = 0, bounty = 0, xp = 0, xp_billions = 0;
    for (int i = 0; i <= stats.realmKillLast; ++i) {
        const RealmKill& kill = stats.realmKills[i];
        realm_points = add32(realm_points, kill.realmPoints);
        bounty = add32(bounty, kill.bounty);
        add_with_carry(xp, xp_billions, kill.xp);
    }

    page.raw("\n\n<a name=\"Tableau de chasse\"></a><p><font size=\"4\"><b>Tableau de chasse</b></font>");
    page.format(kBackLink, part_link);
    page.raw(kTableStart);
    for (int i = 0; i <= stats.realmKillLast; ++i) {
        const RealmKill& kill = stats.realmKills[i];
        if (i != 0) page.raw(", ");
        // The player's own kills show in bold.
        if (kill.victimByPlayer) {
            page.format("<b>%s</b>", kill.victim);
        } else {
            page.format("%s", kill.victim);
        }
        page.format(" (%i rps)", kill.realmPoints);
    }
    page.raw("</td></tr><tr align=\"left\" bgcolor=\"#EFEFEF\">");
    page.format("<td><b>Total : </b>%i rps, %i primes, ", realm_points, bounty);
    write_grouped_number(page, xp, xp_billions);
    page.raw(" xp</td></tr></table>");
}

}  // namespace korvanel
