#include "analysis/log_line.h"

#include "text/int32.h"

namespace korvanel {

std::int32_t read_number_from(std::string_view text, std::size_t pos) {
    while (pos < text.size() && (text[pos] < '0' || text[pos] > '9')) ++pos;
    std::int64_t value = 0;
    bool capped = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (!capped) {
            value = value * 10 + (text[pos] - '0');
            if (value > 2147483647) capped = true;
        }
        ++pos;
    }
    return capped ? 2147483647 : static_cast<std::int32_t>(value);
}

std::size_t LogLine::find(std::string_view s, std::size_t from) const {
    return from > text_.size() ? kNotFound : text_.find(s, from);
}

std::string_view LogLine::rest_from(std::size_t from) const {
    if (from >= text_.size()) return {};
    std::string_view rest = text_.substr(from);
    if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
    return rest;
}

std::int32_t LogLine::hms() const {
    return add32(add32(mul32(hours(), 10000), mul32(minutes(), 100)), seconds());
}

std::int32_t LogLine::minute_second() const { return add32(mul32(minutes(), 100), seconds()); }

}  // namespace korvanel
