#pragma once
// A computer hero takes the unguarded target it reached, through the same effects as a human's visit.
#include <vector>

#include "ai/ai_records.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// True when the target was taken. `ambushed` (may be null) is set when an artifact's ambush was fought;
// `mp_max` (may be null) gets the hero's renewed daily points.
bool claim_object(GameState& state, GameMap& map, int player, const AIMapObject& target, int hero,
                  std::vector<int>* mp_max, bool* ambushed);

}  // namespace vorn1
