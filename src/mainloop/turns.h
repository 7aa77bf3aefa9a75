#pragma once
// Players' turns one after another, the end of a turn (with a confirmation while a hero can still
// move), the day turnover with its new-day pause, and the texts of the turn and week announcements.
#include <string>

#include "mainloop/main_state.h"

namespace vorn1 {

// The next player in the day's order who is not eliminated; -1 when the current one was the last.
int next_player_in_order(const GameSession& g);
// The seat a day, or a game resumed from a save, opens with: the first in the day's order from p's place
// on who is not eliminated, else the first such from the start (p = -1: from the start); when every seat
// is out, the order's first.
int opening_seat(const GameSession& g, int p);
// Makes p the current player: lists, selection, view, elimination warning and the turn announcement; a
// human's turn is preceded by the announcements of the seats knocked out since.
void start_player_turn(MainState& m, int p);
// A loaded game goes on where it was saved, with nothing of a turn's start done again: the saved human
// seat's turn resumed (announced again, the hero selected then selected, its days left told again); from
// a save made once every seat had played the day (the end-of-day autosave) the day turns over; when the
// saved seat is out, or a computer's from an older autosave, the next seat in play starts its turn.
void resume_loaded_game(MainState& m, int saved_player);
// Key e: asks first when one of the player's heroes can still take a step.
void request_end_turn(MainState& m);
// The confirmation's answer: button 2 ends the turn.
void end_turn_confirmed(MainState& m, const EventResult& r);
// Ends the current turn without asking: the next player, or the day turnover.
void end_current_turn(MainState& m);
// The day is over: autosave (when on), turnover, guard map, calendar copies, new-day pause.
void finish_day(MainState& m);
// The new-day pause ended: the week or month announcement, then the first player when the day was over.
void on_new_day_finished(MainState& m);

// The human whose turn it is was knocked out while another human plays on (a lost battle, its last hero
// dismissed): once nothing else is open, its elimination is told over the hidden map and the turn passes.
void own_elimination_step(MainState& m);

// Hot seat: no player sees another's map. It stays hidden from the end of a human's turn until the next
// human has closed their turn's announcement, through computer turns and the new day between them.
bool hot_seat_map_hidden(const GameSession& g);

// Whether the hero can take one more step around its tile with its points left.
bool hero_can_still_move(const GameMap& map, const HeroState& hero, int points, const FogOfWar* fog);

// "Red player turn." and the like; "None" for a colour byte outside 0..3 or a seat beyond 3.
std::string player_turn_text(const GameState& s, int p);
// The localised genitive of a week or month name, else the name itself.
std::string period_name_loc(const std::string& name);
std::string creature_period_plural(int creature, const std::string& fallback);
std::string creature_period_gen(int creature, const std::string& fallback);
// Text of the announcement of a week or month event; empty for none.
std::string week_announcement_text(const WeekEvent& e, bool month_changed);

// A hero leaves play: faded out, off its boat, back to the pool, its movement forgotten; unless told to
// keep the selection, the hero in its list row (or the last one) is selected.
void remove_hero_from_map(MainState& m, int hero, bool keep_selection);
// The player dismisses a hero: it leaves play, and the same elimination check as after a battle runs, so a
// last hero dismissed without a town puts the seat out at once.
void dismiss_hero_from_play(MainState& m, int hero);

}  // namespace vorn1
