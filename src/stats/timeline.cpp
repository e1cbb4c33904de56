#include "stats/timeline.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace korvanel {

namespace {
constexpr std::uint8_t kWideSums = 0x80;
constexpr std::uint8_t kLongStep = 0xFF;

template <class T>
std::uint8_t* put(std::uint8_t* out, T v) {
    std::memcpy(out, &v, sizeof v);
    return out + sizeof v;
}

template <class T>
T get(const std::uint8_t*& in) {
    T v;
    std::memcpy(&v, in, sizeof v);
    in += sizeof v;
    return v;
}
}  // namespace

// Everything it calls is inlined: it runs for every amount event of a new second.
[[gnu::flatten]] void Timeline::add_amount_on_new_line(std::string_view line, AmountKind kind, std::int64_t value) {
    const std::int32_t clock = stamp_clock(line);
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
    const std::int32_t step = has_amount_ ? clock_step(last_clock_, clock) : 0;
    if (!has_amount_ || step > kFightGap || step < 0) {
        start_fight(clock);
    } else if (step != 0 || !second_open_) {
        pack_open_second();
        last_offset_ += step;
    }
    if (clock != last_clock_) stamp_head_ = stamp_tail_ = 0;
    last_clock_ = clock;
    has_amount_ = true;
    fights_.back().length = last_offset_ + 1;
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
    const auto index = static_cast<std::uint32_t>(fights_.size() - 1);
    Fight& fight = fights_.back();
    fight.kills += kills;
    fight.deaths += deaths;
    const std::int32_t offset = last_offset_ + step;
    if (marks_.empty() || marks_.back().fight != index || marks_.back().offset != offset) {
        marks_.push_back(FightMark{index, offset, 0, 0});
    }
    marks_.back().kills += kills;
    marks_.back().deaths += deaths;
}

void Timeline::start_fight(std::int32_t clock) {
    pack_open_second();
    const std::uint32_t begin = packed_used_;
    fights_.push_back(Fight{.start = clock, .rows_begin = begin, .rows_end = begin});
    last_offset_ = 0;
    packed_offset_ = 0;
}

void Timeline::pack_open_second() {
    if (!second_open_) return;
    std::uint8_t* const row = room_for_row();
    std::uint8_t* out = row + 2;
    const std::int32_t step = open_offset_ - packed_offset_;
    if (step < kLongStep) {
        row[1] = static_cast<std::uint8_t>(step);
    } else {
        row[1] = kLongStep;
        out = put(out, step);
    }
    auto narrow = [](std::int64_t sum) { return sum >= 0 && sum <= std::numeric_limits<std::int32_t>::max(); };
    const std::uint32_t kinds = open_kinds_;
    if ((kinds & (kinds - 1)) == 0) {  // one kind, as in most seconds
        std::int64_t& sum = open_sums_[static_cast<std::size_t>(std::countr_zero(kinds))];
        if (narrow(sum)) {
            row[0] = static_cast<std::uint8_t>(kinds);
            out = put(out, static_cast<std::int32_t>(sum));
        } else {
            row[0] = static_cast<std::uint8_t>(kinds | kWideSums);
            out = put(out, sum);
        }
        sum = 0;
    } else {
        bool wide = false;
        for (std::uint32_t left = kinds; left != 0; left &= left - 1) {
            wide = wide || !narrow(open_sums_[static_cast<std::size_t>(std::countr_zero(left))]);
        }
        row[0] = static_cast<std::uint8_t>(kinds | (wide ? kWideSums : 0));
        for (std::uint32_t left = kinds; left != 0; left &= left - 1) {
            std::int64_t& sum = open_sums_[static_cast<std::size_t>(std::countr_zero(left))];
            out = wide ? put(out, sum) : put(out, static_cast<std::int32_t>(sum));
            sum = 0;
        }
    }
    open_kinds_ = 0;
    packed_used_ += static_cast<std::uint32_t>(out - row);
    packed_offset_ = open_offset_;
    second_open_ = false;
    fights_.back().rows_end = packed_used_;
}

void Timeline::finish() { pack_open_second(); }

bool Timeline::operator==(const Timeline& other) const {
    return fights_ == other.fights_ && marks_ == other.marks_ && totals_ == other.totals_ && kills_ == other.kills_ &&
           deaths_ == other.deaths_ && packed_used_ == other.packed_used_ && blocks_ == other.blocks_ &&
           has_amount_ == other.has_amount_ && last_clock_ == other.last_clock_ && last_offset_ == other.last_offset_ &&
           second_open_ == other.second_open_ && open_offset_ == other.open_offset_ &&
           packed_offset_ == other.packed_offset_ && open_sums_ == other.open_sums_ && open_kinds_ == other.open_kinds_ &&
           stamp_head_ == other.stamp_head_ && stamp_tail_ == other.stamp_tail_;
}

void Timeline::read_row(std::uint32_t& at, SecondRow& row) const {
    // Each fight's first second is at offset 0 (row starts there), and the
    // steps add up from it.
    at = row_start(at);
    const std::uint8_t* const begin = blocks_[at / kBlockBytes].data() + at % kBlockBytes;
    const std::uint8_t* in = begin;
    const std::uint8_t kinds = *in++;
    const std::uint8_t step = *in++;
    row.offset += step == kLongStep ? get<std::int32_t>(in) : step;
    for (int k = 0; k < kAmountKinds; ++k) {
        std::int64_t& sum = row.sums[static_cast<std::size_t>(k)];
        if ((kinds & (1U << k)) == 0) {
            sum = 0;
        } else {
            sum = (kinds & kWideSums) != 0 ? get<std::int64_t>(in) : get<std::int32_t>(in);
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
