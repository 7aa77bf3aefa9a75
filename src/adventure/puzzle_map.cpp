#include "adventure/puzzle_map.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/puzzle_map_state.h"
#include "adventure/render_viewport.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

SDL_Rect puzzle_piece_rect(int piece) {
    if (piece < 0 || piece >= kPuzzlePieces) return SDL_Rect{0, 0, 0, 0};
    const int col = piece % kPuzzleCols, row = piece / kPuzzleCols;
    const int w = kMapViewRect.w / kPuzzleCols + 1;  // 60
    const int h = kMapViewRect.h / kPuzzleRows;      // 80
    const int x = col * w;
    return SDL_Rect{x, row * h, std::min(w, kMapViewRect.w - x), h};
}

SDL_Point puzzle_view(const GameMap& map, const PuzzleMapState& p) {
    const bool site = map.in_bounds(p.dig_x, p.dig_y);
    const int x = site ? p.dig_x : map.width / 2, y = site ? p.dig_y : map.height / 2;
    // Not clamped: the picture keeps the site in the middle even at the map's edge.
    return SDL_Point{(x + kViewBorderTiles) * kTileSize + kTileSize / 2 - kMapViewRect.w / 2,
                     (y + kViewBorderTiles) * kTileSize + kTileSize / 2 - kMapViewRect.h / 2};
}

std::string dig_result_message(DigResult r, int artifact) {
    const StringTable& st = strings();
    switch (r) {
    case DigResult::NotHere: return st.get("ADV_DIG_NOT_HERE");
    case DigResult::NoPoints: return st.get("ADV_DIG_NO_POINTS");
    case DigResult::Nothing: return st.get("ADV_DIG_NOTHING");
    case DigResult::NoRoom: return st.get("ADV_DIG_NO_ROOM");
    case DigResult::Found: {
        const auto name = artifact_display_name(artifact);
        return st.format("ADV_DIG_FOUND", {name ? *name : st.get("ADV_QI_ARTIFACT")});
    }
    default: return {};
    }
}

void draw_puzzle_map(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                     const PuzzleMapState& p, int player) {
    const SDL_Point v = puzzle_view(map, p);
    ViewportOptions land;
    land.heroes = land.boats = land.flags = land.fog = false;
    draw_map_view(r, res, state, map, v.x, v.y, nullptr, -1, nullptr, 0, land);
    if (map.in_bounds(p.dig_x, p.dig_y)) {
        const SDL_Point t = tile_screen_pos(p.dig_x, p.dig_y, v.x, v.y);
        SDL_SetRenderDrawColor(r, 224, 24, 24, 255);
        for (int k = 0; k < 3; ++k) {
            SDL_RenderDrawLine(r, t.x + 4 + k, t.y + 4, t.x + 27 + k - 2, t.y + 27);
            SDL_RenderDrawLine(r, t.x + 27 - k, t.y + 4, t.x + 4 - k + 2, t.y + 27);
        }
    }
    for (int i = 0; i < kPuzzlePieces; ++i) {
        if (puzzle_piece_revealed(p, player, i)) continue;
        const SDL_Rect rc = puzzle_piece_rect(i);
        if (const SpriteFrame* f = res.puzzle.get(i)) {
            SDL_RenderCopy(r, f->tex, nullptr, &rc);
        } else {
            SDL_SetRenderDrawColor(r, 168, 140, 96, 255);
            SDL_RenderFillRect(r, &rc);
            SDL_SetRenderDrawColor(r, 96, 72, 40, 255);
            SDL_RenderDrawRect(r, &rc);
        }
    }
}

}  // namespace vorn1
