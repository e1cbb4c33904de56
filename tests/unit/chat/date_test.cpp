#include "chat/date.h"

#include <gtest/gtest.h>

#include "scripted_console.h"

namespace korvanel {
namespace {

constexpr const char* kProblem = "\nprobleme avec la conversion de la date du log, l'analyse se poursuit\nligne : ";

struct Converted {
    std::string text;
    bool converted;
    std::string console;
};

Converted convert(const std::string& line) {
    LogDate date;
    date.text = line;
    ScriptedConsole console;
    convert_log_date(date, line, console);
    return {std::string(date.text.view()), date.converted(), console.output};
}

TEST(LogDate, GameDatesBecomeFrench) {
    EXPECT_EQ(convert("*** Journal ouvert : Mon Jan 03 12:34:56 2005\n").text, "lundi 03 Jan 2005 - 12:34:56<br>");
    EXPECT_EQ(convert("*** Journal ouvert : Sun Feb 29 00:00:00 2004").text, "dimanche 29 Feb 2004 - 00:00:00<br>");
    // weekdays outside the table stay as written
    const Converted lower = convert("*** Journal ouvert : mon Jan 03 12:34:56 2005\n");
    EXPECT_EQ(lower.text, "mon 03 Jan 2005 - 12:34:56<br>");
    EXPECT_TRUE(lower.converted);
    EXPECT_EQ(lower.console, "");
}

TEST(LogDate, BlanksCutTheTokensOneByOne) {
    // a day padded with a blank: empty day, the day as clock time, the clock as year
    EXPECT_EQ(convert("*** Journal ouvert : Tue Mar  3 09:05:00 2005\n").text, "mardi  Mar 09:0 - 3<br>");
    // a short year stops at the line break
    EXPECT_EQ(convert("*** Journal ouvert : Fri Jan 07 10:00:00 05\n").text, "vendredi 07 Jan 05 - 10:00:00<br>");
}

TEST(LogDate, UnreadableDatesStayAsCopiedAndAreReported) {
    for (const std::string line : {"*** Journal ouvert : Mon Jan 03 12:34:56\n", "*** Journal ouvert :Mon Jan 03\n",
                                   "*** Journal ouvert - Mon Jan 03 12:34:56 2005\n"}) {
        const Converted result = convert(line);
        EXPECT_EQ(result.text, line);
        EXPECT_FALSE(result.converted);
        EXPECT_EQ(result.console, kProblem + line + "\n");
    }
}

}  // namespace
}  // namespace korvanel
