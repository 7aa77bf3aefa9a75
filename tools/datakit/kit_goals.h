#pragma once
// The kit's scenarios of every goal a map can set, each met a few tiles from the start: the hero stands
// at (`kGoalHeroX`, `kGoalHeroY`) and what the goal asks lies east of it.
#include <string>
#include <utility>
#include <vector>

#include "world/map.h"

namespace vorn1::kit {

constexpr int kGoalHeroX = 10, kGoalHeroY = 10;

// Gather gold: two heaps of `kGoldHeap` gold, one and two tiles east; the first alone is not enough
// from any starting purse, the second makes the sum.
constexpr int kGoldHeap = 50000;
constexpr const char* kGoldGoalFile = "KITGGOLD.MAP";
// Survive: the goal is met when the first month has passed.
constexpr const char* kCalendarGoalFile = "KITGWAIT.MAP";

// Every goal kind but taking a town (the quick-win map's) as (file name, map).
std::vector<std::pair<std::string, GameMap>> kit_goal_maps();

}  // namespace vorn1::kit
