// A battle on the real program's battle screen.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "e2e_support.h"

using namespace vorn1::e2e;

// A whole battle by a player's hands: on the kit's battle map the hero stands next to a band of
// peasants; two clicks on them bring the quick-combat result, n declines it, the battle screen opens,
// its automatic-combat button plays the battle out, Enter closes the result, and the map shows the
// monster gone.
TEST(EndToEnd, AHeroFightsTheMonsterBesideItOnTheBattleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("battle", true);
    remove_maps(folder, "KITBATTL.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("battle_turn.png");
    g.mouse("255 290", 0);
    const vorn1::Image before = g.close_announcement(turn, "battle_map_before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";

    // The peasants stand on the tile east of the hero (the hero's tile has its top-left at (239, 240)).
    g.mouse("287 256 click 1", 500);
    g.mouse("287 256 click 1", 0);
    const vorn1::Image preview = g.wait_for_change("battle_preview.png", before, Box{160, 1, 320, 458}, 20000);
    ASSERT_GT(preview.width, 0);
    EXPECT_GT(changed_pixels(before, preview, 160, 1, 320, 458), 20000) << "no quick-combat result over the map";
    g.keys({"n"}, 0);
    const vorn1::Image field = g.wait_for_change("battle_field.png", preview, Box{0, 0, 640, 460}, 100000);
    ASSERT_GT(field.width, 0);
    EXPECT_GT(changed_pixels(preview, field, 0, 0, 640, 460), 100000) << "no battle field";

    // The automatic-combat button at the left of the text bar plays the battle out.
    g.mouse("20 470 click 1", 500);
    g.mouse("320 300", 0);
    const vorn1::Image result = g.wait_for_change("battle_result.png", field, Box{160, 1, 320, 458}, 20000, 120);
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 20000) << "no result screen";
    g.keys({"Return"}, 0);
    const auto map_back = [&before](const vorn1::Image& now, const vorn1::Image& last) {
        return changed_pixels(before, now, 16, 16, 200, 200) < 2000 && still(last, now, Box{271, 240, 32, 32});
    };
    const vorn1::Image after = g.wait_for_screen("battle_map_after.png", "the map again", map_back);
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(before, after, 271, 240, 32, 32), 150) << "the monster's tile did not change";
    EXPECT_LT(changed_pixels(before, after, 16, 16, 200, 200), 2000) << "the map is not back";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
