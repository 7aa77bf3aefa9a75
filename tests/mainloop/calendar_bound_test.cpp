// The last month a save may hold is played on: the human's turn ends, the computer takes its turn and
// the day turns without any count wrapping (the sanitizer build checks it) and without leaving that month.
#include <tuple>

#include "adventure/new_day_panel.h"
#include "loop_fixture.h"
#include "mainloop/game_files.h"
#include "persist/persist_test_util.h"
#include "world/hero_pool.h"
#include "world/new_day.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, TheLastDayOfTheLastMonthASaveMayHoldComesRoundAgainAndItsSaveLoads) {
    // The computer weighs hiring a hero, which reads the day count.
    game_with_a_hiring_computer();
    state().day = loop().day = 7;
    state().week = loop().week = 4;
    state().month = loop().month = CALENDAR_MAX_MONTH;
    const auto last_day = std::make_tuple(7, 4, CALENDAR_MAX_MONTH);

    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 300 && !g().new_day.active; ++i) frames(1);
    ASSERT_TRUE(g().new_day.active);
    ASSERT_EQ(state().heroes.size(), 2u) << "the computer hired a hero";
    EXPECT_EQ(std::make_tuple(state().day, state().week, state().month), last_day);
    EXPECT_EQ(std::make_tuple(loop().day, loop().week, loop().month), last_day);
    EXPECT_FALSE(g().new_day.month_changed);

    // The turned day's save loads.
    ScratchDataDir dir;
    const SaveOutcome saved = save_running_game(m, "lastday");
    ASSERT_TRUE(saved.ok) << saved.reason;
    const LoadResult loaded = load_game(saved.path, "");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_EQ(std::make_tuple(loaded.day, loaded.week, loaded.month), last_day);

    // The hired hero going back to the pool notes the week it came back.
    return_hero_to_pool(state(), map(), 1, 0);
    const int pi = pool_index_of_hero(state(), 1);
    ASSERT_GE(pi, 0);
    EXPECT_EQ(state().pool.entries[pi].week_returned, CALENDAR_MAX_MONTH * 4);

    // The day comes round again; the computer, its hero gone, weighs hiring again.
    frames((int)(kNewDayMs / 16.0f) + 2);
    ASSERT_FALSE(g().new_day.active);
    accept_dialogs();
    loop().hero_move_points[0] = 0;
    request_end_turn(m);
    for (int i = 0; i < 300 && !g().new_day.active; ++i) frames(1);
    ASSERT_TRUE(g().new_day.active);
    EXPECT_EQ(HeroPool::count_player_heroes(1, state()), 1) << "the computer hired again";
    EXPECT_EQ(std::make_tuple(state().day, state().week, state().month), last_day);
}

}  // namespace
}  // namespace vorn1::test
