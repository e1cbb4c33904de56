#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::page_text;

void fill(ValueSeries& series, int count, int value) {
    for (int i = 0; i < count; ++i) series.push(value);
}

// A part with one heal spell: `uncapped` heals of `amount`, `capped` capped heals of `capped_amount`.
std::unique_ptr<PartStats> heal_part(int casts, int uncapped, int amount, int capped = 0, int capped_amount = 0) {
    auto stats = new_part_stats();
    SpellStats& heal = stats->spells[0];
    heal.name = "Soin majeur";
    heal.spellKind = 2;
    heal.casts = casts;
    fill(heal.amounts, uncapped, amount);
    fill(heal.cappedHeals, capped, capped_amount);
    stats->spellCount = 1;
    return stats;
}

// The cells after the name cell of the section's only row.
std::string cells(const PartStats& stats) {
    const std::string text = page_text([&](PageWriter& p) { write_heal_section(p, stats, "Resultats"); });
    const std::string name_end = "Soin majeur</td>";
    const std::size_t at = text.find(name_end);
    if (at == std::string::npos) return text;
    return text.substr(at + name_end.size());
}

TEST(HealSection, CappedHealsLowerTheRealAverageAndEfficiency) {
    EXPECT_EQ(cells(*heal_part(10, 10, 200)),
              "<td width=\"80\">10</td><td width=\"80\">200</td><td width=\"80\">0%</td>"
              "<td width=\"80\">200-200</td><td width=\"120\">200</td><td width=\"80\">100%</td>"
              "<td width=\"150\">-</td></tr></table>");
    // The first cell counts the uncapped heals, not the casts.
    EXPECT_EQ(cells(*heal_part(10, 5, 200, 5, 100)),
              "<td width=\"80\">5</td><td width=\"80\">200</td><td width=\"80\">0%</td>"
              "<td width=\"80\">200-200</td><td width=\"120\">150</td><td width=\"80\">75%</td>"
              "<td width=\"150\">-</td></tr></table>");
}

TEST(HealSection, UncappedMeanOfZeroHasNoEfficiency) {
    EXPECT_NE(cells(*heal_part(2, 2, 0, 1, 50)).find("<td width=\"120\">17</td><td width=\"80\">-</td>"),
              std::string::npos);
}

TEST(HealSection, GroupHealAbove105PeoplePerCast) {
    EXPECT_NE(cells(*heal_part(10, 30, 100)).find("<td width=\"150\">3,0 personnes</td>"), std::string::npos);
    // 21 heals over 20 casts is 1.05 people: a single-target heal.
    EXPECT_NE(cells(*heal_part(20, 21, 100)).find("<td width=\"150\">-</td>"), std::string::npos);
    EXPECT_NE(cells(*heal_part(20, 22, 100)).find("<td width=\"150\">1,1 personnes</td>"), std::string::npos);
    // 99 heals over 25 casts: 3.96 carries to 4,0.
    EXPECT_NE(cells(*heal_part(25, 90, 100, 9, 50)).find("<td width=\"150\">4,0 personnes</td>"),
              std::string::npos);
}

}  // namespace
}  // namespace korvanel
