// The kit's roads on the real program: the short campaign from its first scenario to the second's
// announcement, and a boat built at the town by water.
#include <gtest/gtest.h>

#include <iterator>
#include <system_error>

#include "datakit/kit_roads.h"
#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

int files_in(const fs::path& dir) {
    std::error_code ec;
    return static_cast<int>(std::distance(fs::directory_iterator(dir, ec), fs::directory_iterator()));
}

}  // namespace

// The kit's short campaign (the spirit world's files): chosen through the title screen's menus, its
// first scenario won by walking into the rival town above the hero, the campaign saved and its
// question answered, the victory page, and the second scenario's announcement. The screenshots are
// kept as e2e_shots/campaign_*.png.
TEST(EndToEnd, TheKitCampaignsFirstScenarioToItsVictoryPageAndTheSecondsAnnouncement) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("campaign", true);
    remove_maps(folder);  // the scenario maps; the campaign files stay
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image first = g.open_kit_campaign("campaign");
    ASSERT_GT(first.width, 0);
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change("campaign_4_turn.png", first, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    // The rival town's entrance is the tile above the hero, who stands in the middle of the view.
    g.mouse("255 224", 0);
    const vorn1::Image map = g.close_announcement(turn, "campaign_5_map.png");
    ASSERT_GT(map.width, 0);
    plan_route(g, 255, 224, map, "campaign_5_route.png");
    g.click_at(255, 224, 0);
    const vorn1::Image question = g.wait_for_change("campaign_6_question.png", map, kStoryPanel, 20000);
    EXPECT_EQ(files_in(folder.root / "saved_camps"), 1) << "the won scenario was not saved";
    g.keys({"Return"}, 0);  // go on
    const vorn1::Image victory = g.wait_for_change("campaign_7_victory.png", question, Box{}, 100000);
    EXPECT_GT(changed_pixels(question, victory, Box{}), 100000) << "no victory page";
    g.keys({"Return"}, 0);
    const vorn1::Image second = g.wait_for_change("campaign_8_second.png", victory, Box{}, 100000);
    EXPECT_GT(changed_pixels(victory, second, Box{}), 100000) << "no announcement of the second scenario";
    // The announcement's page stands where the first one stood, with another story on it.
    EXPECT_LT(changed_pixels(first, second, 0, 0, 640, 88), 2000) << "not an announcement page";
    EXPECT_GT(changed_pixels(first, second, kStoryPanel), 1000) << "the first scenario's story again";
    g.keys({"Return"}, 0);
    const vorn1::Image next_turn = g.wait_for_change("campaign_9_second_turn.png", second, kAdventurePanel,
                                                     kAdventurePanel.w * kAdventurePanel.h / 4);
    EXPECT_GT(next_turn.width, 0);
    stop(g.pid);
}

// The kit's town by water: t opens it, the castle's build screen builds the shipyard, the shipyard
// sells a boat, and after leaving the town the boat lies on the water by the gate. The screenshots
// are kept as e2e_shots/harbour_*.png.
TEST(EndToEnd, ABoatIsBuiltAtTheKitTownByWater) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("harbour", true);
    remove_maps(folder, vorn1::kit::kHarbourMapFile);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("harbour_0_turn.png");
    const vorn1::Image map = g.close_announcement(turn, "harbour_1_map.png");
    ASSERT_GT(map.width, 0);
    constexpr Box kTownScreenTop{0, 0, 479, 256};
    // Leaving a town opened with t leaves the view on the town: its gate's tile at (239, 240), the
    // boat's to be on the water beside it. The map comes back dissolving over the whole map view, so the
    // wait is for all of it to stand still.
    g.keys({"t"}, 0);
    const vorn1::Image look = g.wait_for_change("harbour_2_town.png", map, kTownScreenTop, 60000);
    g.click_at(593, 442, 0);  // the town's exit
    const vorn1::Image before = g.wait_for_change("harbour_3_town_view.png", look, kMapView, 60000);
    const Box boat_tile{239 + 32 * (vorn1::kit::kHarbourBoatX - vorn1::kit::kHarbourTownX),
                        240 + 32 * (vorn1::kit::kHarbourBoatY - vorn1::kit::kHarbourTownY), 32, 32};

    g.keys({"t"}, 0);
    const vorn1::Image town = g.wait_for_change("harbour_4_town.png", before, kTownScreenTop, 60000);
    g.click_at(202, 40, 0);  // the castle: the build screen
    const vorn1::Image build = g.wait_for_change("harbour_5_build.png", town, Box{}, 60000);
    g.click_at(231, 30, 0);  // the shipyard's cell, the second of the first row
    const vorn1::Image ask = g.wait_for_change("harbour_6_ask.png", build, Box{}, 10000);
    g.keys({"Return"}, 0);
    const vorn1::Image built = g.wait_for_change("harbour_7_built.png", ask, Box{}, 60000);
    g.click_at(40, 200, 0);  // the shipyard on the town screen
    const vorn1::Image offer = g.wait_for_change("harbour_8_offer.png", built, Box{177, 87, 286, 300}, 20000);
    g.click_at(249, 352, 0);  // OK: the boat
    const vorn1::Image bought = g.wait_for_change("harbour_9_bought.png", offer, Box{177, 87, 286, 300}, 20000);
    g.click_at(593, 442, 0);
    const vorn1::Image after = g.wait_for_change("harbour_10_boat.png", bought, kMapView, 60000);
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(before, after, boat_tile), 150) << "no boat on the water by the gate";
    EXPECT_LT(changed_pixels(before, after, Box{207, 176, 96, 64}), 300) << "the view moved: not the town's view";
    stop(g.pid);
}
