#include "mainloop/transitions.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/puzzle_map.h"
#include "adventure/render_ui.h"
#include "assets/dissolve.h"
#include "assets/resources.h"
#include "town/castle_screen.h"
#include "town/castle_screen_resources.h"

namespace vorn1 {

AdventureFrame make_adventure_frame(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    AdventureFrame f;
    f.res = m.adv;
    f.new_day_res = m.new_day_res;
    f.state = &g.state;
    f.map = &g.map;
    f.view_x = l.view_x;
    f.view_y = l.view_y;
    f.moves = &l.moves;
    f.markers = &l.active_markers;
    f.current_player = l.current_player;
    f.anim_tick = l.anim_tick;
    f.selected_hero = l.selected_hero;
    f.hero_order = &l.hero_order;
    f.town_order = &l.town_order;
    f.locator = &l.locator;
    f.hero_move_points = &l.hero_move_points;
    f.summary = l.summary_view;
    f.new_day = &g.new_day;
    f.pressed_button = l.pressed_button;
    f.dim_door_open = l.dim_door.open;
    f.build_status = m.settings.build_status;
    f.font = m.fonts.def;
    f.small_font = m.fonts.small;
    const SeatView& human = l.human_view;
    if (human.player < 0 || !is_player_index(l.current_player) || g.state.player_is_human[l.current_player] != 0)
        return f;
    // A computer seat plays: the last human's view, its map following a walk only where that
    // human sees it and only with the option to watch enemy moves.
    const bool watched = m.settings.view_enemy_moves && l.walk_step_index >= 0 &&
                         g.state.valid_hero(l.selected_hero) &&
                         g.state.fog[(size_t)human.player].is_explored(g.state.heroes[(size_t)l.selected_hero].x,
                                                                        g.state.heroes[(size_t)l.selected_hero].y);
    if (!watched) {
        f.view_x = human.view_x;
        f.view_y = human.view_y;
    }
    f.markers = &human.markers;
    f.current_player = human.player;
    f.selected_hero = human.selected_hero;
    f.hero_order = &human.hero_order;
    f.town_order = &human.town_order;
    f.locator = &human.locator;
    f.summary = SummaryView{};
    return f;
}

void redraw_adventure_screen(MainState& m) {
    if (!m.renderer || !m.game || !m.adv) return;
    draw_adventure_screen(m.renderer, make_adventure_frame(m));
}

SDL_Texture* snapshot_adventure_screen(MainState& m) {
    if (!m.renderer) return nullptr;
    return dissolve_capture(m.renderer, 640, 480, [&m] { redraw_adventure_screen(m); });
}

namespace {

// The top `height` rows of a town's castle screen as drawn now.
SDL_Texture* capture_castle_screen(MainState& m, int castle, int height) {
    if (!m.renderer || !m.res || !m.res->castle || !m.game) return nullptr;
    GameSession& g = game_of(m);
    if (castle < 0 || (size_t)castle >= g.state.castles.size()) return nullptr;
    return dissolve_capture(m.renderer, 640, height, [&] {
        draw_castle_screen(m.renderer, *m.res->castle, *m.res, g.state, castle, false, m.fonts.def, m.fonts.small,
                           g.loop.screens.town.anim_step);
    });
}

}  // namespace

SDL_Texture* snapshot_town_picture(MainState& m, int castle) { return capture_castle_screen(m, castle, kTownPictureH); }

SDL_Texture* snapshot_castle_screen(MainState& m, int castle) { return capture_castle_screen(m, castle, 480); }

namespace {

// A w x h picture of the rectangle `src` of `from`.
SDL_Texture* crop(SDL_Renderer* r, SDL_Texture* from, const SDL_Rect& src) {
    if (!from) return nullptr;
    return dissolve_capture(r, src.w, src.h, [&] {
        const SDL_Rect dst{0, 0, src.w, src.h};
        SDL_RenderCopy(r, from, &src, &dst);
    });
}

}  // namespace

void dissolve_to_adventure_screen(MainState& m, SDL_Texture* old_picture) {
    if (!m.renderer) {
        if (old_picture) SDL_DestroyTexture(old_picture);
        return;
    }
    SDL_Texture* now = snapshot_adventure_screen(m);
    SDL_Texture* from = crop(m.renderer, old_picture, kMapViewArea);
    SDL_Texture* to = crop(m.renderer, now, kMapViewArea);
    if (now) SDL_DestroyTexture(now);
    if (from && to && m.map_dissolve) {
        m.map_dissolve(from, to);
    } else if (from && to) {
        DissolveMask mask;
        mask.reset(479, 480, 1, 10, 0);
        SDL_Texture* border = m.res ? m.res->adv_border : nullptr;
        dissolve_run(m.renderer, DissolveMode::RandomCells, mask, from, to, kMapViewArea, 500,
                     [&m] { redraw_adventure_screen(m); },
                     [&] {
                         if (border) SDL_RenderCopy(m.renderer, border, &kMapViewArea, &kMapViewArea);
                     });
        mask.free_textures();
    }
    if (from) SDL_DestroyTexture(from);
    if (to) SDL_DestroyTexture(to);
    if (old_picture) SDL_DestroyTexture(old_picture);
}

namespace {

// The map-view part of the puzzle map as the player sees it now (479 x 480), or null.
SDL_Texture* capture_puzzle_view(MainState& m) {
    GameSession& g = game_of(m);
    SDL_Texture* full = dissolve_capture(m.renderer, 640, 480, [&] {
        draw_puzzle_map(m.renderer, *m.adv, g.state, g.map, g.puzzle, g.loop.current_player);
    });
    SDL_Texture* view = crop(m.renderer, full, kMapViewArea);
    if (full) SDL_DestroyTexture(full);
    return view;
}

}  // namespace

void redraw_puzzle_screen(MainState& m) {
    if (!m.renderer || !m.game || !m.adv) return;
    GameSession& g = game_of(m);
    const AdventureFrame f = make_adventure_frame(m);
    draw_puzzle_map(m.renderer, *m.adv, g.state, g.map, g.puzzle, f.current_player);
    if (m.adv->border) {
        constexpr SDL_Rect kColumn{479, 0, 161, 480};
        SDL_RenderCopy(m.renderer, m.adv->border, &kColumn, &kColumn);
    }
    draw_locator_panel(m.renderer, *m.adv, g.state, g.loop.locator, g.loop.hero_order, g.loop.town_order,
                       &g.loop.hero_move_points, m.fonts.small, f.build_status ? &g.map : nullptr);
    draw_adv_buttons(m.renderer, *m.adv, -1);
    if (f.summary.kind != SUMMARY_NONE)
        draw_summary_panel(m.renderer, *m.adv, g.state, f.current_player, f.summary.kind, m.fonts.def, m.fonts.small);
    else
        draw_mini_hero_panel(m.renderer, *m.adv, g.state, f.selected_hero, m.fonts.def, m.fonts.small);
}

void dissolve_puzzle_reveal(MainState& m) {
    if (!m.renderer || !m.game || !m.adv) return;
    GameSession& g = game_of(m);
    const int p = g.loop.current_player;
    SDL_Texture* to = capture_puzzle_view(m);
    SDL_Texture* from = nullptr;
    if (p >= 0 && p < 4 && g.puzzle.visited_count[(size_t)p] != 0) {
        const int32_t count = g.puzzle.visited_count[(size_t)p];
        g.puzzle.visited_count[(size_t)p] = 0;
        from = capture_puzzle_view(m);
        g.puzzle.visited_count[(size_t)p] = count;
    }
    if (from && to) {
        DissolveMask mask;
        mask.reset(479, 480, 1, 20, 0);
        SDL_Texture* border = m.adv->border;
        dissolve_run(m.renderer, DissolveMode::RandomCells, mask, from, to, kMapViewArea, 4000,
                     [&m] { redraw_puzzle_screen(m); },
                     [&] {
                         if (border) SDL_RenderCopy(m.renderer, border, &kMapViewArea, &kMapViewArea);
                     });
        mask.free_textures();
    }
    if (from) SDL_DestroyTexture(from);
    if (to) SDL_DestroyTexture(to);
}

SDL_Texture* texture_provider(MainState& m) {
    if (!m.renderer) return nullptr;
    return dissolve_capture(m.renderer, 640, 480, [&m] { redraw_adventure_screen(m); });
}

bool fade_rect_for_tile(int x, int y, int view_x, int view_y, SDL_Rect& out) {
    const int px = (x + 8) * 32 - view_x;
    const int py = (y + 8) * 32 - view_y;
    if (px >= 479 || px <= -32 || py >= 480 || py <= -32) return false;
    const int x0 = std::max(px, 0), y0 = std::max(py, 0);
    const int w = std::min(px + 32, 479) - x0, h = std::min(py + 32, 480) - y0;
    if (w < 1 || h < 1) return false;
    out = SDL_Rect{x0, y0, w, h};
    return true;
}

void fade_out_map_tile(MainState& m, int x, int y, const std::string& sound) {
    GameSession& g = game_of(m);
    auto sound_now = [&] {
        if (m.audio_on && !sound.empty() && m.play_sound) m.play_sound(sound);
    };
    // Where the screen shows the tile: on a computer's turn, in the human's view.
    const AdventureFrame shown = make_adventure_frame(m);
    SDL_Rect rect;
    if (!fade_rect_for_tile(x, y, shown.view_x, shown.view_y, rect) || !m.renderer) {
        sound_now();
        return;
    }
    SDL_Texture* full = snapshot_adventure_screen(m);
    SDL_Texture* part = crop(m.renderer, full, rect);
    if (full) SDL_DestroyTexture(full);
    if (!part) {
        sound_now();
        return;
    }
    SDL_SetTextureBlendMode(part, SDL_BLENDMODE_BLEND);
    g.loop.fadeouts.push_back(TileFadeout{part, rect, sound, 0.0f});
}

void update_fadeouts(MainState& m, float dt_ms) {
    LoopState& l = game_of(m).loop;
    for (size_t i = 0; i < l.fadeouts.size();) {
        TileFadeout& f = l.fadeouts[i];
        if (f.elapsed_ms == 0.0f && m.audio_on && !f.sound.empty() && m.play_sound) m.play_sound(f.sound);
        f.elapsed_ms += std::max(dt_ms, 0.001f);
        if (f.elapsed_ms >= kTileFadeoutMs) {
            if (f.picture) SDL_DestroyTexture(f.picture);
            l.fadeouts.erase(l.fadeouts.begin() + (long)i);
        } else {
            ++i;
        }
    }
}

void draw_fadeouts(MainState& m) {
    if (!m.renderer) return;
    for (const TileFadeout& f : game_of(m).loop.fadeouts) {
        if (!f.picture) continue;
        const float left = 1.0f - std::clamp(f.elapsed_ms / kTileFadeoutMs, 0.0f, 1.0f);
        SDL_SetTextureAlphaMod(f.picture, (uint8_t)(left * 255.0f));
        SDL_RenderCopy(m.renderer, f.picture, nullptr, &f.rect);
    }
}

void free_fadeouts(LoopState& l) {
    for (TileFadeout& f : l.fadeouts)
        if (f.picture) SDL_DestroyTexture(f.picture);
    l.fadeouts.clear();
}

}  // namespace vorn1
