#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/charts_json.h"
#include "report/charts_page.h"
#include "system/system_names.h"

namespace korvanel {
namespace {

TEST(ChartWindow, WidensByFiveSecondsUntilSixHundredColumnsAreLeft) {
    EXPECT_EQ(chart_window(std::vector<std::int32_t>{}), 5);
    EXPECT_EQ(chart_window(std::vector<std::int32_t>{3000}), 5);  // exactly 600 windows
    EXPECT_EQ(chart_window(std::vector<std::int32_t>{3001}), 10);
    EXPECT_EQ(chart_window(std::vector<std::int32_t>(600, 1)), 5);     // one window per fight
    EXPECT_EQ(chart_window(std::vector<std::int32_t>(300, 11)), 10);  // 900 at 5 s, 600 at 10 s
    EXPECT_EQ(chart_window(std::vector<std::int32_t>(600, 86400)), 86400);
    // a short fight keeps one window whatever the width: only the long one weighs
    std::vector<std::int32_t> mixed(500, 1);
    mixed.push_back(1000);  // 200 windows at 5 s, 100 at 10 s
    EXPECT_EQ(chart_window(mixed), 10);
}

TEST(ChartTexts, ActiveTimeDropsLeadingZeroUnits) {
    EXPECT_EQ(active_time_text(3909), "1h 05min 09s");
    EXPECT_EQ(active_time_text(309), "5min 09s");
    EXPECT_EQ(active_time_text(42), "42s");
    EXPECT_EQ(active_time_text(36000), "10h 00min 00s");
}

TEST(ChartsJson, StringsEscapeQuotesBackslashesAndControlCharacters) {
    std::string out;
    append_json_string(out, std::string("a\"b\\c\b\t\n\f\r\x01\x1f\x7f\xc3\xa9", 15));
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\b\\t\\n\\f\\r\\u0001\\u001f\x7f\xc3\xa9\"");
}

TEST(ChartsJson, TheLogNameComesFromTheSystemsOwnName) {
    EXPECT_EQ(utf8_system_name(path_from_utf8("\xc3\xa9t\xc3\xa9.log")), "\xc3\xa9t\xc3\xa9.log");
#ifdef _WIN32
    EXPECT_EQ(utf8_system_name(std::filesystem::path(std::wstring{L'a', wchar_t(0xD800), L'b'})), "a\xef\xbf\xbd" "b");
    EXPECT_EQ(utf8_system_name(std::filesystem::path(std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)})),
              "\xf0\x9f\x98\x80");
#else
    // not UTF-8 (an ISO-8859-1 name): each byte is its ISO-8859-1 character
    EXPECT_EQ(utf8_system_name(std::filesystem::path("\xe9t\xe9.log")), "\xc3\xa9t\xc3\xa9.log");
    EXPECT_EQ(utf8_system_name(std::filesystem::path("\xed\xa0\x80")), "\xc3\xad\xc2\xa0\xc2\x80");  // a surrogate
#endif
}

}  // namespace
}  // namespace korvanel
