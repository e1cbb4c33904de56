#include "console/windows_console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/prompt_word.h"

namespace korvanel {
namespace {

// Every word the prompt reads from console input given in `reads` (what each
// read of the console returns), and how many reads it took.
struct ConsoleWords {
    std::vector<std::wstring> words;
    std::size_t reads = 0;
};
ConsoleWords console_words(const std::vector<std::wstring>& reads) {
    ConsoleLineInput input;
    ConsoleWords result;
    const auto read = [&](std::wstring& units) {
        if (result.reads == reads.size()) return false;
        units = reads[result.reads++];
        return true;
    };
    while (auto word = read_prompt_word<wchar_t>([&] { return input.next(read); })) result.words.push_back(*word);
    return result;
}

TEST(ConsoleLineInput, CtrlZFirstOnALineEndsTheInput) {
    const ConsoleWords typed = console_words({L"abc d\u00e9f\r\n", L"\x1a\r\n", L"jamais lu\r\n"});
    EXPECT_EQ(typed.words, (std::vector<std::wstring>{L"abc", L"d\u00e9f"}));
    EXPECT_EQ(typed.reads, 2u);  // nothing is read after it
}

TEST(ConsoleLineInput, CtrlZElsewhereIsPartOfTheWord) {
    EXPECT_EQ(console_words({L"x\x1a y\r\n"}).words, (std::vector<std::wstring>{L"x\x1a", L"y"}));
    // a long line given in two reads: the second does not begin a line
    EXPECT_EQ(console_words({L"long", L"\x1a nom\r\n", L"\x1a"}).words, (std::vector<std::wstring>{L"long\x1a", L"nom"}));
}

#ifdef _WIN32
TEST(RedirectedInput, ValidUtf8NamesTheSameFileAsOnLinuxOtherBytesAreLatin1) {
    EXPECT_EQ(name_from_redirected_bytes("\xc3\xa9t\xc3\xa9.log"), L"\u00e9t\u00e9.log");
    EXPECT_EQ(name_from_redirected_bytes("\xe9t\xe9.log"), L"\u00e9t\u00e9.log");
    EXPECT_EQ(name_from_redirected_bytes("\xf0\x9f\x98\x80"), L"\U0001F600");
    EXPECT_EQ(name_from_redirected_bytes(""), L"");
}
#endif

}  // namespace
}  // namespace korvanel
