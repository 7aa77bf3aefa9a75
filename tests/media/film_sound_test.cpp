// A film's sound converter with tracks of more channels and wider samples than the game's films.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "media/audio_fixture.h"
#include "media/film_sound.h"

using namespace vorn1;
using vorn1::test::AudioTest;

class FilmSoundTest : public AudioTest {};

namespace {

// What one SDL_ConvertAudio over the whole track gives for the mixer.
std::vector<uint8_t> whole_conversion(const std::vector<uint8_t>& pcm, const FilmSoundFormat& track) {
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, track.format, static_cast<Uint8>(track.channels), track.rate, format,
                          static_cast<Uint8>(channels), rate) < 0)
        return {};
    std::vector<uint8_t> whole(pcm.size() * static_cast<size_t>(std::max(cvt.len_mult, 1)));
    std::copy(pcm.begin(), pcm.end(), whole.begin());
    cvt.buf = whole.data();
    cvt.len = static_cast<int>(pcm.size());
    if (SDL_ConvertAudio(&cvt) < 0) return {};
    whole.resize(static_cast<size_t>(cvt.len_cvt));
    return whole;
}

}  // namespace

// Six and eight channels of 32-bit samples, in pieces that cut sample frames and blocks, reach the
// mixer as its own whole frames, as many as the track has at the mixer's rate: at the same rate
// byte for byte what one whole conversion gives, resampled within its rounding. A rate no film
// needs, as a damaged one claims, is refused: SDL's resampler would overflow.
TEST_F(FilmSoundTest, SurroundTracksReachTheMixerAsOneWholeConversion) {
    int mix_rate = 0, mix_channels = 0;
    Uint16 mix_format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&mix_rate, &mix_format, &mix_channels));
    const size_t mix_frame = static_cast<size_t>(mix_channels) * SDL_AUDIO_BITSIZE(mix_format) / 8;
    for (const FilmSoundFormat track : {FilmSoundFormat{AUDIO_S32LSB, 6, mix_rate}, FilmSoundFormat{AUDIO_F32LSB, 8, 48000}}) {
        const size_t frames = 1037, frame = static_cast<size_t>(track.channels) * 4;
        std::vector<uint8_t> pcm(frames * frame);
        for (size_t i = 0; i < pcm.size() / 4; ++i) {
            const double v = 0.5 * std::sin(static_cast<double>(i) * 0.01);
            const int32_t s = static_cast<int32_t>(v * 2147483647.0);
            const float f = static_cast<float>(v);
            if (track.format == AUDIO_F32LSB) std::memcpy(&pcm[i * 4], &f, 4);
            else std::memcpy(&pcm[i * 4], &s, 4);
        }
        FilmSound s;
        s.who = "test";
        s.budget = pcm.size();
        FilmSoundConverter c;
        ASSERT_TRUE(film_converter_open(c, s, track.format, track.channels, track.rate));
        const size_t pieces[] = {1, 7, 301, 1000, 5000};
        for (size_t at = 0, k = 0; at < pcm.size(); ++k) {
            const size_t n = std::min(pieces[k % 5], pcm.size() - at);
            film_converter_put(c, pcm.data() + at, n);
            at += n;
        }
        film_sound_start_mixer(s, c);
        film_converter_close(c);
        ASSERT_NE(s.chunk, nullptr) << track.channels;
        const std::vector<uint8_t> whole = whole_conversion(pcm, track);
        EXPECT_EQ(s.chunk->alen, frames * static_cast<size_t>(mix_rate) / static_cast<size_t>(track.rate) * mix_frame);
        ASSERT_EQ(s.chunk->alen, whole.size()) << track.channels;
        int most = 0;
        for (size_t i = 0; i + 1 < whole.size(); i += 2)
            most = std::max(most, std::abs(int16_t(s.chunk->abuf[i] | s.chunk->abuf[i + 1] << 8) -
                                           int16_t(whole[i] | whole[i + 1] << 8)));
        EXPECT_LE(most, track.rate == mix_rate ? 0 : 1) << track.channels;
        film_sound_close(s);
    }
    FilmSound s;
    s.budget = 1000;
    FilmSoundConverter c;
    EXPECT_FALSE(film_converter_open(c, s, AUDIO_U8, 1, 16777215));
    EXPECT_EQ(c.stream, nullptr);
}
