// A campaign scenario played again from its start on the real program.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

constexpr Box kControlPanel{159, 10, 322, 459};
// The hero stands on the tile whose middle is at (255, 256), in the middle of the view; he walks to
// the one two tiles below it.
constexpr int kHeroX = 255, kWalkY = 320;

// The hero walks two tiles down from the start (`map`); the map after the walk: his figure gone from
// one tile and on another, the route's marks gone (some 600 pixels for the warlock's figure).
vorn1::Image walk(const RunningGame& g, const vorn1::Image& map, const std::string& name) {
    const vorn1::Image route = plan_route(g, kHeroX, kWalkY, map, name + "_route.png");
    g.click_at(kHeroX, kWalkY, 0);
    return g.wait_for_change(name + "_walked.png", route, kMapView, 400);
}

// On the campaign's scenario information (`info`): the restart button, its question, and yes; the
// announcement of the first turn that comes back.
vorn1::Image restart(const RunningGame& g, const vorn1::Image& info, const vorn1::Image& turn,
                     const std::string& name) {
    g.click_at(431, 359, 0);  // the restart button, right of OK
    const vorn1::Image ask = g.wait_for_change(name + "_ask.png", info, Box{177, 132, 286, 200}, 5000);
    g.keys({"y"}, 0);
    const auto turn_again = [&](const vorn1::Image& now, const vorn1::Image& before) {
        return changed_pixels(ask, now, Box{}) > 50000 && still(turn, now, Box{}) && still(before, now, Box{});
    };
    return g.wait_for_screen(name + "_turn.png", "the first turn's announcement again", turn_again);
}

}  // namespace

// The kit's short campaign: its hero walks, then the scenario information's restart, by i and by the
// control panel's information button, each answered yes, shows the start again: the first turn's
// announcement over the hero on his starting tile, the map as it first was (the day itself is checked
// by the loop's own test: the date shows for a few seconds only).
// The screenshots are kept as e2e_shots/restart_*.png.
TEST(EndToEnd, ARestartedCampaignScenarioShowsItsStartAgain) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("restart", true);
    remove_maps(folder);  // the scenario maps; the campaign files stay
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image story = g.open_kit_campaign("restart");
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change("restart_4_turn.png", story, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    g.mouse("20 470", 0);  // the pointer off the map, as in every shot to compare
    const vorn1::Image first = g.close_announcement(turn, "restart_5_map.png");

    // By i.
    const vorn1::Image walked = walk(g, first, "restart_6");
    g.keys({"i"}, 0);
    const vorn1::Image info = g.wait_for_change("restart_7_info.png", walked, kStoryPanel, 20000);
    g.mouse("20 470", 0);
    restart(g, info, turn, "restart_8");
    const vorn1::Image again = g.close_announcement(turn, "restart_9_map.png");
    EXPECT_TRUE(still(first, again, kMapView)) << "not the map as the scenario starts";
    EXPECT_GT(changed_pixels(walked, again, Box{kHeroX - 16, kWalkY - 16, 32, 32}), 100) << "the hero still walked";

    // By the control panel's information button.
    const vorn1::Image walked_again = walk(g, again, "restart_10");
    g.keys({"g"}, 0);
    const vorn1::Image panel = g.wait_for_change("restart_11_panel.png", walked_again, kControlPanel, 20000);
    g.click_at(408, 430, 0);  // scenario information, bottom right of the panel
    const vorn1::Image info_again = g.wait_for_change("restart_12_info.png", panel, kStoryPanel, 20000);
    g.mouse("20 470", 0);
    restart(g, info_again, turn, "restart_13");
    const vorn1::Image third = g.close_announcement(turn, "restart_14_map.png");
    EXPECT_TRUE(still(first, third, kMapView)) << "not the map as the scenario starts";
    stop(g.pid);
}
