#include "report/analysis_page.h"

#include <utility>
#include <vector>

#include "analysis/weapon_registry.h"

#include "report/page_writer.h"
#include "report/sections.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kHeader = latin1(
    "<html><head><title>Analyse du fichier %s</title><meta http-equiv=\"Content-Type\" "
    "content=\"text/html; charset=iso-8859-1\"></head><body bgcolor=\"#EFEFEF\" text=\"#074385\" "
    "vlink=\"#0066FF\"><p><font size=\"2\"><a href=\""
    "discussions.html"
    "\">Discussions</a> - <a href=\"graphiques.html#partie%i\">Graphiques</a></font></p><a name=\"Sommaire\"></a>");
constexpr auto kDefenseLink = latin1(" <a href=\"./%s.html#Defense\">Défense</a> -");

struct Presence {
    bool melee, archery, offensive, heals, other, defense, killers, hunting, experience, crafting;
};

void write_summary(PageWriter& page, const PartStats& stats, const Presence& on, std::string_view link) {
    page.raw("<p>");
    if (on.melee) page.format(" <a href=\"./%s.html#Attaques\">Attaques</a> -", link);
    if (on.archery) page.format(" <a href=\"./%s.html#Range\">Archerie</a> -", link);
    if (on.offensive) page.format(" <a href=\"./%s.html#Sorts\">Sorts</a> -", link);
    if (on.heals) page.format(" <a href=\"./%s.html#Soins\">Soins</a> -", link);
    if (on.other) page.format(" <a href=\"./%s.html#SortsNO\">Sorts non offensifs</a> -", link);
    for (int type = 0; type < kDealtTypes; ++type) {
        if (stats.dealtByType[static_cast<std::size_t>(type)].empty()) continue;
        const std::string_view title = damage_type_name(type);
        page.format(" <a href=\"./%s.html#%s\">%s</a> -", link, title, title);
    }
    if (on.defense) page.format(kDefenseLink, link);
    if (on.killers) page.format(" <a href=\"./%s.html#Meurtriers\">Meurtriers</a> -", link);
    if (on.hunting) page.format(" <a href=\"./%s.html#Tableau de chasse\">Tableau de chasse</a> -", link);
    if (on.experience) page.format(" <a href=\"./%s.html#XP\">XP, argent, loots</a> -", link);
    if (on.crafting) page.format(" <a href=\"./%s.html#Artisanat\">Artisanat</a> -", link);
}
}  // namespace

void write_analysis_page(PartStats& stats, std::string_view log_name, const PageTarget& target, PageSink& sink) {
    precise_shot_split(stats);
    const MeleePreparation prep = prepare_melee(stats);
    const Presence on{
        .melee = stats.weaponCount != 0,
        .archery = !prep.archery.empty(),
        .offensive = has_offensive_spells(stats),
        .heals = has_heals(stats),
        .other = has_other_spells(stats),
        .defense = blows_received(stats) != 0,
        .killers = stats.killerCount != 0,
        .hunting = stats.realmKillLast > -1,
        .experience = stats.monsterCount != 0,
        .crafting = stats.craftCount != 0,
    };

    PageWriter page(sink, target.file, target.display_name);
    page.format(kHeader, log_name, target.index);
    write_summary(page, stats, on, target.link);
    const std::string_view link = target.link;
    if (on.melee) write_melee_section(page, stats, prep, link);
    if (on.archery) write_archery_section(page, stats, prep, link);
    if (on.offensive) write_offensive_spells_section(page, stats, link);
    if (on.heals) write_heal_section(page, stats, link);
    if (on.other) write_other_spells_section(page, stats, link);
    write_dealt_damage_section(page, stats, link);
    if (on.defense) write_defense_section(page, stats, link);
    if (on.killers) write_killers_section(page, stats, link);
    if (on.hunting) write_hunting_section(page, stats, link);
    if (on.experience) write_experience_section(page, stats, link);
    if (on.crafting) write_crafting_section(page, stats, link);
    page.raw("<p>&nbsp;</p></body></html>");
    page.close();
}

void write_analysis_page_keeping_stats(PartStats& stats, std::string_view log_name, const PageTarget& target,
                                       PageSink& sink) {
    // The precise-shot split moves values between four series of the ranged
    // slots only: those are kept aside and put back after the page.
    struct Kept {
        int slot;
        ValueSeries hits, modifiers, precise_shots, precise_modifiers;
    };
    struct PutBack {
        PartStats& stats;
        std::vector<Kept> kept;
        ~PutBack() {
            for (Kept& k : kept) {
                WeaponStats& slot = stats.weapons[k.slot];
                slot.hits = std::move(k.hits);
                slot.modifiers = std::move(k.modifiers);
                slot.preciseShots = std::move(k.precise_shots);
                slot.preciseModifiers = std::move(k.precise_modifiers);
            }
        }
    } put_back{stats, {}};
    for (int i = 0; i < stats.weaponCount; ++i) {
        const WeaponStats& slot = stats.weapons[i];
        if (slot.styleName == kRangeStyle && !slot.hits.empty()) {
            put_back.kept.push_back({i, slot.hits, slot.modifiers, slot.preciseShots, slot.preciseModifiers});
        }
    }
    write_analysis_page(stats, log_name, target, sink);
}

}  // namespace korvanel
