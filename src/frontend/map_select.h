#pragma once
// The scrolling list of scenario maps with the highlighted map's details, OK and Cancel.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "assets/palette.h"
#include "frontend/map_discovery.h"

namespace vorn1 {

class AggArchive;
class TitleSeaCycle;

// The list's scroll state and its rules (no renderer needed).
struct MapListView {
    int count = 0;    // N
    int visible = 12; // V
    int selection = 0;
    int top = 0;

    static MapListView open(int count, int row_height, int initial);
    void key_up();
    void key_down();
    void wheel(int dy);
    // A press on the scroll track at y (54..215).
    void track_click(int y);
    // The row under y in the list box (44..237), or -1.
    int row_at(int y, int row_height) const;
};

// map_list_label fitted to `width` pixels. A file's name beside the map's name is shortened before
// the map's name is: without its extension, then cut at its start ("Battle (..BAT2)"), and left out
// when even that does not fit. A name too wide itself keeps its start with "..." after it.
std::string fitted_map_label(TTF_Font* font, const std::vector<MapFileInfo>& maps, int index, int width);

// Visible rows and row height from the font's line height (12 rows of 16 without a usable font).
int map_list_row_height(TTF_Font* font);

// The index of the chosen map, or -1 on Cancel, Escape or a closed window.
int run_map_select_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                          SDL_Texture* background, const std::vector<MapFileInfo>& maps, int initial,
                          TitleSeaCycle* sea);

// Label keys of a map's size and difficulty classes on this screen.
const char* map_size_key(int size);
const char* map_difficulty_key(int difficulty);

}  // namespace vorn1
