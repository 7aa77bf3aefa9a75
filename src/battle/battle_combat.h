#pragma once
// Tables and small helpers of the battle's blows, shared by the battle rules and their tests.
#include <array>
#include <cstdint>

#include "battle/battle_types.h"

namespace vorn1 {

// Hit effect drawn on a struck stack.
enum DamageAnimKind : uint8_t { DMG_PHYSICAL = 0, DMG_BLUEFIRE = 1, DMG_REDFIRE = 2, DMG_ELECTRIC = 3, DMG_CLOUD = 4 };

constexpr uint8_t kHydra = 22;

// Damage factor by attack minus defence clamped to -20..20 (index = difference + 20).
extern const std::array<float, 41> BATTLE_STAT_CURVE;
extern const std::array<uint8_t, 6> SHOOTER_CREATURES;
extern const std::array<uint8_t, 3> BREATH_CREATURES;

uint8_t hit_effect_by_attacker(uint8_t creature);
bool is_shooter_creature(uint8_t id);
bool is_breath_creature(uint8_t id);
// Direction 0..5 that leads from (r1, c1) to its neighbour (r2, c2); -1 when they are not neighbours.
int hex_dir_between(int r1, int c1, int r2, int c2);
// Whether a blow from (r1, c1) at (r2, c2) points against the stack's facing (side 0 faces right).
bool is_backward_attack_rc(const BattleUnit& u, int r1, int c1, int r2, int c2);
bool is_backward_attack_from(const BattleUnit& u, int c1, int r2, int c2);
bool is_backward_attack(const BattleUnit& u, int r2, int c2);
// Hit points of one creature (at least 1).
int creature_hp(uint8_t id);
// Last wince frame of a struck stack: 9 killed, 3 lost creatures, -1 none lost.
int reaction_frames(bool killed, int count_before, int count_now);

}  // namespace vorn1
