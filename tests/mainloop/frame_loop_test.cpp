// The whole loop on the demo game, driven by pushed input frame by frame.
#include <SDL_mixer.h>

#include <cstdlib>

#include "adventure/new_day_panel.h"
#include "assets/resources.h"
#include "datakit/kit_sound.h"
#include "loop_fixture.h"
#include "temp_dir.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, DemoGameStartsWithSeatZeroHumanAndItsHeroSelected) {
    setup_demo();
    ASSERT_TRUE(m.game);
    EXPECT_EQ(map().name, "Demo Vale");
    EXPECT_EQ(loop().current_player, 0);
    EXPECT_EQ(state().player_is_human[0], 1);
    EXPECT_EQ(state().player_is_human[1], 0);
    ASSERT_FALSE(loop().hero_order.empty());
    EXPECT_EQ(loop().selected_hero, loop().hero_order[0]);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Blue player turn.");
}

TEST_F(LoopTest, ClickTwiceWalksTheHero) {
    setup_demo();
    accept_dialogs();
    const int h = loop().selected_hero;
    const HeroState start = state().heroes[h];
    const int points = loop().hero_move_points[h];
    ASSERT_GT(points, 0);
    click_tile(start.x, start.y + 2);
    frames(1);
    ASSERT_EQ(loop().route_dest_x, start.x) << "no route planned";
    ASSERT_EQ(loop().active_route.size(), 2u);
    click_tile(start.x, start.y + 2);
    frames(60);
    EXPECT_EQ(state().heroes[h].x, start.x);
    EXPECT_EQ(state().heroes[h].y, start.y + 2);
    EXPECT_EQ(loop().hero_move_points[h], points - 8);
    EXPECT_EQ(map().tile(start.x, start.y)->hero_figure, 0);
    EXPECT_NE(map().tile(start.x, start.y + 2)->hero_figure, 0);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_TRUE(loop().active_markers.empty());
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

// A chest two tiles east of the hero, on the hand-built map.
TEST_F(LoopTest, WalkingOntoAChestFillsTheTreasury) {
    make_game();
    const int a = add_hero(5, 5, 0);
    state().chests.push_back(TreasureChestState{7, 5, 1500, 0});
    map().tile(7, 5)->object_type = OBJ_CHEST;
    map().tile(7, 5)->layer1_set = 19;
    start_player_turn(m, 0);
    accept_dialogs();
    const int gold = state().resources[0].gold;
    click_tile(7, 5);
    frames(1);
    ASSERT_EQ(loop().route_dest_x, 7);
    click_tile(7, 5);
    frames(40);
    EXPECT_EQ(state().heroes[a].x, 7);
    ASSERT_TRUE(g().events.dialog_open) << "the chest asks gold or experience";
    push_key(SDLK_RETURN);  // the first choice: gold
    frames(1);
    EXPECT_EQ(state().resources[0].gold, gold + 1500);
    EXPECT_EQ(state().chests[0].taken, 1);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0);
    EXPECT_TRUE(map().tile(7, 5)->occupied()) << "the hero still stands there";
}

TEST_F(LoopTest, PressingEEndsTheTurnAndTheDayTurns) {
    setup_demo();
    accept_dialogs();
    const int day = state().day;
    push_key(SDLK_e);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open) << "the hero can still move";
    // n says no to the question and y yes, as Escape and Return do.
    push_key(SDLK_n);
    frames(1);
    EXPECT_FALSE(g().events.dialog_open);
    EXPECT_EQ(state().day, day);
    push_key(SDLK_e);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_y);
    frames(2);
    EXPECT_EQ(state().day, day + 1);
    EXPECT_TRUE(g().new_day.active);
    frames((int)(kNewDayMs / 16.0f) + 2);
    EXPECT_FALSE(g().new_day.active);
    EXPECT_EQ(loop().current_player, 0);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Blue player turn.");
}

TEST_F(LoopTest, WithoutAMapTheGameIsTheEmptyMap) {
    MapSource src;
    NewGameConfig cfg;
    cfg.map_path = "/nonexistent/none.map";
    testing::internal::CaptureStderr();
    const GameMap mp = load_game_map(cfg, nullptr, &src);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(src, MapSource::Empty);
    EXPECT_EQ(mp.name, "EMPTY");
    EXPECT_EQ(mp.width, 72);
    EXPECT_EQ(mp.height, 72);
    EXPECT_NE(err.find("none.map"), std::string::npos);
    ASSERT_TRUE(setup_game(m, NewGameConfig{}, nullptr, 1));
    ASSERT_TRUE(m.game);
    EXPECT_EQ(map().name, "EMPTY");
    EXPECT_TRUE(loop().hero_order.empty());
    push_click(200, 200);
    push_key(SDLK_h);
    frames(3);
    EXPECT_EQ(loop().selected_hero, -1);
}

// A game's start hands the battle the program's folder, in whose SOUND folder it finds its music.
TEST_F(LoopTest, TheBattleFindsItsMusicBesideTheProgram) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    const TempDir program("loop_music");
    program.put("SOUND/VELDAR40.82M", kit::write_raw_tone(VORN_FMT_82M, kit::music_tone_hz(40), 300));
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    m.renderer = SDL_CreateSoftwareRenderer(surface);
    Resources res{nullptr, nullptr};
    m.res = &res;
    m.base_dir = program.dir();
    archive = std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg({{"DUMMY.BIN", {1}}})));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(setup_game(m, NewGameConfig{}, archive.get(), 1));
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(m.game && g().battle_res.battle_music[0].chunk) << "no battle track found";
    end_game(m);
    m.res = nullptr;
    SDL_DestroyRenderer(m.renderer);
    m.renderer = nullptr;
    SDL_FreeSurface(surface);
    Mix_AllocateChannels(0);  // the loop's later tests find no channel of a closed mixer
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST_F(LoopTest, QuitEventAndKeysReachTheirScreens) {
    setup_demo();
    accept_dialogs();
    push_key(SDLK_k);
    frames(1);
    EXPECT_TRUE(loop().kingdom.open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().kingdom.open);
    const int vx = loop().view_x;
    push_key(SDLK_LEFT);
    frames(1);
    EXPECT_EQ(loop().view_x, vx - 32);
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
    frames(1);
    EXPECT_TRUE(m.quit);
}

}  // namespace
}  // namespace vorn1::test
