// One day of three Genius computer players on the four-player large kit map: each seat's whole turn through
// the step protocol (town economy, planning, walking, claiming, battles), the human seat idle.
#include <benchmark/benchmark.h>

#include "ai/ai_executor.h"
#include "datakit/kit_maps.h"
#include "world/game_setup.h"
#include "world/new_day.h"

using namespace vorn1;

namespace {

struct DayGame {
    GameMap map;
    GameState state;
    std::vector<int> left, max;
};

// A battle against the idle human seat is settled without the battle screen, as the loop settles one
// it cannot show.
void play_seat(DayGame& g, AIExecutor& ai, int p) {
    ai.begin_turn(g.state, g.map, g.left, g.max, p, 0);
    while (ai.active)
        for (int i = 0; i < kAIStepsPerPass; ++i) {
            const AIStepKind k = ai.step().kind;
            if (k == AIS_HUMAN_BATTLE) ai.settle_human_battle();
            if (k == AIS_IDLE) break;
        }
}

// The game as it stands at the start of day `day`, the three computer seats having played the days before.
DayGame game_at_day(int day) {
    std::string quiet;
    ai_log_capture(&quiet);
    DayGame g;
    g.map = kit::make_scenario_map(2, 4, 13, "Bench");
    NewGameConfig cfg;
    cfg.opponents = {OPP_GENIUS, OPP_GENIUS, OPP_GENIUS};
    init_game_state(g.state, g.map, cfg, 5);
    AIExecutor ai;
    ai.view_enemy_moves = false;
    advance_day(g.state, g.map, g.left, g.max, nullptr, 1);
    for (int d = 1; d < day; ++d) {
        for (int p = 0; p < MAX_PLAYERS; ++p)
            if (!g.state.player_is_human[p] && g.state.seat_active(p)) play_seat(g, ai, p);
        advance_day(g.state, g.map, g.left, g.max, nullptr, (uint32_t)d + 1);
    }
    ai_log_capture(nullptr);
    return g;
}

void BM_AIGeniusDay(benchmark::State& st) {
    const DayGame start = game_at_day(static_cast<int>(st.range(0)));
    std::string quiet;
    ai_log_capture(&quiet);
    AIExecutor ai;
    ai.view_enemy_moves = false;
    for (auto _ : st) {
        st.PauseTiming();
        DayGame g = start;
        quiet.clear();
        st.ResumeTiming();
        for (int p = 0; p < MAX_PLAYERS; ++p)
            if (!g.state.player_is_human[p] && g.state.seat_active(p)) play_seat(g, ai, p);
        benchmark::DoNotOptimize(g.state.resources);
    }
    ai_log_capture(nullptr);
}
BENCHMARK(BM_AIGeniusDay)->Arg(1)->Arg(8)->Arg(20)->Unit(benchmark::kMillisecond);

}  // namespace
