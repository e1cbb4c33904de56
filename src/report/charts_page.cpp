#include "report/charts_page.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "report/page_writer.h"
#include "system/system_names.h"
#include "text/format.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kHeader = latin1(
    "<html><head><title>Graphiques du fichier %s</title><meta http-equiv=\"Content-Type\" "
    "content=\"text/html; charset=iso-8859-1\"></head><body bgcolor=\"#EFEFEF\" text=\"#074385\" "
    "vlink=\"#0066FF\"><p><font size=\"2\"><a href=\"discussions.html\">Discussions</a>");
constexpr std::string_view kPartLink = " - <a href=\"./%s.html\">%s</a>";
constexpr std::string_view kSectionHead =
    "<a name=\"partie%i\"></a><p><font size=\"4\"><b><a href=\"./%s.html\">%s</a></b></font></p>";
constexpr auto kNoFight = latin1("<p>Cette partie du journal ne contient aucun combat.</p>");
constexpr auto kDealtTitle = latin1("Dégâts infligés par seconde");
constexpr auto kReceivedTitle = latin1("Dégâts reçus et soins par seconde");
constexpr auto kLastFights = latin1("Les graphiques montrent les %i derniers combats sur %i.");
constexpr auto kWindow = latin1(
    "Chaque colonne couvre %i secondes d'un combat (la dernière d'un combat peut être plus "
    "courte) ; les combats se suivent, séparés par un trait, avec leur heure de début.");
constexpr auto kEarlierFights = latin1("%i combats plus anciens ne sont pas listés.");

// The chart colours and lines, on the pages' own blue and grey.
constexpr std::string_view kChartStyle =
    "<style>.m{fill:#074385}.a{fill:#3F8FD2}.s{fill:#8E44AD}.o{fill:#D98C10}.r{fill:#C0392B}.h{fill:#2E9B4F}"
    ".e{fill:#000;fill-opacity:0}.g{stroke:#C9CED3;fill:none}.b{stroke:#8A8F94;stroke-dasharray:3 2;fill:none}"
    ".x{stroke:#074385;fill:none}.k{fill:#1B1B1B}.d{fill:#D00000}.t{text-anchor:end}</style>";

struct KindLook {
    const char* css;
    std::string_view label;
    std::string_view color;
};
constexpr auto kMelee = latin1("mêlée");
constexpr auto kOther = latin1("autres");
constexpr auto kReceived = latin1("dégâts reçus");
const KindLook kLooks[kAmountKinds] = {
    {"m", kMelee, "#074385"}, {"a", "archerie", "#3F8FD2"}, {"s", "sorts", "#8E44AD"},
    {"o", kOther, "#D98C10"}, {"r", kReceived, "#C0392B"},  {"h", "soins", "#2E9B4F"},
};
constexpr auto kKilled = latin1("ennemis tués");
constexpr auto kDeaths = latin1("morts");
constexpr auto kDealt = latin1("infligés");

// Chart geometry, in pixels.
constexpr int kLeft = 56;
constexpr int kRight = 12;
constexpr int kMarkBand = 16;
constexpr int kPlotHeight = 170;
constexpr int kBottom = 54;  // room for the fights' start times
constexpr int kTargetWidth = 1000;

// The text of a section, in a string whose bytes past `used` are room for
// what comes next. Once it holds kSpillBytes, what it holds goes on to
// `page`, so the buffer stays small however long the section.
struct Buffer {
    static constexpr std::size_t kSpillBytes = std::size_t{1} << 15;
    std::string bytes;
    std::size_t used = 0;
    PageWriter* page = nullptr;
    std::string_view text() const { return {bytes.data(), used}; }
};

// Appends the pieces of a page: texts as they stand (the program's own,
// nothing to escape), integers in decimal.
class Out {
public:
    explicit Out(Buffer& buffer) : buffer_(buffer) {}
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;

    Out& operator<<(std::string_view piece) {
        std::memcpy(room(piece.size()), piece.data(), piece.size());
        buffer_.used += piece.size();
        return *this;
    }
    Out& operator<<(char c) {
        *room(1) = c;
        ++buffer_.used;
        return *this;
    }
    Out& operator<<(std::int64_t v) {
        char* const at = room(24);
        buffer_.used += static_cast<std::size_t>(std::to_chars(at, at + 24, v).ptr - at);
        return *this;
    }
    Out& operator<<(int v) { return *this << std::int64_t{v}; }

private:
    // Room for n more bytes after the text written so far.
    char* room(std::size_t n) {
        if (buffer_.bytes.size() - buffer_.used < n) grow(n);
        return buffer_.bytes.data() + buffer_.used;
    }
    [[gnu::noinline]] void grow(std::size_t n) {
        if (buffer_.page != nullptr && buffer_.used >= Buffer::kSpillBytes) {
            buffer_.page->raw(buffer_.text());
            buffer_.used = 0;
            if (buffer_.bytes.size() >= n) return;
        }
        buffer_.bytes.resize(std::max(buffer_.bytes.size() * 2, buffer_.used + n + 4096));
    }

    Buffer& buffer_;
};

std::string number(std::int64_t v) {
    char digits[24];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}

// A sum over some seconds, per second, halves rounding up.
std::int64_t per_second(std::int64_t sum, std::int64_t seconds) {
    if (seconds <= 0) return 0;
    return static_cast<std::int64_t>(std::floor(static_cast<double>(sum) / static_cast<double>(seconds) + 0.5));
}

// "HH:MM:SS" of a clock second (one past midnight reads as the next day's).
struct Clock {
    std::int64_t second;
};
Out& operator<<(Out& out, Clock clock) {
    std::int64_t c = clock.second % kSecondsPerDay;
    if (c < 0) c += kSecondsPerDay;
    const int h = static_cast<int>(c / 3600), m = static_cast<int>(c / 60 % 60), s = static_cast<int>(c % 60);
    const char text[8] = {static_cast<char>('0' + h / 10), static_cast<char>('0' + h % 10), ':',
                          static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10), ':',
                          static_cast<char>('0' + s / 10), static_cast<char>('0' + s % 10)};
    return out << std::string_view(text, 8);
}

std::int64_t dealt(const AmountSums& sums) { return sums[0] + sums[1] + sums[2] + sums[3]; }
std::int64_t at(const AmountSums& sums, AmountKind kind) { return sums[static_cast<std::size_t>(kind)]; }

// One column of the charts: a window of one fight.
struct Column {
    std::int64_t start = 0;  // clock second of its first second (may pass midnight)
    std::int32_t seconds = 0;
    AmountSums sums{};
    std::int32_t kills = 0, deaths = 0;
    int x = 0;  // left edge in the chart
};

struct ChartData {
    std::vector<Column> columns;
    std::vector<int> fight_x;  // left edge of each shown fight
    std::vector<std::int64_t> fight_start;
    int column_width = 0;
    int width = 0;  // of the plot
};

ChartData chart_data(const Timeline& timeline, std::size_t first, std::int32_t window) {
    const std::size_t count = timeline.fight_count();
    const std::size_t shown = count - first;
    std::size_t column_count = 0;
    for (std::size_t i = first; i < count; ++i) {
        column_count += static_cast<std::size_t>((timeline.fight_length(i) + window - 1) / window);
    }
    ChartData data;
    const int gap = shown > 100 ? 3 : 7;
    const int room = kTargetWidth - static_cast<int>(shown - 1) * gap;
    data.column_width = std::clamp(room / static_cast<int>(std::max<std::size_t>(column_count, 1)), 2, 24);
    data.columns.reserve(column_count);
    int x = 0;
    for (std::size_t i = first; i < count; ++i) {
        const Fight fight = timeline.fight(i);
        if (i != first) x += gap;
        data.fight_x.push_back(x);
        data.fight_start.push_back(fight.start);
        const std::size_t base = data.columns.size();
        for (std::int32_t offset = 0; offset < fight.length; offset += window) {
            Column column;
            column.start = std::int64_t{fight.start} + offset;
            column.seconds = std::min(window, fight.length - offset);
            column.x = x;
            x += data.column_width;
            data.columns.push_back(column);
        }
        timeline.for_each_second(fight, [&](const SecondRow& row) {
            Column& column = data.columns[base + static_cast<std::size_t>(row.offset / window)];
            for (std::size_t k = 0; k < kAmountKinds; ++k) column.sums[k] += row.sums[k];
        });
    }
    // Kills and deaths after a fight's last amount count in its last window.
    std::size_t fight_base = 0;
    std::uint32_t fight_at = static_cast<std::uint32_t>(first);
    for (const FightMark& mark : timeline.marks()) {
        if (mark.fight < first) continue;
        while (fight_at < mark.fight) {
            fight_base += static_cast<std::size_t>((timeline.fight_length(fight_at) + window - 1) / window);
            ++fight_at;
        }
        const std::int32_t offset = std::min(mark.offset, timeline.fight_length(mark.fight) - 1);
        Column& column = data.columns[fight_base + static_cast<std::size_t>(offset / window)];
        column.kills += mark.kills;
        column.deaths += mark.deaths;
    }
    data.width = x;
    return data;
}

// A round step for a scale up to `max`: 1, 2 or 5 times a power of ten,
// giving at most five graduations.
std::int64_t round_step(double max) {
    for (std::int64_t power = 1;; power *= 10) {
        for (std::int64_t f : {1, 2, 5}) {
            if (static_cast<double>(f * power) * 5 >= max || power > 1'000'000'000'000'000) return f * power;
        }
    }
}

struct Scale {
    std::int64_t step = 1, top = 1;
    // The y of a value per second.
    int y(double value) const {
        const double h = value / static_cast<double>(top) * kPlotHeight;
        return kMarkBand + kPlotHeight - static_cast<int>(std::lround(std::clamp(h, 0.0, double{kPlotHeight})));
    }
};

Scale scale_for(double max) {
    Scale scale;
    scale.step = round_step(max);
    scale.top = std::max<std::int64_t>(
        scale.step, static_cast<std::int64_t>(std::ceil(max / static_cast<double>(scale.step))) * scale.step);
    return scale;
}

void open_svg(Out& out, const ChartData& data, const Scale& scale) {
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kLeft + data.width + kRight << "\" height=\""
        << kMarkBand + kPlotHeight + kBottom << "\" font-size=\"10\" fill=\"#074385\">" << kChartStyle;
    // graduations
    out << "<path class=\"g\" d=\"";
    for (std::int64_t value = 0; value <= scale.top; value += scale.step) {
        out << 'M' << kLeft << ' ' << scale.y(static_cast<double>(value)) << 'h' << data.width;
    }
    out << "\"/>";
    for (std::int64_t value = 0; value <= scale.top; value += scale.step) {
        out << "<text x=\"" << kLeft - 4 << "\" y=\"" << scale.y(static_cast<double>(value)) + 3
            << "\" text-anchor=\"end\">" << value << "</text>";
    }
    out << "<text x=\"2\" y=\"10\">/s</text>";
}

void close_svg(Out& out, const ChartData& data) {
    const int bottom = kMarkBand + kPlotHeight;
    // the axis, the breaks between fights and their start times
    out << "<path class=\"x\" d=\"M" << kLeft << ' ' << bottom << 'h' << data.width << "\"/>";
    if (data.fight_x.size() > 1) {
        out << "<path class=\"b\" d=\"";
        for (std::size_t i = 1; i < data.fight_x.size(); ++i) {
            out << 'M' << kLeft + data.fight_x[i] - 2 << ' ' << kMarkBand << 'v' << kPlotHeight;
        }
        out << "\"/>";
    }
    int free_from = -1000;
    for (std::size_t i = 0; i < data.fight_x.size(); ++i) {
        const int x = kLeft + data.fight_x[i];
        // upright, read from the bottom, ending under the axis
        if (x < free_from) continue;
        out << "<text class=\"t\" transform=\"translate(" << x + 4 << ' ' << bottom + 4 << ")rotate(-90)\">"
            << Clock{data.fight_start[i]} << "</text>";
        free_from = x + 12;
    }
    // kills and deaths, above their windows
    auto marks = [&](const char* css, std::int32_t Column::*count, std::string_view shape, int shift) {
        bool any = false;
        for (const Column& column : data.columns) {
            if (column.*count == 0) continue;
            if (!any) out << "<path class=\"" << css << "\" d=\"";
            any = true;
            out << 'M' << kLeft + column.x + data.column_width / 2 + shift << shape;
        }
        if (any) out << "\"/>";
    };
    marks("k", &Column::kills, " 1h6l-3 6z", -3);
    marks("d", &Column::deaths, " 8l3 3-3 3-3-3z", 0);
    out << "</svg>";
}

void add_rect(Out& out, const char* css, int x, int width, int top, int bottom) {
    if (bottom <= top || width <= 0) return;
    out << "<rect class=\"" << css << "\" x=\"" << x << "\" y=\"" << top << "\" width=\"" << width << "\" height=\""
        << bottom - top << "\"/>";
}

// The tooltip's first line: the window's clock times and seconds.
void window_title(Out& out, const Column& column) {
    out << "<g><title>" << Clock{column.start};
    if (column.seconds > 1) out << " - " << Clock{column.start + column.seconds - 1};
    out << " (" << column.seconds << " s)";
}

void add_figure(Out& out, std::string_view label, std::int64_t sum, std::int32_t seconds) {
    out << '\n' << label << ' ' << sum << " (" << per_second(sum, seconds) << "/s)";
}

void add_marks(Out& out, const Column& column) {
    if (column.kills > 0) out << '\n' << kKilled.view() << ' ' << column.kills;
    if (column.deaths > 0) out << '\n' << kDeaths.view() << ' ' << column.deaths;
    out << "</title>";
}

// Damage dealt per second, stacked by kind.
void dealt_chart(Out& out, const ChartData& data) {
    double max = 0;
    for (const Column& c : data.columns) max = std::max(max, static_cast<double>(dealt(c.sums)) / c.seconds);
    const Scale scale = scale_for(max);
    open_svg(out, data, scale);
    const int bottom = kMarkBand + kPlotHeight;
    for (const Column& column : data.columns) {
        const int x = kLeft + column.x;
        window_title(out, column);
        add_figure(out, kDealt, dealt(column.sums), column.seconds);
        for (int k = 0; k < 4; ++k) {
            const std::int64_t sum = column.sums[static_cast<std::size_t>(k)];
            if (sum != 0) add_figure(out, kLooks[k].label, sum, column.seconds);
        }
        add_marks(out, column);
        // A column too low for a pixel is hovered over its whole height, as an empty one.
        if (scale.y(static_cast<double>(dealt(column.sums)) / column.seconds) >= bottom) {
            add_rect(out, "e", x, data.column_width, kMarkBand, bottom);
        }
        std::int64_t below = 0;
        for (int k = 0; k < 4; ++k) {
            const std::int64_t sum = column.sums[static_cast<std::size_t>(k)];
            if (sum == 0) continue;
            const int low = scale.y(static_cast<double>(below) / column.seconds);
            below += sum;
            const int high = scale.y(static_cast<double>(below) / column.seconds);
            add_rect(out, kLooks[k].css, x, data.column_width, high, low);
        }
        out << "</g>";
    }
    close_svg(out, data);
}

// Damage received and heals per second, side by side in each column.
void received_chart(Out& out, const ChartData& data) {
    double max = 0;
    for (const Column& c : data.columns) {
        max = std::max({max, static_cast<double>(at(c.sums, AmountKind::Received)) / c.seconds,
                        static_cast<double>(at(c.sums, AmountKind::Healed)) / c.seconds});
    }
    const Scale scale = scale_for(max);
    open_svg(out, data, scale);
    const int bottom = kMarkBand + kPlotHeight;
    const int left_width = data.column_width / 2;
    for (const Column& column : data.columns) {
        const int x = kLeft + column.x;
        const std::int64_t received = at(column.sums, AmountKind::Received);
        const std::int64_t healed = at(column.sums, AmountKind::Healed);
        window_title(out, column);
        add_figure(out, kLooks[4].label, received, column.seconds);
        add_figure(out, kLooks[5].label, healed, column.seconds);
        add_marks(out, column);
        if (scale.y(static_cast<double>(std::max(received, healed)) / column.seconds) >= bottom) {
            add_rect(out, "e", x, data.column_width, kMarkBand, bottom);
        }
        add_rect(out, "r", x, left_width, scale.y(static_cast<double>(received) / column.seconds), bottom);
        add_rect(out, "h", x + left_width, data.column_width - left_width,
                 scale.y(static_cast<double>(healed) / column.seconds), bottom);
        out << "</g>";
    }
    close_svg(out, data);
}

void legend(Out& out, std::initializer_list<int> kinds) {
    out << "<br><font size=\"2\">";
    for (int k : kinds)
        out << "<font color=\"" << kLooks[k].color << "\">&#9632;</font> " << kLooks[k].label << " &nbsp; ";
    out << "<font color=\"#1B1B1B\">&#9660;</font> " << kKilled.view()
        << " &nbsp; <font color=\"#D00000\">&#9670;</font> " << kDeaths.view() << "</font></p>";
}

std::string formatted(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    format_into(out, format, args, true);
    return out;
}

void summary(Buffer& text, const Timeline& timeline) {
    const std::size_t count = timeline.fight_count();
    std::int64_t active = 0;
    for (std::size_t i = 0; i < count; ++i) active += timeline.fight_length(i);
    const AmountSums& t = timeline.totals();
    Out out(text);
    out << "<p>Combats : " << static_cast<std::int64_t>(count) << latin1(" - durée active : ").view()
        << active_time_text(active) << "<br>" << latin1("Dégâts infligés : ").view() << dealt(t) << " (";
    for (int k = 0; k < 4; ++k) {
        if (k != 0) out << ", ";
        out << kLooks[k].label << ' ' << t[static_cast<std::size_t>(k)];
    }
    out << "), " << per_second(dealt(t), active) << " par seconde<br>" << latin1("Dégâts reçus : ").view()
        << at(t, AmountKind::Received) << ", " << per_second(at(t, AmountKind::Received), active)
        << " par seconde<br>Soins : " << at(t, AmountKind::Healed) << ", "
        << per_second(at(t, AmountKind::Healed), active) << " par seconde<br>" << latin1("Ennemis tués : ").view()
        << timeline.kills() << " - morts : " << timeline.deaths() << "</p>";
}

void charts(Buffer& text, const Timeline& timeline) {
    const std::size_t count = timeline.fight_count();
    const std::size_t first = count > kChartFights ? count - kChartFights : 0;
    std::vector<std::int32_t> lengths;
    for (std::size_t i = first; i < count; ++i) lengths.push_back(timeline.fight_length(i));
    const std::int32_t window = chart_window(lengths);
    const ChartData data = chart_data(timeline, first, window);

    Out out(text);
    out << "<p><font size=\"2\">";
    if (first > 0) {
        out << formatted(kLastFights,
                         {kChartFights, static_cast<int>(std::min<std::size_t>(count, 2147483647))})
            << " ";
    }
    out << formatted(kWindow, {static_cast<int>(window)}) << "</font></p><p><b>" << kDealtTitle.view() << "</b><br>";
    dealt_chart(out, data);
    legend(out, {0, 1, 2, 3});
    out << "<p><b>" << kReceivedTitle.view() << "</b><br>";
    received_chart(out, data);
    legend(out, {4, 5});
}

void table(Buffer& text, const Timeline& timeline) {
    const std::size_t count = timeline.fight_count();
    Out out(text);
    out << latin1(
               "<table border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
               "<td width=\"80\">Début</td><td width=\"90\">Durée</td><td width=\"90\">Dégâts infligés</td>"
               "<td width=\"70\">par seconde</td><td width=\"90\">Dégâts reçus</td><td width=\"90\">Soins</td>"
               "<td width=\"70\">Ennemis tués</td><td width=\"70\">Morts</td></tr>")
               .view();
    std::size_t first = 0;
    if (count > kTableFights) {
        first = count - kTableFights;
        out << "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td colspan=\"8\">"
            << formatted(kEarlierFights, {static_cast<int>(std::min<std::size_t>(first, 2147483647))}) << "</td></tr>";
    }
    for (std::size_t i = first; i < count; ++i) {
        const Fight f = timeline.fight(i);
        const AmountSums sums = timeline.sums(f);
        out << "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td>" << Clock{f.start} << "</td><td>"
            << active_time_text(f.length) << "</td><td>" << dealt(sums) << "</td><td>"
            << per_second(dealt(sums), f.length) << "</td><td>" << at(sums, AmountKind::Received) << "</td><td>"
            << at(sums, AmountKind::Healed) << "</td><td>" << f.kills << "</td><td>" << f.deaths << "</td></tr>";
    }
    out << "</table>";
}
}  // namespace

std::int32_t chart_window(std::span<const std::int32_t> lengths) {
    auto columns = [&](std::int64_t window) {
        std::int64_t n = 0;
        for (std::int32_t length : lengths) n += (length + window - 1) / window;
        return n;
    };
    std::int64_t longest = 1;
    for (std::int32_t length : lengths) longest = std::max<std::int64_t>(longest, length);
    // The smallest k whose windows are few enough; one window per fight always is.
    std::int64_t low = 1, high = longest / kBaseWindow + 1;
    while (low < high) {
        const std::int64_t k = low + (high - low) / 2;
        if (columns(kBaseWindow * k) <= kChartColumns) {
            high = k;
        } else {
            low = k + 1;
        }
    }
    return static_cast<std::int32_t>(kBaseWindow * low);
}

std::string active_time_text(std::int64_t seconds) {
    const std::int64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    auto two = [](std::int64_t v) { return (v < 10 ? "0" : "") + number(v); };
    if (h > 0) return number(h) + "h " + two(m) + "min " + two(s) + "s";
    if (m > 0) return number(m) + "min " + two(s) + "s";
    return number(s) + "s";
}

void write_charts_page(const std::vector<std::string>& names, const std::vector<PageTarget>& pages,
                       const std::vector<Timeline>& timelines, std::string_view log_name,
                       const std::filesystem::path& dir, PageSink& sink) {
    PageWriter page(sink, dir / path_from_latin1(kChartsPageName), kChartsPageName);
    page.format(kHeader, log_name);
    for (std::size_t i = 0; i < names.size(); ++i) page.format(kPartLink, pages[i].link, names[i]);
    page.raw("</font></p>");
    Buffer section;
    section.bytes.resize(Buffer::kSpillBytes + (1 << 12));
    section.page = &page;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Timeline& timeline = timelines[i];
        page.format(kSectionHead, static_cast<int>(i), pages[i].link, names[i]);
        section.used = 0;
        if (timeline.no_fight()) {
            Out(section) << kNoFight.view();
        } else {
            summary(section, timeline);
            charts(section, timeline);
            table(section, timeline);
        }
        page.raw(section.text());
    }
    page.raw("<p>&nbsp;</p></body></html>");
    page.close();
}

}  // namespace korvanel
