#pragma once
// The screens opened from the adventure map and its options panel: kingdom overview, world map,
// puzzle map, quick information, the adventure spells with Dimension Door targeting and digging; their input in the loop's precedence and their drawing over the adventure screen.
#include <SDL.h>

#include "adventure/apanel_state.h"
#include "mainloop/main_state.h"

namespace vorn1 {

// Keys v, p, c and d: the panel opens with the button held and a left release over the button goes
// through the loop's input, so the panel's own input performs it at once.
void panel_button_step(MainState& m, AdventurePanelButton button);
// What a fired panel button does (the panel has closed): world view, puzzle, spell list, dig.
void run_panel_action(MainState& m, int button);

// The puzzle map opens after its reveal dissolve.
void open_puzzle_screen(MainState& m);
// The options panel's spell button: the list of what the selected hero can cast, or a notice.
void begin_cast_spell(MainState& m);
// Casts an adventure spell of the selected hero (from the list); a refused cast shows its reason.
void cast_selected_hero_spell(MainState& m, int spell);
// The options panel's dig button: the selected hero digs where it stands and the outcome is shown.
void dig_with_selected_hero(MainState& m);

// Input to the open overlay screens in their precedence (kingdom overview, world map, puzzle map,
// spell list, options panel, Dimension Door, quick information). True when one of them took it.
bool handle_screen_input(MainState& m, const SDL_Event& e);
// A right press on the map view opens the quick information of the tile under it.
bool open_quick_info_at(MainState& m, int sx, int sy);
// Whether any overlay screen is open (the walk and the adventure map's own input wait).
bool any_screen_open(const GameSession& g);

// The open overlays over the adventure screen, in drawing order.
void draw_screens(MainState& m);

}  // namespace vorn1
