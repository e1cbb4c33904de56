// Reading the log one line at a time.
#pragma once

#include <cstdio>
#include <cstdint>
#include <memory>
#include <string_view>

#include "analysis/log_line.h"

namespace korvanel {

// Reads the log in large blocks and hands out its lines: each at most 299
// bytes, ending with its "\n" (a longer physical line comes as several
// pieces). A carriage return right before a line feed is dropped. A NUL byte
// ends the text of its line.
//
// Every line comes with its first look (dispatch.h) already taken and the
// first number of its message text already read. Threaded, the reading, the
// cutting into lines and the first looks of the next blocks go on on a
// thread of their own while the caller works through this block; the lines
// still come one by one, in log order, and the caller sees nothing else of
// it. Serial, each block is read when its lines are asked for.
struct ReaderOptions {
    bool threaded = false;
    // Small enough that the blocks in flight touch little fresh memory,
    // which costs more than the handing over of blocks.
    std::size_t block_size = std::size_t{1} << 17;

    // Threaded where the machine has a second core, with the usual blocks.
    static ReaderOptions for_this_machine();
};

// A read of the log failed (not its end).
struct LogReadError {};

class LogReader {
public:
    static constexpr std::size_t kMaxLine = 299;

    static constexpr std::uint64_t kWholeFile = ~std::uint64_t{0};

    // Reads `file` from where it stands, `byte_limit` bytes at the most (the
    // log then ends there).
    LogReader(std::FILE* file, ReaderOptions options, std::uint64_t byte_limit = kWholeFile);
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // The next line, valid until the next call; false once the log is
    // exhausted, and again at every later call. A failed read throws
    // LogReadError once every line read before it has been handed out.
    bool next(LogLine& line) {
        if (at_ == count_ && !next_batch()) return false;
        line = LogLine(texts_[at_], looks_[at_], numbers_[at_]);
        ++at_;
        return true;
    }
    // Stops the reading and closes the log.
    void close();

private:
    struct Batch;
    class Source;

    bool next_batch();

    std::unique_ptr<Source> source_;
    Batch* batch_ = nullptr;  // the block being handed out
    const std::string_view* texts_ = nullptr;
    const std::uint64_t* looks_ = nullptr;
    const std::int32_t* numbers_ = nullptr;
    std::size_t at_ = 0;
    std::size_t count_ = 0;
    bool ended_ = false;
};

}  // namespace korvanel
