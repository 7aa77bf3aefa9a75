// A computer player's turn in the real program: its hero attacks the player's castle and the battle
// screen opens for the player.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <functional>
#include <thread>

#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

using Clock = std::chrono::steady_clock;

// Shots a second apart until `done` holds for the last two, for at most `seconds` of wall time (a shot
// on a busy machine may itself take seconds); the last shot.
vorn1::Image wait_for_screen(const GameFolder& folder, const RunningGame& g, int seconds,
                             const std::function<bool(const vorn1::Image&, const vorn1::Image&)>& done) {
    const fs::path probe = folder.root / "probe.png";
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    vorn1::Image last = window_shot(g.x->display, g.id, probe);
    while (Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        vorn1::Image now = window_shot(g.x->display, g.id, probe);
        const bool ok = last.width > 0 && now.width > 0 && done(last, now);
        last = std::move(now);
        if (ok) break;
    }
    return last;
}

}  // namespace

// On the kit's siege map the player's hero stands in its castle and a computer hero waits below the
// gate. The player ends the turn; the computer hero walks up and besieges the castle; the battle screen
// shows the siege, its automatic-combat button plays it out, Enter closes the result, and after the
// computer's turn the player's next turn is announced, with the fallen hero gone from the side panel.
TEST(EndToEnd, AComputerHeroBesiegesThePlayersCastleOnTheBattleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("computer", true);
    remove_maps(folder, "KITSIEGE.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    g.keys({"n", "s", "Return"});
    g.mouse("255 290", 300);
    g.keys({"Return"}, 3500);  // the turn's date summary runs out
    const vorn1::Image before = g.shot("computer_map_before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";

    // End the turn; the hero could still move, so the question is answered yes.
    g.keys({"e"}, 1000);
    g.keys({"Return"}, 500);
    wait_for_screen(folder, g, 40, [&](const vorn1::Image&, const vorn1::Image& now) {
        return changed_pixels(before, now, 0, 0, 640, 460) > 100000;
    });
    const vorn1::Image field = g.shot("computer_siege_field.png");
    ASSERT_GT(field.width, 0);
    EXPECT_GT(changed_pixels(before, field, 0, 0, 640, 460), 100000) << "no battle field";

    // The automatic-combat button plays the battle out once the field waits for the player's order (it
    // stands still); then the result screen comes over it.
    const fs::path probe = folder.root / "probe.png";
    vorn1::Image last = field;
    for (const Clock::time_point end = Clock::now() + std::chrono::seconds(150); Clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const vorn1::Image now = window_shot(x.display, g.id, probe);
        if (now.width == 0) continue;
        // The result's panel covers most of the middle; its own animation never stands still.
        if (changed_pixels(field, now, 160, 1, 320, 458) > 60000) break;
        const bool still = changed_pixels(last, now, 0, 0, 640, 480) < 50;
        last = now;
        if (!still) continue;
        g.mouse("20 470 click 1", 300);
        g.mouse("320 300", 300);
    }
    const vorn1::Image result = g.shot("computer_siege_result.png");
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 60000) << "no result screen";

    // The rest of the computer's turn and the new day; the player's turn is announced, and Enter
    // closes the notice.
    const auto settled = [&](const vorn1::Image& last, const vorn1::Image& now) {
        return changed_pixels(result, now, 0, 0, 640, 460) > 100000 && changed_pixels(last, now, 0, 0, 640, 480) < 50;
    };
    g.keys({"Return"}, 500);
    wait_for_screen(folder, g, 40, settled);
    g.shot("computer_turn_announced.png");
    g.keys({"Return"}, 500);
    const vorn1::Image after = wait_for_screen(folder, g, 40, settled);
    g.shot("computer_map_after.png");
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(result, after, 0, 0, 640, 460), 100000) << "the map is not back";
    // The side panel: the hero list (x 484..548, y 176..208) lost the fallen hero and nobody is selected.
    EXPECT_GT(changed_pixels(before, after, 484, 176, 64, 32), 500) << "the fallen hero is still listed";
    EXPECT_GT(changed_pixels(before, after, 480, 392, 160, 88), 2000) << "a hero is still shown";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
