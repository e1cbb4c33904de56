#include "text/format.h"

#include <cstring>

namespace korvanel {

void append_int(std::string& out, std::int64_t value) {
    char digits[24];
    std::size_t n = 0;
    const bool negative = value < 0;
    std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) out.push_back('-');
    while (n > 0) out.push_back(digits[--n]);
}

void append_escaped(std::string& out, std::string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity = nullptr;
        switch (text[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '"': entity = "&quot;"; break;
            default: continue;
        }
        out.append(text.substr(start, i - start));
        out.append(entity);
        start = i + 1;
    }
    out.append(text.substr(start));
}

void format_into(std::string& out, std::string_view format, std::initializer_list<FormatArg> args,
                 bool escape_texts) {
    const FormatArg* arg = args.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        const std::size_t percent = format.find('%', i);
        if (percent == std::string_view::npos || percent + 1 >= format.size()) {
            out.append(format.substr(i));
            return;
        }
        out.append(format.substr(i, percent - i));
        const char conversion = format[percent + 1];
        i = percent + 2;
        if (conversion == '%') {
            out.push_back('%');
            continue;
        }
        if (arg == args.end()) {  // more conversions than values: keep the text
            out.append(format.substr(percent, 2));
            continue;
        }
        const FormatArg& value = *arg++;
        if (conversion == 'i') {
            if (value.kind() == FormatArg::Kind::Figure && !value.present()) {
                out.push_back('-');
                if (format.substr(i, 2) == "%%") i += 2;
            } else {
                append_int(out, value.integer());
            }
        } else if (conversion == 's') {
            if (escape_texts) {
                append_escaped(out, value.text());
            } else {
                out.append(value.text());
            }
        } else {
            out.append(format.substr(percent, 2));
        }
    }
}

}  // namespace korvanel
