#include "adventure/new_day_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "adventure/adv_geometry.h"
#include "adventure/render_map.h"
#include "assets/agg.h"
#include "assets/icn.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"

namespace vorn1 {

bool NewDayResources::load(SDL_Renderer* r, const AggArchive& archive, const Palette& palette) {
    unload();
    const std::vector<uint8_t> bytes = archive.get(kNewDayEntry);
    if (bytes.empty()) {
        std::fprintf(stderr, "  WARNING: %s missing\n", kNewDayEntry);
        return false;
    }
    try {
        IcnFrames icn = decode_icn(bytes, palette);
        for (size_t i = 0; i < icn.headers.size(); ++i) {
            SpriteFrame f;
            f.x = icn.headers[i].x;
            f.y = icn.headers[i].y;
            f.w = icn.headers[i].width;
            f.h = icn.headers[i].height;
            const Image& img = icn.frames[i];
            if (r && !img.empty()) {
                f.tex = SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, img.width, img.height);
                if (f.tex) {
                    SDL_UpdateTexture(f.tex, nullptr, img.pixels.data(), img.width * 4);
                    SDL_SetTextureBlendMode(f.tex, SDL_BLENDMODE_BLEND);
                }
            }
            sun.frames.push_back(f);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "  WARN %s: %s\n", kNewDayEntry, e.what());
        unload();
        return false;
    }
    return true;
}

void NewDayResources::unload() {
    for (SpriteFrame& f : sun.frames)
        if (f.tex) SDL_DestroyTexture(f.tex);
    sun.frames.clear();
}

void begin_new_day_animation(NewDayState& nd, const NewDayResources* res, const GameState& state, bool audio_on,
                             const std::function<void()>& play_jingle, const std::array<bool, 4>& eliminated) {
    (void)res;
    (void)state;
    nd.active = true;
    nd.elapsed_ms = 0.0f;
    nd.eliminated = eliminated;
    if (audio_on && play_jingle) play_jingle();
}

unsigned new_day_players_shown(const NewDayState& nd, const GameState& state) {
    unsigned mask = 0;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (state.seat_active(p) && !nd.eliminated[(size_t)p]) mask |= 1u << p;
    return mask;
}

bool tick_new_day_animation(NewDayState& nd, float ms) {
    if (!nd.active) return false;
    if (std::isfinite(ms) && ms > 0.0f) nd.elapsed_ms += ms;
    if (nd.elapsed_ms < kNewDayMs) return false;
    nd.active = false;
    return true;
}

int new_day_sun_frame(const NewDayState& nd, int frames) {
    if (frames <= 0) return 0;
    const float t = std::clamp(nd.elapsed_ms / kNewDayMs, 0.0f, 1.0f);
    return std::min(frames - 1, (int)(t * (float)frames));
}

void draw_new_day_panel(SDL_Renderer* r, const NewDayResources* res, const NewDayState& nd, const GameState& state,
                        TTF_Font* font, TTF_Font* small_font) {
    const SDL_Rect& p = kInfoPanelRect;
    SDL_SetRenderDrawColor(r, 40, 56, 112, 255);
    SDL_RenderFillRect(r, &p);
    const SpriteFrame* f = res ? res->sun.get(new_day_sun_frame(nd, res->sun.size())) : nullptr;
    if (f) {
        SDL_Rect dst{p.x + (p.w - f->w) / 2, p.y + 2, f->w, f->h};
        SDL_RenderCopy(r, f->tex, nullptr, &dst);
    } else {
        // A plain sun climbing with the time elapsed.
        const float t = std::clamp(nd.elapsed_ms / kNewDayMs, 0.0f, 1.0f);
        SDL_SetRenderDrawColor(r, 252, 208, 40, 255);
        SDL_Rect sun{p.x + p.w / 2 - 10, p.y + 44 - (int)(t * 36.0f), 20, 20};
        SDL_RenderFillRect(r, &sun);
    }
    // A mark in each remaining player's colour down the left edge.
    const unsigned shown = new_day_players_shown(nd, state);
    for (int pl = 0, row = 0; pl < MAX_PLAYERS; ++pl) {
        if (!(shown >> pl & 1u)) continue;
        const SDL_Color c = player_rgb(owner_colour(state, pl));
        SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
        SDL_Rect mark{p.x + 4, p.y + 4 + row++ * 11, 8, 8};
        SDL_RenderFillRect(r, &mark);
    }
    const SDL_Color ink{255, 248, 220, 255};
    text::centered_box(r, font, strings().format("ADV_NEW_DAY", {std::to_string(state.day)}), p.x, p.y + 50, p.w, ink);
    const char* key = nd.month_changed ? "ADV_NEW_MONTH" : state.day == 1 ? "ADV_NEW_WEEK" : nullptr;
    if (key)
        text::centered_box(r, small_font,
                           strings().format(key, {std::to_string(state.week), std::to_string(state.month)}), p.x,
                           p.y + 70, p.w, ink);
}

}  // namespace vorn1
