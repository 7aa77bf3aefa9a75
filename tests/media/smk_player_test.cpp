// Smacker playback on the dummy drivers: placement, results, skip, quit, hold, overlay, sound paths.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "datakit/datakit.h"
#include "datakit/kit_video.h"
#include "media/smk_film_fixture.h"
#include "media/smk_player.h"
#include "media/smk_video.h"

using namespace vorn1;
using vorn1::test::FakeFilmClock;
using vorn1::test::FilmTest;
using vorn1::test::Rgb;

namespace {

// A film of one colour (palette index 1 = the given 6-bit colour), with an optional 8-bit tone.
std::string solid_film(const std::string& path, uint32_t w, uint32_t h, int frames, int rate_ms, uint32_t flags,
                       bool sound, std::array<uint8_t, 3> colour6 = {63, 0, 0}) {
    kit::SmkFilm f;
    f.width = w;
    f.height = h;
    f.frame_rate = rate_ms;
    f.flags = flags;
    if (sound) f.audio_rate = 11025;
    for (int k = 0; k < frames; ++k) {
        kit::SmkFrameIn fr;
        fr.pixels.assign(static_cast<size_t>(w) * h, 1);
        if (k == 0) {
            std::array<uint8_t, 768> pal{};
            std::copy(colour6.begin(), colour6.end(), pal.begin() + 3);
            fr.palette6 = pal;
        }
        if (sound)
            for (int s = 0; s < 11025 * rate_ms / 1000; ++s) fr.audio.push_back(static_cast<uint8_t>(128 + (s % 40) - 20));
        f.frames.push_back(std::move(fr));
    }
    kit::write_file(path, kit::write_smk(f));
    return path;
}

// Frames of 100 ms whose sound chunks each claim 64 MiB (constant sound: trees of one leaf, no bits
// a sample), so unpacking them whole would take minutes.
std::string inflated_film(const std::string& path, int frames) {
    kit::SmkFilm f;
    f.width = 32;
    f.height = 16;
    f.audio_rate = 22050;
    f.audio_claim = 67108864;
    f.frames.assign(static_cast<size_t>(frames), kit::SmkFrameIn{std::vector<uint8_t>(32 * 16, 0), std::nullopt,
                                                                 std::vector<uint8_t>(512, 0x80)});
    kit::write_file(path, kit::write_smk(f));
    return path;
}

void post(Uint32 type) {
    SDL_Event e{};
    e.type = type;
    SDL_PushEvent(&e);
}

SmkPlayOptions opts(bool skippable, bool hold = false, bool mixer = true) {
    SmkPlayOptions o;
    o.skippable = skippable ? 1 : 0;
    o.hold_last_frame = hold ? 1 : 0;
    o.use_mixer = mixer ? 1 : 0;
    return o;
}

}  // namespace

TEST(FilmPlacement, FitsAndCentresOnTheScreen) {
    auto eq = [](SDL_Rect a, SDL_Rect b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; };
    EXPECT_TRUE(eq(film_dest_rect(320, 400), SDL_Rect{128, 0, 384, 480}));
    EXPECT_TRUE(eq(film_dest_rect(640, 480), SDL_Rect{0, 0, 640, 480}));
    EXPECT_TRUE(eq(film_dest_rect(320, 240), SDL_Rect{0, 0, 640, 480}));
    EXPECT_TRUE(eq(film_dest_rect(1280, 720), SDL_Rect{0, 60, 640, 360}));
    EXPECT_TRUE(eq(film_dest_rect(100, 100), SDL_Rect{80, 0, 480, 480}));
}

TEST(FilmPlacement, SoundBudgetCoversTheFilmAndStaysBounded) {
    EXPECT_EQ(film_sound_budget(2.0, 22050, 1, 1), 12u * 22050u);
    // Ten minutes at most, and never more than ten minutes of 48 kHz 16-bit stereo.
    EXPECT_EQ(film_sound_budget(16000.0, 22050, 1, 1), 600u * 22050u);
    EXPECT_EQ(film_sound_budget(10000.0, 44100, 2, 2), 600u * 44100u * 4u);
    EXPECT_EQ(film_sound_budget(1.0, 16777215, 2, 2), kFilmSoundMaxBytes);
    EXPECT_EQ(kFilmSoundMaxBytes, 600u * 48000u * 4u);
    EXPECT_EQ(film_sound_budget(1.0, 0, 1, 1), 0u);
}

TEST_F(FilmTest, DoubledFilmIsStretchedAndCentred) {
    const std::string p = solid_film(file("d.smk"), 320, 200, 2, 20, 4, false);
    EXPECT_EQ(play_smk_file(renderer, p, opts(true)), kFilmEnded);
    EXPECT_EQ(pixel(127, 240), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(128, 240), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(511, 240), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(512, 240), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(128, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(128, 479), (Rgb{255, 0, 0}));
}

TEST_F(FilmTest, MissingOrBrokenFilesFail) {
    EXPECT_EQ(play_smk_file(renderer, file("none.smk"), opts(true)), kFilmFailed);
    EXPECT_TRUE(logged("play_smk_file: load failed for " + file("none.smk") + ": cannot open file: " + file("none.smk")));
    kit::write_file(file("bad.smk"), kit::Bytes(200, 7));
    EXPECT_EQ(play_lose_video(renderer, file("bad.smk")), kFilmFailed);
    EXPECT_TRUE(logged("bad signature (not SMK2/SMK4)"));
    const std::string p = solid_film(file("t.smk"), 32, 32, 2, 20, 0, false);
    EXPECT_EQ(play_smk_file(nullptr, p, opts(true)), kFilmFailed);
    EXPECT_TRUE(logged("play_smk_file: CreateTexture failed: "));

    // A header can claim 8192 x 8192 from a few bytes: more pixels than a 3840 x 2160 picture are
    // refused before anything is shown.
    std::ifstream in(p, std::ios::binary);
    kit::Bytes b((std::istreambuf_iterator<char>(in)), {});
    const auto claim = [&](uint32_t w, uint32_t h) {
        for (int k = 0; k < 4; ++k) {
            b[4 + k] = static_cast<uint8_t>(w >> (8 * k));
            b[8 + k] = static_cast<uint8_t>(h >> (8 * k));
        }
        kit::write_file(file("claim.smk"), b);
        return file("claim.smk");
    };
    EXPECT_EQ(play_smk_file(renderer, claim(3841, 2160), opts(true)), kFilmFailed);
    EXPECT_TRUE(logged("play_smk_file: " + file("claim.smk") +
                       " is 3841 x 2160, more pixels than a film may have (8294400); not played"));
    EXPECT_EQ(play_smk_file(renderer, claim(3840, 2160), opts(true)), kFilmEnded);
}

namespace {
SmkPlayOptions timed(bool skippable, FakeFilmClock& c, bool hold = false) {
    SmkPlayOptions o = opts(skippable, hold);
    o.clock = c.clock();
    return o;
}
}  // namespace

TEST_F(FilmTest, KeySkipsASkippableFilmAndSilencesIt) {
    const std::string p = solid_film(file("s.smk"), 64, 48, 20, 100, 0, true);
    FakeFilmClock c;
    int playing_before_skip = -1;
    c.at(100, [&playing_before_skip] { playing_before_skip = Mix_Playing(-1); });
    c.at(150, SDL_KEYDOWN);
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, c)), kFilmSkipped);
    EXPECT_GE(c.t, 150u);
    EXPECT_LE(c.t, 158u);  // within one of the waits' 8 ms steps, not at the film's 2 s end
    EXPECT_EQ(playing_before_skip, 1);
    EXPECT_EQ(Mix_Playing(-1), 0);

    FakeFilmClock click;
    click.at(100, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, click)), kFilmSkipped);
    EXPECT_LE(click.t, 108u);
}

TEST_F(FilmTest, KeysAreIgnoredWhenNotSkippableAndQuitAlwaysEnds) {
    const std::string p = solid_film(file("n.smk"), 32, 32, 5, 100, 0, false);
    FakeFilmClock c;
    c.at(100, SDL_KEYDOWN);
    EXPECT_EQ(play_smk_file(renderer, p, timed(false, c)), kFilmEnded);
    EXPECT_EQ(c.t, 500u);

    FakeFilmClock q;
    q.at(100, SDL_QUIT);
    EXPECT_EQ(play_smk_file(renderer, p, timed(false, q)), kFilmQuit);
    EXPECT_LE(q.t, 108u);
    // A quit and a key in the same drain: the quit wins.
    SDL_Event k{};
    k.type = SDL_KEYDOWN;
    SDL_PushEvent(&k);
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    EXPECT_EQ(play_smk_file(renderer, p, opts(true)), kFilmQuit);
}

// Each frame is due at its own time from the start: a frame shown late (the player held up for
// 200 ms) does not push the rest back, and no frame comes before its time.
TEST_F(FilmTest, FramesArePacedFromTheStart) {
    const std::string p = solid_film(file("p.smk"), 32, 32, 10, 50, 0, false);
    FakeFilmClock c;
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, c)), kFilmEnded);
    EXPECT_EQ(c.t, 500u);

    FakeFilmClock held;
    held.at(120, [&held] { held.t += 200; });
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, held)), kFilmEnded);
    EXPECT_EQ(held.t, 500u);
}

TEST_F(FilmTest, HeldLastFrameWaitsForAKeyOrQuit) {
    const std::string p = solid_film(file("h.smk"), 32, 32, 3, 100, 0, false);
    FakeFilmClock c;
    c.at(900, SDL_KEYDOWN);
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, c, true)), kFilmEnded);
    EXPECT_GE(c.t, 900u);
    EXPECT_EQ(pixel(320, 240), (Rgb{255, 0, 0}));

    FakeFilmClock q;
    q.at(600, SDL_QUIT);
    EXPECT_EQ(play_smk_file(renderer, p, timed(true, q, true)), kFilmQuit);
    EXPECT_GE(q.t, 600u);

    // Skipped films do not hold (a hold would last until the quit at 5 s).
    const std::string longer = solid_film(file("h2.smk"), 32, 32, 20, 100, 0, false);
    FakeFilmClock s;
    s.at(100, SDL_KEYDOWN);
    s.at(5000, SDL_QUIT);
    EXPECT_EQ(play_smk_file(renderer, longer, timed(true, s, true)), kFilmSkipped);
    EXPECT_LE(s.t, 108u);
}

TEST_F(FilmTest, OverlayShowsOnceItsTimeHasCome) {
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 24);
    ASSERT_NE(font, nullptr);
    const std::string p = solid_film(file("o.smk"), 64, 48, 2, 50, 0, false, {0, 0, 32});
    SmkOverlay ov;
    ov.lines = {"", "The realm is yours"};
    ov.show_after_ms = 3500;
    ov.x = 20;
    ov.bottom = 20;
    ov.font = font;
    FakeFilmClock c;
    SmkPlayOptions o = timed(true, c);
    o.overlay = &ov;
    o.base_ms = 4000;
    const SDL_Rect text_band{0, 480 - 20 - TTF_FontHeight(font), 640, TTF_FontHeight(font)};
    const SDL_Rect above{0, 0, 640, 480 - 20 - TTF_FontHeight(font)};
    EXPECT_EQ(play_smk_file(renderer, p, o), kFilmEnded);
    EXPECT_GT(bright_pixels(text_band), 50);
    EXPECT_EQ(bright_pixels(above), 0);  // the empty first line draws nothing

    o.base_ms = 0;
    EXPECT_EQ(play_smk_file(renderer, p, o), kFilmEnded);
    EXPECT_EQ(bright_pixels(text_band), 0);

    // A frame is drawn with the overlay from the moment it is due, in wrapping milliseconds.
    SDL_Texture* tex = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, 4, 4);
    ASSERT_NE(tex, nullptr);
    const std::vector<uint8_t> black(64, 0);
    const auto shown_at = [&](uint32_t start, uint32_t elapsed) {
        c.t = start + elapsed;
        present_film_frame(renderer, tex, black.data(), 16, SDL_Rect{0, 0, 640, 480}, o, start);
        return bright_pixels(text_band) > 50;
    };
    EXPECT_FALSE(shown_at(1000, 3499));
    EXPECT_TRUE(shown_at(1000, 3500));
    EXPECT_FALSE(shown_at(0xFFFFFF00u, 3499));
    EXPECT_TRUE(shown_at(0xFFFFFF00u, 3500));
    SDL_DestroyTexture(tex);
    TTF_CloseFont(font);
}

// Lines are a line skip plus the extra gap apart, the last one `bottom` above the screen's foot.
TEST_F(FilmTest, OverlayLinesStepByLineSkipAndGap) {
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 24);
    ASSERT_NE(font, nullptr);
    SmkOverlay ov;
    ov.lines = {"Hold fast", "Hold fast"};
    ov.x = 20;
    ov.bottom = 20;
    ov.font = font;
    ov.extra_gap = 40;
    const int h = TTF_FontHeight(font), last = 480 - 20 - h, first = last - TTF_FontLineSkip(font) - 40;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    draw_overlay(renderer, ov);
    SDL_RenderPresent(renderer);
    EXPECT_EQ(bright_pixels(SDL_Rect{0, 0, 640, first}), 0);
    EXPECT_GT(bright_pixels(SDL_Rect{0, first, 640, h}), 50);
    EXPECT_GT(bright_pixels(SDL_Rect{0, last, 640, h}), 50);
    TTF_CloseFont(font);
}

TEST_F(FilmTest, SoundPathsAndTheirFailures) {
    const std::string loud = solid_film(file("a.smk"), 32, 32, 3, 50, 0, true);
    const std::string quiet = solid_film(file("q.smk"), 32, 32, 3, 50, 0, false);
    EXPECT_EQ(play_smk_file(renderer, loud, opts(true)), kFilmEnded);
    EXPECT_EQ(play_smk_file(renderer, quiet, opts(true)), kFilmEnded);
    EXPECT_EQ(play_smk_file(renderer, quiet, opts(true, false, false)), kFilmEnded);
    EXPECT_TRUE(log->empty()) << log->front();

    // The dummy driver has one device, held by the mixer: the private device fails, the film plays on.
    EXPECT_EQ(play_smk_file(renderer, loud, opts(true, false, false)), kFilmEnded);
    EXPECT_TRUE(logged("play_smk_file: SDL_OpenAudioDevice failed (11025 Hz, 8-bit, 1ch): "));
    log->clear();

    close_mixer();
    EXPECT_EQ(play_smk_file(renderer, loud, opts(true, false, false)), kFilmEnded);
    EXPECT_TRUE(log->empty()) << log->front();
    EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u);  // the subsystem it did not start stays up
    while (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    EXPECT_EQ(play_smk_file(renderer, loud, opts(true, false, false)), kFilmEnded);
    EXPECT_TRUE(log->empty()) << log->front();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);  // the one it started is stopped again
    EXPECT_EQ(play_smk_file(renderer, loud, opts(true)), kFilmEnded);
    EXPECT_TRUE(logged("play_smk_file: Mix_QuerySpec failed \xE2\x80\x94 is the mixer open?"));
    open_mixer();
}

// The mixer gets whole sample frames only (a stray byte would shift every later sample), and a
// closed sound leaves no channel behind that a second close or stop would halt.
TEST_F(FilmTest, MixerSoundIsWholeFramesAndClosesOnce) {
    FilmSound s;
    s.who = "test";
    s.budget = 1002;
    std::vector<uint8_t> pcm(1002);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<uint8_t>(i * 7);
    FilmSoundConverter c;
    ASSERT_TRUE(film_converter_open(c, s, AUDIO_S16LSB, 2, 22050));  // the mixer's own format
    film_converter_put(c, pcm.data(), 3);  // pieces that cut sample frames join up, a single byte too
    film_converter_put(c, pcm.data() + 3, 1);
    film_converter_put(c, pcm.data() + 4, 997);
    film_converter_put(c, pcm.data() + 1001, 1);
    film_sound_start_mixer(s, c);
    film_converter_close(c);
    ASSERT_NE(s.chunk, nullptr);
    ASSERT_EQ(s.chunk->alen, 1000u);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 1000, s.chunk->abuf));
    const int channel = s.channel;
    ASSERT_GE(channel, 0);
    film_sound_close(s);

    static Uint8 silence[4096] = {};
    Mix_Chunk* other = Mix_QuickLoad_RAW(silence, sizeof silence);
    ASSERT_EQ(Mix_PlayChannel(channel, other, -1), channel);
    film_sound_close(s);
    film_sound_stop(s);
    EXPECT_EQ(Mix_Playing(channel), 1);
    Mix_HaltChannel(channel);
    Mix_FreeChunk(other);

    // A track ending one sample frame past a whole block keeps that frame.
    FilmSound t;
    t.who = "test";
    t.budget = 260;
    FilmSoundConverter d;
    ASSERT_TRUE(film_converter_open(d, t, AUDIO_S16LSB, 2, 22050));
    film_converter_put(d, pcm.data(), 260);
    film_sound_start_mixer(t, d);
    film_converter_close(d);
    ASSERT_NE(t.chunk, nullptr);
    EXPECT_EQ(t.chunk->alen, 260u);
    film_sound_close(t);
}

// A track at another rate than the mixer's keeps the length and, within SDL's rounding, the
// samples of one whole conversion: the end that the resampler holds back is pushed out.
TEST_F(FilmTest, ResampledSoundKeepsTheWholeConversionsLength) {
    std::vector<uint8_t> pcm(11025 * 2);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<uint8_t>(128 + 60 * std::sin(i * 0.05));
    SDL_AudioCVT cvt;
    ASSERT_EQ(SDL_BuildAudioCVT(&cvt, AUDIO_U8, 1, 11025, AUDIO_S16LSB, 2, 22050), 1);
    std::vector<uint8_t> whole(pcm.size() * static_cast<size_t>(cvt.len_mult));
    std::copy(pcm.begin(), pcm.end(), whole.begin());
    cvt.buf = whole.data();
    cvt.len = static_cast<int>(pcm.size());
    ASSERT_EQ(SDL_ConvertAudio(&cvt), 0);
    whole.resize(static_cast<size_t>(cvt.len_cvt));

    FilmSound s;
    s.who = "test";
    s.budget = pcm.size();
    FilmSoundConverter c;
    ASSERT_TRUE(film_converter_open(c, s, AUDIO_U8, 1, 11025));
    for (size_t at = 0; at < pcm.size(); at += 1000) film_converter_put(c, pcm.data() + at, std::min<size_t>(1000, pcm.size() - at));
    film_sound_start_mixer(s, c);
    film_converter_close(c);
    ASSERT_NE(s.chunk, nullptr);
    ASSERT_EQ(s.chunk->alen, whole.size());
    int most = 0;
    for (size_t i = 0; i + 1 < whole.size(); i += 2) {
        const int16_t a = static_cast<int16_t>(s.chunk->abuf[i] | s.chunk->abuf[i + 1] << 8);
        const int16_t b = static_cast<int16_t>(whole[i] | whole[i + 1] << 8);
        most = std::max(most, std::abs(a - b));
    }
    EXPECT_LE(most, 1);
    film_sound_close(s);
}

TEST(FilmSound, PrivateDeviceIsAskedForTheFilmsFormat) {
    const SDL_AudioSpec mono = film_device_spec(AUDIO_U8, 1, 11025);
    EXPECT_EQ(mono.freq, 11025);
    EXPECT_EQ(mono.format, AUDIO_U8);
    EXPECT_EQ(mono.channels, 1);
    EXPECT_EQ(mono.samples, 2048);
    EXPECT_EQ(film_device_spec(AUDIO_S16LSB, 2, 22050).channels, 2);
}

// At the film's end the device gets at most 400 ms to play out its queue (a paused device never
// does); a key cuts the wait short, a quit ends the film.
TEST_F(FilmTest, DeviceSoundGetsAtMost400msToFinish) {
    close_mixer();
    FilmSound s;
    s.who = "test";
    ASSERT_TRUE(film_sound_open_device(s, AUDIO_U8, 1, 11025));
    SDL_PauseAudioDevice(s.device, 1);
    s.budget = 1000;
    const std::vector<uint8_t> pcm(1000, 128);
    film_sound_queue(s, pcm.data(), pcm.size());
    ASSERT_GT(SDL_GetQueuedAudioSize(s.device), 0u);
    FakeFilmClock c;
    c.t = 5000;
    EXPECT_EQ(film_sound_finish(s, true, c.clock()), kFilmEnded);
    EXPECT_GE(c.t, 5400u);
    EXPECT_LE(c.t, 5408u);

    FakeFilmClock key;
    key.at(100, SDL_KEYDOWN);
    EXPECT_EQ(film_sound_finish(s, true, key.clock()), kFilmEnded);
    EXPECT_LE(key.t, 108u);
    FakeFilmClock quit;
    quit.at(100, SDL_QUIT);
    EXPECT_EQ(film_sound_finish(s, false, quit.clock()), kFilmQuit);
    EXPECT_LE(quit.t, 108u);
    film_sound_close(s);
    open_mixer();
}

TEST_F(FilmTest, DeviceQueueStopsAtTheSoundBudget) {
    close_mixer();
    FilmSound s;
    s.who = "test";
    ASSERT_TRUE(film_sound_open_device(s, AUDIO_U8, 1, 11025));
    SDL_PauseAudioDevice(s.device, 1);  // keep what was queued
    s.budget = 1000;
    const std::vector<uint8_t> pcm(600, 128);
    film_sound_queue(s, pcm.data(), pcm.size());
    film_sound_queue(s, pcm.data(), pcm.size());
    film_sound_queue(s, pcm.data(), pcm.size());
    EXPECT_EQ(s.queued, 1000u);
    EXPECT_LE(SDL_GetQueuedAudioSize(s.device), 1000u);
    film_sound_stop(s);
    EXPECT_EQ(SDL_GetQueuedAudioSize(s.device), 0u);
    film_sound_close(s);
    EXPECT_EQ(s.device, 0u);
    open_mixer();
}

// The pass drains events on its first step, on every 16th and after each MiB of sound, and leaves
// them waiting in between.
TEST_F(FilmTest, SoundPassPollsOnItsFirstStepThenEvery16thOrEachMiB) {
    FilmPassPoll poll;
    post(SDL_QUIT);
    EXPECT_EQ(poll_film_pass(poll, 0, true), kFilmQuit);
    post(SDL_KEYDOWN);
    for (int k = 1; k < 16; ++k) ASSERT_EQ(poll_film_pass(poll, 1000, true), -1) << k;
    EXPECT_EQ(poll_film_pass(poll, 1000, true), kFilmSkipped);
    post(SDL_KEYDOWN);
    EXPECT_EQ(poll_film_pass(poll, (1 << 20) - 1, false), -1);
    EXPECT_EQ(poll_film_pass(poll, 1, false), -1);  // a key that cannot skip is taken and dropped
    post(SDL_QUIT);
    EXPECT_EQ(poll_film_pass(poll, 0, false), -1);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
}

// The sound a film brings before it plays: every frame's, byte for byte, or the start of it up to
// the budget; chunks that claim far more stop at the budget; waiting events end the pass.
TEST_F(FilmTest, SoundPassGathersToTheBudgetAndAnswersEvents) {
    SmkVideo good;
    ASSERT_TRUE(good.load_file(solid_film(file("w.smk"), 32, 32, 5, 100, 0, true)));
    std::vector<uint8_t> whole;
    for (const SmkFrame* f = &good.decode_next(); f->frame_index >= 0; f = &good.decode_next())
        whole.insert(whole.end(), f->audio.begin(), f->audio.end());
    good.rewind();
    ASSERT_EQ(whole.size(), 5u * 1102u);
    std::vector<uint8_t> pcm;
    const auto gather = [&pcm](SmkVideo& v, uint64_t budget, bool skippable) {
        pcm.clear();
        return gather_smk_sound(v, budget, skippable, [&pcm](const uint8_t* data, size_t size) {
            EXPECT_LE(size, kFilmSoundPiece + 1);
            pcm.insert(pcm.end(), data, data + size);
        });
    };
    EXPECT_EQ(gather(good, 1 << 20, true), -1);
    EXPECT_EQ(pcm, whole);
    EXPECT_EQ(gather(good, 2000, true), -1);
    EXPECT_EQ(pcm, std::vector<uint8_t>(whole.begin(), whole.begin() + 2000));
    EXPECT_EQ(good.decode_next().frame_index, 0);
    // A budget already full takes no step: nothing unpacked, a waiting event left for the film.
    post(SDL_QUIT);
    EXPECT_EQ(gather(good, 0, true), -1);
    EXPECT_TRUE(pcm.empty());
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
    SDL_FlushEvent(SDL_QUIT);

    SmkVideo big;
    ASSERT_TRUE(big.load_file(inflated_film(file("big.smk"), 1000)));
    const uint64_t budget = film_sound_budget(100.0, 22050, 1, 1);
    EXPECT_EQ(gather(big, budget, true), -1);
    EXPECT_EQ(pcm.size(), budget);  // no chunk unpacked past the budget
    EXPECT_TRUE(std::all_of(pcm.begin(), pcm.end(), [](uint8_t b) { return b == 0x80; }));
    post(SDL_QUIT);
    EXPECT_EQ(gather(big, budget, true), kFilmQuit);
    EXPECT_TRUE(pcm.empty());
    post(SDL_KEYDOWN);
    EXPECT_EQ(gather(big, budget, true), kFilmSkipped);
    post(SDL_KEYDOWN);
    EXPECT_EQ(gather(big, budget, false), -1);
    EXPECT_EQ(pcm.size(), budget);

    // The player: a quit waiting when the film starts ends it before any frame shows.
    SDL_SetRenderDrawColor(renderer, 0, 255, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    post(SDL_QUIT);
    EXPECT_EQ(play_smk_file(renderer, file("big.smk"), opts(false)), kFilmQuit);
    EXPECT_EQ(pixel(320, 240), (Rgb{0, 255, 0}));

    // Its budget is the film's length plus ten seconds: half a second of film gives the mixer
    // 10.5 s of sound (at the mixer's 16-bit stereo, four times the bytes).
    FakeFilmClock c;
    Uint32 mixed = 0;
    c.at(50, [&mixed] {
        if (Mix_Chunk* k = Mix_GetChunk(0)) mixed = k->alen;
    });
    EXPECT_EQ(play_smk_file(renderer, inflated_film(file("five.smk"), 5), timed(false, c)), kFilmEnded);
    EXPECT_EQ(mixed, 4 * film_sound_budget(0.5, 22050, 1, 1));
}

// The demo films' sound reaches the mixer byte for byte as one SDL_ConvertAudio call over their
// whole track gave it before the sound was converted in pieces.
TEST_F(FilmTest, DemoFilmSoundIsWhatAWholeConversionGives) {
    ASSERT_TRUE(kit::write_demo_videos(dir.string()));
    int mix_rate = 0, mix_channels = 0;
    Uint16 mix_format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&mix_rate, &mix_format, &mix_channels));
    for (const char* name : {"NEWLOGO.SMK", "ZALLOGO.SMK", "INTRO02C.SMK", "LOSE1.SMK", "WIN01C.SMK", "WIN02.SMK"}) {
        SmkVideo v;
        ASSERT_TRUE(v.load_file(file(name)));
        std::vector<uint8_t> track;
        for (const SmkFrame* f = &v.decode_next(); f->frame_index >= 0; f = &v.decode_next())
            track.insert(track.end(), f->audio.begin(), f->audio.end());
        SDL_AudioCVT cvt;
        ASSERT_EQ(SDL_BuildAudioCVT(&cvt, AUDIO_U8, 1, 22050, mix_format, static_cast<Uint8>(mix_channels), mix_rate), 1);
        std::vector<uint8_t> whole(track.size() * static_cast<size_t>(cvt.len_mult));
        std::copy(track.begin(), track.end(), whole.begin());
        cvt.buf = whole.data();
        cvt.len = static_cast<int>(track.size());
        ASSERT_EQ(SDL_ConvertAudio(&cvt), 0);
        whole.resize(static_cast<size_t>(cvt.len_cvt));

        FakeFilmClock c;
        std::vector<uint8_t> mixed;
        c.at(50, [&mixed] {
            if (Mix_Chunk* k = Mix_GetChunk(0)) mixed.assign(k->abuf, k->abuf + k->alen);
        });
        EXPECT_EQ(play_smk_file(renderer, file(name), timed(true, c)), kFilmEnded);
        EXPECT_EQ(mixed.size(), 4 * track.size()) << name;
        EXPECT_TRUE(mixed == whole) << name;
    }
}

// A film that claims 16,000 s and chunks of 64 MiB that cost no bits keeps ten minutes of sound,
// and the log says that the rest plays silent.
TEST_F(FilmTest, AFilmsSoundStopsAfterTenMinutes) {
    kit::write_file(file("long.smk"), kit::write_smk(kit::long_claimed_sound_film(false)));
    FakeFilmClock c;
    Uint32 mixed = 0;
    c.at(50, [&mixed] {
        if (Mix_Chunk* k = Mix_GetChunk(0)) mixed = k->alen;
    });
    c.at(100, SDL_QUIT);
    EXPECT_EQ(play_smk_file(renderer, file("long.smk"), timed(false, c)), kFilmQuit);
    EXPECT_EQ(mixed, 4u * 600u * 22050u);
    EXPECT_TRUE(logged("play_smk_file: the film's sound stops after 600.0 s of its 16000.0 s, the most a film's track "
                       "may hold (ten minutes, 115200000 bytes at most); the rest of the film plays silent"));
}
