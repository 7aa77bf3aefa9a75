#include "lang/lang_selector.h"

#include "assets/text_render.h"

namespace vorn1 {

void draw_language_selector(SDL_Renderer* r, TTF_Font* font, Language lang) {
    if (!r) return;
    Uint8 old_r, old_g, old_b, old_a;
    SDL_BlendMode old_mode;
    SDL_GetRenderDrawColor(r, &old_r, &old_g, &old_b, &old_a);
    SDL_GetRenderDrawBlendMode(r, &old_mode);

    const SDL_Rect box = kLanguageSelectorBox;
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(r, 20, 20, 20, 200);
    SDL_RenderFillRect(r, &box);
    SDL_SetRenderDrawColor(r, 200, 170, 50, 255);
    SDL_RenderDrawRect(r, &box);

    text::centered_xy(r, font, lang_code(lang), box.x, box.y, box.w, box.h, SDL_Color{255, 255, 255, 255});

    SDL_SetRenderDrawColor(r, old_r, old_g, old_b, old_a);
    SDL_SetRenderDrawBlendMode(r, old_mode);
}

bool language_selector_hit(int x, int y) {
    const SDL_Rect box = kLanguageSelectorBox;
    return x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

Language next_language(Language lang) {
    return lang >= EN && lang < BR ? static_cast<Language>(lang + 1) : EN;
}

}  // namespace vorn1
