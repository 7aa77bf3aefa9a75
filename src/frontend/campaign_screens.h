#pragma once
// The campaign choice menu and the campaign story pages: announcement of a scenario, victory
// page, congratulations at a campaign's end, and the step to the next scenario.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

#include "assets/palette.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
class TitleSeaCycle;
struct CampaignCarryover;
struct Resources;

// 0 original campaign, 1 spirit world, -1 cancelled, -2 window closed.
int run_campaign_choice_menu(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                             SDL_Texture* background, TTF_Font* font, TitleSeaCycle* sea);

// The congratulation text on the victory picture until dismissed; false when the window was closed
// (its quit event is left for the screen beneath).
bool show_victory_screen_core(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                              const std::string& text);
// The congratulation text of the scenario the config plays, won: the spirit world's by its map, the
// original campaign's by its number. The victory page between scenarios and the page that ends a
// campaign both show it.
std::string campaign_won_text(const NewGameConfig& config);
// The page that ends the campaign whose last scenario the config plays; false when the window was
// closed.
bool run_campaign_congrats_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                  TTF_Font* font, const NewGameConfig& config);

// The OK button's box of the announcement page for a button picture of the given size.
SDL_Rect announcement_ok_rect(SDL_Point button);

// True when the player closed the page, false when the window was closed.
bool run_scenario_announcement_core(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                    SDL_Texture* background, TTF_Font* font, int index, const std::string& title,
                                    const std::string& text);
bool run_campaign_scenario_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                  SDL_Texture* background, TTF_Font* font, int number);
bool run_spirit_scenario_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                SDL_Texture* background, TTF_Font* font, int index);

// The question before a campaign scenario starts again, asked in the box of the control panel's
// questions: the dialog font, or the small one where that would cut a word, each text wrapped to the
// box. True for yes.
TTF_Font* restart_question_font(TTF_Font* font, TTF_Font* small);
bool run_restart_question(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, TTF_Font* small);

// The configuration of the next scenario of a won campaign game (after the victory page when
// asked for, and the next scenario's announcement), or a default one with the quit flag set when
// the campaign is over. A window closed on the announcement ends the process.
NewGameConfig run_campaign_victory_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                          TTF_Font* font, const NewGameConfig& config,
                                          const CampaignCarryover& carryover, bool show_victory);

}  // namespace vorn1
