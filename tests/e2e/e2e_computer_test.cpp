// A computer player's turn in the real program: its hero attacks the player's castle and the battle
// screen opens for the player.
#include <gtest/gtest.h>

#include <signal.h>

#include "e2e_support.h"

using namespace vorn1::e2e;

// On the kit's siege map the player's hero stands in its castle and a computer hero waits below the
// gate. The player ends the turn; the computer hero walks up and besieges the castle; the battle screen
// shows the siege, its automatic-combat button plays it out, Enter closes the result, and after the
// computer's turn the player's next turn is announced, with the fallen hero gone from the side panel.
TEST(EndToEnd, AComputerHeroBesiegesThePlayersCastleOnTheBattleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("computer", true);
    remove_maps(folder, "KITSIEGE.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("computer_turn.png");
    g.mouse("255 290", 0);
    // Shot once the date has given the info panel back to the hero's: the end compares that panel.
    const vorn1::Image before = g.close_announcement(turn, "computer_map_before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";

    // End the turn; the hero could still move, so the question is answered yes.
    end_turn_past_question(g, before, "computer_end_turn.png");
    const vorn1::Image field = g.wait_for_change("computer_siege_field.png", before, Box{0, 0, 640, 460}, 100000);
    ASSERT_GT(field.width, 0);
    EXPECT_GT(changed_pixels(before, field, 0, 0, 640, 460), 100000) << "no battle field";

    // The automatic-combat button plays the battle out; then the result screen comes over the field.
    const vorn1::Image result = g.fight_out_automatically(field, "computer_siege_result.png");
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 60000) << "no result screen";

    // Return until the result gives way to the rest of the computer's turn. Then the new day's panel takes
    // the info panel for a while, and the player's turn is announced over the map, with the panel below as
    // before the new day.
    const vorn1::Image closed = g.close_battle_result(result, "computer_result_closed.png");
    ASSERT_GT(changed_pixels(result, closed, 0, 0, 640, 460), 100000) << "the result screen did not close on Return";
    const auto panel_changed = [](const vorn1::Image& from, const vorn1::Image& now) {
        return changed_pixels(from, now, kInfoPanel) > kInfoPanel.w * kInfoPanel.h / 4;
    };
    // Told by its own colour, which covers the hero's panel of the first shot: the screen left by the
    // result may already show it.
    const vorn1::Image new_day = g.wait_for_screen(
        "computer_new_day.png", "the new day's panel", [&](const vorn1::Image& now, const vorn1::Image&) {
            return changed_pixels(before, now, kInfoPanel) > kInfoPanel.w * kInfoPanel.h / 2;
        });
    const vorn1::Image announced = g.wait_for_screen(
        "computer_turn_announced.png", "the player's turn announced", [&](const vorn1::Image& now, const vorn1::Image& before) {
            return panel_changed(new_day, now) && still(before, now, Box{});
        });
    const vorn1::Image after = g.close_announcement(announced, "computer_map_after.png");
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(result, after, 0, 0, 640, 460), 100000) << "the map is not back";
    // The side panel: the hero list (x 484..548, y 176..208) lost the fallen hero and nobody is selected.
    EXPECT_GT(changed_pixels(before, after, 484, 176, 64, 32), 500) << "the fallen hero is still listed";
    EXPECT_GT(changed_pixels(before, after, 480, 392, 160, 88), 2000) << "a hero is still shown";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
