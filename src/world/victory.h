#pragma once
#include "world/game_state.h"

namespace vorn1 {

// What the goal rules need beyond the game state, kept by the running session. The default (every seat in
// play, the artifact buried) is a start's; the game passes its own after that.
struct GoalContext {
    unsigned out_seats = 0;        // bit p: seat p is out of the game, whatever it still holds on the map
    bool artifact_buried = true;   // the ultimate artifact still waits at its dig site
};

// Bit p: seat p is in play.
uint8_t seats_in_play(const GameState& state);
// Bit p: seat p holds a live town or castle, or a live hero. At set-up, the one answer to who holds
// anything at the start.
unsigned seats_holding_anything(const GameState& state);

// How seat `player` stands toward the scenario's goal: the one answer to "can this seat still meet it?" for
// the set-up page, the goal check and a load. Only a seat still in play meets a goal, and only by what it
// did: a target held from the start is met by taking it back, the hunted lord by beating him. A goal the
// seat can no longer meet by its own deed (its target held with no rival left to take it, the lord in its
// own hands or gone by another's, the ultimate artifact lost from the game, a target with no town, a sites
// goal with no site) is every rival beaten.
enum class GoalRoad {
    Met,         // the goal holds now
    Own,         // the seat may still meet the scenario's goal by its own deed
    EveryRival,  // the goal is now every rival beaten, and a rival still stands
    None,        // out of the seat's reach: it is out of play, or no road is left (for every seat, no goal left)
};
GoalRoad goal_road(const GameState& state, int player, const GoalContext& ctx = {});
// goal_road is Met (no latch).
bool victory_condition_met(const GameState& state, int player, const GoalContext& ctx = {});
// Seat 0's condition; true once, latching the win.
bool check_victory(GameState& state, const GoalContext& ctx = {});
// Shared game (hot seat): first seat 0..3 in play whose condition holds, else -1.
int victorious_player(const GameState& state, const GoalContext& ctx = {});
// Some seat in play can still meet its goal, or has met it.
bool goal_still_open(const GameState& state, const GoalContext& ctx);
// A campaign's rival (seat 1..3) has taken the target town or the Dragon City, or holds an ultimate
// artifact: the campaign is lost.
bool campaign_rival_met_goal(const GameState& state, const GoalContext& ctx = {});

// `seat` holds what the goal names (the target town, the Dragon City) by having taken it since the start.
bool target_taken_by(const GameState& state, int seat);
bool dragon_city_taken_by(const GameState& state, int seat);
// Notes that the target town or the Dragon City has left the hands of the seat that held it at the start,
// so that seat meets the goal by taking it back. Run after anything that may change their owner.
void note_goal_progress(GameState& state);

// The hunted lord is on the map (false when the goal names none).
bool hunted_lord_standing(const GameState& state);
// A battle has removed `hero` from the map, won by `by_seat`'s side (-1 nobody's: a monster or a guard).
void note_hero_beaten(GameState& state, int hero, int by_seat);
// Who beat a hunted lord gone from the map with no battle naming it: the seat whose turn it is (the one
// side of every fight in its turn), unless he was its own (the seat that last held him); then nobody, for good.
void settle_lord_credit(GameState& state, int acting);

}  // namespace vorn1
