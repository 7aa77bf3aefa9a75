#pragma once
// The world map: the whole adventure map scaled into the map view, through the player's fog, with
// what a view spell reveals shown through it.
#include <SDL.h>

#include <cstdint>

namespace vorn1 {

struct AdventureResources;
struct GameState;
struct GameMap;

struct WorldMapState {
    bool open = false;
    int player = -1;
    uint8_t reveal = 0;  // ViewReveal bits
};

void open_world_map(WorldMapState& s, int player, uint8_t reveal);
void close_world_map(WorldMapState& s);
// A click or Esc closes it; every other input is swallowed while it is open. True when consumed.
bool handle_world_map_event(const SDL_Event& e, WorldMapState& s);

// Pixels per tile: the largest that fits the 479 x 480 view (at least 1).
int world_map_scale(const GameMap& map);
// Top-left of the scaled map, centred in the view.
SDL_Point world_map_origin(const GameMap& map);

void draw_world_map(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                    const WorldMapState& s);

}  // namespace vorn1
