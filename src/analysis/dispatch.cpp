#include "analysis/dispatch.h"

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "analysis/first_look.h"
#include "analysis/recognisers.h"
#include "text/latin1.h"

namespace korvanel {

namespace {
using Recogniser = void (*)(const LogLine&, PartStats&);

struct Step {
    Recogniser run;
    // The step runs on a line that holds one of these texts...
    std::initializer_list<const TextList*> texts;
    // ...and on any other line only does this (when given).
    void (*otherwise)(PartStats&) = nullptr;
};

// The order is part of the behaviour: a recogniser sees what the ones before
// it have just done on the same line.
const Step kSteps[] = {
    {recognise_critical, {&kCriticalTexts}},                   // criticals, berserk, damage-over-time success
    {recognise_received_damage, {&kReceivedDamageTexts}},      // "Vous encaissez", by the type the previous line left
    {recognise_incoming_type, {&kIncomingTypeTexts}, reset_incoming_type},  // the type, reset on every line
    {recognise_announcement, {&kAnnouncementTexts}},           // weapon, style, spell and shot announcements
    {recognise_multiple_attack, {&kMultipleAttackTexts}},      // several blows in one second
    {recognise_hit, {&kHitTexts}},                             // melee and ranged hits, procs, "Vous touchez"
    {recognise_heal, {&kHealTexts}},                           // heals in the cast second
    {recognise_miss, {&kMissTexts}},                           // misses and blows absorbed by a barrier
    {recognise_fumble, {&kFumbleTexts}},                       // "Vous ratez lamentablement"
    {recognise_evade, {&kEvadeTexts}},                         // "esquive votre attaque"
    {recognise_parry, {&kParryTexts}},                         // "pare votre attaque"
    {recognise_block, {&kBlockTexts}},                         // "bloque votre attaque"
    {recognise_monster_hit, {&kMonsterHitTexts}},              // blows received
    {recognise_avoidance, {&kAvoidanceTexts}},                 // attacks on the player that failed
    {recognise_resist, {&kResistTexts}},                       // resisted spells and procs
    {recognise_damage_add, {&kDamageAddTexts}},                // "subit": damage adds and damage shields
    {recognise_swing_timer, {&kSwingTimerTexts}},              // interval between melee blows
    {recognise_shot_timer, {&kShotTimerTexts}},                // interval between announced shots
    {recognise_incantation, {&kIncantationTexts}},             // casting time
    {recognise_crafting, {&kCraftingTexts}},                   // crafted items and skill gains
    {on_monster_death_group,                                   // monster death, experience, realm points, money, loot
     {&kMonsterDeathTexts, &kExperienceTexts, &kRealmPointTexts, &kMoneyTexts, &kLootTexts}},
    {record_player_death, {&kPlayerDeathTexts}},               // the player's deaths, duels
    {record_killer_name, {&kKillerNameTexts}},                 // who killed someone
    {record_victim, {&kVictimTexts}},                          // the player's victims
};
constexpr int kStepCount = static_cast<int>(std::size(kSteps));
static_assert(kStepCount <= kFirstLookSteps, "one bit per step");

// The texts the recognisers search for anywhere in lines where they are
// mostly absent: each gets a bit of its own in the first look, so that the
// search of a line without it is answered at once (LogLine::find). Texts
// that begin alike share their bit. A text missing here is only searched.
constexpr auto kSearched0 = latin1("trop loin pour une attaque");
constexpr auto kSearched1 = latin1("n'est pas en vue ");
constexpr auto kSearched2 = latin1("est victime d'un empoisonnement !");
constexpr auto kSearched3 = latin1("saigne !");
constexpr auto kSearched4 = latin1("voit sa peau se couvrir de plaies ouvertes !");
constexpr auto kSearched5 = latin1("déferlement d'énergies magiques");
constexpr auto kSearched6 = latin1("s'avance devant vous et encaisse le coup !");
constexpr auto kSearched7 = latin1("Vous passez en mode combat");
constexpr auto kSearched8 = latin1("bloque votre attaque");
constexpr auto kSearched9 = latin1("esquive votre attaque");
constexpr auto kSearched10 = latin1("pare votre attaque");
constexpr auto kSearched11 = latin1("vous attaque, vous empêchant de poursuivre votre incantation !");
constexpr auto kSearched12 = latin1("interrompant votre tir");
constexpr auto kSearched13 = latin1("rate son coup");
constexpr auto kSearched14 = latin1("vous attaque, mais vous esquivez");  // and "..., mais vous parez", "..., mais vous bloquez"
constexpr auto kSearched15 = latin1("vous protège de l'attaque lancée par");
constexpr auto kSearched16 = latin1("meurt !");
constexpr auto kSearched17 = latin1("n'a plus besoin de soins.");
constexpr auto kSearched18 = latin1("laisse ");
constexpr auto kSearched19 = latin1("vous attaque avec son arme");
constexpr auto kSearched20 = latin1("lance un sort");
constexpr auto kSearched21 = latin1("vous tire avec son arme");
constexpr auto kSearched22 = latin1("Vous êtes victime d'un empoisonnement");  // and "... d'un poison violent"
constexpr auto kSearched23 = latin1("vous inflige");
constexpr std::string_view kSearchedTexts[] = {
    kSearched0, kSearched1, kSearched2, kSearched3, kSearched4, kSearched5, kSearched6, kSearched7, kSearched8, kSearched9, kSearched10, kSearched11, kSearched12, kSearched13, kSearched14, kSearched15, kSearched16, kSearched17, kSearched18, kSearched19, kSearched20, kSearched21, kSearched22, kSearched23};
static_assert(std::size(kSearchedTexts) <= TextScanner::kMaskBits - kFirstLookSteps, "one bit per searched text");

// A longer text is looked for by its beginning: a line that holds the text
// holds its beginning too.
constexpr std::size_t kLookedForLength = 16;

// A searched text by its beginning: the length and the bytes of the first
// kLookedForLength (in two words that may overlap).
struct TextKey {
    std::uint64_t head = 0, tail = 0;
    std::size_t length = 0;
};

// Texts shorter than this are not among the searched texts.
constexpr std::size_t kShortestSearched = 7;

inline std::uint64_t load_word(const char* at, std::size_t bytes) {
    std::uint64_t word = 0;
    std::memcpy(&word, at, bytes);
    return word;
}

// The key of a text of at least kShortestSearched bytes.
inline TextKey key_of(std::string_view text) {
    const char* const at = text.data();
    if (text.size() >= kLookedForLength) return {load_word(at, 8), load_word(at + 8, 8), kLookedForLength};
    if (text.size() >= 8) return {load_word(at, 8), load_word(at + text.size() - 8, 8), text.size()};
    return {load_word(at, 4) | load_word(at + text.size() - 4, 4) << 32, 0, text.size()};
}

// The bits of the searched texts, found by their beginnings.
class SearchedTexts {
public:
    SearchedTexts() {
        for (std::size_t i = 0; i < std::size(kSearchedTexts); ++i) {
            if (kSearchedTexts[i].size() < kShortestSearched) std::abort();
            const TextKey key = key_of(kSearchedTexts[i]);
            std::size_t slot = slot_of(key);
            while (slots_[slot].bit != 0 && !same(slots_[slot], key)) slot = (slot + 1) % kSlots;
            if (slots_[slot].bit == 0) slots_[slot] = {key, std::uint64_t{1} << (kFirstLookSteps + i)};
        }
    }

    // The bit of a searched text that `text` begins with, or 0.
    std::uint64_t bit_of(std::string_view text) const {
        if (text.size() < kShortestSearched) return 0;
        const TextKey key = key_of(text);
        for (std::size_t slot = slot_of(key);; slot = (slot + 1) % kSlots) {
            const Slot& entry = slots_[slot];
            if (entry.bit == 0 || same(entry, key)) return entry.bit;
        }
    }

private:
    static constexpr std::size_t kSlots = 64;  // well over the texts, so that probes stay short
    struct Slot {
        TextKey key;
        std::uint64_t bit = 0;
    };
    static bool same(const Slot& slot, const TextKey& key) {
        return slot.key.head == key.head && slot.key.tail == key.tail && slot.key.length == key.length;
    }
    static std::size_t slot_of(const TextKey& key) {
        return static_cast<std::size_t>(((key.head ^ key.tail) + key.length) * 0x9E3779B97F4A7C15ULL >> 58);
    }
    Slot slots_[kSlots];
};

const SearchedTexts kSearchedTable;

const SearchedTexts& searched_texts() { return kSearchedTable; }

const TextScanner& first_look() {
    static const TextScanner scanner = [] {
        std::vector<std::pair<std::string_view, std::uint64_t>> texts;
        for (int step = 0; step < kStepCount; ++step) {
            for (const TextList* list : kSteps[step].texts) {
                for (std::string_view text : *list) {
                    texts.emplace_back(text.substr(0, kLookedForLength), std::uint64_t{1} << step);
                }
            }
        }
        for (std::string_view text : kSearchedTexts) {
            texts.emplace_back(text.substr(0, kLookedForLength), searched_texts().bit_of(text));
        }
        return TextScanner(texts);
    }();
    return scanner;
}
}  // namespace

bool first_look_may_hold(std::uint64_t look, std::string_view text) {
    const std::uint64_t bit = searched_texts().bit_of(text);
    return bit == 0 || (look & bit) != 0;
}

// The steps that do something even on a line without their texts.
std::uint32_t steps_with_otherwise() {
    std::uint32_t steps = 0;
    for (int step = 0; step < kStepCount; ++step) {
        if (kSteps[step].otherwise != nullptr) steps |= std::uint32_t{1} << step;
    }
    return steps;
}

std::uint64_t first_look_at(std::string_view text) { return first_look().scan(text); }

void first_look_at(const std::string_view* texts, std::uint64_t* looks, std::size_t count) {
    first_look().scan_many(texts, looks, count);
}

void dispatch_line(const LogLine& line, PartStats& stats) {
    static const std::uint32_t kOtherwise = steps_with_otherwise();
    const std::uint64_t look = line.has_first_look() ? line.first_look() : first_look().scan(line.text());
    const auto wanted = static_cast<std::uint32_t>(look & ((std::uint64_t{1} << kFirstLookSteps) - 1));
    // Only the steps concerned, lowest (earliest) first.
    for (std::uint32_t pending = wanted | kOtherwise; pending != 0; pending &= pending - 1) {
        const int step = std::countr_zero(pending);
        if ((wanted >> step) & 1U) {
            kSteps[step].run(line, stats);
        } else {
            kSteps[step].otherwise(stats);
        }
    }
}

void dispatch_line_unfiltered(const LogLine& line, PartStats& stats) {
    for (const Step& step : kSteps) step.run(line, stats);
}

}  // namespace korvanel
