#include "datakit/kit_game_end.h"

#include "datakit/kit_maps.h"
#include "world/game_state.h"

namespace vorn1::kit {

const char* const KIT_QUICK_WIN_FILE = "KITQUICK.MAP";

const StringMap& game_end_english_strings() {
    static const StringMap texts{
        {"GAME_LOST_TEXT", "You have been defeated. The game is lost."},
        {"GAME_FINALE_TEXT", "The war is over and the land is yours.\nLong may you reign."},
    };
    return texts;
}

GameMap make_quick_win_map(const std::string& name) {
    MapBuilder b(36, 36, G_GRASS, name);
    b.map.description = "One march from the last rival town. Take it and the land is yours.";
    b.town(4, 4, FACTION_KNIGHT, 0, true, "Oakhold", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(kQuickWinTownX, kQuickWinTownY + 1, 0, 0);
    b.town(kQuickWinTownX, kQuickWinTownY, FACTION_BARBARIAN, 1, false, "Last Ember");
    // The rival's hero waits far off, so its town stands empty.
    b.hero(30, 30, 9, 1);
    b.victory(VICTORY_CAPTURE_TOWN, kQuickWinTownX, kQuickWinTownY);
    return b.map;
}

}  // namespace vorn1::kit
