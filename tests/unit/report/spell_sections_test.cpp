#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::page_text;

void fill(ValueSeries& series, std::initializer_list<int> values) {
    for (int v : values) series.push(v);
}
void fill(ValueSeries& series, int count, int value) {
    for (int i = 0; i < count; ++i) series.push(value);
}

SpellStats& add_spell(PartStats& stats, std::string_view name, int casts) {
    SpellStats& spell = stats.spells[stats.spellCount++];
    spell.name = name;
    spell.casts = casts;
    return spell;
}

std::string offensive(const PartStats& stats) {
    return page_text([&](PageWriter& p) { write_offensive_spells_section(p, stats, "Resultats"); });
}
std::string other(const PartStats& stats) {
    return page_text([&](PageWriter& p) { write_other_spells_section(p, stats, "Resultats"); });
}

// The rows of a section: what follows its heading row.
std::string rows(const std::string& section) {
    const std::string heading_end = "</tr>";
    const std::size_t at = section.find(heading_end);
    return at == std::string::npos ? section : section.substr(at + heading_end.size());
}

TEST(SpellConditions, EachSlotCountsForOneSection) {
    auto stats = new_part_stats();
    EXPECT_FALSE(has_offensive_spells(*stats) || has_heals(*stats) || has_other_spells(*stats));

    SpellStats& heal = add_spell(*stats, "Soin mineur", 2);
    heal.spellKind = 2;
    fill(heal.cappedHeals, {100});
    // A heal spell whose every heal was capped is an "other" spell as far as the sections go.
    EXPECT_TRUE(has_other_spells(*stats));
    EXPECT_FALSE(has_heals(*stats));
    fill(heal.amounts, {100});
    EXPECT_TRUE(has_heals(*stats));
    EXPECT_FALSE(has_other_spells(*stats) || has_offensive_spells(*stats));

    fill(add_spell(*stats, "Trait de feu", 1).amounts, {50});
    EXPECT_TRUE(has_offensive_spells(*stats));
}

TEST(OffensiveSpells, PeopleCellOnlyForSpellsHittingInTheCastSecond) {
    auto stats = new_part_stats();
    SpellStats& bolt = add_spell(*stats, "Trait <de> feu", 3);
    bolt.spellKind = 1;
    fill(bolt.amounts, {80});
    // 4 casts with 9 hits, 2 resists and 1 miss: 3 people per cast.
    SpellStats& wave = add_spell(*stats, "Vague", 4);
    wave.spellKind = 3;
    fill(wave.amounts, 9, 50);
    wave.spellResists = 2;
    wave.spellMisses = 1;
    // 99 targets over 25 casts: 3.96 shows as 4,0.
    SpellStats& area = add_spell(*stats, "Nova", 25);
    area.spellKind = 3;
    fill(area.amounts, 99, 10);
    // Heals and spells without damage have no row here.
    SpellStats& heal = add_spell(*stats, "Soin", 1);
    heal.spellKind = 2;
    fill(heal.amounts, {100});
    add_spell(*stats, "Armure", 1);
    const std::string text = rows(offensive(*stats));
    EXPECT_NE(text.find(">Trait &lt;de&gt; feu</td>"), std::string::npos);
    EXPECT_NE(text.find("<td width=\"80\">0%</td><td width=\"150\">-</td></tr>"), std::string::npos);
    EXPECT_NE(text.find("<td width=\"80\">18%</td><td width=\"150\">3,0 personnes</td>"), std::string::npos);
    EXPECT_NE(text.find("<td width=\"150\">4,0 personnes</td>"), std::string::npos);
    EXPECT_EQ(text.find("Soin"), std::string::npos);
    EXPECT_EQ(text.find("Armure"), std::string::npos);
}

TEST(SpellSpeed, ShownAbove40DelaysWithTwoDecimalsAbove100) {
    auto stats = new_part_stats();
    const auto speed_of = [&](int delays_of_2, int delays_of_3) {
        SpellStats& spell = stats->spells[0];
        spell = SpellStats{};
        spell.name = "Armure";
        spell.casts = 1;
        fill(spell.castDelays, delays_of_2, 2);
        fill(spell.castDelays, delays_of_3, 3);
        stats->spellCount = 1;
        const std::string text = rows(other(*stats));
        return text.substr(0, text.find("</td>"));
    };
    EXPECT_EQ(speed_of(20, 20), "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >Armure");
    // Means of 2.585 over 41 delays and 2.574 over 101.
    EXPECT_EQ(speed_of(17, 24), "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >Armure (vitesse : 2,5s)");
    EXPECT_EQ(speed_of(43, 58), "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >Armure (vitesse : 2,57s)");
    // 2.596: the second decimal carries.
    EXPECT_EQ(speed_of(101, 149), "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >Armure (vitesse : 2,60s)");
}

TEST(OtherSpells, ResistShareOverCasts) {
    auto stats = new_part_stats();
    add_spell(*stats, "Armure", 8).spellResists = 1;
    EXPECT_EQ(rows(other(*stats)),
              "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >Armure</td>"
              "<td width=\"80\">8</td><td width=\"80\">13%</td></tr></table>");
}

}  // namespace
}  // namespace korvanel
