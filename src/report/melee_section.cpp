// The melee section "Attaques": one block per weapon with a row per style
// and a Total row, then the multiple-attack block. The preparation it shares
// with the archery section is here too.
#include <algorithm>

#include "analysis/weapon_registry.h"
#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr auto kWeaponTitle = latin1("<p><font size=\"4\"><b>Avec l'arme : %s</b>");
constexpr auto kBackLink = latin1(" (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)");
constexpr auto kTableOpen = latin1("<table  border=\"0\" bgcolor=\"#000000\">");
constexpr auto kHeaderRowOpen = latin1("<tr align=\"center\" bgcolor=\"#DEE3E7\">");
constexpr auto kRowOpen = latin1("<tr align=\"center\" bgcolor=\"#EFEFEF\">");
constexpr auto kStyleHeader = latin1(
    "<td width=\"200\" height=\"25\" > Nom du style </td>"
    "<td width=\"70\">Coups réussis</td>"
    "<td width=\"70\">Moyenne</td>"
    "<td width=\"70\">Variance</td>"
    "<td width=\"70\">Min-Max</td>"
    "<td width=\"70\">critiques</td>"
    "<td width=\"70\">Procs DD</td>"
    "<td width=\"270\">Total des coups manqués</td>"
    "<td width=\"70\">Styles reussis</td>"
    "</tr>");
constexpr auto kStyleMissed = latin1(
    "<td width=\"270\"><b>%i%%</b> (%i%% ratés, %i%% bloqués, %i%% parés,<br>"
    "%i%% esquivés, %i%% bullés, %i%% fumble)</td>");
constexpr auto kMissedRates = latin1("%% ratés, ");
constexpr auto kBlockedRates = latin1("%% bloqués, ");
constexpr auto kParriedRates = latin1("%% parés, ");
constexpr auto kEvadedRates = latin1("%% esquivés, ");
constexpr auto kAbsorbedRates = latin1("%% bullés, ");
constexpr auto kFumbleRates = latin1("%% fumble)</td>");
constexpr auto kMultipleTitle = latin1("\n\n<p><font size=\"4\"><b>Coups Multiples</b> (doubles : %i%%)</font>");
constexpr auto kMultipleHeader = latin1(
    "<td width=\"250\"> Nom de l'arme </td>"
    "<td width=\"80\">Coups réussis</td>"
    "<td width=\"80\">Moyenne</td>"
    "<td width=\"80\">Variance</td>"
    "<td width=\"80\">Min-Max</td>"
    "<td width=\"80\">critiques</td>"
    "<td width=\"80\">Procs DD</td>"
    "<td width=\"250\">Total des coups manqués</td>"
    "</tr>");

std::int32_t attempts_of(const WeaponStats& slot) {
    std::int32_t sum = add32(slot.hits.count(), slot.preciseShots.count());
    for (std::int32_t counter : {slot.misses, slot.fumbles, slot.evaded, slot.parried, slot.blocked, slot.absorbed}) {
        sum = add32(sum, counter);
    }
    return sum;
}

// The counters a row shows, and its attempts.
struct Counters {
    std::int32_t misses = 0, stylesFailed = 0, fumbles = 0, evaded = 0, parried = 0, blocked = 0, absorbed = 0;
    std::int32_t attempts = 0;

    void add(const WeaponStats& slot) {
        misses = add32(misses, slot.misses);
        stylesFailed = add32(stylesFailed, slot.stylesFailed);
        fumbles = add32(fumbles, slot.fumbles);
        evaded = add32(evaded, slot.evaded);
        parried = add32(parried, slot.parried);
        blocked = add32(blocked, slot.blocked);
        absorbed = add32(absorbed, slot.absorbed);
    }
    std::int32_t without_hits() const {
        std::int32_t sum = 0;
        for (std::int32_t counter : {misses, fumbles, evaded, parried, blocked, absorbed}) sum = add32(sum, counter);
        return sum;
    }
};

// All the values of a group's slots, gathered.
struct GroupFigures {
    Counters counters;
    ValueSeries styleBonuses, hits, criticals, swingIntervals, modifiers, procs;
};

void gather(ValueSeries& into, const ValueSeries& from) { into.append(from); }

GroupFigures gather_group(const PartStats& stats, const WeaponGroup& group) {
    GroupFigures figures;
    for (int index : group.slots) {
        const WeaponStats& slot = stats.weapons[index];
        figures.counters.add(slot);
        gather(figures.styleBonuses, slot.styleBonuses);
        gather(figures.hits, slot.hits);
        gather(figures.criticals, slot.criticals);
        gather(figures.swingIntervals, slot.swingIntervals);
        gather(figures.modifiers, slot.modifiers);
        gather(figures.procs, slot.procs);
    }
    figures.counters.attempts = add32(figures.counters.without_hits(), figures.hits.count());
    return figures;
}

// (100 × attempts) ÷ (attempts + failed styles), in whole numbers.
std::optional<int> styles_performed(std::int32_t attempts, std::int32_t failed) {
    const std::int32_t announced = add32(attempts, failed);
    if (announced == 0) return std::nullopt;
    return div32(mul32(100, attempts), announced);
}

void write_mean_cells(PageWriter& page, const ValueSeries& hits, const ValueSeries& modifiers) {
    const int modifier = round_half_up(modifiers.mean());
    page.format("<td width=\"70\">%i</td>", hits.count());
    page.format("<td width=\"70\">%i(%s%i)</td>", round_half_up(hits.mean()), modifier_sign(modifier), modifier);
    page.format("<td width=\"70\">%i%%</td>", spread_percent(hits));
    page.format("<td width=\"70\">%i-%i</td>", hits.min(), hits.max());
}

// The missed-blows cell with one decimal: the missed share, then each kind of miss.
void write_missed_decimals(PageWriter& page, const Counters& c, std::int32_t hits) {
    const double attempts = c.attempts;
    page.raw("<td width=\"270\"><b>");
    write_decimal(page, quotient(100.0 * sub32(c.attempts, hits), attempts), "%%,</b> (");
    write_decimal(page, quotient(100.0 * c.misses, attempts), kMissedRates);
    write_decimal(page, quotient(100.0 * c.blocked, attempts), kBlockedRates);
    write_decimal(page, quotient(100.0 * c.parried, attempts), kParriedRates);
    write_decimal(page, quotient(100.0 * c.evaded, attempts), kEvadedRates);
    write_decimal(page, quotient(100.0 * c.absorbed, attempts), kAbsorbedRates);
    write_decimal(page, quotient(100.0 * c.fumbles, attempts), kFumbleRates);
}

void write_style_row(PageWriter& page, const WeaponStats& slot, std::int32_t attempts) {
    const int hits = slot.hits.count();
    page.raw(kRowOpen);
    page.format("<td width=\"200\" height=\"25\" >%s(+%i)</td>", slot.styleName,
                round_half_up(slot.styleBonuses.mean()));
    write_mean_cells(page, slot.hits, slot.modifiers);
    page.format("<td width=\"70\">%i%%</td>", percent(slot.criticals.count(), hits));
    page.format("<td width=\"70\">%i%%</td>", percent(slot.procs.count(), hits));
    page.format(kStyleMissed, percent(sub32(attempts, hits), attempts), percent(slot.misses, attempts),
                percent(slot.blocked, attempts), percent(slot.parried, attempts), percent(slot.evaded, attempts),
                percent(slot.absorbed, attempts), percent(slot.fumbles, attempts));
    page.format("<td width=\"70\">%i%%</td>", styles_performed(attempts, slot.stylesFailed));
    page.raw("</tr>");
}

void write_total_row(PageWriter& page, const GroupFigures& group) {
    const int hits = group.hits.count();
    page.raw(kHeaderRowOpen);
    page.format("<td width=\"200\" height=\"25\" ><i>Total</i>(+%i)</td>", round_half_up(group.styleBonuses.mean()));
    write_mean_cells(page, group.hits, group.modifiers);
    page.format("<td width=\"70\">%i%%</td>", percent(group.criticals.count(), hits));
    page.format("<td width=\"70\">%i%%</td>", percent(group.procs.count(), hits));
    write_missed_decimals(page, group.counters, hits);
    page.format("<td width=\"70\">%i%%</td>", styles_performed(group.counters.attempts, group.counters.stylesFailed));
    page.raw("</tr>");
}

void write_weapon_block(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                        const WeaponGroup& group, std::string_view part_link) {
    const GroupFigures figures = gather_group(stats, group);
    page.format(kWeaponTitle, group.name);
    write_speed(page, figures.swingIntervals);
    page.raw("</font>");
    page.format(kBackLink, part_link);
    page.raw("</p>");
    page.raw(kTableOpen);
    page.raw(kHeaderRowOpen);
    page.raw(kStyleHeader);
    for (int index : group.slots) {
        const WeaponStats& slot = stats.weapons[index];
        if (slot.hits.mean() == 0) continue;  // no hit that counts
        write_style_row(page, slot, prep.attempts[static_cast<std::size_t>(index)]);
    }
    if (group.slots.size() > 1) write_total_row(page, figures);
    page.raw("</table>");
}

void write_multiple_block(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                          std::string_view part_link) {
    const std::int32_t single = sub32(prep.meleeAttempts, prep.multipleAttempts);
    const std::int32_t doubles = sub32(sub32(prep.multipleAttempts, stats.tripleCount), stats.quadrupleCount);
    page.format(kMultipleTitle, percent(doubles, single));
    if (stats.tripleCount != 0) {
        page.raw("<font size=\"4\"> (triples : ");
        write_decimal(page, quotient(100.0 * stats.tripleCount, single), "%%)</font>");
    }
    if (stats.quadrupleCount != 0) {
        page.raw("<font size=\"4\"> (quadruples : ");
        write_decimal(page, quotient(100.0 * stats.quadrupleCount, single), "%%)</font>");
    }
    page.format(kBackLink, part_link);
    page.raw("</p>");
    page.raw(kTableOpen);
    page.raw(kHeaderRowOpen);
    page.raw(kMultipleHeader);
    for (int index : prep.multiple) {
        const WeaponStats& slot = stats.weapons[index];
        Counters counters;
        counters.add(slot);
        counters.attempts = prep.attempts[static_cast<std::size_t>(index)];
        page.raw(kRowOpen);
        page.format("<td width=\"270\">%s</td>", slot.weaponName);
        write_statistics_row(page, slot.hits, &slot.modifiers, &slot.criticals);
        page.format("<td width=\"80\">%i%%</td>", percent(slot.procs.count(), slot.hits.count()));
        write_missed_decimals(page, counters, slot.hits.count());
        page.raw("</tr>");
    }
    page.raw("</table>");
}
}  // namespace

MeleePreparation prepare_melee(const PartStats& stats) {
    MeleePreparation prep;
    prep.attempts.resize(static_cast<std::size_t>(std::max(stats.weaponCount, 0)));
    for (int i = 0; i < stats.weaponCount; ++i) {
        const WeaponStats& slot = stats.weapons[i];
        const std::int32_t attempts = attempts_of(slot);
        prep.attempts[static_cast<std::size_t>(i)] = attempts;
        if (slot.styleName == kRangeStyle) continue;
        prep.meleeAttempts = add32(prep.meleeAttempts, attempts);
        if (slot.styleName == kMultipleStyle) prep.multipleAttempts = add32(prep.multipleAttempts, attempts);
    }
    for (int i = 0; i < stats.weaponCount; ++i) {
        const WeaponStats& slot = stats.weapons[i];
        const std::string_view weapon = slot.weaponName;
        if (weapon == kUnknownWeapon) continue;
        if (kRangeStyle.starts_with(slot.styleName.view())) {
            prep.archery.push_back(i);
            continue;
        }
        if (kMultipleStyle.starts_with(slot.styleName.view())) {
            prep.multiple.push_back(i);
            continue;
        }
        bool joined = false;
        for (WeaponGroup& group : prep.groups) {
            if (!group.name.view().starts_with(weapon)) continue;
            group.slots.push_back(i);
            joined = true;
        }
        if (joined) continue;
        prep.groups.push_back(WeaponGroup{slot.weaponName, {i}});
    }
    return prep;
}

void write_melee_section(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                         std::string_view part_link) {
    if (stats.weaponCount <= 0) return;
    page.raw("\n\n<a name=\"Attaques\"></a>");
    for (const WeaponGroup& group : prep.groups) write_weapon_block(page, stats, prep, group, part_link);
    if (!prep.multiple.empty()) write_multiple_block(page, stats, prep, part_link);
}

}  // namespace korvanel
