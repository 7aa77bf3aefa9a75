#pragma once
// The standard game set-up page, and the layout and drawing it shares with the hot-seat screen.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <vector>

#include "assets/palette.h"
#include "frontend/frontend_common.h"
#include "frontend/map_discovery.h"
#include "frontend/setup_rules.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
class TitleSeaCycle;

// The pictures of both set-up pages.
struct SetupPictures {
    OwnedTexture title;  // VELDAR.BMP
    OwnedTexture panel;  // NEWGAME.BMP
    OwnedFrames icons;   // NEWGAME.ICN
    OwnedFrames tents;   // TENT.ICN
    void load(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, bool with_tents);
    void release() {
        title.reset();
        panel.reset();
        icons.reset();
        tents.reset();
    }
    // Size of NEWGAME.ICN frame i, 60 x 60 when missing.
    SDL_Point icon(int i) const { return icons.size_or(i, {60, 60}); }
    // NEWGAME.BMP's size, 322 x 459 when missing or empty.
    SDL_Point panel_size() const;
};

// Positions of the standard page, from the picture sizes.
struct StandardLayout {
    int pw = 322, ph = 459;
    SDL_Point w1{60, 60}, w7{60, 60}, w11{60, 60}, w18{60, 60}, w23{60, 60}, w27{60, 60};
    std::array<int, 4> diff_x{};
    std::array<int, 3> opp_x{};
    int opp_y = 0, R = 0, half = 0;
    int gem_x = 0, gem_y = 0, koth_x = 0, koth_y = 0, fac_x = 0, fac_y = 0;
    int SL = 0, scen_w = 0, button_y = 0;

    static StandardLayout from(const SetupPictures& p);
    static StandardLayout from_sizes(SDL_Point panel, SDL_Point f1, SDL_Point f7, SDL_Point f11, SDL_Point f18,
                                     SDL_Point f23, SDL_Point f27);
    SDL_Rect ok_rect() const { return {336, button_y, w23.x, w23.y}; }
    SDL_Rect cancel_rect() const { return {pw + 288 - w23.x, button_y, w23.x, w23.y}; }
};

// What a press does on the standard page.
enum class SetupHit { None, Difficulty, Opponent, Color, Faction, KingOfTheHill, Scenario, Ok, Cancel };
struct SetupPress {
    SetupHit hit = SetupHit::None;
    int index = 0;  // difficulty or opponent slot
};
// Every element under a press, in the page's order (several can match).
std::vector<SetupPress> standard_page_hits(const StandardLayout& l, int x, int y);
// Applies the choices of a press to the state (the scenario, OK and Cancel marks are the caller's).
void apply_standard_press(StandardSetup& s, const SetupPress& p);

enum class SetupOutcome { Start, Cancel, Quit };

// The standard set-up page over the maps found; fills `config` on Start, sets its quit flag on Quit.
SetupOutcome run_standard_setup_page(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                     TTF_Font* font, TTF_Font* font2, TitleSeaCycle* sea,
                                     const std::vector<MapFileInfo>& maps, NewGameConfig& config);

// ---- drawing shared with the hot-seat screen
inline constexpr SDL_Color kSetupGold{255, 215, 0, 255};
inline constexpr SDL_Color kSetupGrey{200, 200, 200, 255};
void draw_setup_background(SDL_Renderer* r, const SetupPictures& p, TitleSeaCycle* sea);
// The difficulty icons with the highlight and their labels.
void draw_setup_difficulty(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, TTF_Font* font2,
                           const std::array<int, 4>& xs, int selected);
// Colour and King of the Hill titles, gem and toggle.
void draw_setup_color_koth(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, int R, int half, int gem_x,
                           int gem_y, int koth_x, int koth_y, uint8_t color, bool koth);
// The OK or Cancel button (its frame, or a drawn substitute with its label).
// Without `substitute` a missing frame draws nothing.
void draw_setup_button(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, int normal, int pressed_frame,
                       bool pressed, int x, int y, bool substitute);
// "NEWGAME_DIFFICULTY_RATING" followed by the rating and "%".
std::string rating_line(int rating);

}  // namespace vorn1
