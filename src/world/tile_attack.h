#pragma once
// What a hero attacking a tile fights there. The battle screen's launcher, a human's walk and the
// computer player's prediction and settlement all go by this one rule.
#include <array>
#include <cstdint>

#include "world/game_state.h"

namespace vorn1 {

enum class AttackForm : uint8_t {
    None,      // nobody of another owner defends the tile
    Hero,      // a foe's hero with its own army, in the field: in the open or in a town without walls
    Siege,     // a castle: walls, keep, the garrison and any foe's hero inside
    Garrison,  // a town without walls and without a hero, or a guard record alone: its stacks alone
};

struct TileAttack {
    AttackForm form = AttackForm::None;
    int town = -1;   // the town whose battle it is (Siege, Garrison)
    int hero = -1;   // the foe's hero who fights (Hero; Siege when one is inside)
    int guard = -1;  // the guard record that is the garrison, -1 the town's own garrison
};

// A hero of `attacker_owner` attacking (x, y). A town of the attacker's owner is no town to attack: a foe's
// hero standing in it is met in the field.
TileAttack attack_on_tile(const GameState& state, int attacker_owner, int x, int y);

// The garrison that fights in a siege or a garrison battle: the guard record's stacks, else the town's own
// garrison; empty slots for the other forms. Counts as the records hold them, negatives as 0.
struct GarrisonStacks {
    std::array<uint8_t, ARMY_SLOTS> ids{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    std::array<int32_t, ARMY_SLOTS> counts{};
};
GarrisonStacks attack_garrison(const GameState& state, const TileAttack& attack);

}  // namespace vorn1
