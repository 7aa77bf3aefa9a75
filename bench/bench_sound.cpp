// The per-frame ambient update on a busy map, and the loading of a music track.
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>

#include "datakit/kit_sound.h"
#include "media/ambient_sound.h"
#include "media/sound_chunk.h"

using namespace vorn1;

namespace {

bool open_dummy_audio() {
    static const bool ok = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) != 0) return false;
        Mix_AllocateChannels(29);
        return true;
    }();
    return ok;
}

}  // namespace

// A hero walking along a row of a map strewn with every ambient id: 49 reads, 21 channel checks.
static void BM_AmbientUpdateWalking(benchmark::State& st) {
    if (!open_dummy_audio()) {
        st.SkipWithError("no audio");
        return;
    }
    std::array<uint8_t, kSoundMapSide * kSoundMapSide> grid;
    for (int i = 0; i < kSoundMapSide * kSoundMapSide; ++i) grid[i] = static_cast<uint8_t>((i * 7919) % 40);
    AmbientSoundEngine engine;
    const std::vector<uint8_t> loop = kit::write_raw_tone(VORN_FMT_82M, 300, 100);
    for (int i = 0; i < kAmbientIds; ++i) engine.chunks[i] = load_vorn1_chunk(loop, VORN_FMT_82M, engine.wavs[i]);
    engine.grid = grid.data();
    engine.active = true;
    int x = 0;
    for (auto _ : st) {
        engine.update(x, 36);
        x = (x + 1) % kSoundMapSide;
    }
}
BENCHMARK(BM_AmbientUpdateWalking)->Unit(benchmark::kMicrosecond);

// A one-minute 16-bit stereo track wrapped and converted for the mixer.
static void BM_LoadMusicTrack(benchmark::State& st) {
    if (!open_dummy_audio()) {
        st.SkipWithError("no audio");
        return;
    }
    const std::vector<uint8_t> raw = kit::write_raw_tone(VORN_FMT_62S, 220, 60000);
    std::vector<uint8_t> wav;
    for (auto _ : st) {
        Mix_Chunk* c = load_vorn1_chunk(raw, VORN_FMT_62S, wav);
        benchmark::DoNotOptimize(c);
        Mix_FreeChunk(c);
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * static_cast<int64_t>(raw.size()));
}
BENCHMARK(BM_LoadMusicTrack)->Unit(benchmark::kMillisecond);
