// Front-end costs that recur: the per-frame text lookups of the map list and the campaign pages,
// and the scan of a maps folder each time a set-up page opens.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "datakit/datakit.h"
#include "datakit/kit_frontend.h"
#include "frontend/campaign_data.h"
#include "frontend/localized_texts.h"
#include "frontend/map_discovery.h"
#include "lang/runtime_strings.h"

namespace {

void BM_MapListNamesOneFrame(benchmark::State& state) {
    // Twelve visible rows, half of them translated.
    std::string json = "{";
    for (int i = 0; i < 12; i += 2) json += (i ? "," : "") + std::string("\"MAPNAME_M") + std::to_string(i) + "\":\"x\"";
    json += "}";
    vorn1::strings().load_from_text(json, "{}");
    for (auto _ : state)
        for (int i = 0; i < 12; ++i) benchmark::DoNotOptimize(vorn1::localized_map_name("M" + std::to_string(i), "Name"));
}
BENCHMARK(BM_MapListNamesOneFrame);

void BM_ScenarioTextLookup(benchmark::State& state) {
    vorn1::strings().load_from_text("{}", "{}");
    for (auto _ : state) {
        const vorn1::CampaignScenarioInfo info = vorn1::get_campaign_scenario_info(4, vorn1::CAMPAIGN_ORIGINAL);
        benchmark::DoNotOptimize(info.intro.size());
    }
}
BENCHMARK(BM_ScenarioTextLookup);

void BM_DiscoverMaps(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vorn1_bench_maps_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    for (int i = 0; i < state.range(0); ++i)
        vorn1::kit::write_file((dir / ("M" + std::to_string(i) + "1234.MAP")).string(),
                               vorn1::kit::map_header_bytes("Map " + std::to_string(i), "A map.", 1, 2));
    for (auto _ : state) benchmark::DoNotOptimize(vorn1::discover_maps(dir.string()).size());
    fs::remove_all(dir);
}
BENCHMARK(BM_DiscoverMaps)->Arg(21)->Arg(200);

}  // namespace
