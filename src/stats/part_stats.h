// The statistics record of one log part: everything the recognisers learn
// from the part's lines, everything its page shows, and the pending state
// that links one line to the next (current weapon, style, spell, monster,
// flags and last-seen times). Recognisers keep no state of their own.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "stats/slot_hints.h"
#include "stats/timeline.h"
#include "stats/value_series.h"
#include "text/bounded_text.h"

namespace korvanel {

// A table that grows with the log and whose slots exist before they are
// first used: what is credited to a slot before it is created (slot 0
// before the first weapon, monster or item) is kept there. Slots live in
// chunks that are never moved (16 slots, then 32, 64 and so on, each chunk
// twice the one before), so references to slots stay valid while the table
// grows.
template <class T>
class SlotTable {
public:
    T& operator[](int i) {
        const auto at = checked(i);
        return at < touched_ ? locate(at) : touch(at);
    }
    const T& operator[](int i) const {
        static const T untouched{};
        const auto at = checked(i);
        return at < touched_ ? locate(at) : untouched;
    }

    // Equal when every slot is, untouched slots counting as fresh ones.
    bool operator==(const SlotTable& other) const {
        const std::size_t n = std::max(touched_, other.touched_);
        for (std::size_t i = 0; i < n; ++i) {
            if (!((*this)[static_cast<int>(i)] == other[static_cast<int>(i)])) return false;
        }
        return true;
    }

private:
    static constexpr std::size_t kFirstChunk = 16;
    // Enough chunks for every index an int can hold.
    static constexpr std::size_t kChunks = 28;

    // Chunk k holds the slots from 16 * (2^k - 1) on.
    static std::size_t chunk_of(std::size_t at) {
        return static_cast<std::size_t>(std::bit_width(at / kFirstChunk + 1)) - 1;
    }
    static std::size_t chunk_start(std::size_t chunk) { return kFirstChunk * ((std::size_t{1} << chunk) - 1); }

    T& locate(std::size_t at) const {
        const std::size_t chunk = chunk_of(at);
        return chunks_[chunk][at - chunk_start(chunk)];
    }
    // Takes the chunks up to the one of slot `at`, on the first touch of a slot there.
    [[gnu::noinline]] T& touch(std::size_t at) {
        const std::size_t last = chunk_of(at);
        for (std::size_t chunk = chunk_of(touched_); chunk <= last; ++chunk) {
            if (!chunks_[chunk]) chunks_[chunk] = std::make_unique<T[]>(kFirstChunk << chunk);
        }
        touched_ = chunk_start(last + 1);
        return locate(at);
    }
    static std::size_t checked(int i) {
        if (i < 0) std::abort();
        return static_cast<std::size_t>(i);
    }

    std::array<std::unique_ptr<T[]>, kChunks> chunks_{};
    std::size_t touched_ = 0;  // slots in the chunks taken
};

// Name bounds of the fields cut from lines.
using WeaponName = BoundedText<59>;
using StyleName = BoundedText<49>;
using SpellName = BoundedText<99>;
using Name49 = BoundedText<49>;

// One slot per pair (weapon name, style name); styles include the
// pseudo-styles "Sans style", "Range" and "Multiple".
struct WeaponStats {
    ValueSeries hits, criticals, preciseShots, swingIntervals;
    std::int32_t misses = 0, stylesFailed = 0, fumbles = 0, evaded = 0, parried = 0, blocked = 0, absorbed = 0;
    ValueSeries procs, styleBonuses, modifiers, preciseModifiers;
    WeaponName weaponName;
    StyleName styleName;

    bool operator==(const WeaponStats&) const = default;
};

// For every style, the weapon of the last hit made with it.
struct StyleLink {
    WeaponName weaponName;
    StyleName styleName;

    bool operator==(const StyleLink&) const = default;
};

// One slot per spell name; offensive spells, heals and other spells share the table.
struct SpellStats {
    ValueSeries amounts;
    // 0 nothing recorded by a hit line; 1 damage from "Vous frappez et
    // infligez"; 2 heal; 3 damage from "Vous touchez" in the cast second.
    std::int32_t spellKind = 0;
    ValueSeries spellCriticals, castDelays, cappedHeals;
    std::int32_t spellMisses = 0, spellResists = 0, casts = 0;
    ValueSeries spellModifiers;
    SpellName name;

    bool operator==(const SpellStats&) const = default;
};

struct CraftStats {
    Name49 name;
    ValueSeries qualities;
    std::int32_t failedNoLoss = 0, failedWithLoss = 0;
    std::vector<std::int32_t> skillGains;  // parallel to skillNames
    std::vector<Name49> skillNames;        // skillCount entries
    std::int32_t skillCount = 0;

    bool operator==(const CraftStats&) const = default;
};

struct MonsterStats {
    Name49 name;
    std::int32_t xp = 0, bonusXp = 0, groupXp = 0, strongXp = 0;
    std::int32_t xpBillions = 0, bonusXpBillions = 0, groupXpBillions = 0, strongXpBillions = 0;
    std::int32_t money = 0;  // copper pieces
    std::vector<Name49> lootNames;  // lootCount entries in use
    std::int32_t lootCount = 0;
    std::vector<std::int32_t> lootQuantities;  // parallel to lootNames
    std::int32_t kills = 0;

    bool operator==(const MonsterStats&) const = default;
};

// One entry per realm-point award.
struct RealmKill {
    Name49 victim;
    bool victimByPlayer = false;  // the player dealt the killing blow: shown in bold
    std::int32_t realmPoints = 0, bounty = 0, xp = 0;

    bool operator==(const RealmKill&) const = default;
};

struct KillerStats {
    Name49 name;
    std::int32_t deaths = 0;

    bool operator==(const KillerStats&) const = default;
};

// Incoming damage types ("Vous encaissez" is credited to the type the line
// before it left) and the kinds of damage dealt besides plain hits.
inline constexpr int kIncomingTypes = 8;
inline constexpr int kDealtTypes = 6;

struct PartStats {
    // weapons and styles
    std::int32_t castingFlag = 0;
    WeaponName currentWeapon{"Inconnue"};
    SlotTable<WeaponStats> weapons;
    std::int32_t weaponCount = 0;
    std::int32_t unstyledFlag = 1;
    std::int32_t styleDoneFlag = 0;
    std::int32_t currentSlot = 0;
    StyleName currentStyle;
    std::int32_t styleLinkCount = 0;
    SlotTable<StyleLink> styleLinks;
    SlotHints weaponHints;     // by weapon and style name
    NameIndex styleLinkIndex;  // every link, by style name
    // multiple attacks
    std::int32_t lastAttackTime = 0, oneSecondLater = 0, secondBlowSeen = 0, thirdBlowSeen = 0;
    std::int32_t tripleCount = 0, quadrupleCount = 0, meleeHitSeen = 0;
    // spells
    SlotTable<SpellStats> spells;
    std::int32_t currentSpell = 0;
    std::int32_t spellCount = 0;
    std::int32_t castTime = 0;  // minutes * 100 + seconds
    Name49 lastHealTarget{"Inconnu"};
    // swing and shot timing
    std::int32_t lastSwingSecond = 0, swingTracking = 0;
    std::int32_t lastShotSecond = 0, shotTracking = 0, autoFire = 0;
    std::int32_t incantationStart = -1;
    // defense
    ValueSeries monsterHits;
    std::int32_t enemyMissed = 0, blockedByPlayer = 0, parriedByPlayer = 0, evadedByPlayer = 0;
    std::int32_t absorbedByBarrier = 0, guardedFor = 0;
    std::int32_t effectsResisted = 0;
    std::int32_t barrierPierced = 0;
    std::int32_t incomingType = 7;
    std::array<ValueSeries, kIncomingTypes> receivedByType;
    // crafting
    SlotTable<CraftStats> crafts;
    std::int32_t craftCount = 0;
    std::int32_t currentCraft = 0;
    // damage dealt by type: 0 poison, 1 damage add, 2 damage shield,
    // 3 bleeding, 4 acid, 5 disease
    std::array<ValueSeries, kDealtTypes> dealtByType;
    std::int32_t pendingDotKind = 1;
    std::int32_t berserk = 0;
    std::int32_t interposedFlag = 0;
    // kills, deaths and rewards
    Name49 killerName{"Inconnu"};
    std::int32_t duelEndStamp = -1;
    std::int32_t monsterDiedFlag = 0;
    SlotTable<MonsterStats> monsters;
    NameIndex monsterIndex;    // every monster, by name
    SlotTable<RealmKill> realmKills;
    std::int32_t lastVictimStamp = -1;
    std::int32_t playerKillFlag = 0;
    std::int32_t monsterCount = 0;
    std::int32_t currentMonster = 0;
    Name49 lastVictimName{"Inconnu"};
    bool lastVictimByPlayer = false;  // the bold mark of lastVictimName
    std::int32_t realmKillLast = -1;
    std::int32_t lootOpenFlag = 0;
    SlotTable<KillerStats> killers;
    std::int32_t killerCount = 0;
    // every damage, heal, kill and death of the part, by second and fight
    Timeline timeline;

    bool operator==(const PartStats&) const = default;
};

// A fresh record; a failed allocation ends the run with "memoire insuffisante".
std::unique_ptr<PartStats> new_part_stats();

}  // namespace korvanel
