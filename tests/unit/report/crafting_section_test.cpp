#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "report/sections.h"
#include "test_support.h"

namespace korvanel {
namespace {

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
    craft.skillNames.emplace_back(name);
    craft.skillGains.push_back(gains);
    ++craft.skillCount;
}

std::string section_of(const PartStats& stats) {
    return testing::page_text([&](PageWriter& page) { write_crafting_section(page, stats, "Resultats"); });
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

TEST(CraftingSection, ZeroDivisorsShowDashesAndOneItemHasNoTotalRow) {
    auto stats = new_part_stats();
    CraftStats& bow = add_item(*stats, "<arc>", {}, 0, 2);
    add_skill(bow, "empennage", 2);
    add_skill(bow, "forge", 1);
    // Without successes: the quality shares and the average quality have no figure.
    EXPECT_TRUE(section_of(*stats).ends_with(
        row_start("&lt;arc&gt;") + cells(2, {"0%", "0%", "100%"}, {"-", "-", "-", "-", "-", "-", "-"}, "-") +
        "<td width=\"150\" height=\"25\" >empennage + 2<br>forge + 1<br></td></tr></table>"));
    // Started but never finished: no share either.
    bow.failedWithLoss = 0;
    EXPECT_NE(section_of(*stats).find(row_start("&lt;arc&gt;") + cells(0, {"-", "-", "-"}, {"-", "-", "-", "-", "-", "-", "-"}, "-")),
              std::string::npos);
}

}  // namespace
}  // namespace korvanel
