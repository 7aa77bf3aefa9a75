// Goals that no battle decides, won on the real program the moment they are met: the kit's gold and
// calendar scenarios.
#include <gtest/gtest.h>

#include <fstream>

#include "datakit/kit_goals.h"
#include "e2e_support.h"
#include "persist/savegame.h"
#include "world/game_setup.h"

using namespace vorn1::e2e;

namespace {

// A dialog over the map view's middle.
constexpr Box kDialogArea{96, 160, 288, 160};
// The hero stands in the middle of the view; the heaps lie one and two tiles east.
constexpr int kHeroPx = 255, kHeroPy = 256;

// The victory page takes the whole window, the side panels too.
bool victory_page_over(const vorn1::Image& map, const vorn1::Image& now) {
    return changed_pixels(map, now, Box{}) > 100000 && changed_pixels(map, now, Box{480, 0, 160, 480}) > 30000;
}

// The kit's calendar scenario saved on the first month's last day.
void write_last_day_of_the_month(const GameFolder& folder) {
    const std::string map_file = (folder.root / "maps" / vorn1::kit::kCalendarGoalFile).string();
    vorn1::GameMap map = vorn1::load_map(map_file);
    vorn1::NewGameConfig cfg;
    cfg.map_path = map_file;
    cfg.map_name = map.name;
    vorn1::GameState state;
    vorn1::init_game_state(state, map, cfg, 7);
    state.day = 7;
    state.week = 4;
    // The hero has walked its day: the turn ends without a question.
    for (vorn1::HeroState& h : state.heroes) h.saved_mp = 0;
    const std::vector<uint8_t> image = vorn1::build_save_image(state, map, cfg, 7, 4, 1, nullptr, 0, nullptr);
    fs::create_directories(folder.root / "saved_games");
    std::ofstream(folder.root / "saved_games" / "watch.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), (std::streamsize)image.size());
}

}  // namespace

// The kit's gold scenario: the first heap is not enough, the second makes the sum, and closing what it
// gave brings the victory page with no further step. The screenshots are kept as e2e_shots/gold_*.png.
TEST(EndToEnd, TheGoldGoalIsWonByTheHeapThatMakesTheSum) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("gold", true);
    remove_maps(folder, vorn1::kit::kGoldGoalFile);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("gold_0_turn.png");
    g.mouse("255 400", 0);
    const vorn1::Image map = g.close_announcement(turn, "gold_1_map.png");
    ASSERT_GT(map.width, 0);

    plan_route(g, kHeroPx + 32, kHeroPy, map, "gold_2_route.png");
    g.click_at(kHeroPx + 32, kHeroPy, 0);
    const vorn1::Image first = g.wait_for_change("gold_3_first_heap.png", map, kDialogArea, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image back = g.wait_for_change("gold_4_back.png", first, kDialogArea, 20000);
    EXPECT_FALSE(victory_page_over(map, back)) << "won by the first heap";

    plan_route(g, kHeroPx + 64, kHeroPy, back, "gold_5_route.png");
    g.click_at(kHeroPx + 64, kHeroPy, 0);
    const vorn1::Image second = g.wait_for_change("gold_6_second_heap.png", back, kDialogArea, 20000);
    g.keys({"Return"}, 0);
    g.wait_for_screen("gold_7_victory.png", "the victory page after the second heap",
                      [&](const vorn1::Image& now, const vorn1::Image&) { return victory_page_over(second, now); });
    stop(g.pid);
}

// The kit's calendar scenario saved on the first month's last day, loaded through the title screen: e
// ends the turn, the day turns into the second month and the victory page follows the new day's panel
// with no further key. The screenshots are kept as e2e_shots/watch_*.png.
TEST(EndToEnd, TheCalendarGoalIsWonWhenTheMonthTurns) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("watch", true);
    write_last_day_of_the_month(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot("watch_0_title.png");
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("watch_1_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change("watch_2_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change("watch_3_turn.png", load_dialog, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    g.mouse("255 400", 0);
    const vorn1::Image map = g.close_announcement(turn, "watch_4_map.png");
    ASSERT_GT(map.width, 0);
    g.keys({"e"}, 0);
    g.wait_for_screen("watch_6_victory.png", "the victory page after the month's last day",
                      [&](const vorn1::Image& now, const vorn1::Image&) { return victory_page_over(map, now); });
    stop(g.pid);
}
