// The last month a save may hold is played on: the human's turn ends, the computer takes its turn and
// the day turns into the following month without any count wrapping (the sanitizer build checks it).
#include <tuple>

#include "adventure/new_day_panel.h"
#include "loop_fixture.h"
#include "world/hero_pool.h"
#include "world/new_day.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, TheLastMonthASaveMayHoldTurnsIntoTheNextWithTheComputersTurn) {
    // The computer weighs hiring a hero, which reads the day count.
    game_with_a_hiring_computer();
    state().day = loop().day = 7;
    state().week = loop().week = 4;
    state().month = loop().month = CALENDAR_MAX_MONTH;
    const LoadResult saved = load_game_image(
        build_save_image(state(), map(), g().config, 7, 4, CALENDAR_MAX_MONTH, nullptr, 0, nullptr), "", false);
    ASSERT_TRUE(saved.ok) << saved.error;

    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 300 && !g().new_day.active; ++i) frames(1);
    ASSERT_TRUE(g().new_day.active);
    ASSERT_EQ(state().heroes.size(), 2u) << "the computer hired a hero";
    EXPECT_EQ(std::make_tuple(state().day, state().week, state().month), std::make_tuple(1, 1, CALENDAR_MAX_MONTH + 1));
    EXPECT_EQ(loop().month, CALENDAR_MAX_MONTH + 1);
    EXPECT_TRUE(g().new_day.month_changed);

    // The hired hero going back to the pool notes the week it came back.
    return_hero_to_pool(state(), map(), 1, 0);
    const int pi = pool_index_of_hero(state(), 1);
    ASSERT_GE(pi, 0);
    EXPECT_EQ(state().pool.entries[pi].week_returned, CALENDAR_MAX_MONTH * 4 + 1);

    // The last day of that month is the largest day count the bound promises; the computer, its
    // hero gone, weighs hiring again.
    frames((int)(kNewDayMs / 16.0f) + 2);
    ASSERT_FALSE(g().new_day.active);
    accept_dialogs();
    state().day = loop().day = 7;
    state().week = loop().week = 4;
    loop().hero_move_points[0] = 0;
    request_end_turn(m);
    for (int i = 0; i < 300 && !g().new_day.active; ++i) frames(1);
    ASSERT_TRUE(g().new_day.active);
    EXPECT_EQ(HeroPool::count_player_heroes(1, state()), 1) << "the computer hired again";
    EXPECT_EQ(state().month, CALENDAR_MAX_MONTH + 2);
}

}  // namespace
}  // namespace vorn1::test
