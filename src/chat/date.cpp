#include "chat/date.h"

#include <array>
#include <string>

#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kConversionProblem =
    latin1("\nprobleme avec la conversion de la date du log, l'analyse se poursuit\nligne : %s\n");
constexpr std::string_view kDateStart = ": ";
constexpr std::string_view kBreak = "<br>";
constexpr std::size_t kYearLength = 4;

struct Weekday {
    std::string_view english;
    std::string_view french;
};
constexpr std::array<Weekday, 7> kWeekdays{{
    {"Mon", "lundi"},
    {"Tue", "mardi"},
    {"Wed", "mercredi"},
    {"Thu", "jeudi"},
    {"Fri", "vendredi"},
    {"Sat", "samedi"},
    {"Sun", "dimanche"},
}};

std::string_view french_weekday(std::string_view token) {
    for (const Weekday& day : kWeekdays) {
        if (day.english == token) return day.french;
    }
    return token;
}
}  // namespace

void convert_log_date(LogDate& date, std::string_view line, Console& console) {
    const std::string_view text = date.text.view();
    const std::size_t colon = text.find(kDateStart);
    // weekday, month, day of the month, clock time: each ends at the next blank
    std::array<std::string_view, 4> tokens;
    std::size_t pos = colon == std::string_view::npos ? colon : colon + kDateStart.size();
    for (std::string_view& token : tokens) {
        const std::size_t blank = pos == std::string_view::npos ? pos : text.find(' ', pos);
        if (blank == std::string_view::npos) {
            print(console, kConversionProblem, log_line(line));
            return;
        }
        token = text.substr(pos, blank - pos);
        pos = blank + 1;
    }
    std::string_view year = text.substr(pos, kYearLength);
    year = year.substr(0, year.find('\n'));

    const auto [weekday, month, day, clock] = tokens;
    std::string french;
    french.append(french_weekday(weekday)).append(" ").append(day).append(" ").append(month);
    french.append(" ").append(year).append(" - ").append(clock);
    date.markup_from = french.size() < date.text.capacity ? french.size() : date.text.capacity;
    date.text = french.append(kBreak);
}

}  // namespace korvanel
