#pragma once
// The check that decides whether the running game is won or lost after anything that can decide it
// (a battle's end, a town taken without a fight, the ultimate artifact dug up).
#include "mainloop/main_state.h"

namespace vorn1 {

// Updates the session's won and lost flags, the hot-seat winner and the victory's visited sites.
// Once the win latch is set it changes nothing.
void run_victory_check(MainState& m);

}  // namespace vorn1
