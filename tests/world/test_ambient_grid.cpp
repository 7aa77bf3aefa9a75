#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "world/ambient_grid.h"

using namespace vorn1;

// A 24 x 8 map: the sea in columns 0..2, a pool in the corner, grounds in row 1, one site of each noisy kind in row 5 (one of
// them on the shore) and quiet objects in row 6. Every cell of the 72 x 72 grid is checked.
TEST(AmbientGrid, SitesGroundsAndShoreEachCarryTheirLoop) {
    GameMap map;
    map.width = 24;
    map.height = 8;
    map.tiles.assign(24 * 8, MapTile{});
    for (MapTile& t : map.tiles) t.ground = 30;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 3; ++x) map.tile(x, y)->ground = x == 0 ? 255 : 7;
    std::vector<uint8_t> want(72 * 72, AMB_NONE);
    auto expect_at = [&](int x, int y, uint8_t id) { want[(size_t)y * 72 + x] = id; };
    for (int y = 0; y < 8; ++y) expect_at(2, y, AMB_SHORE);  // column 1 has no land beside it
    // A pool in the top right corner: the shore on its west side and above the land below it; its
    // inner tiles and the map's edge make no waves.
    for (int y = 0; y < 4; ++y)
        for (int x = 19; x < 24; ++x) {
            map.tile(x, y)->ground = 7;
            if (x == 19 || y == 3) expect_at(x, y, AMB_SHORE);
        }

    const std::pair<uint8_t, uint8_t> grounds[] = {{59, AMB_NONE}, {60, AMB_SWAMP}, {79, AMB_SWAMP},
                                                   {80, AMB_LAVA}, {99, AMB_LAVA},  {100, AMB_NONE}};
    for (int i = 0; i < 6; ++i) {
        map.tile(4 + i, 1)->ground = grounds[i].first;
        expect_at(4 + i, 1, grounds[i].second);
    }
    const std::pair<uint8_t, uint8_t> sites[] = {
        {OBJ_MINE, AMB_MINE},           {OBJ_MILL, AMB_MILL},
        {OBJ_CAMPFIRE, AMB_CAMPFIRE},   {OBJ_FOUNTAIN, AMB_FOUNTAIN},
        {OBJ_OASIS, AMB_OASIS},         {OBJ_LIGHTHOUSE, AMB_LIGHTHOUSE},
        {OBJ_SHIPWRECK, AMB_SHIPWRECK}, {OBJ_GRAVEYARD, AMB_GRAVEYARD},
        {OBJ_DRAGON_CITY, AMB_DRAGON_CITY}, {OBJ_FAERIE_RING, AMB_FAERIE_RING},
        {OBJ_SHRINE, AMB_SHRINE},       {OBJ_DWELLING, AMB_DWELLING},
        {OBJ_TRADING_POST, AMB_TRADING_POST}, {OBJ_THIEVES_DEN, AMB_THIEVES_DEN},
        {OBJ_ANGEL_STATUE, AMB_ANGEL_STATUE}, {OBJ_PORTAL, AMB_PORTAL},
        {OBJ_OBELISK, AMB_OBELISK}};
    int x = 4;
    for (const auto& [type, id] : sites) {
        map.tile(x, 5)->object_type = type;
        expect_at(x++, 5, id);
    }
    map.tile(2, 5)->object_type = OBJ_BUOY;  // the site, not the waves under it
    expect_at(2, 5, AMB_BUOY);
    map.tile(4, 1)->object_type = OBJ_MILL;  // a site wins over its ground
    expect_at(4, 1, AMB_MILL);
    x = 4;
    for (uint8_t quiet : {OBJ_TOWN_ENTRANCE, OBJ_CASTLE_ENTRANCE, OBJ_CHEST, OBJ_MONSTER, OBJ_RESOURCE})
        map.tile(x++, 6)->object_type = quiet;

    build_ambient_grid(map);
    EXPECT_EQ(map.ambient, want);

    map.tiles.pop_back();  // a tile list that does not cover the map: no sound anywhere
    build_ambient_grid(map);
    EXPECT_EQ(map.ambient, std::vector<uint8_t>(72 * 72, AMB_NONE));
}
