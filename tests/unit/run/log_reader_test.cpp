#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/dispatch.h"
#include "run/log_reader.h"

namespace korvanel {
namespace {

// A temporary file holding `bytes`, read from its start.
std::FILE* file_with(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    return file;
}

// Every test runs on both paths of the reader: serial and threaded.
class LogReaderPaths : public ::testing::TestWithParam<bool> {
protected:
    ReaderOptions options(std::size_t block = 1 << 20) const { return {GetParam(), block}; }
    std::vector<std::string> read_all(const std::string& bytes, std::size_t block = 1 << 20) const;
};

std::vector<std::string> LogReaderPaths::read_all(const std::string& bytes, std::size_t block) const {
    LogReader reader(file_with(bytes), options(block));
    std::vector<std::string> lines;
    LogLine line;
    while (reader.next(line)) lines.emplace_back(line.text());
    return lines;
}

TEST_P(LogReaderPaths, ALineOf299CharactersComesInTwoPieces) {
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

TEST_P(LogReaderPaths, CarriageReturnBeforeLineFeedIsDropped) {
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

TEST_P(LogReaderPaths, ANulByteEndsTheTextOfItsLine) {
    const auto lines = read_all(std::string("ab\0cd\nef\n", 9));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ab");
    EXPECT_EQ(lines[1], "ef\n");
}

TEST_P(LogReaderPaths, AnEmptyFileHasNoLine) { EXPECT_TRUE(read_all("").empty()); }

// The lines as the rules give them, one byte after the other: a CR right
// before a LF goes, a line ends after its LF or after 299 bytes, a NUL ends
// the text of its line.
std::vector<std::string> lines_by_the_rules(const std::string& bytes) {
    std::string stream;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        stream += bytes[i];
    }
    std::vector<std::string> lines;
    std::string line;
    for (char c : stream) {
        line += c;
        if (c == '\n' || line.size() == LogReader::kMaxLine) {
            lines.push_back(line.substr(0, line.find('\0')));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line.substr(0, line.find('\0')));
    return lines;
}

// Line feeds, carriage returns, NUL bytes and long lines anywhere, across
// every kind of block boundary; every line comes with the first look its
// text would get.
TEST_P(LogReaderPaths, CutsEveryLogAsTheRulesSay) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const std::size_t size = random() % 3000;
        const int long_lines = round % 4;
        while (bytes.size() < size) {
            const unsigned pick = random() % 100;
            if (pick < 8) {
                bytes += '\n';
            } else if (pick < 12) {
                bytes += '\r';
            } else if (pick < 14) {
                bytes += '\0';
            } else if (pick < 15 && long_lines > 0) {
                bytes += std::string(290 + random() % 20, 'x');
            } else if (pick < 20) {
                bytes += "[10:00:00] Vous attaquez le loup";
            } else {
                bytes += static_cast<char>('a' + random() % 26);
            }
        }
        const std::size_t block = round % 3 == 0 ? 2 + random() % 10 : 1 + random() % 700;
        LogReader reader(file_with(bytes), options(block));
        std::vector<std::string> lines;
        LogLine line;
        while (reader.next(line)) {
            ASSERT_TRUE(line.has_first_look());
            ASSERT_EQ(line.first_look(), first_look_at(line.text()));
            ASSERT_EQ(line.message_number(), LogLine(line.text()).message_number());
            lines.emplace_back(line.text());
        }
        ASSERT_EQ(lines, lines_by_the_rules(bytes)) << "round " << round << ", block " << block;
    }
}

// The caller may stop reading at any line; the reading thread stops with it.
TEST_P(LogReaderPaths, StopsAtAnyLine) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes += "[10:00:00] Vous attaquez le loup avec votre hache, 12 (+1)\n";
    for (int stop_after : {0, 1, 5000, 19999}) {
        LogReader reader(file_with(bytes), options(4096));
        LogLine line;
        for (int i = 0; i < stop_after; ++i) ASSERT_TRUE(reader.next(line));
        reader.close();
    }
}

// Past its end the reader keeps answering "no line"; a read that fails is
// an error, not the end of the log.
TEST_P(LogReaderPaths, NoLineAfterTheEndAndAReadErrorIsNotTheEnd) {
    LogReader reader(file_with("a\nb"), options(1));
    LogLine line;
    int lines = 0;
    while (reader.next(line)) ++lines;
    EXPECT_EQ(lines, 2);
    EXPECT_FALSE(reader.next(line));
    EXPECT_FALSE(reader.next(line));

    const auto folder = std::filesystem::temp_directory_path();
    std::FILE* unreadable = std::fopen(folder.string().c_str(), "rb");  // opens, but reads fail
    if (unreadable == nullptr) GTEST_SKIP() << "this system does not open a folder as a file";
    LogReader failing(unreadable, options());
    EXPECT_THROW(failing.next(line), LogReadError);
    EXPECT_FALSE(failing.next(line));
#ifdef __GLIBC__
    // Reads that fail after some good blocks: every line of those comes first.
    struct Cookie {
        std::string bytes;
        std::size_t at = 0;
    } cookie{"a\nb\nc\nd\n"};
    cookie_io_functions_t io{};
    io.read = [](void* c, char* out, std::size_t size) -> ssize_t {
        auto& from = *static_cast<Cookie*>(c);
        if (from.at == from.bytes.size()) return -1;
        const std::size_t n = std::min(size, from.bytes.size() - from.at);
        from.bytes.copy(out, n, from.at);
        from.at += n;
        return static_cast<ssize_t>(n);
    };
    std::FILE* breaking = fopencookie(&cookie, "r", io);
    std::setvbuf(breaking, nullptr, _IONBF, 0);
    LogReader broken(breaking, options(2));
    std::string got;
    try {
        while (broken.next(line)) got += line.text();
        ADD_FAILURE() << "no error";
    } catch (const LogReadError&) {
    }
    EXPECT_EQ(got, "a\nb\nc\nd\n");
#endif
}

INSTANTIATE_TEST_SUITE_P(SerialAndThreaded, LogReaderPaths, ::testing::Bool());

}  // namespace
}  // namespace korvanel
