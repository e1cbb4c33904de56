#include "stats/value_series.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace korvanel {

void ValueSeries::push_beyond_room(std::int32_t v) {
    if (values_.capacity() == 0) values_.reserve(16);
    values_.push_back(v);
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
