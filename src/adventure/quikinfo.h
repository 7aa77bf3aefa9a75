#pragma once
// Quick information: while the right button is held over a map tile, a small framed panel names
// what stands there, in the current language.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

namespace vorn1 {

struct AdventureResources;
struct GameState;
struct GameMap;

struct QuickInfoState {
    bool open = false;
    int tile_x = -1, tile_y = -1;
    int screen_x = 0, screen_y = 0;  // the press point; the panel is placed beside it
};

// Opens on a map tile under the point; false (and stays closed) outside the map.
bool open_quick_info(QuickInfoState& s, const GameMap& map, int view_x, int view_y, int sx, int sy);
void close_quick_info(QuickInfoState& s);
// The right button's release closes it. True when the event was consumed.
bool handle_quick_info_event(const SDL_Event& e, QuickInfoState& s);

// What the player knows of the tile: "uncharted" when unexplored, else the object (town and owner,
// hero and owner, mine and kind, monsters with a rough count, pickups) or the terrain. A hero shows
// its army; the player's own heroes, and every hero while `identify` holds (Identify Hero cast this
// turn), also show level and skills and the exact counts, other heroes only rough counts.
std::vector<std::string> quick_info_lines(const GameState& state, const GameMap& map, int player, int x, int y,
                                          bool identify = false);
// Word of a wandering stack's size: 0 few (< 5), 1 several (< 10), 2 pack (< 20), 3 lots (< 50), 4 horde.
int monster_count_band(int count);

constexpr int kQuickInfoW = 180, kQuickInfoH = 72;
// The panel's rectangle beside the press point, kept inside the map view; taller than the usual
// height when more lines need it (never taller than the view).
SDL_Rect quick_info_rect(int sx, int sy, int height = kQuickInfoH);

void draw_quick_info(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                     const QuickInfoState& s, int player, TTF_Font* font, bool identify = false);

}  // namespace vorn1
