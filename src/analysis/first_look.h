// A first look at a line before the recognisers: one pass over its bytes
// finds which of the recognisers' texts it holds, so that a line only pays
// for the recognisers that can match it.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace korvanel {

// Finds, in one pass, which of a fixed set of texts a line contains. Each
// text carries a mask (of kMaskBits bits); scanning a line gives the union
// of the masks of the texts it contains (a multi-text automaton over the
// line's bytes).
class TextScanner {
public:
    static constexpr int kMaskBits = 48;

    explicit TextScanner(const std::vector<std::pair<std::string_view, std::uint64_t>>& texts);

    std::uint64_t scan(std::string_view line) const {
        // No text can begin inside a time stamp: those bytes lead nowhere.
        if (stamp_leads_nowhere_ && has_time_stamp(line)) line.remove_prefix(kStampLength);
        std::uint64_t found = 0;
        std::uint32_t row = 0;  // the current state's row in next_
        const std::uint64_t* const next = next_.data();
        for (unsigned char byte : line) {
            const std::uint64_t entry = next[row + byte_class_[byte]];
            row = static_cast<std::uint16_t>(entry);
            found |= entry;
        }
        return found >> kRowBits;
    }

    // scan() of each of `count` lines into looks[0..count). Gives the same
    // masks, faster: the walk through the automaton is one chain of
    // dependent loads per line, so four lines are walked side by side.
    void scan_many(const std::string_view* lines, std::uint64_t* looks, std::size_t count) const;

private:
    static constexpr int kRowBits = 64 - kMaskBits;

    static constexpr std::size_t kStampLength = 11;  // "[hh:mm:ss] "
    static bool has_time_stamp(std::string_view line) {
        auto digit = [&](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
        return line.size() >= kStampLength && line[0] == '[' && digit(1) && digit(2) && line[3] == ':' &&
               digit(4) && digit(5) && line[6] == ':' && digit(7) && digit(8) && line[9] == ']' && line[10] == ' ';
    }

    bool stamp_leads_nowhere_ = false;
    std::uint32_t classes_ = 1;
    std::uint8_t byte_class_[256] = {};
    // For each state and byte class: the next state's row (state * classes_)
    // in the low kRowBits bits, the masks of the texts that end there above.
    std::vector<std::uint64_t> next_;
    std::vector<std::uint64_t> output_;  // masks of the texts that end at a state
};

}  // namespace korvanel
