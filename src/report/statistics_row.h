#pragma once

#include "report/page_writer.h"
#include "stats/value_series.h"

namespace korvanel {

// The cells that show a series: count, rounded mean (with the rounded mean
// modifier in brackets when `modifiers` is given), spread as a percentage of
// the mean, minimum-maximum, and, when `criticals` is given, the critical
// share. A missing series is passed as nullptr.
void write_statistics_row(PageWriter& page, const ValueSeries& values, const ValueSeries* modifiers,
                          const ValueSeries* criticals);

// The spread cell's figure: round_half_up(stddev * 100 / mean), no value when the mean is 0.
std::optional<int> spread_percent(const ValueSeries& values);

// "+" when the rounded modifier is above 0; a negative one carries its own sign.
std::string_view modifier_sign(int rounded_modifier);

}  // namespace korvanel
