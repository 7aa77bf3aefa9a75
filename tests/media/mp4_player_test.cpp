// MP4 playback on the dummy drivers, with films made in-process by the FFmpeg encoders.
#include <cstring>
#include <fstream>
#include <iterator>

#include "datakit/datakit.h"
#include "datakit/kit_video.h"
#include "media/mp4_player.h"
#include "media/smk_film_fixture.h"

using namespace vorn1;
using vorn1::test::FakeFilmClock;
using vorn1::test::FilmTest;
using vorn1::test::Rgb;

namespace {

std::string make_film(const std::string& path, int w, int h, int frames, int audio_rate, double audio_s = 0) {
    kit::Mp4Spec s;
    s.width = w;
    s.height = h;
    s.fps = 10;
    s.frames = frames;
    s.audio_rate = audio_rate;
    s.audio_seconds = audio_s;
    std::string why;
    EXPECT_TRUE(kit::write_mp4(path, s, &why)) << why;
    return path;
}

SmkPlayOptions opts(bool skippable, bool hold = false, bool mixer = true) {
    SmkPlayOptions o;
    o.skippable = skippable ? 1 : 0;
    o.hold_last_frame = hold ? 1 : 0;
    o.use_mixer = mixer ? 1 : 0;
    return o;
}

SmkPlayOptions timed(SmkPlayOptions o, FakeFilmClock& c) {
    o.clock = c.clock();
    return o;
}

bool dark(const Rgb& c) { return c.r + c.g + c.b < 30; }

// Rewrites the film's header as a damaged one would have it: the film and every track claim
// `duration` units of their time scales, and the first track (the pictures) runs at `video_scale`
// units a second with its edit reaching to 10 s; 0 leaves either as it was.
void lie_in_header(const std::string& path, uint32_t duration, uint32_t video_scale) {
    std::ifstream in(path, std::ios::binary);
    kit::Bytes b((std::istreambuf_iterator<char>(in)), {});
    const auto put = [&b](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (24 - 8 * k));
    };
    bool first_track = true;
    for (size_t i = 4; i + 28 < b.size(); ++i) {
        const bool v0 = b[i + 4] == 0;  // version 0: 32-bit times
        if (v0 && duration && std::memcmp(&b[i], "mvhd", 4) == 0) put(i + 20, duration);
        if (v0 && duration && std::memcmp(&b[i], "tkhd", 4) == 0) put(i + 24, duration);
        if (v0 && video_scale && first_track && std::memcmp(&b[i], "elst", 4) == 0) put(i + 12, 10000);
        if (v0 && std::memcmp(&b[i], "mdhd", 4) == 0) {
            if (first_track && video_scale) put(i + 16, video_scale);
            first_track = false;
            if (duration) put(i + 20, duration);
        }
    }
    kit::write_file(path, b);
}

}  // namespace

TEST_F(FilmTest, Mp4OpenFailuresReturnThree) {
    EXPECT_EQ(play_mp4_file(renderer, file("none.mp4"), opts(true)), kFilmFailed);
    EXPECT_TRUE(logged("play_mp4_file: open failed for " + file("none.mp4") + ": avformat_open_input failed"));
    make_film(file("tone.m4a"), 0, 0, 0, 22050, 0.5);
    EXPECT_EQ(play_mp4_file(renderer, file("tone.m4a"), opts(true)), kFilmFailed);
    EXPECT_TRUE(logged("play_mp4_file: open failed for " + file("tone.m4a") + ": no video stream"));
    kit::write_file(file("junk.mp4"), kit::Bytes(3000, 0x5A));
    EXPECT_EQ(play_mp4_file(renderer, file("junk.mp4"), opts(true)), kFilmFailed);
}

TEST_F(FilmTest, Mp4WideFilmIsLetterboxed) {
    const std::string p = make_film(file("wide.mp4"), 1280, 720, 3, 0);
    EXPECT_EQ(play_mp4_file(renderer, p, opts(true)), kFilmEnded);
    EXPECT_TRUE(dark(pixel(320, 59))) << pixel(320, 59);
    EXPECT_FALSE(dark(pixel(320, 60))) << pixel(320, 60);
    EXPECT_FALSE(dark(pixel(320, 419))) << pixel(320, 419);
    EXPECT_TRUE(dark(pixel(320, 420))) << pixel(320, 420);
}

TEST_F(FilmTest, Mp4PlaysAtItsPaceWithOrWithoutSound) {
    const std::string av = make_film(file("av.mp4"), 160, 120, 10, 22050, 1.0);
    const std::string silent = make_film(file("silent.mp4"), 160, 120, 10, 0);
    FakeFilmClock c;
    int playing = -1;
    c.at(400, [&playing] { playing = Mix_Playing(-1); });
    EXPECT_EQ(play_mp4_file(renderer, av, timed(opts(true), c)), kFilmEnded);
    EXPECT_EQ(c.t, 900u);  // the last frame's time, then the film ends
    EXPECT_EQ(playing, 1);  // the track played through the mixer
    EXPECT_EQ(Mix_Playing(-1), 0);

    FakeFilmClock quiet;
    quiet.at(450, [&quiet] { quiet.t += 300; });  // a frame shown late keeps the others' times
    EXPECT_EQ(play_mp4_file(renderer, silent, timed(opts(false), quiet)), kFilmEnded);
    EXPECT_EQ(quiet.t, 900u);

    // The private device needs the dummy driver's one device: free it from the mixer first.
    close_mixer();
    FakeFilmClock device, none;
    EXPECT_EQ(play_mp4_file(renderer, av, timed(opts(true, false, false), device)), kFilmEnded);
    EXPECT_FALSE(logged("SDL_OpenAudioDevice failed"));
    EXPECT_EQ(play_mp4_file(renderer, av, timed(opts(true), none)), kFilmEnded);
    EXPECT_TRUE(logged("play_mp4_file: Mix_QuerySpec failed \xE2\x80\x94 is the mixer open?"));
    open_mixer();
}

TEST_F(FilmTest, Mp4SkipQuitAndHold) {
    const std::string p = make_film(file("s.mp4"), 160, 120, 20, 22050, 2.0);
    FakeFilmClock c;
    c.at(150, SDL_KEYDOWN);
    EXPECT_EQ(play_mp4_file(renderer, p, timed(opts(true, true), c)), kFilmSkipped);
    EXPECT_LE(c.t, 158u);  // not at the film's 2 s end, and no hold after a skip
    EXPECT_EQ(Mix_Playing(-1), 0);

    FakeFilmClock q;
    q.at(150, SDL_QUIT);
    EXPECT_EQ(play_mp4_file(renderer, p, timed(opts(false), q)), kFilmQuit);
    EXPECT_LE(q.t, 158u);

    // A quit waiting when the film starts ends its sound pass before any frame shows.
    SDL_SetRenderDrawColor(renderer, 0, 255, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    EXPECT_EQ(play_mp4_file(renderer, p, opts(false)), kFilmQuit);
    EXPECT_EQ(pixel(320, 240), (Rgb{0, 255, 0}));

    const std::string shorter = make_film(file("h.mp4"), 160, 120, 3, 0);
    FakeFilmClock h;
    h.at(800, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(play_mp4_file(renderer, shorter, timed(opts(true, true), h)), kFilmEnded);
    EXPECT_GE(h.t, 800u);  // the last frame (at 0.2 s) held until the click
    EXPECT_FALSE(dark(pixel(320, 240)));
}

// The sound a film brings is its length plus ten seconds: a film whose header claims a
// millisecond keeps ten seconds of its twelve-second tone. Its last frame stays for the step
// between the last two frames, a second at most: frames 2 s apart (at 0, 2 and 4 s) end at 5 s.
TEST_F(FilmTest, Mp4SoundBudgetAndLastFrameStay) {
    const std::string p = make_film(file("lie.mp4"), 160, 120, 3, 22050, 12.0);
    lie_in_header(p, 1, 512);
    FakeFilmClock c;
    Uint32 mixed = 0;
    c.at(50, [&mixed] {
        if (Mix_Chunk* k = Mix_GetChunk(0)) mixed = k->alen;
    });
    EXPECT_EQ(play_mp4_file(renderer, p, timed(opts(true), c)), kFilmEnded);
    EXPECT_EQ(mixed, 2 * film_sound_budget(0.001, 22050, 1, 2));  // mono made stereo for the mixer
    const std::string q = make_film(file("slow.mp4"), 160, 120, 3, 0);
    lie_in_header(q, 0, 512);
    FakeFilmClock d;
    EXPECT_EQ(play_mp4_file(renderer, q, timed(opts(true), d)), kFilmEnded);
    EXPECT_EQ(d.t, 5000u);
}
