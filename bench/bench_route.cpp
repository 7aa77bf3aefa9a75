// Route planning as the hero-move code asks for it (fog, own sites, guarded tiles) on the kit's
// scenario maps of 36, 54 and 72 tiles, for a short route and for the longest one up to 100 steps; and
// corner to corner on 72 tiles as the computer player asks for it, on the map the previous search saw
// and on one whose every tile changed since.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

#include "datakit/kit_maps.h"
#include "mainloop/hero_move.h"
#include "world/game_setup.h"
#include "world/route.h"

using namespace vorn1;

namespace {

struct RouteCase {
    GameMap map;
    GameState state;
    FogOfWar fog;
    std::unordered_set<uint32_t> blocked;
    int x0 = 0, y0 = 0, x1 = -1, y1 = -1;

    std::vector<RouteStep> route(int x, int y) const {
        return find_route(map, x0, y0, x, y, 12000, false, false, true, &fog, &blocked, true);
    }
};

// From the first player's hero, the nearest goal whose route has at least `steps` steps; the longest
// route the map has when none is that long.
RouteCase make_case(int dim, int steps) {
    RouteCase c;
    c.map = kit::make_scenario_map(dim <= 36 ? 0 : dim <= 54 ? 1 : 2, 2, 13, "Bench");
    rebuild_monster_guard_map(c.map);
    NewGameConfig cfg;
    init_game_state(c.state, c.map, cfg, 5);
    for (const HeroState& h : c.state.heroes)
        if (h.live && h.owner == 0) {
            c.x0 = h.x;
            c.y0 = h.y;
            break;
        }
    c.fog.reveal_radius(c.x0, c.y0, 2 * dim);
    c.blocked = build_owned_event_tiles(c.state, 0);
    size_t best = 0;
    for (int r = 1; r < dim && best < (size_t)steps; ++r)
        for (int y = c.y0 - r; y <= c.y0 + r && best < (size_t)steps; ++y)
            for (int x = c.x0 - r; x <= c.x0 + r && best < (size_t)steps; ++x) {
                if (std::max(std::abs(x - c.x0), std::abs(y - c.y0)) != r || !c.map.in_bounds(x, y)) continue;
                const size_t n = c.route(x, y).size();
                if (n > best) best = n, c.x1 = x, c.y1 = y;
            }
    return c;
}

}  // namespace

static void BM_FindRoute(benchmark::State& st) {
    const RouteCase c = make_case((int)st.range(0), (int)st.range(1));
    size_t steps = 0;
    for (auto _ : st) {
        auto r = c.route(c.x1, c.y1);
        steps = r.size();
        benchmark::DoNotOptimize(r);
    }
    st.counters["steps"] = (double)steps;
}
BENCHMARK(BM_FindRoute)->ArgsProduct({{36, 54, 72}, {4, 100}})->Unit(benchmark::kMicrosecond);

static void BM_FindRouteCornerToCorner(benchmark::State& st) {
    GameMap maps[2] = {kit::make_scenario_map(2, 4, 13, "Bench"), {}};
    rebuild_monster_guard_map(maps[0]);
    maps[1] = maps[0];
    // A byte the step rule does not read, so that both maps have the same routes.
    for (MapTile& t : maps[1].tiles) t.byte6 ^= 1;
    const bool changed = st.range(0) != 0;
    size_t steps = 0;
    int n = 0;
    for (auto _ : st) {
        const GameMap& m = maps[changed ? n++ & 1 : 0];
        auto r = find_route(m, 4, 5, 67, 67, ROUTE_UNLIMITED_MP, false, false, false, nullptr, nullptr, true);
        steps = r.size();
        benchmark::DoNotOptimize(r);
    }
    st.counters["steps"] = (double)steps;
}
BENCHMARK(BM_FindRouteCornerToCorner)->ArgName("changed")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
