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
// The hero standing in the town takes its garrison; with keep_guard the town keeps its weakest stack, or
// gets the hero's weakest (of two or more) when it has none. The state and player are for the log.
void pool_garrison_into_hero(const GameState& state, int player, CastleState& town, HeroState& hero, bool keep_guard);
// Only the moving of the stacks (no log, no guard handed back), strongest first, leaving the garrison's
// `guard` slot (-1 none); true when a stack moved.
bool move_garrison_stacks_to_hero(CastleState& town, HeroState& hero, int guard);
void ai_pool_between_allied_heroes(GameState& state, int player);

// Unit power of a creature for pooling.
double pool_creature_unit_power(int id);
// 0 slow, 1 normal, 2 fast, for the courier rule.
int pool_creature_speed_class(int id);
// Puts a whole stack into an army: onto the first stack of the creature (capped at 65535), else into the
// first empty slot. Returns how many creatures moved; what does not fit stays with the caller.
int ai_merge_into_army(Army& army, uint8_t id, int count);

}  // namespace vorn1
