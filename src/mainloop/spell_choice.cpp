#include "mainloop/spell_choice.h"

#include <string>

#include "adventure/adv_geometry.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/spell_table.h"

namespace vorn1 {

namespace {
bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }
}  // namespace

void open_spell_choice(SpellChoiceState& s, int hero, std::vector<int> spells) {
    s.open = true;
    s.hero = hero;
    s.spells = std::move(spells);
    s.pressed = -1;
}

void close_spell_choice(SpellChoiceState& s) { s = SpellChoiceState{}; }

SDL_Rect spell_choice_rect(const SpellChoiceState& s) {
    const int h = kSpellChoiceTitleH + kSpellChoiceRowH * (int)s.spells.size() + 8;
    return SDL_Rect{(kMapViewRect.w - kSpellChoiceW) / 2, (kMapViewRect.h - h) / 2, kSpellChoiceW, h};
}

SDL_Rect spell_choice_row_rect(const SpellChoiceState& s, int row) {
    const SDL_Rect p = spell_choice_rect(s);
    return SDL_Rect{p.x + 8, p.y + kSpellChoiceTitleH + row * kSpellChoiceRowH, p.w - 16, kSpellChoiceRowH};
}

int spell_choice_row_at(const SpellChoiceState& s, int x, int y) {
    for (int i = 0; i < (int)s.spells.size(); ++i)
        if (inside(spell_choice_row_rect(s, i), x, y)) return i;
    return -1;
}

int handle_spell_choice_event(const SDL_Event& e, SpellChoiceState& s) {
    if (!s.open) return -1;
    auto pick = [&](int row) {
        const int spell = row >= 0 && row < (int)s.spells.size() ? s.spells[(size_t)row] : -1;
        close_spell_choice(s);
        return spell;
    };
    switch (e.type) {
    case SDL_KEYDOWN: {
        const SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_ESCAPE) close_spell_choice(s);
        else if (k >= SDLK_1 && k <= SDLK_9 && k - SDLK_1 < (int)s.spells.size()) return pick(k - SDLK_1);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) {
            s.pressed = spell_choice_row_at(s, e.button.x, e.button.y);
            if (!inside(spell_choice_rect(s), e.button.x, e.button.y)) close_spell_choice(s);
        } else if (e.button.button == SDL_BUTTON_RIGHT) {
            close_spell_choice(s);
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            const int row = spell_choice_row_at(s, e.button.x, e.button.y);
            const bool fire = row >= 0 && row == s.pressed;
            s.pressed = -1;
            if (fire) return pick(row);
        }
        break;
    default: break;
    }
    return -1;
}

void draw_spell_choice(SDL_Renderer* r, const SpellChoiceState& s, TTF_Font* font) {
    if (!r || !s.open) return;
    const SDL_Rect p = spell_choice_rect(s);
    SDL_SetRenderDrawColor(r, 48, 40, 32, 255);
    SDL_RenderFillRect(r, &p);
    SDL_SetRenderDrawColor(r, 216, 192, 128, 255);
    SDL_RenderDrawRect(r, &p);
    const SDL_Color ink{240, 232, 200, 255};
    text::centered_box(r, font, strings().get("GAME_CAST_ADVENTURE_SPELL"), p.x, p.y + 8, p.w, ink);
    for (int i = 0; i < (int)s.spells.size(); ++i) {
        const SDL_Rect row = spell_choice_row_rect(s, i);
        if (i == s.pressed) {
            SDL_SetRenderDrawColor(r, 96, 80, 56, 255);
            SDL_RenderFillRect(r, &row);
        }
        text::at(r, font, std::to_string(i + 1) + "  " + spell_name(s.spells[(size_t)i]), row.x + 4, row.y + 3, ink);
    }
}

}  // namespace vorn1
