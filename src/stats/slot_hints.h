// A shortcut for the tables that are searched front to back by name (the
// weapon slots, the style links, the monsters): for a hash of the names
// looked for, the slot where they were last found. The table's search asks
// here first and takes the slot only when it still holds those very names
// and no slot before it can answer the search; on a miss it searches the
// table as before and remembers what it found. So the answer is always the
// one the search from the front gives, only sooner.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace korvanel {

// A hash of a name from its length and its first and last eight bytes.
inline std::uint64_t name_hash(std::string_view name) {
    const std::size_t n = name.size();
    std::uint64_t head = 0, tail = 0;
    if (n >= 8) {
        std::memcpy(&head, name.data(), 8);
        std::memcpy(&tail, name.data() + n - 8, 8);
    } else if (n != 0) {
        std::memcpy(&head, name.data(), n);
    }
    return (head * 0x9E3779B97F4A7C15ULL) ^ (tail * 0xC2B2AE3D27D4EB4FULL) ^ (n * 0x165667B19E3779F9ULL);
}

// The hints grow with the table they serve: a table with more slots than
// half the hints starts afresh with twice as many (the hints are only a
// shortcut, so forgetting them changes no answer).
class SlotHints {
public:
    // The slot remembered for the hash, or -1.
    int slot_for(std::uint64_t hash) const { return hints_.empty() ? -1 : hints_[index_of(hash)] - 1; }
    void remember(std::uint64_t hash, int slot) {
        if (static_cast<std::size_t>(slot) >= hints_.size() / 2) grow(static_cast<std::size_t>(slot));
        hints_[index_of(hash)] = slot + 1;
    }

    // The hints are no part of the statistics: two records with the same
    // tables are the same whatever their hints.
    bool operator==(const SlotHints&) const { return true; }

private:
    [[gnu::noinline]] void grow(std::size_t slot) {
        std::size_t size = hints_.empty() ? 256 : hints_.size();
        while (slot >= size / 2) size *= 2;
        hints_.assign(size, 0);
    }
    std::size_t index_of(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> 40) & (hints_.size() - 1); }

    std::vector<std::int32_t> hints_;  // the slot + 1; 0 for none
};

// Every entry of a table whose names are all different (the style links,
// the monsters), by the hash of its name: the table is searched here alone,
// absent names included. Entries are only ever added, as the table only
// grows; the index doubles whenever it is half full.
class NameIndex {
public:
    // The entry whose name `is_it` accepts among those of this hash, or -1.
    template <class IsIt>
    int find(std::uint64_t hash, IsIt is_it) const {
        if (entries_.empty()) return -1;
        const std::uint32_t key = key_of(hash);
        const std::size_t mask = entries_.size() - 1;
        for (std::size_t at = index_of(key);; at = (at + 1) & mask) {
            const Entry& entry = entries_[at];
            if (entry.slot == 0) return -1;
            if (entry.key == key && is_it(entry.slot - 1)) return entry.slot - 1;
        }
    }
    void add(std::uint64_t hash, int slot) {
        if (2 * (used_ + 1) > entries_.size()) grow();
        place(Entry{slot + 1, key_of(hash)});
        ++used_;
    }

    bool operator==(const NameIndex&) const { return true; }  // no part of the statistics either

private:
    struct Entry {
        std::int32_t slot = 0;  // the entry's index + 1; 0 for a free place
        std::uint32_t key = 0;  // the high half of the name's hash
    };
    static std::uint32_t key_of(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
    // The top bits of the key, as many as the index has places.
    std::size_t index_of(std::uint32_t key) const { return static_cast<std::size_t>(key >> shift_); }

    void place(const Entry& entry) {
        const std::size_t mask = entries_.size() - 1;
        std::size_t at = index_of(entry.key);
        while (entries_[at].slot != 0) at = (at + 1) & mask;
        entries_[at] = entry;
    }
    [[gnu::noinline]] void grow() {
        std::vector<Entry> old(entries_.empty() ? std::size_t{128} : 2 * entries_.size());
        old.swap(entries_);
        shift_ = 32 - std::countr_zero(entries_.size());
        for (const Entry& entry : old) {
            if (entry.slot != 0) place(entry);
        }
    }

    std::vector<Entry> entries_;
    std::size_t used_ = 0;
    int shift_ = 32;
};

}  // namespace korvanel
