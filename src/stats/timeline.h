// The fights of one log part, as its events come: every damage, heal, kill
// and death the recognisers count is also an event at its line's clock
// second. Amount events are folded at once into per-second sums, kept
// packed, so the timeline grows with the seconds that hold events, not with
// the events themselves.
//
// A fight starts at an amount event when the part has none before it, or
// when the step from the previous amount event is more than 15 seconds or
// negative (a step back of more than 12 hours counts as midnight: it gets a
// day added). Kills and deaths never start or lengthen a fight: they count
// in the fight of the last amount event when they come 0 to 15 seconds
// after it, and in the part's totals always.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace korvanel {

enum class AmountKind : int { Melee, Archery, Spells, Other, Received, Healed };
inline constexpr int kAmountKinds = 6;

using AmountSums = std::array<std::int64_t, kAmountKinds>;

inline constexpr std::int32_t kSecondsPerDay = 86400;
// The longest step from one amount event to the next within a fight, and
// from an amount event to a kill or death that still counts in its fight.
inline constexpr std::int32_t kFightGap = 15;

struct Fight {
    std::int32_t start = 0;   // clock second of its first event, 0 to 86399
    std::int32_t length = 0;  // seconds from its first to its last amount event, plus one
    std::int32_t kills = 0, deaths = 0;
    // Its seconds, packed in the timeline's bytes [rows_begin, rows_end).
    std::uint32_t rows_begin = 0, rows_end = 0;

    bool operator==(const Fight&) const = default;
};

// The sums of one second of a fight that holds at least one amount event.
struct SecondRow {
    std::int32_t offset = 0;  // seconds since the fight's start
    AmountSums sums{};
};

// Kills and deaths of one second of a fight; the offset may lie after the
// fight's last amount event (up to 15 seconds).
struct FightMark {
    std::uint32_t fight = 0;
    std::int32_t offset = 0;
    std::int32_t kills = 0, deaths = 0;

    bool operator==(const FightMark&) const = default;
};

class Timeline {
public:
    // `clock` is the line's clock second, or kNoClock for a line without a
    // valid time stamp: it takes the time of the previous amount event, and
    // brings no event when the part has none yet.
    static constexpr std::int32_t kNoClock = -1;

    void add_amount(std::int32_t clock, AmountKind kind, std::int64_t value) {
        // Most events fall in the second of the event before them.
        if (has_amount_ && (clock == last_clock_ || clock == kNoClock)) {
            const auto k = static_cast<std::size_t>(kind);
            open_sums_[k] += value;
            open_kinds_ |= 1U << k;
            totals_[k] += value;
        } else {
            add_amount_at_new_second(clock, kind, value);
        }
    }
    void add_kill(std::int32_t clock) { add_mark(clock, 1, 0); }
    void add_death(std::int32_t clock) { add_mark(clock, 0, 1); }

    // Packs the second still open; call once the part's last line is in,
    // before reading the seconds.
    void finish();

    // Held in blocks that never move: a long part grows its timeline
    // without copying it, and touches each page of memory once.
    using Fights = std::deque<Fight>;
    const Fights& fights() const { return fights_; }
    const std::deque<FightMark>& marks() const { return marks_; }
    const AmountSums& totals() const { return totals_; }
    std::int64_t kills() const { return kills_; }
    std::int64_t deaths() const { return deaths_; }

    // The seconds of `fight`, in offset order, and their sums.
    std::vector<SecondRow> seconds(const Fight& fight) const;
    AmountSums sums(const Fight& fight) const;
    // Calls `visit(const SecondRow&)` for each second of `fight`, in offset order.
    template <class Visit>
    void for_each_second(const Fight& fight, Visit visit) const {
        SecondRow row;
        std::uint32_t at = fight.rows_begin;
        while (at < fight.rows_end) {
            read_row(at, row);
            visit(static_cast<const SecondRow&>(row));
        }
    }

    // Bytes held by the packed seconds (for the cost of the timeline).
    std::size_t packed_bytes() const { return packed_used_; }

    bool operator==(const Timeline& other) const;

private:
    void add_amount_at_new_second(std::int32_t clock, AmountKind kind, std::int64_t value);
    void add_mark(std::int32_t clock, std::int32_t kills, std::int32_t deaths);
    void start_fight(std::int32_t clock);
    void pack_open_second();
    void read_row(std::uint32_t& at, SecondRow& row) const;

    std::uint32_t row_start(std::uint32_t at) const {
        const std::uint32_t in_block = at % kBlockBytes;
        return in_block != 0 && kBlockBytes - in_block < kLongestRow ? at - in_block + kBlockBytes : at;
    }
    std::uint8_t* room_for_row() {
        packed_used_ = row_start(packed_used_);
        if (packed_used_ / kBlockBytes == blocks_.size()) blocks_.emplace_back(kBlockBytes);
        return blocks_[packed_used_ / kBlockBytes].data() + packed_used_ % kBlockBytes;
    }

    Fights fights_;
    std::deque<FightMark> marks_;
    // Per second: a byte telling which kinds have events (and, in its top
    // bit, that the sums take 8 bytes each instead of 4), the step from the
    // previous second of the fight (one byte, or 255 and 4 bytes), and the
    // sums of those kinds. Rows are written one after the other into blocks
    // of kBlockBytes, each row whole within a block; packed_used_ is where
    // the next one goes, counted over all blocks.
    static constexpr std::uint32_t kBlockBytes = 1U << 16;
    static constexpr std::uint32_t kLongestRow = 1 + 5 + 8 * kAmountKinds;
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::uint32_t packed_used_ = 0;
    AmountSums totals_{};
    std::int64_t kills_ = 0, deaths_ = 0;

    bool has_amount_ = false;
    std::int32_t last_clock_ = 0;   // clock second of the last amount event
    std::int32_t last_offset_ = 0;  // its offset in the current fight
    bool second_open_ = false;
    std::int32_t open_offset_ = 0;    // the second being summed
    std::int32_t packed_offset_ = 0;  // offset of the last second packed in the current fight
    AmountSums open_sums_{};
    std::uint32_t open_kinds_ = 0;  // a bit for each kind with an event in the open second
};

// The step from clock second `from` to clock second `to`, a step back of
// more than 12 hours counted as going past midnight.
inline std::int32_t clock_step(std::int32_t from, std::int32_t to) {
    const std::int32_t step = to - from;
    return step < -kSecondsPerDay / 2 ? step + kSecondsPerDay : step;
}

}  // namespace korvanel
