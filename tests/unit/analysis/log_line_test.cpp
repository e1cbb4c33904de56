#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

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

// The first digit is looked for many bytes at a time: wherever it stands,
// whatever surrounds it (bytes above 0x80 included), the reading is the same.
TEST(ReadNumber, AgreesWithAByteByByteReading) {
    auto simple = [](std::string_view text, std::size_t pos) {
        while (pos < text.size() && (text[pos] < '0' || text[pos] > '9')) ++pos;
        std::int64_t value = 0;
        for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
            value = std::min<std::int64_t>(value * 10 + (text[pos] - '0'), 2147483648);
        }
        return static_cast<std::int32_t>(std::min<std::int64_t>(value, 2147483647));
    };
    std::mt19937 random(3);
    const std::string alphabet = "ab /:()+-\x2f\x3a\xE9\x80\xB9\xFF" "0123456789";
    for (int round = 0; round < 3000; ++round) {
        std::string built(random() % 120, ' ');
        for (char& c : built) c = alphabet[random() % (round % 3 == 0 ? alphabet.size() : alphabet.size() - 10)];
        const std::vector<char> exact(built.begin(), built.end());  // no byte beyond the end
        const std::string_view text(exact.data(), exact.size());
        for (std::size_t pos = 0; pos <= text.size(); pos += 1 + random() % 9) {
            ASSERT_EQ(read_number(text, pos), simple(text, pos)) << built << " at " << pos;
        }
    }
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
