#include "mainloop/boats.h"

namespace vorn1 {

void clear_hero_boat(GameState& state, GameMap& map, int hero) {
    if (!state.valid_hero(hero)) return;
    HeroState& h = state.heroes[hero];
    if (!h.on_boat) return;
    if (h.boat_index >= 0 && h.boat_index < (int)state.boats.size()) {
        BoatState& b = state.boats[h.boat_index];
        b.active = 0;
        b.x = b.y = -1;
        b.hero = -1;
    }
    if (MapTile* t = map.tile(h.x, h.y)) {
        t->hero_figure = 0;
        t->hero_frame = 0;
        t->hero_on_boat = 0;
        t->boat = 0;
    }
    h.on_boat = 0;
    h.boat_index = -1;
}

bool boat_at_tile(const GameState& state, const GameMap& map, int x, int y) {
    const MapTile* t = map.tile(x, y);
    if (!t) return false;
    for (const BoatState& b : state.boats)
        if (b.active && b.x == x && b.y == y) return true;
    return t->is_water() && t->occupied();
}

}  // namespace vorn1
