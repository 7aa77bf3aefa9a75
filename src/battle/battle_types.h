#pragma once
// Records shared by every battle rule: stacks, sides, turn entries, end codes, phases and the generator.
#include <array>
#include <cstdint>
#include <string>

#include "world/xorshift.h"

namespace vorn1 {

// One roll in 0..n-1 (n <= 0 gives 0 without stepping the generator).
inline int roll_mod(uint32_t& state, int n) {
    if (n <= 0) return 0;
    return static_cast<int>(xorshift32_next(state) % static_cast<uint32_t>(n));
}

constexpr uint8_t kNoCreature = 255;
constexpr int kBattleRows = 5;
constexpr int kBattleCols = 9;
constexpr int kStacksPerSide = 5;

constexpr std::array<uint8_t, 9> TWO_HEX_CREATURES = {4, 8, 16, 17, 18, 20, 22, 23, 25};

constexpr bool is_two_hex_creature(uint8_t id) {
    for (uint8_t c : TWO_HEX_CREATURES)
        if (c == id) return true;
    return false;
}

struct BattleUnit {
    uint8_t creature = kNoCreature;
    int32_t count = 0;
    int32_t top_hp = 0;
    int32_t row = 0;
    int32_t col = 0;
    uint8_t side = 0;
    uint8_t alive = 1;
    int32_t shots = 0;
    uint8_t retaliated = 0;
    uint8_t spell_status = 255;
    int32_t status_rounds = 0;
    uint8_t disabled = 0;
    uint8_t paralysed = 0;
    uint8_t berserk = 0;
};

// The living-stack rule used by every search over stacks.
inline bool is_living(const BattleUnit& u) {
    return u.creature != kNoCreature && u.alive != 0 && u.count > 0;
}

// Column of a stack's second hex (one column towards its own edge); its own column for one-hex creatures.
inline int tail_col(const BattleUnit& u) {
    if (!is_two_hex_creature(u.creature)) return u.col;
    return u.side == 0 ? u.col - 1 : u.col + 1;
}

struct TurnEntry {
    uint8_t side = 0;
    int32_t slot = 0;
};

enum BattleOutcome : uint8_t {
    OutcomeNone = 0,
    OutcomeAttackerWon = 1,
    OutcomeDefenderWon = 2,
    OutcomeRetreat = 3,
    OutcomeSurrender = 4,
};

enum class ActionPhase : uint8_t {
    Idle = 0,
    Moving,
    MeleeStrike,
    TargetWince,
    Retaliation,
    RetaliationWince,
    Dying,
    SpellCast,
    SpellDamageAnim,
    MassSpellOverlay,
    MassSpellFlash,
    TeleportOut,
    TeleportIn,
    Shot,
    ShotFlight,
    ShotWince,
    GoodLuck,
    BadMorale,
    GoodMorale,
    CatapultThrow,
    BoulderFlight,
    KeepShot,
    SiegeShotDone,
    BadLuck,
};

enum class BattleOverlay : uint8_t {
    None = 0,
    CreatureInfo,
    CreatureView,
    HeroInfo,
    HeroOptions,
    Spellbook,
    Result,
    SurrenderConfirm,
    RetreatConfirm,
};

struct BattleSide {
    int32_t hero = -1;
    uint8_t hero_class = 0;
    uint8_t hero_colour = 0;
    uint8_t portrait = 255;
    uint8_t attack = 0;
    uint8_t defense = 0;
    uint8_t power = 0;
    uint8_t knowledge = 0;
    int8_t morale = 0;
    int8_t luck = 0;
    std::string name;
};

}  // namespace vorn1
