// Building bought from the town's build screen.
#include <algorithm>
#include <limits>

#include "events/event_actions.h"
#include "world/recruit_rules.h"
#include "world/buildings.h"

namespace vorn1 {

bool apply_build_result(int town, int slot, GameState& state, const GameMap& map, EventSystem& events) {
    (void)events;
    if (town < 0 || town >= static_cast<int>(state.castles.size()) || slot < 0 || slot >= BS_RECRUIT_HERO)
        return false;
    CastleState& c = state.castles[town];
    if (!c.live || !is_player_index(c.owner)) return false;
    PlayerResources& treasury = state.resources[c.owner];
    const BuildSlot bs = static_cast<BuildSlot>(slot);
    if (get_build_status(bs, c, treasury, map, c.built_today != 0) != BUILD_OK) return false;
    bool built_today = c.built_today != 0;
    apply_build(bs, c, treasury, built_today);
    c.built_today = built_today ? 1 : 0;
    const int dwelling = build_slot_dwelling(bs);
    if (dwelling >= 0) c.available[dwelling] = static_cast<int32_t>(std::min<int64_t>(int64_t{c.available[dwelling]} + dwelling_weekly_growth(c.faction, dwelling), std::numeric_limits<int32_t>::max()));
    return true;
}

}  // namespace vorn1
