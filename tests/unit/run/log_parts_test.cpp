#include "run/log_parts.h"

#include <gtest/gtest.h>

#include <deque>

#include "diag/messages.h"
#include "scripted_console.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

constexpr auto kElite = latin1("Boss 1 : l'élite");
constexpr auto kBadCommand = latin1("erreur de ligne de commande pour le choix du nom du résultat");

class LogParts : public ::testing::Test {
protected:
    LogParts() {
        parts.names[0] = "Resultats";
        parts.stats[0] = new_part_stats();
    }
    // One line through the part selection; the line as it is left afterwards.
    std::string feed(const std::string& text) {
        lines.push_back(text);
        LogLine line(lines.back());
        select_log_part(line, parts, target, console);
        return std::string(line.text());
    }
    std::string name(int part) const { return std::string(parts.names[static_cast<std::size_t>(part)].view()); }

    PartTable parts;
    Name49 target{"Inconnu"};
    ScriptedConsole console;
    std::deque<std::string> lines;
};

TEST_F(LogParts, LongNamesAreCutBeforeTheyAreCompared) {
    feed("[10:00:00] Vous visez [" + std::string(60, 'g') + "]\n");
    EXPECT_EQ(target, std::string(49, 'g'));
    feed("[10:00:01] [TOUS]:  ]log select\n");
    feed("[10:00:02] [TOUS]:  ]log name " + std::string(49, 'g') + "uniquement ici\n");
    EXPECT_EQ(parts.count, 2);
    EXPECT_EQ(parts.current, 1);
    EXPECT_EQ(name(1), std::string(49, 'g'));
}

TEST_F(LogParts, ANamedPartTakesTheRestOfTheLineAndKeepsItsStatistics) {
    const std::string elite{kElite.view()};
    // the command line itself loses its line break
    EXPECT_EQ(feed("[10:00:00] [TOUS]:  ]log name " + elite + "\n"), "[10:00:00] [TOUS]:  ]log name " + elite);
    EXPECT_EQ(name(1), elite);
    PartStats* boss = parts.stats[1].get();
    feed("[10:00:01] [TOUS]:  ]log ini\n");
    feed("[10:00:02] [TOUS]:  ]log name " + elite + "\n");
    EXPECT_EQ(parts.current, 1);
    EXPECT_EQ(parts.stats[1].get(), boss);
}

TEST_F(LogParts, ATargetWithoutItsClosingBracketEndsTheRun) {
    try {
        feed("[10:00:05] Vous visez [sans fin\n");
        ADD_FAILURE();
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "");
        EXPECT_EQ(error.line, "[10:00:05] Vous visez [sans fin\n");
    }
}

TEST_F(LogParts, OnlyTheThreeCommandWordsAreAccepted) {
    for (const std::string line : {"[10:00:00] [TOUS]:  ]log nameBoss\n",
                                   "[10:00:00] [TOUS]:  ]log Select\n", "[10:00:00] [TOUS]:  ]log \n"}) {
        try {
            feed(line);
            ADD_FAILURE() << line;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.message, kBadCommand.view());
            EXPECT_EQ(error.line, line);
        }
    }
    // not commands at all: one blank after the colon, or another channel
    feed("[10:00:00] [TOUS]: ]log nom Boss\n");
    feed("[10:00:00] [Guilde]:  ]log nom Boss\n");
    EXPECT_EQ(parts.count, 1);
    EXPECT_EQ(console.output, "");
}

}  // namespace
}  // namespace korvanel
