#include "datakit/kit_roads.h"

#include "datakit/kit_battle_road.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_goal_starts.h"
#include "datakit/kit_goals.h"
#include "datakit/kit_maps.h"
#include "world/game_state.h"

namespace vorn1::kit {

namespace {

// The first seat's home castle in the north-west and a rival castle with its hero far off in the
// south-east, so the road's own pieces stay near the start and no rival comes by in the first days.
void home_and_rival(MapBuilder& b) {
    b.town(4, 4, FACTION_KNIGHT, 0, true, "Oakhold", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.town(30, 30, FACTION_WARLOCK, 1, true, "Duskmoor", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(31, 31, 27, 1);
}

}  // namespace

GameMap make_harbour_map() {
    MapBuilder b(36, 36, G_GRASS, "Harbour Town");
    b.map.description = "Your castle by the sea: build its shipyard, then a boat.";
    b.fill(3, 11, kHarbourBoatX, 18, G_WATER);
    b.town(kHarbourTownX, kHarbourTownY, FACTION_KNIGHT, 0, true, "Saltmere", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(kHarbourTownX, kHarbourTownY + 1, 0, 0);
    b.town(30, 30, FACTION_WARLOCK, 1, true, "Duskmoor", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(31, 31, 27, 1);
    return b.map;
}

GameMap make_treasure_map() {
    MapBuilder b(36, 36, G_GRASS, "Chest and Mine");
    b.map.description = "A chest two steps east of your hero, a gold mine three steps south.";
    home_and_rival(b);
    b.hero(kTreasureHeroX, kTreasureHeroY, 1, 0);
    b.chest(kTreasureHeroX + 2, kTreasureHeroY, 1500);
    b.mine(kTreasureHeroX, kTreasureHeroY + 3, MINE_GOLD);
    return b.map;
}

GameMap make_veteran_map() {
    MapBuilder b(36, 36, G_GRASS, "Veteran's Eve");
    b.map.description = "One won battle lifts your hero a level: beat the goblins beside him.";
    home_and_rival(b);
    b.hero(kVeteranHeroX, kVeteranHeroY, 2, 0);
    b.map.objects.back().value = kVeteranExperience;
    b.monster(kVeteranHeroX + 1, kVeteranHeroY, 6, 5);  // 5 goblins of 3 hit points
    return b.map;
}

GameMap make_short_campaign_map(int row) {
    static const char* const kNames[4] = {"Green March", "Frozen March", "Desert March", "Spirit March"};
    GameMap m = make_quick_win_map(kNames[row >= 0 && row < 4 ? row : 0]);
    m.description = "A short campaign: take the rival town above your hero.";
    // The rival walls and mans its town on its first turn and hires a hero in it on its second: after the
    // first day the town falls only to a siege. A knight's town has only peasants and the pool's first
    // knight to man it, and the strongest band of the pool wins that siege whatever the draws; a
    // barbarian's goblins and orcs beat the band about one time in three (tests/mainloop/kit_sieges_test.cpp).
    for (MapObject& o : m.objects) {
        if (o.kind == MOBJ_HERO && o.owner == 0) o.a = (uint8_t)kStrongestWarlock[0];
        if (o.kind == MOBJ_TOWN && o.owner == 1) {
            o.a = FACTION_KNIGHT;
            write_town_footprint(m, o.x, o.y, o.a, false);
        }
    }
    return m;
}

std::vector<std::pair<std::string, GameMap>> kit_road_maps() {
    return {{kBattleMapFile, make_battle_map()},       {kSpellMapFile, make_spell_map()},
            {kSiegeMapFile, make_siege_map()},         {KIT_QUICK_WIN_FILE, make_quick_win_map()},
            {kHarbourMapFile, make_harbour_map()},     {kTreasureMapFile, make_treasure_map()},
            {kVeteranMapFile, make_veteran_map()},     {kHotSeatSiegeFile[0], make_hot_seat_siege_map(0)},
            {kHotSeatSiegeFile[1], make_hot_seat_siege_map(1)}, {kHotSeatRoutFile, make_hot_seat_rout_map()}};
}

bool write_demo_maps(const std::string& maps_dir) {
    bool ok = write_kit_maps(maps_dir);
    for (const auto& [file, map] : kit_road_maps()) ok &= write_map_file(maps_dir + "/" + file, map);
    for (const auto& [file, map] : kit_goal_maps()) ok &= write_map_file(maps_dir + "/" + file, map);
    for (const auto& [file, map] : kit_goal_start_maps()) ok &= write_map_file(maps_dir + "/" + file, map);
    return ok;
}

}  // namespace vorn1::kit
