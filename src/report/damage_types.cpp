#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"

namespace korvanel {

namespace {
constexpr auto kPoisonsDealt = latin1("Poisons donnés");
constexpr auto kAddsDealt = latin1("Add dmg donnés");
constexpr auto kShieldsDealt = latin1("Bouclier dmg donnés");
constexpr auto kBleedingDealt = latin1("Saignements donnés");
constexpr auto kAcidDealt = latin1("Poisons acides donnés");
constexpr auto kDiseaseDealt = latin1("Maladies données");
constexpr auto kPoisonReceived = latin1("Coups de poisons recus");
constexpr auto kMeleeReceived = latin1("Coups recus au corps à corps en rvr");
constexpr auto kArrowsReceived = latin1("Flèches recues");
constexpr auto kDiseaseReceived = latin1("Maladies recues");
constexpr auto kStrongPoisonReceived = latin1("Poisons violents recus");
constexpr auto kAddsReceived = latin1("Add dommages recus");
constexpr auto kBleedingReceived = latin1("Saignements subis");
constexpr auto kSpellsReceived = latin1("Sorts recus");

constexpr std::string_view kDamageTypeNames[14] = {
    kPoisonsDealt,   kAddsDealt,       kShieldsDealt,    kBleedingDealt,        kAcidDealt,
    kDiseaseDealt,   kPoisonReceived,  kMeleeReceived,   kArrowsReceived,       kDiseaseReceived,
    kStrongPoisonReceived, kAddsReceived, kBleedingReceived, kSpellsReceived,
};
}  // namespace

std::string_view damage_type_name(int entry) { return kDamageTypeNames[entry]; }

void write_series_heading(PageWriter& page) {
    page.raw("<table border=\"0\" bgcolor=\"#000000\">");
    page.raw("<tr align=\"center\" bgcolor=\"#DEE3E7\">");
    page.raw("<td width=\"80\">Coups</td>");
    page.raw("<td width=\"80\">Moyenne</td>");
    page.raw("<td width=\"80\">Variance</td>");
    page.raw("<td width=\"80\">Min-Max</td>");
}

void write_small_table(PageWriter& page, const ValueSeries& series) {
    page.raw("<tr><td>");
    write_series_heading(page);
    page.raw("</tr>");
    page.raw("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
    write_statistics_row(page, series, nullptr, nullptr);
    page.raw("</tr>");
    page.raw("</table>");
}

// Always written: the frame, and one small table per dealt type that has
// values, three to a row.
void write_dealt_damage_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.raw("\n\n<p></p>");
    page.raw("<table>");
    page.raw("<tr>");
    int column = 0;
    for (int type = 0; type < kDealtTypes; ++type) {
        const ValueSeries& series = stats.dealtByType[static_cast<std::size_t>(type)];
        if (series.empty()) continue;
        const std::string_view title = damage_type_name(type);
        page.format("<a name=\"%s\"></a>", title);
        if (++column == 4) {
            column = 1;
            page.raw("</tr><tr>");
        }
        page.raw("<td>");
        page.raw("<table>");
        page.format("<tr align=\"center\"><td><font size=\"4\"><b>%s</b></font>", title);
        page.format(" (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</tr></td>", part_link);
        write_small_table(page, series);
        page.raw("</table>");
        page.raw("</td>");
    }
    page.raw("</tr>");
    page.raw("</table>");
}

}  // namespace korvanel
