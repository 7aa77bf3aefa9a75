#include "town/swapwin.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "assets/dialog_utils.h"
#include "assets/icn.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event_actions.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "town/army_view.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/heroscrn.h"
#include "town/heroscrn_tooltip.h"
#include "world/town_names.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

constexpr SDL_Rect kPortrait[2] = {{44, 60, 101, 93}, {335, 60, 101, 93}};
constexpr SDL_Color kYellow{255, 216, 0, 255};
constexpr SDL_Color kSelection{255, 220, 0, 255};

bool in(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

int army_cell_at(int x, int y, int& side) {
    if (y < 164 || y > 195) return -1;
    for (side = 0; side < 2; ++side)
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (in(swap_army_cell(side, i), x, y)) return i;
    return -1;
}

HeroState* side_hero(SwapWinState& s, GameState& game, int side) {
    const int h = side == 0 ? s.hero_a : s.hero_b;
    return game.valid_hero(h) ? &game.heroes[(size_t)h] : nullptr;
}

void click_artifact(SwapWinState& s, GameState& game, const Resources* res, int side, int slot) {
    s.troops.selected = SlotAddr{};
    HeroState* to = side_hero(s, game, side);
    if (!to) return;
    uint8_t& clicked = to->artifacts[(size_t)slot];
    if (s.art_side < 0) {
        if (clicked == EMPTY_ID) return;
        if (clicked == kMagicBook) {
            open_spellbook_modal(s, res);
            return;
        }
        s.art_side = side;
        s.art_slot = slot;
        return;
    }
    const int from_side = s.art_side, from_slot = s.art_slot;
    s.art_side = s.art_slot = -1;
    if (from_side == side && from_slot == slot) return;
    HeroState* from = side_hero(s, game, from_side);
    if (!from) return;
    uint8_t& picked = from->artifacts[(size_t)from_slot];
    if (clicked == kMagicBook || picked == kMagicBook) {
        open_spellbook_modal(s, res);
        return;
    }
    std::swap(picked, clicked);
    recalc_hero_artifact_stats(*from);
    if (from != to) recalc_hero_artifact_stats(*to);
}

void outline_cell(SDL_Renderer* r, const SDL_Rect& c) {
    outline_rect(r, c, kSelection);
    outline_rect(r, SDL_Rect{c.x + 1, c.y + 1, c.w - 2, c.h - 2}, kSelection);
}

void blit_centred(SDL_Renderer* r, SDL_Texture* t, const SDL_Rect& cell) {
    if (!t) return;
    const SDL_Point s = texture_size(t);
    blit_into(r, t, SDL_Rect{cell.x + (cell.w - s.x) / 2, cell.y + (cell.h - s.y) / 2, s.x, s.y});
}

}  // namespace

void SwapWinResources::load(SDL_Renderer* r, const AggArchive& archive, const Palette& pal) {
    unload();
    background = town_picture(r, archive, pal, "SWAPWIN.BMP");
    if (!background) std::cerr << "  WARNING: SWAPWIN.BMP not found in AGG\n";
    std::vector<SDL_Texture*> frames;
    if (!town_sprite_set(r, archive, pal, "SWAPBTN.ICN", frames, "  WARNING: SWAPBTN.ICN not found in AGG\n")) return;
    if (g_language != EN)
        for (const auto& [index, img] : load_lang_icn_override(lang_assets_root(), lang_code(g_language), "SWAPBTN")) {
            if (index < 0 || index > 1) continue;
            if ((size_t)index >= frames.size()) frames.resize((size_t)index + 1, nullptr);
            if (frames[(size_t)index]) SDL_DestroyTexture(frames[(size_t)index]);
            frames[(size_t)index] = img_to_tex(r, img, true);
        }
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i == 0) exit_up = frames[i];
        else if (i == 1) exit_down = frames[i];
        else if (frames[i]) SDL_DestroyTexture(frames[i]);
    }
}

void SwapWinResources::unload() {
    for (SDL_Texture** t : {&background, &exit_up, &exit_down}) {
        if (*t) SDL_DestroyTexture(*t);
        *t = nullptr;
    }
}

int find_allied_hero_at_tile(const GameState& game, int x, int y, int owner, int exclude) {
    for (size_t i = 0; i < game.heroes.size(); ++i) {
        const HeroState& h = game.heroes[i];
        if (h.live && h.owner == owner && h.x == x && h.y == y && (int)i != exclude) return (int)i;
    }
    return -1;
}

void open_swap_window(SwapWinState& s, int hero_a, int hero_b, ArmyViewSystem* army_view) {
    s.open = true;
    s.exit_pressed = false;
    s.hero_a = hero_a;
    s.hero_b = hero_b;
    s.portrait_request = -1;
    s.troops.clear();
    s.art_side = s.art_slot = -1;
    s.notice_open = s.notice_ok_pressed = false;
    s.army_view = army_view;
}

SDL_Rect swap_artifact_cell(int side, int slot) {
    const int x = (side == 0 ? 92 : 321) + (slot < 7 ? 0 : 35);
    return SDL_Rect{x, 210 + 35 * (slot % 7), 32, 32};
}

SDL_Rect swap_army_cell(int side, int slot) { return SDL_Rect{(side == 0 ? 40 : 268) + 35 * slot, 164, 32, 32}; }

bool swap_artifact_cell_at(int x, int y, int& side, int& slot) {
    for (side = 0; side < 2; ++side)
        for (slot = 0; slot < ARTIFACT_SLOTS; ++slot)
            if (in(swap_artifact_cell(side, slot), x, y)) return true;
    return false;
}

void open_spellbook_modal(SwapWinState& s, const Resources* res) {
    s.notice_open = true;
    s.notice_ok_pressed = false;
    const SDL_Point size = res ? res->system_btn.size(9) : SDL_Point{0, 0};
    if (!res || !res->system_btn.at(9) || size.x < 1 || size.y < 1) {
        s.notice_ok_rect = SDL_Rect{276, 261, 89, 30};
        return;
    }
    s.notice_ok_rect = SDL_Rect{320 - size.x / 2, 254 + (45 - size.y) / 2, size.x, size.y};
}

bool handle_swap_event(const SDL_Event& e, SwapWinState& s, GameState& game, TTF_Font*, const Resources* res) {
    if (!s.open) return false;
    const bool key = e.type == SDL_KEYDOWN;
    if (s.notice_open) {
        if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT && in(s.notice_ok_rect, e.button.x, e.button.y))
            s.notice_ok_pressed = true;
        else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
            if (s.notice_ok_pressed && in(s.notice_ok_rect, e.button.x, e.button.y)) s.notice_open = false;
            s.notice_ok_pressed = false;
        } else if (close_key(e)) {
            s.notice_open = false;
        }
        return true;
    }
    if (s.troops.split.open) {
        handle_sdl_event_swap(s.troops, e, game);
        return true;
    }
    if (s.army_view && s.army_view->view.open && s.army_view->handle_event(e, game)) return true;
    if (key) {
        if (e.key.keysym.sym == SDLK_ESCAPE) s.open = false;
        return true;
    }
    if (e.type == SDL_MOUSEBUTTONUP) {
        if (e.button.button == SDL_BUTTON_RIGHT && s.army_view) s.army_view->tip = ArmyViewInfo{};
        if (e.button.button == SDL_BUTTON_LEFT) {
            if (s.exit_pressed && in(kSwapExitRect, e.button.x, e.button.y)) s.open = false;
            s.exit_pressed = false;
        }
        return true;
    }
    if (e.type != SDL_MOUSEBUTTONDOWN) return true;
    const int x = e.button.x, y = e.button.y;
    const bool left = e.button.button == SDL_BUTTON_LEFT;
    if (left && in(kSwapExitRect, x, y)) {
        s.exit_pressed = true;
        return true;
    }
    for (int side = 0; side < 2; ++side)
        if (left && in(kPortrait[side], x, y)) {
            s.portrait_request = side;
            return true;
        }
    int side = 0;
    const int cell = army_cell_at(x, y, side);
    if (cell >= 0) {
        const SlotAddr addr{side == 0 ? SLOT_HERO : SLOT_HERO_B, cell};
        if (e.button.button == SDL_BUTTON_RIGHT) {
            if (s.army_view) s.army_view->open_tooltip(addr, game, -1, side == 0 ? s.hero_a : s.hero_b);
        } else if (left) {
            s.art_side = s.art_slot = -1;
            s.troops.handle_slot_click_swap(addr, game, s.hero_a, s.hero_b, (SDL_GetModState() & KMOD_SHIFT) != 0);
        }
        return true;
    }
    int slot = 0;
    if (swap_artifact_cell_at(x, y, side, slot)) {
        if (left) click_artifact(s, game, res, side, slot);
        return true;
    }
    if (left && in(kSwapWindowRect, x, y)) {
        s.troops.selected = SlotAddr{};
        s.art_side = s.art_slot = -1;
    }
    return true;
}

void draw_swap_screen(SDL_Renderer* r, const SwapWinResources& sres, const Resources& res, const SwapWinState& s,
                      const GameState& game, TTF_Font* font, TTF_Font* small_font) {
    if (!r || !s.open || !game.valid_hero(s.hero_a) || !game.valid_hero(s.hero_b)) return;
    const HeroState* heroes[2] = {&game.heroes[(size_t)s.hero_a], &game.heroes[(size_t)s.hero_b]};
    if (!blit_into(r, sres.background, kSwapWindowRect)) {
        fill_rect(r, kSwapWindowRect, SDL_Color{60, 35, 15, 255});
        outline_rect(r, kSwapWindowRect, SDL_Color{200, 160, 50, 255});
    }
    text::centered_cx(r, font,
                      strings().format("SWAP_HERO_MEETS", {localized_hero_name(heroes[0]->name),
                                                           localized_hero_name(heroes[1]->name)}),
                      240, 28, kYellow);
    for (int side = 0; side < 2; ++side) {
        const uint8_t p = heroes[side]->portrait;
        if (p >= 36 || !blit_into(r, res.portraits[p], kPortrait[side])) fill_rect(r, kPortrait[side], {40, 40, 40, 255});
    }
    blit_frame_into(r, res.townwind, 18, SDL_Rect{330, 54, 111, 105});
    static const char* const kSkill[4] = {"HERO_ATTACK_SKILL", "HERO_DEFENSE_SKILL", "HERO_SPELL_POWER", "HERO_KNOWLEDGE"};
    for (int k = 0; k < 4; ++k) {
        const int y = 72 + 18 * k;
        text::centered_cx(r, small_font, strings().get(kSkill[k]), 238, y, SDL_Color{255, 255, 255, 255});
        text::right_at(r, small_font, std::to_string(hero_shown_skill(*heroes[0], k)), 193, y, kYellow, 0);
        text::at(r, small_font, std::to_string(hero_shown_skill(*heroes[1], k)), 285, y, kYellow);
    }
    for (int side = 0; side < 2; ++side) {
        const Army& a = heroes[side]->army;
        for (int i = 0; i < ARMY_SLOTS; ++i) {
            if (a.ids[i] == EMPTY_ID || a.counts[i] == 0) continue;
            const SDL_Rect c = swap_army_cell(side, i);
            blit_centred(r, res.mons32.at(a.ids[i]), c);
            text::centered_cx(r, small_font, std::to_string(a.counts[i]), c.x + 16, 199, SDL_Color{255, 255, 160, 255});
        }
        for (int slot = 0; slot < ARTIFACT_SLOTS; ++slot) {
            const uint8_t id = heroes[side]->artifacts[(size_t)slot];
            if (id != EMPTY_ID) blit_centred(r, res.artifact.at(id), swap_artifact_cell(side, slot));
        }
    }
    if (s.troops.selected.valid())
        outline_cell(r, swap_army_cell(s.troops.selected.context == SLOT_HERO_B ? 1 : 0, s.troops.selected.index));
    if (s.art_side >= 0 && s.art_slot >= 0) outline_cell(r, swap_artifact_cell(s.art_side, s.art_slot));
    blit_into(r, s.exit_pressed ? sres.exit_down : sres.exit_up, kSwapExitRect);
    if (s.notice_open) {
        draw_buybuild_border(r, res, 177, 132, 2);
        // Wrapped inside the frame and kept above the button's row, the lines centred where one line stands.
        const std::vector<std::string> lines = text::wrap_in_box(font, strings().get("SWAP_CANNOT_TRADE"), 256, 100);
        const int n = (int)lines.size(), skip = n > 0 ? text::line_skip(font) : 0;
        text::draw_lines_box(r, font, lines, 177, std::min(229 - (n - 1) * skip / 2, 250 - n * skip), kBorderWidth,
                             SDL_Color{255, 255, 255, 255});
        blit_frame_into(r, res.system_btn, s.notice_ok_pressed ? 10 : 9, s.notice_ok_rect);
    }
}

}  // namespace vorn1
