// The computer player's town turn on a four-player large kit map, one battle prediction and the map model.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "ai/ai_battle.h"
#include "ai/ai_map_model.h"
#include "ai/ai_economy.h"
#include "datakit/kit_maps.h"
#include "world/game_setup.h"

using namespace vorn1;

namespace {

struct BenchGame {
    GameMap map;
    GameState state;
};

// The decision log goes to the standard error stream, as in the game where it reaches no console.
const bool kQuietLog = std::freopen("/dev/null", "w", stderr) != nullptr;

BenchGame rich_game() {
    BenchGame g;
    g.map = kit::make_scenario_map(2, 4, 13, "Bench");
    rebuild_monster_guard_map(g.map);
    NewGameConfig cfg;
    cfg.opponents = {OPP_GENIUS, OPP_GENIUS, OPP_GENIUS};
    init_game_state(g.state, g.map, cfg, 5);
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        g.state.resources[p] = {60000, 60, 60, 30, 30, 30, 30};
        g.state.ai_vars[p].gold_income = 2000;
    }
    for (CastleState& c : g.state.castles) {
        c.buildings |= BLD_THIEVES_GUILD | BLD_TAVERN | BLD_GUILD1;
        for (int k = 0; k < 6; ++k) c.available[k] = 20;
    }
    return g;
}

}  // namespace

static void BM_AITownTurn(benchmark::State& st) {
    benchmark::DoNotOptimize(kQuietLog);
    const BenchGame start = rich_game();
    int32_t spent = 0;
    for (auto _ : st) {
        st.PauseTiming();
        BenchGame g = start;
        st.ResumeTiming();
        ai_town_turn(g.state, g.map, 1, true);
        spent = start.state.resources[1].gold - g.state.resources[1].gold;
        benchmark::DoNotOptimize(g.state.resources[1]);
    }
    st.counters["gold_spent"] = spent;
}
BENCHMARK(BM_AITownTurn)->Unit(benchmark::kMicrosecond);

static void BM_AIBattlePrediction(benchmark::State& st) {
    BenchGame g = rich_game();
    HeroState& hero = g.state.heroes[1];
    hero.army.ids = {2, 3, 4, 5, 1};
    hero.army.counts = {40, 20, 10, 5, 30};
    hero.has_spellbook = 1;
    hero.spell_charges[15] = 2;
    hero.spell_charges[4] = 3;
    MonsterStackState m;
    m.x = hero.x + 2;
    m.y = hero.y;
    m.creature = 9;
    m.count = 35;
    g.state.monsters.push_back(m);
    const AIMapObject target{m.x, m.y, AIO_MONSTER, static_cast<int32_t>(g.state.monsters.size()) - 1, true};
    for (auto _ : st) {
        AIBattleOutcome o = ai_battle_outcome(g.state, 1, hero, target);
        benchmark::DoNotOptimize(o);
    }
}
BENCHMARK(BM_AIBattlePrediction)->Unit(benchmark::kNanosecond);

static void BM_AIMapModel(benchmark::State& st) {
    const BenchGame g = rich_game();
    AIContext c;
    for (auto _ : st) {
        ai_scan_map(c, g.state, g.map, 1);
        ai_build_regions(c, g.state, g.map);
        benchmark::DoNotOptimize(c.region_value.data());
    }
}
BENCHMARK(BM_AIMapModel)->Unit(benchmark::kMicrosecond);
