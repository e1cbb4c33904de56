#include "run/log_reader.h"

#include <algorithm>
#include <cstring>

namespace korvanel {

LogReader::LogReader(std::FILE* file, std::size_t block_size) : file_(file), block_(block_size < 2 ? 2 : block_size) {}

LogReader::~LogReader() { close(); }

void LogReader::close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

namespace {
// Drops every carriage return that stands right before a line feed; returns the new length.
std::size_t drop_cr_before_lf(char* data, std::size_t length) {
    char* read = static_cast<char*>(std::memchr(data, '\r', length));
    if (read == nullptr) return length;
    char* const end = data + length;
    char* write = read;
    while (read < end) {
        char* cr = static_cast<char*>(std::memchr(read, '\r', static_cast<std::size_t>(end - read)));
        if (cr == nullptr) {
            const auto rest = static_cast<std::size_t>(end - read);
            std::memmove(write, read, rest);
            write += rest;
            break;
        }
        const auto run = static_cast<std::size_t>(cr - read);
        std::memmove(write, read, run);
        write += run;
        read = cr + 1;
        if (read < end && *read == '\n') continue;  // the CR goes
        *write++ = '\r';
    }
    return static_cast<std::size_t>(write - data);
}
}  // namespace

bool LogReader::refill() {
    pos_ = 0;
    end_ = 0;
    if (file_ == nullptr) return false;
    std::size_t start = 0;
    if (pending_cr_) {
        block_[0] = '\r';
        start = 1;
        pending_cr_ = false;
    }
    std::size_t got = 0;
    if (!eof_) {
        got = std::fread(block_.data() + start, 1, block_.size() - start, file_);
        if (got < block_.size() - start) eof_ = true;  // end of file, or a read error ending the log
    }
    end_ = drop_cr_before_lf(block_.data(), start + got);
    // A CR at the end of the block may belong to a CR-LF split across blocks.
    if (!eof_ && end_ > 0 && block_[end_ - 1] == '\r') {
        pending_cr_ = true;
        --end_;
    }
    return end_ > 0;
}

bool LogReader::next(LogLine& line) {
    std::size_t length = 0;
    while (length < kMaxLine) {
        if (pos_ == end_ && !refill()) break;
        const char* const at = block_.data() + pos_;
        const std::size_t window = std::min(end_ - pos_, kMaxLine - length);
        const void* newline = std::memchr(at, '\n', window);
        const std::size_t n = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - at) + 1 : window;
        const bool complete = newline != nullptr || length + n == kMaxLine;
        if (length == 0 && complete) {  // the whole line lies in the block
            pos_ += n;
            std::string_view text(at, n);
            if (const void* nul = std::memchr(at, '\0', n)) text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - at));
            line = LogLine(text);
            return true;
        }
        std::memcpy(assembled_ + length, at, n);
        length += n;
        pos_ += n;
        if (complete) break;
    }
    if (length == 0) return false;
    std::string_view text(assembled_, length);
    if (const void* nul = std::memchr(assembled_, '\0', length)) text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - assembled_));
    line = LogLine(text);
    return true;
}

}  // namespace korvanel
