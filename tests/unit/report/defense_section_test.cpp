#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "test_support.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

std::string defense_page(const PartStats& stats) {
    testing::TempDir dir;
    {
        PageWriter page(dir.path() / "p.html", "p.html");
        write_defense_section(page, stats, "Resultats");
        page.close();
    }
    return dir.read("p.html");
}

void fill(ValueSeries& series, int count, std::int32_t value) {
    for (int i = 0; i < count; ++i) series.push(value);
}

std::string row(std::string_view label, std::string_view cells) {
    return std::string("<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"150\">") + std::string(label) + "</td>" +
           std::string(cells) + "</tr>";
}

constexpr auto kNoBarrier = latin1("<td width=\"150\">0% (efficacité : -)</td>");

TEST(DefenseSection, ShareOfBlowsAvoidedAgainstAllBlowsAimed) {
    auto stats = new_part_stats();
    fill(stats->monsterHits, 30, 12);
    stats->enemyMissed = 10;
    EXPECT_EQ(blows_received(*stats), 30);
    const std::string page = defense_page(*stats);

    const std::string cells = std::string(
                                  "<td width=\"150\">25%</td><td width=\"150\">25%</td>"
                                  "<td width=\"80\">0%</td><td width=\"80\">0%</td><td width=\"80\">0%</td>") +
                              std::string(kNoBarrier.view());
    EXPECT_NE(page.find(row("moyenne totale", cells) + row("moyenne partielle", cells) + "</table>"),
              std::string::npos)
        << page;
    EXPECT_EQ(page.find(latin1("Gardés").view()), std::string::npos);
}

TEST(DefenseSection, GuardedColumnAndBarrierEfficiency) {
    auto stats = new_part_stats();
    fill(stats->receivedByType[2], 5, 30);  // arrows count as blows received
    stats->guardedFor = 2;
    stats->absorbedByBarrier = 3;
    stats->barrierPierced = 1;
    const std::string page = defense_page(*stats);

    constexpr auto kHeadings = latin1(
        "<td width=\"80\">Esquivés</td><td width=\"80\">Gardés</td>"
        "<td width=\"150\">Evités par une bulle</td></tr>");
    EXPECT_NE(page.find(kHeadings.view()), std::string::npos) << page;
    constexpr auto kCells = latin1(
        "<td width=\"150\">50%</td><td width=\"150\">0%</td><td width=\"80\">0%</td><td width=\"80\">0%</td>"
        "<td width=\"80\">0%</td><td width=\"80\">20%</td><td width=\"150\">30% (efficacité : 75%)</td>");
    EXPECT_NE(page.find(row("moyenne totale", kCells) + row("moyenne partielle", kCells)), std::string::npos)
        << page;
}

TEST(DefenseSection, NothingAvoidedLeavesOutTheAvoidanceTable) {
    auto stats = new_part_stats();
    fill(stats->monsterHits, 3, 12);
    stats->barrierPierced = 4;
    EXPECT_EQ(defense_page(*stats).find("moyenne totale"), std::string::npos);
}

TEST(DefenseSection, MonsterBlowsOpenTheRowOfReceivedTypes) {
    auto stats = new_part_stats();
    fill(stats->monsterHits, 1, 10);
    for (int type : {0, 1, 2, 6}) fill(stats->receivedByType[static_cast<std::size_t>(type)], 1, 10);
    const std::string page = defense_page(*stats);

    // Monster blows, poison and melee fill the first row; arrows and bleeding start the second.
    const auto row_break = page.find("</tr><tr><td><table><tr align=\"center\"><td>");
    ASSERT_NE(row_break, std::string::npos) << page;
    EXPECT_LT(page.find(latin1("Coups recus au corps à corps en rvr").view()), row_break);
    EXPECT_GT(page.find(latin1("Flèches recues").view()), row_break);
    EXPECT_EQ(page.find("</tr><tr><td><table><tr align=\"center\"><td>", row_break + 1), std::string::npos);
}

}  // namespace
}  // namespace korvanel
