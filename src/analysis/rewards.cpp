// Experience, realm points and bounty. Experience right after a monster's
// death is that monster's; otherwise it goes to the last realm-point award
// of the hunting table, which also collects additional realm points and
// bounty.
#include "analysis/rewards.h"

#include <algorithm>

#include "analysis/events.h"
#include "analysis/recognisers.h"
#include "diag/messages.h"
#include "stats/carried_total.h"
#include "text/int32.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
constexpr auto kExperienceStart = latin1("Vous recevez ");
constexpr auto kExperience = latin1(" points d'expérience");
constexpr auto kBonus = latin1("bonus");
constexpr auto kGroup = latin1("groupe");
constexpr auto kStrong = latin1("fort");
constexpr auto kRealmStart = latin1("Vous gagnez");
constexpr auto kRealmPoint = latin1("realm point!");
constexpr auto kRealmPoints = latin1("realm points!");
constexpr auto kAdditionalRealmPoints = latin1("points de royaume supplémentaires !");
constexpr auto kBounty = latin1("Prime de Royaume!");
constexpr auto kBounties = latin1("Primes de Royaume!");
constexpr auto kUnknown = latin1("Inconnu");

// One experience part "bonus", "groupe" or "fort": its amount runs from the
// word to the next ")".
void add_experience_part(const LogLine& line, std::string_view word, std::int32_t& total, std::int32_t& billions) {
    const std::size_t at = line.find(word);
    if (at == kNotFound) return;
    const std::size_t close = line.find(")", at);
    if (close == kNotFound) fatal_error("", line.text());
    add_with_carry(total, billions, read_grouped_amount(line.text(), at, close));
}

RealmKill* last_realm_kill(PartStats& stats) {
    return stats.realmKillLast < 0 ? nullptr : &stats.realmKills[stats.realmKillLast];
}
}  // namespace

std::int32_t read_grouped_amount(std::string_view text, std::size_t start, std::size_t limit) {
    std::int32_t amount = 0;
    std::size_t cursor = start;
    for (;;) {
        amount = add32(mul32(amount, 1000), read_number(text, cursor));
        const std::size_t dot = text.find('.', cursor);
        if (dot == std::string_view::npos || dot + 1 > limit) return amount;
        cursor = dot + 1;
    }
}

std::int32_t read_thousands(std::string_view text, std::size_t start) {
    auto is_digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    std::size_t i = start;
    while (i < text.size() && !is_digit(i)) ++i;
    std::int64_t value = 0;
    for (;;) {
        for (; is_digit(i); ++i) value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), 2147483647);
        const bool group_follows = i < text.size() && text[i] == '.' && is_digit(i + 1) && is_digit(i + 2) &&
                                   is_digit(i + 3) && !is_digit(i + 4);
        if (!group_follows) return static_cast<std::int32_t>(value);
        ++i;
    }
}

void record_experience(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kExperienceStart)) return;
    const std::size_t words_at = line.find_in_message(kExperience);
    if (words_at == kNotFound) return;
    const std::int32_t base = read_grouped_amount(line.text(), kMessageColumn + kExperienceStart.size(), words_at);

    // The extra parts always go to the current monster.
    MonsterStats& monster = stats.monsters[stats.currentMonster];
    add_experience_part(line, kBonus, monster.bonusXp, monster.bonusXpBillions);
    add_experience_part(line, kGroup, monster.groupXp, monster.groupXpBillions);
    add_experience_part(line, kStrong, monster.strongXp, monster.strongXpBillions);

    if (stats.monsterDiedFlag == 1) {
        stats.lootOpenFlag = 1;
        ++monster.kills;
        add_with_carry(monster.xp, monster.xpBillions, base);
    } else if (RealmKill* kill = last_realm_kill(stats)) {
        kill->xp = add32(kill->xp, base);
    }
}

void record_realm_points(const LogLine& line, PartStats& stats) {
    if (!line.message_starts_with(kRealmStart)) return;
    // The victim counts only for an award in the second of its announcement.
    if (line.minute_second() != stats.lastVictimStamp) {
        stats.lastVictimName = kUnknown;
        stats.lastVictimByPlayer = false;
    }
    const std::int32_t amount = read_thousands(line.text(), kMessageColumn);

    const bool additional = line.message_contains(kAdditionalRealmPoints);
    if (additional || line.message_contains(kRealmPoint) || line.message_contains(kRealmPoints)) {
        if (!additional) {
            RealmKill& kill = stats.realmKills[++stats.realmKillLast];
            kill.victim = stats.lastVictimName;
            kill.victimByPlayer = stats.lastVictimByPlayer;
            note_kill(line, stats);
            stats.lastVictimName = kUnknown;
            stats.lastVictimByPlayer = false;
        }
        if (RealmKill* kill = last_realm_kill(stats)) {
            kill->realmPoints = add32(kill->realmPoints, amount);
        }
        stats.monsterDiedFlag = 0;
    }

    if (line.message_contains(kBounty) || line.message_contains(kBounties)) {
        if (RealmKill* kill = last_realm_kill(stats)) kill->bounty = add32(kill->bounty, amount);
    }
}

namespace {
// The texts without which each recogniser leaves a line alone.
constexpr std::string_view kExperienceTextList[] = {kExperienceStart};
constexpr std::string_view kRealmPointTextList[] = {kRealmStart};
}  // namespace
const TextList kExperienceTexts = kExperienceTextList;
const TextList kRealmPointTexts = kRealmPointTextList;

}  // namespace korvanel
