#pragma once
// Checks and repairs a loaded game needs before it may be played.
#include "world/game_setup.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"

namespace vorn1 {

// False when an index or position the game uses as a subscript lies outside what the records
// and the map can hold (seat numbers and colours, hero, boat, pool and town-slot indices, live
// positions, creature and shrine spell ids, calendar, map size). Such a file is reported as corrupt.
bool loaded_game_consistent(const GameState& s, const GameMap& m, int current_player);

// Rebuilds what the format does not carry: the computer players' levels (from the configuration),
// the boat marks of the tiles (from the boats and the heroes aboard), the monster guard map, the
// monsters' join flags, the map artifacts' guard kinds and the victory's target name and sites (from
// the base map; without one these stay at their defaults), and notes whether the goal's town or city has left
// its first holder's hands. Without the base map (have_map false) the goal is settled by
// victory_start_without_map, judged with `ctx` (the seats the saved records put out); with it the goal stays.
MaplessGoal restore_unsaved_state(GameState& s, GameMap& m, const NewGameConfig& cfg, bool have_map,
                                  const GoalContext& ctx);

}  // namespace vorn1
