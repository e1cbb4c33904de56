// The date of a log opening, turned from the game client's English form
// ("*** Journal ouvert : Mon Jan 03 12:34:56 2005") into the French one that
// heads the transcript's messages ("lundi 03 Jan 2005 - 12:34:56<br>").
#pragma once

#include <cstddef>
#include <string_view>

#include "console/console.h"
#include "text/bounded_text.h"

namespace korvanel {

struct LogDate {
    // A copy of the log-opening line, or the converted date once converted.
    BoundedText<49> text;
    // Where the date proper ends and the appended "<br>" markup begins;
    // npos while the text is the unconverted copy.
    std::size_t markup_from = std::string_view::npos;

    bool converted() const { return markup_from != std::string_view::npos; }
};

// Converts the copied line in place. A line that cannot be read as a date
// stays as it was copied, and the console says so, naming `line`.
void convert_log_date(LogDate& date, std::string_view line, Console& console);

}  // namespace korvanel
