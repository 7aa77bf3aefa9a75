#pragma once
// The day, week and month turnover.
#include <vector>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

class EventSystem;

constexpr int CASTLE_GOLD_INCOME = 1000;
constexpr int TOWN_GOLD_INCOME = 250;
// Daily yield of a mine by kind (wood, mercury, ore, sulfur, crystal, gems, gold).
extern const int MINE_INCOME[MINE_KIND_COUNT];
// Daily income of a player: towns, castles, mines and the gold artifacts of live heroes.
PlayerResources daily_income(const GameState& state, int player);
// Names of the ambient weeks and months.
extern const char* const PERIOD_NAMES[8];

// Turns the day: calendar, income, per-day flags, movement points (mp_left and mp_max sized to the
// hero list), AI income fields, weekly growth and the week or month event. `seed` drives the event choice.
WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem* events, uint32_t seed);
// The turnover as the adventure loop calls it: the event draw takes its seed from the C library generator,
// which the program seeds once at start.
WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem& events);

}  // namespace vorn1
