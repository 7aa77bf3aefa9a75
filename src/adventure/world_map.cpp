#include "adventure/world_map.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/adventure_spells.h"
#include "adventure/render_map.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

void open_world_map(WorldMapState& s, int player, uint8_t reveal) {
    s.open = true;
    s.player = player;
    s.reveal = reveal;
}

void close_world_map(WorldMapState& s) { s = WorldMapState{}; }

bool handle_world_map_event(const SDL_Event& e, WorldMapState& s) {
    if (!s.open) return false;
    if ((e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) || e.type == SDL_MOUSEBUTTONUP) close_world_map(s);
    return true;
}

int world_map_scale(const GameMap& map) {
    const int w = std::max(1, map.width), h = std::max(1, map.height);
    return std::max(1, std::min(kMapViewRect.w / w, kMapViewRect.h / h));
}

SDL_Point world_map_origin(const GameMap& map) {
    const int s = world_map_scale(map);
    return SDL_Point{(kMapViewRect.w - std::max(0, map.width) * s) / 2, (kMapViewRect.h - std::max(0, map.height) * s) / 2};
}

void draw_world_map(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                    const WorldMapState& s) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRect(r, &kMapViewRect);
    if (!map.has_tiles()) return;
    const int k = world_map_scale(map);
    const SDL_Point o = world_map_origin(map);
    const FogOfWar* fog = is_player_index(s.player) ? &state.fog[(size_t)s.player] : nullptr;
    const bool all = (s.reveal & REVEAL_ALL) != 0;
    auto seen = [&](int x, int y) { return all || !fog || fog->is_explored(x, y); };
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x) {
            if (!seen(x, y)) continue;
            const MapTile& t = map.tiles[(size_t)y * map.width + x];
            SDL_Color c = res.ground_rgb[t.ground];
            if (t.impassable() && t.object_type == 0) c = {(uint8_t)(c.r / 2), (uint8_t)(c.g / 2), (uint8_t)(c.b / 2), 255};
            SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
            SDL_Rect rc{o.x + x * k, o.y + y * k, k, k};
            SDL_RenderFillRect(r, &rc);
        }
    auto mark = [&](int x, int y, SDL_Color c, uint8_t bit) {
        if (!map.in_bounds(x, y) || !(seen(x, y) || (s.reveal & bit))) return;
        SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
        SDL_Rect rc{o.x + x * k, o.y + y * k, k, k};
        SDL_RenderFillRect(r, &rc);
    };
    const SDL_Color neutral{232, 232, 232, 255}, pile{252, 200, 0, 255}, art{200, 0, 220, 255};
    auto colour_of = [&](int owner) {
        const int c = owner_colour(state, owner);
        return c >= 0 ? player_rgb(c) : neutral;
    };
    for (const ResourcePileState& p : state.resource_piles)
        if (!p.taken) mark(p.x, p.y, pile, REVEAL_RESOURCES);
    for (const CampfireState& c : state.campfires)
        if (c.active && !c.taken) mark(c.x, c.y, pile, REVEAL_RESOURCES);
    for (const ArtifactState& a : state.map_artifacts)
        if (!a.taken) mark(a.x, a.y, art, REVEAL_ARTIFACTS);
    for (const MineState& m : state.mines)
        if (m.live) mark(m.x, m.y, colour_of(m.owner), REVEAL_MINES);
    for (const CastleState& c : state.castles)
        if (c.live) mark(c.x, c.y, colour_of(c.owner), REVEAL_TOWNS);
    for (const HeroState& h : state.heroes)
        if (h.live) mark(h.x, h.y, colour_of(h.owner), REVEAL_HEROES);
}

}  // namespace vorn1
