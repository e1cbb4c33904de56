#include <gtest/gtest.h>

#include "analysis/log_line.h"

namespace korvanel {
namespace {

TEST(ReadNumber, FirstRunOfDigits) {
    EXPECT_EQ(read_number("abc"), 0);
    EXPECT_EQ(read_number("a-12b"), 12);
    EXPECT_EQ(read_number("007"), 7);
    EXPECT_EQ(read_number("1.234"), 1);
    EXPECT_EQ(read_number("x 999999999999"), 2147483647);
    EXPECT_EQ(read_number("2147483647"), 2147483647);
    EXPECT_EQ(read_number("12", 5), 0);
}

TEST(LogLine, TimeStampReadings) {
    const LogLine line("[09:05:07] Vous attaquez\n");
    EXPECT_EQ(line.hours(), 9);
    EXPECT_EQ(line.minutes(), 5);
    EXPECT_EQ(line.seconds(), 7);
    EXPECT_EQ(line.hms(), 90507);
    EXPECT_EQ(line.minute_second(), 507);
}

TEST(LogLine, PositionsBeyondTheEndReadAsEmpty) {
    const LogLine short_line("[10:00:00]");
    EXPECT_EQ(short_line.message(), "");
    EXPECT_FALSE(short_line.message_starts_with("@@"));
    EXPECT_EQ(short_line.number_at(40), 0);
    EXPECT_EQ(short_line.slice(30, 40), "");
    EXPECT_EQ(short_line.find("x", 99), kNotFound);
    EXPECT_FALSE(short_line.has_at(99, ""));

    const LogLine twelve("[10:00:00] X");
    EXPECT_EQ(twelve.message(), "X");
    const LogLine line("[10:00:00] Vous touchez pour 12\n");
    EXPECT_EQ(line.slice(16, 11), "");
    EXPECT_EQ(line.rest_from(16), "touchez pour 12");
    EXPECT_EQ(line.find_in_message("touchez"), 16u);
}

}  // namespace
}  // namespace korvanel
