#pragma once
// The kit's scenarios whose goal a seat holds from the start, so that holding it can be seen to win
// nothing: the game goes on until a seat meets the goal by its own deed.
#include <string>
#include <utility>
#include <vector>

#include "world/map.h"

namespace vorn1::kit {

// Hot seat for two: the goal is the first seat's home castle, at (`kHeldTargetX`, `kHeldTargetY`); the
// second seat's castle and hero are in the far corner, days away. The name ends in the player counts
// the map takes (1 and 2), as the multi-player maps' do.
constexpr int kHeldTargetX = 8, kHeldTargetY = 8;
constexpr const char* kHeldTargetFile = "KITK1200.MAP";
GameMap make_held_target_map();

// As (file name, map).
std::vector<std::pair<std::string, GameMap>> kit_goal_start_maps();

}  // namespace vorn1::kit
