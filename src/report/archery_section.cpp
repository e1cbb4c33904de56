// The archery section: one row per ranged weapon with its shot figures and
// speed, and a "Tir Précis" row for its unusually strong shots. The log never
// marks a ranged critical, so the strong shots are told apart by their
// damage before the page is written.
#include <algorithm>
#include <cmath>

#include "report/figures.h"
#include "report/sections.h"
#include "report/statistics_row.h"
#include "text/int32.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
__m128i load4(const std::int32_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
#endif

// The largest of the hits (there is one at least), four at a time.
std::int32_t largest_of(const std::vector<std::int32_t>& hits) {
    const std::int32_t* const v = hits.data();
    const std::size_t n = hits.size();
    std::int32_t best = v[0];
    std::size_t i = 0;
#if defined(__SSE2__)
    if (n >= 4) {
        __m128i most = load4(v);
        for (i = 4; i + 4 <= n; i += 4) {
            const __m128i x = load4(v + i);
            const __m128i above = _mm_cmpgt_epi32(x, most);
            most = _mm_or_si128(_mm_and_si128(above, x), _mm_andnot_si128(above, most));
        }
        alignas(16) std::int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), most);
        best = std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
    }
#endif
    for (; i < n; ++i) best = std::max(best, v[i]);
    return best;
}

// The largest hit, kept while hits move: it changes only when the hit moved was it.
struct LargestHit {
    std::int32_t value = 0;

    explicit LargestHit(const ValueSeries& hits) { find(hits); }
    void find(const ValueSeries& hits) {
        if (!hits.empty()) value = largest_of(hits.values());
    }
};

// The place of the first hit above the threshold, which the largest hit is.
// A hit is a whole number, so it is above the threshold exactly when it is
// above the threshold's floor; blocks of sixteen hits are tried at once.
int first_above(const std::vector<std::int32_t>& hits, double threshold) {
    if (threshold < -2147483648.0) return 0;  // every hit is above it
    const auto bound = static_cast<std::int32_t>(std::floor(threshold));  // below the largest hit
    const std::int32_t* const v = hits.data();
    std::size_t j = 0;
#if defined(__SSE2__)
    const __m128i bounds = _mm_set1_epi32(bound);
    for (; j + 16 <= hits.size(); j += 16) {
        const __m128i above = _mm_or_si128(
            _mm_or_si128(_mm_cmpgt_epi32(load4(v + j), bounds), _mm_cmpgt_epi32(load4(v + j + 4), bounds)),
            _mm_or_si128(_mm_cmpgt_epi32(load4(v + j + 8), bounds), _mm_cmpgt_epi32(load4(v + j + 12), bounds)));
        if (_mm_movemask_epi8(above) != 0) break;
    }
#else
    for (; j + 16 <= hits.size(); j += 16) {
        bool above = false;
        for (std::size_t k = 0; k < 16; ++k) above |= v[j + k] > bound;
        if (above) break;
    }
#endif
    while (v[j] <= bound) ++j;
    return static_cast<int>(j);
}

// Moves the first hit above the highest threshold that any hit exceeds
// (trying 2.0 times the mean first, then lower) into the precise shots.
// Returns false when no hit exceeds 1.5 times the mean.
bool move_one_precise_shot(WeaponStats& slot, RunningMean& mean, LargestHit& largest) {
    if (slot.hits.empty()) return false;
    const std::vector<std::int32_t>& hits = slot.hits.values();
    for (int k = 0; k < kThresholdSteps; ++k) {
        const double threshold = (2.0 - 0.1 * k) * mean.value();
        if (largest.value <= threshold) continue;  // no hit exceeds this one
        const int j = first_above(hits, threshold);
        const std::int32_t moved = hits[static_cast<std::size_t>(j)];
        mean.remove(moved);
        push_value(slot.preciseShots, moved);
        slot.hits.remove_by_swap(j);
        if (moved == largest.value) largest.find(slot.hits);
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
        LargestHit largest(slot.hits);
        while (move_one_precise_shot(slot, mean, largest)) {
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
