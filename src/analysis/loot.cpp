// Money and loot, charged to the current monster: money whenever it comes,
// loot only once the monster's experience has arrived.
#include <array>

#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kShare = latin1("Votre part du butin se compose de ");
constexpr auto kPickUp = latin1("Vous ramassez");
constexpr auto kGold = latin1("pièces d'or");
constexpr auto kGoldOne = latin1("pièce d'or");
constexpr auto kSilver = latin1("pièces d'argent");
constexpr auto kSilverOne = latin1("pièce d'argent");
constexpr auto kCopper = latin1("pièces de cuivre");
constexpr auto kCopperOne = latin1("pièce de cuivre");
constexpr auto kLeaves = latin1("laisse ");

struct MoneyUnit {
    std::string_view plural, singular;
    std::int32_t copper;
};
constexpr std::array<MoneyUnit, 3> kUnits{{
    {kGold, kGoldOne, 10000},
    {kSilver, kSilverOne, 100},
    {kCopper, kCopperOne, 1},
}};
}  // namespace

void record_money(const LogLine& line, PartStats& stats) {
    std::size_t cursor;
    if (line.message_starts_with(kShare)) {
        cursor = kMessageColumn + kShare.size();
    } else if (line.message_starts_with(kPickUp)) {
        if (line.message_number() == 0) return;  // a pick-up without digits is not money
        cursor = kMessageColumn + kPickUp.size();
    } else {
        return;
    }

    // Each unit, in the singular or the plural, whichever comes first.
    std::int32_t sum = 0;
    for (const MoneyUnit& unit : kUnits) {
        const std::size_t plural_at = line.find(unit.plural, cursor);
        const std::size_t singular_at = line.find(unit.singular, cursor);
        const bool plural_first = plural_at < singular_at;
        const std::size_t at = plural_first ? plural_at : singular_at;
        if (at == kNotFound) continue;
        sum = add32(sum, mul32(line.number_at(cursor), unit.copper));
        cursor = at + (plural_first ? unit.plural.size() : unit.singular.size());
    }
    MonsterStats& monster = stats.monsters[stats.currentMonster];
    monster.money = add32(monster.money, sum);
}

void record_loot(const LogLine& line, PartStats& stats) {
    const std::size_t leaves_at = line.find_in_message(kLeaves);
    if (leaves_at == kNotFound) return;
    const std::size_t start = leaves_at + kLeaves.size();
    const std::size_t end = line.find(".", start);
    if (end == kNotFound) fatal_error("", line.text());
    const Name49 name = line.slice(start, end);

    MonsterStats& monster = stats.monsters[stats.currentMonster];
    int index = 0;
    while (index < monster.lootCount && !(monster.lootNames[static_cast<std::size_t>(index)] == name)) ++index;
    if (index == monster.lootCount) {
        monster.lootNames.push_back(name);
        monster.lootQuantities.push_back(0);
        ++monster.lootCount;
    }
    ++monster.lootQuantities[static_cast<std::size_t>(index)];
}

namespace {
// The texts without which each recogniser leaves a line alone.
constexpr std::string_view kMoneyTextList[] = {kShare, kPickUp};
constexpr std::string_view kLootTextList[] = {kLeaves};
}  // namespace
const TextList kMoneyTexts = kMoneyTextList;
const TextList kLootTexts = kLootTextList;

}  // namespace korvanel
