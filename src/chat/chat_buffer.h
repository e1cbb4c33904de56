// The chat lines and log-opening lines kept, in log order, for the
// transcript written after the whole log has been read: as many as the log
// holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace korvanel {

class ChatBuffer {
public:
    static constexpr std::size_t kSlotText = 300;
    // The lines are kept in blocks that never move, so that the buffer
    // grows without copying what it holds; a line never spans two blocks.
    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    // Stores a copy of the line (cut at 300 characters).
    void store(std::string_view line) {
        if (line.size() > kSlotText) line = line.substr(0, kSlotText);
        if (line.size() > room_) new_block();
        if (!line.empty()) std::memcpy(blocks_.back().get() + (kBlock - room_), line.data(), line.size());
        room_ -= line.size();
        end_ += line.size();
        ends_.push_back(end_);
    }
    int count() const { return static_cast<int>(ends_.size()); }
    std::string_view line(int i) const {
        const std::uint64_t end = ends_[static_cast<std::size_t>(i)];
        std::uint64_t begin = i == 0 ? 0 : ends_[static_cast<std::size_t>(i) - 1];
        if (begin == end) return {};
        // A line that did not fit in the rest of a block begins the next one.
        const std::uint64_t block = (end - 1) / kBlock;
        if (begin < block * kBlock) begin = block * kBlock;
        return {blocks_[static_cast<std::size_t>(block)].get() + (begin - block * kBlock),
                static_cast<std::size_t>(end - begin)};
    }

private:
    [[gnu::noinline]] void new_block() {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlock));
        end_ += room_;  // the rest of the block before stays unused
        room_ = kBlock;
    }

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t room_ = 0;     // free bytes at the end of the last block
    std::uint64_t end_ = 0;    // where the next line begins, counting every block whole
    std::vector<std::uint64_t> ends_;  // where each line ends
};

}  // namespace korvanel
