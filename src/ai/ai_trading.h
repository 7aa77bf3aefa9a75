#pragma once
// The computer player at the market: small stocks bought with gold, surpluses sold by the two best levels.
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

void ai_run_trading_post(GameState& state, int player, AiIntelligence level);

}  // namespace vorn1
