// A battle on the real program's battle screen.
#include <gtest/gtest.h>

#include <signal.h>

#include <vector>

#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

// The gaps between words of the white message in the battle's text bar: runs of four or more columns
// without text between its first and its last lit column. A catalogue key ("BATTLE_SHOOTS") has none.
int bar_word_gaps(const vorn1::Image& shot) {
    if (shot.width < 640 || shot.height < 480) return -1;
    std::vector<bool> lit(640, false);
    for (int x = 50; x < 590; ++x)
        for (int y = 463; y < 477 && !lit[x]; ++y) {
            const uint8_t* p = shot.at(x, y);
            lit[x] = p[0] >= 235 && p[1] >= 235 && p[2] >= 235;
        }
    int first = 50, last = 589;
    while (first < 590 && !lit[first]) ++first;
    while (last > first && !lit[last]) --last;
    int gaps = 0, run = 0;
    for (int x = first; x <= last; ++x) {
        if (!lit[x]) {
            ++run;
            continue;
        }
        gaps += run >= 4;
        run = 0;
    }
    return gaps;
}

}  // namespace

// A whole battle by a player's hands: on the kit's battle map the hero stands next to a band of
// peasants; two clicks on them bring the quick-combat result, n declines it, the battle screen opens,
// the player's archers open their panel and shoot, the bar tells the shot and the blows in words, the
// automatic-combat button plays the battle out, Enter closes the result, and the map shows the monster
// gone.
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
    plan_route(g, 287, 256, before, "battle_route.png");
    g.mouse("287 256 click 1", 0);
    const vorn1::Image preview = g.wait_for_change("battle_preview.png", before, Box{160, 1, 320, 458}, 20000);
    ASSERT_GT(preview.width, 0);
    EXPECT_GT(changed_pixels(before, preview, 160, 1, 320, 458), 20000) << "no quick-combat result over the map";
    g.keys({"n"}, 0);
    const vorn1::Image field = g.wait_for_change("battle_field.png", preview, Box{0, 0, 640, 460}, 100000);
    ASSERT_GT(field.width, 0);
    EXPECT_GT(changed_pixels(preview, field, 0, 0, 640, 460), 100000) << "no battle field";

    constexpr Box kBar{0, 460, 640, 20};
    EXPECT_GE(bar_word_gaps(field), 2) << "\"The battle begins!\" is not in the bar";

    // A left click on the middle of the player's archers (row 1) opens their panel; its exit closes it.
    g.mouse("105 193 click 1", 0);
    const vorn1::Image panel = g.wait_for_change("battle_panel.png", field, Box{119, 115, 402, 229}, 20000);
    ASSERT_GT(panel.width, 0);
    g.mouse("418 302 click 1", 0);
    const vorn1::Image closed = g.wait_for_return("battle_panel_closed.png", field, Box{119, 115, 402, 229});
    ASSERT_GT(closed.width, 0);

    // The peasants act first and walk towards the band in row 4; then the archers shoot it (a click on
    // its middle), and the bar tells the shot in words.
    g.mouse("534 433 click 1", 0);
    const vorn1::Image walked = g.wait_for_change("battle_walked.png", closed, Box{0, 0, 640, 460}, 500);
    ASSERT_GT(walked.width, 0);
    // The computer's peasants may still be on their way: the click is repeated until the archers act.
    // A shot or a blow is told as "The ... do 3 damage to the ...": five word gaps and more.
    int shots_taken = 0;
    const auto told = [&](const vorn1::Image& now, const vorn1::Image&) {
        if (bar_word_gaps(now) >= 5) return true;
        if (shots_taken++ % 12 == 0) g.mouse("534 433 click 1", 0);
        return false;
    };
    const vorn1::Image shot = g.wait_for_screen("battle_shot.png", "the shot told in the bar", told, 40, 0);
    ASSERT_GT(shot.width, 0);

    // The automatic-combat button at the left of the text bar plays the battle out (it takes a press
    // only while the field waits for an order, so it is pressed again until the result shows); the
    // blows are told in words too.
    int blows_told = 0, waited = 0;
    const auto blow_or_result = [&](const vorn1::Image& now, const vorn1::Image&) {
        blows_told += changed_pixels(shot, now, kBar) > 50 && bar_word_gaps(now) >= 5;
        if (changed_pixels(field, now, Box{160, 1, 320, 458}) > 20000) return true;
        if (waited++ % 12 == 0) {
            g.mouse("20 470 click 1", 0);
            g.mouse("320 300", 0);
        }
        return false;
    };
    const vorn1::Image result =
        g.wait_for_screen("battle_result.png", "the result screen", blow_or_result, 120, 0);
    ASSERT_GT(result.width, 0);
    EXPECT_GT(blows_told, 0) << "no blow told in words";
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 20000) << "no result screen";
    // The result takes keys after its first moments: Return until it gives way.
    g.close_battle_result(result, "battle_result_closed.png");
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

// On a 1280 x 1024 screen F11 doubles the battle screen; the automatic-combat button, clicked where
// it shows at 2x, plays the battle out, and F11 over the result brings 1x back with the result up.
TEST(EndToEnd, F11ScalesTheBattleScreenAndClicksFollowTheScale) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("battle2x", true);
    remove_maps(folder, "KITBATTL.MAP");
    VirtualDisplay x("1280x1024x24");
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("battle2x_turn.png");
    g.mouse("255 290", 0);
    const vorn1::Image before = g.close_announcement(turn, "battle2x_map.png");
    plan_route(g, 287, 256, before, "battle2x_route.png");
    g.mouse("287 256 click 1", 0);
    const vorn1::Image preview = g.wait_for_change("battle2x_preview.png", before, Box{160, 1, 320, 458}, 20000);
    g.keys({"n"}, 0);
    const vorn1::Image field = g.wait_for_change("battle2x_field.png", preview, Box{0, 0, 640, 460}, 100000);
    // A window just resized may still show its last frame in a corner: two shots alike at the new size.
    const auto drawn_at = [](int w) {
        return [w](const vorn1::Image& now, const vorn1::Image& last) {
            return now.width == w && last.width == w && still(last, now, Box{0, 0, w, w * 3 / 4});
        };
    };
    g.keys({"F11"}, 0);
    const vorn1::Image doubled = g.wait_for_screen("battle_2x.png", "the battle field at 2x", drawn_at(1280));
    int waited = 0;
    const auto result_up = [&](const vorn1::Image& now, const vorn1::Image&) {
        if (now.width == 1280 && changed_pixels(doubled, now, Box{320, 2, 640, 916}) > 80000) return true;
        if (waited++ % 12 == 0) g.mouse("40 940 click 1", 0);
        return false;
    };
    g.wait_for_screen("battle_2x_result.png", "the result at 2x", result_up, 120, 0);
    g.keys({"F11"}, 0);
    const vorn1::Image single = g.wait_for_screen("battle_1x_result.png", "the result at 1x", drawn_at(640));
    EXPECT_GT(changed_pixels(field, single, 160, 1, 320, 458), 20000) << "the result closed";
    stop(g.pid);
}
