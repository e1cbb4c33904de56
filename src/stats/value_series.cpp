#include "stats/value_series.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <limits>

#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kSeriesFull = latin1("tableau de valeurs plein\n");
}

void ValueSeries::push_beyond_room(std::int32_t v) {
    if (count() < kCapacity) {
        if (values_.capacity() == 0) values_.reserve(16);
        values_.push_back(v);
        return;
    }
    if (Console* console = warning_console()) console->write(kSeriesFull);
}

void ValueSeries::append(const ValueSeries& from) {
    const auto room = static_cast<std::size_t>(kCapacity) - values_.size();
    const std::size_t taken = std::min(room, from.values_.size());
    values_.insert(values_.end(), from.values_.begin(), from.values_.begin() + static_cast<std::ptrdiff_t>(taken));
    std::size_t dropped = from.values_.size() - taken;
    Console* const console = dropped == 0 ? nullptr : warning_console();
    if (console == nullptr) return;
    // The same bytes as one warning per value, in fewer writes.
    constexpr std::size_t kPerWrite = 64;
    std::string warnings;
    for (std::size_t i = 0; i < std::min(dropped, kPerWrite); ++i) warnings += kSeriesFull;
    for (; dropped >= kPerWrite; dropped -= kPerWrite) console->write(warnings);
    if (dropped != 0) console->write(std::string_view(warnings).substr(0, dropped * kSeriesFull.size()));
}

void ValueSeries::remove_by_swap(int i) {
    values_[static_cast<std::size_t>(i)] = values_.back();
    values_.pop_back();
}

double ValueSeries::mean() const {
    double sum = 0.0;
    int n = 0;
    for (std::int32_t v : values_) {
        if (v == kExcludedValue) continue;
        sum += v;
        ++n;
    }
    return n == 0 ? 0.0 : sum / n;
}

double ValueSeries::stddev() const {
    const double m = mean();
    double squares = 0.0;
    int n = 0;
    for (std::int32_t v : values_) {
        if (v == kExcludedValue) continue;
        squares += (v - m) * (v - m);
        ++n;
    }
    return n == 0 ? 0.0 : std::sqrt(squares / n);
}

std::int32_t ValueSeries::min() const {
    bool found = false;
    std::int32_t best = 0;
    for (std::int32_t v : values_) {
        if (v == kExcludedValue) continue;
        if (!found || v < best) best = v;
        found = true;
    }
    return best;
}

std::int32_t ValueSeries::max() const {
    bool found = false;
    std::int32_t best = 0;
    for (std::int32_t v : values_) {
        if (v == kExcludedValue) continue;
        if (!found || v > best) best = v;
        found = true;
    }
    return best;
}

std::int32_t round_half_up(double x) {
    const double r = std::floor(x + 0.5);
    if (std::isnan(r)) return 0;
    if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}

}  // namespace korvanel
