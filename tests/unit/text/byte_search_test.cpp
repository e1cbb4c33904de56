#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/byte_search.h"

namespace korvanel {
namespace {

// Texts over a small alphabet, so that needles are found, nearly found and
// found several times; every length of text and needle up to a log line's.
TEST(ByteSearch, FindsWhatStringViewFinds) {
    std::mt19937 random(7);
    const std::string alphabet = "ab \xE9\n";
    auto text_of = [&](std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        // The text lives in its own exact-size allocation: a read past its end is a sanitizer report.
        const std::string built = text_of(random() % 300);
        const std::vector<char> storage(built.begin(), built.end());
        const std::string_view text(storage.data(), storage.size());
        const std::string needle = round % 5 == 0 && !built.empty()
                                       ? built.substr(random() % built.size(), random() % 40)
                                       : text_of(random() % 6);
        for (std::size_t from = 0; from <= text.size(); from += 1 + random() % 7) {
            ASSERT_EQ(find_bytes(text, needle, from), text.find(needle, from))
                << "text \"" << built << "\" needle \"" << needle << "\" from " << from;
        }
        ASSERT_EQ(find_bytes(text, needle, text.size()), text.find(needle, text.size()));
    }
}

TEST(ByteSearch, ComparesEveryLength) {
    for (std::size_t n = 0; n < 40; ++n) {
        const std::string a(n, 'x');
        EXPECT_TRUE(same_bytes(a.data(), a.data(), n));
        for (std::size_t at = 0; at < n; ++at) {
            std::string b = a;
            b[at] = 'y';
            EXPECT_FALSE(same_bytes(a.data(), b.data(), n)) << n << " " << at;
            EXPECT_FALSE(begins_with(b, a));
        }
        EXPECT_TRUE(begins_with(a + "z", a));
        EXPECT_FALSE(begins_with(a, a + "z"));
    }
}

}  // namespace
}  // namespace korvanel
