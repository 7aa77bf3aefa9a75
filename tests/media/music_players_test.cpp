#include <atomic>
#include <cstdio>
#include <memory>

#include "assets/agg.h"
#include "assets/resources.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "media/ambient_sound.h"
#include "media/audio_fixture.h"
#include "media/music_players.h"

namespace vorn1 {
namespace {

using test::AudioTest;
using test::TempDir;

std::atomic<int> g_finished[kMixerChannels];
void count_finished(int ch) {
    if (ch >= 0 && ch < kMixerChannels) ++g_finished[ch];
}

// A SOUND folder with every music stem the players look for, each a looped tone.
struct MusicFolder {
    TempDir t{"music"};
    MusicFolder() {
        for (const char* stem : {"VELDAR00", "VELDAR01", "VELDAR02", "VELDAR03", "VELDAR04", "VELDAR05", "VELDAR06",
                                 "VELDAR29", "VELDAR30", "VELDAR31", "VELDAR32", "VELDAR47", "VELDAR48", "VELDAR49",
                                 "VELDAR54"})
            t.put(std::string("SOUND/") + stem + ".82M", kit::write_raw_tone(VORN_FMT_82M, 330, 300));
    }
    std::string dir() const { return t.dir(); }
};

class MusicPlayers : public AudioTest {
protected:
    void SetUp() override {
        AudioTest::SetUp();
        for (auto& f : g_finished) f = 0;
        Mix_ChannelFinished(count_finished);
    }
    void TearDown() override {
        AudioTest::TearDown();
        Mix_ChannelFinished(nullptr);
    }
    static int volume(int ch) { return Mix_Volume(ch, -1); }
};

TEST(SoundLevels, PlayerVolumeByLevelAndScale) {
    const int want76[] = {0, 0, 8, 15, 23, 30, 38, 46, 53, 61, 68, 76, 76};
    for (int level = -1; level <= 11; ++level) EXPECT_EQ(player_volume(level, 76), want76[level + 1]) << level;
    EXPECT_EQ(player_volume(5, kNewDayFullScale), 64);
    EXPECT_EQ(player_volume(10, kNewDayFullScale), 128);
    EXPECT_EQ(player_volume(4, kFootstepFullScale), 26);
    EXPECT_EQ(player_volume(4, kEffectsFullScale), 51);
}

TEST(SoundLevels, TerrainBandsOfTwentyTiles) {
    const std::pair<int, int> cases[] = {{0, 0},   {19, 0},  {20, 1},  {39, 1},  {40, 2},  {99, 4},
                                         {119, 5}, {120, 6}, {200, 6}, {254, 6}, {255, 0}};
    for (auto [tile, band] : cases) EXPECT_EQ(terrain_band(static_cast<uint8_t>(tile)), band) << tile;
}

TEST_F(MusicPlayers, LevelChangesSetTheirOwnChannelGroupsOnly) {
    apply_music_volume(11);
    EXPECT_EQ(g_music_level(), 10);
    for (int ch : {1, 3, 4, 6, 7}) EXPECT_EQ(volume(ch), 77) << ch;
    for (int ch : {0, 2, 5, 8, 28}) EXPECT_EQ(volume(ch), 128) << ch;
    apply_music_volume(-3);
    EXPECT_EQ(g_music_level(), 0);
    EXPECT_EQ(volume(6), 0);
    apply_music_volume(5);
    EXPECT_EQ(volume(7), 39);

    apply_sfx_volume(4);
    EXPECT_EQ(g_sfx_level(), 4);
    for (int ch = 0; ch < kMixerChannels; ++ch) {
        const bool sfx = ch == 0 || ch == 2 || ch == 5 || ch >= 8;
        EXPECT_EQ(volume(ch), sfx ? 51 : 39) << ch;
    }
    apply_sfx_volume(1);
    EXPECT_EQ(volume(28), 13);
}

TEST_F(MusicPlayers, TerrainTrackChangesOnlyOnTheFirstTilesOfABand) {
    MusicFolder m;
    TerrainMusic music;
    music.init(m.dir());
    for (Mix_Chunk* c : music.chunks) ASSERT_NE(c, nullptr);
    ASSERT_EQ(music.current, -1);

    music.update(25);  // inside band 1, no track chosen yet: silence
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    EXPECT_EQ(music.current, -1);
    music.update(22);
    EXPECT_EQ(music.current, 1);
    ASSERT_TRUE(Mix_Playing(kChanTerrain));
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[1]);
    EXPECT_EQ(volume(kChanTerrain), 38);

    music.update(3);
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[0]);
    music.update(25);  // band 1 again, but not on its first tiles
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[0]);
    EXPECT_EQ(music.current, 0);
    music.update(255);  // counts as band 0 and never switches
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[0]);

    // The same track while playing is left running: no restart.
    const int halted = g_finished[kChanTerrain];
    music.update(1);
    EXPECT_EQ(g_finished[kChanTerrain], halted);

    g_music_level() = 10;
    music.update(243);
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[6]);
    EXPECT_EQ(volume(kChanTerrain), 76);
    g_music_level() = 0;
    music.update(120);  // same band, already playing: kept at its old volume
    EXPECT_EQ(volume(kChanTerrain), 76);
    music.update(100);
    EXPECT_TRUE(Mix_Playing(kChanTerrain));  // level 0 still plays, silently
    EXPECT_EQ(volume(kChanTerrain), 0);
}

// A turn's start plays the ground's track on any tile of its band, from the top; walking on, the first
// tiles of a band still decide.
TEST_F(MusicPlayers, TerrainRestartPlaysTheGroundsTrackWhateverTheTile) {
    MusicFolder m;
    TerrainMusic music;
    music.init(m.dir());
    music.restart(25);  // no track chosen yet, inside band 1
    EXPECT_EQ(music.current, 1);
    ASSERT_TRUE(Mix_Playing(kChanTerrain));
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[1]);
    const int halted = g_finished[kChanTerrain];
    music.restart(26);  // the same track starts again
    EXPECT_EQ(g_finished[kChanTerrain], halted + 1);
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[1]);
    music.update(45);  // band 2, not on its first tiles: band 1 goes on
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[1]);
    music.restart(45);
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[2]);
}

TEST_F(MusicPlayers, TerrainPauseResumeAndMissingTracks) {
    MusicFolder m;
    std::filesystem::remove(m.t.path / "SOUND/VELDAR02.82M");
    TerrainMusic music;
    music.init(m.dir());
    EXPECT_EQ(music.chunks[2], nullptr);
    EXPECT_TRUE(music.wavs[2].empty());

    music.resume();  // no track chosen yet
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    music.update(20);
    music.pause();
    EXPECT_TRUE(Mix_Paused(kChanTerrain));
    music.update(21);  // paused counts as playing: stays paused, not restarted
    EXPECT_TRUE(Mix_Paused(kChanTerrain));
    music.resume_paused();
    EXPECT_FALSE(Mix_Paused(kChanTerrain));
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[1]);

    music.update(41);  // a band whose track is missing silences the map
    EXPECT_EQ(music.current, 2);
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    music.resume();
    EXPECT_FALSE(Mix_Playing(kChanTerrain));

    music.update(61);
    music.stop();
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    music.resume();
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), music.chunks[3]);
    music.shutdown();
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    for (size_t i = 0; i < music.chunks.size(); ++i) {
        EXPECT_EQ(music.chunks[i], nullptr);
        EXPECT_TRUE(music.wavs[i].empty());
    }
    music.update(1);  // nothing left to play
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
}

TEST_F(MusicPlayers, CastleMusicByTownKind) {
    MusicFolder m;
    CastleMusic castle;
    castle.init(m.dir());
    g_music_level() = 7;
    castle.play(2);
    EXPECT_TRUE(castle.playing);
    EXPECT_EQ(Mix_GetChunk(kChanTownMusic), castle.chunks[2]);
    EXPECT_EQ(volume(kChanTownMusic), 53);
    for (int bad : {4, -1}) {
        castle.play(2);
        castle.play(bad);
        EXPECT_FALSE(castle.playing) << bad;
        EXPECT_FALSE(Mix_Playing(kChanTownMusic)) << bad;
    }
    castle.play(0);
    castle.stop();
    EXPECT_FALSE(castle.playing);
    EXPECT_FALSE(Mix_Playing(kChanTownMusic));
}

TEST_F(MusicPlayers, TitleMusicIsNotRestartedNorPlayedOverTheTownMusic) {
    MusicFolder m;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    Resources res(nullptr, nullptr);
    load_resource_sounds(res);
    ::testing::internal::GetCapturedStdout();
    ::testing::internal::GetCapturedStderr();
    ASSERT_NE(res.title_music, nullptr);
    title_music_play(&res);  // nothing loaded yet
    EXPECT_FALSE(Mix_Playing(kChanTownMusic));
    res.title_music->init(m.dir());
    ASSERT_NE(res.title_music->chunk, nullptr);

    g_music_level() = 3;
    title_music_play(&res);
    EXPECT_EQ(Mix_GetChunk(kChanTownMusic), res.title_music->chunk);
    EXPECT_EQ(volume(kChanTownMusic), 23);
    g_music_level() = 9;
    title_music_play(&res);
    EXPECT_EQ(volume(kChanTownMusic), 23);
    EXPECT_EQ(g_finished[kChanTownMusic], 0);
    title_music_stop(&res);
    EXPECT_FALSE(Mix_Playing(kChanTownMusic));

    CastleMusic castle;
    castle.init(m.dir());
    castle.play(1);
    title_music_play(&res);
    EXPECT_EQ(Mix_GetChunk(kChanTownMusic), castle.chunks[1]);
    title_music_play(nullptr);
    title_music_stop(nullptr);
    EXPECT_TRUE(Mix_Playing(kChanTownMusic));
}

TEST_F(MusicPlayers, TavernMusicReportsItsFileAndReplacesTheTownMusic) {
    MusicFolder m;
    TavernMusic tavern;
    ::testing::internal::CaptureStdout();
    tavern.init(m.dir());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "  VELDAR47.82M (tavern music) loaded\n");

    CastleMusic castle;
    castle.init(m.dir());
    castle.play(3);
    tavern.play(&castle);
    EXPECT_FALSE(castle.playing);
    EXPECT_FALSE(Mix_Playing(kChanTownMusic));
    EXPECT_TRUE(tavern.playing);
    EXPECT_EQ(Mix_GetChunk(kChanTavern), tavern.chunk);
    EXPECT_EQ(volume(kChanTavern), 38);
    tavern.stop();
    EXPECT_FALSE(tavern.playing);
    EXPECT_FALSE(Mix_Playing(kChanTavern));

    TempDir empty("notavern");
    TavernMusic none;
    ::testing::internal::CaptureStderr();
    none.init(empty.dir());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "  WARNING: VELDAR47.* not found — tavern music disabled\n");
    castle.play(3);
    none.play(&castle);  // no tavern music: the town music keeps going
    EXPECT_FALSE(none.playing);
    EXPECT_TRUE(castle.playing);
}

TEST_F(MusicPlayers, CampaignMusicSilencesEverythingElse) {
    MusicFolder m;
    CampaignMusic campaign;
    campaign.init(m.dir());
    TerrainMusic terrain;
    terrain.init(m.dir());
    terrain.update(0);
    Mix_PlayChannel(12, terrain.chunks[3], -1);
    campaign.play();
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    EXPECT_FALSE(Mix_Playing(12));
    EXPECT_EQ(Mix_GetChunk(kChanTownMusic), campaign.chunk);
    EXPECT_EQ(volume(kChanTownMusic), 38);
    campaign.stop();
    EXPECT_FALSE(Mix_Playing(kChanTownMusic));
}

TEST_F(MusicPlayers, NewDayPauseHoldsTheMapSoundsAndGivesThemBack) {
    MusicFolder m;
    TerrainMusic terrain;
    terrain.init(m.dir());
    NewDayMusic jingle;
    jingle.init(m.dir());
    AmbientSoundEngine ambient;
    terrain.update(40);
    Mix_PlayChannel(kChanFootsteps, terrain.chunks[0], -1);
    Mix_PlayChannel(9, terrain.chunks[1], -1);

    new_day_music_start(&jingle, &ambient);
    EXPECT_FALSE(Mix_Playing(kChanTerrain));
    EXPECT_FALSE(Mix_Playing(kChanFootsteps));
    EXPECT_TRUE(Mix_Paused(9));
    EXPECT_EQ(Mix_GetChunk(kChanNewDay), jingle.chunk);
    EXPECT_EQ(volume(kChanNewDay), 64);  // the music level on the full scale
    jingle.pause();
    EXPECT_TRUE(Mix_Paused(kChanNewDay));
    jingle.resume();
    EXPECT_FALSE(Mix_Paused(kChanNewDay));

    new_day_music_end(&ambient, &terrain);
    EXPECT_FALSE(Mix_Playing(kChanNewDay));
    EXPECT_FALSE(Mix_Paused(9));
    EXPECT_EQ(Mix_GetChunk(kChanTerrain), terrain.chunks[2]);
}

TEST_F(MusicPlayers, MapEffectsRestartFromTheBeginning) {
    const AggArchive agg = AggArchive::from_bytes(kit::write_agg({
        {"BUILDTWN.82M", kit::write_raw_tone(VORN_FMT_82M, 300, 4000)},
        {"DIGSOUND.82M", kit::write_raw_tone(VORN_FMT_82M, 200, 4000)},
    }));
    BuildSound build;
    DigSound dig;
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(load_map_effect(&agg, BuildSound::kEntry, "build sound", build.chunk, build.wav));
    EXPECT_TRUE(load_map_effect(&agg, DigSound::kEntry, "dig sound", dig.chunk, dig.wav));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "  BUILDTWN.82M loaded\n  DIGSOUND.82M loaded\n");

    build.play();
    EXPECT_EQ(Mix_GetChunk(kChanMapEffects), build.chunk);
    EXPECT_EQ(volume(kChanMapEffects), 51);
    build.play();  // cut and started again
    EXPECT_EQ(g_finished[kChanMapEffects], 1);
    EXPECT_TRUE(Mix_Playing(kChanMapEffects));
    g_sfx_level() = 0;
    dig.play();
    EXPECT_EQ(g_finished[kChanMapEffects], 2);
    EXPECT_EQ(Mix_GetChunk(kChanMapEffects), dig.chunk);
    EXPECT_EQ(volume(kChanMapEffects), 0);

    BuildSound none;
    none.play();  // no chunk: the dig sound is left alone
    EXPECT_EQ(Mix_GetChunk(kChanMapEffects), dig.chunk);

    // An entry the mixer cannot take (here: no device) is told apart from a missing one.
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(load_map_effect(&agg, BuildSound::kEntry, "build sound", none.chunk, none.wav));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "  WARNING: BUILDTWN.82M failed to decode\n");
    EXPECT_TRUE(none.wav.empty());
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    Mix_AllocateChannels(kMixerChannels);
}

TEST_F(MusicPlayers, AssetCacheLoadsTheMapSoundsWithItsLogLines) {
    std::vector<kit::AggFile> files;
    for (int i = 0; i <= 20; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "LOOP%04d.82M", i);
        if (i != 7) files.push_back({name, kit::write_raw_tone(VORN_FMT_82M, 200 + 10 * i, 50)});
    }
    files.push_back({"BUILDTWN.82M", kit::write_raw_tone(VORN_FMT_82M, 300, 3000)});
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    auto res = std::make_unique<Resources>(nullptr, std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg(files))));
    load_resource_sounds(*res);
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("  Ambient sound chunks loaded\n  BUILDTWN.82M loaded\n"), std::string::npos) << out;
    EXPECT_NE(err.find("  WARNING: DIGSOUND.82M not found — dig sound disabled\n"), std::string::npos) << err;
    EXPECT_EQ(out.find("DIGSOUND"), std::string::npos);

    const AmbientSoundEngine& amb = *res->ambient;
    EXPECT_TRUE(amb.active);
    EXPECT_TRUE(amb.enabled);
    EXPECT_EQ(amb.grid, empty_sound_map());
    for (int i = 0; i <= 20; ++i) {
        EXPECT_EQ(amb.channels[i], static_cast<uint32_t>(8 + i));
        EXPECT_EQ(amb.chunks[i] == nullptr, i == 7) << i;
    }
    EXPECT_NE(res->build_sound->chunk, nullptr);
    EXPECT_EQ(res->dig_sound->chunk, nullptr);
    ASSERT_NE(res->new_day_music, nullptr);
    ASSERT_NE(res->tavern_music, nullptr);

    // The cache's end stops what its players started.
    res->build_sound->play();
    EXPECT_TRUE(Mix_Playing(kChanMapEffects));
    res.reset();
    EXPECT_FALSE(Mix_Playing(kChanMapEffects));
}

}  // namespace
}  // namespace vorn1
