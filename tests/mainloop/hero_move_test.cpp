// Lists, selection, routes and the walk.
#include <array>

#include "loop_fixture.h"
#include "mainloop/boats.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, ListsKeepTheirOrderAndAppendNewcomers) {
    make_game();
    const int a = add_hero(2, 2, 0), b = add_hero(4, 2, 0);
    add_hero(6, 2, 1);  // another player's
    const int t0 = add_town(10, 10, 0), t1 = add_town(12, 10, 1), t2 = add_town(14, 10, 0);
    loop().hero_order = {b, a};
    loop().town_order = {t2, t0};
    sync_owned_lists(loop(), state());
    EXPECT_EQ(loop().hero_order, (std::vector<int>{b, a}));
    // A captured town joins at the end; a town lost leaves without moving the others.
    state().castles[t1].owner = 0;
    state().castles[t2].owner = 1;
    sync_owned_lists(loop(), state());
    EXPECT_EQ(loop().town_order, (std::vector<int>{t0, t1}));
    // A hero that died leaves its row; a new one is appended.
    state().heroes[b].live = 0;
    const int c = add_hero(8, 8, 0);
    sync_owned_lists(loop(), state());
    EXPECT_EQ(loop().hero_order, (std::vector<int>{a, c}));
}

TEST_F(LoopTest, SwitchingHeroesKeepsEachRoute) {
    make_game();
    const int a = add_hero(2, 2, 0), b = add_hero(10, 10, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    plan_hero_route(m, a, 5, 2);
    const auto route_a = loop().active_route;
    const auto markers_a = loop().active_markers;
    ASSERT_EQ(route_a.size(), 3u);
    select_hero(g(), b);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_TRUE(loop().active_route.empty());
    plan_hero_route(m, b, 10, 13);
    select_hero(g(), a);
    EXPECT_EQ(loop().route_dest_x, 5);
    EXPECT_EQ(loop().route_dest_y, 2);
    ASSERT_EQ(loop().active_route.size(), route_a.size());
    EXPECT_EQ(loop().active_route.back().x, 5);
    EXPECT_EQ(loop().active_markers.size(), markers_a.size());
    EXPECT_EQ(state().heroes[b].dest_y, 13);
    EXPECT_EQ(state().heroes[a].dest_x, 5);
    EXPECT_EQ(loop().locator.selected_hero_row, 0);
}

TEST_F(LoopTest, NextHeroWrapsAndCentresTheView) {
    make_game(72, 72);
    const int a = add_hero(10, 5, 0), b = add_hero(30, 30, 0), c = add_hero(40, 40, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), c);
    select_next_hero(m);
    EXPECT_EQ(loop().selected_hero, a);
    EXPECT_EQ(loop().view_x, 337);
    EXPECT_EQ(loop().view_y, 176);
    EXPECT_EQ(loop().locator.selected_hero_row, 0);
    select_next_hero(m);
    EXPECT_EQ(loop().selected_hero, b);
    // A selected hero that changed hands is followed by the first of the list.
    state().heroes[b].owner = 1;
    sync_owned_lists(loop(), state());
    select_next_hero(m);
    EXPECT_EQ(loop().selected_hero, a);
}

TEST_F(LoopTest, NextHeroWithOneHeroOnlyRecentres) {
    make_game(72, 72);
    const int a = add_hero(10, 5, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    plan_hero_route(m, a, 12, 5);
    loop().view_x = loop().view_y = 0;
    select_next_hero(m);
    EXPECT_EQ(loop().selected_hero, a);
    EXPECT_EQ(loop().route_dest_x, 12);
    EXPECT_EQ(loop().view_x, 337);
}

TEST_F(LoopTest, ListRowScrollsIntoTheFourVisibleRows) {
    make_game();
    for (int i = 0; i < 7; ++i) add_hero(1 + 2 * i, 1, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), loop().hero_order[6]);
    EXPECT_EQ(loop().locator.hero_scroll, 3);
    select_hero(g(), loop().hero_order[1]);
    EXPECT_EQ(loop().locator.hero_scroll, 1);
    loop().locator.hero_scroll = 3;
    state().heroes[loop().hero_order[6]].live = 0;
    state().heroes[loop().hero_order[5]].live = 0;
    select_hero_at_list_index(g(), 9);
    EXPECT_EQ(loop().selected_hero, loop().hero_order[4]);
    EXPECT_EQ(loop().locator.hero_scroll, 1);
}

TEST_F(LoopTest, RefusedPlansClearTheStoredRoute) {
    make_game();
    const int a = add_hero(5, 5, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    auto planned = [&](int x, int y) {
        plan_hero_route(m, a, 8, 5);
        EXPECT_EQ(loop().route_dest_x, 8);
        plan_hero_route(m, a, x, y);
        return loop().route_dest_x != -1 || !loop().hero_routes[a].steps.empty() || state().heroes[a].dest_x != -1;
    };
    EXPECT_FALSE(planned(5, 5)) << "own tile";
    EXPECT_FALSE(planned(-1, 5)) << "off the map";
    state().fog[0].set_explored(12, 12, false);
    EXPECT_FALSE(planned(12, 12)) << "unexplored";
    map().tile(9, 9)->blocking = 0x80;
    EXPECT_FALSE(planned(9, 9)) << "impassable";
    plan_hero_route(m, a, 8, 5);
    loop().hero_move_points[a] = 0;
    plan_hero_route(m, a, 8, 5);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_EQ(state().heroes[a].dest_x, -1);
}

TEST_F(LoopTest, WaterAndLandingAcceptance) {
    const int walker = hero_beside_a_boat();
    plan_hero_route(m, walker, 10, 5);
    EXPECT_EQ(loop().active_route.size(), 1u) << "an empty boat may be boarded";
    plan_hero_route(m, walker, 11, 5);
    EXPECT_TRUE(loop().active_route.empty()) << "open water on foot";

    const int sailor = add_hero(12, 9, 0);
    state().boats.push_back(BoatState{1, 12, 9, sailor, 0, 0});
    state().heroes[sailor].on_boat = 1;
    state().heroes[sailor].boat_index = 1;
    place_hero_on_map(map(), state().heroes[sailor]);
    // The boat under the walker's target is now taken: boarding it is refused.
    map().tile(10, 5)->hero_figure = 3;
    plan_hero_route(m, walker, 10, 5);
    EXPECT_TRUE(loop().active_route.empty());
    map().tile(10, 5)->hero_figure = 0;

    select_hero(g(), sailor);
    plan_hero_route(m, sailor, 9, 9);
    EXPECT_EQ(loop().active_route.size(), 3u) << "a clear shore tile";
    map().tile(9, 9)->layer1_set = SET_TREES;
    map().tile(9, 9)->blocking = 0x80;
    plan_hero_route(m, sailor, 9, 9);
    EXPECT_TRUE(loop().active_route.empty()) << "wooded shore";
    const int own = add_town(9, 12, 0);
    map().tile(9, 12)->blocking = 1;  // the town's picture: no clear landing
    plan_hero_route(m, sailor, 9, 12);
    EXPECT_TRUE(loop().active_route.empty()) << "own town entrance from the sea";
    state().castles[own].owner = 1;
    plan_hero_route(m, sailor, 9, 12);
    EXPECT_FALSE(loop().active_route.empty()) << "foreign town entrance from the sea";
}

// The walk carries boats: a hero boards the boat it steps onto, takes it along the water and leaves
// it on the last water tile when it steps ashore.
TEST_F(LoopTest, ABoatIsBoardedSailedAndLeftAtTheShore) {
    const int a = hero_beside_a_boat();
    auto walk_to = [&](int x, int y) {
        loop().hero_move_points[a] = loop().hero_day_points[a] = 60;
        plan_hero_route(m, a, x, y);
        ASSERT_FALSE(loop().active_route.empty()) << x << "," << y;
        start_walk(m);
        for (int i = 0; i < 30; ++i) update_walk(m, 200.0f);
        ASSERT_EQ(state().heroes[a].x, x);
        ASSERT_EQ(state().heroes[a].y, y);
    };
    const HeroState& h = state().heroes[a];
    const BoatState& boat = state().boats[0];
    walk_to(10, 5);
    EXPECT_EQ(h.on_boat, 1);
    EXPECT_EQ(h.boat_index, 0);
    EXPECT_EQ(boat.hero, a);
    walk_to(12, 5);
    EXPECT_EQ((std::array{boat.x, boat.y}), (std::array{12, 5}));
    EXPECT_EQ(map().tile(10, 5)->boat, 0);
    EXPECT_EQ(map().tile(12, 5)->boat, 1);
    walk_to(9, 7);
    EXPECT_EQ(h.on_boat, 0);
    EXPECT_EQ(h.boat_index, -1);
    EXPECT_EQ((std::array{boat.x, boat.y, boat.hero}), (std::array{10, 7, -1})) << "moored where the hero stepped off";
    EXPECT_EQ(map().tile(10, 7)->boat, 1);
}

TEST_F(LoopTest, EntranceSentinelAndOwnedSites) {
    make_game();
    const int t = add_town(4, 4, 0);
    EXPECT_FALSE(dest_entrance_needs_sentinel(state(), map(), 4, 4, 0));
    EXPECT_TRUE(dest_entrance_needs_sentinel(state(), map(), 4, 4, 1));
    EXPECT_TRUE(dest_entrance_needs_sentinel(state(), map(), 4, 4, -1));
    map().tile(6, 6)->object_type = OBJ_CASTLE_ENTRANCE;  // no town record there
    EXPECT_TRUE(dest_entrance_needs_sentinel(state(), map(), 6, 6, 0));
    EXPECT_FALSE(dest_entrance_needs_sentinel(state(), map(), 7, 7, 1));
    EXPECT_FALSE(dest_entrance_needs_sentinel(state(), map(), 40, 4, 1));

    state().mines.push_back(MineState{1, 3, 300, 0, 0});
    state().mines.push_back(MineState{1, 8, 8, 0, 1});
    state().lighthouse = MapSiteState{1, 2, 9, 0};
    state().dragon_city = MapSiteState{0, 5, 9, 0};
    const auto keys = build_owned_event_tiles(state(), 0);
    EXPECT_EQ(keys, (std::unordered_set<uint32_t>{4u | 4u << 16, 3u | 300u << 16, 2u | 9u << 16}));
    EXPECT_TRUE(build_owned_event_tiles(state(), -1).empty());
    (void)t;
}

TEST_F(LoopTest, StoppingHalfwayLeavesTheHeroStandingOnItsTile) {
    make_game();
    const int a = add_hero(5, 5, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    m.speed.step_ms = 100;
    plan_hero_route(m, a, 5, 8);
    start_walk(m);
    update_walk(m, 0.0f);
    ASSERT_TRUE(loop().moves[a].active);
    EXPECT_EQ(loop().moves[a].facing, DIR_S);
    update_walk(m, 150.0f);  // first step done, the second started
    EXPECT_EQ(state().heroes[a].y, 6);
    update_walk(m, 30.0f);
    stop_hero_movement(m);
    EXPECT_FALSE(loop().moves[a].active);
    EXPECT_EQ(loop().walk_step_index, -1);
    EXPECT_EQ(state().heroes[a].y, 6);
    EXPECT_TRUE(map().tile(5, 6)->occupied());
    EXPECT_EQ(map().tile(5, 6)->hero_frame, 36) << "standing south";
    EXPECT_FALSE(map().tile(5, 7)->occupied());
    EXPECT_EQ(loop().route_dest_y, 8) << "the plan stays";
    EXPECT_EQ(loop().active_route.size(), 2u);
}

TEST_F(LoopTest, WalkStopsWhenPointsRunOutAndKeepsTheRest) {
    make_game();
    const int a = add_hero(2, 2, 0, 9);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    plan_hero_route(m, a, 6, 2);  // four steps of 4 on grass
    start_walk(m);
    for (int i = 0; i < 20; ++i) update_walk(m, 200.0f);
    EXPECT_EQ(state().heroes[a].x, 4);
    EXPECT_EQ(loop().hero_move_points[a], 1);
    EXPECT_EQ(loop().walk_step_index, -1);
    EXPECT_EQ(loop().route_dest_x, 6);
    EXPECT_EQ(loop().active_route.size(), 2u);
    EXPECT_EQ(state().fog[0].explored.size(), 72u * 72u);
}

TEST_F(LoopTest, ResetMovementForgetsTheHero) {
    make_game();
    const int a = add_hero(2, 2, 0);
    sync_owned_lists(loop(), state());
    select_hero(g(), a);
    plan_hero_route(m, a, 4, 4);
    reset_hero_movement(g(), a);
    EXPECT_EQ(loop().hero_move_points[a], 0);
    EXPECT_EQ(loop().hero_day_points[a], 0);
    EXPECT_EQ(loop().hero_routes[a].dest_x, -1);
    EXPECT_EQ(state().heroes[a].dest_x, -1);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_EQ(loop().moves[a].facing, DIR_E);
    EXPECT_EQ(loop().moves[a].step_ms, 180.0f);
}

TEST_F(LoopTest, OneSideHuman) {
    make_game();
    const int a = add_hero(2, 2, 0), b = add_hero(4, 4, 1), c = add_hero(6, 6, 0);
    EXPECT_TRUE(one_side_human(state(), a, b));
    EXPECT_FALSE(one_side_human(state(), a, c));
    EXPECT_FALSE(one_side_human(state(), a, 9));
    state().heroes[b].owner = -1;
    EXPECT_FALSE(one_side_human(state(), a, b));
}

}  // namespace
}  // namespace vorn1::test
