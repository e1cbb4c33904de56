#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/log_reader.h"

namespace korvanel {
namespace {

std::vector<std::string> read_all(const std::string& bytes, std::size_t block = 1 << 20) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    LogReader reader(file, block);
    std::vector<std::string> lines;
    LogLine line;
    while (reader.next(line)) lines.emplace_back(line.text());
    return lines;
}

TEST(LogReader, ALineOf299CharactersComesInTwoPieces) {
    const std::string long_line(299, 'a');
    for (std::size_t block : {std::size_t{1} << 20, std::size_t{7}, std::size_t{300}}) {
        const auto lines = read_all(long_line + "\nb\n", block);
        ASSERT_EQ(lines.size(), 3u) << "block " << block;
        EXPECT_EQ(lines[0], long_line);
        EXPECT_EQ(lines[1], "\n");
        EXPECT_EQ(lines[2], "b\n");
    }
    const auto longer = read_all(std::string(700, 'x') + "\n", 64);
    ASSERT_EQ(longer.size(), 3u);
    EXPECT_EQ(longer[2], std::string(102, 'x') + "\n");
}

TEST(LogReader, CarriageReturnBeforeLineFeedIsDropped) {
    // Every block size puts the CR-LF pair across a block boundary somewhere.
    for (std::size_t block = 2; block < 12; ++block) {
        const auto lines = read_all("ab\r\ncd\re\r\r\nlast", block);
        ASSERT_EQ(lines.size(), 3u) << "block " << block;
        EXPECT_EQ(lines[0], "ab\n");
        EXPECT_EQ(lines[1], "cd\re\r\n");
        EXPECT_EQ(lines[2], "last");  // no final line break
    }
    EXPECT_EQ(read_all("x\r").back(), "x\r");
}

TEST(LogReader, ANulByteEndsTheTextOfItsLine) {
    const auto lines = read_all(std::string("ab\0cd\nef\n", 9));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ab");
    EXPECT_EQ(lines[1], "ef\n");
}

TEST(LogReader, AnEmptyFileHasNoLine) { EXPECT_TRUE(read_all("").empty()); }

}  // namespace
}  // namespace korvanel
