// A load during play on the real program, through the title screen's menus.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <iterator>
#include <thread>

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
    g.keys({"n", "s", "Return"});
    // The selected hero stands in the middle of the view: its tile's top-left is (239, 240).
    g.mouse("255 290 key Return", 3500);  // the turn's date summary runs out
    const vorn1::Image start = g.shot("load_1_map.png");
    ASSERT_GT(start.width, 0) << "no screenshot";

    g.keys({"s"});
    ASSERT_GT(g.shot("load_2_save_dialog.png").width, 0);
    g.keys({"Return"}, 1000);
    ASSERT_GT(g.shot("load_3_saved.png").width, 0);
    g.keys({"Return"});
    std::error_code ec;
    ASSERT_EQ(std::distance(fs::directory_iterator(folder.root / "saved_games", ec), fs::directory_iterator()), 1);

    g.click_at(255, 290, 500);  // the route to the tile below the hero, then the walk
    g.click_at(255, 290, 3500);
    const vorn1::Image moved = g.shot("load_4_moved.png");
    ASSERT_GT(moved.width, 0);
    EXPECT_GT(changed_pixels(start, moved, 239, 240, 32, 64), 300) << "the hero did not walk";

    g.keys({"l"});
    const vorn1::Image question = g.shot("load_5_question.png");
    EXPECT_GT(changed_pixels(moved, question, 177, 150, 286, 180), 20000) << "no question over the map";
    g.keys({"Return"}, 1500);
    const vorn1::Image title = g.shot("load_6_title.png");
    g.keys({"l"});
    g.shot("load_7_load_menu.png");
    g.keys({"s"});
    g.shot("load_8_load_dialog.png");
    g.keys({"Return"}, 1500);
    g.shot("load_9_announcement.png");
    g.keys({"Return"}, 3500);
    const vorn1::Image back = g.shot("load_10_back.png");
    ASSERT_GT(back.width, 0);
    EXPECT_GT(changed_pixels(title, back, 0, 0, 479, 480), 100000) << "not on the map";
    EXPECT_LT(changed_pixels(start, back, 16, 16, 448, 448), 500) << "the map is not as it was saved";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
