// Hot seat with two humans and computer seats in the real program: a computer's band at either
// human's castle gate besieges it on the battle screen, played by that human, over the hidden map, and
// the loss is told to the other human by the loser's colour before their next turn; a computer that
// beats both ends the game in their defeat.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "datakit/kit_battle_road.h"
#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

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
    end_turn_past_question(g, map, g.tag + "_" + name + "_question.png");
    return g.wait_for_change(g.tag + "_" + name + "_ended.png", map, Box{}, 20000);
}

// The first word of the first line of light text from row y0 on, above row y1, of a dialog (the colour
// that a turn's announcement or an elimination names), as the rows of its light pixels; empty when none.
std::vector<std::vector<bool>> first_word(const vorn1::Image& shot, int y0, int y1) {
    const auto ink = [&](int x, int y) {
        const uint8_t* p = shot.at(x, y);
        return p[0] > 160 && p[1] > 160 && p[2] > 160;
    };
    constexpr int kLeft = 100, kRight = 380, kSpace = 4;  // a space is wider than any gap inside a word
    const auto row_inked = [&](int y) {
        for (int x = kLeft; x < kRight; ++x)
            if (ink(x, y)) return true;
        return false;
    };
    int top = y0;
    while (top < y1 && !row_inked(top)) ++top;
    if (top == y1) top = -1;
    int bottom = top;
    while (top >= 0 && bottom + 1 < y1 && row_inked(bottom + 1)) ++bottom;
    std::vector<std::vector<bool>> rows;
    if (top < 0) return rows;
    const auto column_inked = [&](int x) {
        for (int y = top; y <= bottom; ++y)
            if (ink(x, y)) return true;
        return false;
    };
    int first = kLeft;
    while (first < kRight && !column_inked(first)) ++first;
    int last = first, gap = 0;
    for (int x = first; x < kRight && gap < kSpace; ++x) {
        gap = column_inked(x) ? 0 : gap + 1;
        if (gap == 0) last = x;
    }
    for (int y = top; y <= bottom; ++y) {
        std::vector<bool> row;
        for (int x = first; x <= last; ++x) row.push_back(ink(x, y));
        rows.push_back(row);
    }
    // The line's other words may reach below this one (a descender).
    while (!rows.empty() && std::find(rows.back().begin(), rows.back().end(), true) == rows.back().end())
        rows.pop_back();
    return rows;
}

// A siege of a human's castle after `before` (the last screen of the turn before it): the field, which
// covers the whole window unlike a dialog over the hidden map and waits for the defender's order, played
// out automatically and lost; the shots are named after `name`. The result screen and the one after it
// are returned.
std::pair<vorn1::Image, vorn1::Image> defend_siege(const RunningGame& g, const vorn1::Image& before, const std::string& name) {
    const vorn1::Image field = g.wait_for_screen(
        g.tag + name + "_field.png", "the battle field", [&](const vorn1::Image& now, const vorn1::Image& last) {
            return changed_pixels(before, now, 0, 0, 640, 460) > 100000 && lit(now, Box{480, 0, 160, 480}) &&
                   still(last, now, Box{});
        });
    const vorn1::Image result = g.fight_out_automatically(field, g.tag + name + "_result.png");
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 60000) << "no result screen";
    const vorn1::Image closed = g.close_battle_result(result, g.tag + name + "_result_closed.png");
    if (changed_pixels(result, closed, 0, 0, 640, 460) <= 100000)
        throw StepFailed("the result screen did not close on Return");
    return {result, closed};
}

// Blue and Red end their first turns; the computer seat after Red (Green) has its band at the gate of
// `gate_seat`'s castle (0 Blue, 1 Red) and besieges it: the battle screen opens for the defender, who plays
// it out automatically and loses the castle, their only town, and their hero. The map stays hidden after
// it; the next day the other human is told that the defender's colour has been eliminated, then their own
// turn is announced.
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
    end_turn_past_question(g, red_map, g.tag + "_red_question.png");
    const vorn1::Image closed = defend_siege(g, red_map, "").second;

    const auto dialog_still = [](const vorn1::Image& now, const vorn1::Image& before) {
        return dialog_over_hidden_map(now) && still(before, now, Box{});
    };
    EXPECT_FALSE(lit(closed, kMapView)) << "a map shows after the battle";
    const vorn1::Image told =
        g.wait_for_screen(g.tag + "_eliminated.png", "the elimination told over the hidden map", dialog_still, 120);
    // Told by the defender's colour: its first word is the one the defender's turn began with.
    const vorn1::Image& defender = gate_seat == 0 ? blue : red;
    const vorn1::Image& other = gate_seat == 0 ? red : blue;
    // Each dialog's line of text is below the small title over its top edge.
    const auto colour_word = first_word(told, 222, 260);
    ASSERT_FALSE(colour_word.empty()) << "no text";
    EXPECT_TRUE(colour_word == first_word(defender, 195, 225)) << "the defender's colour is not named";
    EXPECT_FALSE(colour_word == first_word(other, 195, 225)) << "the other human's colour is named";
    EXPECT_FALSE(still(told, other, kAnnouncement)) << "no elimination told before the turn";

    g.keys({"Return"}, 0);
    const vorn1::Image next = g.wait_for_screen(
        g.tag + "_next_turn.png", "the other human's turn announced over the hidden map",
        [&](const vorn1::Image& now, const vorn1::Image& before) {
            return changed_pixels(told, now, kAnnouncement) > 1000 && dialog_still(now, before);
        });
    // The defender is out: the other human's turn, told as on the first day.
    EXPECT_TRUE(still(other, next, kAnnouncement)) << "not the other human's turn";
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

// The computer besieges both humans in one turn and is the last ruler standing: the humans have lost,
// so the defeat film plays, not the winner's victory page, and the title screen follows without a key.
TEST(EndToEnd, HotSeatComputerThatBeatsEveryHumanEndsTheGameInDefeat) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("hotseat_rout", true);
    remove_maps(folder, vorn1::kit::kHotSeatRoutFile);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot(g.tag + "_title_first.png");
    const vorn1::Image red = end_turn(g, start_hot_seat(g), "blue");
    const vorn1::Image red_map = show_map(g, red, "red");
    end_turn_past_question(g, red_map, g.tag + "_red_question.png");
    // The second siege follows the first one's result at once.
    const vorn1::Image first = defend_siege(g, red_map, "_first").first;
    defend_siege(g, first, "_second");
    // The defeat film; the victory page would wait for a key.
    g.wait_for_screen(g.tag + "_defeat_film.png", "the defeat film",
                      [](const vorn1::Image& now, const vorn1::Image&) { return defeat_film_frame(now); }, kPatience, 0);
    g.wait_for_screen(g.tag + "_title_again.png", "the title screen", [&](const vorn1::Image& now, const vorn1::Image&) {
        return changed_pixels(title, now, kMenuColumn) < 200;
    });
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
