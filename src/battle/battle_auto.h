#pragma once
// Measures used by automatic combat.
#include <cstdint>

#include "battle/battle_types.h"

namespace vorn1 {

// (minimum + maximum damage) x count, a quarter more for a shooter with shots left; 0 for no stack.
int32_t autobattle_stack_power(const BattleUnit& u);
// Share of the total power below which a side led by a hero gives up, before experience, side and caution.
double autobattle_retreat_threshold(int64_t artifact_worth, int64_t own_power);

}  // namespace vorn1
