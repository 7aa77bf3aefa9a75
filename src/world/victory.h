#pragma once
#include "world/game_state.h"

namespace vorn1 {

// Whether the player's victory condition holds now (no latch).
bool victory_condition_met(const GameState& state, int player);
// Seat 0's condition; true once, latching the win.
bool check_victory(GameState& state);
// First seat 0..3 in play whose condition holds, else -1.
int victorious_player(const GameState& state);

}  // namespace vorn1
