#pragma once
// The list of adventure spells a hero can cast now, shown in the map view when the options panel's
// spell button is pressed; a row click (or its number key) picks the spell.
#include <SDL.h>
#include <SDL_ttf.h>

#include <vector>

namespace vorn1 {

struct SpellChoiceState {
    bool open = false;
    int hero = -1;
    std::vector<int> spells;  // spell ids, one row each
    int pressed = -1;         // row held down
};

void open_spell_choice(SpellChoiceState& s, int hero, std::vector<int> spells);
void close_spell_choice(SpellChoiceState& s);

constexpr int kSpellChoiceW = 240;
constexpr int kSpellChoiceRowH = 24;
constexpr int kSpellChoiceTitleH = 32;
// The whole panel, centred in the map view, and one row of it.
SDL_Rect spell_choice_rect(const SpellChoiceState& s);
SDL_Rect spell_choice_row_rect(const SpellChoiceState& s, int row);
// The row under a screen point, -1 none.
int spell_choice_row_at(const SpellChoiceState& s, int x, int y);

// Every input is consumed while the list is open. A left release over the row that was pressed, or
// the number key of a row, picks that spell and closes the list; Esc, a right click or a click
// outside the panel closes it. Returns the spell picked, -1 none.
int handle_spell_choice_event(const SDL_Event& e, SpellChoiceState& s);

void draw_spell_choice(SDL_Renderer* r, const SpellChoiceState& s, TTF_Font* font);

}  // namespace vorn1
