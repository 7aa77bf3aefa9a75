#pragma once
// The right-hand side of the adventure screen (minimap, lists, buttons, info panels) and the whole
// adventure frame. Every function draws into the current render target and never presents, except
// render_full_frame.
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "adventure/adventure_types.h"

namespace vorn1 {

struct AdventureResources;
struct GameState;
struct GameMap;

// Terrain colours, owned sites and heroes in their owners' colours, the player's fog and the view
// rectangle, at (479, 16) in 146 x 144.
void draw_minimap(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                  int player, int view_x, int view_y);

// In place of the minimap while a Dimension Door landing is being chosen.
void draw_dim_door_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int hero,
                         TTF_Font* font, TTF_Font* small_font);

// Four hero rows and four town rows from the lists' scroll rows, the selection and the scroll arrows.
// With `build_map` (the option to show what towns can build), each town that can build today on that map
// is marked.
void draw_locator_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                        const LocatorPanelState& loc, const std::vector<int>& hero_order,
                        const std::vector<int>& town_order, const std::vector<int>* hero_move_points,
                        TTF_Font* small_font, const GameMap* build_map = nullptr);
// Where a town row's can-build mark goes.
SDL_Rect town_build_mark_rect(const SDL_Rect& row);

// The six buttons; `pressed` is drawn down (-1 none).
void draw_adv_buttons(SDL_Renderer* r, const AdventureResources& res, int pressed);

// The player's treasury (SUMMARY_FUNDS) or the date (SUMMARY_DATE); nothing for other kinds.
void draw_summary_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int player, int kind,
                        TTF_Font* font, TTF_Font* small_font);

// A line of status in the panel below the buttons (in place of what it showed), wrapped into it and centred.
void draw_info_panel_text(SDL_Renderer* r, TTF_Font* font, const std::string& text);

// The selected hero: portrait, name, skills and army; an empty panel for an invalid index.
// A hero's name in `width` pixels: whole when it fits, else without its first word (a title such as
// "Lord"), so that the name itself shows, cut after its last whole word that fits.
std::string panel_hero_name(TTF_Font* font, const std::string& name, int width);
// A stack's count as the hero panel's slot column shows it: whole when it fits `width`, else in
// thousands ("3K").
std::string panel_army_count(TTF_Font* font, int count, int width);
void draw_mini_hero_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int hero,
                          TTF_Font* font, TTF_Font* small_font);

// The adventure screen in its fixed order: map view, Dimension Door panel or minimap, the border over
// black around the minimap and in the lower panel, lists and buttons, then the new-day panel, the
// summary or the mini hero panel. It covers the whole screen, so it needs no clear; it never presents.
void draw_adventure_screen(SDL_Renderer* r, const AdventureFrame& f);
// Draws the adventure screen and presents.
void render_full_frame(SDL_Renderer* r, const AdventureFrame& f);

// ---- list rules shared with the frame loop
// Moves a list's scroll row by delta, kept within 0 .. max(count - 4, 0).
void scroll_locator(LocatorPanelState& loc, bool towns, int delta, int count);
// The list index under a row hit (scroll row + visible row), -1 when the row is empty or it is no row.
int locator_list_index(const LocatorPanelState& loc, int hit_row, int count, bool towns);

}  // namespace vorn1
