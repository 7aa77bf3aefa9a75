#include <array>
#include <atomic>
#include <cstdio>

#include "assets/agg.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "media/ambient_sound.h"
#include "media/audio_fixture.h"
#include "media/music_players.h"

namespace vorn1 {
namespace {

using test::AudioTest;

std::atomic<int> g_footstep_cuts{0};
void count_cuts(int ch) {
    if (ch == kChanFootsteps) ++g_footstep_cuts;
}

std::string name_of(const char* fmt, int a, int b = 0) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

// An archive with every ambient loop except `skip_loop`, and the footstep sounds of both variants
// (each sound a different length so the chunks can be told apart).
AggArchive sound_archive(int skip_loop = -1, bool variant2 = true) {
    std::vector<kit::AggFile> files;
    for (int i = 0; i < kAmbientIds; ++i)
        if (i != skip_loop) files.push_back({name_of("LOOP%04d.82M", i), kit::write_raw_tone(VORN_FMT_82M, 200 + i, 200)});
    for (int v : {0, 2}) {
        if (v == 2 && !variant2) continue;
        for (int n : {0, 3, 4, 5, 6})
            files.push_back({name_of("WSND%d%d.82M", v, n), kit::write_raw_tone(VORN_FMT_82M, 100 + n, 3000 + 10 * n + v)});
    }
    return AggArchive::from_bytes(kit::write_agg(files));
}

class Ambient : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        grid.fill(255);
        ::testing::internal::CaptureStdout();
        engine.load(&archive);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "  Ambient sound chunks loaded\n");
        engine.grid = grid.data();
    }
    void put(int x, int y, uint8_t id) { grid[static_cast<size_t>(y * kSoundMapSide + x)] = id; }
    static int volume(int ch) { return Mix_Volume(ch, -1); }

    AggArchive archive = sound_archive(5);
    std::array<uint8_t, kSoundMapSide * kSoundMapSide> grid{};
    AmbientSoundEngine engine;
};

TEST(AmbientVolume, DistanceFractionThenLevel) {
    const int full[] = {76, 38, 19, 9};
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(ambient_volume(d, 10), full[d]);
        EXPECT_EQ(ambient_volume(d, 12), full[d]);
        EXPECT_EQ(ambient_volume(d, 0), 0);
        EXPECT_EQ(ambient_volume(d, 5), (full[d] * 5 + 5) / 10);
    }
    EXPECT_EQ(ambient_volume(1, 4), 15);
    EXPECT_EQ(ambient_volume(4, 10), 0);
}

TEST_F(Ambient, NearestTileOfAnIdSetsItsLoudness) {
    put(12, 10, 4);  // distance 2
    put(9, 11, 4);   // distance 1
    put(13, 13, 20);  // distance 3: the last id, on the last channel
    put(10, 10, 21);  // not a sound id
    engine.update(10, 10);
    EXPECT_EQ(Mix_GetChunk(12), engine.chunks[4]);
    EXPECT_EQ(volume(12), 15);
    EXPECT_EQ(Mix_GetChunk(28), engine.chunks[20]);
    EXPECT_EQ(volume(28), (9 * 4 + 5) / 10);
    for (int ch = 0; ch < kMixerChannels; ++ch)
        if (ch != 12 && ch != 28) {
            EXPECT_FALSE(Mix_Playing(ch)) << ch;
        }
    EXPECT_EQ(engine.last_x, 10);
    EXPECT_EQ(engine.last_y, 10);

    g_sfx_level() = 10;
    engine.update(10, 10);
    EXPECT_EQ(volume(12), 38);
    g_sfx_level() = 0;
    engine.update(10, 10);
    EXPECT_TRUE(Mix_Playing(12));  // still running, silently
    EXPECT_EQ(volume(12), 0);
}

TEST_F(Ambient, LoopsRunOnInRangeAndRestartAfterLeavingIt) {
    put(20, 20, 3);
    std::atomic<int>& cuts = g_footstep_cuts;  // reused as a counter of halts on channel 11
    cuts = 0;
    Mix_ChannelFinished([](int ch) {
        if (ch == 11) ++g_footstep_cuts;
    });
    engine.update(17, 20);  // distance 3
    ASSERT_TRUE(Mix_Playing(11));
    EXPECT_EQ(volume(11), (9 * 4 + 5) / 10);
    engine.update(18, 20);  // closer: only re-levelled, never restarted
    EXPECT_EQ(volume(11), (19 * 4 + 5) / 10);
    EXPECT_EQ(cuts, 0);
    engine.update(16, 20);  // distance 4: halted
    EXPECT_FALSE(Mix_Playing(11));
    EXPECT_EQ(cuts, 1);
    engine.update(23, 23);  // back within 3
    EXPECT_TRUE(Mix_Playing(11));
    Mix_ChannelFinished(nullptr);
}

TEST_F(Ambient, MapEdgesMissingLoopsAndTheOffSwitch) {
    put(0, 0, 1);
    put(3, 3, 2);
    put(4, 0, 6);   // x 4 is outside the 4 x 4 corner read at (0, 0)
    put(71, 71, 7);
    put(1, 1, 5);   // id 5 has no loop in the archive
    engine.update(0, 0);
    EXPECT_TRUE(Mix_Playing(9));
    EXPECT_TRUE(Mix_Playing(10));
    EXPECT_FALSE(Mix_Playing(14));
    EXPECT_FALSE(Mix_Playing(13));
    EXPECT_EQ(engine.chunks[5], nullptr);
    engine.update(71, 71);
    EXPECT_TRUE(Mix_Playing(15));
    EXPECT_FALSE(Mix_Playing(9));
    engine.update(-2, 80);  // far outside: nothing in range, nothing read out of bounds
    EXPECT_FALSE(Mix_Playing(15));
    engine.update(0, 0);
    engine.update(-1, -1);  // no tile: the corner's loops a tile away stop too
    EXPECT_FALSE(Mix_Playing(9));
    EXPECT_FALSE(Mix_Playing(10));

    engine.active = false;
    engine.update(0, 0);
    EXPECT_FALSE(Mix_Playing(9));
    EXPECT_EQ(engine.last_x, -1);
    engine.active = true;
    engine.grid = nullptr;
    engine.update(0, 0);
    EXPECT_FALSE(Mix_Playing(9));
    engine.grid = empty_sound_map();
    engine.update(0, 0);
    EXPECT_FALSE(Mix_Playing(9));
}

TEST_F(Ambient, PausedLoopsAreOnlyRelevelledUntilResumed) {
    put(30, 30, 0);
    engine.update(30, 30);
    engine.pause_all();
    EXPECT_TRUE(Mix_Paused(8));
    engine.update(31, 30);
    EXPECT_TRUE(Mix_Paused(8));
    EXPECT_EQ(volume(8), (38 * 4 + 5) / 10);
    engine.resume_all();
    EXPECT_FALSE(Mix_Paused(8));
    EXPECT_TRUE(Mix_Playing(8));
}

class Footsteps : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        g_footstep_cuts = 0;
        Mix_ChannelFinished(count_cuts);
    }
    void TearDown() override {
        AudioTest::TearDown();
        Mix_ChannelFinished(nullptr);
    }
    static int volume_of_footsteps() { return Mix_Volume(kChanFootsteps, -1); }
};

TEST_F(Footsteps, GroundChoosesTheSoundAndEachStepCutsTheLast) {
    const AggArchive agg = sound_archive();
    FootstepSounds steps;
    steps.play(0, false);  // not loaded yet
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
    steps.load(&agg);
    ASSERT_TRUE(steps.loaded);
    for (int s = 0; s < 7; ++s) {
        EXPECT_NE(steps.chunks[s], nullptr) << s;
        EXPECT_EQ(steps.chunks[7 + s], nullptr) << s;
        EXPECT_NE(steps.chunks[14 + s], nullptr) << s;
    }
    // Slots 1 and 3 share sound 3, slots 2 and 5 sound 5: the same bytes.
    EXPECT_EQ(steps.wavs[1], steps.wavs[3]);
    EXPECT_EQ(steps.wavs[2], steps.wavs[5]);
    EXPECT_NE(steps.wavs[4], steps.wavs[6]);

    steps.play(45, false);  // band 2
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[2]);
    EXPECT_EQ(volume_of_footsteps(), 26);
    g_sfx_level() = 10;
    steps.play(130, false);  // band 6 cuts the running step
    EXPECT_EQ(g_footstep_cuts, 1);
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[6]);
    EXPECT_EQ(volume_of_footsteps(), 64);

    // In a boat: the slot-0 sound, and only when nothing is playing.
    steps.play(130, true);
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[6]);
    EXPECT_EQ(g_footstep_cuts, 1);
    steps.stop();
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
    steps.play(130, true);
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[0]);

    steps.variant = 2;
    steps.play(20, false);
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[14 + 1]);
    steps.shutdown();
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
    for (size_t k = 0; k < steps.chunks.size(); ++k) EXPECT_EQ(steps.chunks[k], nullptr);
    steps.play(20, false);
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
}

TEST_F(Footsteps, MissingSoundsPlayNothingOrFallBackToTheFirstVariant) {
    const AggArchive agg = sound_archive(-1, false);
    FootstepSounds steps;
    steps.variant = 2;
    steps.load(&agg);
    steps.play(70, false);
    EXPECT_EQ(Mix_GetChunk(kChanFootsteps), steps.chunks[3]);

    steps.stop();

    FootstepSounds none;
    none.load(nullptr);
    EXPECT_TRUE(none.loaded);
    none.play(70, false);
    none.play(70, true);
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
}

}  // namespace
}  // namespace vorn1
