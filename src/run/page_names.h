#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "report/analysis_page.h"

namespace korvanel {

// Whether two page names (ISO-8859-1) name one file on a system that
// ignores case: ASCII letters and the Latin-1 letters from 0xC0 to 0xDE
// (0xD7 excepted) match their lower-case forms.
bool same_page_name(std::string_view a, std::string_view b);

// The page of each part, in part order: the part name made safe for a file
// name on every system ("/", "\", ":", "*", "?", """, "<", ">", "|" and
// control characters become "_", and a name Windows keeps for a device,
// such as "con" or "aux.txt", gets "_" after the device name), with "_"
// appended while the name is taken, regardless of case, by
// "discussions.html" or "graphiques.html", by an earlier part, or by the
// log itself (its shown file name `log_name_in_dir` when the log lies in
// the pages' folder, or any file `is_log_file` takes for the log's own).
// Written to disk in UTF-8; in the pages' links "%" and "#" are
// percent-encoded.
std::vector<PageTarget> assign_page_targets(const std::vector<std::string>& part_names,
                                            const std::filesystem::path& dir, std::string_view log_name_in_dir = {},
                                            const std::function<bool(const std::filesystem::path&)>& is_log_file = {});

}  // namespace korvanel
