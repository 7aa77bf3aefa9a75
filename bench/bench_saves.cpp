// Save and load of a full four-player game on a large map.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "persist/save_paths.h"
#include "persist/savegame.h"

namespace {

using namespace vorn1;

struct BigGame {
    GameState state;
    GameMap map;
    NewGameConfig config;
    PuzzleMapState puzzle;
    SavedEliminationState elim;
};

BigGame make_big_game() {
    BigGame g;
    g.map.tiles.assign(72 * 72, MapTile{});
    for (std::size_t i = 0; i < g.map.tiles.size(); ++i) g.map.tiles[i].ground = static_cast<uint8_t>(i % 200);
    GameState& s = g.state;
    s.num_players = 4;
    for (int p = 0; p < 4; ++p) {
        s.player_in_play[p] = 1;
        s.player_color[p] = static_cast<uint8_t>(p);
        for (int i = 0; i < 72 * 72; i += 3) s.fog[p].explored[i] = 1;
    }
    for (int i = 0; i < 24; ++i) {
        CastleState c;
        c.live = 1;
        c.x = i * 3;
        c.y = i * 2;
        c.owner = i % 5 - 1;
        c.name = "Town" + std::to_string(i);
        s.castles.push_back(c);
    }
    for (int i = 0; i < 32; ++i) {
        HeroState h;
        h.live = 1;
        h.x = i * 2;
        h.y = 70 - i;
        h.owner = i % 4;
        h.name = "Hero" + std::to_string(i);
        s.heroes.push_back(h);
    }
    for (int i = 0; i < 150; ++i) s.monsters.push_back({i % 72, i / 3, static_cast<uint8_t>(i % 28), 10 + i, 0, 0, 0});
    s.mines.resize(40);
    s.chests.resize(60);
    s.map_artifacts.resize(40);
    s.resource_piles.resize(80);
    s.campfires.resize(30);
    s.garrisons.resize(20);
    s.shrines.resize(15);
    s.huts.resize(30);
    for (auto& e : s.pool.entries) e.name = "Pool hero";
    for (uint32_t k = 0; k < 400; ++k) {
        s.visited_sites.push_back(k);
        s.visit_count_keys.push_back(k);
        s.visit_counts.push_back(1);
    }
    for (int i = 0; i < 12; ++i) g.puzzle.visited_obelisks[i * 7] = 3;
    g.config.map_stem = "BIG";
    return g;
}

void BM_BuildSaveImage(benchmark::State& st) {
    const BigGame g = make_big_game();
    for (auto _ : st) {
        auto image = build_save_image(g.state, g.map, g.config, 3, 2, 1, &g.puzzle, 1, &g.elim);
        benchmark::DoNotOptimize(image.data());
        st.counters["bytes"] = static_cast<double>(image.size());
    }
}
BENCHMARK(BM_BuildSaveImage)->Unit(benchmark::kMillisecond);

void BM_LoadSaveImage(benchmark::State& st) {
    const BigGame g = make_big_game();
    const auto image = build_save_image(g.state, g.map, g.config, 3, 2, 1, &g.puzzle, 1, &g.elim);
    for (auto _ : st) {
        LoadResult r = load_game_image(image, "", false);
        if (!r.ok) st.SkipWithError("load failed");
        benchmark::DoNotOptimize(r.state.heroes.data());
    }
}
BENCHMARK(BM_LoadSaveImage)->Unit(benchmark::kMillisecond);

// The whole save_game, including the synced write and the rename.
void BM_SaveGameToDisk(benchmark::State& st) {
    const BigGame g = make_big_game();
    // Per process: benchmarks of several checkouts may run at once.
    const auto root = std::filesystem::temp_directory_path() / ("vorn1_bench_saves_" + std::to_string(::getpid()));
    std::filesystem::create_directories(root);
    set_save_archive_path((root / "VELDAR.AGG").string());
    const std::string path = compose_save_path("bench");
    std::cout.setstate(std::ios::failbit);  // the writer's progress lines
    for (auto _ : st) {
        if (!save_game(path, g.state, g.map, g.config, 3, 2, 1, &g.puzzle, 1, &g.elim)) st.SkipWithError("save failed");
    }
    std::cout.clear();
    std::filesystem::remove_all(root);
    set_save_archive_path("");
}
BENCHMARK(BM_SaveGameToDisk)->Unit(benchmark::kMillisecond);

}  // namespace
