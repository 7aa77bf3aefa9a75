#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "assets/agg.h"
#include "battle/battle_resources.h"
#include "battle/battle_scenery.h"
#include "battle/battle_screen.h"
#include "datakit/kit_battledraw.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "temp_dir.h"
#include "world/map.h"

using namespace vorn1;

namespace {

GameMap grass_map() {
    GameMap map;
    map.width = 72;
    map.height = 72;
    MapTile t;
    t.ground = 30;
    map.tiles.assign(72 * 72, t);
    return map;
}

}  // namespace

TEST(BattleScenery, ReadersTerrainsAndFileNames) {
    Palette pal{};
    pal[12] = Color{9, 8, 7};
    EXPECT_TRUE(decode_xtl(kit::Bytes(5, 1), pal).empty());
    kit::Bytes seventeen(17, 0);
    seventeen[0] = 3;
    const auto three = decode_xtl(seventeen, pal);
    ASSERT_EQ(three.size(), 3u);
    for (const XtlImage& f : three) EXPECT_TRUE(f.img.empty());
    const auto set = decode_xtl(kit::scene_set({{2, 10, 11, 0, 0x83, 1, 12, 0x80}, {0x80}}), pal);
    ASSERT_EQ(set.size(), 2u);
    ASSERT_EQ(set[0].img.width, 4);
    ASSERT_EQ(set[0].img.height, 2);
    EXPECT_EQ(set[0].img.at(3, 1)[0], 9);
    EXPECT_EQ(set[0].img.at(3, 1)[3], 255);
    EXPECT_EQ(set[0].img.at(2, 0)[3], 0);  // skipped: transparent
    EXPECT_EQ(set[1].x, 1);
    EXPECT_EQ(set[1].y, 255 - 256);
    EXPECT_TRUE(set[1].img.empty());

    EXPECT_TRUE(decode_bkg({0, 0, 2, 0, 2, 0, 1, 2, 3}, pal).empty());  // one index short
    EXPECT_TRUE(decode_bkg({0, 0, 0, 0, 2, 0}, pal).empty());
    const Image sky = decode_bkg({0, 0, 2, 0, 1, 0, 12, 12}, pal);
    EXPECT_EQ(sky.width, 2);
    EXPECT_EQ(sky.at(1, 0)[1], 8);

    const std::pair<int, int> grounds[] = {{19, TerrainWater}, {20, TerrainGrass}, {40, TerrainSnow}, {79, TerrainSwamp},
                                           {80, TerrainLava},  {119, TerrainDesert}, {254, TerrainDirt}, {255, TerrainWater}};
    for (auto [g, t] : grounds) EXPECT_EQ(battle_terrain_for_ground(g), t) << g;

    GameMap map = grass_map();
    std::string bkg, xtl, obj;
    pick_scene_files(map, 10, 10, TerrainGrass, bkg, xtl, obj, false);
    EXPECT_EQ(bkg, "mtnwgrsf.bkg");  // no mountains and no forests: a tie takes the mountains
    map.tile(11, 10)->layer1_set = 9;
    pick_scene_files(map, 10, 10, TerrainGrass, bkg, xtl, obj, false);
    EXPECT_EQ(bkg, "frstwgrs.bkg");
    map.tile(8, 8)->layer2_set = 8;  // two tiles away on a diagonal
    pick_scene_files(map, 10, 10, TerrainDirt, bkg, xtl, obj, false);
    EXPECT_EQ(bkg + xtl + obj, "mtnwdrtf.bkgdirt.xtldgrass.obj");
    pick_scene_files(map, 10, 10, TerrainSwamp, bkg, xtl, obj, true);
    EXPECT_EQ(bkg + xtl + obj, "gravyard.bkgdirt.xtldgrass.obj");
}

TEST(BattleScenery, SeededFieldWithObstacles) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    ASSERT_NE(renderer, nullptr);
    AggArchive ar = AggArchive::from_bytes(kit::demo_archive_bytes());
    {
        BattleResources res;
        res.archive = &ar;
        res.renderer = renderer;
        res.palette = kit::demo_palette();
        BattleScreen b;
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        const GameMap map = grass_map();
        auto snapshot = [&](unsigned seed) {
            b.build_background(map, 10, 10, seed, false);
            return std::make_pair(texture_to_pixels(renderer, b.background, 640, 460), b.field_objects.size());
        };
        int with_obstacles = 0;
        for (unsigned seed = 1; seed <= 12; ++seed) {
            b.build_background(map, 10, 10, seed, false);
            ASSERT_NE(b.background, nullptr);
            EXPECT_LE(b.field_objects.size(), 3u);
            std::set<std::pair<int, int>> hexes;
            for (const auto& o : b.field_objects) {
                EXPECT_GE(o.col, 3);
                EXPECT_LE(o.col, 5);
                EXPECT_TRUE(hexes.insert({o.row, o.col}).second);
                EXPECT_EQ(b.scene_blocked[o.row][o.col], 1);
                EXPECT_TRUE(b.hex_is_hard_blocked(o.row, o.col));
                EXPECT_EQ(o.rect.y + o.rect.h, o.row * 80 + 141 + 11);
            }
            int blocked = 0;
            for (const auto& row : b.scene_blocked)
                for (uint8_t v : row) blocked += v;
            EXPECT_EQ(blocked, static_cast<int>(b.field_objects.size()));
            with_obstacles += !b.field_objects.empty();
        }
        EXPECT_GT(with_obstacles, 3);
        // The same seed lays out the same field; the sky picture covers the top band.
        const auto first = snapshot(7);
        const auto again = snapshot(7);
        EXPECT_EQ(first, again);
        EXPECT_NE(first.first, snapshot(8).first);
        // A siege field has no obstacles.
        b.siege = 1;
        for (unsigned seed = 1; seed <= 12; ++seed) {
            b.build_background(map, 10, 10, seed, false);
            EXPECT_TRUE(b.field_objects.empty());
        }
        // Without the archive's scenery the field is black under nothing: no crash, no obstacles.
        b.siege = 0;
        res.archive = nullptr;
        b.build_background(map, 10, 10, 3, false);
        EXPECT_NE(b.background, nullptr);
        EXPECT_TRUE(b.field_objects.empty());
        b.shutdown();
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

TEST(BattleSounds, TracksVolumesAndSilentGaps) {
    EXPECT_EQ(battle_music_track(42), 0);
    EXPECT_EQ(battle_music_track(1), 1);
    EXPECT_EQ(battle_music_track(5), 2);
    EXPECT_EQ(battle_effect_volume(5), 64);
    EXPECT_EQ(battle_effect_volume(1), 13);
    EXPECT_EQ(battle_effect_volume(12), 128);

    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    }
    Mix_AllocateChannels(35);
    const test::TempDir dir("battle_sounds");
    std::filesystem::create_directories(dir.path / "SOUND");
    kit::write_file((dir.path / "SOUND" / "VELDAR40.82M").string(), kit::write_raw_tone(VORN_FMT_82M, 300.0, 400));
    kit::write_file((dir.path / "SOUND" / "VELDAR43.82M").string(), kit::write_raw_tone(VORN_FMT_82M, 200.0, 400));
    AggArchive ar = AggArchive::from_bytes(kit::write_agg({{"ATKSND03.82M", kit::write_raw_tone(VORN_FMT_82M, 500.0, 400)},
                                                          {"WINCE03.82M", kit::write_raw_tone(VORN_FMT_82M, 600.0, 400)}}));
    {
        BattleResources res;
        res.sound_dir = dir.dir();
        res.load_battle_music();
        res.load_creature_sounds(ar);
        ASSERT_NE(res.battle_music[0].chunk, nullptr);
        EXPECT_EQ(res.battle_music[1].chunk, nullptr);
        ASSERT_NE(res.attack_sfx[3].chunk, nullptr);
        EXPECT_EQ(res.attack_sfx[4].chunk, nullptr);

        res.play_battle_music(42, 64);
        EXPECT_TRUE(Mix_Playing(1));
        EXPECT_EQ(Mix_Volume(1, -1), 64);
        res.play_battle_music(1, 64);  // track 1 is missing: the old track stops, nothing else plays
        EXPECT_FALSE(Mix_Playing(1));

        // The result screen plays the losing track when the player lost, over the battle track.
        res.load_result_music();
        EXPECT_EQ(res.result_music[0].chunk, nullptr);
        ASSERT_NE(res.result_music[1].chunk, nullptr);
        res.play_battle_music(42, 64);
        BattleScreen b;
        b.init(&res, nullptr, nullptr, nullptr, nullptr);
        b.control.human = {1, 0};
        b.open_result_screen(OutcomeDefenderWon);
        EXPECT_EQ(Mix_GetChunk(1), res.result_music[1].chunk);
        EXPECT_TRUE(Mix_Playing(1));

        res.play_battle_sfx(BattleSfx::Attack, 3, 2, 13);
        EXPECT_EQ(Mix_GetChunk(2), res.attack_sfx[3].chunk);
        EXPECT_EQ(Mix_Volume(2, -1), 13);
        res.play_battle_sfx(BattleSfx::Wince, 3, 2, 13);  // cuts the blow's sound
        EXPECT_EQ(Mix_GetChunk(2), res.wince_sfx[3].chunk);
        res.play_battle_sfx(BattleSfx::Shoot, 3, 2, 13);  // Swordsmen have no shot: nothing changes
        res.play_battle_sfx(BattleSfx::Attack, 200, 2, 13);
        EXPECT_EQ(Mix_GetChunk(2), res.wince_sfx[3].chunk);
        Mix_HaltChannel(-1);
    }
}
