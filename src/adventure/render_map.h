#pragma once
// Tile passes of the map view: ground, the two object layers, flags of owned sites and fog. Each
// draws the tiles of the visible range into the current target; the caller clips to the view.
#include <SDL.h>

#include <cstdint>

namespace vorn1 {

struct AdventureResources;
struct SpriteFrame;
struct GameState;
struct GameMap;
struct MapTile;

// Flip bits of tile byte 5.
constexpr uint8_t kFlipLayer1 = 0x01;
constexpr uint8_t kFlipLayer2 = 0x02;
constexpr uint8_t kFlipGround = 0x04;

// Tiles a view shows, widened by `margin` tiles on every side for sprites that reach past their tile.
struct TileRange {
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
};
TileRange view_tile_range(int view_x, int view_y, int margin);

// Draws a frame with its stored offset relative to a tile's top-left, mirrored about the tile when asked.
void draw_sprite_at_tile(SDL_Renderer* r, const SpriteFrame& f, int tile_px, int tile_py, bool mirror);

void draw_ground_pass(SDL_Renderer* r, const AdventureResources& res, const GameMap& map, int view_x, int view_y);
// layer 1 or 2, for the tiles of one row.
void draw_object_row(SDL_Renderer* r, const AdventureResources& res, const GameMap& map, int view_x, int view_y,
                     int layer, int row, int x0, int x1);
// Flags of the towns, mines and single sites of a row whose owner is a seat.
void draw_site_flags_row(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int view_x,
                         int view_y, int row, int anim_tick);
// Black over every tile the player has not explored (nothing for a player outside 0..3).
void draw_fog_pass(SDL_Renderer* r, const GameState& state, const GameMap& map, int view_x, int view_y, int player);

// A layer holds a picture: set neither 0 nor 255 and frame not 255.
bool layer_present(uint8_t set, uint8_t frame);
// The seat colour byte of an owner, -1 for none.
int owner_colour(const GameState& state, int owner);

}  // namespace vorn1
