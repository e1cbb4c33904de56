// Crafting: the item being made, how each attempt ended and the crafting
// skills that improved while making it. Everything is credited to the item
// of the last start line; results seen before the first start line stay in
// slot 0 and go to the first item started.
#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kStart = latin1("Vous commencez le travail sur ");
constexpr auto kSuccess = latin1("Vous avez réussi votre confection. Vous avez désormais ");
constexpr auto kFailure = latin1("Vous ne réussissez pas à confectionner");
constexpr auto kNoLoss = latin1("mais ne perdez aucun matériau !");
constexpr auto kWithLoss = latin1("et perdez une partie des matériaux !");
constexpr auto kSkillGain = latin1("Vous devenez plus doué en ");

constexpr std::size_t kItemColumn = kMessageColumn + kStart.size();
constexpr std::size_t kSkillColumn = kMessageColumn + kSkillGain.size();

// The text from `from` up to the first `end` of the whole line; a line
// without `end` cannot be cut and ends the run.
std::string_view cut_name(const LogLine& line, std::size_t from, std::string_view end) {
    const std::size_t at = line.find(end);
    if (at == kNotFound) fatal_error("", line.text());
    return cut_to(line.slice(from, at), Name49::capacity);
}

void start_item(const LogLine& line, PartStats& stats) {
    const std::string_view name = cut_name(line, kItemColumn, ".");
    int slot = 0;
    while (slot < stats.craftCount && !(stats.crafts[slot].name == name)) ++slot;
    if (slot == stats.craftCount) {
        stats.crafts[slot].name = name;
        ++stats.craftCount;
    }
    stats.currentCraft = slot;
}

void gain_skill(const LogLine& line, PartStats& stats) {
    const std::string_view skill = cut_name(line, kSkillColumn, "!");
    CraftStats& craft = stats.crafts[stats.currentCraft];
    int entry = 0;
    while (entry < craft.skillCount && !(craft.skillNames[static_cast<std::size_t>(entry)] == skill)) ++entry;
    if (entry == craft.skillCount) {
        craft.skillNames.emplace_back(skill);
        craft.skillGains.push_back(0);
        ++craft.skillCount;
    }
    ++craft.skillGains[static_cast<std::size_t>(entry)];
}
}  // namespace

void recognise_crafting(const LogLine& line, PartStats& stats) {
    if (line.message_starts_with(kStart)) {
        start_item(line, stats);
    } else if (line.message_starts_with(kSuccess)) {
        push_value(stats.crafts[stats.currentCraft].qualities, line.message_number());
    } else if (line.message_starts_with(kFailure)) {
        CraftStats& craft = stats.crafts[stats.currentCraft];
        if (line.contains(kNoLoss)) ++craft.failedNoLoss;
        if (line.contains(kWithLoss)) ++craft.failedWithLoss;
    } else if (line.message_starts_with(kSkillGain)) {
        gain_skill(line, stats);
    }
}

namespace {
// The texts without which the recogniser leaves a line alone.
constexpr std::string_view kCraftingTextList[] = {kStart, kSuccess, kFailure, kSkillGain};
}  // namespace
const TextList kCraftingTexts = kCraftingTextList;

}  // namespace korvanel
