#pragma once
#include "world/game_state.h"

namespace vorn1 {

// Whether the player's victory condition holds now (no latch), as one human at the table plays it:
// a hunted lord gone by any hand meets it.
bool victory_condition_met(const GameState& state, int player);
// Seat 0's condition; true once, latching the win.
bool check_victory(GameState& state);
// Shared game (hot seat): first seat 0..3 in play whose condition holds, else -1. A hunted lord counts
// only for the seat that beat him.
int victorious_player(const GameState& state);

// The hunted lord is on the map (false when the goal names none).
bool hunted_lord_standing(const GameState& state);
// A battle has removed `hero` from the map, won by `by_seat`'s side (-1 nobody's: a monster or a guard).
void note_hero_beaten(GameState& state, int hero, int by_seat);
// Who beat a hunted lord gone from the map with no battle naming it: the seat whose turn it is (the one
// side of every fight in its turn), unless he was its own; then nobody, for good.
void settle_lord_credit(GameState& state, int acting);

}  // namespace vorn1
