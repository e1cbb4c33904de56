#include "run/log_reader.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "analysis/dispatch.h"

namespace korvanel {

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

// Calls found(position) for every line feed of data[0..length), in order.
template <typename Found>
void for_each_newline(const char* data, std::size_t length, Found&& found) {
    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time.
    const __m128i newline = _mm_set1_epi8('\n');
    for (; at + 16 <= length; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)));
        while (feeds != 0) {
            found(at + static_cast<std::size_t>(__builtin_ctz(feeds)));
            feeds &= feeds - 1;
        }
    }
#endif
    while (at < length) {
        const void* feed = std::memchr(data + at, '\n', length - at);
        if (feed == nullptr) break;
        const auto position = static_cast<std::size_t>(static_cast<const char*>(feed) - data);
        found(position);
        at = position + 1;
    }
}

// How many blocks are under way at once: the one handed out and those read ahead.
constexpr int kBatches = 4;
}  // namespace

// One block of the log cut into lines: the bytes (the end of the previous
// block's last, unfinished line, then the block), and each line's text and
// first look.
struct LogReader::Batch {
    explicit Batch(std::size_t capacity) : bytes(new char[capacity]) {}

    std::unique_ptr<char[]> bytes;
    // Each line's text, first look and first number of its message text:
    // as many as the blocks have held lines.
    std::vector<std::string_view> texts;
    std::vector<std::uint64_t> looks;
    std::vector<std::int32_t> numbers;
    bool last = false;          // no line follows this block's
    std::exception_ptr error;   // the read of this block failed: it ends the log
};

// Reads the log block by block into batches, on a thread of its own when
// threaded, else when the lines are asked for.
class LogReader::Source {
public:
    Source(std::FILE* file, const ReaderOptions& options, std::uint64_t byte_limit)
        : file_(file),
          left_(byte_limit),
          block_size_(options.block_size < 2 ? 2 : options.block_size),
          capacity_(block_size_ + kMaxLine + 1),
          carry_(new char[capacity_]) {
        const bool threaded = options.threaded && file_ != nullptr;
        for (int i = 0; i < (threaded ? kBatches : 1); ++i) batches_.push_back(std::make_unique<Batch>(capacity_));
        for (auto& batch : batches_) free_.push_back(batch.get());
        if (threaded) {
            try {
                thread_ = std::thread([this] { read_ahead(); });
            } catch (const std::system_error&) {
                // no second thread: the blocks are read when asked for
            }
        }
    }

    ~Source() { stop(); }

    // Takes back `done` (when given) and hands out the next batch, or nullptr after the last.
    Batch* next(Batch* done) {
        if (!thread_.joinable()) {
            if (done != nullptr && done->last) return nullptr;
            Batch* batch = done != nullptr ? done : free_.front();
            if (stopped_ || file_ == nullptr) return nullptr;
            fill(*batch);
            return batch;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        if (done != nullptr) {
            if (done->last) return nullptr;
            free_.push_back(done);
            changed_.notify_all();
        }
        changed_.wait(lock, [this] { return !full_.empty(); });
        Batch* batch = full_.front();
        full_.pop_front();
        // The batches before it in the queue were handed out first.
        if (batch->error) std::rethrow_exception(batch->error);
        return batch;
    }

    // Ends the reading thread and closes the log.
    void stop() {
        if (thread_.joinable()) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                stopped_ = true;
            }
            changed_.notify_all();
            thread_.join();
        }
        stopped_ = true;
        if (file_ != nullptr) std::fclose(file_);
        file_ = nullptr;
    }

private:
    // The reading thread: fills every free batch, in log order, up to the last.
    void read_ahead() {
        for (;;) {
            Batch* batch = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                changed_.wait(lock, [this] { return stopped_ || !free_.empty(); });
                if (stopped_) return;
                batch = free_.front();
                free_.pop_front();
            }
            try {
                fill(*batch);
            } catch (...) {
                batch->error = std::current_exception();
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                full_.push_back(batch);
            }
            changed_.notify_all();
            if (batch->last || batch->error) return;
        }
    }

    // Reads the next block behind what is left of the previous one and cuts it into lines.
    void fill(Batch& batch) {
        char* const bytes = batch.bytes.get();
        std::memcpy(bytes, carry_.get(), carry_length_);
        const std::size_t start = carry_length_;
        std::size_t length = start;
        if (pending_cr_) {
            bytes[length++] = '\r';
            pending_cr_ = false;
        }
        if (!eof_) {
            const std::size_t wanted = left_ < block_size_ ? static_cast<std::size_t>(left_) : block_size_;
            const std::size_t got = wanted == 0 ? 0 : std::fread(bytes + length, 1, wanted, file_);
            if (got < wanted) {
                if (std::ferror(file_)) throw LogReadError{};
                eof_ = true;
            }
            left_ -= got;
            if (left_ == 0) eof_ = true;
            length += got;
        }
        length = start + drop_cr_before_lf(bytes + start, length - start);
        // A CR at the end of the block may belong to a CR-LF split across blocks.
        if (!eof_ && length > start && bytes[length - 1] == '\r') {
            pending_cr_ = true;
            --length;
        }

        // Lines of at most kMaxLine bytes; an unfinished last line waits for the next block.
        const bool has_nul = std::memchr(bytes, '\0', length) != nullptr;
        batch.texts.clear();
        std::size_t pos = 0;
        auto emit = [&](std::size_t n) {
            std::string_view text(bytes + pos, n);
            if (has_nul) {
                if (const void* nul = std::memchr(text.data(), '\0', n)) {
                    text = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
                }
            }
            batch.texts.push_back(text);
            pos += n;
        };
        // Every line feed of the block ends a line, after as many pieces of
        // kMaxLine bytes as the line needs before it.
        for_each_newline(bytes, length, [&](std::size_t newline) {
            while (newline - pos >= kMaxLine) emit(kMaxLine);
            emit(newline + 1 - pos);
        });
        while (length - pos >= kMaxLine) emit(kMaxLine);
        if (eof_ && pos < length) emit(length - pos);
        carry_length_ = length - pos;
        std::memcpy(carry_.get(), bytes + pos, carry_length_);
        batch.last = eof_;
        const std::size_t count = batch.texts.size();
        if (batch.looks.size() < count) {
            batch.looks.resize(count);
            batch.numbers.resize(count);
        }
        first_look_at(batch.texts.data(), batch.looks.data(), count);
        for (std::size_t i = 0; i < count; ++i) batch.numbers[i] = read_number(batch.texts[i], kMessageColumn);
    }

    std::FILE* file_;
    std::uint64_t left_;  // bytes still to read
    const std::size_t block_size_;
    const std::size_t capacity_;
    bool eof_ = false;
    bool pending_cr_ = false;
    std::unique_ptr<char[]> carry_;  // the unfinished last line of the previous block
    std::size_t carry_length_ = 0;

    std::vector<std::unique_ptr<Batch>> batches_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch*> free_;  // batches to fill
    std::deque<Batch*> full_;  // filled batches, in log order
    bool stopped_ = false;
    std::thread thread_;
};

ReaderOptions ReaderOptions::for_this_machine() { return {std::thread::hardware_concurrency() > 1}; }

LogReader::LogReader(std::FILE* file, ReaderOptions options, std::uint64_t byte_limit)
    : source_(std::make_unique<Source>(file, options, byte_limit)) {}

LogReader::~LogReader() { close(); }

void LogReader::close() {
    source_->stop();
    at_ = count_ = 0;
}

bool LogReader::next_batch() {
    while (!ended_) {
        Batch* batch = nullptr;
        try {
            batch = source_->next(batch_);
        } catch (...) {
            ended_ = true;  // nothing follows a failed read
            throw;
        }
        if (batch == nullptr) break;
        batch_ = batch;
        texts_ = batch_->texts.data();
        looks_ = batch_->looks.data();
        numbers_ = batch_->numbers.data();
        at_ = 0;
        count_ = batch_->texts.size();
        if (count_ != 0) return true;
        if (batch_->last) break;
    }
    ended_ = true;
    return false;
}

}  // namespace korvanel
