#pragma once
// The set-up screen of a hot-seat game: two to four people at one machine.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <vector>

#include "assets/palette.h"
#include "frontend/map_discovery.h"
#include "frontend/setup_rules.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
class TitleSeaCycle;

// Positions of the hot-seat screen from the picture sizes.
struct HotseatLayout {
    int pw = 322, ph = 459;
    SDL_Point w1{60, 60}, w11{60, 60}, w18{60, 60}, w19{60, 60}, w23{60, 60}, w27{60, 60};
    std::array<int, 4> diff_x{};
    std::array<int, 3> slot_x{};
    int cw = 60, rh = 60, slot_y = 0, R = 0, half = 0;
    int gem_x = 0, gem_y = 0, koth_x = 0, koth_y = 0, SL = 0, button_y = 0;

    static HotseatLayout from_sizes(SDL_Point panel, SDL_Point f1, SDL_Point f7, SDL_Point f26, SDL_Point f11,
                                    SDL_Point f18, SDL_Point f19, SDL_Point f23, SDL_Point f27);
};

enum class HotseatHit { None, Difficulty, Slot, Color, KingOfTheHill, Scenario, Ok, Cancel };
struct HotseatPress {
    HotseatHit hit = HotseatHit::None;
    int index = 0;
};
// Every element under a press, in order; the scenario box only counts with maps to pick.
std::vector<HotseatPress> hotseat_hits(const HotseatLayout& l, int x, int y, bool have_maps);
void apply_hotseat_press(HotseatSetup& s, const HotseatPress& p);

// True when confirmed (config filled); false on Cancel or Escape. A closed window ends the process.
bool run_mp_config_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                          TTF_Font* small_font, int players, const std::vector<MapFileInfo>& maps,
                          NewGameConfig& config, TitleSeaCycle* sea);

}  // namespace vorn1
