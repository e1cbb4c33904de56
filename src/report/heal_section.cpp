#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"

namespace korvanel {

namespace {
constexpr auto kEfficiencyHeading = latin1("<td width=\"80\">Efficacité</td>");
constexpr auto kUncappedMeanHeading = latin1("<td width=\"80\">Moyenne<br>(non capés)</td>");
constexpr auto kRealAverageHeading = latin1("<td width=\"120\">Moyenne réelle</td>");

constexpr int kHeal = 2;
// A heal reaching more people per cast than this is a group heal.
constexpr double kSingleTarget = 1.05;
}  // namespace

// Every heal spell: its uncapped heals, the real average once the heals that
// topped their target up are counted in, the real average as a share of the
// uncapped one, and the people reached per cast by a group heal.
void write_heal_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.raw("\n\n<a name=\"Soins\"></a>");
    page.raw("<p><font size=\"4\"><b>Soins</b></font>");
    page.format(" (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>", part_link);
    page.raw("<table  border=\"0\" bgcolor=\"#000000\">");
    page.raw("<tr align=\"center\" bgcolor=\"#DEE3E7\">");
    page.raw("<td width=\"300\" >Nom du soin </td>");
    page.raw("<td width=\"80\">Lancements</td>");
    page.raw(kUncappedMeanHeading);
    page.raw("<td width=\"80\">Variance</td>");
    page.raw("<td width=\"80\">Min-Max</td>");
    page.raw(kRealAverageHeading);
    page.raw(kEfficiencyHeading);
    page.raw("<td width=\"150\">Soins de groupe</td>");
    page.raw("</tr>");
    for (int i = 0; i < stats.spellCount; ++i) {
        const SpellStats& spell = stats.spells[i];
        if (spell.amounts.empty() || spell.spellKind != kHeal) continue;
        const int heal_count = spell.amounts.count() + spell.cappedHeals.count();
        const double uncapped_mean = spell.amounts.mean();
        const double total =
            uncapped_mean * spell.amounts.count() + spell.cappedHeals.mean() * spell.cappedHeals.count();
        const double heals = heal_count;

        page.raw("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
        page.format("<td width=\"300\" >%s", spell.name);
        write_speed(page, spell.castDelays);
        page.raw("</td>");
        write_statistics_row(page, spell.amounts, nullptr, nullptr);
        page.format("<td width=\"120\">%i</td>", round_half_up(total / heals));
        page.format("<td width=\"80\">%i%%</td>", percent(total, heals * uncapped_mean));
        const std::optional<double> per_cast = quotient(heals, spell.casts);
        if (per_cast && *per_cast > kSingleTarget) {
            const int whole = heal_count / spell.casts;
            const Tenths people = tenths_with_carry(whole, *per_cast - whole);
            page.format("<td width=\"150\">%i,%i personnes</td>", people.whole, people.tenth);
        } else {
            page.raw("<td width=\"150\">-</td>");
        }
        page.raw("</tr>");
    }
    page.raw("</table>");
}

}  // namespace korvanel
