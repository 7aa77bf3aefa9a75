// A computer seat's turn in the frame loop: the options it runs with, its steps and battles as the human
// sees them, and what the human's side panel and the game's end make of them.
#include "mainloop/computer_turn.h"

#include "loop_fixture.h"
#include "world/hero_pool.h"
#include "world/route.h"

namespace vorn1::test {
namespace {

// The control panel's three options for the computer's turn reach its executor when the turn starts, and
// the loop keeps a move record for every hero the turn start hired.
TEST_F(LoopTest, TheComputersTurnRunsWithTheControlPanelsOptions) {
    make_game();
    add_hero(5, 5, 1);
    for (const bool on : {false, true}) {
        m.settings.view_enemy_moves = on;
        m.settings.stack_split = on;
        m.settings.enable_trade = !on;
        begin_computer_turn(m, 1);
        EXPECT_EQ(loop().ai.view_enemy_moves, on);
        EXPECT_EQ(loop().ai.allow_stack_split, on);
        EXPECT_EQ(loop().ai.enable_trade, !on);
    }
    // A hero hired when the turn starts has a move record for the steps it will take.
    init_hero_pool(state().pool);
    const int castle = add_town(10, 10, 1);
    state().castles[castle].is_castle = 1;
    state().castles[castle].built_today = 1;
    state().resources[1].gold = 6000;
    begin_computer_turn(m, 1);
    ASSERT_EQ(state().heroes.size(), 2u);
    EXPECT_EQ(loop().moves.size(), 2u);
}

// A step the human sees: the hero leaves its tile, and when the step's time is up it stands on the new
// tile, marked, facing the way it walked.
TEST_F(LoopTest, AWatchedComputerStepLandsTheHeroMarkedOnItsNewTile) {
    make_game();
    add_hero(2, 2, 0, 0);
    const int b = add_hero(9, 5, 1, 4);  // one step's points
    state().chests.push_back({12, 5, 500, 0});
    map().tile(12, 5)->object_type = OBJ_CHEST;
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    ASSERT_TRUE(loop().computer_turn_pending);
    frames(1);
    ASSERT_TRUE(loop().moves[b].active);
    EXPECT_EQ(map().tile(9, 5)->hero_figure, 0) << "the hero left its tile";
    for (int i = 0; i < 300 && loop().computer_turn_pending; ++i) frames(1);
    const HeroState& h = state().heroes[b];
    EXPECT_EQ(std::make_pair(h.x, h.y), std::make_pair(10, 5));
    EXPECT_EQ(loop().moves[b].facing, dir_from_delta(1, 0));
    EXPECT_NE(map().tile(10, 5)->hero_figure, 0);
    EXPECT_EQ(map().tile(10, 5)->hero_frame, standing_frame_for_facing(dir_from_delta(1, 0)));
}

// A battle settled without the screen is checked for the game's end: a rival taking the campaign's
// target town loses the game there and then.
TEST_F(LoopTest, ABattleSettledWithoutTheScreenIsCheckedForTheGamesEnd) {
    make_game();
    add_hero(2, 2, 0, 0);
    const int b = add_hero(12, 5, 1, 12);  // the town is the one target of the day
    state().heroes[b].army.ids[0] = 23;
    state().heroes[b].army.counts[0] = 20;
    const int target = add_town(15, 5, -1);
    state().castles[target].garrison.ids[0] = 0;
    state().castles[target].garrison.counts[0] = 3;
    g().campaign = true;
    state().victory.kind = VICTORY_CAPTURE_TOWN;
    state().victory.target_x = 15;
    state().victory.target_y = 5;
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 300 && state().castles[target].owner != 1; ++i) frames(1);
    ASSERT_EQ(state().castles[target].owner, 1);
    EXPECT_TRUE(g().game_lost);
}

// The computer takes the human's empty town and beats a human hero the battle screen cannot show: the
// human's panel, kept through the computer's turn, loses both and its lists scroll back into range, and
// the computer's hero goes on with its turn.
TEST_F(LoopTest, TheHumansPanelFollowsTheComputersTurn) {
    make_game();
    // The human's other heroes and towns are too strong to attack.
    auto strong = [](Army& a) {
        a.ids[0] = 23;
        a.counts[0] = 500;
    };
    std::vector<int> humans;
    for (int i = 0; i < 5; ++i) {
        humans.push_back(add_hero(1 + i, 18, 0, 0));
        strong(state().heroes[(size_t)humans.back()].army);
    }
    const int victim = add_hero(8, 5, 0, 0);
    for (int i = 0; i < 4; ++i) strong(state().castles[(size_t)add_town(1 + 2 * i, 15, 0)].garrison);
    const int lost = add_town(12, 8, 0);
    const int b = add_hero(12, 5, 1, 200);
    state().heroes[b].army.ids[0] = 23;
    state().heroes[b].army.counts[0] = 20;
    state().chests.push_back({16, 5, 500, 0});
    map().tile(16, 5)->object_type = OBJ_CHEST;
    start_player_turn(m, 0);
    accept_dialogs();
    loop().locator.hero_scroll = 2;
    loop().locator.town_scroll = 1;
    loop().selected_hero = victim;
    request_end_turn(m);
    for (int i = 0; i < 600 && loop().computer_turn_pending; ++i) frames(1);
    EXPECT_EQ(state().castles[lost].owner, 1);
    EXPECT_FALSE(state().heroes[victim].live);
    EXPECT_EQ(state().chests[0].taken, 1) << "the hero went on after the town";
    const SeatView& panel = loop().human_view;
    EXPECT_EQ(panel.hero_order, humans);
    EXPECT_EQ(panel.town_order.size(), 4u);
    EXPECT_EQ(panel.selected_hero, -1);
    EXPECT_EQ(panel.locator.selected_hero_row, -1);
    EXPECT_EQ(panel.locator.hero_scroll, 1);
    EXPECT_EQ(panel.locator.town_scroll, 0);
}

}  // namespace
}  // namespace vorn1::test
