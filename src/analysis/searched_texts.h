// The texts the recognisers search for anywhere in a line, in lines where
// they are mostly absent. The first look of a line (dispatch.h) gives each
// of them a bit of its own, so that the search of a line without its text
// is answered at once (LogLine::find). A text is known by its first
// kSearchedPrefix bytes: texts that begin alike share their bit, and a text
// missing here is simply searched.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/latin1.h"

namespace korvanel {

// The first look of a line: one bit per step of the dispatcher below this
// one, one bit per searched text from here on.
inline constexpr int kFirstLookSteps = 24;

namespace searched {
inline constexpr auto kTooFar = latin1("trop loin pour une attaque");
inline constexpr auto kNotInView = latin1("n'est pas en vue ");
inline constexpr auto kPoisoned = latin1("est victime d'un empoisonnement !");
inline constexpr auto kBleeds = latin1("saigne !");
inline constexpr auto kOpenWounds = latin1("voit sa peau se couvrir de plaies ouvertes !");
inline constexpr auto kMagicBurst = latin1("déferlement d'énergies magiques");
inline constexpr auto kInterposed = latin1("s'avance devant vous et encaisse le coup !");
inline constexpr auto kCombatMode = latin1("Vous passez en mode combat");
inline constexpr auto kBlocked = latin1("bloque votre attaque");
inline constexpr auto kEvaded = latin1("esquive votre attaque");
inline constexpr auto kParried = latin1("pare votre attaque");
inline constexpr auto kIncantationInterrupted =
    latin1("vous attaque, vous empêchant de poursuivre votre incantation !");
inline constexpr auto kShotInterruptedBy = latin1("interrompant votre tir");
inline constexpr auto kEnemyMissed = latin1("rate son coup");
// and "vous attaque, mais vous parez", "vous attaque, mais vous bloquez"
inline constexpr auto kAttackAvoided = latin1("vous attaque, mais vous esquivez");
inline constexpr auto kGuarded = latin1("vous protège de l'attaque lancée par");
inline constexpr auto kMonsterDies = latin1("meurt !");
inline constexpr auto kTargetIsFull = latin1("n'a plus besoin de soins.");
inline constexpr auto kLeaves = latin1("laisse ");
inline constexpr auto kWeaponAttack = latin1("vous attaque avec son arme");
inline constexpr auto kSpellCast = latin1("lance un sort");
inline constexpr auto kArrowShot = latin1("vous tire avec son arme");
// and "Vous êtes victime d'un poison violent"
inline constexpr auto kPlayerPoisoned = latin1("Vous êtes victime d'un empoisonnement");
inline constexpr auto kInflicts = latin1("vous inflige");
}  // namespace searched

inline constexpr std::string_view kSearchedTexts[] = {
    searched::kTooFar, searched::kNotInView, searched::kPoisoned, searched::kBleeds, searched::kOpenWounds,
    searched::kMagicBurst, searched::kInterposed, searched::kCombatMode, searched::kBlocked, searched::kEvaded,
    searched::kParried, searched::kIncantationInterrupted, searched::kShotInterruptedBy, searched::kEnemyMissed,
    searched::kAttackAvoided, searched::kGuarded, searched::kMonsterDies, searched::kTargetIsFull, searched::kLeaves,
    searched::kWeaponAttack, searched::kSpellCast, searched::kArrowShot, searched::kPlayerPoisoned,
    searched::kInflicts};

// A longer text is known, and looked for, by its beginning: a line that
// holds the text holds its beginning too.
inline constexpr std::size_t kSearchedPrefix = 16;
// No searched text is shorter.
inline constexpr std::size_t kShortestSearched = 7;

// The beginning of a text of at least kShortestSearched bytes, as its
// length and two words that may overlap.
struct SearchedKey {
    std::uint64_t head = 0, tail = 0;
    std::size_t length = 0;
    friend constexpr bool operator==(const SearchedKey&, const SearchedKey&) = default;
};

namespace searched {
template <std::size_t N>
constexpr std::uint64_t word_at(const char* at) {
    std::array<char, 8> bytes{};
    for (std::size_t i = 0; i < N; ++i) bytes[i] = at[i];
    return std::bit_cast<std::uint64_t>(bytes);
}
}  // namespace searched

constexpr SearchedKey searched_key(std::string_view text) {
    using searched::word_at;
    const char* const at = text.data();
    if (text.size() >= kSearchedPrefix) return {word_at<8>(at), word_at<8>(at + 8), kSearchedPrefix};
    if (text.size() >= 8) return {word_at<8>(at), word_at<8>(at + text.size() - 8), text.size()};
    return {word_at<4>(at) | word_at<4>(at + text.size() - 4) << 32, 0, text.size()};
}

// The bits of the searched texts, by the keys of their beginnings.
class SearchedTable {
public:
    consteval SearchedTable() {
        for (std::size_t i = 0; i < std::size(kSearchedTexts); ++i) {
            if (kSearchedTexts[i].size() < kShortestSearched) throw "searched text too short";
            const SearchedKey key = searched_key(kSearchedTexts[i]);
            std::size_t slot = slot_of(key);
            while (slots_[slot].bit != 0 && !(slots_[slot].key == key)) slot = (slot + 1) % kSlots;
            if (slots_[slot].bit == 0) slots_[slot] = {key, std::uint64_t{1} << (kFirstLookSteps + i)};
        }
    }

    // The bit of the searched text `text` begins with, or 0.
    constexpr std::uint64_t bit_of(std::string_view text) const {
        if (text.size() < kShortestSearched) return 0;
        const SearchedKey key = searched_key(text);
        for (std::size_t slot = slot_of(key);; slot = (slot + 1) % kSlots) {
            if (slots_[slot].bit == 0 || slots_[slot].key == key) return slots_[slot].bit;
        }
    }

private:
    static constexpr std::size_t kSlots = 64;  // well over the texts, so that probes stay short
    struct Slot {
        SearchedKey key;
        std::uint64_t bit = 0;
    };
    static constexpr std::size_t slot_of(const SearchedKey& key) {
        return static_cast<std::size_t>(((key.head ^ key.tail) + key.length) * 0x9E3779B97F4A7C15ULL >> 58);
    }
    std::array<Slot, kSlots> slots_{};
};

inline constexpr SearchedTable kSearchedTable{};

}  // namespace korvanel
