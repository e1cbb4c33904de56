// The "Artisanat" table: one row per crafted item with its attempts, the
// shares of successes and of both kinds of failure, how the successes spread
// over the qualities 94% to 100%, the average quality and the skill gains;
// a total row when there are two items or more.
#include <array>
#include <optional>
#include <vector>

#include "report/figures.h"
#include "report/sections.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr auto kTitle = latin1(
    "\n\n<a name=\"Artisanat\"></a><p><font size=\"4\"><b>Artisanat</b></font>"
    " (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>");
constexpr auto kHeader = latin1(
    "<table  width=\"1070\" border=\"0\" bgcolor=\"#000000\">"
    "<tr align=\"center\" bgcolor=\"#DEE3E7\">"
    "<td width=\"250\" height=\"25\" > Nom de l'objet </td>"
    "<td width=\"80\" height=\"25\" >Tentatives</td>"
    "<td width=\"80\" height=\"25\" >Réussites</td>"
    "<td width=\"80\" height=\"25\" >Ratages</td>"
    "<td width=\"80\" height=\"25\" >Pertes</td>"
    "<td width=\"40\" height=\"25\" >94%%</td>"
    "<td width=\"40\" height=\"25\" >95%%</td>"
    "<td width=\"40\" height=\"25\" >96%%</td>"
    "<td width=\"40\" height=\"25\" >97%%</td>"
    "<td width=\"40\" height=\"25\" >98%%</td>"
    "<td width=\"40\" height=\"25\" >99%%</td>"
    "<td width=\"40\" height=\"25\" >100%%</td>"
    "<td width=\"70\" height=\"25\" >Qua moy</td>"
    "<td width=\"150\" height=\"25\" >Gains</td>"
    "</tr>");

constexpr int kLowestQuality = 94;
constexpr int kQualities = 7;  // 94% to 100%

// What one row shows; the total row adds up the items' figures.
struct CraftFigures {
    std::int32_t successes = 0, failedNoLoss = 0, failedWithLoss = 0;
    std::array<std::int32_t, kQualities> byQuality{};

    std::int32_t attempts() const { return add32(add32(successes, failedNoLoss), failedWithLoss); }
    void add(const CraftFigures& other) {
        successes = add32(successes, other.successes);
        failedNoLoss = add32(failedNoLoss, other.failedNoLoss);
        failedWithLoss = add32(failedWithLoss, other.failedWithLoss);
        for (std::size_t j = 0; j < byQuality.size(); ++j) byQuality[j] = add32(byQuality[j], other.byQuality[j]);
    }
};

CraftFigures figures_of(const CraftStats& craft) {
    CraftFigures figures;
    figures.successes = craft.qualities.count();
    figures.failedNoLoss = craft.failedNoLoss;
    figures.failedWithLoss = craft.failedWithLoss;
    for (std::int32_t quality : craft.qualities.values()) {
        const std::int32_t j = quality - kLowestQuality;  // qualities come from read_number: never negative
        if (j >= 0 && j < kQualities) ++figures.byQuality[static_cast<std::size_t>(j)];
    }
    return figures;
}

// Only the qualities 94 to 100 weigh in the sum; every success counts in the divisor.
std::optional<int> average_quality(const CraftFigures& figures) {
    double sum = 0.0;
    for (int j = 0; j < kQualities; ++j) sum += double(kLowestQuality + j) * figures.byQuality[std::size_t(j)];
    const std::optional<double> average = quotient(sum, figures.successes);
    if (!average) return std::nullopt;
    return round_half_up(*average);
}

// Every cell after the name: attempts, shares, quality shares, average.
void write_figures(PageWriter& page, const CraftFigures& figures) {
    const std::int32_t attempts = figures.attempts();
    page.format("<td width=\"80\" height=\"25\" >%i</td>", attempts);
    for (std::int32_t part : {figures.successes, figures.failedNoLoss, figures.failedWithLoss}) {
        page.format("<td width=\"80\" height=\"25\" >%i%%</td>", percent(part, attempts));
    }
    for (std::int32_t count : figures.byQuality) {
        page.format("<td width=\"40\" height=\"25\" >%i%%</td>", percent(count, figures.successes));
    }
    page.format("<td width=\"70\" height=\"25\" >%i%%</td>", average_quality(figures));
}

// The skills of every item, merged by name in order of first appearance.
struct MergedSkills {
    std::vector<Name49> names;
    std::vector<std::int32_t> gains;
    int count = 0;

    void merge(const CraftStats& craft) {
        for (int i = 0; i < craft.skillCount; ++i) {
            const Name49& name = craft.skillNames[std::size_t(i)];
            int entry = 0;
            while (entry < count && !(names[std::size_t(entry)] == name)) ++entry;
            if (entry == count) {
                names.push_back(name);
                gains.push_back(0);
                ++count;
            }
            gains[std::size_t(entry)] = add32(gains[std::size_t(entry)], craft.skillGains[std::size_t(i)]);
        }
    }
};

void write_gains(PageWriter& page, const Name49* names, const std::int32_t* gains, int count) {
    page.raw("<td width=\"150\" height=\"25\" >");
    if (count == 0) page.raw("-");
    for (int i = 0; i < count; ++i) page.format("%s + %i<br>", names[i], gains[i]);
    page.raw("</td></tr>");
}
}  // namespace

void write_crafting_section(PageWriter& page, const PartStats& stats, std::string_view part_link) {
    page.format(kTitle, part_link);
    page.format(kHeader);
    CraftFigures total;
    MergedSkills merged;
    for (int slot = 0; slot < stats.craftCount; ++slot) {
        const CraftStats& craft = stats.crafts[slot];
        const CraftFigures figures = figures_of(craft);
        total.add(figures);
        merged.merge(craft);
        page.format("<tr align=\"center\" bgcolor=\"#DEE3E7\"><td width=\"250\" height=\"25\" >%s</td>", craft.name);
        write_figures(page, figures);
        write_gains(page, craft.skillNames.data(), craft.skillGains.data(), craft.skillCount);
    }
    if (stats.craftCount > 1) {
        page.raw("<tr align=\"center\" bgcolor=\"#DEE3E7\"><td width=\"250\" height=\"25\" ><i>Total</i></td>");
        write_figures(page, total);
        write_gains(page, merged.names.data(), merged.gains.data(), merged.count);
    }
    page.raw("</table>");
}

}  // namespace korvanel
