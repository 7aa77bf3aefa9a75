#pragma once
// A hero walks into a town that nobody defends: the town changes hands without a battle.
#include "mainloop/main_state.h"

namespace vorn1 {

// Takes the town at (x, y) for the hero's owner when nothing defends it (no creature in the
// garrison, no guard stack on the tile, no other owner's hero there), then runs the victory and
// elimination checks. False, with nothing changed, when a fight is needed or there is no town.
bool take_town_without_fight(MainState& m, int hero, int x, int y);

}  // namespace vorn1
