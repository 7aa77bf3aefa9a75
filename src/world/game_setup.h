#pragma once
// Setting up a new game from a map and a configuration.
#include <cstdint>

#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"
#include "world/victory.h"

namespace vorn1 {

// Starting treasury by game difficulty (easy..expert); computer players always get the normal amount.
PlayerResources starting_resources(int difficulty);

// Builds the game state for a standard, campaign or hot-seat game: seats, colours, human and computer
// flags and levels, treasuries, sites from the map's object list, starting heroes, the hero pool and
// offers, guild spells, dwelling stock, monsters, victory and the first fog reveal. seed != 0 recommended.
void init_game_state(GameState& state, GameMap& map, const NewGameConfig& cfg, uint32_t seed);

// What is wrong with a game set up from `cfg` on `map`, with the seats as init_game_state puts them:
// NoRival, it could never be won (the first seat holds nothing or cannot meet the map's goal, or a shared
// game leaves the first seat alone); HumanLeftOut, a hot seat's human holds nothing and would never play.
enum class SetUpFault { None, NoRival, HumanLeftOut };
SetUpFault set_up_fault(const GameMap& map, const NewGameConfig& cfg);

// Computer levels are not saved: re-derive them from the configuration after a load.
void restore_seat_ai_levels(GameState& state, const NewGameConfig& cfg);

// Victory targets and sites are not saved: rebuild them from the map, with how the scenario began (who
// held the target town and the Dragon City, the hunted lord) from its records, and `start_holders` (bit p:
// seat p held a town or a hero at the start).
void restore_victory_from_map(GameState& state, const GameMap& map, unsigned start_holders);
// A game whose map records are lost (a save without its base map): a goal that needs them (a town, the
// Dragon City, the lord, the sites) becomes every rival beaten, and every seat in play counts as a rival
// from the start; a seat out of the game (`ctx`, from the saved records) is none. With no rival left to
// beat, a town's or the city's goal stays with its holder now as its first. Judged over every seat in play:
// a goal none of them can still meet by its own deed is told as lost and becomes VICTORY_NO_GOAL.
enum class MaplessGoal { Stays, EveryRival, Lost };
MaplessGoal victory_start_without_map(GameState& state, const GoalContext& ctx);

// What a map object's second detail byte sets up, at set-up and again after a load (not saved).
inline uint8_t monster_willing_from_object(const MapObject& o) { return (o.b & 1) ? 1 : 0; }
inline uint8_t artifact_guard_from_object(const MapObject& o) { return o.b <= 2 ? o.b : 0; }

}  // namespace vorn1
