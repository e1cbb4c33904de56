// The deaths around the player: monsters that die near them (the slot that
// collects the experience, money and loot that follow), the player's own
// deaths with their killers, and the victims whose realm points may follow.
#include <cstdlib>
#include <utility>

#include "analysis/events.h"
#include "analysis/recognisers.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kMonsterDies = latin1("meurt !");
constexpr auto kPlayerDied = latin1("Vous êtes mort pour le royaume.");
constexpr auto kDuelOver = latin1("Votre duel est terminé!");
constexpr auto kSomeoneKilled = latin1("vient juste d'être tué dans [");
constexpr auto kKilledBy = latin1("] par ");
constexpr auto kPlayerKilled = latin1("Vous venez de tuer");
constexpr auto kJustDied = latin1("vient de mourir");

// The name that opens the message text and ends one character before
// `marker_at` (the blank in front of the marker); empty when that end does
// not come after column 11.
std::string_view name_before(const LogLine& line, std::size_t marker_at) {
    return line.slice(kMessageColumn, marker_at == 0 ? 0 : marker_at - 1);
}

void charge_death_to(PartStats& stats, const Name49& killer) {
    for (int i = 0; i < stats.killerCount; ++i) {
        if (stats.killers[i].name == killer) {
            ++stats.killers[i].deaths;
            return;
        }
    }
    KillerStats& entry = stats.killers[stats.killerCount++];
    entry.name = killer;
    entry.deaths = 1;
}
}  // namespace

void on_monster_death_group(const LogLine& line, PartStats& stats) {
    record_monster_death(line, stats);
    record_experience(line, stats);
    record_realm_points(line, stats);
    record_money(line, stats);
    // Loot counts only once the dead monster's experience has arrived.
    if (stats.lootOpenFlag == 1) record_loot(line, stats);
}

void record_monster_death(const LogLine& line, PartStats& stats) {
    const std::size_t at = line.find(kMonsterDies);
    if (at == kNotFound) return;
    note_kill(line, stats);
    stats.monsterDiedFlag = 1;
    stats.lootOpenFlag = 0;

    const Name49 name = name_before(line, at);
    // Every monster has a slot of its own, and the index knows them all.
    const std::uint64_t hash = name_hash(name.view());
    const int known =
        stats.monsterIndex.find(hash, [&](int i) { return std::as_const(stats.monsters)[i].name == name; });
    if (known >= 0) {
        stats.currentMonster = known;
        return;
    }
    stats.monsters[stats.monsterCount].name = name;
    stats.monsterIndex.add(hash, stats.monsterCount);
    stats.currentMonster = stats.monsterCount++;
}

void record_player_death(const LogLine& line, PartStats& stats) {
    const std::int32_t stamp = line.minute_second();
    if (line.contains(kPlayerDied)) {
        // A death within a second of the end of a duel is the lost duel, not
        // a death; with no duel ended yet every death counts.
        const bool duel_lost =
            stats.duelEndStamp != -1 && std::llabs(std::int64_t{stamp} - stats.duelEndStamp) <= 1;
        if (!duel_lost) {
            charge_death_to(stats, stats.killerName);
            note_death(line, stats);
        }
    }
    if (line.message_starts_with(kDuelOver)) stats.duelEndStamp = stamp;
}

void record_killer_name(const LogLine& line, PartStats& stats) {
    if (!line.contains(kSomeoneKilled)) return;
    const std::size_t by = line.find(kKilledBy);
    if (by == kNotFound) return;
    const std::size_t start = by + kKilledBy.size();
    const std::size_t bang = line.find("!", start);
    if (bang == kNotFound) return;
    // The blank before the "!" is dropped with it.
    stats.killerName = line.slice(start, bang - 1);
}

void record_victim(const LogLine& line, PartStats& stats) {
    if (line.contains(kPlayerKilled)) stats.playerKillFlag = 1;
    const std::size_t killed_at = line.find(kSomeoneKilled);
    const std::size_t died_at = line.find_in_message(kJustDied);
    if (killed_at == kNotFound && died_at == kNotFound) return;

    bool by_player = false;
    std::string_view victim;
    if (died_at != kNotFound) {
        victim = name_before(line, died_at);
        if (stats.playerKillFlag == 1) {
            by_player = true;
            stats.playerKillFlag = 0;
        }
    } else {
        victim = name_before(line, killed_at);
    }
    stats.lastVictimName = victim;
    stats.lastVictimByPlayer = by_player;
    stats.lastVictimStamp = line.minute_second();
}

namespace {
// The texts without which each recogniser leaves a line alone.
constexpr std::string_view kMonsterDeathTextList[] = {kMonsterDies};
constexpr std::string_view kPlayerDeathTextList[] = {kPlayerDied, kDuelOver};
constexpr std::string_view kKillerNameTextList[] = {kSomeoneKilled};
constexpr std::string_view kVictimTextList[] = {kPlayerKilled, kSomeoneKilled, kJustDied};
}  // namespace
const TextList kMonsterDeathTexts = kMonsterDeathTextList;
const TextList kPlayerDeathTexts = kPlayerDeathTextList;
const TextList kKillerNameTexts = kKillerNameTextList;
const TextList kVictimTexts = kVictimTextList;

}  // namespace korvanel
