// Asset decoding speed on a kit-made archive.
#include <benchmark/benchmark.h>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/icn.h"
#include "assets/png_decode.h"
#include "datakit/kit_formats.h"

using namespace vorn1;

namespace {

// About the shape of a game archive: sixty sprite sets of small and large frames, a few
// full-screen pictures and a palette.
const std::vector<uint8_t>& kit_archive() {
    static const std::vector<uint8_t> bytes = [] {
        std::vector<kit::AggFile> files;
        for (int s = 0; s < 60; ++s) {
            const std::string name = "SET" + std::to_string(s) + ".ICN";
            const int w = 16 + (s * 37) % 200, h = 16 + (s * 53) % 150;
            files.push_back({name, kit::labelled_icn(name, 4 + s % 30, w, h)});
        }
        for (int b = 0; b < 4; ++b) {
            const std::string name = "PIC" + std::to_string(b) + ".BMP";
            files.push_back({name, kit::labelled_bmp(name, 640, 480)});
        }
        files.push_back({"QV.PAL", kit::write_palette(kit::standard_palette())});
        return kit::write_agg(files);
    }();
    return bytes;
}

void BM_OpenArchive(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = kit_archive();  // made once, outside the timing
    for (auto _ : state) benchmark::DoNotOptimize(AggArchive::from_bytes(bytes));
}
BENCHMARK(BM_OpenArchive);

void BM_DecodeEverySpriteSet(benchmark::State& state) {
    const AggArchive a = AggArchive::from_bytes(kit_archive());
    const Palette pal = load_palette(a.get("QV.PAL"));
    int64_t pixels = 0;
    for (auto _ : state) {
        for (const std::string& n : a.names()) {
            if (n.size() < 4 || n.compare(n.size() - 4, 4, ".ICN") != 0) continue;
            IcnFrames f = decode_icn(a.get(n), pal);
            for (const Image& img : f.frames) pixels += static_cast<int64_t>(img.width) * img.height;
        }
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeEverySpriteSet)->Unit(benchmark::kMillisecond);

void BM_DecodeScreenPicture(benchmark::State& state) {
    const auto raw = kit::labelled_bmp("BIG.BMP", 640, 480);
    const Palette pal = kit::standard_palette();
    for (auto _ : state) benchmark::DoNotOptimize(decode_bmp(raw, pal));
}
BENCHMARK(BM_DecodeScreenPicture)->Unit(benchmark::kMicrosecond);

void BM_DecodeScreenPng(benchmark::State& state) {
    const auto png = encode_png(decode_bmp(kit::labelled_bmp("BIG.BMP", 640, 480), kit::standard_palette()));
    for (auto _ : state) benchmark::DoNotOptimize(decode_png(png));
}
BENCHMARK(BM_DecodeScreenPng)->Unit(benchmark::kMicrosecond);

}  // namespace
