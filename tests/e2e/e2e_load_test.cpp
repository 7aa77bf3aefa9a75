// A load during play on the real program, through the title screen's menus.
#include <gtest/gtest.h>

#include <signal.h>

#include <iterator>
#include <system_error>

#include "e2e_support.h"

using namespace vorn1::e2e;

// l during play on the real program: the game saved with s, the hero walked on, l asked and
// answered, the title screen's load menu and dialog, and the saved game back on the map.
TEST(EndToEnd, LoadDuringPlayBringsTheSavedGameBackThroughTheTitleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("loadkey", true);
    remove_maps(folder);  // the set-up page starts the archive's demo map
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("load_0_turn.png");
    // The selected hero stands in the middle of the view: its tile's top-left is (239, 240).
    g.mouse("255 290", 0);
    const vorn1::Image start = g.close_announcement(turn, "load_1_map.png");
    ASSERT_GT(start.width, 0) << "no screenshot";

    // The save dialog, then the notice over the map, take the right half of the screen.
    constexpr Box kDialog{312, 0, 320, 400};
    g.keys({"s"}, 0);
    const vorn1::Image save_dialog = g.wait_for_change("load_2_save_dialog.png", start, kDialog, 20000);
    ASSERT_GT(save_dialog.width, 0);
    g.keys({"Return"}, 0);
    const vorn1::Image saved = g.wait_for_change("load_3_saved.png", save_dialog, kDialog, 20000);
    ASSERT_GT(saved.width, 0);
    g.keys({"Return"}, 0);
    g.wait_for_return("load_3_closed.png", start, kMapView);
    std::error_code ec;
    ASSERT_EQ(std::distance(fs::directory_iterator(folder.root / "saved_games", ec), fs::directory_iterator()), 1);

    g.click_at(255, 290, 500);  // the route to the tile below the hero, then the walk
    g.click_at(255, 290, 0);
    const vorn1::Image moved = g.wait_for_change("load_4_moved.png", start, Box{239, 240, 32, 64}, 300);
    ASSERT_GT(moved.width, 0);
    EXPECT_GT(changed_pixels(start, moved, 239, 240, 32, 64), 300) << "the hero did not walk";

    g.keys({"l"}, 0);
    const vorn1::Image question = g.wait_for_change("load_5_question.png", moved, Box{177, 150, 286, 180}, 20000);
    EXPECT_GT(changed_pixels(moved, question, 177, 150, 286, 180), 20000) << "no question over the map";
    g.keys({"Return"}, 0);
    const vorn1::Image title = g.wait_for_change("load_6_title.png", question, kMenuColumn, 20000);
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("load_7_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change("load_8_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image announcement = g.wait_for_change("load_9_announcement.png", load_dialog, kAdventurePanel,
                                                        kAdventurePanel.w * kAdventurePanel.h / 4);
    const vorn1::Image back = g.close_announcement(announcement, "load_10_back.png");
    ASSERT_GT(back.width, 0);
    EXPECT_GT(changed_pixels(title, back, 0, 0, 479, 480), 100000) << "not on the map";
    EXPECT_LT(changed_pixels(start, back, 16, 16, 448, 448), 500) << "the map is not as it was saved";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
