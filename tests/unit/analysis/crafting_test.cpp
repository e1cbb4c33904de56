#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

void craft(PartStats& stats, std::initializer_list<std::string_view> lines) {
    for (std::string_view text : lines) recognise_crafting(LogLine(text), stats);
}

constexpr auto kSkillOpening = latin1("[20:10:06] Vous devenez plus doué en ");

std::string start_line(const std::string& item) { return "[20:10:00] Vous commencez le travail sur " + item + ".\n"; }
std::string skill_line(const std::string& skill) { return std::string(kSkillOpening.view()) + skill + "!\n"; }

TEST(Crafting, LongNamesAreCutAndFoundAgainByTheirCut) {
    auto stats = new_part_stats();
    const std::string long_name(60, 'x');
    craft(*stats, {start_line(long_name), start_line(long_name + "yz"), skill_line(long_name),
                   skill_line(long_name + "yz")});
    EXPECT_EQ(stats->craftCount, 1);
    EXPECT_EQ(stats->crafts[0].name.view(), std::string(49, 'x'));
    EXPECT_EQ(stats->crafts[0].skillCount, 1);
    EXPECT_EQ(stats->crafts[0].skillNames[0].view(), std::string(49, 'x'));
    EXPECT_EQ(stats->crafts[0].skillGains[0], 2);
}

FatalError fatal_on(PartStats& stats, std::string_view line) {
    try {
        recognise_crafting(LogLine(line), stats);
    } catch (const FatalError& error) {
        return error;
    }
    ADD_FAILURE() << "no fatal error on " << line;
    return {};
}

TEST(Crafting, LinesThatCannotBeCutEndTheRun) {
    auto stats = new_part_stats();
    const std::string no_dot = "[20:10:00] Vous commencez le travail sur arc court!\n";
    const FatalError start = fatal_on(*stats, no_dot);
    EXPECT_EQ(start.message, "");
    EXPECT_EQ(start.line, no_dot);
    const std::string no_mark = std::string(latin1("[20:10:06] Vous devenez plus doué en empennage.\n"));
    const FatalError skill = fatal_on(*stats, no_mark);
    EXPECT_EQ(skill.message, "");
    EXPECT_EQ(skill.line, no_mark);
}

}  // namespace
}  // namespace korvanel
