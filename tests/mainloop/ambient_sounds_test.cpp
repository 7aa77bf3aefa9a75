#include <algorithm>

#include "assets/resources.h"
#include "loop_fixture.h"
#include "events/event_actions.h"
#include "mainloop/game_files.h"
#include "mainloop/town_screens.h"
#include "mainloop/visit_results.h"
#include "media/ambient_sound.h"
#include "world/ambient_grid.h"

namespace vorn1::test {

namespace {

class AmbientLoopTest : public LoopTest {
protected:
    // The cache's engine as the program has it, without a mixer: pointed at the empty grid.
    Resources res{nullptr, nullptr};
    void SetUp() override {
        LoopTest::SetUp();
        res.ambient = make_owned<AmbientSoundEngine>();
        res.ambient->grid = empty_sound_map();
        m.res = &res;
    }
};

}  // namespace

// The kit's demo game: the engine hears its map's loops once it is set up, again once its save is loaded
// (the grid is not saved: the loaded map builds the same one) and nothing once the game ends.
TEST_F(AmbientLoopTest, TheEngineHearsTheRunningGamesMapAndNothingAfterIt) {
    setup_demo();
    ASSERT_TRUE(m.game);
    GameMap rebuilt = map();
    build_ambient_grid(rebuilt);
    const std::vector<uint8_t> grid = rebuilt.ambient;
    EXPECT_GT(std::count(grid.begin(), grid.end(), AMB_SHORE), 0);
    EXPECT_EQ(map().ambient, grid);
    EXPECT_EQ(res.ambient->grid, map().ambient.data());

    LoadResult loaded = load_game_image(
        build_save_image(state(), map(), g().config, 1, 1, 1, nullptr, 0, nullptr), "", false);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    setup_loaded_game(m, std::move(loaded));
    EXPECT_EQ(map().ambient, grid);
    EXPECT_EQ(res.ambient->grid, map().ambient.data());

    end_game(m);
    EXPECT_EQ(res.ambient->grid, empty_sound_map());
}

// A campfire crackles until a hero takes it; then its tile is silent.
TEST_F(AmbientLoopTest, ATakenSiteFallsSilent) {
    make_game();
    const int hero = add_hero(5, 5, 0);
    state().campfires = {{1, 6, 5, 400, 3, MINE_GEMS, 0}};
    map().tile(6, 5)->object_type = OBJ_CAMPFIRE;
    build_ambient_grid(map());
    const size_t cell = 5 * MAP_MAX_DIM + 6;
    ASSERT_EQ(map().ambient[cell], AMB_CAMPFIRE);
    EventResult r;
    r.hero = hero;
    r.x = 6;
    r.y = 5;
    r.choice = SITE_CAMPFIRE;
    on_second_site_result(m, r);
    EXPECT_EQ(map().tile(6, 5)->object_type, 0);
    EXPECT_EQ(map().ambient[cell], AMB_NONE);
}

// A campfire a computer's hero picks up on its turn falls silent as one the player takes.
TEST_F(AmbientLoopTest, ASiteAComputerTakesFallsSilent) {
    make_game();
    add_hero(2, 2, 0, 0);
    add_hero(9, 5, 1, 12);
    state().campfires = {{1, 11, 5, 400, 3, MINE_GEMS, 0}};
    map().tile(11, 5)->object_type = OBJ_CAMPFIRE;
    build_ambient_grid(map());
    const size_t cell = 5 * MAP_MAX_DIM + 11;
    ASSERT_EQ(map().ambient[cell], AMB_CAMPFIRE);
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 300 && loop().computer_turn_pending; ++i) frames(1);
    ASSERT_EQ(state().campfires[0].taken, 1);
    EXPECT_EQ(map().ambient[cell], AMB_NONE);
}

// A turn without a hero is silent: once the only hero, beside a graveyard, falls, the engine hears from no
// tile and no music plays through the next day's turn, until a hired hero is selected: then both come
// back, the music once, from the top of his ground's track.
TEST_F(AmbientLoopTest, ATurnWithoutAHeroHearsNoLoopUntilAHeroIsHired) {
    make_game();
    const int hero = add_hero(5, 5, 0);
    map().tile(5, 6)->object_type = OBJ_GRAVEYARD;
    map().tile(8, 9)->ground = 110;  // not a band's first tiles, where the music would start by itself
    build_ambient_grid(map());
    init_hero_pool(state().pool);
    m.audio_on = true;
    std::vector<int> music;
    m.sounds.terrain_restart = [&](int ground) { music.push_back(ground); };
    res.ambient->enabled = true;  // as a mixer leaves it
    start_player_turn(m, 0);
    accept_dialogs();
    frames(1);
    EXPECT_EQ(res.ambient->grid, map().ambient.data());
    EXPECT_EQ(res.ambient->last_x, 5);
    EXPECT_EQ(res.ambient->last_y, 5);

    remove_hero_from_map(m, hero, false);  // as a lost battle leaves the map
    request_end_turn(m);
    for (int i = 0; i < 600 && (loop().current_player != 0 || g().new_day.active); ++i) frames(1);
    accept_dialogs();
    frames(2);
    ASSERT_EQ(state().day, 2);
    ASSERT_EQ(loop().selected_hero, -1);
    EXPECT_EQ(res.ambient->last_x, -1) << "no tile heard from in a turn without a hero";
    EXPECT_EQ(res.ambient->last_y, -1);
    EXPECT_EQ(music, (std::vector<int>{30, -1}));

    state().resources[0].gold = 6000;
    const int hired = hire_hero(state(), map(), state().pool.free_entries.front(), 0, 8, 9);
    ASSERT_GE(hired, 0);
    on_hero_hired(m, hired);
    frames(3);
    EXPECT_EQ(res.ambient->last_x, 8);
    EXPECT_EQ(res.ambient->last_y, 9);
    EXPECT_EQ(music, (std::vector<int>{30, -1, 110}));
}

}  // namespace vorn1::test
