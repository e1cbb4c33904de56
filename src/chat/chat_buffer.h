// The chat lines and log-opening lines kept, in log order, for the
// transcript written after the whole log has been read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvanel {

class ChatBuffer {
public:
    static constexpr int kCapacity = 30000;
    static constexpr std::size_t kSlotText = 300;

    // Stores a copy of the line (cut at 300 characters); false when the buffer is full.
    bool store(std::string_view line) {
        if (count() >= kCapacity) return false;
        if (line.size() > kSlotText) line = line.substr(0, kSlotText);
        bytes_.append(line);
        ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
        return true;
    }
    int count() const { return static_cast<int>(ends_.size()); }
    std::string_view line(int i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[static_cast<std::size_t>(i) - 1];
        return std::string_view(bytes_).substr(begin, ends_[static_cast<std::size_t>(i)] - begin);
    }

private:
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace korvanel
