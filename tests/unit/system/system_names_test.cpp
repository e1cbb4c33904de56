#include "system/system_names.h"

#include <gtest/gtest.h>

namespace korvanel {
namespace {

TEST(SystemNames, Utf8NamesAreShownInLatin1WithAQuestionMarkBeyond) {
    EXPECT_EQ(latin1_from_utf8_name("\xc3\xa9t\xc3\xa9 du soir.log"), "\xe9t\xe9 du soir.log");
    EXPECT_EQ(latin1_from_utf8_name("\xe2\x82\xac \xf0\x9f\x98\x80"), "? ?");  // euro sign, an emoji
    EXPECT_EQ(latin1_from_utf8_name(""), "");
}

TEST(SystemNames, ANameThatIsNotValidUtf8IsTakenByteForByte) {
    EXPECT_EQ(latin1_from_utf8_name("\xe9t\xe9"), "\xe9t\xe9");              // Latin-1 bytes
    EXPECT_EQ(latin1_from_utf8_name("a\xc0\xaf"), "a\xc0\xaf");              // overlong "/"
    EXPECT_EQ(latin1_from_utf8_name("\xed\xa0\x80"), "\xed\xa0\x80");        // a surrogate
    EXPECT_EQ(latin1_from_utf8_name("\xf4\x90\x80\x80"), "\xf4\x90\x80\x80");  // beyond U+10FFFF
    EXPECT_EQ(latin1_from_utf8_name("\xc3\xa9\xc3"), "\xc3\xa9\xc3");        // cut short
}

TEST(SystemNames, Utf16PairsAreOneCharacterAndLoneSurrogatesOneQuestionMark) {
    EXPECT_EQ(latin1_from_utf16(std::u16string_view(u"\u00e9t\u00e9")), "\xe9t\xe9");
    EXPECT_EQ(latin1_from_utf16(std::u16string_view(u"a\U0001F600b\u20ac")), "a?b?");
    const char16_t lone[] = {u'x', 0xD800, u'y', 0xDC00};
    EXPECT_EQ(latin1_from_utf16(std::u16string_view(lone, 4)), "x?y?");
}

TEST(SystemNames, PathsFromProgramTextsKeepTheirLetters) {
    EXPECT_EQ(shown_name(path_from_latin1("\xc9p\xe9\x65.html")), "\xc9p\xe9\x65.html");
    EXPECT_TRUE(path_from_latin1("\xe9").u8string() == u8"\u00e9");
}

}  // namespace
}  // namespace korvanel
