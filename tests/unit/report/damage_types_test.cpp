#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "test_support.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

std::string dealt_page(const PartStats& stats) {
    testing::TempDir dir;
    {
        PageWriter page(dir.path() / "p.html", "p.html");
        write_dealt_damage_section(page, stats, "Resultats");
        page.close();
    }
    return dir.read("p.html");
}

std::string anchor(int type) { return "<a name=\"" + std::string(damage_type_name(type)) + "\"></a>"; }

TEST(DealtDamage, ThreeTablesToARow) {
    auto stats = new_part_stats();
    for (int type : {0, 2, 3, 5}) stats->dealtByType[static_cast<std::size_t>(type)].push(10 * (type + 1));
    const std::string page = dealt_page(*stats);

    const auto fourth = page.find(anchor(5));
    ASSERT_NE(fourth, std::string::npos) << page;
    EXPECT_LT(page.find(anchor(3)), fourth);
    EXPECT_EQ(page.find("</tr><tr>"), fourth + anchor(5).size()) << page;
    EXPECT_EQ(page.find("</tr><tr>", fourth + 1 + anchor(5).size()), std::string::npos);
    EXPECT_EQ(page.find(anchor(1)), std::string::npos);
    EXPECT_EQ(page.find(anchor(4)), std::string::npos);
}

TEST(DealtDamage, OneTypeWithItsTitleAndStatistics) {
    auto stats = new_part_stats();
    stats->dealtByType[3].push(8);
    stats->dealtByType[3].push(12);
    constexpr auto kExpected = latin1(
        "\n\n<p></p><table><tr>"
        "<a name=\"Saignements donnés\"></a><td><table>"
        "<tr align=\"center\"><td><font size=\"4\"><b>Saignements donnés</b></font>"
        " (<a href=\"./Resultats.html#Sommaire\"><i>Sommaire</i></a>)</tr></td>"
        "<tr><td><table border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
        "<td width=\"80\">Coups</td><td width=\"80\">Moyenne</td><td width=\"80\">Variance</td>"
        "<td width=\"80\">Min-Max</td></tr><tr align=\"center\" bgcolor=\"#EFEFEF\">"
        "<td width=\"80\">2</td><td width=\"80\">10</td><td width=\"80\">20%</td><td width=\"80\">8-12</td>"
        "</tr></table></table></td></tr></table>");
    EXPECT_EQ(dealt_page(*stats), kExpected.view());
}

}  // namespace
}  // namespace korvanel
