#pragma once
// The current player's hero and town lists, the selected hero, its planned route and the walk that
// follows a second click.
#include <cstdint>
#include <unordered_set>

#include "mainloop/main_state.h"

namespace vorn1 {

// Tiles whose pickups and sites are visited as the hero steps on them (the walk stops there).
bool is_second_site_type(uint8_t type);

// Fog reveal radius of a hero that finished a step.
constexpr int kWalkRevealRadius = 5;

// ---- lists and selection
// Rebuilds both lists for the current player: survivors keep their order, newcomers are appended.
void sync_owned_lists(LoopState& l, const GameState& s);
// Puts the selected hero's row into the side panel, scrolling it into the four visible rows.
void sync_hero_list_row(LoopState& l);
// Ends the walk in progress (the plan stays).
void end_walk(LoopState& l);
// Makes the hero's stored route the active one (none for an index without a stored route).
void load_hero_route(LoopState& l, int hero);
// Stored routes as long as the hero list; never shrinks.
void grow_hero_routes(LoopState& l, const GameState& s);
// Changes the selection, keeping the outgoing hero's route.
void select_hero(GameSession& g, int hero);
// Resyncs the lists and selects the hero at a row (clamped to the last row).
void select_hero_at_list_index(GameSession& g, int row);
// Key h: the next hero in the list (wrapping), with the view centred on it.
void select_next_hero(MainState& m);
// View position that shows the hero's tile: x * 32 + 17, y * 32 + 16, clamped.
void centre_view_on_hero(GameSession& g, int hero);

// ---- movement
// Ends the walk and the selected hero's step animation; the hero stands on its tile facing its way.
void stop_hero_movement(MainState& m);
// Key k: stops the hero and opens the kingdom overview.
void open_kingdom_overview(MainState& m);
// Forgets a hero's points, animation and route (the hero left play).
void reset_hero_movement(GameSession& g, int hero);
// The hero's plan is dropped: its stored route and destination, and the active one when selected.
void reset_planned_route(GameSession& g, int hero);
// A walk met a monster or a hero on (x, y): the hero's plan is used up when it ended there; a plan that
// goes on beyond stays for the walk to go on once the way is free.
void drop_route_ending_at(GameSession& g, int hero, int x, int y);
// What stood on (x, y) is gone (a monster beaten or joined, a hero out of play): every plan that led
// there is dropped, so no marker points at an empty tile.
void forget_routes_to(GameSession& g, int x, int y);
// Before a save: the selected hero's destination and every hero's points into the hero records.
void store_selected_destination(GameSession& g);
void store_hero_move_points(GameSession& g);

// ---- route planning
std::unordered_set<uint32_t> build_owned_event_tiles(const GameState& s, int player);
// A town or castle entrance that is not the player's own: the planner may end a route there.
bool dest_entrance_needs_sentinel(const GameState& s, const GameMap& map, int x, int y, int player);
// Plans (or refuses, clearing the hero's plan) a route for the hero to (x, y). A hero without points
// left gets none, unless the plan is one it `kept` from before (a loaded game's): that stays, for the
// next day.
void plan_hero_route(MainState& m, int hero, int x, int y, bool kept = false);
// Exactly one of the two heroes' owners is a human player.
bool one_side_human(const GameState& s, int a, int b);

// ---- the walk
// Second click on the destination: walks the active route.
void start_walk(MainState& m);
// Advances the selected hero's walk by dt milliseconds: finishes steps, starts the next one, and
// hands visits to the event system. Several steps may finish in one call at the fastest speed.
void update_walk(MainState& m, float dt_ms);

}  // namespace vorn1
