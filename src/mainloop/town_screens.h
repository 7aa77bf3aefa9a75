#pragma once
// The town screen as the loop runs it: the ways in from the adventure map, its input (build screen,
// build-castle dialog, dwellings, army slots, hire dialog, creature view) and its drawing over the map.
#include <SDL.h>

#include "mainloop/main_state.h"

namespace vorn1 {

// Opens the town screen on a town of the current player (anything else is ignored); the hero stops.
void open_town_screen(MainState& m, int castle);
void close_town_screen(MainState& m);
// The current player's live town whose entrance is (x, y); -1 when none.
int own_town_at(const GameSession& g, int x, int y);
// The hero screen of one of the current player's heroes (over the town screen when that is open).
void open_hero_screen(MainState& m, int hero);
void close_hero_screen(MainState& m);
// Two heroes of one player meet: the meeting window over the map.
void open_meeting(MainState& m, int hero_a, int hero_b);
// The thieves' guild that a map site opens: every category, no town.
void open_thieves_guild_full_view(MainState& m);
// A hero was hired in a town: its day's points, a clean route, the hire dialog closed, the hero
// selected and its row shown in the list.
void on_hero_hired(MainState& m, int hero);

// Input while the town screen (or one of its dialogs) is open; true when taken.
bool handle_town_screens_input(MainState& m, const SDL_Event& e);
// Whether the town screen, the hero screen or the meeting window is open.
bool town_screens_open(const GameSession& g);
// The town screen's animation counter and palette cycle.
void tick_town_screens(MainState& m, float dt_ms);
void draw_town_screens(MainState& m);

}  // namespace vorn1
