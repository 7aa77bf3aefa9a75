// A load during play on the real program, through the title screen's menus.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "adventure/player_elimination.h"
#include "datakit/kit_battle_road.h"
#include "e2e_support.h"
#include "persist/savegame.h"
#include "world/game_setup.h"
#include "world/hero_pool.h"

using namespace vorn1::e2e;

// l during play on the real program: the game saved with s, the hero walked on, l asked and
// answered, the title screen's load menu and dialog, and the saved game back on the map.
TEST(EndToEnd, LoadDuringPlayBringsTheSavedGameBackThroughTheTitleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("loadkey", true);
    remove_maps(folder);  // the set-up page starts the archive's demo map
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("load_0_turn.png");
    // The selected hero stands in the middle of the view: its tile's top-left is (239, 240).
    g.mouse("255 290", 0);
    const vorn1::Image start = g.close_announcement(turn, "load_1_map.png");
    ASSERT_GT(start.width, 0) << "no screenshot";

    // The save dialog, then the notice over the map, take the right half of the screen.
    constexpr Box kDialog{312, 0, 320, 400};
    g.keys({"s"}, 0);
    const vorn1::Image save_dialog = g.wait_for_change("load_2_save_dialog.png", start, kDialog, 20000);
    ASSERT_GT(save_dialog.width, 0);
    g.keys({"Return"}, 0);
    const vorn1::Image saved = g.wait_for_change("load_3_saved.png", save_dialog, kDialog, 20000);
    ASSERT_GT(saved.width, 0);
    g.keys({"Return"}, 0);
    const vorn1::Image closed = g.wait_for_return("load_3_closed.png", start, kMapView);
    std::error_code ec;
    ASSERT_EQ(std::distance(fs::directory_iterator(folder.root / "saved_games", ec), fs::directory_iterator()), 1);

    plan_route(g, 255, 290, closed, "load_3_route.png");  // the route to the tile below the hero, then the walk
    g.click_at(255, 290, 0);
    const vorn1::Image moved = g.wait_for_change("load_4_moved.png", start, Box{239, 240, 32, 64}, 300);
    ASSERT_GT(moved.width, 0);
    EXPECT_GT(changed_pixels(start, moved, 239, 240, 32, 64), 300) << "the hero did not walk";

    g.keys({"l"}, 0);
    const vorn1::Image question = g.wait_for_change("load_5_question.png", moved, Box{177, 150, 286, 180}, 20000);
    EXPECT_GT(changed_pixels(moved, question, 177, 150, 286, 180), 20000) << "no question over the map";
    g.keys({"Return"}, 0);
    const vorn1::Image title = g.wait_for_change("load_6_title.png", question, kMenuColumn, 20000);
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("load_7_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change("load_8_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image announcement = g.wait_for_change("load_9_announcement.png", load_dialog, kAdventurePanel,
                                                        kAdventurePanel.w * kAdventurePanel.h / 4);
    const vorn1::Image back = g.close_announcement(announcement, "load_10_back.png");
    ASSERT_GT(back.width, 0);
    EXPECT_GT(changed_pixels(title, back, 0, 0, 479, 480), 100000) << "not on the map";
    EXPECT_LT(changed_pixels(start, back, 16, 16, 448, 448), 500) << "the map is not as it was saved";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

namespace {

// The end-of-day autosave of a hot-seat game on the kit's shared-siege map in which the computer has
// just put Blue (seat 0, the first to play) out: its castle Green's, its hero gone, the loss still to be
// told, the last seat (Yellow) current. Red (seat 1) is the other human.
void write_autosave_with_blue_out(const GameFolder& folder) {
    const std::string map_file = (folder.root / "maps" / vorn1::kit::kHotSeatSiegeFile[0]).string();
    vorn1::GameMap map = vorn1::load_map(map_file);
    vorn1::NewGameConfig cfg;
    cfg.mode = vorn1::MODE_HOTSEAT;
    cfg.map_path = map_file;
    cfg.map_name = map.name;
    const uint8_t colours[4] = {vorn1::COLOR_BLUE, vorn1::COLOR_RED, vorn1::COLOR_GREEN, vorn1::COLOR_YELLOW};
    for (int p = 0; p < 4; ++p) {
        cfg.seats[p].color = colours[p];
        cfg.seats[p].kind = p < 2 ? vorn1::SEAT_HUMAN : vorn1::SEAT_COMPUTER;
    }
    vorn1::GameState state;
    vorn1::init_game_state(state, map, cfg, 7);
    for (vorn1::CastleState& c : state.castles)
        if (c.owner == 0) c.owner = 2;
    for (size_t h = 0; h < state.heroes.size(); ++h)
        if (state.heroes[h].live && state.heroes[h].owner == 0) vorn1::return_hero_to_pool(state, map, (int)h, 3);
    vorn1::SavedEliminationState elim;
    elim.players[0] = vorn1::PlayerEliminationRecord{1, -1, 0, 1};
    const std::vector<uint8_t> image = vorn1::build_save_image(state, map, cfg, 1, 1, 1, nullptr, 3, &elim);
    fs::create_directories(folder.root / "saved_games");
    std::ofstream(folder.root / "saved_games" / "autosave.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), (std::streamsize)image.size());
}

// The first row of a side-panel list holds an entry: it differs from the list's third row, left empty.
bool first_row_filled(const vorn1::Image& shot, int x0) {
    int differ = 0;
    for (int y = 178; y < 206; ++y)
        for (int x = x0; x < x0 + 56; ++x)
            differ += std::memcmp(shot.at(x, y), shot.at(x, y + 64), 3) != 0;
    return differ > 56 * 28 / 4;
}

}  // namespace

// The autosave above loaded on the real program: Blue's loss is told once over the hidden map, then a
// turn is announced, and it is Red's: the map that follows lists Red's hero and castle (Blue has none).
TEST(EndToEnd, ALoadedHotSeatGameOpensWithTheNextSeatInPlay) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("seatout", true);
    write_autosave_with_blue_out(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot("seatout_1_title.png");
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("seatout_2_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change("seatout_3_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const auto dialog_over_hidden_map = [](const vorn1::Image& shot) {
        return !lit(shot, Box{480, 0, 160, 480}) && !lit(shot, Box{0, 0, 480, 150}) &&
               lit(shot, Box{120, 200, 240, 60});
    };
    const vorn1::Image told = g.wait_for_change("seatout_4_told.png", load_dialog, Box{}, 100000);
    EXPECT_TRUE(dialog_over_hidden_map(told)) << "the loss is not told over the hidden map";
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change("seatout_5_turn.png", told, Box{96, 160, 288, 160}, 1000);
    EXPECT_TRUE(dialog_over_hidden_map(turn)) << "the turn is not announced over the hidden map";
    g.keys({"Return"}, 0);
    const vorn1::Image map = g.wait_for_screen(
        "seatout_6_map.png", "the map after the turn's announcement", [&](const vorn1::Image& now, const vorn1::Image& before) {
            return changed_pixels(turn, now, kMapView) > 20000 && lit(now, kAdventurePanel) &&
                   still(before, now, kAdventurePanel);
        });
    EXPECT_TRUE(first_row_filled(map, 486)) << "no hero listed: the turn is the eliminated seat's";
    EXPECT_TRUE(first_row_filled(map, 564)) << "no town listed: the turn is the eliminated seat's";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
