#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "report/page_sink.h"
#include "stats/part_stats.h"

namespace korvanel {

// Where a part's page goes: the file on disk and the name its own links use.
struct PageTarget {
    std::filesystem::path file;   // the file name on disk (UTF-8)
    std::string display_name;     // the file name in ISO-8859-1, for messages
    std::string link;             // the page name in the page's own links, before escaping
    int index = 0;                // the part's index, from 0 (its section of the charts page)
};

// Writes the analysis page of one part. The precise-shot split changes the
// part's statistics on the way.
void write_analysis_page(PartStats& stats, std::string_view log_name, const PageTarget& target, PageSink& sink);

// The same page, the part's statistics left as they were: the record can
// take more lines and give its page again.
void write_analysis_page_keeping_stats(PartStats& stats, std::string_view log_name, const PageTarget& target,
                                       PageSink& sink);

}  // namespace korvanel
