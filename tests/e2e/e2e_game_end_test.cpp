// The end of a won campaign on the real program.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "e2e_support.h"
#include "frontend/campaign_data.h"
#include "persist/highscore.h"
#include "persist/savegame.h"
#include "world/game_setup.h"
#include "world/map.h"

using namespace vorn1::e2e;

namespace {

// The kit campaign's last scenario saved as won on its first day, as the game saves a won scenario:
// loaded, it goes straight to the campaign's end. The row the campaign earns (the default name).
vorn1::HighScoreEntry write_won_last_scenario(const GameFolder& folder) {
    vorn1::NewGameConfig cfg = vorn1::spirit_campaign_config(folder.root.string() + "/", 3);
    cfg.scenario_index = static_cast<int>(cfg.campaign_maps.size()) - 1;
    cfg.campaign_map_path = cfg.campaign_maps.back();
    vorn1::GameMap map = vorn1::load_cmp(cfg.campaign_map_path);
    vorn1::GameState state;
    vorn1::init_game_state(state, map, cfg, 7);
    const std::vector<uint8_t> image =
        vorn1::build_campaign_save_image(state, map, cfg, 1, 1, 1, nullptr, true, nullptr);
    fs::create_directories(folder.root / "saved_camps");
    std::ofstream(folder.root / "saved_camps" / "won.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    return {vorn1::high_score_default_name(state), "Queen Selvina", 1};
}

}  // namespace

// A termination request on the congratulations page that ends a won campaign (its closing films
// left out) ends the program at once, and the campaign's row is kept under the default name first:
// SIGTERM, and a hangup from a closed terminal alike.
TEST(EndToEnd, ATerminationRequestOnTheCampaignsCongratulationsKeepsItsRow) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    for (const auto& [sig, name] : {std::pair{SIGTERM, "term"}, std::pair{SIGHUP, "hup"}}) {
        SCOPED_TRACE(name);
        const std::string tag = std::string("campaign_end_") + name;
        GameFolder folder(tag, true);
        for (const char* film : {"WIN01C.SMK", "WIN02.SMK"}) fs::remove(folder.root / "ANIM" / film);
        const vorn1::HighScoreEntry row = write_won_last_scenario(folder);
        VirtualDisplay x;
        ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
        RunningGame g;
        ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
        const vorn1::Image title = g.shot(tag + "_0_title.png");
        g.keys({"l"}, 0);
        const vorn1::Image load_menu = g.wait_for_change(tag + "_1_load_menu.png", title, kMenuColumn, 2000);
        g.keys({"c"}, 0);
        const vorn1::Image dialog = g.wait_for_change(tag + "_2_load_dialog.png", load_menu, kMenuColumn, 20000);
        g.keys({"Return"}, 0);
        const vorn1::Image congrats = g.wait_for_change(tag + "_3_congratulations.png", dialog, Box{}, 100000);
        ASSERT_GT(congrats.width, 0);

        const Termination end = terminate_within(g.pid, 20, sig);
        EXPECT_EQ(end.status, 0);
        EXPECT_LT(end.seconds, 5) << "not at once";
        const std::vector<vorn1::HighScoreEntry> rows = vorn1::load_high_scores(
            (folder.root / "CAMPAIGN.HS").string(), vorn1::HighScoreTable::Campaign);
        EXPECT_EQ(rows[0].name, row.name);
        EXPECT_EQ(rows[0].label, row.label);
        EXPECT_EQ(rows[0].score, row.score);
    }
}
