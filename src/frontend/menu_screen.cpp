#include "frontend/menu_screen.h"

#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/frontend_common.h"
#include "lang/lang_selector.h"

namespace vorn1 {

SDL_Rect menu_button_rect(int row) { return {432, MNU_BTN_Y[row] + 32, 127, 63}; }

const std::vector<MenuBtnDef>& main_menu_buttons() {
    static const std::vector<MenuBtnDef> rows{{2, 3}, {0, 1}, {4, 5}, {6, 7}, {8, 9}};
    return rows;
}

const MenuKeys& main_menu_keys() {
    static const MenuKeys keys{{SDLK_n, 0}, {SDLK_RETURN, 0}, {SDLK_KP_ENTER, 0}, {SDLK_l, 1}, {SDLK_ESCAPE, 4}};
    return keys;
}

void draw_title_backdrop(SDL_Renderer* renderer, TitleSeaCycle* sea, SDL_Texture* background) {
    const SDL_Rect full{0, 0, 640, 480};
    if (sea && sea->active && sea->texture) {
        SDL_RenderCopy(renderer, sea->texture, nullptr, &full);
    } else if (background) {
        SDL_RenderCopy(renderer, background, nullptr, &full);
    } else {
        SDL_SetRenderDrawColor(renderer, 20, 20, 40, 255);
        SDL_RenderClear(renderer);
    }
}

int run_menu_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, SDL_Texture* background,
                    const std::string& icn_name, const std::vector<MenuBtnDef>& buttons, TitleSeaCycle* sea,
                    const MenuKeys& keys, bool title_extras, TTF_Font** font, TTF_Font** font2) {
    OwnedTexture panel(load_bmp_tex(renderer, archive, palette, "REDBACK.BMP"));
    OwnedFrames frames(load_icn_frames(renderer, archive, palette, icn_name));
    const int count = static_cast<int>(std::min<std::size_t>(buttons.size(), MNU_BTN_Y.size()));
    int result = -1;
    int pressed = -1;
    bool running = true;
    TTF_Font* f1 = font ? *font : nullptr;
    TTF_Font* f2 = font2 && *font2 ? *font2 : f1;

    auto row_at = [&](int x, int y) {
        for (int i = 0; i < count; ++i)
            if (buttons[i].normal >= 0 && point_in(menu_button_rect(i), x, y)) return i;
        return -1;
    };

    const auto draw_menu = [&] {
        if (sea) sea->tick(SDL_GetTicks());
        draw_title_backdrop(renderer, sea, background);
        if (panel.tex) {
            SDL_RenderCopy(renderer, panel.tex, nullptr, &kMenuPanelRect);
        } else {
            fill_rect(renderer, kMenuPanelRect, {60, 0, 0, 255});
        }
        for (int i = 0; i < count; ++i) {
            if (buttons[i].normal < 0) continue;
            const int f = i == pressed ? buttons[i].pressed : buttons[i].normal;
            if (SDL_Texture* t = frames.at(f)) {
                const SDL_Rect rc = menu_button_rect(i);
                SDL_RenderCopy(renderer, t, nullptr, &rc);
            }
        }
        if (title_extras) {
            if (ng_language_registered()) draw_language_selector(renderer, f1, g_language);
            if (f1) text::at(renderer, f1, std::string("Version ") + kVersionBuf, 6, 462, {180, 180, 180, 255});
        }
    };

    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            bool draw_now = false;
            if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                if (e.key.keysym.sym == SDLK_ESCAPE) {
                    result = static_cast<int>(buttons.size()) - 1;
                } else {
                    for (const auto& [code, index] : keys) {
                        if (code != e.key.keysym.sym) continue;
                        if (index >= 0 && index < count && buttons[index].normal >= 0) result = index;
                        break;
                    }
                }
                draw_now = true;
            } else if (e.type == SDL_QUIT) {
                result = -2;
                running = false;
                draw_now = true;
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                if (title_extras && ng_language_registered() && language_selector_hit(e.button.x, e.button.y)) {
                    const Language next = g_language < BR ? static_cast<Language>(g_language + 1) : EN;
                    (*g_ng_language_cb)(next, f1, f2);
                    if (font) *font = f1;
                    if (font2) *font2 = f2;
                    if (!f2) f2 = f1;
                    frames.reset(load_icn_frames(renderer, archive, palette, icn_name));
                    draw_now = true;
                } else {
                    pressed = row_at(e.button.x, e.button.y);
                }
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && pressed >= 0) {
                if (point_in(menu_button_rect(pressed), e.button.x, e.button.y)) result = pressed;
                pressed = -1;
            }
            if (draw_now) break;
        }

        draw_menu();
        frontend_present(renderer);
        if (result >= 0) return result;
        if (!running) return -2;
        // What is missing of the data is said once, over the first title menu.
        if (title_extras) {
            const std::string notice = take_title_notice();
            if (!notice.empty()) show_alert(renderer, f1, notice, archive, palette, draw_menu);
        }
    }
}

}  // namespace vorn1
