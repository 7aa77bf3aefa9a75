// Boats, the options copies, the window scale, mouse coordinates and tile fade-out geometry.
#include "battle/morale_luck.h"
#include "loop_fixture.h"
#include "mainloop/boats.h"
#include "mainloop/options.h"
#include "mainloop/transitions.h"
#include "mainloop/window_scale.h"
#include "temp_dir.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, ClearHeroBoatWithABadIndexStillClearsHeroAndCell) {
    make_game();
    const int a = add_hero(5, 5, 0);
    map().tile(5, 5)->ground = 5;
    state().heroes[a].on_boat = 1;
    state().heroes[a].boat_index = 7;  // no such boat
    map().tile(5, 5)->hero_on_boat = 1;
    map().tile(5, 5)->boat = 1;
    clear_hero_boat(state(), map(), a);
    EXPECT_EQ(state().heroes[a].on_boat, 0);
    EXPECT_EQ(state().heroes[a].boat_index, -1);
    const MapTile& t = *map().tile(5, 5);
    EXPECT_EQ(t.hero_figure + t.hero_frame + t.hero_on_boat + t.boat, 0);
    clear_hero_boat(state(), map(), 42);  // ignored
    clear_hero_boat(state(), map(), -1);
}

TEST_F(LoopTest, BoatAtTile) {
    make_game();
    map().tile(3, 3)->ground = 5;
    map().tile(4, 3)->ground = 5;
    state().boats.push_back(BoatState{1, 3, 3, -1, 0, -1});
    state().boats.push_back(BoatState{0, 4, 3, -1, 0, -1});
    EXPECT_TRUE(boat_at_tile(state(), map(), 3, 3));
    EXPECT_FALSE(boat_at_tile(state(), map(), 4, 3)) << "inactive record, empty water";
    map().tile(4, 3)->hero_figure = 1;
    EXPECT_TRUE(boat_at_tile(state(), map(), 4, 3)) << "a hero aboard without a record";
    add_hero(8, 8, 0);
    EXPECT_FALSE(boat_at_tile(state(), map(), 8, 8)) << "a hero on land";
    EXPECT_FALSE(boat_at_tile(state(), map(), -1, 3));
}

TEST(LoopOptions, CopiesClampsAndVolumesOnlyWithAudio) {
    ControlPanelSettings s;
    BattleScreen battle;
    EventSystem events;
    MoveSpeedDefaults speed;
    std::vector<int> music, sfx;
    OptionTargets t;
    t.battle = &battle;
    t.events = &events;
    t.speed = &speed;
    t.music_volume = [&](int v) { music.push_back(v); };
    t.sfx_volume = [&](int v) { sfx.push_back(v); };
    s.ab_spells = false;
    s.hex_outline = false;
    s.hero_horse = true;
    s.catapult_tower = true;
    s.enable_trade = true;
    s.bad_luck = true;
    s.move_speed = 7;
    apply_options(s, false, t);
    EXPECT_EQ(battle.opt_ab_spells, 0);
    EXPECT_EQ(battle.opt_hex_outline, 0);
    EXPECT_EQ(battle.opt_hero_horse, 1);
    EXPECT_EQ(battle.opt_catapult_tower, 1);
    EXPECT_TRUE(events.trade_enabled);
    EXPECT_TRUE(g_zizezo_bad_luck);
    EXPECT_EQ(speed.level, 4);
    EXPECT_EQ(speed.step_ms, 1);
    EXPECT_EQ(speed.footstep_variant, 2);
    EXPECT_TRUE(music.empty() && sfx.empty());
    s.move_speed = -3;
    s.bad_luck = false;
    s.music_level = 7;
    apply_options(s, true, t);
    EXPECT_EQ(speed.step_ms, 480);
    EXPECT_EQ(speed.footstep_variant, 0);
    EXPECT_FALSE(g_zizezo_bad_luck);
    EXPECT_EQ(music, (std::vector<int>{7}));
    EXPECT_EQ(sfx, (std::vector<int>{4}));
}

TEST(LoopWindow, ScaleStepsSkipWhatTheDisplayCannotShowAndWrap) {
    // A 1280 x 1024 desktop shows 2x but not 3x; a large one all three; 1x always counts.
    EXPECT_EQ(fitting_scale_index(1, 1280, 1024), 1);
    EXPECT_EQ(fitting_scale_index(2, 1280, 1024), 0);
    EXPECT_EQ(fitting_scale_index(2, 1920, 1440), 2);
    EXPECT_EQ(fitting_scale_index(1, 1279, 2000), 0);
    EXPECT_EQ(fitting_scale_index(1, 600, 400), 0);
    EXPECT_EQ(fitting_scale_index(-1, 0, 0), 2) << "unknown display: as asked";
    EXPECT_EQ(wrap_scale_index(-4), 2);
    EXPECT_EQ(wrap_scale_index(5), 2);

    // The dummy display is 1024 x 768: every step from 1x stays at 1x, placed on the display.
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Window* w = SDL_CreateWindow("t", 0, 0, 640, 480, 0);
    ASSERT_NE(w, nullptr);
    SDL_Rect area{};
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &area), 0);
    ASSERT_EQ(area.w, 1024);
    EXPECT_EQ(set_window_scale(w, nullptr, 1), 0);
    EXPECT_EQ(set_window_scale(w, nullptr, 2), 0);
    int x = 0, y = 0, ww = 0, wh = 0;
    SDL_GetWindowSize(w, &ww, &wh);
    SDL_GetWindowPosition(w, &x, &y);
    EXPECT_EQ(ww, 640);
    EXPECT_EQ(wh, 480);
    EXPECT_EQ(x, (1024 - 640) / 2);
    EXPECT_EQ(y, (768 - 480) / 2);
    SDL_DestroyWindow(w);
    SDL_Quit();
}

TEST(LoopWindow, MissingFontsAreNamedInTheStartUpWarning) {
    ASSERT_EQ(TTF_Init(), 0);
    TempDir lang("fonts");
    FontSet fonts;
    const std::vector<std::string> none = open_language_fonts(fonts, EN, lang.path.string());
    EXPECT_EQ(fonts.def, nullptr);
    EXPECT_EQ(none, (std::vector<std::string>{lang.path.string() + "/font_en.ttf",
                                               lang.path.string() + "/font_small_en.ttf"}));
    const std::string warning = missing_fonts_warning(none);
    EXPECT_NE(warning.find(none[0]), std::string::npos) << warning;
    EXPECT_NE(warning.find(none[1]), std::string::npos) << warning;
    EXPECT_NE(warning.find("LANG/"), std::string::npos) << warning;

    // With the large font only, text is drawn in it and the small one is still named.
    std::filesystem::copy_file(std::string(VORN1_FONT_DIR) + "/DejaVuSans.ttf", lang.path / "font_en.ttf");
    const std::vector<std::string> small = open_language_fonts(fonts, EN, lang.path.string());
    EXPECT_NE(fonts.def, nullptr);
    EXPECT_EQ(small, (std::vector<std::string>{lang.path.string() + "/font_small_en.ttf"}));
    fonts.close();
    EXPECT_EQ(missing_fonts_warning({}), "");
    TTF_Quit();
}

TEST(LoopWindow, WindowToLogicalThroughScaleAndViewport) {
    int lx = -1, ly = -1;
    window_to_logical(2.0f, 2.0f, SDL_Rect{0, 0, 640, 480}, 641, 479, lx, ly);
    EXPECT_EQ(lx, 320);
    EXPECT_EQ(ly, 239);
    window_to_logical(3.0f, 3.0f, SDL_Rect{10, 0, 640, 480}, 40, 9, lx, ly);
    EXPECT_EQ(lx, 3);
    EXPECT_EQ(ly, 3);
    lx = ly = 77;
    window_to_logical(0.0f, -1.0f, SDL_Rect{0, 0, 0, 0}, 5, 5, lx, ly);
    EXPECT_EQ(lx, 77);
    EXPECT_EQ(ly, 77);
}

TEST(LoopTransitions, FadeRectIsTheVisiblePartOfTheTile) {
    SDL_Rect r{};
    // px = (x + 8) * 32 - view x = -10: the tile's right 22 pixels show at x 0.
    ASSERT_TRUE(fade_rect_for_tile(0, 0, 266, 0, r));
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.w, 22);
    EXPECT_EQ(r.y, 256);
    EXPECT_EQ(r.h, 32);
    ASSERT_TRUE(fade_rect_for_tile(6, 0, 0, 0, r));  // px 448: cut at the view's right edge
    EXPECT_EQ(r.w, 479 - 448);
    EXPECT_FALSE(fade_rect_for_tile(0, 0, 288, 0, r)) << "px -32";
    EXPECT_FALSE(fade_rect_for_tile(7, 0, 0, 0, r)) << "px 480";
    EXPECT_FALSE(fade_rect_for_tile(0, 7, 0, 0, r)) << "py 480";
}

TEST_F(LoopTest, OffViewFadeOnlyPlaysItsSound) {
    make_game();
    std::vector<std::string> played;
    m.play_sound = [&](const std::string& s) { played.push_back(s); };
    m.audio_on = true;
    fade_out_map_tile(m, 19, 19, "KILLFADE.82M");  // far off the view at (0, 0)
    EXPECT_EQ(played, (std::vector<std::string>{"KILLFADE.82M"}));
    EXPECT_TRUE(loop().fadeouts.empty());
    m.audio_on = false;
    fade_out_map_tile(m, 19, 19, "KILLFADE.82M");
    m.audio_on = true;
    fade_out_map_tile(m, 19, 19, "");
    EXPECT_EQ(played.size(), 1u);
}

// On a computer's turn the screen shows the human's view: the human's beaten hero fades where that
// view shows it, not where the computer's own view would.
TEST_F(LoopTest, AFadeOnAComputersTurnIsPlacedInTheHumansView) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    m.renderer = SDL_CreateSoftwareRenderer(surface);
    make_game(40, 40);
    const int human = add_hero(5, 5, 0, 0);
    add_hero(35, 35, 1, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    ASSERT_EQ(loop().current_player, 1);
    remove_hero_from_map(m, human, true);
    ASSERT_EQ(loop().fadeouts.size(), 1u);
    SDL_Rect tile{};
    ASSERT_TRUE(fade_rect_for_tile(5, 5, loop().human_view.view_x, loop().human_view.view_y, tile));
    EXPECT_TRUE(SDL_RectEquals(&loop().fadeouts[0].rect, &tile));
    end_game(m);
    SDL_DestroyRenderer(m.renderer);
    m.renderer = nullptr;
    SDL_FreeSurface(surface);
}

}  // namespace
}  // namespace vorn1::test
