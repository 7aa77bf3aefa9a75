// The window scale on a screen a game opens over the map, in the real program.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

// A shot of the window at twice the size, read back at the logical size (every other pixel).
vorn1::Image halved(const vorn1::Image& doubled) {
    vorn1::Image out(doubled.width / 2, doubled.height / 2);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) std::copy_n(doubled.at(2 * x, 2 * y), 4, out.at(x, y));
    return out;
}

}  // namespace

// The control panel has a loop of its own: F11 reaches it through the window-scale key the program
// holds for the whole run. The window doubles with the panel still up, and a click on the panel's
// close button at its doubled place closes it.
TEST(EndToEnd, F11ScalesTheControlPanelAndItsClicksFollow) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("panel2x", true);
    VirtualDisplay x("1280x1024x24");
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("panel2x_turn.png");
    g.mouse("620 10", 0);
    const vorn1::Image map = g.close_announcement(turn, "panel2x_map.png");
    const Box panel_box{159, 10, 322, 459};
    g.keys({"g"}, 0);
    const vorn1::Image panel = g.wait_for_change("panel2x_panel.png", map, panel_box, panel_box.w * panel_box.h / 4);
    g.keys({"F11"}, 0);
    const auto doubled_panel = [&](const vorn1::Image& now, const vorn1::Image& before) {
        return now.width == 1280 && now.height == 960 && before.width == 1280 &&
               still(panel, halved(now), Box{}) && still(halved(before), halved(now), Box{});
    };
    g.wait_for_screen("panel2x_panel_2x.png", "the control panel at 2x", doubled_panel);
    // The close button (183, 417, 96 x 27) at its doubled place: the map comes back as it was, at 2x.
    g.click_at(2 * 231, 2 * 430, 0);
    const auto map_back = [&](const vorn1::Image& now, const vorn1::Image&) {
        return now.width == 1280 && still(map, halved(now), panel_box) && still(map, halved(now), kAdventurePanel);
    };
    g.wait_for_screen("panel2x_map_2x.png", "the map at 2x after the panel's close button", map_back);
    stop(g.pid);
}
