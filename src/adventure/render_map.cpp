#include "adventure/render_map.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

TileRange view_tile_range(int view_x, int view_y, int margin) {
    TileRange t;
    visible_tile_range(view_x, view_y, t.x0, t.y0, t.x1, t.y1);
    t.x0 -= margin;
    t.y0 -= margin;
    t.x1 += margin;
    t.y1 += margin;
    return t;
}

bool layer_present(uint8_t set, uint8_t frame) { return set != 0 && set != 255 && frame != 255; }

int owner_colour(const GameState& state, int owner) {
    if (!is_player_index(owner)) return -1;
    const int c = state.player_color[(size_t)owner];
    return c == COLOR_NONE ? -1 : c;
}

void draw_sprite_at_tile(SDL_Renderer* r, const SpriteFrame& f, int px, int py, bool mirror) {
    if (!f.tex) return;
    SDL_Rect dst{px + f.x, py + f.y, f.w, f.h};
    if (!mirror) {
        SDL_RenderCopy(r, f.tex, nullptr, &dst);
        return;
    }
    dst.x = px + kTileSize - (f.x + f.w);
    SDL_RenderCopyEx(r, f.tex, nullptr, &dst, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
}

void draw_ground_pass(SDL_Renderer* r, const AdventureResources& res, const GameMap& map, int view_x, int view_y) {
    if (!map.has_tiles()) return;
    const TileRange t = view_tile_range(view_x, view_y, 0);
    for (int y = std::max(t.y0, 0); y <= t.y1 && y < map.height; ++y)
        for (int x = std::max(t.x0, 0); x <= t.x1 && x < map.width; ++x) {
            const MapTile& tile = map.tiles[(size_t)y * map.width + x];
            const SDL_Point p = tile_screen_pos(x, y, view_x, view_y);
            SDL_Rect dst{p.x, p.y, kTileSize, kTileSize};
            SDL_Texture* tex = tile.ground < res.ground.size() ? res.ground[tile.ground] : nullptr;
            SDL_Texture* mirrored = tile.ground < res.ground_mirrored.size() ? res.ground_mirrored[tile.ground] : nullptr;
            if (tex) {
                if (!(tile.flip & kFlipGround))
                    SDL_RenderCopy(r, tex, nullptr, &dst);
                else if (mirrored)
                    SDL_RenderCopy(r, mirrored, nullptr, &dst);
                else
                    SDL_RenderCopyEx(r, tex, nullptr, &dst, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
            } else {
                const SDL_Color c = res.ground_rgb[tile.ground];
                SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
                SDL_RenderFillRect(r, &dst);
            }
        }
}

void draw_object_row(SDL_Renderer* r, const AdventureResources& res, const GameMap& map, int view_x, int view_y,
                     int layer, int row, int x0, int x1) {
    if (row < 0 || row >= map.height || !map.has_tiles()) return;
    for (int x = std::max(x0, 0); x <= x1 && x < map.width; ++x) {
        const MapTile& tile = map.tiles[(size_t)row * map.width + x];
        const uint8_t set = layer == 1 ? tile.layer1_set : tile.layer2_set;
        const uint8_t frame = layer == 1 ? tile.layer1_frame : tile.layer2_frame;
        if (!layer_present(set, frame)) continue;
        const SpriteFrame* f = res.objects[set].get(frame);
        if (!f) continue;
        const SDL_Point p = tile_screen_pos(x, row, view_x, view_y);
        draw_sprite_at_tile(r, *f, p.x, p.y, (tile.flip & (layer == 1 ? kFlipLayer1 : kFlipLayer2)) != 0);
    }
}

namespace {
void draw_flag(SDL_Renderer* r, const AdventureResources& res, int colour, int px, int py, int anim_tick) {
    if (colour < 0) return;
    const int base = flag_frame_for_colour(colour);
    const SpriteFrame* f = res.flags.get(base + (anim_tick & 1));
    if (!f) f = res.flags.get(base);
    if (f) {
        draw_sprite_at_tile(r, *f, px, py, false);
        return;
    }
    const SDL_Color c = player_rgb(colour);
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
    SDL_Rect box{px + 22, py + 2, 8, 6};
    SDL_RenderFillRect(r, &box);
}
}  // namespace

void draw_site_flags_row(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int view_x,
                         int view_y, int row, int anim_tick) {
    auto flag_at = [&](int x, int y, int owner) {
        if (y != row) return;
        const int colour = owner_colour(state, owner);
        if (colour < 0) return;
        const SDL_Point p = tile_screen_pos(x, y, view_x, view_y);
        if (!tile_rect_on_view(p.x, p.y)) return;
        draw_flag(r, res, colour, p.x, p.y, anim_tick);
    };
    for (const CastleState& c : state.castles)
        if (c.live) flag_at(c.x, c.y, c.owner);
    for (const MineState& m : state.mines)
        if (m.live) flag_at(m.x, m.y, m.owner);
    if (state.lighthouse.active) flag_at(state.lighthouse.x, state.lighthouse.y, state.lighthouse.owner);
    if (state.dragon_city.active) flag_at(state.dragon_city.x, state.dragon_city.y, state.dragon_city.owner);
}

void draw_fog_pass(SDL_Renderer* r, const GameState& state, const GameMap& map, int view_x, int view_y, int player) {
    if (!is_player_index(player)) return;
    const FogOfWar& fog = state.fog[(size_t)player];
    const TileRange t = view_tile_range(view_x, view_y, 0);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    for (int y = std::max(t.y0, 0); y <= t.y1 && y < map.height; ++y) {
        // One rectangle per run of unexplored tiles.
        int run = -1;
        for (int x = std::max(t.x0, 0); x <= t.x1 + 1; ++x) {
            const bool dark = x <= t.x1 && x < map.width && !fog.is_explored(x, y);
            if (dark && run < 0) run = x;
            if (!dark && run >= 0) {
                const SDL_Point p = tile_screen_pos(run, y, view_x, view_y);
                SDL_Rect box{p.x, p.y, (x - run) * kTileSize, kTileSize};
                SDL_RenderFillRect(r, &box);
                run = -1;
            }
            if (x >= map.width) break;
        }
    }
}

}  // namespace vorn1
