#include "report/figures.h"

#include <cmath>
#include <cstdint>

namespace korvanel {

std::optional<int> percent(double num, double den) {
    if (den == 0) return std::nullopt;
    return round_half_up(num * 100.0 / den);
}

std::optional<double> quotient(double num, double den) {
    if (den == 0) return std::nullopt;
    return num / den;
}

namespace {
// trunc(10 x) as a 32-bit value (saturated for absurd figures).
int tenths_of(double x) {
    const double t = std::trunc(10.0 * x);
    if (std::isnan(t)) return 0;
    if (t >= 2147483647.0) return 2147483647;
    if (t <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(t);
}
}  // namespace

void write_decimal(PageWriter& page, std::optional<double> x, std::string_view after) {
    if (!x) {
        page.raw("-");
        if (after.starts_with("%%")) after.remove_prefix(2);
        page.format(after);
        return;
    }
    const int t = tenths_of(*x);
    // A negative share (misses lowered by blows absorbed after no counted
    // miss) keeps its sign once, in front: -14.2, not -14.-2.
    if (t < 0) page.raw("-");
    const std::int64_t magnitude = t < 0 ? -std::int64_t{t} : t;
    page.format("%i.%i", static_cast<int>(magnitude / 10), static_cast<int>(magnitude % 10));
    page.format(after);
}

Tenths tenths_with_carry(int whole, double fraction) {
    int tenth = round_half_up(fraction * 10.0);
    if (tenth >= 10) {
        tenth -= 10;
        ++whole;
    }
    return {whole, tenth};
}

void write_speed(PageWriter& page, const ValueSeries& intervals) {
    if (intervals.count() <= 40) return;
    const double m = intervals.mean();
    int t = tenths_of(m);
    if (intervals.count() > 100) {
        const double ten_m = 10.0 * m;
        int second = round_half_up((ten_m - std::trunc(ten_m)) * 10.0);
        if (second >= 10) {
            second -= 10;
            ++t;
        }
        page.format(" (vitesse : %i,%i%i", t / 10, t % 10, second);
    } else {
        page.format(" (vitesse : %i,%i", t / 10, t % 10);
    }
    page.raw("s)");
}

}  // namespace korvanel
