#pragma once
// The computer player's spending in its towns: castles, buildings, creatures and heroes.
#include <array>

#include "world/recruit_rules.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Daily yield of a mine by kind (wood, mercury, ore, sulfur, crystal, gems, gold).
extern const std::array<int32_t, 7> gMineIncome;

// Days of income the player still needs to afford the cost; 99 for a missing resource without income.
double TurnsToBuy(const GameState& state, int player, const CreatureCost& cost);
// max(0, 1 - 0.15 x TurnsToBuy).
double ai_afford_factor(const GameState& state, int player, const CreatureCost& cost);
// The cost in gold at the turn's prices (compute_turn_cost_resource), summed in single precision.
float ai_gold_price(const std::array<float, 7>& prices, const CreatureCost& cost);
// A score divided by a price; a price of 0 leaves it as it is.
double ai_per_price(double score, float price);

// A town's best creature purchase at the turn's prices (compute_turn_cost_resource), scored before the
// economy weighs in its garrison's lag; score -99 and dwelling -1 when none.
struct AIPurchaseChoice {
    int dwelling = -1;
    int creature = -1;
    int count = 0;
    double score = -99;
};
AIPurchaseChoice ai_best_purchase(const GameState& state, int player, int town, const std::array<float, 7>& prices);

// Spends the treasury in passes until nothing scores at least 0.02. The flag is not read.
void ai_run_castle_economy(GameState& state, GameMap& map, int player, bool allow_stack_split);

// The town side of a computer player's turn as its turn start runs it: turn variables, the town economy,
// the market when trading is on, then pooling between adjacent heroes.
void ai_town_turn(GameState& state, GameMap& map, int player, bool enable_trade);

}  // namespace vorn1
