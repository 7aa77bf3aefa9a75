#include "mainloop/transitions.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/render_ui.h"
#include "assets/dissolve.h"
#include "assets/resources.h"

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
    f.font = m.fonts.def;
    f.small_font = m.fonts.small;
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
    if (from && to) {
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
    SDL_Rect rect;
    if (!fade_rect_for_tile(x, y, g.loop.view_x, g.loop.view_y, rect) || !m.renderer) {
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
