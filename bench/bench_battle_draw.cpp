// Cost of one battle frame on the game's own window and software renderer, so in the window's pixel
// format as in play (ten stacks with badges, the active outline, demo creature art; then a whole opened
// battle with scenery, obstacles, tents and text) and of loading every battle sprite set. The label
// names the window's format.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <iostream>
#include <string>

#include "assets/agg.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "datakit/kit_demo.h"
#include "mainloop/window_scale.h"
#include "world/game_state.h"
#include "world/map.h"

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

// The window and renderer the game draws on; an error for the benchmark when there is no video.
struct GameTarget {
    bool video = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    GameWindow w = video ? open_game_window("bench_battle_draw") : GameWindow{};
    SDL_Renderer* renderer = w.renderer;

    explicit GameTarget(benchmark::State& state) {
        if (!renderer) state.SkipWithError((std::string("no game window: ") + SDL_GetError()).c_str());
        else state.SetLabel(SDL_GetPixelFormatName(SDL_GetWindowPixelFormat(w.window)));
    }
    ~GameTarget() {
        if (w.renderer) SDL_DestroyRenderer(w.renderer);
        if (w.window) SDL_DestroyWindow(w.window);
        if (video) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

// The measured loop: one frame a pass, the clock moving as in play; then both are released. The flush
// does what presenting the frame starts with: a renderer that batches draws only then.
void draw_frames(benchmark::State& state, BattleScreen& b, BattleResources& res) {
    for (auto _ : state) {
        b.battle_clock += 16.0f;
        b.draw();
        SDL_RenderFlush(b.renderer);
        benchmark::ClobberMemory();
    }
    b.shutdown();
    res.shutdown();
}

void BM_BattleFrame(benchmark::State& state) {
    GameTarget target(state);
    if (!target.renderer) return;
    SDL_Renderer* renderer = target.renderer;
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
        draw_frames(state, b, res);
    }
}
BENCHMARK(BM_BattleFrame)->Unit(benchmark::kMillisecond);

// A hero battle as the game opens it: five stacks a side, the grass field with its obstacles, both
// tents with banners, the message in the text bar and the combat cursor.
void BM_OpenedBattleFrame(benchmark::State& state) {
    GameTarget target(state);
    if (!target.renderer) return;
    SDL_Renderer* renderer = target.renderer;
    TTF_Init();
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 14);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 10);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    {
        BattleResources res;
        {
            Quiet q;
            res.load(ar, kit::demo_palette(), renderer, "");
        }
        GameMap map;
        map.width = map.height = 72;
        MapTile grass;
        grass.ground = 30;
        map.tiles.assign(72 * 72, grass);
        GameState game;
        for (int h = 0; h < 2; ++h) {
            HeroState hero;
            hero.live = 1;
            hero.owner = static_cast<uint8_t>(h);
            hero.x = 10 + h;
            hero.y = 10;
            hero.crest = static_cast<uint8_t>(0x10 * (h + 1) + h);
            for (int s = 0; s < 5; ++s) {
                hero.army.ids[s] = static_cast<uint8_t>(h * 13 + s * 2);
                hero.army.counts[s] = static_cast<uint16_t>(10 + s);
            }
            game.heroes.push_back(hero);
        }
        BattleScreen b;
        b.init(&res, nullptr, renderer, font, small);
        b.tick_source = [] { return 0u; };
        unsigned seed = 1;
        for (; seed < 100; ++seed) {
            b.open_hero_vs_hero(0, 1, map, game, seed, true, BattleScreen::BattleControl{});
            if (b.field_objects.size() >= 2) break;
        }
        b.mouse_x = 320;
        b.mouse_y = 240;
        state.counters["obstacles"] = static_cast<double>(b.field_objects.size());
        draw_frames(state, b, res);
    }
    if (font) TTF_CloseFont(font);
    if (small) TTF_CloseFont(small);
}
BENCHMARK(BM_OpenedBattleFrame)->Unit(benchmark::kMillisecond);

void BM_LoadBattleResources(benchmark::State& state) {
    GameTarget target(state);
    if (!target.renderer) return;
    SDL_Renderer* renderer = target.renderer;
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    for (auto _ : state) {
        BattleResources res;
        Quiet q;
        res.load(ar, kit::demo_palette(), renderer, "");
    }
}
BENCHMARK(BM_LoadBattleResources)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
