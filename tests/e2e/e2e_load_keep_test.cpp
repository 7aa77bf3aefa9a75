// A loaded game is the game that was saved, on the real program: a countdown of days without a town
// loses no day to a load.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdlib>
#include <fstream>

#include "adventure/player_elimination.h"
#include "e2e_support.h"
#include "persist/savegame.h"
#include "world/game_setup.h"
#include "world/tile_rules.h"

using namespace vorn1::e2e;

namespace {

// The kit's scenario of one rival whose hero stands two steps east of the player's.
constexpr const char* kRivalMap = "KITGDEFT.MAP";
// The test's own saves ("keep2", "keep3") sort before this one in the load dialog, the newest first.
constexpr const char* kSaveName = "00-01-01-0000-game.sav";
// The middle of the map view, where the turn's announcement and the warning of the days left stand.
constexpr Box kDialogBox{96, 160, 288, 160};

// Day 2 of the rival's map: the rival has walked into the player's empty castle, so the player (seat 0)
// has a hero and no town, and `days_left` days of the countdown, told on each turn, remain.
void write_countdown_save(const GameFolder& folder, int days_left) {
    const std::string map_file = (folder.root / "maps" / kRivalMap).string();
    vorn1::GameMap map = vorn1::load_map(map_file);
    vorn1::NewGameConfig cfg;
    cfg.map_path = map_file;
    cfg.map_name = map.name;
    cfg.map_stem = fs::path(kRivalMap).stem().string();
    vorn1::GameState state;
    vorn1::init_game_state(state, map, cfg, 7);
    for (vorn1::CastleState& c : state.castles)
        if (c.owner == 0) c.owner = 1;
    // The day has just begun: every hero has its day's points.
    for (size_t h = 0; h < state.heroes.size(); ++h) state.heroes[h].saved_mp = vorn1::hero_day_mp(state, map, (int)h);
    vorn1::SavedEliminationState elim;
    elim.players[0] = vorn1::PlayerEliminationRecord{0, days_left, 1, 0};
    const std::vector<uint8_t> image = vorn1::build_save_image(state, map, cfg, 2, 1, 1, nullptr, 0, &elim);
    fs::create_directories(folder.root / "saved_games");
    std::ofstream(folder.root / "saved_games" / kSaveName, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), (std::streamsize)image.size());
}

// From the title menu: l, the standard saves, the newest; the turn's announcement, then the warning of
// the days left (its shot, kept as `prefix` + "_warning.png", is returned) and, once it is closed, the
// map (into `map`).
vorn1::Image load_newest(const RunningGame& g, const vorn1::Image& title, const std::string& prefix,
                         vorn1::Image& map) {
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change(prefix + "_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change(prefix + "_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change(prefix + "_turn.png", load_dialog, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    g.keys({"Return"}, 0);
    const vorn1::Image warning = g.wait_for_change(prefix + "_warning.png", turn, kDialogBox, 1000);
    map = g.close_announcement(warning, prefix + "_map.png");
    return warning;
}

}  // namespace

// Saved on a day of the countdown, then saved and loaded again and again: every load tells the same days
// left, where each used to take a day off.
TEST(EndToEnd, ACountdownLosesNoDayToALoad) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("keepdays", true);
    write_countdown_save(folder, 6);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    vorn1::Image title = g.shot("keepdays_0_title.png");
    vorn1::Image map;
    const vorn1::Image first = load_newest(g, title, "keepdays_1", map);
    for (int load = 2; load <= 3; ++load) {
        SCOPED_TRACE(load);
        const std::string prefix = "keepdays_" + std::to_string(load);
        // s, the offered name replaced by one of its own; the notice is closed; l, answered yes, leads to
        // the title menu.
        g.keys({"s"}, 0);
        const vorn1::Image save_dialog = g.wait_for_change(prefix + "_save_dialog.png", map, Box{312, 0, 320, 400}, 20000);
        const std::string name = "keep" + std::to_string(load);
        ASSERT_EQ(std::system((g.xdo + "windowfocus --sync " + g.id + " key --repeat 20 BackSpace").c_str()), 0);
        ASSERT_EQ(std::system((g.xdo + "windowfocus --sync " + g.id + " type " + name).c_str()), 0);
        const vorn1::Image typed = g.wait_for_change(prefix + "_typed.png", save_dialog, Box{312, 0, 320, 400}, 100);
        g.keys({"Return"}, 0);
        const vorn1::Image saved = g.wait_for_change(prefix + "_saved.png", typed, Box{312, 0, 320, 400}, 20000);
        g.keys({"Return"}, 0);
        const vorn1::Image back = g.wait_for_return(prefix + "_back.png", map, kMapView);
        g.keys({"l"}, 0);
        const vorn1::Image question = g.wait_for_change(prefix + "_question.png", back, Box{177, 150, 286, 180}, 20000);
        g.keys({"Return"}, 0);
        title = g.wait_for_change(prefix + "_title.png", question, kMenuColumn, 20000);
        const vorn1::Image warning = load_newest(g, title, prefix, map);
        EXPECT_LT(changed_pixels(first, warning, kDialogBox), 20) << "the days left are not those saved";
    }
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

// Saved with one day left: the load tells that it is the last day and the player plays it; the hero walks.
TEST(EndToEnd, ASaveWithOneDayLeftLoadsAndPlaysThatDay) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("lastday", true);
    write_countdown_save(folder, 1);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot("lastday_0_title.png");
    vorn1::Image map;
    load_newest(g, title, "lastday_1", map);
    // The hero stands in the middle of the view: the tile below it is planned, then walked to.
    plan_route(g, 255, 290, map, "lastday_2_route.png");
    g.click_at(255, 290, 0);
    const vorn1::Image moved = g.wait_for_change("lastday_3_moved.png", map, Box{239, 240, 32, 64}, 300);
    EXPECT_GT(changed_pixels(map, moved, 239, 240, 32, 64), 300) << "the hero did not walk";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
