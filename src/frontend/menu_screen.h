#pragma once
// The front end's column of up to five picture buttons on the red panel beside the title picture.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "assets/palette.h"

namespace vorn1 {

class AggArchive;
class TitleSeaCycle;

// One button row: normal and pressed frame of the menu's sprite set; a normal frame below 0 is
// an empty row, a pressed frame below 0 draws nothing while held.
struct MenuBtnDef {
    int normal = -1;
    int pressed = -1;
};

inline constexpr std::array<int, 5> MNU_BTN_Y{48, 118, 188, 258, 328};
inline constexpr SDL_Rect kMenuPanelRect{392, 32, 210, 426};
inline constexpr const char* kVersionBuf = "1.00261022";

// The rectangle of button row i (x 432, y MNU_BTN_Y[i] + 32, 127 x 63).
SDL_Rect menu_button_rect(int row);

using MenuKeys = std::vector<std::pair<SDL_Keycode, int>>;

// The main menu's rows and keys.
const std::vector<MenuBtnDef>& main_menu_buttons();
const MenuKeys& main_menu_keys();

// Runs the menu until a row is chosen (its index) or the window is closed (-2).
int run_menu_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, SDL_Texture* background,
                    const std::string& icn_name, const std::vector<MenuBtnDef>& buttons, TitleSeaCycle* sea,
                    const MenuKeys& keys, bool title_extras, TTF_Font** font, TTF_Font** font2);

// The backdrop shared by the title menus: the sea picture when it runs, else the background
// stretched over the screen, else a clear to (20, 20, 40).
void draw_title_backdrop(SDL_Renderer* renderer, TitleSeaCycle* sea, SDL_Texture* background);

}  // namespace vorn1
