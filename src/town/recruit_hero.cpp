#include "town/recruit_hero.h"

#include <algorithm>
#include <string>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "world/game_state.h"
#include "world/hero_pool.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kPale{255, 255, 180, 255};
constexpr const char* kClassKey[4] = {"CLASS_KNIGHT", "CLASS_BARBARIAN", "CLASS_SORCERESS", "CLASS_WARLOCK"};

bool in(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r);
}

bool in_dialog_area(int x, int y) { return x >= 169 && x <= 470 && y >= 77 && y <= 401; }

const CastleState* town_of(const GameState& game, int castle) {
    if (castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return nullptr;
    return &game.castles[static_cast<size_t>(castle)];
}

}  // namespace

void RecruitHeroSystem::populate_slots(int town, const GameState& game) {
    offered = {-1, -1};
    const CastleState* c = town_of(game, town);
    if (!c || !is_player_index(c->owner)) return;
    for (int i = 0; i < 2; ++i) {
        const int idx = game.offers[static_cast<size_t>(c->owner)][static_cast<size_t>(i)];
        offered[static_cast<size_t>(i)] = idx >= 0 && idx < HERO_POOL_SIZE ? idx : -1;
    }
}

void RecruitHeroSystem::open_dialog(int town, const GameState& game) {
    close();
    open = true;
    castle = town;
    populate_slots(town, game);
}

void RecruitHeroSystem::open_tooltip(int town, const GameState& game) {
    open_dialog(town, game);
    tooltip = true;
}

RecruitPricePlace recruit_price_place(SDL_Point icon, SDL_Point text, int dy) {
    constexpr int kBoxX = 169, kBoxW = 302, kGap = 2;
    const int top = 302 + dy, room = 340 - 302;  // Cancel's top is at 342
    RecruitPricePlace p;
    if (icon.x <= 0 || icon.y <= 0) {
        p.text = {kBoxX + (kBoxW - text.x) / 2, top};
    } else if (icon.y + kGap + text.y <= room) {
        p.icon = {kBoxX + (kBoxW - icon.x) / 2, top, icon.x, icon.y};
        p.text = {kBoxX + (kBoxW - text.x) / 2, top + icon.y + kGap};
    } else {
        const int h = std::min(icon.y, room), w = icon.x * h / icon.y;
        const int left = kBoxX + (kBoxW - (w + 2 * kGap + text.x)) / 2;
        p.icon = {left, top + (room - h) / 2, w, h};
        p.text = {left + w + 2 * kGap, top + (room - text.y) / 2};
    }
    return p;
}

SDL_Rect RecruitHeroSystem::recruit_btn_rect(int i) const { return SDL_Rect{i == 0 ? 196 : 319, 273, 111, 25}; }
SDL_Rect RecruitHeroSystem::cancel_btn_rect() const { return SDL_Rect{265, 342, 110, 25}; }
SDL_Rect RecruitHeroSystem::portrait_rect(int i) const { return SDL_Rect{i == 0 ? 200 : 323, 157 + dy(), 101, 93}; }

bool RecruitHeroSystem::can_hire(const GameState& game, int town) {
    const CastleState* c = town_of(game, town);
    if (!c || !is_player_index(c->owner)) return false;
    if (game.resources[static_cast<size_t>(c->owner)].gold < HERO_HIRE_COST) return false;
    if (HeroPool::count_player_heroes(c->owner, game) >= MAX_HEROES_PER_PLAYER) return false;
    return game.hero_at(c->x, c->y) < 0;
}

void RecruitHeroSystem::hire(int i, GameState& game, GameMap& map, const std::function<void(int)>& on_hired) {
    const int town = castle;
    const int pool_index = offered[static_cast<size_t>(i)];
    close();
    if (!can_hire(game, town)) return;
    const CastleState& c = game.castles[static_cast<size_t>(town)];
    // The gold goes only once the hero is in play.
    const int hero = hire_hero(game, map, pool_index, c.owner, c.x, c.y);
    if (hero >= 0 && on_hired) on_hired(hero);
}

int RecruitHeroSystem::handle_sdl_event(const SDL_Event& e, GameState& game, GameMap& map,
                                        const std::function<void(int)>& on_hired) {
    if (!open) return 0;
    if (tooltip) {
        if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_RIGHT) {
            close();
            return 0;
        }
        return 1;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN) {
        const int x = e.button.x, y = e.button.y;
        for (int i = 0; i < 2; ++i) {
            if (offered[static_cast<size_t>(i)] >= 0 && in(portrait_rect(i), x, y)) {
                portrait_clicked = i;
                return 0;
            }
        }
        if (e.button.button != SDL_BUTTON_LEFT) return 0;
        for (int i = 0; i < 2; ++i) {
            if (offered[static_cast<size_t>(i)] >= 0 && in(recruit_btn_rect(i), x, y)) {
                recruit_pressed = i;
                return 1;
            }
        }
        if (in(cancel_btn_rect(), x, y)) cancel_pressed = true;
        else if (!in_dialog_area(x, y)) close();
        return 1;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        if (recruit_pressed >= 0) {
            const int i = recruit_pressed;
            recruit_pressed = -1;
            if (offered[static_cast<size_t>(i)] >= 0 && in(recruit_btn_rect(i), x, y)) hire(i, game, map, on_hired);
        } else if (cancel_pressed) {
            cancel_pressed = false;
            if (in(cancel_btn_rect(), x, y)) close();
        }
        return 1;
    }
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) close();
    return 1;
}

void RecruitHeroSystem::draw(SDL_Renderer* r, const Resources& res, const GameState& game, TTF_Font* main_font,
                             TTF_Font* small_font) const {
    if (!r || !open) return;
    fill_rect(r, SDL_Rect{0, 0, 640, 480}, SDL_Color{0, 0, 0, 140});
    const int y0 = 77 + dy();
    draw_buybuild_border(r, res, 177, y0, 4);
    text::centered_box(r, main_font, strings().get("HEROPOOL_RECRUIT_HERO"), 169, 129 + dy(), 302,
                       SDL_Color{255, 255, 255, 255});
    draw_hero_slot(r, res, game, main_font, small_font, offered[0], 31, 80, recruit_pressed == 0);
    draw_hero_slot(r, res, game, main_font, small_font, offered[1], 154, 80, recruit_pressed == 1);
    if (!tooltip) {
        for (int i = 0; i < 2; ++i) {
            if (offered[static_cast<size_t>(i)] < 0) continue;
            const SDL_Rect b = recruit_btn_rect(i);
            blit_frame(r, res.townwind, recruit_pressed == i ? 21 : 20, b.x, b.y);
        }
        blit_frame(r, res.system_btn, cancel_pressed ? 4 : 3, 265, 342);
    }
    SDL_Texture* gold = res.resource.at(6);
    const std::string price = std::to_string(HERO_HIRE_COST);
    const RecruitPricePlace place =
        recruit_price_place(gold ? texture_size(gold) : SDL_Point{0, 0}, text::measure(small_font, price), dy());
    blit_into(r, gold, place.icon);
    text::at(r, small_font, price, place.text.x, place.text.y, kPale);
}

void RecruitHeroSystem::draw_hero_slot(SDL_Renderer* r, const Resources& res, const GameState& game, TTF_Font*,
                                       TTF_Font* small_font, int pool_index, int dx, int dy_off, bool) const {
    const int x = 169 + dx, y = 77 + dy_off + dy();
    const SDL_Rect pic{x, y, 101, 93};
    const bool offered_hero = pool_index >= 0 && pool_index < HERO_POOL_SIZE;
    SDL_Texture* portrait = offered_hero ? res.portraits[static_cast<size_t>(pool_index)] : nullptr;
    if (!blit_into(r, portrait, pic)) fill_rect(r, pic, SDL_Color{40, 40, 60, 255});
    blit_frame_into(r, res.townwind, 18, SDL_Rect{x - 5, y - 6, 111, 105});
    if (!offered_hero) return;
    const int cls = game.pool.entries[static_cast<size_t>(pool_index)].kind & 0x0F;
    // The class name in the band between the portrait's border and the Recruit button.
    const int band_top = y - 6 + 105, band_h = 273 + dy() - band_top;
    const int label_y = band_top + std::max(0, band_h - (small_font ? TTF_FontHeight(small_font) : 0)) / 2;
    if (cls <= 3) text::centered_box(r, small_font, strings().get(kClassKey[cls]), x, label_y, 101, kPale);
}

}  // namespace vorn1
