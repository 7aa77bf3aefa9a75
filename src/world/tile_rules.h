#pragma once
// Movement points, joining stacks and other per-tile rules.
#include "world/game_state.h"
#include "world/map.h"
#include "world/route.h"

namespace vorn1 {

// Artifacts the movement rules know.
enum MoveArtifact : int {
    ART_NOMAD_BOOTS = 29,     // +24 on land
    ART_TRAVELLER_BOOTS = 30, // +12 on land
    ART_WINGED_SANDALS = 35,  // +20 on land and at sea
    ART_SAILOR_ASTROLABE = 36,// +40 at sea
    ART_MAGIC_BOOK = 37,
};

// 40, 50 or 60 by the slowest stack (empty army 60), the artifacts, the sea bonuses doubled for the
// sea-doubling movement kind, plus `extra`. Each artifact counts once however many slots hold it.
int compute_hero_max_mp(const HeroState& hero, bool at_sea, bool owner_has_lighthouse, int extra = 0);
// The same from the state: at sea when the hero's tile is water; the lighthouse when live and owned by
// the hero's owner. 0 for an invalid hero.
int compute_hero_max_mp(const GameState& state, const GameMap& map, int hero, int extra = 0);
// The day's allowance as the turnover gives it: compute_hero_max_mp plus 3 for Smart and Genius owners.
int hero_day_mp(const GameState& state, const GameMap& map, int hero);

// Speed class 1 (slow) .. 3 (fast) of a creature; 3 for ids outside the table.
int creature_speed_class(int creature);

// The player is a computer player of level Smart or Genius; false outside 0..3.
bool is_smart_or_genius(const GameState& state, int player);

// A wandering stack offers to join the hero (willing, not yet asked, count within its row, room in
// the army, and the army's power x 100 exceeds the stack's power x 175).
bool creature_stack_can_offer_join(const MonsterStackState& stack, const HeroState& hero);
// Sum of power x count over the army's filled slots (64-bit).
int64_t army_join_power(const Army& army);

// Sum of ARTIFACT_BASE_RV over a hero's artifacts with ids below 37.
int64_t hero_artifact_value(const HeroState& hero);

// Places or removes the hero marks (bytes 10-12) of a hero on its tile.
void place_hero_on_map(GameMap& map, const HeroState& hero);
void clear_hero_from_map(GameMap& map, const HeroState& hero);

// Tile byte 14 is not saved: mark every active boat's tile again (after a load).
void rebuild_boat_bytes(GameMap& map, const GameState& state);

// A legal Dimension Door landing: on the map, land, blocking byte clear, no hero, and no live
// monster stack, resource pile, campfire, chest or map artifact there.
bool is_dimdoor_passable(const GameMap& map, const GameState& state, int x, int y);

}  // namespace vorn1
