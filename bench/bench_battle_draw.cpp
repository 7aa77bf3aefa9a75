// Cost of one battle frame on the software renderer (ten stacks with badges, the active outline,
// demo creature art) and of loading every battle sprite set.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <iostream>

#include "assets/agg.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "datakit/kit_demo.h"

using namespace vorn1;

namespace {

struct Quiet {
    std::streambuf* out = std::cout.rdbuf(nullptr);
    std::streambuf* err = std::cerr.rdbuf(nullptr);
    ~Quiet() {
        std::cout.rdbuf(out);
        std::cerr.rdbuf(err);
    }
};

void BM_BattleFrame(benchmark::State& state) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    {
        BattleResources res;
        {
            Quiet q;
            res.load(ar, kit::demo_palette(), renderer, "");
        }
        BattleScreen b;
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        b.active = 1;
        b.tick_source = [] { return 0u; };
        for (int s = 0; s < 5; ++s) {
            b.attackers[s].creature = static_cast<uint8_t>(s * 2);
            b.attackers[s].count = 10 + s;
            b.attackers[s].row = s;
            b.attackers[s].col = 0;
            b.defenders[s].creature = static_cast<uint8_t>(s * 2 + 11);
            b.defenders[s].count = 5 + s;
            b.defenders[s].side = 1;
            b.defenders[s].row = s;
            b.defenders[s].col = 8;
        }
        b.queue.push_back(TurnEntry{0, 0});
        b.current = 0;
        for (auto _ : state) {
            b.battle_clock += 16.0f;
            b.draw();
            benchmark::ClobberMemory();
        }
        b.shutdown();
        res.shutdown();
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}
BENCHMARK(BM_BattleFrame)->Unit(benchmark::kMillisecond);

void BM_LoadBattleResources(benchmark::State& state) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    for (auto _ : state) {
        BattleResources res;
        Quiet q;
        res.load(ar, kit::demo_palette(), renderer, "");
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}
BENCHMARK(BM_LoadBattleResources)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
