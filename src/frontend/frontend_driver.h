#pragma once
// The whole front end: title screen and main menu, new game, campaign, hot seat, load, high
// scores and credits, returning the game to start or the save to load.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

#include "assets/palette.h"
#include "frontend/frontend_common.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
struct Resources;

// Quitting from the main menu, and closing the window on most screens, ends the process. The
// quit flag comes back set only when the window was closed on the standard set-up page.
NewGameConfig run_new_game_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                                  TTF_Font* font2, const Resources* resources, const FullscreenCallback& fullscreen_cb,
                                  const LanguageCallback& language_cb);

// The data folder the front end looks in (maps, high scores, campaign maps): the archive's
// folder with its separator, or the folder set here when not empty (tests, tools).
std::string front_end_folder();
void set_front_end_folder(const std::string& folder);

// What the player should know of missing data before playing: the text of missing fonts
// (`font_warning`, may be empty), and a line each for a missing films (ANIM) or sounds (SOUND) folder
// in `folder`. Empty when nothing is missing.
std::string missing_data_notice(const std::string& folder, const std::string& font_warning);
// The credits picture until a key, a button release or a closed window.
void run_credits_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font);

}  // namespace vorn1
