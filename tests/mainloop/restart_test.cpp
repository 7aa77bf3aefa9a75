// The scenario information's restart: the running campaign scenario ends and starts again from its
// beginning, reached by i and by the control panel's information button.
#include <gtest/gtest.h>

#include <cstdio>

#include "datakit/kit_game_end.h"
#include "datakit/kit_maps.h"
#include "frontend/control_panel.h"
#include "loop_fixture.h"
#include "mainloop/game_end.h"
#include "persist/highscore.h"
#include "persist/save_paths.h"
#include "temp_dir.h"

namespace vorn1::test {
namespace {

// The won scenario's save goes to the test's folder.
struct SaveFolder {
    explicit SaveFolder(const std::string& dir) { set_save_archive_path(dir + "VELDAR.AGG"); }
    ~SaveFolder() { set_save_archive_path(""); }
};

TEST_F(LoopTest, AConfirmedRestartStartsTheScenarioAfreshAndItsAbandonedDaysNeverCount) {
    TempDir dir("restart");
    const SaveFolder saves(dir.dir());
    NewGameConfig cfg;
    cfg.mode = MODE_CAMPAIGN;
    for (const char* name : {"First March", "Second March", "Third March"}) {
        const std::string file = "maps/CAMP" + std::to_string(cfg.campaign_maps.size() + 1) + ".CMP";
        dir.put(file, kit::write_map_bytes(kit::make_quick_win_map(name)));
        cfg.campaign_maps.push_back(dir.dir() + file);
    }
    cfg.campaign_map_path = cfg.campaign_maps[1];
    cfg.scenario_index = 1;
    ASSERT_TRUE(setup_game(m, cfg, nullptr, 5));
    m.campaign_days = 9;  // the first scenario's
    const int hero = loop().selected_hero;
    ASSERT_GE(hero, 0);
    const int start_x = state().heroes[hero].x, start_y = state().heroes[hero].y;
    const std::string first_turn = player_turn_text(state(), loop().current_player);

    bool restart = false;
    int infos = 0, panels = 0;
    m.scenario_info = [&](MainState&) {
        ++infos;
        return restart;
    };
    m.control_panel = [&](MainState&) {
        ++panels;
        return ControlPanelResult::ScenarioInfo;
    };
    // The hero walks two tiles and the days pass; then the way in is taken and the screen answered.
    auto walk_then = [&](SDL_Keycode way_in) {
        accept_dialogs();
        const int to_y = state().heroes[hero].y + 2;
        click_tile(start_x, to_y);
        frames(1);
        click_tile(start_x, to_y);
        frames(1);
        for (int i = 0; i < 600 && loop().walk_step_index >= 0; ++i) frames(1);
        ASSERT_EQ(state().heroes[hero].y, to_y);
        state().day = loop().day = 3;
        state().week = loop().week = 2;
        push_key(way_in);
        frames(1);
    };

    walk_then(SDLK_i);
    EXPECT_EQ(infos, 1);
    EXPECT_EQ(state().heroes[hero].y, start_y + 2) << "no restart asked: the game goes on";
    EXPECT_EQ(state().week, 2);

    restart = true;
    // A map that no longer loads: the game goes on as it was, and a notice says why.
    const std::string away = cfg.campaign_maps[1] + ".away";
    std::rename(cfg.campaign_maps[1].c_str(), away.c_str());
    push_key(SDLK_i);
    frames(1);
    std::rename(away.c_str(), cfg.campaign_maps[1].c_str());
    ASSERT_TRUE(m.game);
    EXPECT_EQ(state().heroes[hero].y, start_y + 2);
    EXPECT_EQ(state().week, 2);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_NE(g().events.current_dialog()->def.text, first_turn);

    for (SDL_Keycode way_in : {SDLK_i, SDLK_g}) {
        walk_then(way_in);
        ASSERT_TRUE(m.game);
        EXPECT_EQ(map().name, "Second March");
        EXPECT_EQ(g().config.scenario_index, 1);
        EXPECT_EQ(g().config.campaign_maps, cfg.campaign_maps);
        EXPECT_EQ(state().heroes[hero].x, start_x);
        EXPECT_EQ(state().heroes[hero].y, start_y) << "the hero back at his start";
        EXPECT_EQ(days_played(state().day, state().week, state().month), 1);
        EXPECT_EQ(loop().day, 1);
        EXPECT_EQ(loop().week, 1);
        EXPECT_EQ(loop().selected_hero, hero);
        ASSERT_TRUE(g().events.dialog_open);
        EXPECT_EQ(g().events.current_dialog()->def.text, first_turn);
        EXPECT_EQ(m.campaign_days, 9);
    }
    EXPECT_EQ(infos, 4);
    EXPECT_EQ(panels, 1);

    // Won now, on its first day: the campaign counts that one day after the first scenario's.
    g().game_won = 2;
    finish_game(m, GameOutcome::CampaignScenarioWon);
    EXPECT_EQ(m.campaign_days, 10);
}

}  // namespace
}  // namespace vorn1::test
