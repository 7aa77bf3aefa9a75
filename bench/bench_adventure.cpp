// One whole adventure frame on a large kit map, drawn by the software renderer.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/render_ui.h"
#include "adventure/render_viewport.h"
#include "assets/agg.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_maps.h"

namespace {

using namespace vorn1;

struct Scene {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* r = nullptr;
    AdventureResources res;
    GameMap map;
    GameState state;
    std::vector<HeroMoveState> moves;
    std::vector<RouteMarker> markers;
    std::vector<int> hero_order, town_order, mp;
    LocatorPanelState loc;
    AdventureFrame frame;

    explicit Scene(bool fog) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
        r = SDL_CreateSoftwareRenderer(surface);
        AggArchive agg = AggArchive::from_bytes(kit::write_agg(kit::adventure_archive_files()));
        res.load(r, agg, kit::standard_palette());
        map = kit::make_scenario_map(2, 4, 13, "Bench");
        state = kit::adventure_state_for_map(map, !fog);
        if (fog)
            for (const HeroState& h : state.heroes) state.fog[0].reveal_radius(h.x, h.y, 9);
        moves.resize(state.heroes.size());
        for (size_t i = 0; i < state.heroes.size(); ++i) {
            hero_order.push_back((int)i);
            mp.push_back(40);
        }
        for (size_t i = 0; i < state.castles.size(); ++i) town_order.push_back((int)i);
        for (int k = 0; k < 12; ++k) markers.push_back({8 + k, 8, DIR_E, DIR_E, (uint8_t)(k < 6), 0});
        frame.res = &res;
        frame.state = &state;
        frame.map = &map;
        frame.moves = &moves;
        frame.markers = &markers;
        frame.current_player = 0;
        frame.selected_hero = 0;
        frame.hero_order = &hero_order;
        frame.town_order = &town_order;
        frame.locator = &loc;
        frame.hero_move_points = &mp;
        centre_view_on_tile(map, 12, 10, frame.view_x, frame.view_y);
    }
    ~Scene() {
        res.unload();
        SDL_DestroyRenderer(r);
        SDL_FreeSurface(surface);
    }
};

void BM_FullFrameLargeMap(benchmark::State& st) {
    Scene s(st.range(0) != 0);
    for (auto _ : st) {
        s.frame.anim_tick++;
        render_full_frame(s.r, s.frame);
    }
}
BENCHMARK(BM_FullFrameLargeMap)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ViewportOnly(benchmark::State& st) {
    Scene s(false);
    for (auto _ : st)
        render_viewport_passes(s.r, s.res, s.state, s.map, s.frame.view_x, s.frame.view_y, s.moves, 0, s.markers, 0);
}
BENCHMARK(BM_ViewportOnly)->Unit(benchmark::kMicrosecond);

void BM_Minimap(benchmark::State& st) {
    Scene s(true);
    for (auto _ : st) draw_minimap(s.r, s.res, s.state, s.map, 0, s.frame.view_x, s.frame.view_y);
}
BENCHMARK(BM_Minimap)->Unit(benchmark::kMicrosecond);

}  // namespace
