#pragma once
// The computer player's picture of the map: candidate targets, land and water regions, threatened towns.
#include <cstdint>
#include <utility>
#include <vector>

#include "ai/ai_records.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Role of a hero in a plan; 0 none, 1-4 the fighting and collecting roles of the valuation.
using AIHeroRole = uint8_t;

struct AIContext {
    int32_t player = -1;
    std::vector<AIMapObject> objects;       // candidate targets in scan order
    std::vector<int32_t> region_of_tile;    // y * width + x; -1 before the fill
    std::vector<double> region_value;       // by region id
    int32_t map_width = 0, map_height = 0;
    std::vector<AIHeroRole> hero_roles;     // by hero index
};

void ai_scan_map(AIContext& context, const GameState& state, const GameMap& map, int player);
void ai_build_regions(AIContext& context, const GameState& state, const GameMap& map);
std::vector<DangerCastle> find_castles_in_danger(const GameState& state, int player);
bool isValuableAdventureMapObject(const GameState& state, int player, int type, int index);
bool hero_pinned_to_defense(const GameState& state, int player, int hero_index, const std::vector<DangerCastle>& dangers);
int cheb_dist(int x0, int y0, int x1, int y1);
// 1e9 when the player has no live town.
double nearest_own_castle_dist(const GameState& state, int player, int x, int y);
// The first monster tile among the eight neighbours, from the upper left in rows; (-1, -1) when none.
std::pair<int, int> monster_tile_adjacent_to(const GameMap& map, int x, int y);
AIHeroRole role_for(const AIContext& context, int hero_index);

}  // namespace vorn1
