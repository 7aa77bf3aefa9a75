#pragma once
// The road around the games of one run: the films before the title screen, the title screen, each
// game frame by frame, and what a won or lost game shows before the title screen comes back.
#include <functional>

#include "mainloop/main_state.h"

namespace vorn1 {

enum class GameOutcome { None, StandardWon, HotSeatWon, CampaignScenarioWon, Lost };

// How the game stands by the victory check's flags; lost also when every human seat is out or a
// computer seat won a hot seat.
GameOutcome game_outcome(const GameSession& g);
// The outcome once nothing of the game is left for the player to close (a dialog, a battle, a
// walk) and no mouse button is down, else None. A resumed save of a finished campaign scenario ends at once.
GameOutcome settled_outcome(const MainState& m);

// What the start-up does after intro film `film` (0 to 3) ended with `result` (kFilm...): a
// termination request ends the program whenever it came; a window closed during either logo film
// skips the rest of the films; otherwise the next film, and the title screen after the last.
enum class IntroStep { NextFilm, Title, Quit };
IntroStep after_intro_film(int film, int result, bool termination);

// The four start-up films in order, each through `play` (its kFilm... result), as far as
// after_intro_film lets them run; true when `terminated` says a request came and the program ends.
bool run_intro_films(const std::function<int(const char* film)>& play, const std::function<bool()>& terminated);
// The start-up films on the screen.
bool play_intro_films(MainState& m);

// What follows the end of a game.
struct GameEndStep {
    bool quit = false;           // the window was closed on a screen that ends the program
    bool next_scenario = false;  // `next` holds the campaign's next scenario
    NewGameConfig next;
};
// Shows the end of the game for `outcome` (films, victory or loss screens, scores, the campaign's
// save prompt and next scenario, its congratulations) and ends the game.
GameEndStep finish_game(MainState& m, GameOutcome outcome);

// The scenario information's confirmed restart: the running game ends and its scenario starts again
// from the configuration it was started (or loaded) with. When its map no longer loads the game goes
// on and says why.
void restart_scenario(MainState& m);

// The whole run after start-up: the title screen (m.front_end), the game it chose,
// `frame` until the game ends, is replaced or the player quits, and round again; returns when the
// player quits.
void run_games(MainState& m, const std::function<void(MainState&)>& frame);

}  // namespace vorn1
