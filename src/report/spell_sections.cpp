#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr auto kOffensiveTitle = latin1("<p><font size=\"4\"><b>Sorts réussis</b></font>");
constexpr auto kResistedHeading = latin1("<td width=\"80\">Résistés</td>");
constexpr std::string_view kBackLink = " (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>";
constexpr std::string_view kTable = "<table  border=\"0\" bgcolor=\"#000000\">";
constexpr std::string_view kHeadingRow = "<tr align=\"center\" bgcolor=\"#DEE3E7\">";
constexpr std::string_view kRow = "<tr align=\"center\" bgcolor=\"#EFEFEF\">";

constexpr int kHitsBySpell = 3;  // spellKind of a spell whose targets were hit in its cast second
constexpr int kHeal = 2;

void write_name_cell(PageWriter& page, const SpellStats& spell) {
    page.format("<td width=\"300\" >%s", spell.name);
    write_speed(page, spell.castDelays);
    page.raw("</td>");
}

// People reached per cast by a spell that hits every target around it:
// hits, resists and misses all count as a target.
void write_people_cell(PageWriter& page, const SpellStats& spell) {
    const std::int32_t reached = add32(add32(spell.amounts.count(), spell.spellResists), spell.spellMisses);
    if (spell.casts == 0) {
        page.raw("<td width=\"150\">-</td>");
        return;
    }
    const std::int32_t whole = div32(reached, spell.casts);
    const Tenths people = tenths_with_carry(whole, static_cast<double>(reached) / spell.casts - whole);
    page.format("<td width=\"150\">%i,%i personnes</td>", people.whole, people.tenth);
}
}  // namespace

bool has_offensive_spells(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (!stats.spells[i].amounts.empty() && stats.spells[i].spellKind != 2) return true;
    }
    return false;
}

bool has_heals(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (!stats.spells[i].amounts.empty() && stats.spells[i].spellKind == 2) return true;
    }
    return false;
}

bool has_other_spells(const PartStats& stats) {
    for (int i = 0; i < stats.spellCount; ++i) {
        if (stats.spells[i].amounts.empty()) return true;
    }
    return false;
}

void write_offensive_spells_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.raw("\n\n<a name=\"Sorts\"></a>");
    page.raw(kOffensiveTitle);
    page.format(kBackLink, part_link);
    page.raw(kTable);
    page.raw(kHeadingRow);
    page.raw("<td width=\"300\" > Nom du sort </td>");
    page.raw("<td width=\"80\">Coups</td>");
    page.raw("<td width=\"80\">Moyenne</td>");
    page.raw("<td width=\"80\">Variance</td>");
    page.raw("<td width=\"80\">Min-Max</td>");
    page.raw("<td width=\"80\">Critiques</td>");
    page.raw(kResistedHeading);
    page.raw("<td width=\"150\">Touches / Sort de zone</td>");
    page.raw("</tr>");
    for (int i = 0; i < stats.spellCount; ++i) {
        const SpellStats& spell = stats.spells[i];
        if (spell.amounts.empty() || spell.spellKind == kHeal) continue;
        page.raw(kRow);
        write_name_cell(page, spell);
        write_statistics_row(page, spell.amounts, &spell.spellModifiers, &spell.spellCriticals);
        page.format("<td width=\"80\">%i%%</td>",
                    percent(spell.spellResists, static_cast<double>(spell.spellResists) + spell.amounts.count()));
        if (spell.spellKind == kHitsBySpell) {
            write_people_cell(page, spell);
        } else {
            page.raw("<td width=\"150\">-</td>");
        }
        page.raw("</tr>");
    }
    page.raw("</table>");
}

void write_other_spells_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.raw("\n\n<a name=\"SortsNO\"></a>");
    page.raw("<p><font size=\"4\"><b>Sorts non offensifs</b></font>");
    page.format(kBackLink, part_link);
    page.raw(kTable);
    page.raw(kHeadingRow);
    page.raw("<td width=\"300\" > Nom du sort </td>");
    page.raw("<td width=\"80\">Lancements</td>");
    page.raw(kResistedHeading);
    page.raw("</tr>");
    for (int i = 0; i < stats.spellCount; ++i) {
        const SpellStats& spell = stats.spells[i];
        if (!spell.amounts.empty() || spell.spellKind == kHeal) continue;
        page.raw(kRow);
        write_name_cell(page, spell);
        page.format("<td width=\"80\">%i</td>", spell.casts);
        page.format("<td width=\"80\">%i%%</td>", percent(spell.spellResists, spell.casts));
        page.raw("</tr>");
    }
    page.raw("</table>");
}

}  // namespace korvanel
