// A computer seat's turn in the frame loop: the options it runs with, its steps and battles as the human
// sees them, and what the human's side panel and the game's end make of them.
#include "mainloop/computer_turn.h"
#include "loop_fixture.h"

namespace vorn1::test {
namespace {

// The control panel's three options for the computer's turn reach its executor when the turn starts.
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
}

}  // namespace
}  // namespace vorn1::test
