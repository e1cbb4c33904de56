#include "report/statistics_row.h"

#include "report/figures.h"

namespace korvanel {

std::optional<int> spread_percent(const ValueSeries& values) {
    const double mean = values.mean();
    if (mean == 0) return std::nullopt;
    return round_half_up(values.stddev() * 100.0 / mean);
}

std::string_view modifier_sign(int rounded_modifier) { return rounded_modifier > 0 ? "+" : ""; }

void write_statistics_row(PageWriter& page, const ValueSeries& values, const ValueSeries* modifiers,
                          const ValueSeries* criticals) {
    const int mean = round_half_up(values.mean());
    page.format("<td width=\"80\">%i</td>", values.count());
    if (modifiers != nullptr) {
        const int mod = round_half_up(modifiers->mean());
        page.format("<td width=\"80\">%i(%s%i)</td>", mean, modifier_sign(mod), mod);
    } else {
        page.format("<td width=\"80\">%i</td>", mean);
    }
    page.format("<td width=\"80\">%i%%</td>", spread_percent(values));
    page.format("<td width=\"80\">%i-%i</td>", values.min(), values.max());
    if (criticals != nullptr) {
        page.format("<td width=\"80\">%i%%</td>", percent(criticals->count(), values.count()));
    }
}

}  // namespace korvanel
