#pragma once
// Computer heroes in their towns (spells and troop balance), garrisons into heroes, and allied heroes
// pooling their armies.
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

constexpr int AI_SPELLBOOK_PRICE = 500;

// Visits the town (evaluate_only false) or only values the visit; `value` (may be null) gets the worth.
void HeroInteractionAtTown(GameState& state, const GameMap& map, int player, HeroState& hero, CastleState& town,
                           bool evaluate_only, int* value);
void eval_hero_interaction_at_town(const GameState& state, const GameMap& map, int player, const HeroState& hero,
                                   const CastleState& town, int& value);
void DoAllHeroInteractions(GameState& state, const GameMap& map, int player);
// Log lines name the town's tile, so the state and player come along for the log.
void pool_garrison_into_hero(const GameState& state, int player, CastleState& town, HeroState& hero, bool keep_guard);
// The pouring alone, strongest stack first, leaving the `guard` slot (-1 none); true when a stack moved.
bool pour_garrison_into_hero(CastleState& town, HeroState& hero, int guard);
void ai_pool_between_allied_heroes(GameState& state, int player);

// Unit power of a creature for pooling.
double pool_creature_unit_power(int id);
// 0 slow, 1 normal, 2 fast, for the courier rule.
int pool_creature_speed_class(int id);
// Puts a whole stack into an army: onto the first stack of the creature (capped at 65535), else into the
// first empty slot. Returns how many creatures moved; what does not fit stays with the caller.
int ai_merge_into_army(Army& army, uint8_t id, int count);

}  // namespace vorn1
