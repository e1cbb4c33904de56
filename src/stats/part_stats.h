// The statistics record of one log part: everything the recognisers learn
// from the part's lines, everything its page shows, and the pending state
// that links one line to the next (current weapon, style, spell, monster,
// flags and last-seen times). Recognisers keep no state of their own.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "stats/slot_hints.h"
#include "stats/timeline.h"
#include "stats/value_series.h"
#include "text/bounded_text.h"

namespace korvanel {

// A table of fixed capacity whose slots exist before they are first used:
// what is credited to a slot before it is created (slot 0 before the first
// weapon, monster or item) is kept there. Storage is taken on first touch,
// all at once, so references to slots stay valid while later slots are touched.
template <class T, int Capacity>
class SlotTable {
public:
    static constexpr int capacity = Capacity;

    T& operator[](int i) {
        const auto at = checked(i);
        return at < slots_.size() ? slots_[at] : touch(at);
    }
    const T& operator[](int i) const {
        static const T untouched{};
        const auto at = checked(i);
        return at < slots_.size() ? slots_[at] : untouched;
    }

    // Equal when every slot is, untouched slots counting as fresh ones.
    bool operator==(const SlotTable& other) const {
        const std::size_t n = std::max(slots_.size(), other.slots_.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (!((*this)[static_cast<int>(i)] == other[static_cast<int>(i)])) return false;
        }
        return true;
    }

private:
    // Takes the storage up to slot `at`, on the first touch of a slot.
    [[gnu::noinline]] T& touch(std::size_t at) {
        if (slots_.capacity() == 0) slots_.reserve(Capacity);  // never moves afterwards
        slots_.resize(at + 1);
        return slots_[at];
    }
    static std::size_t checked(int i) {
        if (i < 0 || i >= Capacity) std::abort();
        return static_cast<std::size_t>(i);
    }

    std::vector<T> slots_;
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
    static constexpr int kMaxSkills = 10;
    Name49 name;
    ValueSeries qualities;
    std::int32_t failedNoLoss = 0, failedWithLoss = 0;
    std::array<std::int32_t, kMaxSkills> skillGains{};
    std::array<Name49, kMaxSkills> skillNames{};
    std::int32_t skillCount = 0;

    bool operator==(const CraftStats&) const = default;
};

struct MonsterStats {
    static constexpr int kMaxLoots = 100;
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
    SlotTable<WeaponStats, 100> weapons;
    std::int32_t weaponCount = 0;
    std::int32_t unstyledFlag = 1;
    std::int32_t styleDoneFlag = 0;
    std::int32_t currentSlot = 0;
    StyleName currentStyle;
    std::int32_t styleLinkCount = 0;
    SlotTable<StyleLink, 100> styleLinks;
    SlotHints<256> weaponHints;     // by weapon and style name
    NameIndex<256> styleLinkIndex;  // every link, by style name
    // multiple attacks
    std::int32_t lastAttackTime = 0, oneSecondLater = 0, secondBlowSeen = 0, thirdBlowSeen = 0;
    std::int32_t tripleCount = 0, quadrupleCount = 0, meleeHitSeen = 0;
    // spells
    SlotTable<SpellStats, 80> spells;
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
    SlotTable<CraftStats, 200> crafts;
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
    SlotTable<MonsterStats, 500> monsters;
    NameIndex<1024> monsterIndex;  // every monster, by name
    SlotTable<RealmKill, 5000> realmKills;
    std::int32_t lastVictimStamp = -1;
    std::int32_t playerKillFlag = 0;
    std::int32_t monsterCount = 0;
    std::int32_t currentMonster = 0;
    Name49 lastVictimName{"Inconnu"};
    bool lastVictimByPlayer = false;  // the bold mark of lastVictimName
    std::int32_t realmKillLast = -1;
    std::int32_t lootOpenFlag = 0;
    SlotTable<KillerStats, 1000> killers;
    std::int32_t killerCount = 0;
    // every damage, heal, kill and death of the part, by second and fight
    Timeline timeline;

    bool operator==(const PartStats&) const = default;
};

// A fresh record; a failed allocation ends the run with "memoire insuffisante".
std::unique_ptr<PartStats> new_part_stats();

}  // namespace korvanel
