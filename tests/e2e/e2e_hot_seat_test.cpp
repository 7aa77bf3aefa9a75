// Hot seat with two humans and two computer seats in the real program: a computer's band at either
// human's castle gate besieges it on the battle screen, played by that human, over the hidden map.
#include <gtest/gtest.h>

#include <signal.h>

#include "datakit/kit_battle_road.h"
#include "e2e_support.h"
#include "frontend/menu_screen.h"

using namespace vorn1::e2e;

namespace {

// The set-up page's panel (the sea beside it moves).
constexpr Box kSetupPanel{312, 12, 328, 456};

// The title menu's n, m, the hot-seat button, two players and the set-up page's Enter: Blue (seat 0)
// and Red (seat 1) are human, Green and Yellow computers; Blue's turn is announced over the hidden map.
vorn1::Image start_hot_seat(const RunningGame& g) {
    const vorn1::Image title = g.shot(g.tag + "_title.png");
    g.keys({"n"}, 0);
    const vorn1::Image menu = g.wait_for_change(g.tag + "_new_game.png", title, kMenuColumn, 2000);
    g.keys({"m"}, 0);
    const vorn1::Image multi = g.wait_for_change(g.tag + "_multi.png", menu, kMenuColumn, 2000);
    const SDL_Rect top = vorn1::menu_button_rect(0);
    g.click_at(top.x + top.w / 2, top.y + top.h / 2, 0);
    const vorn1::Image count = g.wait_for_change(g.tag + "_count.png", multi, kMenuColumn, 2000);
    g.click_at(top.x + top.w / 2, top.y + top.h / 2, 0);
    const vorn1::Image setup = g.wait_for_change(g.tag + "_setup.png", count, kSetupPanel, 20000);
    g.keys({"Return"}, 0);
    return g.wait_for_change(g.tag + "_blue_turn.png", setup, kSetupPanel, 20000);
}

// Return closes the turn's announcement `announced`: the player's map, kept as `<name>_map.png`.
vorn1::Image show_map(const RunningGame& g, const vorn1::Image& announced, const std::string& name) {
    g.keys({"Return"}, 0);
    return g.wait_for_screen(g.tag + "_" + name + "_map.png", "the map after the turn's announcement",
                             [&](const vorn1::Image& now, const vorn1::Image& before) {
                                 return changed_pixels(announced, now, kMapView) > 20000 && lit(now, kAdventurePanel) &&
                                        still(before, now, kAdventurePanel);
                             });
}

// Ends the turn whose announcement shows: its map, then e ends the turn and Return answers the question
// a hero that can still move brings. The next turn's announcement is returned.
vorn1::Image end_turn(const RunningGame& g, const vorn1::Image& announced, const std::string& name) {
    const vorn1::Image map = show_map(g, announced, name);
    g.keys({"e"}, 1000);
    g.keys({"Return"}, 0);
    return g.wait_for_change(g.tag + "_" + name + "_ended.png", map, Box{}, 20000);
}

// The turn announcement's box: the player's colour in words and in its crest.
constexpr Box kAnnouncement{96, 160, 288, 160};

// Black around a dialog in the middle: the map hidden between two players' turns.
bool dialog_over_hidden_map(const vorn1::Image& shot) {
    return !lit(shot, Box{480, 0, 160, 480}) && !lit(shot, Box{0, 0, 480, 150}) && lit(shot, Box{120, 180, 240, 120});
}

// Blue and Red end their first turns; the computer seat after Red (Green) has its band at the gate of
// `gate_seat`'s castle (0 Blue, 1 Red) and besieges it: the battle screen opens for the defender, who plays
// it out automatically and loses the castle, their only town, and their hero. The map stays hidden after
// it, until the other human's turn is announced the next day.
void play_hot_seat_siege(int gate_seat) {
    GameFolder folder(gate_seat == 0 ? "hotseat_first" : "hotseat_second", true);
    remove_maps(folder, vorn1::kit::kHotSeatSiegeFile[gate_seat]);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image blue = start_hot_seat(g);
    const vorn1::Image red = end_turn(g, blue, "blue");
    ASSERT_GT(changed_pixels(blue, red, kAnnouncement), 1000) << "Blue's and Red's turns are told alike";
    const vorn1::Image red_map = show_map(g, red, "red");
    g.keys({"e"}, 1000);
    g.keys({"Return"}, 0);
    // The field covers the whole window, unlike a dialog over the hidden map, and waits for the
    // defender's order.
    const vorn1::Image field = g.wait_for_screen(
        g.tag + "_field.png", "the battle field", [&](const vorn1::Image& now, const vorn1::Image& before) {
            return changed_pixels(red_map, now, 0, 0, 640, 460) > 100000 && lit(now, Box{480, 0, 160, 480}) &&
                   still(before, now, Box{});
        });

    const vorn1::Image result = g.fight_out_automatically(field, g.tag + "_result.png");
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 60000) << "no result screen";
    const vorn1::Image closed = g.close_battle_result(result, g.tag + "_result_closed.png");
    ASSERT_GT(changed_pixels(result, closed, 0, 0, 640, 460), 100000) << "the result screen did not close on Return";
    EXPECT_FALSE(lit(closed, kMapView)) << "a map shows after the battle";

    const vorn1::Image next = g.wait_for_screen(
        g.tag + "_next_turn.png", "the next turn announced over the hidden map",
        [](const vorn1::Image& now, const vorn1::Image& before) {
            return dialog_over_hidden_map(now) && still(before, now, Box{});
        },
        120);
    // The defender is out: the other human's turn, told as on the first day.
    EXPECT_TRUE(still(gate_seat == 0 ? red : blue, next, kAnnouncement)) << "not the other human's turn";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

}  // namespace

TEST(EndToEnd, HotSeatComputerBesiegesTheHumanWhoDoesNotPlayBeforeIt) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_hot_seat_siege(0);
}

TEST(EndToEnd, HotSeatComputerBesiegesTheHumanWhoPlaysJustBeforeIt) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_hot_seat_siege(1);
}
