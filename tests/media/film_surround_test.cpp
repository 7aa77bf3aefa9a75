// MP4 films with six sound channels (5.1) on the dummy drivers, made in-process by the kit.
#include <algorithm>
#include <cmath>

#include "datakit/kit_video.h"
#include "media/mp4_player.h"
#include "media/smk_film_fixture.h"

using namespace vorn1;
using vorn1::test::FakeFilmClock;
using vorn1::test::FilmTest;
using vorn1::test::Rgb;

namespace {

double rms(const std::vector<int16_t>& s, size_t channel, size_t channels) {
    double sum = 0;
    for (size_t i = channel; i < s.size(); i += channels) sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / static_cast<double>(std::max<size_t>(1, s.size() / channels)));
}

}  // namespace

// As AAC at 48 kHz and as FLAC at 44.1 kHz in packets of 1000 sample frames (no whole number of
// the converter's blocks), the film plays to its end with its pictures shown, and its 3 s tone
// reaches the mixer in the mixer's own channels: 3 s of them at the mixer's rate (within 1 %, the
// last packet's padding), the front left channel's tone on the left, the right all but silent.
TEST_F(FilmTest, SurroundMp4SoundReachesTheMixerInItsChannels) {
    int mix_rate = 0, mix_channels = 0;
    Uint16 mix_format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&mix_rate, &mix_format, &mix_channels));
    ASSERT_EQ(mix_format, AUDIO_S16LSB);
    for (const kit::Mp4Sound codec : {kit::Mp4Sound::Aac, kit::Mp4Sound::Flac}) {
        const bool flac = codec == kit::Mp4Sound::Flac;
        const std::string name = flac ? "flac.mp4" : "aac.mp4";
        kit::Mp4Spec spec;
        spec.width = 160;
        spec.height = 120;
        spec.frames = 30;
        spec.audio_rate = flac ? 44100 : 48000;
        spec.audio_seconds = 3.0;
        spec.audio_channels = 6;
        spec.audio_codec = codec;
        spec.audio_packet = flac ? 1000 : 0;
        std::string why;
        ASSERT_TRUE(kit::write_mp4(file(name), spec, &why)) << name << ": " << why;

        FakeFilmClock c;
        std::vector<int16_t> mixed;
        Rgb middle;
        c.at(50, [&mixed] {
            if (Mix_Chunk* k = Mix_GetChunk(0))
                mixed.assign(reinterpret_cast<const int16_t*>(k->abuf), reinterpret_cast<const int16_t*>(k->abuf) + k->alen / 2);
        });
        c.at(1500, [&middle] { middle = pixel(320, 240); });
        SmkPlayOptions o;
        o.use_mixer = 1;
        o.clock = c.clock();
        EXPECT_EQ(play_mp4_file(renderer, file(name), o), kFilmEnded) << name;
        EXPECT_EQ(c.t, 2900u) << name;
        EXPECT_TRUE(log->empty()) << name << ": " << log->front();
        for (const Rgb& shown : {middle, pixel(320, 240)})
            EXPECT_GT(shown.r + shown.g + shown.b, 150) << name << " " << shown;

        const size_t frames = mixed.size() / static_cast<size_t>(mix_channels);
        EXPECT_NEAR(static_cast<double>(frames), 3.0 * mix_rate, 0.03 * mix_rate) << name;
        const double left = rms(mixed, 0, static_cast<size_t>(mix_channels));
        EXPECT_GT(left, 1000) << name;
        EXPECT_LT(rms(mixed, 1, static_cast<size_t>(mix_channels)), left / 20) << name;
    }
}
