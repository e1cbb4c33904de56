#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "test_support.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

std::string defense_page(const PartStats& stats) {
    return testing::page_text([&](PageWriter& page) { write_defense_section(page, stats, "Resultats"); });
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

TEST(DefenseSection, NothingAvoidedLeavesOutTheAvoidanceTable) {
    auto stats = new_part_stats();
    fill(stats->monsterHits, 3, 12);
    stats->barrierPierced = 4;
    EXPECT_EQ(defense_page(*stats).find("moyenne totale"), std::string::npos);
}

}  // namespace
}  // namespace korvanel
