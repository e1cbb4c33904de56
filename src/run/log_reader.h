// Reading the log one line at a time.
#pragma once

#include <cstdio>
#include <vector>

#include "analysis/log_line.h"

namespace korvanel {

// Reads the log in large blocks and hands out its lines: each at most 299
// bytes, ending with its "\n" (a longer physical line comes as several
// pieces). A carriage return right before a line feed is dropped. A NUL byte
// ends the text of its line.
class LogReader {
public:
    static constexpr std::size_t kMaxLine = 299;

    explicit LogReader(std::FILE* file, std::size_t block_size = 1 << 20);
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // The next line, valid until the next call; false once the log is exhausted.
    bool next(LogLine& line);
    void close();

private:
    bool refill();

    std::FILE* file_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool pending_cr_ = false;
    char assembled_[kMaxLine + 1] = {};
};

}  // namespace korvanel
