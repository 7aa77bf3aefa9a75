#pragma once
// The computer player at the market: small stocks bought with gold, surpluses sold by the two best levels.
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

void ai_run_trading_post(GameState& state, int player, AiIntelligence level);

// The town side of a computer player's turn as its turn start runs it: turn variables, the town economy,
// the market when trading is on, then pooling between adjacent heroes.
void ai_town_turn(GameState& state, GameMap& map, int player, bool enable_trade);

}  // namespace vorn1
