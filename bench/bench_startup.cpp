// Start-up costs: opening the demo archive, building the asset cache, and the per-frame cost of
// the title sea, the palette-cycled town pictures and one dissolve frame.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/dissolve.h"
#include "assets/resources.h"
#include "assets/title_sea_cycle.h"
#include "datakit/kit_demo.h"

namespace {

struct Fixture {
    std::string path;
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    Fixture() {
        path = (std::filesystem::temp_directory_path() / ("vorn1_bench_demo_" + std::to_string(::getpid()) + ".agg")).string();
        vorn1::kit::write_file(path, vorn1::kit::demo_archive_bytes());
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA32);
        renderer = SDL_CreateSoftwareRenderer(surface);
        std::fclose(stderr);  // the cache's loading lines would drown the report
    }
    ~Fixture() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
        std::filesystem::remove(path);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_OpenDemoArchive(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        vorn1::AggArchive a(f.path);
        benchmark::DoNotOptimize(a.names().size());
    }
}
BENCHMARK(BM_OpenDemoArchive)->Unit(benchmark::kMillisecond);

void BM_OpenArchiveAndBuildResources(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        vorn1::Resources res(f.renderer, std::make_unique<vorn1::AggArchive>(f.path));
        benchmark::DoNotOptimize(res.system_btn.count());
    }
}
BENCHMARK(BM_OpenArchiveAndBuildResources)->Unit(benchmark::kMillisecond);

void BM_TitleSeaPhase(benchmark::State& state) {
    Fixture& f = fixture();
    const vorn1::AggArchive a(f.path);
    const vorn1::Palette pal = vorn1::kit::demo_palette();
    vorn1::TitleSeaCycle sea;
    sea.init(f.renderer, pal);
    sea.set_source(vorn1::decode_bmp(a.get("VELDAR.BMP"), pal));
    uint32_t ms = 0;
    for (auto _ : state) {
        ms += vorn1::TitleSeaCycle::kPeriodMs;  // every tick a new phase
        sea.tick(ms);
    }
}
BENCHMARK(BM_TitleSeaPhase)->Unit(benchmark::kMicrosecond);

void BM_DissolveFrame(benchmark::State& state) {
    Fixture& f = fixture();
    SDL_Texture* from = SDL_CreateTexture(f.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, 479, 480);
    SDL_Texture* to = SDL_CreateTexture(f.renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, 479, 480);
    vorn1::DissolveMask mask;
    mask.reset(479, 480, 1, 10, 0);
    const SDL_Rect rect{0, 0, 479, 480};
    int frame = 0;
    for (auto _ : state) {
        // Thirty frames a dissolve, as at 60 frames a second over 500 ms.
        const float t = static_cast<float>(frame++ % 31) / 30.0f;
        vorn1::dissolve_draw(f.renderer, vorn1::DissolveMode::RandomCells, mask, from, to, rect, t);
    }
    mask.free_textures();
    SDL_DestroyTexture(from);
    SDL_DestroyTexture(to);
}
BENCHMARK(BM_DissolveFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
