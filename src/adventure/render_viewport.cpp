#include "adventure/render_viewport.h"

#include <algorithm>
#include <cmath>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/render_map.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

void reset_hero_move_state(HeroMoveState& m) { m = HeroMoveState{}; }

int standing_frame_for_facing(int facing) {
    static constexpr int kFrames[8] = {0, 9, 18, 27, 36, 27, 18, 9};
    return facing >= 0 && facing < 8 ? kFrames[facing] : 18;
}

bool facing_is_mirrored(int facing) { return facing >= 5 && facing <= 7; }

HeroPose standing_pose(const GameMap& map, int x, int y) {
    HeroPose p;
    p.px = x * kTileSize;
    p.py = y * kTileSize;
    const MapTile* t = map.tile(x, y);
    if (t && t->occupied()) p.frame = t->hero_frame;
    return p;
}

HeroPose walking_pose(const HeroMoveState& m) {
    float t = m.step_ms > 0.0f ? m.elapsed_ms / m.step_ms : 1.0f;
    if (!(t >= 0.0f)) t = 0.0f;  // also catches NaN
    t = std::min(t, 1.0f);
    HeroPose p;
    p.px = m.from_x * kTileSize + (int)std::lround((m.to_x - m.from_x) * kTileSize * t);
    p.py = m.from_y * kTileSize + (int)std::lround((m.to_y - m.from_y) * kTileSize * t);
    const int stride = std::min(7, (int)(t * 8.0f));
    p.frame = standing_frame_for_facing(m.facing) + 1 + stride;
    p.mirrored = facing_is_mirrored(m.facing);
    return p;
}

namespace {

struct Figure {
    int row = 0;             // drawn with this map row's objects
    HeroPose pose;
    int hero_class = 0;
    int colour = -1;
    bool boat = false;       // drawn from the boat set
    bool rider = true;       // a hero (not an empty boat): gets a flag
};

void draw_figure(SDL_Renderer* r, const AdventureResources& res, const Figure& f, int view_x, int view_y,
                 int anim_tick) {
    const int sx = f.pose.px + kViewBorderTiles * kTileSize - view_x;
    const int sy = f.pose.py + kViewBorderTiles * kTileSize - view_y;
    if (!tile_rect_on_view(sx, sy) && !tile_rect_on_view(sx, sy + kTileSize)) return;
    const SpriteSet& set = f.boat ? res.boat : res.heroes[(size_t)f.hero_class];
    const SpriteFrame* fr = set.get(f.pose.frame);
    if (fr) {
        draw_sprite_at_tile(r, *fr, sx, sy, f.pose.mirrored);
    } else {
        const SDL_Color c = f.boat ? SDL_Color{120, 80, 40, 255} : player_rgb(f.colour);
        SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
        SDL_Rect box = f.boat ? SDL_Rect{sx + 4, sy + 16, 24, 12} : SDL_Rect{sx + 10, sy + 4, 12, 24};
        SDL_RenderFillRect(r, &box);
    }
    if (f.rider && f.colour >= 0) {
        const int base = flag_frame_for_colour(f.colour);
        const SpriteFrame* flag = res.flags.get(base + (anim_tick & 1));
        if (!flag) flag = res.flags.get(base);
        if (flag) draw_sprite_at_tile(r, *flag, sx, sy, f.pose.mirrored);
    }
}

}  // namespace

void draw_route_markers(SDL_Renderer* r, const AdventureResources& res, const std::vector<RouteMarker>& markers,
                        int view_x, int view_y) {
    for (const RouteMarker& m : markers) {
        const SDL_Point p = tile_screen_pos(m.x, m.y, view_x, view_y);
        if (!tile_rect_on_view(p.x, p.y)) continue;
        const SpriteFrame* f = res.route.get(route_marker_frame(m.next_dir, m.is_destination != 0, m.reachable != 0));
        if (f) {
            draw_sprite_at_tile(r, *f, p.x, p.y, false);
            continue;
        }
        if (m.reachable) SDL_SetRenderDrawColor(r, 40, 200, 40, 255);
        else SDL_SetRenderDrawColor(r, 200, 40, 40, 255);
        SDL_Rect box{p.x + 12, p.y + 12, 8, 8};
        SDL_RenderFillRect(r, &box);
    }
}

void draw_map_view(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                   int view_x, int view_y, const std::vector<HeroMoveState>* moves, int player,
                   const std::vector<RouteMarker>* markers, int anim_tick, const ViewportOptions& opt) {
    if (!r) return;
    SDL_Rect old_clip;
    const bool had_clip = SDL_RenderIsClipEnabled(r);
    SDL_RenderGetClipRect(r, &old_clip);
    SDL_RenderSetClipRect(r, &kMapViewRect);

    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRect(r, &kMapViewRect);
    draw_ground_pass(r, res, map, view_x, view_y);

    // Sprites may reach a tile beyond their own, so rows and columns just off the view are drawn too.
    const TileRange t = view_tile_range(view_x, view_y, 1);
    for (int y = std::max(t.y0, 0); y <= t.y1 && y < map.height; ++y)
        draw_object_row(r, res, map, view_x, view_y, 2, y, t.x0, t.x1);

    std::vector<Figure> figures;
    if (opt.heroes) {
        for (size_t h = 0; h < state.heroes.size(); ++h) {
            const HeroState& hero = state.heroes[h];
            if (!hero.live || !map.in_bounds(hero.x, hero.y)) continue;
            Figure f;
            const HeroMoveState* m = moves && h < moves->size() && (*moves)[h].active ? &(*moves)[h] : nullptr;
            f.pose = m ? walking_pose(*m) : standing_pose(map, hero.x, hero.y);
            f.row = m ? std::max(m->from_y, m->to_y) : hero.y;
            f.hero_class = hero.hero_class() < 4 ? hero.hero_class() : 0;
            f.colour = owner_colour(state, hero.owner);
            f.boat = hero.on_boat != 0;
            figures.push_back(f);
        }
    }
    if (opt.boats) {
        for (const BoatState& b : state.boats) {
            if (!b.active || b.hero >= 0 || !map.in_bounds(b.x, b.y)) continue;
            Figure f;
            f.pose.px = b.x * kTileSize;
            f.pose.py = b.y * kTileSize;
            f.pose.frame = standing_frame_for_facing(b.facing);
            f.pose.mirrored = facing_is_mirrored(b.facing);
            f.row = b.y;
            f.boat = true;
            f.rider = false;
            figures.push_back(f);
        }
    }
    std::stable_sort(figures.begin(), figures.end(), [](const Figure& a, const Figure& b) { return a.row < b.row; });

    size_t next = 0;
    while (next < figures.size() && figures[next].row < t.y0) ++next;
    for (int y = std::max(t.y0, 0); y <= t.y1 && y < map.height; ++y) {
        draw_object_row(r, res, map, view_x, view_y, 1, y, t.x0, t.x1);
        if (opt.flags) draw_site_flags_row(r, res, state, view_x, view_y, y, anim_tick);
        for (; next < figures.size() && figures[next].row <= y; ++next)
            draw_figure(r, res, figures[next], view_x, view_y, anim_tick);
    }
    if (markers) draw_route_markers(r, res, *markers, view_x, view_y);
    if (opt.fog) draw_fog_pass(r, state, map, view_x, view_y, player);

    SDL_RenderSetClipRect(r, had_clip ? &old_clip : nullptr);
}

void render_viewport_passes(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                            const GameMap& map, int view_x, int view_y, const std::vector<HeroMoveState>& moves,
                            int player, const std::vector<RouteMarker>& markers, int anim_tick) {
    draw_map_view(r, res, state, map, view_x, view_y, &moves, player, &markers, anim_tick, ViewportOptions{});
}

}  // namespace vorn1
