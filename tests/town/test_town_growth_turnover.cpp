#include <gtest/gtest.h>

#include <vector>

#include "datakit/kit_maps.h"
#include "town_fixture.h"
#include "world/game_setup.h"
#include "world/map.h"
#include "world/new_day.h"

using namespace vorn1;

// The day turnover grows each live town by its effective growth once a week, no earlier.
TEST(TownGrowthTurnover, NewWeekAddsEffectiveGrowth) {
    GameState g = make_game(2);
    g.player_ai_level[0] = 4;
    add_castle(g, 0, 0, 0x10 | 0x200);  // Genius knight town with a well and the slot 2 dwelling
    add_castle(g, -1, 3, 0);            // neutral warlock town
    g.castles[0].available = {1, 1, 1, 1, 1, 1};
    GameMap map;
    map.tiles.assign(static_cast<size_t>(map.width) * map.height, MapTile{});
    std::vector<int> left, max;
    for (int d = 0; d < 6; ++d) advance_day(g, map, left, max, nullptr, 7u + d);
    EXPECT_EQ(g.castles[0].available[0], 1);
    advance_day(g, map, left, max, nullptr, 99u);
    ASSERT_EQ(g.week, 2);
    const auto& k = g.castles[0].available;
    EXPECT_EQ(k[0], 1 + 12 + 2 + 5);
    EXPECT_EQ(k[1], 1);
    EXPECT_EQ(k[2], 1 + 5 + 2 + 2);
    EXPECT_EQ(g.castles[1].available[0], 8);
    EXPECT_EQ(g.castles[1].available[1], 0);
}

// A new game stocks each town by its own well and its owner's computer level: the human seat and
// the neutral town get no bonus, the Genius seat gets its faction's row.
TEST(TownGrowthTurnover, NewGameStocksTownsByOwnerLevel) {
    kit::MapBuilder b(20, 12);
    b.town(3, 3, FACTION_SORCERESS, 0, true, "Home", BLD_WELL | BLD_DWELLING1);
    b.town(15, 3, FACTION_BARBARIAN, 1, true, "Away", BLD_DWELLING2);
    b.town(9, 9, FACTION_KNIGHT, -1, false, "Middle");
    NewGameConfig cfg;
    cfg.opponents = {OPP_GENIUS, OPP_NONE, OPP_NONE};
    GameState s;
    init_game_state(s, b.map, cfg, 5);
    ASSERT_EQ(s.castles.size(), 3u);
    ASSERT_EQ(s.player_ai_level[1], AI_GENIUS);

    const auto well = [&](int i) { return (s.castles[i].buildings & BLD_WELL) ? 2 : 0; };
    const auto& home = s.castles[0].available;
    ASSERT_NE(well(0), 0);
    EXPECT_EQ(home[0], 8 + 2);
    EXPECT_EQ(home[1], 6 + 2);
    EXPECT_EQ(home[2], 0);
    const auto& away = s.castles[1].available;
    EXPECT_EQ(away[0], 10 + well(1) + 4);
    EXPECT_EQ(away[2], 5 + well(1) + 2);
    EXPECT_EQ(away[5], 0);
    EXPECT_EQ(s.castles[2].available[0], 12 + well(2));
}
