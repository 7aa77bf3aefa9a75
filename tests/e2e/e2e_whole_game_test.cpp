// A whole game on the real program, from the intro films to the high-score table.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>

#include "e2e_support.h"

using namespace vorn1::e2e;

// A whole game: the intro films skipped, the quick kit scenario chosen on the title screen, won by
// walking into the last rival town, a name entered in the high-score table, the title screen
// again, and quit from there with exit status 0.
TEST(EndToEnd, AWholeGameFromTheFilmsToTheHighScoreTable) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("whole", true);
    remove_maps(folder, "KITQUICK.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g, "whole_1_film.png"));
    const vorn1::Image title = g.shot("whole_2_title.png");
    const vorn1::Image turn = g.open_first_turn("whole_3_turn.png");
    // The rival town's entrance is the tile above the hero, who stands in the middle of the view.
    g.mouse("255 224", 0);
    const vorn1::Image map = g.close_announcement(turn, "whole_4_map.png");
    plan_route(g, 255, 224, map, "whole_4_route.png");
    g.click_at(255, 224, 0);
    const vorn1::Image score = g.wait_for_change("whole_5_score.png", map, Box{}, 100000);
    EXPECT_GT(changed_pixels(map, score, 0, 0, 640, 480), 100000) << "no score screen over the map";
    g.keys({"Return"}, 0);
    const vorn1::Image name = g.wait_for_change("whole_6_name.png", score, Box{}, 2000);
    EXPECT_EQ(std::system((g.xdo + "windowfocus --sync " + g.id + " key --repeat 20 BackSpace").c_str()), 0);
    EXPECT_EQ(std::system((g.xdo + "windowfocus --sync " + g.id + " type Ada").c_str()), 0);
    const vorn1::Image typed = g.wait_for_change("whole_6_name_typed.png", name, Box{}, 100);
    g.keys({"Return"}, 0);
    const vorn1::Image table = g.wait_for_change("whole_7_high_scores.png", typed, Box{}, 2000);
    EXPECT_NE(file_text(folder.root / "STANDARD.HS").find("Ada"), std::string::npos) << "no entry in the file";
    g.keys({"Escape"}, 0);
    const vorn1::Image again = g.wait_for_change("whole_8_title_again.png", table, kMenuColumn, 20000);
    EXPECT_GT(changed_pixels(table, again, 0, 0, 640, 480), 100000) << "the high-score page stayed";
    // The menu column (the sea beside it moves).
    EXPECT_LT(changed_pixels(title, again, 392, 32, 210, 426), 200) << "not the title screen again";
    // The title menu's Quit button.
    g.click_at(495, 391, 0);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
