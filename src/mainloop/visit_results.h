#pragma once
// A hero's visit to the map object under it and what the loop does with the outcome.
#include "events/event_types.h"
#include "mainloop/main_state.h"

namespace vorn1 {

// Hands the visit to the event system; its outcome comes back to on_visit_result.
void visit_tile(MainState& m, int hero, int x, int y);
// Applies a visit's outcome: the effect on the game state, level-ups for experience gained, the
// puzzle piece of an obelisk, and the fade-out of an object that was taken from the map.
void on_visit_result(MainState& m, const EventResult& r);
// The level rule for a hero that gained experience (seeded from the loop's tick count).
void run_levelups(MainState& m, int hero);
// A purchase at a map dwelling: applied, or the garrison-full notice when the army had no room.
void on_map_recruit_result(MainState& m, const RecruitResult& rr);

}  // namespace vorn1
