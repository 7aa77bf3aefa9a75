// Smacker decoding throughput on kit films: a full-screen film of moving bands and a title, a noisy
// film of full blocks, and the sound of a film alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "datakit/kit_video.h"
#include "media/smk_video.h"

using namespace vorn1;

namespace {

const std::vector<uint8_t>& title_film() {
    static const std::vector<uint8_t> b = kit::write_smk(kit::demo_smk_film("THE MOORS AWAIT", 640, 480, 2.0, true));
    return b;
}

const std::vector<uint8_t>& noisy_film() {
    static const std::vector<uint8_t> b = [] {
        kit::SmkFilm f;
        f.version = '4';
        f.width = 320;
        f.height = 240;
        std::mt19937 rng(5);
        for (int k = 0; k < 10; ++k) {
            kit::SmkFrameIn fr;
            fr.pixels.resize(320 * 240);
            for (uint8_t& p : fr.pixels) p = static_cast<uint8_t>(rng() % 24);
            if (k == 0) fr.palette6 = kit::smk_standard_palette6();
            f.frames.push_back(std::move(fr));
        }
        return kit::write_smk(f);
    }();
    return b;
}

void decode_film(benchmark::State& state, const std::vector<uint8_t>& bytes) {
    SmkVideo v;
    if (!v.load_memory(bytes)) {
        state.SkipWithError(v.error.c_str());
        return;
    }
    int64_t frames = 0, pixels = 0;
    for (auto _ : state) {
        v.rewind();
        for (;;) {
            const SmkFrame& f = v.decode_next();
            if (f.frame_index < 0) break;
            benchmark::DoNotOptimize(f.rgba.data());
            ++frames;
            pixels += static_cast<int64_t>(v.width) * v.height;
        }
    }
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.counters["Mpixels/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6, benchmark::Counter::kIsRate);
}

void BM_DecodeTitleFilm640x480(benchmark::State& state) { decode_film(state, title_film()); }
BENCHMARK(BM_DecodeTitleFilm640x480)->Unit(benchmark::kMillisecond);

void BM_DecodeNoisyFilm320x240(benchmark::State& state) { decode_film(state, noisy_film()); }
BENCHMARK(BM_DecodeNoisyFilm320x240)->Unit(benchmark::kMillisecond);

void BM_LoadFilm(benchmark::State& state) {
    for (auto _ : state) {
        SmkVideo v;
        benchmark::DoNotOptimize(v.load_memory(title_film()));
    }
}
BENCHMARK(BM_LoadFilm)->Unit(benchmark::kMicrosecond);

void BM_DecodeSoundChunk(benchmark::State& state) {
    std::vector<uint8_t> pcm(22050);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<uint8_t>(128 + 50 * std::sin(i * 0.07));
    const std::vector<uint8_t> chunk = kit::encode_smk_audio(pcm, false, false);
    SmkVideo v;
    std::vector<uint8_t> out;
    for (auto _ : state) {
        v.decode_audio(chunk.data(), chunk.size(), out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["samples/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * 22050, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeSoundChunk)->Unit(benchmark::kMicrosecond);

}  // namespace
