#include "datakit/kit_goal_starts.h"

#include "datakit/kit_maps.h"
#include "world/game_state.h"

namespace vorn1::kit {

GameMap make_held_target_map() {
    MapBuilder b(36, 36, G_GRASS, "Border Keep");
    b.map.description =
        "Hot seat for two: win by taking the castle of Westmark, which the first player holds at the start.";
    b.town(kHeldTargetX, kHeldTargetY, FACTION_KNIGHT, 0, true, "Westmark", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(kHeldTargetX, kHeldTargetY + 1, 0, 0);
    b.town(27, 27, FACTION_BARBARIAN, 1, true, "Eastmark", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(27, 28, 9, 1);
    b.victory(VICTORY_CAPTURE_TOWN, kHeldTargetX, kHeldTargetY);
    return b.map;
}

std::vector<std::pair<std::string, GameMap>> kit_goal_start_maps() {
    return {{kHeldTargetFile, make_held_target_map()}};
}

}  // namespace vorn1::kit
