// The sections of an analysis page, in page order. Each takes the page, the
// part's statistics and the part's link name (the page name as it stands in
// the page's own links, before HTML escaping).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "report/page_writer.h"
#include "stats/part_stats.h"
#include "text/latin1.h"

namespace korvanel {

// What the melee and archery sections share, prepared before the page file
// is created.
struct WeaponGroup {
    WeaponName name;
    std::vector<int> slots;
};
struct MeleePreparation {
    std::vector<std::int32_t> attempts;        // per weapon slot
    std::int32_t meleeAttempts = 0;            // slots not "Range"
    std::int32_t multipleAttempts = 0;         // slots "Multiple"
    std::vector<WeaponGroup> groups;
    std::vector<int> archery;                  // slots "Range"
    std::vector<int> multiple;                 // slots "Multiple"
};

// melee_section.cpp
MeleePreparation prepare_melee(const PartStats& stats);
void write_melee_section(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                         std::string_view part_link);

// archery_section.cpp. The split moves the unusually strong ranged hits to preciseShots.
void precise_shot_split(PartStats& stats);
void write_archery_section(PageWriter& page, const PartStats& stats, const MeleePreparation& prep,
                           std::string_view part_link);

// spell_sections.cpp and heal_section.cpp
bool has_offensive_spells(const PartStats& stats);
bool has_heals(const PartStats& stats);
bool has_other_spells(const PartStats& stats);
void write_offensive_spells_section(PageWriter& page, const PartStats& stats, std::string_view part_link);
void write_heal_section(PageWriter& page, const PartStats& stats, std::string_view part_link);
void write_other_spells_section(PageWriter& page, const PartStats& stats, std::string_view part_link);

// damage_types.cpp: the titles of the six dealt types (entries 0 to 5),
// then of the eight received types (entries 6 to 13).
std::string_view damage_type_name(int entry);
void write_dealt_damage_section(PageWriter& page, const PartStats& stats, std::string_view part_link);
// The table opening and heading cells of a series: count, mean, spread,
// minimum-maximum (the row is left open for more heading cells).
void write_series_heading(PageWriter& page);
// The small table of one series: count, mean, spread, minimum-maximum.
void write_small_table(PageWriter& page, const ValueSeries& series);

// defense_section.cpp. Blows received from monsters, in melee and by arrows.
std::int32_t blows_received(const PartStats& stats);
void write_defense_section(PageWriter& page, const PartStats& stats, std::string_view part_link);

// killers_sections.cpp
void write_grouped_number(PageWriter& page, std::int32_t low, std::int32_t billions);
void write_killers_section(PageWriter& page, const PartStats& stats, std::string_view part_link);
void write_hunting_section(PageWriter& page, const PartStats& stats, std::string_view part_link);

// experience_section.cpp
void write_experience_section(PageWriter& page, const PartStats& stats, std::string_view part_link);

// crafting_section.cpp
void write_crafting_section(PageWriter& page, const PartStats& stats, std::string_view part_link);

}  // namespace korvanel
