#include <gtest/gtest.h>

#include <vector>

#include "town_fixture.h"
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
