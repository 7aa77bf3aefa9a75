// The kit's goal maps won on the real program, each in its default set-up from its start (the calendar's
// from a save on the month's last day), the victory page coming the moment the goal is met.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

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

// The first turn of the folder's only map: its map once the turn's announcement is closed (shots
// `prefix`_0_turn.png and _1_map.png).
vorn1::Image open_goal_map(const RunningGame& g, const std::string& prefix) {
    const vorn1::Image turn = g.open_first_turn(prefix + "_0_turn.png");
    g.mouse("255 400", 0);
    return g.close_announcement(turn, prefix + "_1_map.png");
}

// A walk to the tile at (px, py) of the view: the route planned, then set out on.
void walk_to(const RunningGame& g, int px, int py, const vorn1::Image& before, const std::string& name) {
    plan_route(g, px, py, before, name);
    g.click_at(px, py, 0);
}

void wait_for_victory(const RunningGame& g, const vorn1::Image& map, const std::string& name, const std::string& what) {
    g.wait_for_screen(name, what, [&](const vorn1::Image& now, const vorn1::Image&) { return victory_page_over(map, now); });
}

// The program on a folder whose only map is the kit's `file`, from the title menu: `play` wins it from
// its first turn (shots named from `tag`).
void play_goal_map(const std::string& tag, const char* file, const std::function<void(const RunningGame&)>& play) {
    GameFolder folder(tag, true);
    remove_maps(folder, file);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    play(g);
    stop(g.pid);
}

// The rival hero two tiles east: the walk to it brings the quick-combat result, n the battle screen, the
// automatic combat plays it out, Return closes the result and the victory page follows (`what`).
void beat_the_hero_two_tiles_east(const std::string& tag, const char* file, const std::string& what) {
    play_goal_map(tag, file, [&](const RunningGame& g) {
        const vorn1::Image map = open_goal_map(g, tag);
        walk_to(g, kHeroPx + 64, kHeroPy, map, tag + "_2_route.png");
        const vorn1::Image preview = g.wait_for_change(tag + "_3_preview.png", map, Box{160, 1, 320, 458}, 20000);
        g.keys({"n"}, 0);
        const vorn1::Image field = g.wait_for_change(tag + "_4_field.png", preview, Box{0, 0, 640, 460}, 100000);
        const vorn1::Image result = g.fight_out_automatically(field, tag + "_5_result.png");
        g.close_battle_result(result, tag + "_6_closed.png");
        wait_for_victory(g, map, tag + "_7_victory.png", what);
    });
}

}  // namespace

// Lone Rival: the rival's one hero beaten, every rival is defeated and the game won. The screenshots are
// kept as e2e_shots/lone_*.png.
TEST(EndToEnd, TheDefeatAllGoalIsWonByBeatingTheLoneRival) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    beat_the_hero_two_tiles_east("lone", vorn1::kit::kDefeatAllGoalFile, "the victory page after the rival's last hero fell");
}

// The Hunted Lord: the lord beaten, the game is won though his seat keeps its castle. The screenshots
// are kept as e2e_shots/hunt_*.png.
TEST(EndToEnd, TheHuntedLordGoalIsWonByBeatingTheLord) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    beat_the_hero_two_tiles_east("hunt", vorn1::kit::kHuntedLordGoalFile, "the victory page after the lord fell");
}

// Crown in Grass: the ultimate artifact two tiles east picked up, closing what it gave brings the victory
// page. The screenshots are kept as e2e_shots/crown_*.png.
TEST(EndToEnd, TheArtifactGoalIsWonByPickingUpTheArtifact) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_goal_map("crown", vorn1::kit::kArtifactGoalFile, [](const RunningGame& g) {
        const vorn1::Image map = open_goal_map(g, "crown");
        walk_to(g, kHeroPx + 64, kHeroPy, map, "crown_2_route.png");
        const vorn1::Image found = g.wait_for_change("crown_3_found.png", map, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        wait_for_victory(g, found, "crown_4_victory.png", "the victory page after the artifact");
    });
}

// Dragon's Roost: the paladins of the dwelling north-east hired (Max, then Return), the Dragon City's
// fight accepted and played out automatically, the hero's new level told: the city is the player's and
// the game won. The screenshots are kept as e2e_shots/roost_*.png.
TEST(EndToEnd, TheDragonCityGoalIsWonWithThePaladinsHiredBeside) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_goal_map("roost", vorn1::kit::kDragonCityGoalFile, [](const RunningGame& g) {
        const vorn1::Image map = open_goal_map(g, "roost");
        walk_to(g, kHeroPx + 32, kHeroPy - 32, map, "roost_2_route.png");
        const vorn1::Image dwelling = g.wait_for_change("roost_3_dwelling.png", map, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        const vorn1::Image recruit = g.wait_for_change("roost_4_recruit.png", dwelling, kDialogArea, 2000);
        g.click_at(418, 239, 0);
        g.wait_for_change("roost_5_max.png", recruit, Box{300, 200, 160, 60}, 50);
        g.keys({"Return"}, 0);
        const vorn1::Image hired = g.wait_for_return("roost_6_hired.png", map, Box{16, 16, 200, 140});
        walk_to(g, kHeroPx + 64, kHeroPy, hired, "roost_7_route.png");
        const vorn1::Image city = g.wait_for_change("roost_8_city.png", hired, kDialogArea, 20000);
        g.keys({"y"}, 0);
        const vorn1::Image field = g.wait_for_change("roost_9_field.png", city, Box{0, 0, 640, 460}, 100000);
        const vorn1::Image result = g.fight_out_automatically(field, "roost_10_result.png");
        g.close_battle_result(result, "roost_11_closed.png");
        // The dragons' worth lifts the hero a level: its dialog comes first.
        const vorn1::Image level = g.wait_for_change("roost_12_level.png", map, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        wait_for_victory(g, level, "roost_13_victory.png", "the victory page after the city's dragons fell");
    });
}

// Pilgrim's Way: the fountain two tiles east visited, then the faerie ring two further; closing what the
// second gave brings the victory page. The screenshots are kept as e2e_shots/pilgrim_*.png.
TEST(EndToEnd, TheSitesGoalIsWonByVisitingBothSites) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_goal_map("pilgrim", vorn1::kit::kSitesGoalFile, [](const RunningGame& g) {
        const vorn1::Image map = open_goal_map(g, "pilgrim");
        walk_to(g, kHeroPx + 64, kHeroPy, map, "pilgrim_2_route.png");
        const vorn1::Image fountain = g.wait_for_change("pilgrim_3_fountain.png", map, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        const vorn1::Image back = g.wait_for_change("pilgrim_4_back.png", fountain, kDialogArea, 20000);
        EXPECT_FALSE(victory_page_over(map, back)) << "won by the fountain alone";
        walk_to(g, kHeroPx + 128, kHeroPy, back, "pilgrim_5_route.png");
        const vorn1::Image ring = g.wait_for_change("pilgrim_6_ring.png", back, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        wait_for_victory(g, ring, "pilgrim_7_victory.png", "the victory page after the faerie ring");
    });
}

// The kit's gold scenario: the first heap is not enough, the second makes the sum, and closing what it
// gave brings the victory page with no further step. The screenshots are kept as e2e_shots/gold_*.png.
TEST(EndToEnd, TheGoldGoalIsWonByTheHeapThatMakesTheSum) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    play_goal_map("gold", vorn1::kit::kGoldGoalFile, [](const RunningGame& g) {
        const vorn1::Image map = open_goal_map(g, "gold");
        ASSERT_GT(map.width, 0);

        walk_to(g, kHeroPx + 32, kHeroPy, map, "gold_2_route.png");
        const vorn1::Image first = g.wait_for_change("gold_3_first_heap.png", map, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        const vorn1::Image back = g.wait_for_change("gold_4_back.png", first, kDialogArea, 20000);
        EXPECT_FALSE(victory_page_over(map, back)) << "won by the first heap";

        walk_to(g, kHeroPx + 64, kHeroPy, back, "gold_5_route.png");
        const vorn1::Image second = g.wait_for_change("gold_6_second_heap.png", back, kDialogArea, 20000);
        g.keys({"Return"}, 0);
        wait_for_victory(g, second, "gold_7_victory.png", "the victory page after the second heap");
    });
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
    wait_for_victory(g, map, "watch_6_victory.png", "the victory page after the month's last day");
    stop(g.pid);
}
