#pragma once
// The game as a file: saving during play (key s), loading a save (key l, and a game set up from a
// save), a new game (key n), each confirmed first where a running game would be lost.
#include <functional>
#include <string>

#include "mainloop/main_state.h"

namespace vorn1 {

struct LoadResult;

// Asks the question of `key` (with the note that the running game is lost) over the whole screen;
// a yes queues `action`, which runs after the frame's input (it may replace the running game).
void confirm_then(MainState& m, const char* key, std::function<void(MainState&)> action);
// The question of `key` and the note over a picture of the map, as the control panel asks it.
bool confirm_over_map(MainState& m, const char* key);
// Runs and clears the queued action of a confirmation; true when one ran.
bool run_queued_game_action(MainState& m);

// Before any save: the selected hero's destination and mark, every hero's points, the visit records and
// the elimination state copied into the game state.
SavedEliminationState refresh_before_save(GameSession& g);
// Writes the running game under `stem` into the folder of its kind (a campaign game marked as a
// won scenario when `completed`).
SaveOutcome save_running_game(MainState& m, const std::string& stem, bool completed = false);
// Key s: saves under the chosen name and tells the player whether it worked.
void save_game_now(MainState& m);
// The notice after a save made during play (key s, the control panel, the end-of-day autosave, a
// won campaign scenario): saved, or which file was not written and why.
void report_save_result(MainState& m, const SaveOutcome& outcome, bool autosave = false);

// The newest save of the standard save folder; empty when there is none.
std::string newest_save_path();
// Key l after its confirmation: the front end runs over the running game and what the player
// chooses there (a standard or campaign save, or a new game) replaces it. When the choice cannot be
// set up the running game goes on and says why. Without a front end: the newest standard save.
void load_chosen_game(MainState& m);
// Sets up the running game from a loaded save: state, map, options, calendar, eliminations, puzzle,
// visit records, each hero's points and planned route, and the game goes on where it was saved
// (resume_loaded_game): loading changes nothing of the saved game.
void setup_loaded_game(MainState& m, LoadResult&& loaded);
// The configuration the scenario information shows: without its base map the game's description, not the
// map's own localised text, states the goal as it now stands.
NewGameConfig scenario_info_config(const GameSession& g);
// Key n after its confirmation: the game ends and the title screen follows; without a front end
// the same configuration starts again (when its map no longer loads the game goes on and says so).
void start_new_game(MainState& m);

// The front end's choice set up to play: the save loaded, or the new game on its map. Empty when
// it worked; else the text telling the player why not, with no game set up or replaced.
std::string start_chosen_game(MainState& m, const NewGameConfig& config);
// The text of a chosen map that does not load.
std::string map_load_failed_text();
// A failure's text followed, on a line of its own, by the file and the reason (when there is one).
std::string failure_with_reason(const std::string& text, const std::string& reason);

}  // namespace vorn1
