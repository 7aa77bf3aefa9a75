#pragma once
// The read-only summary of the game being played: the standard set-up, or the campaign scenario
// with a restart button.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "assets/palette.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
struct Resources;

// 1 when the player confirmed a restart of the campaign scenario, else 0. `small_font` (may be null)
// takes a map description too long for `font`, and a word of the restart question it would cut.
int run_scen_info(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, const Resources* resources,
                  TTF_Font* font, const NewGameConfig& config, SDL_Texture* background, TTF_Font* small_font = nullptr);

// Localised label of an opponent level; genius and every unknown value read "SCEN_OPP_GENIUS".
std::string opp_diff_str(OpponentDifficulty level);

// The texts of the standard screen, as shown.
std::string scen_info_map_name(const NewGameConfig& config);
// The map's name in its field (157 pixels), its start with "..." when it does not fit.
std::string scen_info_map_title(TTF_Font* font, const NewGameConfig& config);
std::string scen_info_description(const NewGameConfig& config);

// The map description's lines on the standard screen, drawn from box.x, box.y down one line skip of
// `font` apart. Tried in turn until every word has its place: the font in the description's own box
// (193, 352, 250 wide, down to the OK button), the font in that box widened to the separator and raised
// to just under the size line, the small font there. When even that cannot hold it, the lines that fit
// there, the last ending in "...".
struct DescriptionLayout {
    TTF_Font* font = nullptr;
    SDL_Rect box{0, 0, 0, 0};
    std::vector<std::string> lines;
    bool cut = false;
};
DescriptionLayout scen_info_description_layout(const std::string& text, TTF_Font* font, TTF_Font* small_font);

// NEWGAME.ICN crest frame of a colour: 0 14, 1 12, 2 10, 3 16, else 10.
int scen_info_crest_frame(int color);
// The text cut to at most `max_bytes`, never inside a UTF-8 character.
std::string cut_utf8(const std::string& text, std::size_t max_bytes);

}  // namespace vorn1
