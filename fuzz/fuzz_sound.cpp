// Raw PCM sounds of any length and format byte: the WAVE image must match its header and the mixer
// must load it or refuse it cleanly.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/sound_chunk.h"

namespace {

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) == 0) Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto fmt = static_cast<vorn1::VornAudioFmt>(data[0]);
    const std::vector<uint8_t> raw(data + 1, data + size);
    std::vector<uint8_t> wav;
    const bool built = vorn1::build_vorn1_wav(raw, fmt, wav);
    if (built != !raw.empty()) std::abort();
    if (built && (wav.size() != raw.size() + 44 || u32_at(wav, 40) != raw.size() || u32_at(wav, 4) != raw.size() + 36))
        std::abort();
    if (Mix_Chunk* chunk = vorn1::load_vorn1_chunk(raw, fmt, wav)) Mix_FreeChunk(chunk);
    else if (!wav.empty()) std::abort();
    return 0;
}
