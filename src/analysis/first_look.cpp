#include "analysis/first_look.h"

#include <cstdlib>
#include <queue>
#include <string_view>

namespace korvanel {

TextScanner::TextScanner(const std::vector<std::pair<std::string_view, std::uint32_t>>& texts) {
    // Every byte that occurs in a text gets a class of its own; all others share class 0.
    for (const auto& [text, mask] : texts) {
        for (unsigned char byte : text) {
            if (byte_class_[byte] == 0) byte_class_[byte] = static_cast<std::uint8_t>(classes_++);
        }
    }
    if (classes_ > 255) std::abort();

    // The tree of the texts; -1 is "no edge yet".
    std::vector<std::vector<int>> edges(1, std::vector<int>(classes_, -1));
    output_.assign(1, 0);
    for (const auto& [text, mask] : texts) {
        int state = 0;
        for (unsigned char byte : text) {
            int& edge = edges[static_cast<std::size_t>(state)][byte_class_[byte]];
            if (edge < 0) {
                edge = static_cast<int>(edges.size());
                edges.emplace_back(classes_, -1);
                output_.push_back(0);
            }
            state = edge;
        }
        output_[static_cast<std::size_t>(state)] |= mask;
    }

    // Breadth first: each state's fallback is the longest proper suffix that
    // is also a state; missing edges follow the fallback's edges.
    std::vector<int> fallback(edges.size(), 0);
    std::vector<std::uint32_t> goes_to(edges.size() * classes_, 0);  // state * classes_ + class -> state
    std::queue<int> pending;
    for (std::uint32_t c = 0; c < classes_; ++c) {
        const int child = edges[0][c];
        if (child > 0) {
            goes_to[c] = static_cast<std::uint32_t>(child);
            pending.push(child);
        }
    }
    while (!pending.empty()) {
        const int state = pending.front();
        pending.pop();
        const auto s = static_cast<std::size_t>(state);
        output_[s] |= output_[static_cast<std::size_t>(fallback[s])];
        for (std::uint32_t c = 0; c < classes_; ++c) {
            const int child = edges[s][c];
            const std::uint32_t through_fallback = goes_to[static_cast<std::size_t>(fallback[s]) * classes_ + c];
            if (child > 0) {
                fallback[static_cast<std::size_t>(child)] = static_cast<int>(through_fallback);
                goes_to[s * classes_ + c] = static_cast<std::uint32_t>(child);
                pending.push(child);
            } else {
                goes_to[s * classes_ + c] = through_fallback;
            }
        }
    }

    // A time stamp can be skipped when none of its bytes leads anywhere from the start.
    stamp_leads_nowhere_ = true;
    for (unsigned char byte : std::string_view("[]: 0123456789")) {
        if (goes_to[byte_class_[byte]] != 0) stamp_leads_nowhere_ = false;
    }

    next_.resize(goes_to.size());
    for (std::size_t i = 0; i < goes_to.size(); ++i) {
        const std::uint32_t state = goes_to[i];
        next_[i] = std::uint64_t{output_[state]} << 32 | state * classes_;
    }
}

}  // namespace korvanel
