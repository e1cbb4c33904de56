#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "report/analysis_page.h"

namespace korvanel {

// The page of each part, in part order: the part name made safe for a file
// name ("/", "\" and control characters become "_"), with "_" appended while
// the name is taken by "discussions.html" or an earlier part; written to disk
// in UTF-8; in the pages' links "%", "#" and "?" are percent-encoded. A
// name that would land on the log itself counts as taken too, so no page
// ever overwrites the log it was made from.
std::vector<PageTarget> assign_page_targets(const std::vector<std::string>& part_names,
                                            const std::filesystem::path& dir,
                                            const std::filesystem::path& log_file = {});

}  // namespace korvanel
