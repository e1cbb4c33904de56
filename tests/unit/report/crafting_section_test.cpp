#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "report/sections.h"
#include "run/messages.h"
#include "test_support.h"

namespace korvanel {
namespace {

constexpr auto kTitleAndHeader = latin1(
    "\n\n<a name=\"Artisanat\"></a><p><font size=\"4\"><b>Artisanat</b></font>"
    " (<a href=\"./Resultats.html#Sommaire\"><i>Sommaire</i></a>)</p>"
    "<table  width=\"1070\" border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
    "<td width=\"250\" height=\"25\" > Nom de l'objet </td><td width=\"80\" height=\"25\" >Tentatives</td>"
    "<td width=\"80\" height=\"25\" >Réussites</td><td width=\"80\" height=\"25\" >Ratages</td>"
    "<td width=\"80\" height=\"25\" >Pertes</td><td width=\"40\" height=\"25\" >94%</td>"
    "<td width=\"40\" height=\"25\" >95%</td><td width=\"40\" height=\"25\" >96%</td>"
    "<td width=\"40\" height=\"25\" >97%</td><td width=\"40\" height=\"25\" >98%</td>"
    "<td width=\"40\" height=\"25\" >99%</td><td width=\"40\" height=\"25\" >100%</td>"
    "<td width=\"70\" height=\"25\" >Qua moy</td><td width=\"150\" height=\"25\" >Gains</td></tr>");

CraftStats& add_item(PartStats& stats, std::string_view name, std::initializer_list<int> qualities,
                     int no_loss = 0, int with_loss = 0) {
    CraftStats& craft = stats.crafts[stats.craftCount++];
    craft.name = name;
    for (int q : qualities) craft.qualities.push(q);
    craft.failedNoLoss = no_loss;
    craft.failedWithLoss = with_loss;
    return craft;
}

void add_skill(CraftStats& craft, std::string_view name, int gains) {
    craft.skillNames[static_cast<std::size_t>(craft.skillCount)] = name;
    craft.skillGains[static_cast<std::size_t>(craft.skillCount++)] = gains;
}

std::string section_of(const PartStats& stats) {
    testing::TempDir dir;
    {
        PageWriter page(dir.path() / "p.html", "p.html");
        write_crafting_section(page, stats, "Resultats");
        page.close();
    }
    return dir.read("p.html");
}

// The figure cells of a row, from the attempts to the average quality.
std::string cells(int attempts, std::initializer_list<const char*> shares, std::initializer_list<const char*> qualities,
                  const char* average) {
    std::string out = "<td width=\"80\" height=\"25\" >" + std::to_string(attempts) + "</td>";
    for (const char* s : shares) out += std::string("<td width=\"80\" height=\"25\" >") + s + "</td>";
    for (const char* q : qualities) out += std::string("<td width=\"40\" height=\"25\" >") + q + "</td>";
    return out + "<td width=\"70\" height=\"25\" >" + average + "</td>";
}

std::string row_start(const std::string& name) {
    return "<tr align=\"center\" bgcolor=\"#DEE3E7\"><td width=\"250\" height=\"25\" >" + name + "</td>";
}

TEST(CraftingSection, OneItemHasNoTotalRow) {
    auto stats = new_part_stats();
    CraftStats& bow = add_item(*stats, "<arc>", {96, 100, 100}, 0, 1);
    add_skill(bow, "empennage", 2);
    add_skill(bow, "forge", 1);
    EXPECT_EQ(section_of(*stats),
              std::string(kTitleAndHeader.view()) + row_start("&lt;arc&gt;") +
                  cells(4, {"75%", "0%", "25%"}, {"0%", "0%", "33%", "0%", "0%", "0%", "67%"}, "99%") +
                  "<td width=\"150\" height=\"25\" >empennage + 2<br>forge + 1<br></td></tr></table>");
}

TEST(CraftingSection, OnlyQualitiesFrom94WeighInTheAverage) {
    auto stats = new_part_stats();
    add_item(*stats, "dague", {90, 100});
    EXPECT_NE(section_of(*stats).find(cells(2, {"100%", "0%", "0%"}, {"0%", "0%", "0%", "0%", "0%", "0%", "50%"}, "50%") +
                                      "<td width=\"150\" height=\"25\" >-</td></tr>"),
              std::string::npos);
}

TEST(CraftingSection, TotalRowMergesSkillsInOrderOfFirstAppearance) {
    auto stats = new_part_stats();
    CraftStats& bow = add_item(*stats, "arc", {94}, 1);
    add_skill(bow, "empennage", 2);
    add_skill(bow, "forge", 1);
    add_item(*stats, "started only", {});
    CraftStats& staff = add_item(*stats, "failed only", {}, 0, 2);
    add_skill(staff, "forge", 3);
    add_skill(staff, "couture", 1);

    const std::string text = section_of(*stats);
    // An item without attempts, and one without successes, show "-" where the divisor is 0.
    EXPECT_NE(text.find(row_start("started only") + cells(0, {"-", "-", "-"}, {"-", "-", "-", "-", "-", "-", "-"}, "-") +
                        "<td width=\"150\" height=\"25\" >-</td></tr>"),
              std::string::npos);
    EXPECT_NE(text.find(row_start("failed only") + cells(2, {"0%", "0%", "100%"}, {"-", "-", "-", "-", "-", "-", "-"}, "-")),
              std::string::npos);
    EXPECT_TRUE(text.ends_with(
        "<tr align=\"center\" bgcolor=\"#DEE3E7\"><td width=\"250\" height=\"25\" ><i>Total</i></td>" +
        cells(4, {"25%", "25%", "50%"}, {"100%", "0%", "0%", "0%", "0%", "0%", "0%"}, "94%") +
        "<td width=\"150\" height=\"25\" >empennage + 2<br>forge + 4<br>couture + 1<br></td></tr></table>"));
}

TEST(CraftingSection, EleventhDistinctSkillEndsTheRunWithoutALine) {
    auto stats = new_part_stats();
    CraftStats& first = add_item(*stats, "first", {100});
    for (int i = 0; i < 10; ++i) add_skill(first, "skill " + std::to_string(i), 1);
    CraftStats& second = add_item(*stats, "second", {100});
    add_skill(second, "skill 4", 1);
    add_skill(second, "skill 10", 1);

    testing::TempDir dir;
    try {
        PageWriter page(dir.path() / "p.html", "p.html");
        write_crafting_section(page, *stats, "Resultats");
        ADD_FAILURE() << "no fatal error";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, latin1("trop d'artisanats différents").view());
        EXPECT_FALSE(error.line.has_value());
    }
    const std::string written = dir.read("p.html");
    EXPECT_NE(written.find(row_start("first")), std::string::npos);
    EXPECT_EQ(written.find(row_start("second")), std::string::npos);
}

}  // namespace
}  // namespace korvanel
