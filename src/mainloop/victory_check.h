#pragma once
// The check that decides whether the running game is won or lost after anything that can decide it
// (a battle's end, a town taken, a dig, a visit, the day's turnover, a computer's step).
#include "mainloop/main_state.h"
#include "world/victory.h"

namespace vorn1 {

// The check has decided the game: won, lost to a campaign's rival, or a shared game's winner found.
bool goal_decided(const GameSession& g);

// The session's side of the goal rules: the seats that are out and whether the ultimate artifact is buried.
GoalContext goal_context(const GameSession& g);

// Updates the session's won and lost flags, the hot-seat winner and the victory's visited sites.
// Once the win latch is set it changes nothing.
void run_victory_check(MainState& m);

}  // namespace vorn1
