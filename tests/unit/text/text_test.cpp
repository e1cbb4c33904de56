#include <gtest/gtest.h>

#include "text/bounded_text.h"
#include "text/format.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {
namespace {

TEST(Latin1, AccentedLettersBecomeSingleBytes) {
    constexpr auto text = latin1("é");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(text.view()[0]), 0xE9);
    // An accented letter followed by letters keeps them all (no escape swallowing).
    constexpr auto word = latin1("décès");
    EXPECT_EQ(word.view(), std::string_view("d\xe9" "c\xe8" "s"));
    constexpr auto upper = latin1("À ü ÿ");
    EXPECT_EQ(upper.view(), std::string_view("\xc0 \xfc \xff"));
}

TEST(Latin1, ConvertsBackToUtf8) {
    EXPECT_EQ(latin1_to_utf8(latin1("Défense à côté")), "Défense à côté");
    EXPECT_EQ(latin1_to_utf8(std::string_view("\x80\x9f", 2)), "\xc2\x80\xc2\x9f");
}

TEST(BoundedText, KeepsTheFirstBytesOfALongerText) {
    BoundedText<5> name;
    name = "abcdefgh";
    EXPECT_EQ(name.view(), "abcde");
    name = "ab";
    EXPECT_EQ(name.view(), "ab");
}

TEST(Format, ConversionsAndMissingFigures) {
    std::string out;
    format_into(out, "%i-%s %%", {FormatArg(-12), FormatArg("x")}, false);
    EXPECT_EQ(out, "-12-x %");
    out.clear();
    format_into(out, "<td>%i%%</td>(%i%%)", {FormatArg(std::optional<int>()), FormatArg(std::optional<int>(7))}, true);
    EXPECT_EQ(out, "<td>-</td>(7%)");
}

TEST(Format, PageTextsAreEscapedConsoleTextsAreNot) {
    std::string page;
    format_into(page, "<b>%s</b>", {FormatArg("<script>\"a&b\"</script>\xe9")}, true);
    EXPECT_EQ(page, "<b>&lt;script&gt;&quot;a&amp;b&quot;&lt;/script&gt;\xe9</b>");
    std::string console;
    format_into(console, "%s", {FormatArg("<a>&")}, false);
    EXPECT_EQ(console, "<a>&");
}

TEST(Int32, SumsWrapAroundLikeTwosComplement) {
    EXPECT_EQ(add32(2147483647, 1), -2147483647 - 1);
    EXPECT_EQ(mul32(2147483647, 10000), -10000);
    EXPECT_EQ(div32(-2147483647 - 1, -1), -2147483647 - 1);
    EXPECT_EQ(div32(-7, 2), -3);
    EXPECT_EQ(mod32(-7, 2), -1);
}

}  // namespace
}  // namespace korvanel
