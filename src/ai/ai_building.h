#pragma once
// The computer player's building numbers, building prices and worths, and the best building of a town.
#include <array>
#include <cstdint>

#include "world/recruit_rules.h"
#include "world/buildings.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Building numbers of the cost and value tables.
enum EcoBuilding : int {
    ECO_MAGE_GUILD = 0, ECO_THIEVES_GUILD = 1, ECO_TAVERN = 2, ECO_SHIPYARD = 3, ECO_WELL = 4, ECO_UNUSED = 5,
    ECO_CASTLE = 6, ECO_DWELLING_1 = 7,  // 7..12 dwellings 1..6
};
// Slots in the order a town's buildings are scored.
extern const std::array<uint8_t, 11> ECO_BUILDABLE;
// Building number of a build slot; -1 for the recruit-hero entry.
int eco_building_of_slot(int slot);

// Rows in the order wood, mercury, ore, sulfur, crystal, gems, gold.
extern const std::array<std::array<int32_t, 7>, 4> gMageBuildingCosts;
extern const std::array<std::array<int32_t, 7>, 7> gNeutralBuildingCosts;
extern const std::array<std::array<int32_t, 7>, 24> gDwellingCosts;
extern const std::array<int32_t, 24> gDwellingBaseResourceValues;
extern const std::array<int32_t, 4> gMageBaseResourceValues;
extern const std::array<int32_t, 7> gNeutralBaseResourceValues;

// The price of a building number; all zero for a number the tables do not know.
CreatureCost GetBuildingCost(int faction, int building, int guild_level);
// A row of the computer player's tables moved into CreatureCost order.
CreatureCost ai_cost_from_row(const std::array<int32_t, 7>& row);

// Worth of a building number in a town before the town's needs weigh it (a guild counts its next level).
double ai_building_base_value(const CastleState& town, int building);

struct AIBuildChoice {
    int slot = -1;
    double score = -99;
};
// Worth per price of building the slot now; -99 when get_build_status does not allow it.
double ai_building_score(const GameState& state, const GameMap& map, int player, const CastleState& town, int slot);
// The town's best buildable slot by worth per price (-99 when nothing can be built).
AIBuildChoice ai_best_building(const GameState& state, const GameMap& map, int player, const CastleState& town);

}  // namespace vorn1
