// The screens reached from the adventure map: the options panel and its hotkeys, the world and
// puzzle maps, quick information, adventure spells, and the game saved, loaded and restarted.
#include <unistd.h>

#include <filesystem>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_spells.h"
#include "adventure/new_day_panel.h"
#include "datakit/kit_frontend.h"
#include "frontend/control_panel.h"
#include "loop_fixture.h"
#include "mainloop/adventure_screens.h"
#include "mainloop/game_files.h"
#include "persist/save_paths.h"

namespace vorn1::test {
namespace {

void push_button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
}

class ScreensTest : public LoopTest {
protected:
    int hero = -1;
    int reveals = 0;
    void SetUp() override {
        LoopTest::SetUp();
        make_game();
        hero = add_hero(5, 5, 0);
        m.puzzle_reveal = [this](MainState&) { ++reveals; };
        start_player_turn(m, 0);
        accept_dialogs();
    }
    void learn(int spell, int charges) {
        state().heroes[hero].has_spellbook = 1;
        state().heroes[hero].spell_charges[spell] = (uint8_t)charges;
    }
};

TEST_F(ScreensTest, HotkeysPressThePanelButtonsAsAClickWould) {
    push_key(SDLK_v);
    frames(1);
    EXPECT_FALSE(loop().apanel.open) << "a fired button closes the panel";
    ASSERT_TRUE(loop().world_map.open);
    EXPECT_EQ(loop().world_map.player, 0);
    EXPECT_EQ(loop().world_map.reveal, 0);
    push_click(100, 100);
    frames(1);
    EXPECT_FALSE(loop().world_map.open);

    // The same through the panel itself: open it, then press and release the world button.
    open_adventure_panel(loop().apanel);
    push_click(253, 175);
    frames(1);
    EXPECT_TRUE(loop().world_map.open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().world_map.open);

    // A release outside the held button does nothing but let go of it.
    open_adventure_panel(loop().apanel);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 253, 175);
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 400, 175);
    frames(1);
    EXPECT_TRUE(loop().apanel.open);
    EXPECT_FALSE(loop().world_map.open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().apanel.open);

    push_key(SDLK_p);
    frames(1);
    EXPECT_EQ(reveals, 1);
    EXPECT_TRUE(g().puzzle.open);
    push_key(SDLK_e);  // swallowed by the puzzle, which it closes
    frames(1);
    EXPECT_FALSE(g().puzzle.open);
    EXPECT_FALSE(g().events.dialog_open) << "the key did not reach the adventure map";
}

TEST_F(ScreensTest, StatusPanelStepsThroughResourcesAndDateAndSysOpensTheControlPanel) {
    EXPECT_EQ(loop().summary_view.kind, SUMMARY_DATE) << "the turn opens on the date";
    m.now_ms = kSummaryViewMs;
    frames(1);
    EXPECT_EQ(loop().summary_view.kind, SUMMARY_NONE);
    const SDL_Point status{kInfoPanelRect.x + 40, kInfoPanelRect.y + 40};
    std::vector<int> kinds;
    for (int i = 0; i < 4; ++i) {
        push_click(status.x, status.y);
        frames(1);
        kinds.push_back(loop().summary_view.kind);
    }
    EXPECT_EQ(kinds, (std::vector<int>{SUMMARY_FUNDS, SUMMARY_DATE, SUMMARY_NONE, SUMMARY_FUNDS}));
    m.now_ms += kSummaryViewMs - 1;
    frames(1);
    EXPECT_EQ(loop().summary_view.kind, SUMMARY_FUNDS);
    m.now_ms += 1;
    frames(1);
    EXPECT_EQ(loop().summary_view.kind, SUMMARY_NONE) << "the hero comes back";

    int panels = 0;
    m.control_panel = [&panels](MainState&) {
        ++panels;
        return ControlPanelResult::Closed;
    };
    const SDL_Rect sys = adv_button_rect(ADVBTN_SYSTEM);
    push_click(sys.x + sys.w / 2, sys.y + sys.h / 2);
    frames(1);
    EXPECT_EQ(panels, 1);
    push_key(SDLK_g);
    frames(1);
    EXPECT_EQ(panels, 2);
}

TEST_F(ScreensTest, OverlaysHoldTheInputOfTheMapBeneath) {
    push_key(SDLK_k);
    frames(1);
    ASSERT_TRUE(loop().kingdom.open);
    click_tile(7, 5);
    frames(1);
    EXPECT_EQ(loop().route_dest_x, -1) << "a click on the overview plans nothing";
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().kingdom.open);

    // Quick information lasts as long as the right button is held.
    const SDL_Point p = tile_point(6, 6);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, p.x, p.y);
    frames(1);
    ASSERT_TRUE(loop().quick_info.open);
    EXPECT_EQ(loop().quick_info.tile_x, 6);
    EXPECT_EQ(loop().quick_info.tile_y, 6);
    push_key(SDLK_e);
    frames(1);
    EXPECT_FALSE(g().events.dialog_open);
    push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, p.x, p.y);
    frames(1);
    EXPECT_FALSE(loop().quick_info.open);
    // A right press on the side panel opens nothing.
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 560, 400);
    frames(1);
    EXPECT_FALSE(loop().quick_info.open);
}

TEST_F(ScreensTest, TheBookPicksAViewSpellAcrossPagesAndRefusesSpentSpells) {
    push_key(SDLK_c);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open) << "no book: a notice";
    EXPECT_FALSE(loop().spellbook.book.open);
    accept_dialogs();

    // A book with combat spells only: the book's own notice, closed by Esc.
    learn(16, 3);
    push_key(SDLK_c);
    frames(1);
    ASSERT_TRUE(loop().spellbook.book.open);
    EXPECT_TRUE(loop().spellbook.book.no_spells);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(loop().spellbook.book.open);

    // Five adventure spells with casts and one spent: two pages, View All first on the second.
    for (int spell : {SPELL_VIEW_MINES, SPELL_VIEW_ARTIFACTS, SPELL_VIEW_HEROES, SPELL_VIEW_TOWNS, SPELL_VIEW_ALL})
        learn(spell, 1);
    learn(SPELL_VIEW_RESOURCES, 0);
    push_key(SDLK_c);
    frames(1);
    ASSERT_TRUE(loop().spellbook.book.open);
    ASSERT_EQ(loop().spellbook.book.spells.size(), 5u);
    push_click(460, 140);  // next page
    frames(1);
    EXPECT_EQ(loop().spellbook.book.page, 1);
    push_click(234, 154);
    frames(1);
    EXPECT_FALSE(loop().spellbook.book.open);
    ASSERT_TRUE(loop().world_map.open) << "the pick's release does not reach the map";
    EXPECT_TRUE(loop().world_map.reveal & REVEAL_ALL);
    EXPECT_EQ(state().heroes[hero].spell_charges[SPELL_VIEW_ALL], 0);
    EXPECT_EQ(state().heroes[hero].spell_charges[SPELL_VIEW_MINES], 1);
    push_click(100, 100);
    frames(1);
    EXPECT_FALSE(loop().world_map.open);

    // View All is spent: one page, its place empty, the next corner does nothing.
    push_key(SDLK_c);
    frames(1);
    ASSERT_EQ(loop().spellbook.book.spells.size(), 4u);
    push_click(460, 140);
    frames(1);
    EXPECT_EQ(loop().spellbook.book.page, 0);
    push_click(389 + 10, 300);  // close bookmark
    frames(1);
    EXPECT_FALSE(loop().spellbook.book.open);
    EXPECT_FALSE(loop().world_map.open);
}

TEST_F(ScreensTest, DimensionDoorJumpsToTheClickedTile) {
    learn(SPELL_DIMENSION_DOOR, 1);
    click_tile(8, 5);
    frames(1);
    ASSERT_EQ(loop().route_dest_x, 8);
    push_key(SDLK_c);
    frames(1);
    ASSERT_TRUE(loop().spellbook.book.open);
    push_click(234, 154);
    frames(1);
    ASSERT_TRUE(loop().dim_door.open);
    click_tile(5, 14);  // beyond seven tiles: nothing
    frames(1);
    EXPECT_TRUE(loop().dim_door.open);
    EXPECT_EQ(state().heroes[hero].y, 5);
    click_tile(9, 9);
    frames(1);
    EXPECT_FALSE(loop().dim_door.open);
    EXPECT_EQ(state().heroes[hero].x, 9);
    EXPECT_EQ(state().heroes[hero].y, 9);
    EXPECT_EQ(loop().hero_move_points[hero], 60 - kDimDoorPoints);
    EXPECT_EQ(state().heroes[hero].spell_charges[SPELL_DIMENSION_DOOR], 0);
    EXPECT_EQ(loop().route_dest_x, -1) << "the old plan no longer fits";
    EXPECT_EQ(state().heroes[hero].dest_x, -1);
    EXPECT_TRUE(map().tile(9, 9)->occupied());
    EXPECT_FALSE(map().tile(5, 5)->occupied());
}

TEST_F(ScreensTest, DigNeedsTheWholeDayAndFindsTheArtifactOnlyAtTheSite) {
    const int full = compute_hero_max_mp(state(), map(), hero);
    loop().hero_move_points[hero] = full;
    g().puzzle.dig_x = 6;
    g().puzzle.dig_y = 5;
    g().puzzle.ultimate_artifact = 2;
    push_key(SDLK_d);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(loop().hero_move_points[hero], 0) << "a dig in the wrong place still takes the day";
    EXPECT_EQ(state().heroes[hero].free_artifact_slot(), 0);
    accept_dialogs();
    push_key(SDLK_d);  // no points left: nothing dug
    frames(1);
    accept_dialogs();
    EXPECT_EQ(state().heroes[hero].free_artifact_slot(), 0);

    // Standing on the site with a new day's points.
    clear_hero_from_map(map(), state().heroes[hero]);
    state().heroes[hero].x = 6;
    place_hero_on_map(map(), state().heroes[hero]);
    loop().hero_move_points[hero] = full;
    push_key(SDLK_d);
    frames(1);
    EXPECT_TRUE(g().puzzle.artifact_awarded);
    EXPECT_EQ(state().heroes[hero].artifacts[0], 2);
    EXPECT_EQ(loop().hero_move_points[hero], 0);
}

TEST_F(ScreensTest, IdentifyHeroLastsUntilTheTurnEnds) {
    learn(SPELL_IDENTIFY_HERO, 1);
    push_key(SDLK_c);
    frames(1);
    push_click(234, 154);
    frames(1);
    EXPECT_TRUE(identify_hero_active(loop().identify, 0));
    EXPECT_EQ(state().heroes[hero].spell_charges[SPELL_IDENTIFY_HERO], 0);
    end_current_turn(m);
    EXPECT_FALSE(identify_hero_active(loop().identify, 0));
}

// A route longer than one day's points goes on the next day from where it stopped.
TEST_F(ScreensTest, ARouteOfSeveralDaysGoesOnTheNextDay) {
    loop().hero_move_points[hero] = 8;  // two straight steps on grass
    click_tile(5, 11);
    frames(1);
    ASSERT_EQ(loop().active_route.size(), 6u);
    click_tile(5, 11);
    frames(40);
    ASSERT_EQ(state().heroes[hero].y, 7);
    EXPECT_EQ(loop().route_dest_y, 11) << "the rest of the plan is kept";
    push_key(SDLK_e);  // no point left: no question
    frames(2);
    ASSERT_TRUE(g().new_day.active);
    frames((int)(kNewDayMs / 16.0f) + 2);
    accept_dialogs();
    ASSERT_EQ(loop().selected_hero, hero);
    EXPECT_EQ(loop().route_dest_y, 11);
    ASSERT_EQ(loop().active_route.size(), 4u);
    EXPECT_GT(loop().active_route.back().cost, 0) << "planned again on the new day's points";
    click_tile(5, 11);
    frames(60);
    EXPECT_EQ(state().heroes[hero].y, 11);
}

class SavedGameTest : public ScreensTest {
protected:
    std::string dir;
    void SetUp() override {
        dir = (std::filesystem::temp_directory_path() / ("vorn1_loop_saves_" + std::to_string(::getpid()))).string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        set_save_archive_path(dir + "/VELDAR.AGG");
        ScreensTest::SetUp();
    }
    void TearDown() override {
        ScreensTest::TearDown();
        set_save_archive_path("");
        std::filesystem::remove_all(dir);
    }
};

TEST_F(SavedGameTest, TheSaveKeyUsesTheChosenNameAndACancelSavesNothing) {
    std::vector<bool> reports;
    m.report_saved = [&reports](MainState&, bool ok, const std::string&) { reports.push_back(ok); };
    m.choose_save_name = [](MainState&) { return std::string(); };  // the player cancels
    push_key(SDLK_s);
    frames(1);
    EXPECT_TRUE(list_save_files().empty());
    EXPECT_TRUE(reports.empty());

    m.choose_save_name = [](MainState&) { return std::string("before the bridge"); };
    push_key(SDLK_s);
    frames(1);
    EXPECT_TRUE(std::filesystem::exists(compose_save_path("before the bridge")));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0]);
    EXPECT_FALSE(g().events.dialog_open);  // the report replaces the map's announcement
}

TEST_F(SavedGameTest, SavedGameComesBackWithPositionsPointsAndPlan) {
    state().map_name = "Loop Test";
    click_tile(9, 5);
    frames(1);
    click_tile(9, 5);
    frames(15);  // one step done, the next under way when s stops it
    push_key(SDLK_s);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "SAVE_GAME_SUCCESS");
    accept_dialogs();
    ASSERT_FALSE(newest_save_path().empty());
    const int x = state().heroes[hero].x;
    const int points = loop().hero_move_points[hero];
    ASSERT_EQ(x, 6);
    ASSERT_EQ(points, 56);
    ASSERT_EQ(loop().route_dest_x, 9);

    click_tile(9, 5);
    frames(60);
    ASSERT_EQ(state().heroes[hero].x, 9);
    push_key(SDLK_l);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);  // no: nothing happens
    frames(1);
    EXPECT_EQ(state().heroes[hero].x, 9);
    state().map_name = "Since the save";
    push_key(SDLK_l);
    frames(1);
    push_key(SDLK_RETURN);
    frames(1);
    ASSERT_EQ(state().map_name, "Loop Test") << "the saved game replaces the running one";
    EXPECT_EQ(state().heroes[hero].x, x);
    EXPECT_TRUE(map().tile(x, 5)->occupied());
    EXPECT_EQ(loop().hero_move_points[hero], points);
    EXPECT_EQ(loop().current_player, 0);
    EXPECT_EQ(loop().selected_hero, hero);
    EXPECT_EQ(loop().route_dest_x, 9) << "the stored destination is planned again";
    EXPECT_FALSE(loop().active_route.empty());
}

TEST_F(SavedGameTest, AChosenSaveOrMapThatDoesNotLoadStartsNoOtherGame) {
    const std::string cut_map = dir + "/CUT.MAP";
    kit::write_file(cut_map, kit::map_header_bytes("Cut", "no tiles", 0, 0));
    // While a game runs, n on a map that is gone keeps that game and says so.
    g().config.map_path = cut_map;
    push_key(SDLK_n);
    frames(1);
    push_key(SDLK_RETURN);
    frames(1);
    ASSERT_TRUE(m.game);
    EXPECT_EQ(state().heroes.size(), 1u);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text,
              "The map could not be loaded.\nCUT.MAP: MAP file too small to contain tile block");

    // From the front end: a damaged save, an empty one, a map cut short: no game at all.
    end_game(m);
    kit::write_file(dir + "/damaged.sav", kit::Bytes(3000, 0xA5));
    kit::write_file(dir + "/empty.sav", {});
    NewGameConfig cfg;
    testing::internal::CaptureStderr();
    // The notice names the file and the loader's reason.
    const std::vector<std::pair<const char*, const char*>> saves{
        {"/damaged.sav", "GAME_LOAD_FAILED\ndamaged.sav: Not a Veldar save file."},
        {"/empty.sav", "GAME_LOAD_FAILED\nempty.sav: Save file is too small / truncated."}};
    for (const auto& [save, text] : saves) {
        cfg.save_path = dir + save;
        EXPECT_EQ(start_chosen_game(m, cfg), text) << save;
        EXPECT_FALSE(m.game) << save;
    }
    cfg = NewGameConfig{};
    cfg.map_path = cut_map;
    EXPECT_EQ(start_chosen_game(m, cfg), "The map could not be loaded.\nCUT.MAP: MAP file too small to contain tile block");
    EXPECT_FALSE(m.game);
    cfg.mode = MODE_CAMPAIGN;
    cfg.map_path.clear();
    cfg.campaign_map_path = dir + "/NONE.CMP";
    EXPECT_EQ(start_chosen_game(m, cfg), "The map could not be loaded.\nNONE.CMP: Cannot open CMP: NONE.CMP");
    EXPECT_FALSE(m.game);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(start_chosen_game(m, NewGameConfig{}), "") << "no map named: the archive's, here the empty one";
    EXPECT_TRUE(m.game);
}

TEST_F(SavedGameTest, NewGameReplacesTheRunningOneOnlyWhenConfirmed) {
    push_key(SDLK_n);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_EQ(state().heroes.size(), 1u);
    push_key(SDLK_n);
    frames(1);
    push_key(SDLK_RETURN);
    frames(1);
    ASSERT_TRUE(m.game);
    EXPECT_EQ(map().name, "EMPTY") << "no archive: the empty map";
    EXPECT_TRUE(state().heroes.empty());
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

// What the loop asks of the sound players while a hero walks and a day turns.
TEST_F(LoopTest, SoundsFollowTheWalkAndTheDay) {
    make_game();
    const int h = add_hero(5, 5, 0);
    map().tile(5, 6)->ground = 110;
    m.audio_on = true;
    std::vector<int> steps, terrain, restarts;
    int day_start = 0, day_end = 0;
    m.sounds.footstep = [&](uint8_t ground, bool) { steps.push_back(ground); };
    m.sounds.terrain = [&](uint8_t ground) { terrain.push_back(ground); };
    m.sounds.terrain_restart = [&](int ground) { restarts.push_back(ground); };
    m.sounds.new_day_start = [&] { ++day_start; };
    m.sounds.new_day_end = [&] { ++day_end; };
    start_player_turn(m, 0);
    EXPECT_EQ(restarts, (std::vector<int>{30}));
    accept_dialogs();
    click_tile(5, 6);
    frames(1);
    click_tile(5, 6);
    frames(20);
    ASSERT_EQ(state().heroes[h].y, 6);
    EXPECT_EQ(steps, (std::vector<int>{30, 110})) << "one at the start of the step, one half-way";
    ASSERT_FALSE(terrain.empty());
    EXPECT_EQ(terrain.back(), 110);
    loop().hero_move_points[h] = 0;
    end_current_turn(m);  // seat 1 is a computer: its turn ends in the next frame
    frames(2);
    ASSERT_TRUE(g().new_day.active);
    EXPECT_EQ(day_start, 1);
    const size_t heard = terrain.size();
    frames(10);
    EXPECT_EQ(terrain.size(), heard) << "no map music during the new-day pause";
    frames((int)(kNewDayMs / 16.0f));
    EXPECT_EQ(day_end, 1);
    EXPECT_EQ(restarts.size(), 2u);
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

// A turn opens on the selected hero, or else on the first town: after the last hero is lost and after
// loading a save with no hero, not on unexplored ground in a corner.
TEST_F(SavedGameTest, ATurnOpensOnTheSelectedHeroOrElseTheFirstTown) {
    add_town(15, 16, 0);
    loop().view_x = loop().view_y = 0;
    start_player_turn(m, 0);
    accept_dialogs();
    EXPECT_EQ(loop().view_x, 5 * 32 + 17);
    EXPECT_EQ(loop().view_y, 5 * 32 + 16);

    remove_hero_from_map(m, hero, false);
    loop().view_x = loop().view_y = 0;
    start_player_turn(m, 0);
    accept_dialogs();
    EXPECT_EQ(loop().view_x, 15 * 32 + 17);
    EXPECT_EQ(loop().view_y, 16 * 32 + 16);

    push_key(SDLK_s);
    frames(1);
    accept_dialogs();
    ASSERT_FALSE(newest_save_path().empty());
    loop().view_x = loop().view_y = 0;
    push_key(SDLK_l);
    frames(1);
    push_key(SDLK_RETURN);
    frames(1);
    accept_dialogs();
    EXPECT_EQ(loop().selected_hero, -1);
    EXPECT_EQ(loop().view_x, 15 * 32 + 17);
    EXPECT_EQ(loop().view_y, 16 * 32 + 16);
}

}  // namespace
}  // namespace vorn1::test
