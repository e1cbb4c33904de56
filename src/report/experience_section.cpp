// Experience, money and loot per monster, with a total row.
#include <array>
#include <optional>

#include "report/sections.h"
#include "stats/carried_total.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kTitle = latin1(
    "\n\n<a name=\"XP\"></a><p><font size=\"4\"><b>Points d'expérience,argent, loots</b></font>");
constexpr std::string_view kBackLink = " (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>";
constexpr std::string_view kHeader =
    "<table  border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
    "<td width=\"150\" height=\"25\" >Nom du monstre</td><td width=\"60\" height=\"25\" >Nombre</td>"
    "<td width=\"150\" height=\"25\" >XP moyen</td><td width=\"150\" height=\"25\" >XP total</td>"
    "<td width=\"120\" height=\"25\" >Argent</td><td width=\"250\" height=\"25\" >Loots</td></tr>";
constexpr std::string_view kWideCell = "<td width=\"150\" height=\"25\" >";
constexpr std::string_view kMoneyCell = "<td width=\"120\" height=\"25\" >";
constexpr std::string_view kLootCell = "<td width=\"250\" height=\"25\" >";

// The four components of a monster's experience: base, bonus, group and
// strong, each a total and its billions.
struct Component {
    std::int32_t total = 0;
    std::int32_t billions = 0;
};
using Experience = std::array<Component, 4>;
constexpr std::array<std::string_view, 4> kOpen = {"", "<br>(bonus : ", "<br>(groupe : ", "<br>(fort : "};
constexpr std::array<std::string_view, 4> kClose = {"", ")", ")", ")"};

Experience experience_of(const MonsterStats& m) {
    return {{{m.xp, m.xpBillions},
             {m.bonusXp, m.bonusXpBillions},
             {m.groupXp, m.groupXpBillions},
             {m.strongXp, m.strongXpBillions}}};
}

// The average of each component over `kills`; "-" when there are none.
void write_averages(PageWriter& page, const Experience& xp, std::int32_t kills) {
    for (std::size_t c = 0; c < xp.size(); ++c) {
        if (xp[c].total == 0) continue;
        page.raw(kOpen[c]);
        if (kills == 0) {
            page.raw("-");
        } else {
            const std::int32_t average =
                add32(div32(xp[c].total, kills), mul32(div32(kBillion, kills), xp[c].billions));
            write_grouped_number(page, average, 0);
        }
        page.raw(kClose[c]);
    }
}

void write_totals(PageWriter& page, const Experience& xp) {
    for (std::size_t c = 0; c < xp.size(); ++c) {
        if (xp[c].total == 0) continue;
        page.raw(kOpen[c]);
        write_grouped_number(page, xp[c].total, xp[c].billions);
        page.raw(kClose[c]);
    }
}

// Gold and silver; copper is not shown.
void write_money(PageWriter& page, std::int32_t copper) {
    if (copper > 9999) page.format("%i ors, ", copper / 10000);
    if (copper > 99) page.format("%i argents", (copper % 10000) / 100);
}
}  // namespace

void write_experience_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    if (stats.monsterCount == 0) return;
    page.raw(kTitle);
    page.format(kBackLink, part_link);
    page.raw(kHeader);

    for (int i = 0; i < stats.monsterCount; ++i) {
        const MonsterStats& monster = stats.monsters[i];
        if (monster.kills == 0) continue;
        page.raw("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
        page.format("<td width=\"150\" height=\"25\" >%s</td>", monster.name);
        page.format("<td width=\"60\" height=\"25\" >%i</td>", monster.kills);
        const Experience xp = experience_of(monster);
        page.raw(kWideCell);
        write_averages(page, xp, monster.kills);
        page.raw(kWideCell);
        write_totals(page, xp);
        page.raw(kMoneyCell);
        write_money(page, monster.money);
        page.raw(kLootCell);
        for (int loot = 0; loot < monster.lootCount; ++loot) {
            const auto at = static_cast<std::size_t>(loot);
            if (loot != 0) page.raw("<br>");
            page.format("%i * %s", monster.lootQuantities[at], monster.lootNames[at]);
        }
        page.raw("</td></tr>");
    }

    if (stats.monsterCount > 1) {
        // Every monster counts here, also those that gave no experience.
        std::int32_t kills = 0, money = 0;
        Experience sum{};
        for (int i = 0; i < stats.monsterCount; ++i) {
            const MonsterStats& monster = stats.monsters[i];
            kills = add32(kills, monster.kills);
            money = add32(money, monster.money);
            const Experience xp = experience_of(monster);
            for (std::size_t c = 0; c < sum.size(); ++c) {
                add_with_carry(sum[c].total, sum[c].billions, xp[c].total);
                sum[c].billions = add32(sum[c].billions, xp[c].billions);
            }
        }
        page.raw("<tr align=\"center\" bgcolor=\"#DEE3E7\"><td width=\"150\" height=\"25\" ><i>Total</i></td>");
        page.format("<td width=\"60\" height=\"25\" >%i</td>", kills);
        page.raw(kWideCell);
        write_averages(page, sum, kills);
        page.raw(kWideCell);
        write_totals(page, sum);
        page.raw(kMoneyCell);
        write_money(page, money);
        page.raw(kLootCell);
        page.raw("</td></tr>");
    }
    page.raw("</table>");
}

}  // namespace korvanel
