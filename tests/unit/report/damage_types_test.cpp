#include <gtest/gtest.h>

#include <string>

#include "report/sections.h"
#include "test_support.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

std::string dealt_page(const PartStats& stats) {
    return testing::page_text([&](PageWriter& page) { write_dealt_damage_section(page, stats, "Resultats"); });
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

}  // namespace
}  // namespace korvanel
