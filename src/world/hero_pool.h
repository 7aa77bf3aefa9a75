#pragma once
// The 36 heroes for hire.
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// English names in pool order.
extern const char* const HERO_POOL_NAMES[HERO_POOL_SIZE];
constexpr int HERO_HIRE_COST = 2500;

// Fills the 36 entries (names, factions, starting skills and armies) and the free list.
void init_hero_pool(HeroPool& pool);
// Two different free entries for each seat in play (-1 when the pool runs dry); rng drives the choice.
void refresh_hero_offers(GameState& state, int player, XorShift32& rng);

// Puts entry 0..35 into play for the player on the tile, reusing a dead hero record or appending one;
// returns the hero index, -1 when the index is out of range or the entry is in play. Takes no gold.
int recruit_hero_from_pool(GameState& state, GameMap& map, int pool_index, int player, int x, int y);
// Hiring for gold: refuses (-1, nothing paid) when the player cannot pay HERO_HIRE_COST, already has the
// most heroes allowed, or the pool refuses; the gold is taken only once the hero is in play.
int hire_hero(GameState& state, GameMap& map, int pool_index, int player, int x, int y);
// What hiring the entry would give, for showing an offered hero.
HeroState hero_state_from_pool_entry(const GameState& state, int pool_index, int owner);
// Takes the hero off the map and out of play into the pool, keeping its army, artifacts and skills.
void return_hero_to_pool(GameState& state, GameMap& map, int hero, int reason);
// Pool entry of a hero record by name; -1 when none.
int pool_index_of_hero(const GameState& state, int hero);

}  // namespace vorn1
