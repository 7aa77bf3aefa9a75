// A film's sound converter from any track format SDL converts to any mixer format, fed in pieces of
// any size: what it makes is whole frames of the mixer's, as many as the track gives at its rate.
// Input, little-endian: track format, channels, rate (24 bits); mixer format, channels, rate (16
// bits, 4000 Hz added); film length in 64ths of a second; a count of piece sizes and the sizes (16
// bits each, used in turn); then the track.
#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "media/film_sound.h"

namespace {

constexpr SDL_AudioFormat kFormats[] = {AUDIO_U8,     AUDIO_S8,     AUDIO_U16LSB, AUDIO_S16LSB, AUDIO_U16MSB,
                                        AUDIO_S16MSB, AUDIO_S32LSB, AUDIO_S32MSB, AUDIO_F32LSB, AUDIO_F32MSB};
constexpr size_t kHeader = 11;

void quiet(void*, int, SDL_LogPriority, const char*) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SDL_LogSetOutputFunction(quiet, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    using vorn1::FilmSoundFormat;
    const FilmSoundFormat track{kFormats[data[0] % std::size(kFormats)], data[1] % 8 + 1,
                                data[2] | data[3] << 8 | data[4] << 16};
    const FilmSoundFormat mixer{kFormats[data[5] % std::size(kFormats)], data[6] % 2 + 1,
                                4000 + (data[7] | data[8] << 8)};
    vorn1::FilmSound s;
    s.who = "fuzz";
    const int sample = SDL_AUDIO_BITSIZE(track.format) / 8;
    s.budget = vorn1::film_sound_budget(data[9] / 64.0, track.rate, track.channels, sample);
    size_t at = kHeader;
    size_t pieces[8] = {};
    const size_t count = std::min<size_t>(data[10] % 9, (size - at) / 2);
    for (size_t k = 0; k < count; ++k, at += 2) pieces[k] = data[at] | data[at + 1] << 8;

    vorn1::FilmSoundConverter c;
    if (!vorn1::film_converter_open(c, s, track, mixer)) return 0;
    // Pieces in turn; a round of nothing but empty pieces takes the rest at once.
    for (size_t k = 0, empty = 0; at < size; ++k) {
        size_t n = count ? std::min(pieces[k % count], size - at) : size - at;
        empty = n == 0 ? empty + 1 : 0;
        if (empty > count) n = size - at;
        vorn1::film_converter_put(c, data + at, n);
        at += n;
    }
    vorn1::film_converter_finish(c);
    const uint64_t frames = c.taken / static_cast<uint64_t>(c.frame) * static_cast<uint64_t>(mixer.rate) /
                            static_cast<uint64_t>(track.rate);
    const uint64_t expected = std::min<uint64_t>(frames * static_cast<uint64_t>(c.mix_frame), c.capacity);
    if (c.taken > s.budget || c.size % static_cast<size_t>(c.mix_frame) != 0 || c.size != expected) std::abort();
    vorn1::film_converter_close(c);
    return 0;
}
