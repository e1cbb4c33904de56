#include "report/charts_json.h"

#include <cstdint>
#include <type_traits>

#include "report/page_writer.h"
#include "system/system_names.h"
#include "text/format.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
// The UTF-8 bytes of one code point (a template: only UTF-16 names need it).
template <class Text>
void append_utf8(Text& out, std::uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

template <class Unit>
std::string utf8_from_units(std::basic_string_view<Unit> units) {
    std::string out;
    if constexpr (sizeof(Unit) == 1) {
        const std::string_view bytes(reinterpret_cast<const char*>(units.data()), units.size());
        return valid_utf8(bytes) ? std::string(bytes) : latin1_to_utf8(bytes);
    } else {
        for (std::size_t i = 0; i < units.size(); ++i) {
            std::uint32_t unit = static_cast<std::uint16_t>(units[i]);
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size()) {
                const std::uint32_t next = static_cast<std::uint16_t>(units[i + 1]);
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    append_utf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                    ++i;
                    continue;
                }
            }
            if (unit >= 0xD800 && unit <= 0xDFFF) unit = 0xFFFD;
            append_utf8(out, unit);
        }
        return out;
    }
}

constexpr const char* kKindKeys[kAmountKinds] = {"melee", "archery", "spells", "other", "received", "healed"};

void key(std::string& out, const char* name) {
    out += '"';
    out += name;
    out += "\":";
}

void integer(std::string& out, const char* name, std::int64_t value) {
    key(out, name);
    append_int(out, value);
}

void sums(std::string& out, const AmountSums& values) {
    for (int k = 0; k < kAmountKinds; ++k) {
        if (k != 0) out += ',';
        integer(out, kKindKeys[k], values[static_cast<std::size_t>(k)]);
    }
}

std::string clock_text(std::int32_t clock) {
    const int h = clock / 3600, m = clock / 60 % 60, s = clock % 60;
    const char text[8] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), ':',
                          static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10), ':',
                          static_cast<char>('0' + s / 10), static_cast<char>('0' + s % 10)};
    return std::string(text, 8);
}

void fight_json(std::string& out, const Timeline& timeline, const Fight& fight) {
    out += "{\"start\":\"" + clock_text(fight.start) + "\",";
    integer(out, "length", fight.length);
    out += ',';
    sums(out, timeline.sums(fight));
    out += ',';
    integer(out, "kills", fight.kills);
    out += ',';
    integer(out, "deaths", fight.deaths);
    out += ",\"seconds\":[";
    bool first = true;
    timeline.for_each_second(fight, [&](const SecondRow& row) {
        out += first ? "[" : ",[";
        first = false;
        append_int(out, row.offset);
        for (std::int64_t sum : row.sums) {
            out += ',';
            append_int(out, sum);
        }
        out += ']';
    });
    out += "]}";
}
}  // namespace

void append_json_string(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case 0x08:
                out += "\\b";
                break;
            case 0x09:
                out += "\\t";
                break;
            case 0x0A:
                out += "\\n";
                break;
            case 0x0C:
                out += "\\f";
                break;
            case 0x0D:
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

std::string utf8_system_name(const std::filesystem::path& name) {
    using Unit = std::filesystem::path::value_type;
    return utf8_from_units(std::basic_string_view<Unit>(name.native()));
}

namespace {
// The document, handed to `flush` piece by piece (after each fight) so that
// a long log's document is never held whole.
template <class Flush>
void emit_json(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
               const std::vector<Timeline>& timelines, const std::filesystem::path& log_file, Flush flush) {
    std::string out = "{\"format\":\"korvanel-graphiques-1\",\"log\":";
    append_json_string(out, utf8_system_name(log_file.filename()));
    out += ",\"parts\":[";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Timeline& timeline = timelines[i];
        if (i != 0) out += ',';
        out += "{\"name\":";
        append_json_string(out, latin1_to_utf8(names[i]));
        out += ",\"page\":";
        append_json_string(out, latin1_to_utf8(pages[i].display_name));
        out += ",\"totals\":{";
        sums(out, timeline.totals());
        out += ',';
        integer(out, "kills", timeline.kills());
        out += ',';
        integer(out, "deaths", timeline.deaths());
        out += "},\"fights\":[";
        bool first = true;
        for (std::size_t f = 0; f < timeline.fight_count(); ++f) {
            if (!first) out += ',';
            first = false;
            fight_json(out, timeline, timeline.fight(f));
            flush(out);
        }
        out += "]}";
    }
    out += "]}\n";
    flush(out);
}
}  // namespace

std::string charts_json(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                        const std::vector<Timeline>& timelines, const std::filesystem::path& log_file) {
    std::string whole;
    emit_json(names, pages, timelines, log_file, [&](std::string& piece) {
        whole += piece;
        piece.clear();
    });
    return whole;
}

void write_charts_json(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                       const std::vector<Timeline>& timelines, const std::filesystem::path& log_file,
                       const std::filesystem::path& dir, PageSink& sink) {
    PageWriter page(sink, dir / path_from_latin1(kChartsDataName), kChartsDataName);
    emit_json(names, pages, timelines, log_file, [&](std::string& piece) {
        page.raw(piece);
        piece.clear();
    });
    page.close();
}

}  // namespace korvanel
