// The archery section: one row per ranged weapon with its shot figures and
// speed, and a "Tir Précis" row for its unusually strong shots. The log never
// marks a ranged critical, so the strong shots are told apart by their
// damage before the page is written.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"
#include "text/int32.h"

namespace korvanel {

namespace {
constexpr auto kTitle = latin1(
    "\n\n<a name=\"Range\"></a><p><font size=\"4\"><b>Archerie et Armes de jet</b></font>"
    " (<a href=\"./%s.html#Sommaire\"><i>Sommaire</i></a>)</p>");
constexpr auto kHeader = latin1(
    "<table  border=\"0\" bgcolor=\"#000000\"><tr align=\"center\" bgcolor=\"#DEE3E7\">"
    "<td width=\"300\" > Nom de l'arme </td><td width=\"80\">Coups réussis</td><td width=\"80\">Moyenne</td>"
    "<td width=\"80\">Variance</td><td width=\"80\">Min-Max</td><td width=\"80\">Critiques</td>"
    "<td width=\"250\">Total des coups manqués</td></tr>");
constexpr auto kPreciseShot = latin1(
    "<tr align=\"center\" bgcolor=\"#EFEFEF\"><td align=\"right\" width=\"300\" > <i>Tir Précis </i></td>");
constexpr auto kMissed = latin1("%% ratés, ");
constexpr auto kBlocked = latin1("%% bloqués, ");
constexpr auto kEvaded = latin1("%% esquivés, ");
constexpr auto kAbsorbed = latin1("%% bullés, ");

constexpr std::string_view kRange = "Range";
constexpr int kThresholdSteps = 6;  // 2.0, 1.9, ... 1.5 times the mean

// The mean of the hits that remain, kept up to date as hits move: the sum of
// 32-bit values is exact in a 64-bit integer, so this is the mean the value
// series gives.
struct RunningMean {
    std::int64_t sum = 0;
    int counted = 0;

    explicit RunningMean(const ValueSeries& hits) {
        for (std::int32_t v : hits.values()) {
            if (v == kExcludedValue) continue;  // excluded values never count
            sum += v;
            ++counted;
        }
    }
    void remove(std::int32_t v) {
        if (v == kExcludedValue) return;
        sum -= v;
        --counted;
    }
    double value() const { return counted == 0 ? 0.0 : static_cast<double>(sum) / counted; }
};

// The hits of a slot by place, with the largest of every run of places
// (a tree of maxima over the places, leaves at the bottom): the largest hit
// is at the root, and the first place holding a hit above a bound is found
// by one walk down, so each move costs a walk, not a pass over the hits.
class HitTree {
public:
    explicit HitTree(const std::vector<std::int32_t>& hits) {
        while (leaves_ < hits.size()) leaves_ *= 2;
        most_.assign(2 * leaves_, kNone);
        std::copy(hits.begin(), hits.end(), most_.begin() + static_cast<std::ptrdiff_t>(leaves_));
        for (std::size_t node = leaves_ - 1; node >= 1; --node) pull(node);
    }

    std::int32_t largest() const { return most_[1]; }

    // The first place whose hit is above `bound`; the largest hit is.
    std::size_t first_above(std::int32_t bound) const {
        std::size_t node = 1;
        while (node < leaves_) {
            node *= 2;
            if (most_[node] <= bound) ++node;
        }
        return node - leaves_;
    }

    void set(std::size_t place, std::int32_t v) {
        std::size_t node = leaves_ + place;
        most_[node] = v;
        for (node /= 2; node >= 1; node /= 2) pull(node);
    }

private:
    static constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::min();
    void pull(std::size_t node) { most_[node] = std::max(most_[2 * node], most_[2 * node + 1]); }

    std::size_t leaves_ = 1;
    std::vector<std::int32_t> most_;  // node 1 the root; node n's children 2n and 2n + 1
};

// Moves the first hit above the highest threshold that any hit exceeds
// (trying 2.0 times the mean first, then lower) into the precise shots.
// Returns false when no hit exceeds 1.5 times the mean.
bool move_one_precise_shot(WeaponStats& slot, RunningMean& mean, HitTree& tree) {
    if (slot.hits.empty()) return false;
    for (int k = 0; k < kThresholdSteps; ++k) {
        const double threshold = (2.0 - 0.1 * k) * mean.value();
        if (tree.largest() <= threshold) continue;  // no hit exceeds this one
        // A hit is a whole number, so it is above the threshold exactly when
        // it is above the threshold's floor, which is below the largest hit.
        const std::int32_t bound = threshold < -2147483648.0 ? std::numeric_limits<std::int32_t>::min()
                                                              : static_cast<std::int32_t>(std::floor(threshold));
        const auto j = static_cast<int>(threshold < -2147483648.0 ? 0 : tree.first_above(bound));
        const std::int32_t moved = slot.hits[j];
        mean.remove(moved);
        push_value(slot.preciseShots, moved);
        // The last hit takes the place of the one moved.
        const int last = slot.hits.count() - 1;
        tree.set(static_cast<std::size_t>(j), slot.hits[last]);
        tree.set(static_cast<std::size_t>(last), std::numeric_limits<std::int32_t>::min());
        slot.hits.remove_by_swap(j);
        // Each hit has its modifier at the same place.
        if (j < slot.modifiers.count()) {
            push_value(slot.preciseModifiers, slot.modifiers[j]);
            slot.modifiers.remove_by_swap(j);
        }
        return true;
    }
    return false;
}

void write_missed_cell(PageWriter& page, const WeaponStats& slot, std::int32_t attempts) {
    const std::int32_t landed = add32(slot.hits.count(), slot.preciseShots.count());
    page.raw("<td width=\"250\"><b>");
    write_decimal(page, quotient(100.0 * sub32(attempts, landed), attempts), "%%,</b> (");
    write_decimal(page, quotient(100.0 * slot.misses, attempts), kMissed);
    write_decimal(page, quotient(100.0 * slot.blocked, attempts), kBlocked);
    write_decimal(page, quotient(100.0 * slot.evaded, attempts), kEvaded);
    write_decimal(page, quotient(100.0 * slot.absorbed, attempts), kAbsorbed);
    write_decimal(page, quotient(100.0 * slot.fumbles, attempts), "%% fumble)</td>");
}
}  // namespace

void precise_shot_split(PartStats& stats) {
    for (int i = 0; i < stats.weaponCount; ++i) {
        WeaponStats& slot = stats.weapons[i];
        // Only the ranged slots: a melee style whose name merely begins
        // with "Range" keeps its strong blows in its own row.
        if (!(slot.styleName == kRange)) continue;
        // After every move the thresholds start again from the top, against
        // the mean of the hits that remain.
        RunningMean mean(slot.hits);
        HitTree tree(slot.hits.values());
        while (move_one_precise_shot(slot, mean, tree)) {
        }
    }
}

void write_archery_section(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                           std::string_view part_link) {
    page.format(kTitle, part_link);
    page.format(kHeader);
    for (int i : prep.archery) {
        const WeaponStats& slot = stats.weapons[i];
        page.format("<tr align=\"center\" bgcolor=\"#EFEFEF\"><td width=\"300\" >%s", slot.weaponName);
        write_speed(page, slot.swingIntervals);
        page.raw("</td>");
        write_statistics_row(page, slot.hits, &slot.modifiers, &slot.criticals);
        write_missed_cell(page, slot, prep.attempts[static_cast<std::size_t>(i)]);
        page.raw("</tr>");
        if (!slot.preciseShots.empty()) {
            page.format(kPreciseShot);
            write_statistics_row(page, slot.preciseShots, &slot.preciseModifiers, nullptr);
            page.raw("<td width=\"80\">-</td><td width=\"250\">-</td></tr>");
        }
    }
    page.raw("</table>");
}

}  // namespace korvanel
