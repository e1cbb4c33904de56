#include "analysis/first_look.h"

#include <cstdlib>
#include <queue>
#include <string_view>

namespace korvanel {

TextScanner::TextScanner(const std::vector<std::pair<std::string_view, std::uint64_t>>& texts) {
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

    // Every row must fit its field, every mask its bits.
    if (goes_to.size() > (std::size_t{1} << kRowBits)) std::abort();
    for (const auto& text : texts) {
        if (text.second >> kMaskBits != 0) std::abort();
    }
    next_.resize(goes_to.size());
    for (std::size_t i = 0; i < goes_to.size(); ++i) {
        const std::uint32_t state = goes_to[i];
        next_[i] = output_[state] << kRowBits | std::uint64_t{state * classes_};
    }
}

void TextScanner::scan_many(const std::string_view* lines, std::uint64_t* looks, std::size_t count) const {
    struct Lane {
        const unsigned char* at;
        std::size_t left;  // bytes still to walk
        std::uint32_t row;
        std::uint64_t found;
        std::size_t line;  // index into lines and looks
    };
    const std::uint64_t* const next = next_.data();
    std::size_t taken = 0;
    // Puts the next line into a lane; false when every line has been taken.
    auto take = [&](Lane& lane) {
        if (taken == count) return false;
        std::string_view line = lines[taken];
        if (stamp_leads_nowhere_ && has_time_stamp(line)) line.remove_prefix(kStampLength);
        lane = {reinterpret_cast<const unsigned char*>(line.data()), line.size(), 0, 0, taken};
        ++taken;
        return true;
    };

    constexpr int kLanes = 4;
    Lane lanes[kLanes];
    int filled = 0;
    while (filled < kLanes && take(lanes[filled])) ++filled;
    if (filled == kLanes) {
        for (;;) {
            std::size_t steps = lanes[0].left;
            for (int k = 1; k < kLanes; ++k) steps = lanes[k].left < steps ? lanes[k].left : steps;
            const unsigned char *a = lanes[0].at, *b = lanes[1].at, *c = lanes[2].at, *d = lanes[3].at;
            std::uint32_t ra = lanes[0].row, rb = lanes[1].row, rc = lanes[2].row, rd = lanes[3].row;
            std::uint64_t fa = lanes[0].found, fb = lanes[1].found, fc = lanes[2].found, fd = lanes[3].found;
            for (std::size_t i = 0; i < steps; ++i) {
                const std::uint64_t ea = next[ra + byte_class_[a[i]]];
                const std::uint64_t eb = next[rb + byte_class_[b[i]]];
                const std::uint64_t ec = next[rc + byte_class_[c[i]]];
                const std::uint64_t ed = next[rd + byte_class_[d[i]]];
                ra = static_cast<std::uint16_t>(ea);
                rb = static_cast<std::uint16_t>(eb);
                rc = static_cast<std::uint16_t>(ec);
                rd = static_cast<std::uint16_t>(ed);
                fa |= ea;
                fb |= eb;
                fc |= ec;
                fd |= ed;
            }
            lanes[0].row = ra, lanes[1].row = rb, lanes[2].row = rc, lanes[3].row = rd;
            lanes[0].found = fa, lanes[1].found = fb, lanes[2].found = fc, lanes[3].found = fd;
            bool all_busy = true;
            for (Lane& lane : lanes) {
                lane.at += steps;
                lane.left -= steps;
                // A finished line gives its mask and the lane takes the next line.
                while (lane.left == 0) {
                    looks[lane.line] = lane.found >> kRowBits;
                    if (!take(lane)) {
                        lane.line = count;  // nothing left for this lane
                        all_busy = false;
                        break;
                    }
                }
            }
            if (!all_busy) break;
        }
    }
    // The lanes still walking finish one by one (all of them when there were too few lines).
    for (int k = 0; k < filled; ++k) {
        Lane& lane = lanes[k];
        if (lane.line == count) continue;
        std::uint32_t row = lane.row;
        std::uint64_t found = lane.found;
        for (std::size_t i = 0; i < lane.left; ++i) {
            const std::uint64_t entry = next[row + byte_class_[lane.at[i]]];
            row = static_cast<std::uint16_t>(entry);
            found |= entry;
        }
        looks[lane.line] = found >> kRowBits;
    }
}

}  // namespace korvanel
