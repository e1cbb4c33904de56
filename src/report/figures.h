// The figures every section writes: percentages, the decimal printer and
// the speed text. A figure whose divisor is 0 has no value: it is written
// "-" and the "%" that follows it in its format is dropped.
#pragma once

#include <optional>
#include <string_view>

#include "report/page_writer.h"
#include "stats/value_series.h"

namespace korvanel {

// round_half_up(num * 100 / den), or no value when den is 0.
std::optional<int> percent(double num, double den);

// num / den, or no value when den is 0.
std::optional<double> quotient(double num, double den);

// The decimal printer: the integer part, ".", and one decimal, both taken
// from trunc(10 x) ("12.3" for 12.36); then `after`, whose leading "%%" is
// dropped when x has no value ("-" is written in its place).
void write_decimal(PageWriter& page, std::optional<double> x, std::string_view after);

// A whole number and a rounded tenth, the tenth carried into the whole
// number when it rounds to 10 (3.96 gives 4 and 0).
struct Tenths {
    int whole;
    int tenth;
};
Tenths tenths_with_carry(int whole, double fraction);

// " (vitesse : I,D[E]s)" for a series of intervals or delays: nothing with 40
// values or fewer, one decimal above 40, two above 100 (the second rounded
// and carried).
void write_speed(PageWriter& page, const ValueSeries& intervals);

}  // namespace korvanel
