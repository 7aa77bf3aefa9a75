#pragma once
// The computer player's per-turn variables, resource prices and a hero's daily movement points.
#include <array>
#include <vector>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Refreshes the player's AIPlayerVars at the start of its turn.
void compute_turn_ai_vars(GameState& state, int player);
// Worth in gold of one unit of wood, mercury, ore, sulfur, crystal and gems, then the gold factor.
void compute_turn_cost_resource(const GameState& state, int player, std::array<float, 7>& out);
// mp_max of one hero from its army, artifacts, ground and the lighthouse; mp_left is left alone.
void refresh_hero_max_mp(const GameState& state, const GameMap& map, std::vector<int>& mp_max, int hero);

}  // namespace vorn1
