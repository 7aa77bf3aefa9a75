#pragma once
// The build screen of a castle (twelve building cells, status bar, exit, information panel) and
// the build-castle dialog of a town without castle.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>
#include <vector>

#include "world/buildings.h"

namespace vorn1 {

struct CastleScreenResources;
struct Resources;
class EventSystem;

// Cell i holds build slot i.
extern const std::array<BuildSlot, 12> SLOT_ORDER;

struct CastleCostItem {
    int icon;    // RESOURCE.ICN frame
    int amount;
};
// The build-castle dialog's price: wood, ore, gold.
extern const std::array<CastleCostItem, 3> COSTS;

// The exit button of the build screen.
constexpr SDL_Rect kBuildExitRect{554, 237, 80, 25};

struct BuildCastleDialogState {
    bool open = false;
    bool ok_pressed = false;
    bool cancel_pressed = false;
    bool can_build = false;  // set by the caller: 5000 gold, 20 wood, 20 ore
    SDL_Rect ok_rect{};
    SDL_Rect cancel_rect{};
};

// Top-left corner of a cell 0..11.
SDL_Point build_cell_origin(int cell);
// The cell under the point (inclusive spans), -1 in a gap or outside.
int build_screen_cell_hit(int x, int y);
// The record a cell shows: the mage guild's next level for slot 0; null for slot 11 or none.
const StructureDef* build_cell_def(BuildSlot slot, const CastleState& town);
// The status-bar text of a cell.
std::string build_hover_text(BuildSlot slot, const CastleState& town, BuildStatus status, bool hero_in_town,
                             bool has_max_heroes, bool cannot_afford_hero);
// English names of what a building needs, bit requirements first and the first dwelling last.
std::vector<std::string> build_requirement_names(const StructureDef& def, uint8_t faction);
// The description text of a building (localised for the shared buildings, else the English text).
std::string localized_structure_desc(const char* english_name, const char* english_description);
// How many of the cost items go in the first row: all of them when they fit in 290 pixels (or when
// even half of them does not), else half.
int build_cost_first_row(const std::vector<int>& icon_widths);

void draw_build_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                       const EventSystem& events, const GameState& game, const GameMap& map, int castle,
                       int hover_cell, int info_cell, bool exit_pressed, TTF_Font* font, TTF_Font* small_font);
void draw_build_castle_dialog(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                              BuildCastleDialogState& state, uint8_t faction, TTF_Font* font, TTF_Font* small_font);

}  // namespace vorn1
