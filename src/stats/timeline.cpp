#include "stats/timeline.h"

namespace korvanel {

namespace {
void put_varint(std::vector<std::uint8_t>& out, std::uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<std::uint8_t>(v | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(v));
}

std::uint64_t get_varint(const std::vector<std::uint8_t>& in, std::uint32_t& at) {
    std::uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t byte = in[at++];
        v |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) return v;
    }
}

// Sums are never negative in practice (amounts are read without sign), but
// are kept exact either way.
std::uint64_t zigzag(std::int64_t v) {
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
std::int64_t unzigzag(std::uint64_t v) { return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1); }
}  // namespace

void Timeline::add_amount(std::int32_t clock, AmountKind kind, std::int64_t value) {
    if (clock == kNoClock) {
        if (!has_amount_) return;
        clock = last_clock_;
    }
    const std::int32_t step = has_amount_ ? clock_step(last_clock_, clock) : 0;
    if (!has_amount_ || step > kFightGap || step < 0) {
        start_fight(clock);
    } else {
        last_offset_ += step;
    }
    last_clock_ = clock;
    has_amount_ = true;

    Fight& fight = fights_.back();
    fight.length = last_offset_ + 1;
    const auto k = static_cast<std::size_t>(kind);
    fight.sums[k] += value;
    totals_[k] += value;
    if (second_open_ && open_offset_ != last_offset_) pack_open_second();
    if (!second_open_) {
        second_open_ = true;
        open_offset_ = last_offset_;
    }
    open_sums_[k] += value;
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
    if (second_open_) pack_open_second();
    const auto begin = static_cast<std::uint32_t>(packed_.size());
    fights_.push_back(Fight{.start = clock, .rows_begin = begin, .rows_end = begin});
    last_offset_ = 0;
    packed_offset_ = 0;
}

void Timeline::pack_open_second() {
    put_varint(packed_, static_cast<std::uint64_t>(open_offset_ - packed_offset_));
    std::uint8_t present = 0;
    for (int k = 0; k < kAmountKinds; ++k) {
        if (open_sums_[static_cast<std::size_t>(k)] != 0) present = static_cast<std::uint8_t>(present | (1U << k));
    }
    packed_.push_back(present);
    for (int k = 0; k < kAmountKinds; ++k) {
        std::int64_t& sum = open_sums_[static_cast<std::size_t>(k)];
        if (sum != 0) put_varint(packed_, zigzag(sum));
        sum = 0;
    }
    packed_offset_ = open_offset_;
    second_open_ = false;
    fights_.back().rows_end = static_cast<std::uint32_t>(packed_.size());
}

void Timeline::finish() {
    if (second_open_) pack_open_second();
    packed_.shrink_to_fit();
    fights_.shrink_to_fit();
    marks_.shrink_to_fit();
}

void Timeline::read_row(std::uint32_t& at, SecondRow& row) const {
    // Each fight's first second is at offset 0 (row starts there), and the
    // steps add up from it.
    row.offset += static_cast<std::int32_t>(get_varint(packed_, at));
    const std::uint8_t present = packed_[at++];
    for (int k = 0; k < kAmountKinds; ++k) {
        row.sums[static_cast<std::size_t>(k)] = (present & (1U << k)) != 0 ? unzigzag(get_varint(packed_, at)) : 0;
    }
}

std::vector<SecondRow> Timeline::seconds(const Fight& fight) const {
    std::vector<SecondRow> rows;
    for_each_second(fight, [&](const SecondRow& row) { rows.push_back(row); });
    return rows;
}

}  // namespace korvanel
