// Turn variables, route queries and the map model of the computer player.
#include <gtest/gtest.h>

#include <cmath>

#include "ai/ai_map_model.h"
#include "ai/ai_routes.h"
#include "ai/ai_turn_vars.h"
#include "ai_fixtures.h"
#include "world/route.h"
#include "world/tile_rules.h"

using namespace vorn1;
using namespace vorn1::aitest;

TEST(AITurnVars, SavingsWealthAndPrices) {
    GameState s = two_player_state();
    const std::pair<int, int> days[] = {{4, 1}, {5, 1}, {1, 2}, {2, 2}};  // day, month: d = 4, 5, 29, 30
    const float savings[] = {0.48f, 0.42f, 0.30f, 0.24f};
    for (int i = 0; i < 4; ++i) {
        s.day = days[i].first;
        s.month = days[i].second;
        compute_turn_ai_vars(s, 0);
        EXPECT_FLOAT_EQ(s.ai_vars[0].savings, savings[i]) << i;
    }
    GameMap map = make_empty_map();
    add_hero(s, map, 0, 3, 3, army_of({{1, 10}}));
    add_hero(s, map, 1, 9, 9, army_of({{23, 10}}));        // another seat's hero does not count
    add_town(s, 0, 5, 5, true);
    s.castles[0].garrison = army_of({{2, 5}});
    s.resources[0].gold = 5000;
    s.ai_vars[0].gold_income = 1000;
    compute_turn_ai_vars(s, 0);
    const AIPlayerVars& v = s.ai_vars[0];
    EXPECT_FLOAT_EQ(v.wealth_ratio, static_cast<float>(6000.0 / (2560 + 1995 + 1000) + 0.3));
    EXPECT_FLOAT_EQ(v.battle_bias, 0.3f);
    EXPECT_FLOAT_EQ(v.weights[3], 0.4f);
    EXPECT_FLOAT_EQ(v.player_share, 1.0f / 3);

    std::array<float, 7> p{};
    GameState none = two_player_state();
    compute_turn_cost_resource(none, 0, p);
    EXPECT_EQ(p, (std::array<float, 7>{250, 250, 200, 250, 250, 250, 1}));
    none.resources[0].gold = 700;
    compute_turn_cost_resource(none, 0, p);
    EXPECT_EQ(p, (std::array<float, 7>{500, 500, 400, 500, 500, 500, 0.25f}));
    s.resources[0].wood = 10;
    s.resources[0].ore = 10;
    s.ai_vars[0].income[0] = 2;
    s.ai_vars[0].income[2] = 2;
    compute_turn_cost_resource(s, 0, p);
    EXPECT_NEAR(p[0], 175.926, 1e-3);
    EXPECT_NEAR(p[2], 161.702, 1e-3);
    EXPECT_FLOAT_EQ(p[1], 500);
    EXPECT_NEAR(p[6], 0.42697, 1e-5);
    // A debt counts as an empty stock: prices stay finite and positive.
    s.resources[0].wood = -3500;
    s.resources[0].gold = -8000;
    s.ai_vars[0].gold_income = 0;
    compute_turn_cost_resource(s, 0, p);
    for (float x : p) EXPECT_TRUE(std::isfinite(x) && x > 0);
}

TEST(AITurnVars, MovementPointsFollowTheGround) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();
    map.tile(7, 7)->ground = 5;
    const int h = add_hero(s, map, 0, 7, 7, army_of({{4, 3}}));
    s.heroes[h].artifacts[0] = ART_SAILOR_ASTROLABE;
    std::vector<int> mp_max(1, 0);
    refresh_hero_max_mp(s, map, mp_max, h);
    EXPECT_EQ(mp_max[0], 100);  // at sea without a boat flag: the astrolabe counts
    s.lighthouse = {1, 0, 0, 0};
    refresh_hero_max_mp(s, map, mp_max, h);
    EXPECT_EQ(mp_max[0], 120);
    s.heroes[h].x = 8;
    refresh_hero_max_mp(s, map, mp_max, h);
    EXPECT_EQ(mp_max[0], 60);
    std::vector<int> short_vec;
    refresh_hero_max_mp(s, map, short_vec, h);
    EXPECT_TRUE(short_vec.empty());
}

TEST(AIRoutes, CostsAndMonstersBesideTheRoute) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();
    const int h = add_hero(s, map, 0, 5, 10, army_of({{2, 20}}));
    // An unreachable target: walled in.
    for (int y = 19; y <= 21; ++y)
        for (int x = 19; x <= 21; ++x)
            if (x != 20 || y != 20) map.tile(x, y)->blocking = 0x80;
    AIMapObject walled{20, 20, AIO_CHEST, 0, false};
    EXPECT_EQ(route_cost_mp(map, s, h, 20, 20), -1.0);
    EXPECT_FALSE(route_crosses_monster_zoc(map, s, h, walled));
    EXPECT_FALSE(route_blocked_by_unbeatable_monster(map, s, h, walled));

    EXPECT_DOUBLE_EQ(route_cost_mp(map, s, h, 15, 10), 10.0 * step_cost(map, 15, 10, false, false, false));

    // A weak monster target: its own stack beside the route does not block it.
    const int goblins = add_monster(s, map, 15, 10, 6, 3);
    rebuild_monster_guard_map(map);
    const AIMapObject target{15, 10, AIO_MONSTER, goblins, true};
    EXPECT_TRUE(route_crosses_monster_zoc(map, s, h, target));
    EXPECT_FALSE(route_blocked_by_unbeatable_monster(map, s, h, target));
    // Dragons beside the target's tile do.
    add_monster(s, map, 16, 11, 23, 30);
    rebuild_monster_guard_map(map);
    EXPECT_TRUE(route_blocked_by_unbeatable_monster(map, s, h, target));
}

TEST(AIMapModel, ScanRegionsDangerAndNeighbours) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();
    add_town(s, 0, 10, 10, true);
    add_town(s, -1, 30, 30, false);
    add_town(s, 1, 60, 60, true);
    add_town(s, 1, 80, 80, true);  // off the map: never a candidate
    add_hero(s, map, 0, 11, 11, army_of({{2, 5}}));
    add_hero(s, map, 1, 50, 50, army_of({{2, 5}}));
    s.mines.push_back({1, 12, 12, MINE_GOLD, -1});
    s.mines.push_back({1, 13, 12, MINE_ORE, 1});
    s.mines.push_back({1, 14, 12, MINE_WOOD, 0});
    s.chests.push_back({20, 20, 1000, 0});
    s.chests.push_back({21, 20, 1000, 1});
    s.map_artifacts.push_back({22, 20, 5, 0, 0});
    s.resource_piles.push_back({23, 20, MINE_GEMS, 0, 0});
    s.campfires.push_back({1, 24, 20, 400, 2, 0, 0});
    add_monster(s, map, 20, 20, 0, 4);   // guards the chest
    add_monster(s, map, 12, 12, 0, 0);   // an empty stack guards nothing and is no target

    AIContext c;
    c.hero_roles = {3};
    ai_scan_map(c, s, map, 0);
    EXPECT_TRUE(c.hero_roles.empty());
    std::vector<std::tuple<int, int, bool>> got;
    for (const AIMapObject& o : c.objects) got.emplace_back(o.type, o.index, o.guarded);
    const std::vector<std::tuple<int, int, bool>> want = {
        {AIO_REINFORCE_CASTLE, 0, false}, {AIO_NEUTRAL_CASTLE, 1, true}, {AIO_ATTACK_CASTLE, 2, true},
        {AIO_ATTACK_HERO, 1, true},       {AIO_MINE, 0, false},          {AIO_MINE, 1, true},
        {AIO_CHEST, 0, true},             {AIO_ARTIFACT, 0, false},      {AIO_CAMPFIRE, 0, false},
        {AIO_MONSTER, 0, true},
    };
    EXPECT_EQ(got, want);
    EXPECT_FALSE(isValuableAdventureMapObject(s, 0, AIO_RESOURCE, 0));
    EXPECT_FALSE(isValuableAdventureMapObject(s, 0, AIO_OBELISK, 0));
    EXPECT_FALSE(isValuableAdventureMapObject(s, 0, AIO_CHEST, 5));

    // One land region holding only an own town: 100 x 1.5.
    GameState one = two_player_state();
    add_town(one, 0, 10, 10, true);
    AIContext r;
    r.player = 0;
    ai_build_regions(r, one, map);
    EXPECT_EQ(r.region_value, std::vector<double>{150.0});
    // An island of one land tile in a sea: its own region, mixed with the sea's value over four contacts.
    GameMap sea = make_empty_map();
    for (MapTile& t : sea.tiles) t.ground = 5;
    sea.tile(40, 40)->ground = 30;
    one.castles[0].x = 40;
    one.castles[0].y = 40;
    ai_build_regions(r, one, sea);
    ASSERT_EQ(r.region_value.size(), 2u);
    EXPECT_EQ(r.region_of_tile[40 * 72 + 40], 1);
    EXPECT_DOUBLE_EQ(r.region_value[1], 100 * 0.75 + 0.25 * 0);
    EXPECT_DOUBLE_EQ(r.region_value[0], 0 * 0.75 + 0.25 * 100);
    // An own town and an enemy hero on one region: -50 before mixing.
    add_hero(one, sea, 1, 40, 40, army_of({{0, 1}}));
    ai_build_regions(r, one, sea);
    EXPECT_DOUBLE_EQ(r.region_value[1], -50 * 0.75);

    // Danger: an enemy hero 10 tiles away threatens, 11 does not.
    GameState d = two_player_state();
    add_town(d, 0, 20, 20, true);
    add_town(d, 1, 40, 20, true);
    const int raider = add_hero(d, map, 1, 30, 20, army_of({{5, 10}}));
    EXPECT_EQ(find_castles_in_danger(d, 0).size(), 1u);
    d.heroes[raider].x = 31;
    EXPECT_TRUE(find_castles_in_danger(d, 0).empty());
    d.heroes[raider].x = 30;
    d.castles[0].garrison = army_of({{5, 20}});
    EXPECT_TRUE(find_castles_in_danger(d, 0).empty());
    d.castles[0].garrison = Army{};
    const auto dangers = find_castles_in_danger(d, 0);
    const int guard = add_hero(d, map, 0, 20, 20, army_of({{0, 1}}));
    EXPECT_TRUE(hero_pinned_to_defense(d, 0, guard, dangers));
    const int second = add_hero(d, map, 0, 20, 20, army_of({{0, 1}}));
    EXPECT_FALSE(hero_pinned_to_defense(d, 0, guard, dangers));
    EXPECT_FALSE(hero_pinned_to_defense(d, 0, second, dangers));
    EXPECT_FALSE(hero_pinned_to_defense(d, 0, guard, {}));

    EXPECT_EQ(nearest_own_castle_dist(d, 2, 0, 0), 1e9);
    EXPECT_EQ(nearest_own_castle_dist(d, 0, 25, 27), 7.0);
    EXPECT_EQ(cheb_dist(1, 1, 4, -1), 3);

    GameMap m2 = make_empty_map();
    EXPECT_EQ(monster_tile_adjacent_to(m2, 5, 5), std::make_pair(-1, -1));
    m2.tile(5, 4)->object_type = OBJ_MONSTER;
    m2.tile(4, 4)->object_type = OBJ_MONSTER_B;
    m2.tile(5, 5)->object_type = OBJ_MONSTER;
    EXPECT_EQ(monster_tile_adjacent_to(m2, 5, 5), std::make_pair(4, 4));
    EXPECT_EQ(monster_tile_adjacent_to(m2, 0, 0), std::make_pair(-1, -1));
    EXPECT_EQ(role_for(c, -1), 0);
}
