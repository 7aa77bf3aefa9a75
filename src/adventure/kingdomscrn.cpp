#include "adventure/kingdomscrn.h"

#include <algorithm>
#include <string>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "world/town_names.h"
#include "world/new_day.h"

namespace vorn1 {

KingdomSummary kingdom_summary(const GameState& state, int player) {
    KingdomSummary k;
    if (!is_player_index(player)) return k;
    for (size_t i = 0; i < state.castles.size(); ++i)
        if (state.castles[i].live && state.castles[i].owner == player) {
            k.towns.push_back((int)i);
            if (state.castles[i].is_castle) ++k.castles;
        }
    for (size_t i = 0; i < state.heroes.size(); ++i)
        if (state.heroes[i].live && state.heroes[i].owner == player) k.heroes.push_back((int)i);
    for (const MineState& m : state.mines)
        if (m.live && m.owner == player && m.kind < MINE_KIND_COUNT) ++k.mines[m.kind];
    k.income = daily_income(state, player);
    return k;
}

void open_kingdom_overview_screen(KingdomOverviewState& s) {
    s.open = true;
    s.exit_pressed = 0;
    s.page = 0;
}

void close_kingdom_overview(KingdomOverviewState& s) { s = KingdomOverviewState{}; }

bool handle_kingdom_overview_event(const SDL_Event& e, KingdomOverviewState& s, int hero_count) {
    if (!s.open) return false;
    switch (e.type) {
    case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_ESCAPE) close_kingdom_overview(s);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) s.exit_pressed = point_in(kKingdomExitRect, e.button.x, e.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            const bool fire = s.exit_pressed && point_in(kKingdomExitRect, e.button.x, e.button.y);
            s.exit_pressed = 0;
            if (fire) close_kingdom_overview(s);
        }
        break;
    case SDL_MOUSEWHEEL: {
        const int last = std::max(0, hero_count - kKingdomRows);
        s.page = (uint8_t)std::clamp((int)s.page - e.wheel.y, 0, std::min(last, 255));
        break;
    }
    default: break;
    }
    return true;
}

void draw_kingdom_overview(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                           const KingdomOverviewState& s, int player, TTF_Font* font, TTF_Font* small_font) {
    if (!s.open) return;
    const SDL_Color ink{240, 232, 200, 255};
    SDL_SetRenderDrawColor(r, 40, 32, 24, 255);
    SDL_RenderFillRect(r, &kScreenRect);
    const KingdomSummary k = kingdom_summary(state, player);
    text::centered_box(r, font, strings().get("ADV_KINGDOM_TITLE"), 0, 8, 640, ink);

    // Heroes on the left, one row each.
    text::at(r, font, strings().get("ADV_KINGDOM_HEROES"), 16, 40, ink);
    for (int row = 0; row < kKingdomRows; ++row) {
        const size_t i = (size_t)s.page + row;
        if (i >= k.heroes.size()) break;
        const HeroState& h = state.heroes[(size_t)k.heroes[i]];
        const int y = 64 + row * 30;
        if (const SpriteFrame* f = res.mini_portraits.get(h.portrait)) {
            SDL_Rect dst{16, y, f->w, f->h};
            SDL_RenderCopy(r, f->tex, nullptr, &dst);
        }
        text::at(r, small_font, localized_hero_name(h.name), 52, y + 4, ink);
        text::at(r, small_font, strings().format("ADV_KINGDOM_LEVEL", {std::to_string(h.level)}), 200, y + 4, ink);
    }
    // Towns on the right.
    text::at(r, font, strings().get("ADV_KINGDOM_TOWNS"), 330, 40, ink);
    for (int row = 0; row < kKingdomRows && row < (int)k.towns.size(); ++row) {
        const CastleState& c = state.castles[(size_t)k.towns[(size_t)row]];
        const int y = 64 + row * 30;
        if (const SpriteFrame* f = res.locators.get((c.faction & 3) * 2 + (c.is_castle ? 1 : 0))) {
            SDL_Rect dst{330, y, f->w / 2, f->h / 2 + 12};
            SDL_RenderCopy(r, f->tex, nullptr, &dst);
        }
        text::at(r, small_font, localized_castle_name(c.name), 370, y + 4, ink);
    }
    // Mines by kind and the day's income.
    text::at(r, font, strings().get("ADV_KINGDOM_MINES"), 16, 320, ink);
    for (int m = 0; m < MINE_KIND_COUNT; ++m) {
        const int x = 16 + m * 64;
        const int res_index = resource_index_of_kind(m);
        if (const SpriteFrame* f = res.resources.get(res_index)) {
            SDL_Rect dst{x, 344, f->w, f->h};
            SDL_RenderCopy(r, f->tex, nullptr, &dst);
        }
        text::at(r, small_font, std::to_string(k.mines[(size_t)m]), x + 36, 352, ink);
    }
    // The day's income of every resource, under the column of its mines.
    text::at(r, font, strings().get("ADV_KINGDOM_INCOME"), 16, 390, ink);
    for (int m = 0; m < MINE_KIND_COUNT; ++m)
        text::at(r, small_font, std::to_string(k.income[resource_index_of_kind(m)]), 16 + m * 64, 414, ink);
    SDL_SetRenderDrawColor(r, s.exit_pressed ? 96 : 160, s.exit_pressed ? 80 : 136, s.exit_pressed ? 56 : 96, 255);
    SDL_RenderFillRect(r, &kKingdomExitRect);
    text::centered_xy(r, small_font, strings().get("ADV_KINGDOM_EXIT"), kKingdomExitRect.x, kKingdomExitRect.y,
                      kKingdomExitRect.w, kKingdomExitRect.h, SDL_Color{24, 16, 8, 255});
}

}  // namespace vorn1
