// Text drawing and string look-up costs on the software renderer.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

#include "assets/text_render.h"
#include "lang/runtime_strings.h"

namespace {

struct Canvas {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    TTF_Font* font = nullptr;
    Canvas() {
        TTF_Init();
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer = surface ? SDL_CreateSoftwareRenderer(surface) : nullptr;
        font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 12);
    }
    ~Canvas() {
        if (font) TTF_CloseFont(font);
        if (renderer) SDL_DestroyRenderer(renderer);
        if (surface) SDL_FreeSurface(surface);
        TTF_Quit();
    }
};

void BM_Draw1000Lines(benchmark::State& state) {
    Canvas c;
    if (!c.renderer || !c.font) {
        state.SkipWithError("no renderer or font");
        return;
    }
    const SDL_Color white{255, 255, 255, 255};
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            vorn1::text::at(c.renderer, c.font, "The hero gains 250 gold and a new spell", 10, (i * 14) % 470, white);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Draw1000Lines)->Unit(benchmark::kMillisecond);

void BM_WrapParagraph(benchmark::State& state) {
    Canvas c;
    if (!c.font) {
        state.SkipWithError("no font");
        return;
    }
    std::string text;
    for (int i = 0; i < 40; ++i) text += "Across the moor the banners of the northern lords gather. ";
    for (auto _ : state) benchmark::DoNotOptimize(vorn1::text::wrap_pixels(c.font, text, 278));
}
BENCHMARK(BM_WrapParagraph)->Unit(benchmark::kMicrosecond);

void BM_StringFormat(benchmark::State& state) {
    vorn1::StringTable t;
    t.load_from_text(R"({"GAME_GOLD":"You find {0} gold and {1} wood."})", "");
    const std::vector<std::string> args = {"250", "5"};
    for (auto _ : state) benchmark::DoNotOptimize(t.format("GAME_GOLD", args));
}
BENCHMARK(BM_StringFormat);

}  // namespace
