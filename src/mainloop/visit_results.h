#pragma once
// A hero's visit to the map object under it and what the loop does with the outcome. The outcome
// comes back to one of three callbacks, by where the visit was started: the end of a walk (arrival),
// a pickup or obelisk stepped on during the walk (second site), or a Dimension Door landing.
#include <cstdint>

#include "events/event_types.h"
#include "mainloop/main_state.h"

namespace vorn1 {

enum class VisitSite : uint8_t { Arrival, SecondSite, Landing };

// Hands the visit to the event system; its outcome comes back to the callback of `site`.
void visit_tile(MainState& m, int hero, int x, int y, VisitSite site = VisitSite::Arrival);
// The end of a walk: the town entered or attacked, the portal jump, a guarded site's battle, or the
// outcome applied, then the trading post, the garrison-full notice, a dwelling's recruiting, the
// thieves' guild and a hero leaving play.
void on_visit_result(MainState& m, const EventResult& r);
// A pickup or obelisk: the taken object fades out from its tile, the outcome is applied, then the
// trading post, the obelisk's puzzle piece, the garrison-full notice and a dwelling's recruiting.
void on_second_site_result(MainState& m, const EventResult& r);
// A Dimension Door landing applies the outcome and opens only the trading post or the garrison-full
// notice: no town, battle, portal jump or dwelling opens from a landing.
void on_landing_result(MainState& m, const EventResult& r);
// Object types whose object fades out of its tile when a second-site visit takes it.
bool fades_at_second_site(uint8_t type);
// The level rule for a hero that gained experience (seeded from the loop's tick count). A human's hero
// queues its level-up dialog; a computer's levels up unannounced.
void run_levelups(MainState& m, int hero);
// Opens the next queued level-up dialog once no other dialog shows and no battle is open.
void levelup_step(MainState& m);
// A purchase at a map dwelling: applied, or the garrison-full notice when the army had no room.
void on_map_recruit_result(MainState& m, const RecruitResult& rr);

}  // namespace vorn1
