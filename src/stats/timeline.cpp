#include "stats/timeline.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace korvanel {

namespace {
// A row's kind code for several kinds, followed by their bits.
constexpr std::uint32_t kSeveralKinds = 6;

std::uint8_t* put_sum(std::uint8_t* out, std::int64_t sum) {
    auto v = (static_cast<std::uint64_t>(sum) << 1) ^ static_cast<std::uint64_t>(sum >> 63);
    while (v >= 0x80) {
        *out++ = static_cast<std::uint8_t>(v | 0x80);
        v >>= 7;
    }
    *out++ = static_cast<std::uint8_t>(v);
    return out;
}

std::int64_t get_sum(const std::uint8_t*& in) {
    std::uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = *in++;
        v |= std::uint64_t{byte & 0x7FU} << shift;
        if (byte < 0x80) break;
    }
    return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}
}  // namespace

// It runs for every amount event of a new second: all but the start of a
// fight and a new block is inlined.
[[gnu::flatten]] void Timeline::add_amount_on_new_line(std::string_view line, AmountKind kind, std::int64_t value) {
    std::int32_t clock = kNoClock;
    if (line.size() >= 10) {
        const std::uint64_t head = stamp_head(line.data());
        const auto tens = static_cast<unsigned>(static_cast<unsigned char>(line[7])) - '0';
        const auto units = static_cast<unsigned>(static_cast<unsigned char>(line[8])) - '0';
        if ((head & kMinuteBytes) == minute_head_ && tens <= 5 && units <= 9 && line[9] == ']') {
            clock = minute_clock_ + static_cast<std::int32_t>(tens * 10 + units);
        } else {
            clock = stamp_clock(line);
            if (clock != kNoClock) {
                minute_head_ = head & kMinuteBytes;
                minute_clock_ = clock - clock % 60;
            }
        }
    }
    add_amount_at_new_second(clock, kind, value);
    if (clock != kNoClock) {
        stamp_head_ = stamp_head(line.data());
        stamp_tail_ = stamp_tail(line.data());
    }
}

void Timeline::add_amount_at_new_second(std::int32_t clock, AmountKind kind, std::int64_t value) {
    if (clock == kNoClock) {
        if (!has_amount_) return;  // no amount event before it
        clock = last_clock_;
    }
    if (!has_amount_) {
        start_fight(clock);
    } else {
        const std::int32_t step = clock_step(last_clock_, clock);
        if (static_cast<std::uint32_t>(step) > static_cast<std::uint32_t>(kFightGap)) {  // back, or too far
            start_fight(clock);
        } else if (step != 0 || !second_open_) {
            pack_open_second();
            last_offset_ += step;
        }
    }
    if (clock != last_clock_) stamp_head_ = stamp_tail_ = 0;
    last_clock_ = clock;
    has_amount_ = true;
    second_open_ = true;
    open_offset_ = last_offset_;
    const auto k = static_cast<std::size_t>(kind);
    open_sums_[k] += value;
    open_kinds_ |= 1U << k;
    totals_[k] += value;
}

void Timeline::add_mark(std::int32_t clock, std::int32_t kills, std::int32_t deaths) {
    if (clock == kNoClock) {
        if (!has_amount_) return;
        clock = last_clock_;
    }
    kills_ += kills;
    deaths_ += deaths;
    if (!has_amount_) return;
    const std::int32_t step = clock_step(last_clock_, clock);
    if (step < 0 || step > kFightGap) return;
    const auto index = static_cast<std::uint32_t>(heads_.size() - 1);
    const std::int32_t offset = last_offset_ + step;
    if (marks_.empty() || marks_.back().fight != index || marks_.back().offset != offset) {
        marks_.push_back(FightMark{index, offset, 0, 0});
    }
    marks_.back().kills += kills;
    marks_.back().deaths += deaths;
}

void Timeline::start_fight(std::int32_t clock) {
    pack_open_second();
    close_fight();
    heads_.push_back(FightHead{.start = clock, .rows_begin = packed_used_});
    last_offset_ = 0;
    packed_offset_ = 0;
}

// A fight's length is written once it ends, not at each of its events.
void Timeline::close_fight() {
    if (!heads_.empty()) heads_.back().length = last_offset_ + 1;
}

Fight Timeline::fight(std::size_t i) const {
    const FightHead& head = heads_[i];
    Fight fight{.start = head.start, .length = head.length, .rows_begin = head.rows_begin};
    fight.rows_end = i + 1 < heads_.size() ? heads_[i + 1].rows_begin : packed_used_;
    const auto index = static_cast<std::uint32_t>(i);
    auto mark = std::lower_bound(marks_.begin(), marks_.end(), index,
                                 [](const FightMark& m, std::uint32_t f) { return m.fight < f; });
    for (; mark != marks_.end() && mark->fight == index; ++mark) {
        fight.kills += mark->kills;
        fight.deaths += mark->deaths;
    }
    return fight;
}

void Timeline::add_block() {
    packed_used_ += block_room_;  // a row never straddles two blocks
    blocks_.emplace_back(kBlockBytes);
    block_room_ = kBlockBytes;
}

void Timeline::pack_open_second() {
    if (!second_open_) return;
    std::uint8_t* const row = room_for_row();
    const auto step = static_cast<std::uint32_t>(open_offset_ - packed_offset_);
    std::uint8_t* out = row + 1;
    const std::uint32_t kinds = open_kinds_;
    if ((kinds & (kinds - 1)) == 0) {  // one kind, as in most seconds
        const auto kind = static_cast<std::uint32_t>(std::countr_zero(kinds));
        row[0] = static_cast<std::uint8_t>(step | kind << 4);
        out = put_sum(out, open_sums_[kind]);
        open_sums_[kind] = 0;
    } else {
        row[0] = static_cast<std::uint8_t>(step | kSeveralKinds << 4);
        *out++ = static_cast<std::uint8_t>(kinds);
        for (std::uint32_t left = kinds; left != 0; left &= left - 1) {
            std::int64_t& sum = open_sums_[static_cast<std::size_t>(std::countr_zero(left))];
            out = put_sum(out, sum);
            sum = 0;
        }
    }
    open_kinds_ = 0;
    const auto used = static_cast<std::uint32_t>(out - row);
    packed_used_ += used;
    block_room_ -= used;
    packed_offset_ = open_offset_;
    second_open_ = false;
}

void Timeline::finish() {
    pack_open_second();
    close_fight();
}

bool Timeline::operator==(const Timeline& other) const {
    return heads_ == other.heads_ && marks_ == other.marks_ && totals_ == other.totals_ && kills_ == other.kills_ &&
           deaths_ == other.deaths_ && packed_used_ == other.packed_used_ && block_room_ == other.block_room_ &&
           blocks_ == other.blocks_ &&
           has_amount_ == other.has_amount_ && last_clock_ == other.last_clock_ && last_offset_ == other.last_offset_ &&
           second_open_ == other.second_open_ && open_offset_ == other.open_offset_ &&
           packed_offset_ == other.packed_offset_ && open_sums_ == other.open_sums_ && open_kinds_ == other.open_kinds_ &&
           stamp_head_ == other.stamp_head_ && stamp_tail_ == other.stamp_tail_ && minute_head_ == other.minute_head_ &&
           minute_clock_ == other.minute_clock_;
}

void Timeline::read_row(std::uint32_t& at, SecondRow& row) const {
    // Each fight's first second is at offset 0 (row starts there), and the
    // steps add up from it.
    at = row_start(at);
    const std::uint8_t* const begin = blocks_[at / kBlockBytes].data() + at % kBlockBytes;
    const std::uint8_t* in = begin;
    const std::uint8_t head = *in++;
    row.offset += head & 0x0F;
    const std::uint32_t code = head >> 4U;
    row.sums = AmountSums{};
    if (code < kSeveralKinds) {
        row.sums[code] = get_sum(in);
    } else {
        for (std::uint32_t left = *in++; left != 0; left &= left - 1) {
            row.sums[static_cast<std::size_t>(std::countr_zero(left))] = get_sum(in);
        }
    }
    at += static_cast<std::uint32_t>(in - begin);
}

AmountSums Timeline::sums(const Fight& fight) const {
    AmountSums total{};
    for_each_second(fight, [&](const SecondRow& row) {
        for (std::size_t k = 0; k < kAmountKinds; ++k) total[k] += row.sums[k];
    });
    return total;
}

std::vector<SecondRow> Timeline::seconds(const Fight& fight) const {
    std::vector<SecondRow> rows;
    for_each_second(fight, [&](const SecondRow& row) { rows.push_back(row); });
    return rows;
}

}  // namespace korvanel
