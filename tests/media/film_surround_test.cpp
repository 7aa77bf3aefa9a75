// MP4 films with six sound channels (5.1) or more on the dummy drivers, made in-process by the kit.
#include <algorithm>
#include <bit>
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

// As 5.1 in AAC at 48 kHz and in FLAC at 44.1 kHz in packets of 1000 sample frames (no whole
// number of the converter's blocks), and with more channels than the mixer's converter takes: 16 in
// AAC, and 11 in Vorbis (a count of no named layout), the film plays to its end with its pictures
// shown, and its 3 s tone reaches the mixer in the mixer's own channels: 3 s of them at the mixer's
// rate (within 1 %, the last packet's padding), the front left channel's tone on the left, the
// right all but silent.
TEST_F(FilmTest, SurroundMp4SoundReachesTheMixerInItsChannels) {
    int mix_rate = 0, mix_channels = 0;
    Uint16 mix_format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&mix_rate, &mix_format, &mix_channels));
    ASSERT_EQ(mix_format, AUDIO_S16LSB);
    struct Track {
        const char* name;
        kit::Mp4Sound codec;
        int rate, channels, packet;
    };
    for (const Track& t : {Track{"aac.mp4", kit::Mp4Sound::Aac, 48000, 6, 0},
                           Track{"flac.mp4", kit::Mp4Sound::Flac, 44100, 6, 1000},
                           Track{"aac16.mp4", kit::Mp4Sound::Aac, 48000, 16, 0},
                           Track{"vorbis11.mp4", kit::Mp4Sound::Vorbis, 48000, 11, 0}}) {
        const std::string name = t.name;
        kit::Mp4Spec spec;
        spec.width = 160;
        spec.height = 120;
        spec.frames = 30;
        spec.audio_rate = t.rate;
        spec.audio_seconds = 3.0;
        spec.audio_channels = t.channels;
        spec.audio_codec = t.codec;
        spec.audio_packet = t.packet;
        std::string why;
        ASSERT_TRUE(kit::write_mp4(file(name), spec, &why)) << name << ": " << why;

        FakeFilmClock c;
        std::vector<int16_t> mixed;
        Rgb middle;
        c.at(50, [&mixed] {
            // A halted channel still names the last film's freed chunk.
            Mix_Chunk* k = Mix_Playing(0) ? Mix_GetChunk(0) : nullptr;
            if (k) mixed.assign(reinterpret_cast<const int16_t*>(k->abuf), reinterpret_cast<const int16_t*>(k->abuf) + k->alen / 2);
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

// Every count the mixer mixes down has as many places as channels, the front left first from two on.
TEST(FilmChannels, EachCountUpToSixteenHasItsOwnPlaces) {
    for (int n = 1; n <= 16; ++n) {
        const uint64_t mask = film_channel_mask(n);
        EXPECT_EQ(std::popcount(mask), n) << n;
        if (n > 1) {
            EXPECT_EQ(mask & 1, 1u) << n;
        }
    }
    EXPECT_EQ(film_channel_mask(17), 0u);
}
