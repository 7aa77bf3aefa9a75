#pragma once
// What a target is worth to a computer hero, and the roles that weight fights against pickups.
#include <cstdint>

#include "ai/ai_map_model.h"
#include "ai/ai_records.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Worth of the object to the hero in gold units; `percent` gets the hero's win chance of the fight in
// percent, 100 when no fight is involved.
int32_t ValueOfEventAtPosition(const GameState& state, const GameMap& map, int hero, int player,
                               const AIMapObject& object, int32_t& percent);
// Ranks the player's live heroes by strength: 1 (or 2) for the strongest, 3 and 4 for the weakest.
void assign_hero_roles(AIContext& context, const GameState& state, int player);
double role_value_multiplier(int role, int type);

}  // namespace vorn1
