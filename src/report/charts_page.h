// "graphiques.html": each part of the log as the fights it holds, with a
// summary, two charts drawn in the page itself (inline SVG: damage dealt per
// second by kind; damage received and heals per second) and a table of its
// fights.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/analysis_page.h"
#include "stats/timeline.h"

namespace korvanel {

inline constexpr std::string_view kChartsPageName = "graphiques.html";

// The charts show at most this many fights (a part's last ones) and this
// many columns; the table lists at most its last kTableFights fights.
inline constexpr int kChartFights = 600;
inline constexpr int kChartColumns = 600;
inline constexpr int kTableFights = 200;
inline constexpr std::int32_t kBaseWindow = 5;

// The seconds of one chart column for fights of these lengths: 5, widened
// to 5 × k for the smallest k that brings the columns (each fight cut into
// windows from its start, the last one shorter) to kChartColumns or fewer.
std::int32_t chart_window(std::span<const std::int32_t> lengths);

// "1h 05min 09s", "5min 09s", "42s".
std::string active_time_text(std::int64_t seconds);

// Writes the charts page into `dir`: one section per part, in part order,
// from its name, its analysis page and its finished timeline.
void write_charts_page(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                       const std::vector<Timeline>& timelines, std::string_view log_name,
                       const std::filesystem::path& dir, PageSink& sink);

}  // namespace korvanel
