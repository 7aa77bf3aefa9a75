// The music the real program plays, heard through SDL's disk audio driver: each kit track is a tone of
// its own pitch, so the share of that pitch in what the program plays tells which track is on.
#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <string>
#include <vector>

#include "datakit/kit_battle_road.h"
#include "datakit/kit_sound.h"
#include "e2e_audio.h"
#include "e2e_support.h"
#include "frontend/campaign_data.h"
#include "persist/savegame.h"
#include "world/game_setup.h"
#include "world/map.h"

using namespace vorn1::e2e;

namespace {

// Most of a second of the program's sound is the tone of track VELDARnn (each kit track has a pitch of
// its own, so another track playing fails it).
bool track_heard(const DiskAudio& audio, int n) {
    return tone_share(audio.listen(0.3, 1.0), vorn1::kit::music_tone_hz(n)) > 0.5;
}

// The battle track that sounds, one of the three the battle's seed chooses from; -1 for none.
int battle_track_heard(const DiskAudio& audio) {
    const std::vector<int16_t> heard = audio.listen(0.3, 1.0);
    for (const int n : {40, 41, 42})
        if (tone_share(heard, vorn1::kit::music_tone_hz(n)) > 0.5) return n;
    return -1;
}

// Battle Field's first steps, its shots named after the folder: the game started on the display, the
// first turn's map (its track heard), then one step down the grass, off the band's first tile; the map's
// shot after the step.
vorn1::Image step_down_the_grass(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g,
                                 const DiskAudio& audio, vorn1::Image& before) {
    if (x.display.empty()) throw StepFailed("Xvfb did not start");
    start_game(folder, x, g);
    if (::testing::Test::HasFatalFailure()) throw StepFailed("the game did not start");
    const std::string& prefix = folder.tag;
    const vorn1::Image turn = g.open_first_turn(prefix + "_0_turn.png");
    g.mouse("255 290", 0);
    before = g.close_announcement(turn, prefix + "_1_map.png");
    if (before.width == 0) throw StepFailed("no screenshot");
    EXPECT_TRUE(track_heard(audio, 1)) << "no map music at the first turn";
    plan_route(g, 255, 288, before, prefix + "_2_route.png");
    g.mouse("255 288 click 1", 0);
    return g.wait_for_change(prefix + "_3_moved.png", before, Box{239, 240, 32, 64}, 300);
}

// From the map after the step: the peasants, north-east now at window point (x, y), clicked twice bring
// the quick-combat result, and n opens the battle field (its shot).
vorn1::Image open_battle_with_the_peasants(const RunningGame& g, const vorn1::Image& moved, int x, int y,
                                           const std::string& prefix) {
    plan_route(g, x, y, moved, prefix + "_route.png");
    g.mouse(std::to_string(x) + " " + std::to_string(y) + " click 1", 0);
    const vorn1::Image preview = g.wait_for_change(prefix + "_preview.png", moved, Box{160, 1, 320, 458}, 20000);
    g.keys({"n"}, 0);
    return g.wait_for_change(prefix + "_field.png", preview, Box{0, 0, 640, 460}, 100000);
}

// The spirit world's first scenario saved as won: loaded, it goes on with the victory page.
void write_won_first_scenario(const GameFolder& folder) {
    vorn1::NewGameConfig cfg = vorn1::spirit_campaign_config(folder.root.string() + "/", 3);
    vorn1::GameMap map = vorn1::load_cmp(cfg.campaign_map_path);
    vorn1::GameState state;
    vorn1::init_game_state(state, map, cfg, 7);
    const std::vector<uint8_t> image = vorn1::build_campaign_save_image(state, map, cfg, 1, 1, 1, nullptr, true, nullptr);
    fs::create_directories(folder.root / "saved_camps");
    std::ofstream(folder.root / "saved_camps" / "won.sav", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
}

}  // namespace

// The map's music (track 1, the grass band's) starts with the first turn on the band's first tile, and
// after a halt comes back although the hero stands further into the band, where the ground starts no
// track: after a battle fought from there, and after an l whose save does not load. The battle sounds
// a battle track from its opening and its result page the victory music.
TEST(EndToEnd, TheMapsMusicComesBackAfterABattleAndAfterALoadThatFails) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("music_map", true);
    remove_maps(folder, vorn1::kit::kBattleMapFile);
    fs::create_directories(folder.root / "saved_games");
    std::ofstream(folder.root / "saved_games" / "broken.sav", std::ios::binary) << "not a saved game";
    const DiskAudio audio(folder);
    VirtualDisplay x;
    RunningGame g;
    vorn1::Image before;
    const vorn1::Image moved = step_down_the_grass(folder, x, g, audio, before);

    const vorn1::Image field = open_battle_with_the_peasants(g, moved, 287, 256, "music_map_4");
    EXPECT_GE(battle_track_heard(audio), 40) << "no battle track at the battle's opening";
    const vorn1::Image result = g.fight_out_automatically(field, "music_map_5_result.png");
    EXPECT_TRUE(track_heard(audio, 44)) << "no victory music on the result page";
    g.close_battle_result(result, "music_map_6_closed.png");
    const auto map_back = [&before](const vorn1::Image& now, const vorn1::Image& last) {
        return changed_pixels(before, now, 16, 16, 200, 200) < 2000 && still(last, now, kMapView);
    };
    const vorn1::Image after = g.wait_for_screen("music_map_7_after.png", "the map after the battle", map_back);
    EXPECT_GT(changed_pixels(before, after, 239, 240, 32, 64), 300) << "the hero is not a tile further down";
    EXPECT_TRUE(track_heard(audio, 1)) << "the map's music did not come back after the battle";

    g.keys({"l"}, 0);
    const vorn1::Image question = g.wait_for_change("music_map_8_question.png", after, Box{177, 150, 286, 180}, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image title = g.wait_for_change("music_map_9_title.png", question, kMenuColumn, 20000);
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("music_map_10_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image load_dialog = g.wait_for_change("music_map_11_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    const vorn1::Image notice = g.wait_for_change("music_map_12_notice.png", load_dialog, kMapView, 100000);
    EXPECT_GT(changed_pixels(load_dialog, notice, kMenuColumn), 20000) << "not back on the map";
    EXPECT_TRUE(track_heard(audio, 1)) << "the map's music did not come back after the load that failed";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

// The new day's music halts the map's; once the player's next turn opens, the map's track plays again
// although the hero stands one step into the grass band, where walking starts no track. Then a battle
// the player leaves (the hero's tent, then its retreat button) ends on the defeat music.
TEST(EndToEnd, TheMapsMusicComesBackAfterANewDayAndARetreatSoundsTheDefeatMusic) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("music_day", true);
    remove_maps(folder, vorn1::kit::kBattleMapFile);
    const DiskAudio audio(folder);
    VirtualDisplay x;
    RunningGame g;
    vorn1::Image before;
    const vorn1::Image moved = step_down_the_grass(folder, x, g, audio, before);

    // The hero could still move: the question is answered yes. The new day's panel takes the info
    // panel, then the player's turn is announced over the map.
    end_turn_past_question(g, moved, "music_day_4_question.png");
    const vorn1::Image new_day = g.wait_for_screen(
        "music_day_5_new_day.png", "the new day's panel", [&](const vorn1::Image& now, const vorn1::Image&) {
            return changed_pixels(moved, now, kInfoPanel) > kInfoPanel.w * kInfoPanel.h / 2;
        });
    const vorn1::Image announced = g.wait_for_screen(
        "music_day_6_turn.png", "the player's turn announced", [&](const vorn1::Image& now, const vorn1::Image& last) {
            return changed_pixels(new_day, now, kInfoPanel) > kInfoPanel.w * kInfoPanel.h / 4 && still(last, now, Box{});
        });
    const vorn1::Image day2 = g.close_announcement(announced, "music_day_7_map.png");
    EXPECT_TRUE(track_heard(audio, 1)) << "the map's music did not come back after the new day";

    // The new turn centres the view on the hero: the peasants' tile is the one north-east of the middle.
    const vorn1::Image field = open_battle_with_the_peasants(g, day2, 287, 224, "music_day_8");
    constexpr Box kOptions{195, 130, 250, 200};
    g.mouse("38 207 click 1", 0);
    const vorn1::Image options = g.wait_for_change("music_day_9_options.png", field, kOptions, 20000);
    g.mouse("290 301 click 1", 0);
    g.wait_for_change("music_day_10_result.png", options, kOptions, 5000);
    EXPECT_TRUE(track_heard(audio, 43)) << "no defeat music on the result page of a retreat";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

// The campaign's music (VELDAR54) plays on the campaign choice in place of the title music, which comes
// back when the choice is cancelled, and on the victory page of a won scenario.
TEST(EndToEnd, TheCampaignsMusicPlaysOnTheCampaignsPages) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("music_campaign", true);
    write_won_first_scenario(folder);
    const DiskAudio audio(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot("music_campaign_0_title.png");
    EXPECT_TRUE(track_heard(audio, 48)) << "no title music";

    g.keys({"n"}, 0);
    const vorn1::Image new_game = g.wait_for_change("music_campaign_1_new_game.png", title, kMenuColumn, 2000);
    g.keys({"c"}, 0);
    const vorn1::Image choice = g.wait_for_change("music_campaign_2_choice.png", new_game, kMenuColumn, 2000);
    EXPECT_TRUE(track_heard(audio, 54)) << "no campaign music on the campaign choice";
    g.keys({"Escape"}, 0);
    const vorn1::Image again = g.wait_for_change("music_campaign_3_title.png", choice, kMenuColumn, 2000);
    EXPECT_TRUE(track_heard(audio, 48)) << "the title music did not come back";

    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("music_campaign_4_load_menu.png", again, kMenuColumn, 2000);
    g.keys({"c"}, 0);
    const vorn1::Image dialog = g.wait_for_change("music_campaign_5_load_dialog.png", load_menu, kMenuColumn, 20000);
    g.keys({"Return"}, 0);
    g.wait_for_change("music_campaign_6_victory.png", dialog, Box{}, 100000);
    EXPECT_TRUE(track_heard(audio, 54)) << "no campaign music on the victory page";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
