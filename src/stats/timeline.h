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
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

namespace korvanel {

enum class AmountKind : int { Melee, Archery, Spells, Other, Received, Healed };
inline constexpr int kAmountKinds = 6;

using AmountSums = std::array<std::int64_t, kAmountKinds>;

inline constexpr std::int32_t kSecondsPerDay = 86400;
// The longest step from one amount event to the next within a fight, and
// from an amount event to a kill or death that still counts in its fight.
inline constexpr std::int32_t kFightGap = 15;

// A fight as the timeline tells it.
struct Fight {
    std::int32_t start = 0;   // clock second of its first event, 0 to 86399
    std::int32_t length = 0;  // seconds from its first to its last amount event, plus one
    std::int64_t kills = 0, deaths = 0;
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
        if (second_open_ && (clock == last_clock_ || clock == kNoClock)) {
            add_to_open_second(kind, value);
        } else {
            add_amount_at_new_second(clock, kind, value);
        }
    }
    // The same for an event of the log line `line`, whose clock second is
    // read from its time stamp only when the stamp's bytes differ from
    // those of the last amount event.
    void add_amount_on_line(std::string_view line, AmountKind kind, std::int64_t value) {
        if (second_open_ && line.size() >= 10 && same_stamp(line.data())) {
            add_to_open_second(kind, value);
        } else {
            add_amount_on_new_line(line, kind, value);
        }
    }
    void add_kill(std::int32_t clock) { add_mark(clock, 1, 0); }
    void add_death(std::int32_t clock) { add_mark(clock, 0, 1); }

    // Packs the second still open and completes the last fight; call once
    // the part's last line is in, before reading the fights.
    void finish();

    // The part's fights, in log order.
    std::size_t fight_count() const { return heads_.size(); }
    bool no_fight() const { return heads_.empty(); }
    std::int32_t fight_length(std::size_t i) const { return heads_[i].length; }
    Fight fight(std::size_t i) const;
    // Held in blocks that never move: a long part grows its timeline
    // without copying it, and touches each page of memory once.
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

    bool operator==(const Timeline& other) const;

private:
    void add_to_open_second(AmountKind kind, std::int64_t value) {
        const auto k = static_cast<std::size_t>(kind);
        open_sums_[k] += value;
        open_kinds_ |= 1U << k;
        totals_[k] += value;
    }
    // Bytes 0 to 7 and 8 to 9 of a line's time stamp.
    static std::uint64_t stamp_head(const char* at) {
        std::uint64_t w;
        std::memcpy(&w, at, sizeof w);
        return w;
    }
    static std::uint16_t stamp_tail(const char* at) {
        std::uint16_t w;
        std::memcpy(&w, at + 8, sizeof w);
        return w;
    }
    bool same_stamp(const char* at) const { return stamp_head(at) == stamp_head_ && stamp_tail(at) == stamp_tail_; }
    // Bytes 0 to 6 of a stamp's head, and those of "[00:00:" as memcpy
    // reads them.
    static constexpr std::uint64_t kMinuteBytes =
        std::endian::native == std::endian::little ? 0x00FFFFFFFFFFFFFFULL : 0xFFFFFFFFFFFFFF00ULL;
    static constexpr std::uint64_t kMidnightHead =
        std::endian::native == std::endian::little ? 0x003A30303A30305BULL : 0x5B30303A30303A00ULL;
    [[gnu::noinline]] void add_amount_on_new_line(std::string_view line, AmountKind kind, std::int64_t value);
    void add_amount_at_new_second(std::int32_t clock, AmountKind kind, std::int64_t value);
    void add_mark(std::int32_t clock, std::int32_t kills, std::int32_t deaths);
    [[gnu::noinline]] void start_fight(std::int32_t clock);
    void pack_open_second();
    void read_row(std::uint32_t& at, SecondRow& row) const;

    std::uint32_t row_start(std::uint32_t at) const {
        const std::uint32_t in_block = at % kBlockBytes;
        return in_block != 0 && kBlockBytes - in_block < kLongestRow ? at - in_block + kBlockBytes : at;
    }
    // Where the next row goes: the rest of the last block when a longest
    // row fits in it, else the start of a new block (row_start's rule).
    std::uint8_t* room_for_row() {
        if (block_room_ < kLongestRow) add_block();
        return blocks_.back().data() + (kBlockBytes - block_room_);
    }
    [[gnu::noinline]] void add_block();
    // Writes the length of the part's last fight and the end of its seconds.
    void close_fight();

    // What a fight keeps while the part is read; its kills and deaths are
    // those of its marks, and its seconds end where the next fight's begin.
    struct FightHead {
        std::int32_t start = 0, length = 0;
        std::uint32_t rows_begin = 0;
        bool operator==(const FightHead&) const = default;
    };
    std::deque<FightHead> heads_;
    std::deque<FightMark> marks_;
    // Per second: a byte holding the step from the previous second of the
    // fight (0 to 15: no step within a fight is longer) in its low half and,
    // in its high half, the kind of its one sum (0 to 5), or 6 and a second
    // byte with a bit for each kind that has a sum; then the sums, in kind
    // order, each zigzag-coded in 7-bit groups, low group first, so that
    // most take two bytes. Rows are written one after the other into blocks
    // of kBlockBytes, each row whole within a block; packed_used_ is where
    // the next one goes, counted over all blocks. Small blocks keep the
    // memory close to the rows written.
    static constexpr std::uint32_t kBlockBytes = 1U << 14;
    static constexpr std::uint32_t kLongestRow = 2 + 10 * kAmountKinds;
    static_assert(kFightGap <= 15, "a row's step takes four bits");
    std::vector<std::vector<std::uint8_t>> blocks_;
    std::uint32_t packed_used_ = 0;
    std::uint32_t block_room_ = 0;  // bytes left in the last block
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
    // The time stamp's bytes of the line that gave last_clock_. When not
    // known they hold bytes that are no valid stamp, so that a line that
    // matches them takes the last clock either way.
    std::uint64_t stamp_head_ = 0;
    std::uint16_t stamp_tail_ = 0;
    // The "[HH:MM:" of the last valid stamp read, and the clock second its
    // minute starts at: a new second in the same minute reads only its two
    // digits. It starts as a valid minute, so that no other bytes match.
    std::uint64_t minute_head_ = kMidnightHead;
    std::int32_t minute_clock_ = 0;
};

// The clock second of a line stamped "[HH:MM:SS]" (hours up to 23, minutes
// and seconds up to 59), or Timeline::kNoClock.
inline std::int32_t stamp_clock(std::string_view t) {
    if (t.size() < 10 || t[9] != ']') return Timeline::kNoClock;
    const auto last = static_cast<unsigned>(static_cast<unsigned char>(t[8])) - '0';
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t w;  // bytes 0 to 7, byte i in bits 8i to 8i+7
        std::memcpy(&w, t.data(), sizeof w);
        constexpr std::uint64_t kMarks = 0x00FF0000FF0000FFULL;  // "[" at 0, ":" at 3 and 6
        constexpr std::uint64_t kHigh = 0xF000F0F000F0F000ULL;   // high halves of the digits at 1, 2, 4, 5, 7
        const std::uint64_t low = w & 0x0F000F0F000F0F00ULL;
        if ((w & kMarks) != 0x003A00003A00005BULL || (w & kHigh) != 0x3000303000303000ULL ||
            ((low + 0x0600060600060600ULL) & kHigh) != 0 || last > 9) {
            return Timeline::kNoClock;
        }
        // Each byte times ten plus the next one: the hours in byte 1, the minutes in byte 4.
        const std::uint64_t pairs = low * 10 + (low >> 8);
        const auto h = static_cast<std::int32_t>((pairs >> 8) & 0xFF), m = static_cast<std::int32_t>((pairs >> 32) & 0xFF);
        const auto s = static_cast<std::int32_t>(low >> 56) * 10;
        if (h > 23 || m > 59 || s > 50) return Timeline::kNoClock;
        return h * 3600 + m * 60 + s + static_cast<std::int32_t>(last);
    } else {
        if (t[0] != '[' || t[3] != ':' || t[6] != ':' || last > 9) return Timeline::kNoClock;
        auto two = [&](std::size_t at) {
            const int high = t[at] - '0', low = t[at + 1] - '0';
            return high >= 0 && high <= 9 && low >= 0 && low <= 9 ? high * 10 + low : 99;
        };
        const int h = two(1), m = two(4), s = (t[7] - '0') * 10;
        if (h > 23 || m > 59 || t[7] < '0' || s > 50) return Timeline::kNoClock;
        return h * 3600 + m * 60 + s + static_cast<std::int32_t>(last);
    }
}

// The step from clock second `from` to clock second `to`, a step back of
// more than 12 hours counted as going past midnight.
inline std::int32_t clock_step(std::int32_t from, std::int32_t to) {
    const std::int32_t step = to - from;
    return step < -kSecondsPerDay / 2 ? step + kSecondsPerDay : step;
}

}  // namespace korvanel
