// "graphiques.json": the data of the charts page for other programs, every
// fight of every part with its per-second sums. One compact JSON document
// in UTF-8 (no byte-order mark), keys in a fixed order, one line break at
// the end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "report/analysis_page.h"
#include "stats/timeline.h"

namespace korvanel {

inline constexpr std::string_view kChartsDataName = "graphiques.json";

// `text` (UTF-8) as a JSON string, quotes included, appended to `out`.
void append_json_string(std::string& out, std::string_view text);

// The UTF-8 form of a file name as the system holds it: UTF-16 converted
// (an unpaired surrogate as U+FFFD), or bytes kept when they are valid
// UTF-8 and otherwise each read as its ISO-8859-1 character.
std::string utf8_system_name(const std::filesystem::path& name);

// The whole document: the log's file name `log_file` (its folders left
// out) and, per part, its name, its page and its fights.
std::string charts_json(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                        const std::vector<Timeline>& timelines, const std::filesystem::path& log_file);

// Writes the document into `dir` as a page.
void write_charts_json(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                       const std::vector<Timeline>& timelines, const std::filesystem::path& log_file,
                       const std::filesystem::path& dir, PageSink& sink);

}  // namespace korvanel
