#include <gtest/gtest.h>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

using testing::page_text;

std::string grouped(std::int32_t low, std::int32_t billions) {
    return page_text([&](PageWriter& page) { write_grouped_number(page, low, billions); });
}

TEST(GroupedNumber, GroupsOfThreeDigitsWithBillions) {
    EXPECT_EQ(grouped(1234567, 0), "1.234.567");
    EXPECT_EQ(grouped(0, 0), "0");
    EXPECT_EQ(grouped(999, 0), "999");
    EXPECT_EQ(grouped(1000, 0), "1.000");
    EXPECT_EQ(grouped(5, 2), "2.000.000.005");
    EXPECT_EQ(grouped(1000, 1), "1.000.001.000");
    EXPECT_EQ(grouped(0, 1), "1.000.000.000");
    EXPECT_EQ(grouped(1000000000, 1), "2.000.000.000");
    EXPECT_EQ(grouped(12, -3), "12");  // billions only count above 0
    EXPECT_EQ(grouped(-1234, 0), "-1.234");
    EXPECT_EQ(grouped(2147483647, 2147483647), "2.147.483.649.147.483.647");
}

TEST(KillersSection, KillersInOrderOfFirstMeetingWithTheirDeaths) {
    PartStats stats;
    const std::pair<const char*, int> killers[] = {{"Gorm", 3}, {"Tuk", 1}, {"Sla", 2}, {"<Ai&>", 1}};
    for (const auto& [name, deaths] : killers) {
        stats.killers[stats.killerCount].name = name;
        stats.killers[stats.killerCount++].deaths = deaths;
    }
    EXPECT_EQ(page_text([&](PageWriter& page) { write_killers_section(page, stats, "a%25b"); }),
              "\n\n<a name=\"Meurtriers\"></a><p><font size=\"4\"><b>Liste de vos meurtriers</b></font>"
              " (<a href=\"./a%25b.html#Sommaire\"><i>Sommaire</i></a>)</p>"
              "<table border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#EFEFEF\"><td>"
              "Gorm(3 fois), Tuk, Sla(2 fois), &lt;Ai&amp;&gt;</td></tr>"
              "<tr align=\"left\" bgcolor=\"#EFEFEF\"><td><b>Total </b>: 7 meurtriers</td></tr></table>");
}

TEST(HuntingSection, EntriesWithBoldKillsAndTotals) {
    PartStats stats;
    stats.realmKillLast = 2;
    stats.realmKills[0] = {.victim = Name49{"Inconnu"}, .victimByPlayer = false, .realmPoints = 120, .bounty = 0, .xp = 1000000000};
    stats.realmKills[1] = {.victim = Name49{"<Gorm>"}, .victimByPlayer = true, .realmPoints = 30, .bounty = 4, .xp = 1000000000};
    stats.realmKills[2] = {.victim = Name49{"Tuk"}, .victimByPlayer = false, .realmPoints = 0, .bounty = 1, .xp = 5};
    EXPECT_EQ(page_text([&](PageWriter& page) { write_hunting_section(page, stats, "Resultats"); }),
              "\n\n<a name=\"Tableau de chasse\"></a><p><font size=\"4\"><b>Tableau de chasse</b></font>"
              " (<a href=\"./Resultats.html#Sommaire\"><i>Sommaire</i></a>)</p>"
              "<table border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#EFEFEF\"><td>"
              "Inconnu (120 rps), <b>&lt;Gorm&gt;</b> (30 rps), Tuk (0 rps)</td></tr>"
              "<tr align=\"left\" bgcolor=\"#EFEFEF\"><td><b>Total : </b>150 rps, 5 primes, 2.000.000.005 xp"
              "</td></tr></table>");
}

}  // namespace
}  // namespace korvanel
