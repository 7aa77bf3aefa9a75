#pragma once
// The kit's scenarios of every goal a map can set, each met a few tiles from the start: the hero stands
// at (`kGoalHeroX`, `kGoalHeroY`) and what the goal asks lies east of it.
#include <string>
#include <utility>
#include <vector>

#include "world/map.h"

namespace vorn1::kit {

constexpr int kGoalHeroX = 10, kGoalHeroY = 10;
// The player's castle. On the maps whose rival hero starts beside the player's, a second hero of the
// player's stands in it.
constexpr int kGoalCastleX = 4, kGoalCastleY = 4;
// The rival's castle lies in the south-east corner behind a mountain ridge along column and row
// `kRivalRidge`; its one pass, on the column at `kRivalPassY`, is held by a band of genies.
constexpr int kRivalRidge = 22, kRivalPassY = 28;
constexpr int kPassGuardCreature = 27, kPassGuardCount = 40;

// The Dragon City's map: a dwelling of paladins one tile north-east of the hero, enough of them that,
// bought with the easiest start's gold, the hero's band beats the city's five dragons.
constexpr int kCreaturePaladin = 5;
constexpr int kRoostPaladins = 16;

// Gather gold: two heaps of `kGoldHeap` gold, one and two tiles east; the first alone is not enough
// from any starting purse, the second makes the sum.
constexpr int kGoldHeap = 50000;
constexpr const char* kGoldGoalFile = "KITGGOLD.MAP";
// Survive: the goal is met when the first month has passed.
constexpr const char* kCalendarGoalFile = "KITGWAIT.MAP";
// The other goals' maps: every rival defeated, the ultimate artifact, the Dragon City, the hunted lord
// and the sites to visit.
constexpr const char* kDefeatAllGoalFile = "KITGDEFT.MAP";
constexpr const char* kArtifactGoalFile = "KITGARTF.MAP";
constexpr const char* kDragonCityGoalFile = "KITGDRAG.MAP";
constexpr const char* kHuntedLordGoalFile = "KITGHUNT.MAP";
constexpr const char* kSitesGoalFile = "KITGSITE.MAP";

// Every goal kind but taking a town (the quick-win map's) as (file name, map).
std::vector<std::pair<std::string, GameMap>> kit_goal_maps();

}  // namespace vorn1::kit
