#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "datakit/kit_maps.h"
#include "world/game_state.h"
#include "world/route.h"

using namespace vorn1;
using namespace vorn1::kit;

namespace {

// '.' grass, 'r' rough (6/9), 's' swamp (8/12), '~' water, 'T' trees, 'M' mountains,
// 'm' wandering monster, 'c' chest, 'h' another hero standing.
GameMap draw(const std::vector<std::string>& rows) {
    MapBuilder b((int)rows[0].size(), (int)rows.size());
    for (int y = 0; y < (int)rows.size(); ++y)
        for (int x = 0; x < (int)rows[y].size(); ++x) switch (rows[y][x]) {
            case 'r': b.at(x, y).ground = G_ROUGH; break;
            case 's': b.at(x, y).ground = G_SWAMP; break;
            case '~': b.at(x, y).ground = G_WATER; break;
            case 'T': b.tree(x, y); break;
            case 'M': b.mountain(x, y); break;
            case 'm': b.monster(x, y, 2, 20); break;
            case 'c': b.chest(x, y, 1000); break;
            case 'h': b.at(x, y).hero_figure = 1; break;
            default: break;
            }
    rebuild_monster_guard_map(b.map);
    return b.map;
}

int total(const std::vector<RouteStep>& r) {
    int t = 0;
    for (const RouteStep& s : r) t += s.cost < 0 ? -s.cost : s.cost;
    return t;
}

std::vector<RouteStep> walk(const GameMap& m, int x0, int y0, int x1, int y1, int mp = 1000, bool flat = false,
                            bool boat = false, bool accept = false) {
    return find_route(m, x0, y0, x1, y1, mp, flat, boat, accept, nullptr, nullptr, true);
}

}  // namespace

TEST(Route, CostsChargedByDestinationGround) {
    const GameMap m = draw({
        ".rrrr.",
        "......",
    });
    // Straight along row 1 is 5 x 4 = 20; through the rough row it would cost more.
    auto r = walk(m, 0, 0, 5, 0);
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r.back().x, 5);
    EXPECT_EQ(total(r), 6 + 4 + 4 + 4 + 6);  // down-diagonal, along row 1, up-diagonal onto grass
    // Stepping onto rough costs 6 straight; off it onto grass costs 4 (the tile entered decides).
    auto in = walk(m, 0, 0, 1, 0);
    ASSERT_EQ(in.size(), 1u);
    EXPECT_EQ(in[0].cost, 6);
    auto out = walk(m, 1, 0, 0, 0);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].cost, 4);
    const GameMap sw = draw({".s", ".."});
    EXPECT_EQ(walk(sw, 0, 1, 1, 0)[0].cost, 12);
    EXPECT_EQ(walk(sw, 0, 1, 1, 0, 1000, true)[0].cost, 6);  // flat walkers pay 4 / 6 everywhere
    EXPECT_EQ(walk(sw, 0, 0, 1, 0)[0].cost, 8);

    // The ground bands at their edges: 40..79 cost 6 / 9, 100..119 cost 8 / 12, other land 4 / 6.
    GameMap g = draw({".."});
    const int bands[][3] = {{39, 4, 6}, {40, 6, 9}, {79, 6, 9}, {80, 4, 6}, {99, 4, 6}, {100, 8, 12}, {119, 8, 12}, {120, 4, 6}};
    for (const auto& band : bands) {
        g.tile(1, 0)->ground = (uint8_t)band[0];
        EXPECT_EQ(step_cost(g, 1, 0, false, false, false), band[1]) << band[0];
        EXPECT_EQ(step_cost(g, 1, 0, true, false, false), band[2]) << band[0];
    }
    // Water, flat walkers and boats pay 4 / 6 whatever the ground.
    g.tile(1, 0)->ground = G_WATER;
    EXPECT_EQ(step_cost(g, 1, 0, false, false, false), 4);
    g.tile(1, 0)->ground = G_SWAMP;
    EXPECT_EQ(step_cost(g, 1, 0, false, true, false), 4);
    EXPECT_EQ(step_cost(g, 1, 0, true, false, true), 6);
}

TEST(Route, DirectionsAndReachablePart) {
    const GameMap m = draw({"......"});
    auto r = walk(m, 0, 0, 5, 0, 9);
    ASSERT_EQ(r.size(), 5u);
    for (const RouteStep& s : r) EXPECT_EQ(s.dir, DIR_E);
    EXPECT_EQ(r[0].next_dir, DIR_E);
    EXPECT_EQ(r.back().next_dir, DIR_NONE);
    EXPECT_EQ(r[0].within_points, 1);
    EXPECT_EQ(r[1].within_points, 1);
    EXPECT_EQ(r[2].within_points, 0);
    EXPECT_EQ(r[2].cost, -4);
    EXPECT_EQ(r[4].cost, -4);
    EXPECT_EQ(walk(m, 0, 0, 5, 0, 8)[1].within_points, 1);  // points spent to the last one
    EXPECT_EQ(dir_from_delta(0, -1), DIR_N);
    EXPECT_EQ(dir_from_delta(-1, -1), DIR_NW);
    EXPECT_EQ(dir_from_delta(2, 0), -1);
    EXPECT_EQ(dir_from_delta(0, 0), -1);

    // Markers: gated off while the whole route fits the points.
    auto fits = walk(m, 0, 0, 2, 0, 100);
    EXPECT_TRUE(route_markers_gated(fits, false).empty());
    EXPECT_EQ(route_markers_gated(fits, true).size(), 2u);
    auto far = route_markers_gated(r, false);
    ASSERT_EQ(far.size(), 5u);
    EXPECT_EQ(far[1].reachable, 1);
    EXPECT_EQ(far[2].reachable, 0);
    EXPECT_EQ(far[4].is_destination, 1);
    // Only a step that costs something counts as beyond the points.
    std::vector<RouteStep> beyond(1);
    EXPECT_TRUE(route_markers_gated(beyond, false).empty());
    beyond[0].cost = -1;
    EXPECT_EQ(route_markers_gated(beyond, false).size(), 1u);

    // Away from row 0 and round a corner: a wall of trees turns the route north-east, then south-east.
    const GameMap bend = draw({
        "...",
        "...",
        ".T.",
        ".T.",
    });
    const auto arrows = route_markers(walk(bend, 0, 2, 2, 2, 4));
    ASSERT_EQ(arrows.size(), 2u);
    EXPECT_EQ(arrows[0].x, 1);
    EXPECT_EQ(arrows[0].y, 1);
    EXPECT_EQ(arrows[0].dir, DIR_NE);
    EXPECT_EQ(arrows[0].next_dir, DIR_SE);
    EXPECT_EQ(arrows[0].reachable, 0);  // the diagonal costs 6 of the 4 points given
    EXPECT_EQ(arrows[0].is_destination, 0);
    EXPECT_EQ(arrows[1].x, 2);
    EXPECT_EQ(arrows[1].y, 2);
    EXPECT_EQ(arrows[1].dir, DIR_SE);
    EXPECT_EQ(arrows[1].next_dir, DIR_NONE);
    EXPECT_EQ(arrows[1].is_destination, 1);

    // Every direction and its delta, both ways.
    for (int d = 0; d < 8; ++d) {
        int dx = 9, dy = 9;
        delta_from_dir(d, dx, dy);
        EXPECT_EQ(dir_from_delta(dx, dy), d);
    }
    int dx = 9, dy = 9;
    delta_from_dir(8, dx, dy);
    EXPECT_EQ(dx * 10 + dy, 0);
}

TEST(Route, DiagonalPastTwoBarriersFails) {
    const GameMap m = draw({
        ".T",
        "T.",
    });
    // Both side tiles are trees: no diagonal squeeze, and nothing else is open.
    EXPECT_TRUE(walk(m, 0, 0, 1, 1).empty());
    const GameMap one = draw({
        "..",
        "T.",
    });
    auto r = walk(one, 0, 0, 1, 1);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].dir, DIR_SE);
    EXPECT_EQ(hero_step_cost(m, 0, 0, 1, 1, false, false), -1);
    EXPECT_EQ(hero_step_cost(one, 0, 0, 1, 1, false, false), 6);
    EXPECT_EQ(hero_step_cost(one, 0, 0, 2, 2, false, false), -1);  // not a unit step
    EXPECT_EQ(hero_step_cost(m, -1, 1, 0, 0, false, false), 6);     // off the map is no barrier

    // The side tiles of a diagonal decide, wherever it starts: two mountains close it.
    const GameMap hills = draw({
        "....",
        "..M.",
        ".M..",
        "....",
    });
    EXPECT_EQ(hero_step_cost(hills, 1, 1, 2, 2, false, false), -1);
    EXPECT_EQ(hero_step_cost(hills, 2, 2, 1, 1, false, false), -1);
    EXPECT_EQ(hero_step_cost(hills, 3, 2, 2, 3, false, false), 6);
    EXPECT_EQ(hero_step_cost(hills, 2, 3, 2, 2, false, false), 4);
    EXPECT_EQ(hero_step_cost(hills, 3, 3, 1, 1, false, false), -1);
    // A blocking tile with a frame of a set that is no barrier (rocks, say) leaves the squeeze open.
    GameMap rocks = hills;
    for (MapTile* t : {rocks.tile(2, 1), rocks.tile(1, 2)}) t->layer1_set = 20;
    EXPECT_EQ(hero_step_cost(rocks, 1, 1, 2, 2, false, false), 6);

    // Mountains in the second layer block the squeeze only under the scenery types 52..55 and 63; type 12
    // (whatever its top bit) closes it even on open ground.
    auto squeeze = [](uint8_t type, bool blocking, uint8_t set2) {
        GameMap m = draw({"..", ".."});
        for (MapTile* t : {m.tile(0, 0), m.tile(1, 1)}) {
            t->object_type = type;
            t->blocking = blocking ? 0x80 : 0;
            t->layer2_set = set2;
            t->layer2_frame = 4;
        }
        return hero_step_cost(m, 1, 0, 0, 1, false, false);
    };
    for (uint8_t type : {52, 53, 55, 63}) EXPECT_EQ(squeeze(type, true, SET_MOUNTAINS), -1) << int(type);
    for (uint8_t type : {51, 56, 62, 64}) EXPECT_EQ(squeeze(type, true, SET_MOUNTAINS), 6) << int(type);
    EXPECT_EQ(squeeze(52, true, 20), 6);
    EXPECT_EQ(squeeze(12, false, 0), -1);
    EXPECT_EQ(squeeze(12 | 0x80, false, 0), -1);
    EXPECT_EQ(squeeze(52, false, SET_MOUNTAINS), 6);  // open land is never a barrier by its type alone
    // A blocking graveyard closes it only at every seventh frame from 63 on.
    auto graves = [](uint8_t frame) {
        GameMap m = draw({"..", ".."});
        for (MapTile* t : {m.tile(0, 0), m.tile(1, 1)}) {
            t->layer1_set = SET_GRAVEYARD;
            t->layer1_frame = frame;
            t->blocking = 0x80;
        }
        return hero_step_cost(m, 1, 0, 0, 1, false, false);
    };
    EXPECT_EQ(graves(70), -1);
    EXPECT_EQ(graves(71), 6);
}

TEST(Route, WaterBoatsAndLanding) {
    GameMap m = draw({
        "..~~~..",
        "..~~~..",
    });
    // On foot the water is a wall.
    EXPECT_TRUE(walk(m, 0, 0, 6, 0).empty());
    // Aboard, the hero stays on water; reaching land needs accept_dest (a landing).
    auto sail = walk(m, 2, 0, 4, 1, 1000, false, true);
    ASSERT_FALSE(sail.empty());
    EXPECT_EQ(total(sail), 4 + 6);  // one straight, one diagonal
    EXPECT_TRUE(walk(m, 2, 0, 5, 0, 1000, false, true).empty());
    auto land = walk(m, 2, 0, 5, 0, 1000, false, true, true);
    ASSERT_EQ(land.size(), 3u);
    EXPECT_EQ(land.back().x, 5);
    // Boarding from the shore onto the boat's tile.
    auto board = walk(m, 1, 0, 2, 0, 1000, false, false, true);
    ASSERT_EQ(board.size(), 1u);
    EXPECT_EQ(board[0].cost, 4);
    m.tile(2, 1)->ground = 255;  // no ground at all counts as water
    auto onto_none = walk(m, 1, 0, 2, 1, 1000, false, false, true);
    ASSERT_EQ(onto_none.size(), 1u);
    EXPECT_EQ(onto_none[0].cost, 6);
    // A diagonal at sea needs one open water side tile.
    GameMap narrow = draw({
        "~.",
        ".~",
    });
    EXPECT_EQ(hero_step_cost(narrow, 0, 0, 1, 1, true, false), -1);
    narrow.tile(1, 0)->ground = G_WATER;
    EXPECT_EQ(hero_step_cost(narrow, 0, 0, 1, 1, true, false), 6);
    narrow.tile(1, 1)->hero_figure = 2;
    EXPECT_EQ(hero_step_cost(narrow, 0, 0, 1, 1, true, false), -1);
}

TEST(Route, GuardedTilesStopObjectsAndBlockedSet) {
    const GameMap m = draw({
        ".....",
        "..m..",
        ".....",
    });
    // Every tile of the middle column is beside the monster: routes stop there, never pass.
    EXPECT_TRUE(walk(m, 0, 1, 4, 1).empty());
    auto to_guard = walk(m, 0, 1, 1, 1);
    ASSERT_EQ(to_guard.size(), 1u);
    // The monster itself can be reached through one guarded tile (an attack), nothing beyond it.
    auto attack = walk(m, 0, 1, 2, 1);
    ASSERT_EQ(attack.size(), 2u);
    EXPECT_EQ(attack[1].x, 2);
    const GameMap m2 = draw({".......", "....m..", "......."});
    EXPECT_EQ(walk(m2, 0, 1, 4, 1).size(), 4u);
    EXPECT_TRUE(walk(m2, 0, 1, 6, 1).empty());
    auto free_walk = find_route(m, 0, 1, 4, 1, 1000, false, false, false, nullptr, nullptr, false);
    ASSERT_FALSE(free_walk.empty());

    const GameMap c = draw({".c."});
    EXPECT_TRUE(walk(c, 0, 0, 2, 0).empty());    // a chest is walked onto, not through
    EXPECT_EQ(walk(c, 0, 0, 1, 0).size(), 1u);
    for (int type : {(int)OBJ_EVENT_FIRST, 145, 198}) {  // so is every event object
        GameMap e = draw({"..."});
        e.tile(1, 0)->object_type = (uint8_t)type;
        EXPECT_TRUE(walk(e, 0, 0, 2, 0).empty()) << type;
    }

    const GameMap open = draw({"...", "..."});
    std::unordered_set<uint32_t> blocked{tile_key(1, 0), tile_key(1, 1)};
    EXPECT_TRUE(find_route(open, 0, 0, 2, 0, 100, false, false, false, nullptr, &blocked, true).empty());
    EXPECT_EQ(find_route(open, 0, 0, 1, 0, 100, false, false, false, nullptr, &blocked, true).size(), 1u);
}

TEST(Route, CheapestOnAMixedMap) {
    // Grass, rough, swamp, water, trees and mountains drawn from a fixed seed; every route must cost what
    // a plain search over the step rule finds, and be made of steps the rule allows at the costs it gives.
    const char kinds[] = "....rrsss~TM";
    std::vector<std::string> rows(24, std::string(24, '.'));
    uint32_t seed = 7;
    for (std::string& row : rows)
        for (char& ch : row) {
            seed = seed * 1103515245u + 12345u;
            ch = kinds[(seed >> 16) % 12];
        }
    const GameMap m = draw(rows);
    const int w = m.width, n = w * m.height;
    auto cheapest = [&](int x0, int y0, int x1, int y1) {
        std::vector<int> dist(n, INT32_MAX);
        std::vector<uint8_t> done(n, 0);
        dist[y0 * w + x0] = 0;
        for (;;) {
            int at = -1;
            for (int i = 0; i < n; ++i)
                if (!done[i] && dist[i] != INT32_MAX && (at < 0 || dist[i] < dist[at])) at = i;
            if (at < 0) return -1;
            if (at == y1 * w + x1) return dist[at];
            done[at] = 1;
            for (int d = 0; d < 8; ++d) {
                int dx = 0, dy = 0;
                delta_from_dir(d, dx, dy);
                const int nx = at % w + dx, ny = at / w + dy;
                const int c = hero_step_cost(m, at % w, at / w, nx, ny, false, false);
                if (c > 0 && dist[at] + c < dist[ny * w + nx]) dist[ny * w + nx] = dist[at] + c;
            }
        }
    };
    // The largest map, corner to corner: 71 diagonals.
    const GameMap big = draw(std::vector<std::string>(72, std::string(72, '.')));
    const auto across = walk(big, 0, 0, 71, 71);
    ASSERT_EQ(across.size(), 71u);
    EXPECT_EQ(total(across), 71 * 6);

    int routes = 0;
    for (int k = 0; k < 40; ++k) {
        const int x0 = (k * 7) % 24, y0 = (k * 11) % 24, x1 = (k * 5 + 13) % 24, y1 = (k * 3 + 17) % 24;
        if (!m.tile(x0, y0)->is_land() || m.tile(x0, y0)->blocking) continue;
        const auto r = walk(m, x0, y0, x1, y1, 1000, false, false, false);
        const int best = x0 == x1 && y0 == y1 ? -1 : cheapest(x0, y0, x1, y1);
        EXPECT_EQ(r.empty() ? -1 : total(r), best) << x0 << "," << y0 << " -> " << x1 << "," << y1;
        int px = x0, py = y0;
        for (const RouteStep& st : r) {
            EXPECT_EQ(st.cost, hero_step_cost(m, px, py, st.x, st.y, false, false));
            px = st.x;
            py = st.y;
        }
        routes += !r.empty();
    }
    EXPECT_GT(routes, 10);
}

TEST(Route, FogOccupiedAndBadGoals) {
    const GameMap m = draw({".h..", "...."});
    FogOfWar fog;
    fog.reveal_radius(0, 0, 1);
    EXPECT_TRUE(find_route(m, 0, 0, 3, 0, 100, false, false, false, &fog, nullptr, true).empty());
    fog.reveal_radius(3, 0, 4);
    auto r = find_route(m, 0, 0, 3, 0, 100, false, false, false, &fog, nullptr, true);
    ASSERT_FALSE(r.empty());
    for (const RouteStep& s : r) EXPECT_FALSE(s.x == 1 && s.y == 0);  // the other hero's tile
    EXPECT_TRUE(walk(m, 0, 0, 1, 0).empty());
    EXPECT_FALSE(walk(m, 0, 0, 1, 0, 100, false, false, true).empty());
    FogOfWar near;
    near.reveal_radius(0, 0, 1);
    EXPECT_EQ(hero_step_cost(m, 0, 0, 0, 1, false, false, &near), 4);
    EXPECT_EQ(hero_step_cost(m, 0, 0, 1, 1, false, false, &near), -1);  // unexplored
    EXPECT_EQ(hero_step_cost(m, 0, 0, 1, 1, false, false), 6);
    EXPECT_TRUE(walk(m, 0, 0, 9, 0).empty());
    EXPECT_TRUE(walk(m, 0, 0, -1, 0).empty());
    EXPECT_TRUE(walk(m, 0, 0, 0, 0).empty());
    GameMap none;
    EXPECT_TRUE(walk(none, 0, 0, 1, 1).empty());
}

TEST(Route, SceneryTypesOnFootByMountainLayer) {
    // Step from (0, 0) east onto (1, 0), whose type byte and layers vary; the blocking byte stays 0.
    auto cost_onto = [](uint8_t type, uint8_t set1, uint8_t set2) {
        GameMap m = draw({"..", ".."});
        MapTile& t = *m.tile(1, 0);
        t.object_type = type;
        t.layer1_set = set1;
        t.layer1_frame = set1 ? 3 : 255;
        t.layer2_set = set2;
        t.layer2_frame = set2 ? 4 : 255;
        return hero_step_cost(m, 0, 0, 1, 0, false, false);
    };
    // No mountain in either layer: 12 and every type whose low seven bits are 30 block, as do 177 and 178.
    EXPECT_EQ(cost_onto(12, 0, 0), -1);
    EXPECT_EQ(cost_onto(30, 0, 0), -1);
    EXPECT_EQ(cost_onto(30 | 0x80, 0, 0), -1);
    EXPECT_EQ(cost_onto(177, 0, 0), -1);
    EXPECT_EQ(cost_onto(178, 0, 0), -1);
    EXPECT_EQ(cost_onto(52, 0, 0), 4);
    EXPECT_EQ(cost_onto(63, 0, 0), 4);
    // A mountain frame (the first layer decides when it holds one): 12, 30, 52..55 and 63 block.
    for (uint8_t type : {12, 30, 52, 55, 63}) EXPECT_EQ(cost_onto(type, SET_MOUNTAINS, 0), -1) << int(type);
    EXPECT_EQ(cost_onto(56, SET_MOUNTAINS, 0), 4);
    EXPECT_EQ(cost_onto(30 | 0x80, SET_MOUNTAINS, 0), -1);
    EXPECT_EQ(cost_onto(177, 0, SET_MOUNTAINS), -1);
    EXPECT_EQ(cost_onto(53, 0, SET_MOUNTAINS), -1);
    // A layer holds something only with a frame: a tree set without one is open ground.
    EXPECT_EQ(cost_onto(0, SET_TREES, 0), -1);
    GameMap bare = draw({"..", ".."});
    bare.tile(1, 0)->layer1_set = SET_TREES;
    bare.tile(1, 0)->layer1_frame = 255;
    EXPECT_EQ(hero_step_cost(bare, 0, 0, 1, 0, false, false), 4);
    // A first-layer frame of another set hides a mountain in layer 2.
    EXPECT_EQ(cost_onto(53, 20, SET_MOUNTAINS), 4);
    EXPECT_EQ(cost_onto(12, 20, SET_MOUNTAINS), -1);
    // Without a frame it hides nothing.
    GameMap frameless = draw({"..", ".."});
    MapTile& f = *frameless.tile(1, 0);
    f.object_type = 53;
    f.layer1_set = 20;
    f.layer1_frame = 255;
    f.layer2_set = SET_MOUNTAINS;
    f.layer2_frame = 4;
    EXPECT_EQ(hero_step_cost(frameless, 0, 0, 1, 0, false, false), -1);
    f.layer1_set = 0;
    f.layer1_frame = 3;  // nor does a first layer of set 0, whatever its frame
    EXPECT_EQ(hero_step_cost(frameless, 0, 0, 1, 0, false, false), -1);
    f.layer2_frame = 255;  // and a second-layer mountain set without a frame is no mountain
    EXPECT_EQ(hero_step_cost(frameless, 0, 0, 1, 0, false, false), 4);
}

TEST(Route, FollowsTheMapAsItChangesBetweenSearches) {
    // The same map object changed between searches, another map of the same size, and another walker on
    // the same tiles: each search answers for the tiles as they are now.
    GameMap m = draw({std::string(20, '.'), std::string(20, 'r'), std::string(20, '.')});
    const auto straight = walk(m, 0, 0, 19, 0);
    ASSERT_EQ(straight.size(), 19u);
    EXPECT_EQ(total(straight), 19 * 4);
    m.tile(10, 0)->hero_figure = 1;  // a hero steps into the way: around it through the rough row
    const auto around = walk(m, 0, 0, 19, 0);
    EXPECT_EQ(total(around), 17 * 4 + 9 + 6);
    for (const RouteStep& s : around) EXPECT_FALSE(s.x == 10 && s.y == 0);
    GameMap other = m;
    other.tile(10, 0)->hero_figure = 0;
    EXPECT_EQ(total(walk(other, 0, 0, 19, 0)), 19 * 4);
    EXPECT_EQ(total(walk(m, 0, 0, 19, 0)), total(around));
    m.tile(10, 0)->hero_figure = 0;
    const auto again = walk(m, 0, 0, 19, 0);
    ASSERT_EQ(again.size(), straight.size());
    for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].dir, straight[i].dir);
    // From one end of the rough row to the other: on foot over the grass, at flat costs straight along it.
    for (bool flat : {false, true, false}) {
        const auto r = walk(m, 0, 1, 19, 1, 1000, flat);
        EXPECT_EQ(total(r), flat ? 19 * 4 : 6 + 17 * 4 + 9) << flat;
        EXPECT_EQ(r.size(), 19u);
    }
}
