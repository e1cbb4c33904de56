// A shortcut for the tables that are searched front to back by name (the
// weapon slots, the style links, the monsters): for a hash of the names
// looked for, the slot where they were last found. The table's search asks
// here first and takes the slot only when it still holds those very names
// and no slot before it can answer the search; on a miss it searches the
// table as before and remembers what it found. So the answer is always the
// one the search from the front gives, only sooner.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

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

template <int Slots>
class SlotHints {
    static_assert((Slots & (Slots - 1)) == 0, "a power of two");

public:
    // The slot remembered for the hash, or -1.
    int slot_for(std::uint64_t hash) const { return hints_[index_of(hash)] - 1; }
    void remember(std::uint64_t hash, int slot) { hints_[index_of(hash)] = static_cast<std::int16_t>(slot + 1); }

    // The hints are no part of the statistics: two records with the same
    // tables are the same whatever their hints.
    bool operator==(const SlotHints&) const { return true; }

private:
    static std::size_t index_of(std::uint64_t hash) { return static_cast<std::size_t>(hash >> 40) & (Slots - 1); }

    std::array<std::int16_t, Slots> hints_{};
};

// Every entry of a table whose names are all different (the style links,
// the monsters),
// by the hash of its name: the table is searched here alone, absent names
// included. Entries are only ever added, as the table only grows.
template <int Slots>
class NameIndex {
    static_assert((Slots & (Slots - 1)) == 0, "a power of two");

public:
    // The entry whose name `is_it` accepts among those of this hash, or -1.
    template <class IsIt>
    int find(std::uint64_t hash, IsIt is_it) const {
        const auto tag = tag_of(hash);
        for (std::size_t at = index_of(hash);; at = (at + 1) & (Slots - 1)) {
            const Entry& entry = entries_[at];
            if (entry.slot == 0) return -1;
            if (entry.tag == tag && is_it(entry.slot - 1)) return entry.slot - 1;
        }
    }
    // The table's capacity is well under Slots, so there is always room.
    void add(std::uint64_t hash, int slot) {
        std::size_t at = index_of(hash);
        while (entries_[at].slot != 0) at = (at + 1) & (Slots - 1);
        entries_[at] = {static_cast<std::int16_t>(slot + 1), tag_of(hash)};
    }

    bool operator==(const NameIndex&) const { return true; }  // no part of the statistics either

private:
    struct Entry {
        std::int16_t slot = 0;  // the entry's index + 1; 0 for a free place
        std::uint16_t tag = 0;
    };
    static std::size_t index_of(std::uint64_t hash) { return static_cast<std::size_t>(hash >> 40) & (Slots - 1); }
    static std::uint16_t tag_of(std::uint64_t hash) { return static_cast<std::uint16_t>(hash >> 24); }

    std::array<Entry, Slots> entries_{};
};

}  // namespace korvanel
