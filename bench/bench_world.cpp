// Route planning across a full map and the day turnover of a four-player game.
#include <benchmark/benchmark.h>

#include "datakit/kit_maps.h"
#include "world/game_setup.h"
#include "world/new_day.h"
#include "world/route.h"

using namespace vorn1;

namespace {

GameMap large_map() {
    GameMap m = kit::make_scenario_map(2, 4, 13, "Bench");
    rebuild_monster_guard_map(m);
    return m;
}

}  // namespace

static void BM_FindRouteCornerToCorner(benchmark::State& st) {
    const GameMap m = large_map();
    size_t steps = 0;
    for (auto _ : st) {
        auto r = find_route(m, 4, 5, 67, 67, ROUTE_UNLIMITED_MP, false, false, true, nullptr, nullptr, false);
        steps = r.size();
        benchmark::DoNotOptimize(r);
    }
    st.counters["steps"] = (double)steps;
}
BENCHMARK(BM_FindRouteCornerToCorner)->Unit(benchmark::kMicrosecond);

static void BM_FindRouteGuarded(benchmark::State& st) {
    const GameMap m = large_map();
    for (auto _ : st) {
        auto r = find_route(m, 4, 5, 67, 67, 60, false, false, false, nullptr, nullptr, true);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_FindRouteGuarded)->Unit(benchmark::kMicrosecond);

static void BM_AdvanceDayFourPlayers(benchmark::State& st) {
    GameMap m = large_map();
    NewGameConfig cfg;
    cfg.opponents = {OPP_AVERAGE, OPP_SMART, OPP_GENIUS};
    GameState s;
    init_game_state(s, m, cfg, 5);
    std::vector<int> left, max;
    uint32_t seed = 1;
    for (auto _ : st) {
        WeekEvent ev = advance_day(s, m, left, max, nullptr, seed++);
        benchmark::DoNotOptimize(ev);
    }
}
BENCHMARK(BM_AdvanceDayFourPlayers)->Unit(benchmark::kMicrosecond);
