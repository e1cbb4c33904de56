// The list of values behind most statistics: every hit, heal, interval or
// quality seen, as many as the log brings, 32 bits each.
#pragma once

#include <cstdint>
#include <vector>

namespace korvanel {

// Recorded in place of a value that must be listed (it counts, and keeps two
// parallel series in step) but must not weigh in any figure.
inline constexpr std::int32_t kExcludedValue = 999999999;

class ValueSeries {
public:
    // Records v.
    void push(std::int32_t v) {
        // Room already taken: the common case, inline.
        if (values_.size() < values_.capacity()) {
            values_.push_back(v);
        } else {
            push_beyond_room(v);
        }
    }

    // Records every value of `from`, in order.
    void append(const ValueSeries& from) { values_.insert(values_.end(), from.values_.begin(), from.values_.end()); }

    int count() const { return static_cast<int>(values_.size()); }
    bool empty() const { return values_.empty(); }
    std::int32_t operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }
    std::int32_t last() const { return values_.back(); }
    const std::vector<std::int32_t>& values() const { return values_; }

    // Removes the last value (a heal that turned out capped).
    void pop_last() { values_.pop_back(); }
    void set(int i, std::int32_t v) { values_[static_cast<std::size_t>(i)] = v; }
    // Puts the last value in place i and drops the last place.
    void remove_by_swap(int i);

    // Figures, all skipping the excluded-value marker.
    double mean() const;
    double stddev() const;  // population standard deviation
    std::int32_t min() const;
    std::int32_t max() const;

    bool operator==(const ValueSeries&) const = default;

private:
    void push_beyond_room(std::int32_t v);

    std::vector<std::int32_t> values_;
};

// The operations as the rest of the program names them.
inline void push_value(ValueSeries& series, std::int32_t v) { series.push(v); }
inline double series_mean(const ValueSeries& s) { return s.mean(); }
inline double series_stddev(const ValueSeries& s) { return s.stddev(); }
inline std::int32_t series_min(const ValueSeries& s) { return s.min(); }
inline std::int32_t series_max(const ValueSeries& s) { return s.max(); }

// The integer nearest to x, halves rounding up (floor of x + 0.5). Values
// beyond the 32-bit range saturate; NaN gives 0.
std::int32_t round_half_up(double x);

}  // namespace korvanel
