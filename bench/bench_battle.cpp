// Speed of the headless battle (quick combat and the computer player's predictions) and of the
// four ways a battle opens.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "battle/headless_battle.h"
#include "world/game_state.h"
#include "world/map.h"

using namespace vorn1;

namespace {

HeadlessSideInput big_side(std::array<uint8_t, 5> ids, std::array<int32_t, 5> counts, int attack, int defense,
                           int luck) {
    HeadlessSideInput s;
    s.ids = ids;
    s.counts = counts;
    s.attack = attack;
    s.defense = defense;
    s.luck = luck;
    return s;
}

void BM_HeadlessLargeMixedBattle(benchmark::State& state) {
    HeadlessSideInput a = big_side({1, 4, 11, 14, 23}, {900, 400, 150, 700, 40}, 6, 4, 2);
    HeadlessSideInput d = big_side({7, 10, 17, 22, 26}, {1200, 300, 60, 120, 500}, 5, 7, 1);
    unsigned seed = 1;
    for (auto _ : state) {
        HeadlessResult r = simulate_headless_battle(a, d, seed++);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_HeadlessLargeMixedBattle);

void BM_HeadlessTimeout(benchmark::State& state) {
    // The longest battle: every one of the 100 rounds is fought.
    HeadlessSideInput a = big_side({200, 200, 200, 200, 200}, {5000, 5000, 5000, 5000, 5000}, 0, 0, 0);
    for (auto _ : state) {
        HeadlessResult r = simulate_headless_battle(a, a, 9);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_HeadlessTimeout);

struct OpenFixture {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    BattleResources res;
    GameMap map;
    GameState game;

    OpenFixture() {
        map.tiles.assign(static_cast<size_t>(map.width) * map.height, MapTile{});
        for (int i = 0; i < 2; ++i) {
            HeroState h;
            h.live = 1;
            h.x = 10 + i;
            h.y = 10;
            h.owner = i;
            h.army.ids = {0, 4, 23, 13, 1};
            h.army.counts = {100, 20, 2, 30, 15};
            h.artifacts[0] = 17;
            game.heroes.push_back(h);
        }
        MonsterStackState m;
        m.x = 12;
        m.y = 10;
        m.creature = 8;
        m.count = 37;
        game.monsters.push_back(m);
    }
    ~OpenFixture() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
};

void BM_OpenForms(benchmark::State& state) {
    OpenFixture f;
    BattleScreen b;
    b.init(&f.res, nullptr, f.renderer, nullptr, nullptr);
    const std::array<uint8_t, 5> ids{9, 10, 255, 11, 5};
    const std::array<int, 5> counts{20, 10, 0, 4, 3};
    int form = static_cast<int>(state.range(0));
    for (auto _ : state) {
        switch (form) {
            case 0: b.open(0, 12, 10, f.map, f.game, 5, true); break;
            case 1: b.open_neutral_town(0, 12, 12, ids, counts, f.map, f.game, 5, true, nullptr); break;
            case 2: b.open_hero_vs_hero(0, 1, f.map, f.game, 5, true, BattleScreen::BattleControl{}); break;
            default:
                b.open_castle_battle(0, 11, 10, 1, true, 1, ids, counts, f.map, f.game, 5,
                                     BattleScreen::BattleControl{});
                break;
        }
        benchmark::DoNotOptimize(b.queue.data());
        b.close();
    }
}
BENCHMARK(BM_OpenForms)->Arg(0)->Arg(1)->Arg(2)->Arg(3);

// Paths across a field crowded with stacks, the per-click and per-decision search.
void BM_FindPath(benchmark::State& state) {
    BattleScreen b;
    BattleUnit& walker = b.attackers[0];
    walker.creature = 3;
    walker.count = 10;
    walker.spell_status = 10;  // range 3
    walker.row = 2;
    walker.col = 1;
    for (int i = 0; i < 4; ++i) {
        BattleUnit& u = b.defenders[i];
        u.creature = 0;
        u.count = 1;
        u.side = 1;
        u.row = i;
        u.col = 3;
    }
    size_t total = 0;
    for (auto _ : state)
        for (int r = 0; r < 5; ++r)
            for (int c = 1; c < 8; ++c) total += b.find_path(walker, r, c).size();
    benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_FindPath);

// A whole computer-against-computer hero battle on the frame machine, 16 ms frames.
void BM_ComputerBattle(benchmark::State& state) {
    OpenFixture f;
    int frames = 0;
    for (auto _ : state) {
        GameState g = f.game;
        BattleScreen b;
        b.init(&f.res, nullptr, f.renderer, nullptr, nullptr);
        b.open_hero_vs_hero(0, 1, f.map, g, 42, true, BattleScreen::BattleControl{{0, 0}});
        frames = 0;
        while (b.overlay != BattleOverlay::Result && frames < 100000) {
            b.tick(16.0f);
            ++frames;
        }
    }
    state.counters["frames"] = frames;
}
BENCHMARK(BM_ComputerBattle)->Unit(benchmark::kMillisecond);

}  // namespace
