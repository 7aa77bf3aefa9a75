#pragma once
// Boats under heroes: taking a hero off its boat when the hero leaves the map, and telling whether a
// boat stands on a tile (used when mapping a click to a tile).
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Takes the hero off its boat: the boat leaves the map with the hero (inactive, at -1, -1), the hero's
// map cell loses its occupant and boat bytes, and the hero its on-boat state. Nothing for an invalid
// hero or one on foot. A boat index out of range still clears the hero and its cell.
void clear_hero_boat(GameState& state, GameMap& map, int hero);

// An active boat record at the tile, or a water tile with a hero on it; false off the map and on land.
bool boat_at_tile(const GameState& state, const GameMap& map, int x, int y);

}  // namespace vorn1
