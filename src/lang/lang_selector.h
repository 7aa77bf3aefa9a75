#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include "lang/language.h"

namespace vorn1 {

// The language box of the title menu: (8, 8), 44 x 22.
constexpr SDL_Rect kLanguageSelectorBox{8, 8, 44, 22};

// Draws the box filled with RGBA (20, 20, 20, 200), bordered in (200, 170, 50), with the language's
// two-letter code centred in it (no code without a font). Keeps the renderer's colour and blend mode.
void draw_language_selector(SDL_Renderer* r, TTF_Font* font, Language lang);

// Whether a logical point lies in the box (x 8..51, y 8..29).
bool language_selector_hit(int x, int y);

// The next language in enumeration order, BR wrapping to EN.
Language next_language(Language lang);

}  // namespace vorn1
