// The computer player's rules on exact cases: the planner's choice, the turn driver's bookkeeping, claiming
// and the town economy's prices.
#include <gtest/gtest.h>

#include <string>

#include "ai/ai_claim.h"
#include "ai/ai_economy.h"
#include "ai/ai_executor.h"
#include "ai/ai_fixtures.h"
#include "ai/ai_planner.h"
#include "ai/ai_routes.h"
#include "ai/ai_tables.h"
#include "ai/ai_turn_vars.h"
#include "world/hero_pool.h"

using namespace vorn1;
using namespace vorn1::aitest;

namespace {

struct Game {
    GameMap map = make_empty_map();
    GameState s = two_player_state();
    Game() {
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 72; ++x) s.fog[0].set_explored(x, y);
    }
    int chest(int x, int y, int value) {
        s.chests.push_back({x, y, value, 0});
        map.tile(x, y)->object_type = OBJ_CHEST;
        return (int)s.chests.size() - 1;
    }
    // The planner's pick as (hero, x, y), or (-1, -1, -1) when it finds nothing.
    std::array<int, 3> plan(const std::vector<int>& left) {
        AIContext c;
        int hero = -1;
        AIMapObject t;
        if (!plan_best_action(c, s, map, left, 0, hero, t)) return {-1, -1, -1};
        return {hero, t.x, t.y};
    }
};

}  // namespace

// A tile's strategic value is fixed by the first hero that may go there: a hero whose route to a chest
// passes a monster it cannot beat does not fix it for the next hero, and an own town's garrison is
// valued without overflow however large its stacks.
TEST(AIPlanner, StrategicValuesAndGarrisonWorth) {
    Game g;
    const int weak = add_hero(g.s, g.map, 0, 17, 20, army_of({{0, 1}}));
    const int strong = add_hero(g.s, g.map, 0, 23, 35, army_of({{9, 20}}));
    add_monster(g.s, g.map, 20, 20, 23, 30);
    g.chest(23, 20, 1500);  // six tiles from the weak hero, which would count it as crowding
    g.chest(30, 35, 700);
    ASSERT_TRUE(route_blocked_by_unbeatable_monster(g.map, g.s, weak, {23, 20, AIO_CHEST, 0, false}));
    EXPECT_EQ(g.plan({8, 200}), (std::array<int, 3>{strong, 30, 35}));

    Game own;
    const int hero = add_hero(own.s, own.map, 0, 10, 10, army_of({{0, 1}}));
    const int town = add_town(own.s, 0, 20, 10, true);
    own.s.castles[town].garrison = army_of({{23, 50000}});  // 50000 x 45258 is beyond 32 bits
    EXPECT_EQ(own.plan({100}), (std::array<int, 3>{hero, 20, 10}));
}

// A hero the economy hires when the turn starts gets no points until the next day.
TEST(AITurnDriver, AHeroHiredAtTheTurnsStartWaitsForTheNextDay) {
    Game g;
    init_hero_pool(g.s.pool);
    const int c = add_town(g.s, 0, 10, 10, true);
    g.s.castles[c].built_today = 1;
    const int old = add_hero(g.s, g.map, 0, 40, 40, Army{});
    g.s.resources[0].gold = 6000;
    std::vector<int> left{24}, max{24};
    AIExecutor ai;
    ai.begin_turn(g.s, g.map, left, max, 0, 2);
    ASSERT_EQ(HeroPool::count_player_heroes(0, g.s), 2);
    const int hired = g.s.hero_at(10, 10);
    ASSERT_GE(hired, 0);
    ASSERT_EQ(left.size(), g.s.heroes.size());
    ASSERT_EQ(max.size(), g.s.heroes.size());
    EXPECT_EQ(left[(size_t)hired], 0);
    EXPECT_EQ(max[(size_t)hired], 0);
    EXPECT_EQ(left[(size_t)old], 24);
    EXPECT_EQ(max[(size_t)old], 24);
}

// Taking a town's garrison writes its one line, not the pooling line besides.
TEST(AIClaim, ReinforcingFromAGarrisonLogsOneLine) {
    Game g;
    const int hero = add_hero(g.s, g.map, 0, 12, 7, army_of({{1, 5}}));
    const int town = add_town(g.s, 0, 12, 7, false);
    g.s.castles[town].garrison = army_of({{2, 10}});
    testing::internal::CaptureStderr();
    EXPECT_TRUE(claim_object(g.s, g.map, 0, {12, 7, AIO_REINFORCE_CASTLE, town, false}, hero, nullptr, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[AI] Red - hero 0 - reinforced from garrison @ (12,7)\n");
    EXPECT_EQ(g.s.heroes[hero].army.counts[1], 10);
}

// The castle upgrade asks for its own price only; a purchase is weighed with the exact constant.
TEST(AIEconomy, CastlePriceAndPurchaseScore) {
    Game g;
    add_town(g.s, 0, 10, 10, false);
    g.s.resources[0] = {5000, 20, 20, -3, 0, 0, 0};  // a crystal debt from a save
    ai_run_castle_economy(g.s, g.map, 0, true);
    EXPECT_EQ(g.s.castles[0].is_castle, 1);
    EXPECT_EQ(g.s.resources[0], (PlayerResources{0, 0, 0, -3, 0, 0, 0}));

    GameState buy = two_player_state();
    const int t = add_town(buy, 0, 10, 10, false);
    buy.castles[t].available[1] = 4;
    buy.resources[0].gold = 1500;
    compute_turn_ai_vars(buy, 0);
    const AIPurchaseChoice p = ai_best_purchase(buy, 0, t);
    EXPECT_EQ(p.dwelling, 1);
    EXPECT_EQ(p.count, 4);
    std::array<float, 7> w{};
    compute_turn_cost_resource(buy, 0, w);
    const CreatureCost u = creature_recruit_cost((uint8_t)p.creature);
    const double want = (double)ai_creature_value(p.creature) * 4 * buy.ai_vars[0].wealth_ratio * 1.1576250118285416 *
                        ai_afford_factor(buy, 0, u) / (double)(ai_gold_price(w, u) * 4.0f);
    EXPECT_DOUBLE_EQ(p.score, want);
}
