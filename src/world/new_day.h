#pragma once
// The day, week and month turnover.
#include <functional>
#include <vector>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

class EventSystem;

// Weekly growth of a town dwelling: (faction, slot 0..5, well built, owner's AI level or 0).
using DwellingGrowthFn = std::function<int(int faction, int slot, bool well, int ai_level)>;
// The growth rule of the town rules; until set, a plain table (slot growth 12, 8, 6, 4, 3, 1; +2 with a well).
void set_dwelling_growth_rule(DwellingGrowthFn fn);
int dwelling_growth(int faction, int slot, bool well, int ai_level);

// Daily income of a player: towns, castles, mines, Dragon City and gold artifacts of live heroes.
PlayerResources daily_income(const GameState& state, int player);

// Turns the day: calendar, income, per-day flags, movement points (mp_left and mp_max sized to the
// hero list), AI income fields, weekly growth and the week or month event. `seed` drives the event choice.
WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem* events, uint32_t seed);

}  // namespace vorn1
