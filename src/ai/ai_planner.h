#pragma once
// Which computer hero goes where next: a cost search from every free hero, targets valued over time, and
// exploration or the way home when nothing is worth a walk.
#include <cstdint>
#include <vector>

#include "ai/ai_map_model.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

struct AISearchCell {
    int32_t cost = 0;
    bool reached = false;
    bool guarded = false;
    int8_t guard_x = -1, guard_y = -1;
};

// Cost grid of one search from a start tile, sized to the map (index y * width + x).
struct AISearchArray {
    int32_t width = 0, height = 0;
    std::vector<AISearchCell> cells;
    std::vector<int> touched;  // cells to reset before the next search

    // fog null: no limit; budget 0 or less: no limit; player names the towns a search may pass through.
    void seed(const GameMap& map, const GameState& state, const FogOfWar* fog, int x, int y, int budget, bool on_boat,
              bool flat_costs, int player, bool mark_guards);
    const AISearchCell* cell(int x, int y) const;
};

bool plan_best_action(AIContext& context, const GameState& state, const GameMap& map, const std::vector<int>& mp_left,
                      int player, int& hero, AIMapObject& target);
// Uses the candidates that the last plan_best_action left in the context.
bool plan_fallback_explore(AIContext& context, const GameState& state, const GameMap& map,
                           const std::vector<int>& mp_left, int player, int& hero, AIMapObject& target);

}  // namespace vorn1
