#pragma once
// What a route from a hero to a target costs, and whether wandering monsters stand beside it.
#include "ai/ai_records.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Another owner's hero stands on the goal: the route ends on its tile (an attack), which no step may
// otherwise enter. A tile held by the player's own hero stays closed, as it is to the walk.
bool ai_goal_held_by_foe(const GameMap& map, const GameState& state, int player, int x, int y);
// Movement points of the whole route; -1.0 when there is none.
double route_cost_mp(const GameMap& map, const GameState& state, int hero, int tx, int ty);
bool route_crosses_monster_zoc(const GameMap& map, const GameState& state, int hero, const AIMapObject& target);
// Some live stack beside the route (other than the target monster itself) beats the hero.
bool route_blocked_by_unbeatable_monster(const GameMap& map, const GameState& state, int hero,
                                         const AIMapObject& target);

}  // namespace vorn1
