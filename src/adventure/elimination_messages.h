#pragma once
// Texts of the player-elimination announcements (the rules: player_elimination.h).
#include <string>

namespace vorn1 {

struct GameState;

// "<colour> has been eliminated." for a seat; the neutral word for anything else.
std::string elimination_message(const GameState& state, int player);
// The warning of a player without a town: a last-day text at 1 day left, else the days counted down.
// Empty for a negative count (no warning pending).
std::string elimination_warning_message(int days_left);

}  // namespace vorn1
