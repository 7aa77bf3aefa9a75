#pragma once
// The map view of the adventure screen: every pass from ground to fog, clipped to the view.
#include <SDL.h>

#include <vector>

#include "adventure/adventure_types.h"

namespace vorn1 {

struct AdventureResources;
struct GameState;
struct GameMap;

struct ViewportOptions {
    bool heroes = true;   // heroes and their boats
    bool boats = true;    // empty boats
    bool flags = true;
    bool fog = true;
};

// Screen-independent position of a walking hero: pixels from the map's corner, and the figure frame.
struct HeroPose {
    int px = 0, py = 0;   // top-left of the figure's tile in map pixels
    int frame = 18;
    bool mirrored = false;
};
// Standing hero: its tile, and the tile's hero-frame byte when the tile carries the hero's marks.
HeroPose standing_pose(const GameMap& map, int x, int y);
// Walking hero: between its two tiles by elapsed / step time, with one of eight stride frames.
HeroPose walking_pose(const HeroMoveState& m);

// The whole map view for a player's eyes: ground, layer 2, then row by row layer 1, site flags, boats
// and heroes (walking ones between their tiles), then route markers and the player's fog.
// `player` is the current player (-1: no fog); `anim_tick` steps the flag animation.
void render_viewport_passes(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                            const GameMap& map, int view_x, int view_y, const std::vector<HeroMoveState>& moves,
                            int player, const std::vector<RouteMarker>& markers, int anim_tick);

// The same with some passes left out (the puzzle map shows the land only).
void draw_map_view(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                   int view_x, int view_y, const std::vector<HeroMoveState>* moves, int player,
                   const std::vector<RouteMarker>* markers, int anim_tick, const ViewportOptions& opt);

// Route arrows over their tiles.
void draw_route_markers(SDL_Renderer* r, const AdventureResources& res, const std::vector<RouteMarker>& markers,
                        int view_x, int view_y);

}  // namespace vorn1
