#pragma once
// Setting up a game and running it frame by frame: input through the screens' precedence, the
// computer seats, the walk, the new-day pause, and drawing.
#include <SDL.h>

#include <string>

#include "mainloop/main_state.h"
#include "world/game_map_source.h"

namespace vorn1 {

// Builds the running game from a configuration (and the map it names) into m.game: game state,
// event system, battle screen, puzzle, per-hero vectors, turn order, options; then starts the first
// player's turn. `seed` seeds the set-up (the caller takes it from the tick count). False, with the
// running game kept, when the configuration names a map that does not load (`failure` then says
// which file and why).
bool setup_game(MainState& m, const NewGameConfig& cfg, const AggArchive* archive, uint32_t seed,
                std::string* failure = nullptr);
// The part of set-up shared by new and loaded games (m.game holds the state and map): ambient grid,
// event system, battle screen, calendar copies, per-hero vectors (points from the save when
// `from_save`), turn order, options, and for a new game the turn of the first seat in order still in
// play; a loaded game's turn is resume_loaded_game's.
void begin_session(MainState& m, bool from_save);
// Puts the run's options into the running game's copies (after set-up and after the control panel).
void apply_game_options(MainState& m);
// Ends the running game and frees what it holds.
void end_game(MainState& m);
// The ambient engine reads the running game's ambient grid, and the empty grid when no game runs.
void point_ambient_sounds(MainState& m);
// The ambient engine, on the running game's grid, hears the loops around (x, y); at (-1, -1) no tile,
// and every loop stops.
void hear_ambient_sounds(MainState& m, int x, int y);
// The terrain music halted, then the selected hero's ground track from its top; without a live selected
// hero none, and the first hero selected later starts it. A human turn's opening, and that first hero.
void start_hero_music(MainState& m);

// One input event through the precedence of the open screens.
void handle_input(MainState& m, const SDL_Event& e);
// Keeps which mouse buttons are down, whichever loop takes their events; begin_session calls it.
void watch_mouse();
// A mouse button is down, or a press or release is still queued for the map.
bool mouse_button_down_or_queued();
// One frame: ticks, the computer seat, the walk, all pending input, the new-day pause, drawing.
void run_frame(MainState& m, float dt_ms);
// The next window scale (1x, 2x, 3x, then 1x again); F11, and the front end's scale button.
void cycle_window_scale(MainState& m);
// The terrain music and ambient loops for the selected hero's tile, each frame the map shows with audio;
// without a selected hero the ambient engine is pointed at no tile, and the first hero selected in a turn
// that opened without one starts the music.
void update_map_sounds(MainState& m);
// Draws the frame and presents it (nothing without a renderer).
void draw_frame(MainState& m);

// Per-hero vectors sized to the hero list; new heroes get their day's points.
void sync_hero_vectors(GameSession& g);

// A notice over the map, closed by its OK.
void show_notice(GameSession& g, const std::string& text);

}  // namespace vorn1
