#pragma once
// The adventure screen drawn off-screen: snapshots, the dissolve back to the map, tile fade-outs and
// background pictures for dialogs.
#include <SDL.h>

#include <string>

#include "mainloop/main_state.h"

namespace vorn1 {

// Everything the adventure drawing reads, taken from the loop's state.
AdventureFrame make_adventure_frame(MainState& m);
// Draws the adventure screen into the current target; neither clears nor presents.
void redraw_adventure_screen(MainState& m);
// A 640 x 480 picture of the adventure screen; null without a renderer.
SDL_Texture* snapshot_adventure_screen(MainState& m);
// The town picture of a town's castle screen (its top 640 x 256) as drawn now; null without a renderer or
// the town art.
SDL_Texture* snapshot_town_picture(MainState& m, int castle);
// A 640 x 480 picture of a town's castle screen as drawn now; null without a renderer, the town art or
// the town.
SDL_Texture* snapshot_castle_screen(MainState& m, int castle);
// Dissolves the map view from `old_picture` to the adventure screen (500 ms). Takes the picture.
void dissolve_to_adventure_screen(MainState& m, SDL_Texture* old_picture);
// The puzzle map's opening: from every piece covered to the player's puzzle (4000 ms), only when the
// player has visited an obelisk. Needs a renderer; draws nothing otherwise.
void dissolve_puzzle_reveal(MainState& m);
// The puzzle screen as the dissolve shows it: puzzle, the right-hand border column, lists, buttons and
// the summary or mini hero panel.
void redraw_puzzle_screen(MainState& m);
// A background picture for a dialog: the current frame drawn and read back before anything is
// presented (reading after a present gives undefined pixels on many back ends).
SDL_Texture* texture_provider(MainState& m);

// The on-screen part of tile (x, y) in the map view: false when none of it shows.
bool fade_rect_for_tile(int x, int y, int view_x, int view_y, SDL_Rect& out);
// Queues the fade-out of a tile as drawn now; a tile off the view only plays its sound at once.
void fade_out_map_tile(MainState& m, int x, int y, const std::string& sound);
// Advances the fade-outs; one that ends plays its sound and is freed.
void update_fadeouts(MainState& m, float dt_ms);
void draw_fadeouts(MainState& m);
void free_fadeouts(LoopState& l);

}  // namespace vorn1
