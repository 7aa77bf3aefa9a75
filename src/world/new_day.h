#pragma once
// The day, week and month turnover.
#include <cstdint>
#include <limits>
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
// The last month of the calendar: the turnover stops on its last day and the loader refuses a later one.
constexpr int32_t CALENDAR_MAX_MONTH = std::numeric_limits<int32_t>::max() / 28 - 1;
// A month's margin: 28 * (CALENDAR_MAX_MONTH + 1) <= INT32_MAX, so every day count fits in 32 bits.
static_assert(int64_t{28} * (CALENDAR_MAX_MONTH + 1) <= std::numeric_limits<int32_t>::max());
// Days since the game began (day 1 of week 1 of month 1 is 1) and weeks likewise (week 1 of month 1 is
// 1); a date past what 32 bits count stays at the limit instead of wrapping.
int32_t calendar_day_count(int32_t day, int32_t week, int32_t month);
int32_t calendar_week_count(int32_t week, int32_t month);
// Names of the ambient weeks and months.
extern const char* const PERIOD_NAMES[8];

// Turns the day: calendar (which stays on the last month's last day), income, per-day flags, movement
// points (mp_left and mp_max sized to the hero list), AI income fields, weekly growth and the week or month
// event. `seed` drives the event choice.
WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem* events, uint32_t seed);
// The turnover as the adventure loop calls it: the event draw takes its seed from the C library generator,
// which the program seeds once at start.
WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem& events);

}  // namespace vorn1
