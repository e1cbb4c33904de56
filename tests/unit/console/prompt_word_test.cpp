#include "console/prompt_word.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvanel {
namespace {

// Every word the prompt would read from `input`, in order.
std::vector<std::string> words_of(const std::string& input) {
    std::size_t at = 0;
    auto next = [&] { return at < input.size() ? static_cast<long>(static_cast<unsigned char>(input[at++])) : -1L; };
    std::vector<std::string> words;
    while (auto word = read_prompt_word<char>(next)) words.push_back(*word);
    return words;
}

TEST(PromptWord, BlankDelimitedWordsAsTyped) {
    EXPECT_EQ(words_of("  chat.log\n q\n"), (std::vector<std::string>{"chat.log", "q"}));
    EXPECT_EQ(words_of(" \n\t "), std::vector<std::string>{});
}

TEST(PromptWord, AQuotedWordRunsToItsClosingQuoteOnTheSameLine) {
    EXPECT_EQ(words_of("\"C:\\Mes logs\\chat.log\" suite\n"),
              (std::vector<std::string>{"C:\\Mes logs\\chat.log", "suite"}));
    EXPECT_EQ(words_of("\"sans fin de guillemet\nautre\n"),
              (std::vector<std::string>{"sans fin de guillemet", "autre"}));
    EXPECT_EQ(words_of("\"\"x"), (std::vector<std::string>{"", "x"}));  // what follows the quote stays
}

TEST(PromptWord, OnlyTheFirst63UnitsAreKept) {
    const std::string long_word(70, 'a');
    EXPECT_EQ(words_of(long_word + " b"), (std::vector<std::string>{std::string(63, 'a'), "b"}));
    EXPECT_EQ(words_of("\"" + long_word + " c\""), (std::vector<std::string>{std::string(63, 'a')}));
}

}  // namespace
}  // namespace korvanel
