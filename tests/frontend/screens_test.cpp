// Front-end screens headless: menus, map list, set-up pages, alert, campaign pages; input is
// pushed after chosen frames and the presented pixels are read back.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "datakit/kit_battle_road.h"
#include "datakit/kit_frontend.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_maps.h"
#include "fe_fixture.h"
#include "frontend/campaign_screens.h"
#include "frontend/control_panel.h"
#include "frontend/fatal_notice.h"
#include "frontend/frontend_common.h"
#include "frontend/frontend_driver.h"
#include "frontend/hotseat_screen.h"
#include "frontend/map_discovery.h"
#include "frontend/map_select.h"
#include "frontend/menu_screen.h"
#include "frontend/options_dialogs.h"
#include "frontend/scen_info.h"
#include "frontend/setup_page.h"
#include "lang/lang_selector.h"
#include "town/army_view.h"
#include "town/heroscrn_tooltip.h"
#include "town/magegld_screen.h"
#include "town/spellbook.h"
#include "town/tavern_screen.h"
#include "world/game_state.h"

namespace vorn1 {
namespace {

using fe_test::Rgb;

class ScreensTest : public fe_test::FrontendTest {};

MapFileInfo named_map(const std::string& stem, int players = 1, uint8_t size = 0, uint8_t diff = 0) {
    MapFileInfo m;
    m.stem = stem;
    m.path = "maps/" + stem + ".MAP";
    m.name = stem;
    m.players = players;
    m.size = size;
    m.difficulty = diff;
    return m;
}

TEST_F(ScreensTest, MenuFallbacksEscapeAndEmptyRows) {
    auto archive = fe_test::make_archive({});
    const std::vector<MenuBtnDef> rows{{0, 1}, {2, 3}, {-1, -1}};
    Rgb panel, back;
    script({[&] {
        panel = px(400, 40);
        back = px(100, 100);
        push_key(SDLK_b);  // mapped to the empty row: nothing
        push_key(SDLK_c);  // mapped beyond the list: nothing
    },
            [] { push_key(SDLK_ESCAPE); }});
    const MenuKeys keys{{SDLK_b, 2}, {SDLK_c, 9}};
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", rows, nullptr, keys, false, nullptr,
                              nullptr),
              2);  // Escape: the last row even though it is empty
    EXPECT_EQ(panel, (Rgb{60, 0, 0}));
    EXPECT_EQ(back, (Rgb{20, 20, 40}));
}

TEST_F(ScreensTest, MenuChoosesOnlyOnPressAndReleaseOfOneButton) {
    auto archive = fe_test::make_archive({{"BTNMAIN.ICN", fe_test::sized_icn(std::vector<SDL_Point>(10, {20, 20}), 200)},
                                          {"REDBACK.BMP", fe_test::solid_bmp(210, 426, 30)}});
    const SDL_Rect b0 = menu_button_rect(0), b1 = menu_button_rect(1);
    Rgb button, panel;
    script({[&] {
        button = px(b0.x + 60, b0.y + 30);
        panel = px(400, 40);
        push_down(b0.x + 5, b0.y + 5);
        push_up(b1.x + 5, b1.y + 5);   // released on another button
        push_down(b1.x + 5, b1.y + 5);
        push_up(300, 300);              // released outside
    },
            [&] {
                push_down(b1.x + 1, b1.y + 1);
                push_up(b1.x + 126, b1.y + 62);
            }});
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), false, nullptr, nullptr),
              1);
    EXPECT_EQ(button, pal(200));  // frame stretched over the button's box
    EXPECT_EQ(panel, pal(30));
}

TEST_F(ScreensTest, MenuKeysAndQuitAfterARelease) {
    auto archive = fe_test::make_archive({});
    script({[] { push_key(SDLK_KP_ENTER); }});
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), false, nullptr, nullptr),
              0);
    // A choice made by a release is overruled by a quit in the same pass.
    const SDL_Rect b3 = menu_button_rect(3);
    script({[&] {
        push_down(b3.x + 2, b3.y + 2);
        push_up(b3.x + 2, b3.y + 2);
        push_quit();
    }});
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), false, nullptr, nullptr),
              -2);
}

TEST_F(ScreensTest, MissingDataIsSaidOnceOverTheTitleMenu) {
    fe_test::TempDir dir("notice");
    const std::string folder = dir.path.string() + "/";
    EXPECT_EQ(missing_data_notice(folder, ""),
              "The films folder ANIM is missing: the game plays without its films.\n"
              "The sounds folder SOUND is missing: the game plays without music.");
    std::filesystem::create_directories(dir.path / "anim");  // found whatever its case
    std::filesystem::create_directories(dir.path / "SOUND");
    EXPECT_EQ(missing_data_notice(folder, ""), "");
    EXPECT_EQ(missing_data_notice(folder, "No font."), "No font.");

    auto archive = fe_test::make_archive({});
    set_title_notice("No font.");
    Rgb frame, after;
    script({nullptr,
            [&] {
                frame = px(200, 150);  // the notice's frame over the menu
                push_key(SDLK_RETURN);
            },
            [&] {
                after = px(200, 150);
                push_key(SDLK_ESCAPE);
            }});
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), true, nullptr, nullptr),
              4);
    EXPECT_EQ(frame, (Rgb{72, 28, 100}));
    EXPECT_NE(after, frame) << "closed with Return";
    EXPECT_EQ(take_title_notice(), "") << "said once";

    // A window closed (or a termination) while the notice shows closes it and reaches the menu.
    set_title_notice("No font.");
    script({nullptr, [] { push_quit(); }});
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), true, nullptr, nullptr),
              -2);
}

TEST_F(ScreensTest, LanguageBoxCyclesOnlyWithTitleExtrasAndACallback) {
    auto archive = fe_test::make_archive({});
    std::vector<Language> seen;
    const FullscreenCallback fullscreen = [] {};
    const LanguageCallback language = [&](Language l, TTF_Font*&, TTF_Font*&) {
        seen.push_back(l);
        g_language = l;
    };
    NgCallbackScope scope(&fullscreen, &language);
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < 12; ++i) steps.push_back([] { push_click(20, 15); });
    steps.push_back([] { push_key(SDLK_l); });
    script(steps);
    EXPECT_EQ(run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr,
                              main_menu_keys(), true, nullptr, nullptr),
              1);
    ASSERT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen.front(), RU);
    EXPECT_EQ(seen.back(), EN);
    EXPECT_EQ(g_language, EN);

    seen.clear();
    script({[] { push_click(20, 15); }, [] { push_key(SDLK_ESCAPE); }});
    run_menu_screen(r, *archive, palette, nullptr, "BTNMAIN.ICN", main_menu_buttons(), nullptr, main_menu_keys(),
                    false, nullptr, nullptr);
    EXPECT_TRUE(seen.empty());
}

TEST_F(ScreensTest, MapListScrollsAndConfirmsWithReturn) {
    auto archive = fe_test::make_archive({});
    std::vector<MapFileInfo> maps;
    for (int i = 0; i < 20; ++i) maps.push_back(named_map("M" + std::to_string(100 + i)));

    MapListView v = MapListView::open(20, 16, -1);
    EXPECT_EQ(v.visible, 12);
    for (int i = 0; i < 12; ++i) v.key_down();
    EXPECT_EQ(v.selection, 12);
    EXPECT_EQ(v.top, 1);
    EXPECT_EQ(MapListView::open(20, 16, 15).top, 4);
    v.wheel(1);
    EXPECT_EQ(v.top, 0);
    v.wheel(1);
    EXPECT_EQ(v.top, 0);
    v.track_click(215);
    EXPECT_EQ(v.top, 8);
    v.track_click(54);
    EXPECT_EQ(v.top, 0);
    MapListView up = MapListView::open(20, 16, 15);
    for (int i = 0; i < 12; ++i) up.key_up();
    EXPECT_EQ(up.selection, 3);
    EXPECT_EQ(up.top, 3) << "the view follows the selection up";
    MapListView few = MapListView::open(5, 16, 2);
    few.wheel(-3);
    EXPECT_EQ(few.top, 0);
    for (int i = 0; i < 4; ++i) few.key_down();
    EXPECT_EQ(few.selection, 4) << "the last map stays selected";
    EXPECT_STREQ(map_difficulty_key(0), "NEWGAME_EASY");
    EXPECT_STREQ(map_difficulty_key(3), "NEWGAME_IMPOSSIBLE");

    // Return takes the highlighted map.
    script({[] {
        for (int i = 0; i < 12; ++i) push_key(SDLK_DOWN);
        push_key(SDLK_RETURN);
    }});
    EXPECT_EQ(run_map_select_screen(r, *archive, palette, nullptr, nullptr, maps, -1, nullptr), 12);

    // Initial 15 shows rows 4..15: a click on the first visible row picks 4.
    auto with_panel = fe_test::make_archive({{"REQUEST.BMP", fe_test::solid_bmp(300, 280, 40)}});
    script({[] { push_click(370, 44 + 3); }, [] { push_key(SDLK_RETURN); }});
    EXPECT_EQ(run_map_select_screen(r, *with_panel, palette, nullptr, nullptr, maps, 15, nullptr), 4);

    Rgb panel;
    script({[&] {
        panel = px(320, 10);
        push_key(SDLK_ESCAPE);
    }});
    EXPECT_EQ(run_map_select_screen(r, *archive, palette, nullptr, nullptr, maps, 3, nullptr), -1);
    EXPECT_EQ(panel, (Rgb{30, 30, 30}));
}

TEST_F(ScreensTest, MapListButtons) {
    // REQUEST 300 x 280: OK at (348, 280 - 27 - 20), Cancel at (300 + 276 - 40, same y).
    std::vector<SDL_Point> sizes(25, {40, 20});
    auto archive = fe_test::make_archive({{"REQUEST.BMP", fe_test::solid_bmp(300, 280, 40)},
                                          {"NEWGAME.ICN", fe_test::sized_icn(sizes)}});
    const std::vector<MapFileInfo> maps{named_map("A"), named_map("B"), named_map("C")};
    script({[] {
        push_key(SDLK_DOWN);
        push_down(350, 240);  // OK pressed ...
        push_up(200, 240);    // ... released outside: nothing
        push_down(540, 240);  // Cancel pressed, released anywhere: cancel
        push_up(10, 10);
    }});
    EXPECT_EQ(run_map_select_screen(r, *archive, palette, nullptr, nullptr, maps, 0, nullptr), -1);
    script({[] {
        push_key(SDLK_DOWN);
        push_key(SDLK_DOWN);
        push_down(350, 240);
        push_up(387, 252);
    }});
    EXPECT_EQ(run_map_select_screen(r, *archive, palette, nullptr, nullptr, maps, 0, nullptr), 2);
}

TEST_F(ScreensTest, AlertDrawsItsSubstitutesAndKeepsOnReleaseOutside) {
    auto archive = fe_test::make_archive({});
    int redraws = 0, scale_steps = 0;
    Rgb box, button;
    const FullscreenCallback scale = [&scale_steps] { ++scale_steps; };
    script({[&] {
        box = px(180, 140);
        button = px(290, 314);
        push_down(300, 320);
        push_up(100, 100);  // released outside the button: stays
    },
            [] { push_key(SDLK_F11); },  // no window-scale callable: stays
            [&] {
                // A held F11 steps the scale once and stays.
                g_ng_fullscreen_cb = &scale;
                push_key(SDLK_F11);
                push_key(SDLK_F11, true);
                push_key(SDLK_F11, true);
            },
            [] { push_click(300, 320); }});
    show_alert(r, nullptr, "text", *archive, palette, [&] { ++redraws; });
    g_ng_fullscreen_cb = nullptr;
    EXPECT_EQ(redraws, 4);
    EXPECT_EQ(scale_steps, 1);
    EXPECT_EQ(box, (Rgb{72, 28, 100}));
    EXPECT_EQ(button, (Rgb{180, 140, 40}));
}

TEST_F(ScreensTest, ALongAlertWrapsInsideItsFrame) {
    auto archive = fe_test::make_archive({});
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", 16);
    ASSERT_NE(font, nullptr);
    int outside = -1, inside = 0;
    script({[&] {
        outside = inside = 0;
        for (int y = 132; y < 347; ++y) {
            for (int x = 0; x < 640; ++x) {
                const bool lit = px(x, y) != Rgb{0, 0, 0};
                if (x < 177 || x >= 463) outside += lit;
                else inside += lit;
            }
        }
        push_key(SDLK_ESCAPE);
    }});
    show_alert(r, font, "You have been defeated. The game is lost, and every town and hero with it.", *archive,
               palette, [] {
                   SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
                   SDL_RenderClear(r);
               });
    EXPECT_EQ(outside, 0) << "the text runs out of the frame";
    EXPECT_GT(inside, 0);

    // Every notice of the title at once (a font, the catalogue, no films, no music): the frame grows by whole
    // rows, stays on the screen, and the text ends above the OK button.
    const AlertLayout usual = alert_layout(3 * TTF_FontLineSkip(font), {66, 25});
    EXPECT_EQ(usual.rows, 2);
    EXPECT_EQ(usual.frame.y, 132);
    EXPECT_EQ(usual.button.y, 311);
    const std::string all =
        "The small font was not found: LANG/font_small_en.ttf, LANG/font_small_ru.ttf. Texts use the main font.\n"
        "LANG/strings_en.json is not valid JSON and left out: texts show as their keys.\n"
        "The films folder ANIM is missing: the game plays without its films.\n"
        "The sounds folder SOUND is missing: the game plays without music.";
    const int lines = static_cast<int>(text::wrap_pixels(font, all, 256).size());
    const AlertLayout tall = alert_layout(lines * TTF_FontLineSkip(font), {66, 25});
    EXPECT_GT(tall.rows, 2);
    EXPECT_GE(tall.frame.y, 0);
    EXPECT_LE(tall.frame.y + tall.frame.h, 480);
    int lowest_text = -1;
    script({[&] {
        for (int y = 0; y < 480; ++y)
            for (int x = 177; x < 463; ++x)
                if (px(x, y) == Rgb{255, 255, 255} && !(y >= tall.button.y && y < tall.button.y + tall.button.h))
                    lowest_text = y;
        push_key(SDLK_ESCAPE);
    }});
    show_alert(r, font, all, *archive, palette, [] {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
    });
    TTF_CloseFont(font);
    EXPECT_GT(lowest_text, tall.frame.y);
    EXPECT_LT(lowest_text, tall.button.y) << "the text runs behind the OK button";
}

// The start-up notice takes no frame hook: its input comes from a timer, one event at a time once the
// one before has been taken. A notice still open well after the script is closed by the window, and says so.
struct NoticeInput {
    std::vector<SDL_Event> steps;
    std::atomic<int> pushed{0};
    std::atomic<int> idle{0};
    static Uint32 tick(Uint32 interval, void* p) {
        auto* s = static_cast<NoticeInput*>(p);
        if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL) > 0) return interval;
        if (s->pushed < static_cast<int>(s->steps.size())) {
            SDL_PushEvent(&s->steps[static_cast<std::size_t>(s->pushed++)]);
        } else if (++s->idle == 100) {
            SDL_Event e{};
            e.type = SDL_QUIT;
            SDL_PushEvent(&e);
        }
        return interval;
    }
};

TEST_F(ScreensTest, FatalNoticeClosesOnAFreshKeyOrAWholeClick) {
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", 16);
    ASSERT_NE(font, nullptr);
    EXPECT_FALSE(run_fatal_notice(r, nullptr, nullptr, "No font.")) << "nothing shown: the caller falls back";
    SDL_Event key{}, repeat{}, down{}, up{};
    key.type = repeat.type = SDL_KEYDOWN;
    key.key.keysym.sym = repeat.key.keysym.sym = SDLK_RETURN;
    repeat.key.repeat = 1;
    down.type = SDL_MOUSEBUTTONDOWN;
    up.type = SDL_MOUSEBUTTONUP;
    down.button.button = up.button.button = SDL_BUTTON_LEFT;
    // Closed by the last step and not before, true so that no system box follows. The inputs outlive the
    // timers, whose last call may still run as they are removed.
    NoticeInput click_input, key_input;
    auto shown = [&](NoticeInput& in, std::vector<SDL_Event> steps) {
        in.steps = std::move(steps);
        const SDL_TimerID timer = SDL_AddTimer(40, NoticeInput::tick, &in);
        const bool closed = run_fatal_notice(r, font, font, "The archive VELDAR.AGG is damaged.");
        SDL_RemoveTimer(timer);
        EXPECT_EQ(in.pushed, static_cast<int>(in.steps.size()));
        EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL), 0) << "closed too early";
        EXPECT_LT(in.idle, 100) << "input did not close it";
        return closed;
    };
    // A key and a press from before the notice are dropped; a release alone, a held key's repeat do not close it.
    push(key);
    push(down);
    EXPECT_TRUE(shown(click_input, {up, repeat, down, up}));
    int text = 0;
    for (int x = 36; x < 604; ++x)
        for (int y = 56; y < 424; ++y) text += px(x, y) == Rgb{255, 255, 255};
    EXPECT_GT(text, 0) << "the notice's text";
    EXPECT_TRUE(shown(key_input, {up, key}));
    TTF_CloseFont(font);
}

TEST_F(ScreensTest, LoadersReportMissingAndKeepEmptyFrames) {
    auto archive = fe_test::make_archive({{"SET.ICN", fe_test::sized_icn({{4, 4}, {0, 0}, {3, 2}})},
                                          {"BAD.ICN", kit::Bytes{1, 2}},
                                          {"BAD.BMP", kit::Bytes{9, 9, 9}}});
    ::testing::internal::CaptureStderr();
    FrameList none = load_icn_frames(r, *archive, palette, "NONE.ICN");
    FrameList bad = load_icn_frames(r, *archive, palette, "BAD.ICN");
    SDL_Texture* bad_bmp = load_bmp_tex(r, *archive, palette, "BAD.BMP");
    SDL_Texture* no_bmp = load_bmp_tex(r, *archive, palette, "NONE.BMP");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(bad.empty());
    EXPECT_EQ(bad_bmp, nullptr);
    EXPECT_EQ(no_bmp, nullptr);
    EXPECT_NE(err.find("newgame: missing NONE.ICN in AGG\n"), std::string::npos);
    EXPECT_NE(err.find("newgame: decode BAD.ICN: "), std::string::npos);
    EXPECT_NE(err.find("newgame: decode BAD.BMP: "), std::string::npos);
    EXPECT_NE(err.find("newgame: missing NONE.BMP in AGG\n"), std::string::npos);

    OwnedFrames set(load_icn_frames(r, *archive, palette, "SET.ICN"));
    ASSERT_EQ(set.count(), 3);
    EXPECT_NE(set.at(0), nullptr);
    EXPECT_EQ(set.at(1), nullptr);
    EXPECT_EQ(tex_size(set.at(2)).x, 3);
    EXPECT_EQ(set.size_or(1, {60, 60}).x, 60);
}

TEST_F(ScreensTest, StandardPageRefusesWithoutOpponentsAndStartsWithDefaults) {
    auto archive = fe_test::make_archive({});
    const std::vector<MapFileInfo> maps{named_map("BEM20234", 4, 2, 3), named_map("AES31000")};
    // Default layout (60 x 60 frames, 322 x 459 panel): opponents at x 375, 442, 509, y 155.
    NewGameConfig config;
    Rgb alert;
    bool page_after = false;
    script({[] {
        for (int x : {375, 442, 509})
            for (int i = 0; i < 3; ++i) push_click(x + 5, 160);  // average -> smart -> genius -> none
    },
            [] { push_key(SDLK_RETURN); },
            [&] {
                alert = px(180, 140);
                push_key(SDLK_ESCAPE);  // dismisses the alert only
            },
            [&] {
                page_after = px(180, 140) != Rgb{72, 28, 100};
                push_key(SDLK_ESCAPE);
            }});
    EXPECT_EQ(run_standard_setup_page(r, *archive, palette, nullptr, nullptr, nullptr, maps, config),
              SetupOutcome::Cancel);
    EXPECT_EQ(alert, (Rgb{72, 28, 100}));
    EXPECT_TRUE(page_after);
    EXPECT_EQ(config.map_stem, "");

    Rgb ok_button;
    script({[&] {
        ok_button = px(340, 390);
        push_key(SDLK_RETURN);
    }});
    EXPECT_EQ(run_standard_setup_page(r, *archive, palette, nullptr, nullptr, nullptr, maps, config),
              SetupOutcome::Start);
    EXPECT_EQ(ok_button, (Rgb{140, 100, 20}));
    EXPECT_EQ(config.mode, MODE_STANDARD);
    EXPECT_EQ(config.map_stem, "AES31000");
    EXPECT_EQ(config.difficulty_rating, 50);
    EXPECT_EQ(config.color, 2);
    EXPECT_EQ(config.opponents, (std::array<OpponentDifficulty, 3>{OPP_AVERAGE, OPP_AVERAGE, OPP_AVERAGE}));

    NewGameConfig closed;
    script({[] { push_quit(); }});
    EXPECT_EQ(run_standard_setup_page(r, *archive, palette, nullptr, nullptr, nullptr, maps, closed),
              SetupOutcome::Quit);
    EXPECT_TRUE(closed.quit);

    // The kit's Battle Field has two seats: None, Average, Average leaves its defeat-all goal no rival, and
    // the page stays until Escape; so does the archive's two-seat demo map, played when the maps folder is
    // empty, and the empty map played when the archive has none. All three None is refused on Last Stand
    // too, though its capture goal needs no rival.
    fe_test::TempDir dir("setup_rival");
    const std::string battle = dir.dir() + kit::kBattleMapFile, last_stand = dir.dir() + kit::KIT_QUICK_WIN_FILE;
    ASSERT_TRUE(kit::write_map_file(battle, kit::make_battle_map()));
    ASSERT_TRUE(kit::write_map_file(last_stand, kit::make_quick_win_map()));
    auto with_demo = fe_test::make_archive({{"DEMO.MAP", kit::demo_map_bytes()}});
    const struct {
        const char* what;
        AggArchive* archive;
        std::vector<MapFileInfo> maps;
        int slot_clicks;  // each opponent slot clicked this many times from average (3: none)
        int slots;
    } refusals[] = {
        {"Battle Field, None Average Average", archive.get(), {read_map_info(battle)}, 3, 1},
        {"the demo map, None Average Average", with_demo.get(), {}, 3, 1},
        {"Last Stand, all None", archive.get(), {read_map_info(last_stand)}, 3, 3},
        {"no maps and no demo map: the empty map, where the first seat holds nothing", archive.get(), {}, 0, 1},
    };
    for (const auto& row : refusals) {
        NewGameConfig refused_config;
        Rgb refused;
        script({[&] {
            for (int x : {375, 442, 509}) {
                if (x > 375 + 67 * (row.slots - 1)) break;
                for (int i = 0; i < row.slot_clicks; ++i) push_click(x + 5, 160);
            }
        },
                [] { push_key(SDLK_RETURN); },
                [&] { refused = px(180, 140); push_key(SDLK_ESCAPE); },
                [] { push_key(SDLK_ESCAPE); }});
        EXPECT_EQ(run_standard_setup_page(r, *row.archive, palette, nullptr, nullptr, nullptr, row.maps, refused_config),
                  SetupOutcome::Cancel)
            << row.what;
        EXPECT_EQ(refused, (Rgb{72, 28, 100})) << row.what;
        EXPECT_EQ(refused_config.map_stem, "") << row.what;
    }
}

TEST_F(ScreensTest, StandardPageClicksAndTheMapList) {
    // Frames of 40 x 40, a 150 x 20 scenario box and 80 x 22 buttons.
    std::vector<SDL_Point> sizes(29, {40, 40});
    sizes[18] = {150, 20};
    for (int i : {21, 22, 23, 24}) sizes[i] = {80, 22};
    auto archive = fe_test::make_archive({{"NEWGAME.ICN", fe_test::sized_icn(sizes)}});
    const std::vector<MapFileInfo> maps{named_map("AES31000"), named_map("BEM20234", 4, 1, 1)};
    const StandardLayout l = StandardLayout::from_sizes({322, 459}, {40, 40}, {40, 40}, {40, 40}, {150, 20}, {80, 22},
                                                        {40, 40});
    ASSERT_EQ(l.button_y, 425);
    ASSERT_EQ(l.SL, 296);
    NewGameConfig config;
    script({[&] {
        push_click(l.diff_x[3] + 1, 49);             // expert
        push_click(l.gem_x + 1, l.gem_y + 1);        // colour 2 -> 3
        push_click(l.koth_x + 1, l.koth_y + 1);      // King of the Hill on
        push_down(336, l.SL + 20);                   // the scenario box opens the map list on release
        push_up(10, 10);
    },
            [] {  // the map list
                push_key(SDLK_DOWN);
                push_key(SDLK_RETURN);
            },
            [&] {
                push_down(340, l.button_y + 5);  // OK released outside: nothing
                push_up(10, 10);
            },
            [&] { push_click(340, l.button_y + 5); }});
    EXPECT_EQ(run_standard_setup_page(r, *archive, palette, nullptr, nullptr, nullptr, maps, config),
              SetupOutcome::Start);
    EXPECT_EQ(config.difficulty, DIFF_EXPERT);
    EXPECT_EQ(config.color, 3);
    EXPECT_EQ(config.king_of_the_hill, 1);
    EXPECT_EQ(config.map_stem, "BEM20234");
    EXPECT_EQ(config.difficulty_rating, 20 + 60 + 10 + 10 + 10);
    EXPECT_EQ(g_last_standard_map_stem, "BEM20234");
    g_last_standard_map_stem.clear();

    // The press order: a faction box press steps the faction by one.
    StandardSetup s;
    s.faction = 3;
    for (const SetupPress& p : standard_page_hits(l, l.fac_x + 23, l.fac_y + 21)) apply_standard_press(s, p);
    EXPECT_EQ(s.faction, 0);
    EXPECT_TRUE(standard_page_hits(l, l.fac_x + 24, l.fac_y).empty());
    EXPECT_TRUE(standard_page_hits(l, l.diff_x[0], 48).empty());
    EXPECT_EQ(standard_page_hits(l, l.diff_x[0], 49).front().hit, SetupHit::Difficulty);
}

TEST_F(ScreensTest, HotseatScreenFillsSeatsAndRefusesWithoutMaps) {
    auto archive = fe_test::make_archive({});
    const std::vector<MapFileInfo> maps{named_map("AES31000"), named_map("KNS21234", 4, 1, 0)};
    NewGameConfig config;
    const HotseatLayout l = HotseatLayout::from_sizes({322, 459}, {60, 60}, {60, 60}, {60, 60}, {60, 60}, {60, 60},
                                                      {60, 60}, {60, 60}, {60, 60});
    script({[&] {
        push_click(l.slot_x[0] + 1, l.slot_y + 1);  // the human slot: easy -> normal
        push_click(l.slot_x[2] + 1, l.slot_y + 1);  // computer: average -> smart
        push_key(SDLK_RETURN);
    }});
    ASSERT_TRUE(run_mp_config_screen(r, *archive, palette, nullptr, nullptr, 2, maps, config, nullptr));
    EXPECT_EQ(config.mode, MODE_HOTSEAT);
    EXPECT_EQ(config.map_stem, "KNS21234");
    EXPECT_EQ(config.seats[1].kind, SEAT_HUMAN);
    EXPECT_EQ(config.seats[1].difficulty, 1);
    EXPECT_EQ(config.seats[3].ai_level, OPP_SMART);
    EXPECT_EQ(config.difficulty_rating, -10 + 20 + 20 + 25 + 10);
    // Cancel by the mouse: a press and a release on it end the page with nothing set.
    NewGameConfig cancelled;
    script({[&] { push_click(l.pw + 288 - l.w23.x + 1, l.button_y + 1); }});
    EXPECT_FALSE(run_mp_config_screen(r, *archive, palette, nullptr, nullptr, 2, maps, cancelled, nullptr));
    EXPECT_EQ(cancelled.mode, MODE_STANDARD);

    NewGameConfig none;
    Rgb alert;
    script({[] { push_key(SDLK_RETURN); }, [&] {
                alert = px(180, 140);
                push_key(SDLK_RETURN);
            },
            [] { push_key(SDLK_ESCAPE); }});
    EXPECT_FALSE(run_mp_config_screen(r, *archive, palette, nullptr, nullptr, 3, {named_map("AES31000")}, none,
                                      nullptr));
    EXPECT_EQ(alert, (Rgb{72, 28, 100}));
    EXPECT_EQ(none.mode, MODE_STANDARD);

    // Battle Field's rival moved to the third seat: the second player holds nothing, so with the third
    // seat's computer switched off nobody has a rival.
    GameMap far_rival = kit::make_battle_map();
    for (MapObject& o : far_rival.objects)
        if (o.owner == 1) o.owner = 2;
    fe_test::TempDir dir("hotseat_rival");
    ASSERT_TRUE(kit::write_map_file(dir.dir() + "OWNM1230.MAP", far_rival));
    NewGameConfig lone;
    Rgb refused;
    script({[&] {
        for (int i = 0; i < 3; ++i) push_click(l.slot_x[1] + 1, l.slot_y + 1);  // average -> none
    },
            [] { push_key(SDLK_RETURN); },
            [&] { refused = px(180, 140); push_key(SDLK_ESCAPE); },
            [] { push_key(SDLK_ESCAPE); }});
    EXPECT_FALSE(run_mp_config_screen(r, *archive, palette, nullptr, nullptr, 2,
                                      {read_map_info(dir.dir() + "OWNM1230.MAP")}, lone, nullptr));
    EXPECT_EQ(refused, (Rgb{72, 28, 100}));
    EXPECT_EQ(lone.mode, MODE_STANDARD);
}

TEST_F(ScreensTest, HotseatWindowCloseEndsTheProcess) {
    // The child is a fresh run of this binary, not a fork beside SDL's threads.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto archive = fe_test::make_archive({});
    NewGameConfig config;
    EXPECT_EXIT(
        {
            fe_test::g_exit_is_failure = false;
            script({[] { push_quit(); }});
            run_mp_config_screen(r, *archive, palette, nullptr, nullptr, 2, {}, config, nullptr);
            std::exit(5);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ScreensTest, CampaignChoiceNeedsOneWholeClick) {
    auto archive = fe_test::make_archive({});
    const SDL_Rect orig = menu_button_rect(0), spirit = menu_button_rect(1);
    Rgb face, cancel;
    script({[&] {
        face = px(495, orig.y + 31);
        cancel = px(434, menu_button_rect(4).y + 2);
        push_down(spirit.x + 3, spirit.y + 3);
        push_up(orig.x + 3, orig.y + 3);
    },
            [&] { push_click(orig.x + 3, orig.y + 3); }});
    EXPECT_EQ(run_campaign_choice_menu(r, *archive, palette, nullptr, nullptr, nullptr), 0);
    EXPECT_NE(face, (Rgb{20, 20, 40}));           // the built-in picture
    EXPECT_EQ(cancel, (Rgb{180, 140, 40}));       // no Cancel frames: the drawn button
    script({[] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run_campaign_choice_menu(r, *archive, palette, nullptr, nullptr, nullptr), -1);
    script({[] { push_quit(); }});
    EXPECT_EQ(run_campaign_choice_menu(r, *archive, palette, nullptr, nullptr, nullptr), -2);
}

TEST_F(ScreensTest, AnnouncementAndVictoryPages) {
    auto archive = fe_test::make_archive({});
    EXPECT_EQ(announcement_ok_rect({99, 28}).x, 270);
    EXPECT_EQ(announcement_ok_rect({101, 30}).x, 269);
    Rgb panel, button;
    script({[&] {
        panel = px(110, 100);
        button = px(272, 338);
        push_key(SDLK_RETURN);
    }});
    EXPECT_TRUE(run_campaign_scenario_screen(r, *archive, palette, nullptr, nullptr, 3));
    EXPECT_EQ(panel, (Rgb{30, 20, 60}));
    EXPECT_EQ(button, (Rgb{180, 140, 40}));
    script({[] { push_quit(); }});
    EXPECT_FALSE(run_spirit_scenario_screen(r, *archive, palette, nullptr, nullptr, 9));

    int frames = 0;
    Rgb clear;
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    frontend_frame_hook() = [&] {
        if (frames++ == 0) clear = px(5, 5);
        push_button(SDL_MOUSEBUTTONUP, 600, 10, SDL_BUTTON_RIGHT);
    };
    EXPECT_TRUE(run_campaign_congrats_screen(r, *archive, palette, nullptr, NewGameConfig{}));
    EXPECT_EQ(frames, 2);  // the dismissing pass draws its frame too
    EXPECT_EQ(clear, (Rgb{20, 10, 35}));
    // A closed window ends the page and goes on to the screen beneath.
    script({[] { push_quit(); }});
    EXPECT_FALSE(run_campaign_congrats_screen(r, *archive, palette, nullptr, NewGameConfig{}));
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
}

TEST_F(ScreensTest, VictoryStepEndsASpiritCampaignWithoutAnnouncement) {
    auto archive = fe_test::make_archive({});
    NewGameConfig c;
    c.campaign_id = CAMPAIGN_SPIRIT_WORLD;
    c.campaign_maps = {"m/CMPG1.CMP", "m/CMPF2.CMP", "m/CMPP3.CMP", "m/CMPS4.CMP"};
    c.scenario_index = 3;
    c.campaign_map_path = c.campaign_maps[3];
    int frames = 0;
    frontend_frame_hook() = [&] { ++frames; };
    const NewGameConfig done = run_campaign_victory_screen(r, *archive, palette, nullptr, c, CampaignCarryover{}, false);
    EXPECT_TRUE(done.quit);
    EXPECT_EQ(frames, 0);

    // Original campaign with lord 0 at CAMP4: the announcement of scenario 6 is closed with Return.
    NewGameConfig o;
    o.campaign_maps = {"CAMP1.CMP", "CAMP2.CMP", "CAMP3.CMP", "CAMP4.CMP", "CAMP6.CMP"};
    o.scenario_index = 3;
    o.campaign_map_path = "CAMP4.CMP";
    script({[] { push_key(SDLK_RETURN); }});
    const NewGameConfig next = run_campaign_victory_screen(r, *archive, palette, nullptr, o, CampaignCarryover{}, false);
    EXPECT_FALSE(next.quit);
    EXPECT_EQ(next.scenario_index, 4);
    EXPECT_EQ(next.campaign_map_path, "CAMP6.CMP");
}

// The page between scenarios is the next scenario's announcement of the campaign being played: its
// picture (the sprite set's frame 4 + row) is the spirit world's own row there, the scenario's row in
// the original campaign.
TEST_F(ScreensTest, VictoryStepAnnouncesTheNextScenarioOfItsOwnCampaign) {
    std::vector<kit::IcnFrame> frames(10);
    for (int i = 0; i < 10; ++i) frames[(size_t)i].pixels = kit::IndexGrid(8, 8, static_cast<uint8_t>(100 + i));
    auto archive = fe_test::make_archive({{"CAMPAIGN.ICN", kit::write_icn(frames)}});
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", 16);
    ASSERT_NE(font, nullptr);
    // How many of the picture's pixels (the title may cross it) show each frame's colour.
    const auto picture_after = [&](const NewGameConfig& won) {
        std::vector<int> seen(10);
        script({[&] {
            for (int y = 141; y < 149; ++y)
                for (int x = 256; x < 264; ++x)
                    for (int i = 0; i < 10; ++i) {
                        const Color& c = palette[(size_t)(100 + i)];
                        if (px(x, y) == Rgb{c.r, c.g, c.b}) ++seen[(size_t)i];
                    }
            push_key(SDLK_RETURN);
        }});
        run_campaign_victory_screen(r, *archive, palette, font, won, CampaignCarryover{}, false);
        return seen;
    };
    const auto only = [](int frame) {
        std::vector<int> v(10);
        v[(size_t)frame] = 1;
        return v;
    };
    const auto shown = [](const std::vector<int>& seen) {
        std::vector<int> v(seen.size());
        for (size_t i = 0; i < seen.size(); ++i) v[i] = seen[i] > 0;
        return v;
    };
    NewGameConfig spirit;
    spirit.campaign_id = CAMPAIGN_SPIRIT_WORLD;
    spirit.campaign_maps = {"m/CMPG1.CMP", "m/CMPF2.CMP", "m/CMPP3.CMP", "m/CMPS4.CMP"};
    spirit.campaign_map_path = spirit.campaign_maps[0];
    EXPECT_EQ(shown(picture_after(spirit)), only(4 + 1));  // the spirit world's second
    NewGameConfig lord;
    lord.campaign_maps = {"CAMP1.CMP", "CAMP2.CMP", "CAMP3.CMP", "CAMP4.CMP", "CAMP6.CMP"};
    lord.scenario_index = 3;
    lord.campaign_map_path = "CAMP4.CMP";
    EXPECT_EQ(shown(picture_after(lord)), only(4 + 5));  // scenario 6
    TTF_CloseFont(font);
}

// What one key does on a screen that is up. Each screen takes the keys its own rules name and no
// others: the keypad's Enter is not Return where Return is named, and a key a screen leaves alone
// stays with it or goes on to the screen beneath.
enum class KeyEffect { Stays, Closes, Yes, Passes };

TEST_F(ScreensTest, EachScreenTakesOnlyItsOwnKeys) {
    auto archive = fe_test::make_archive({});
    ::testing::internal::CaptureStderr();
    const Resources res(r, fe_test::make_archive({}));
    ::testing::internal::GetCapturedStderr();
    const auto key = [](SDL_Keycode k) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        return e;
    };
    // A modal screen gets the key and, after its next frame, `closer`; it stayed when it took the closer
    // (a screen that ended on the key may still draw a last frame, leaving the closer queued).
    const auto modal = [&](SDL_Keycode k, SDL_Keycode closer, const std::function<void()>& run) {
        bool pushed = false;
        script({[k] { push_key(k); }, [&pushed, closer] {
                    pushed = true;
                    push_key(closer);
                }});
        run();
        const bool left = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN) > 0;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        return pushed && !left ? KeyEffect::Stays : KeyEffect::Closes;
    };
    using Screen = std::function<KeyEffect(SDL_Keycode)>;
    // The spellbook's notice when the hero knows no spell, or a spell's description over it.
    const auto spellbook = [&](SDL_Keycode k, bool description) {
        HeroState hero;
        SpellbookState book;
        open_spellbook(book, hero, SB_VIEW);
        if (description) {
            book.no_spells = false;
            book.detail_open = book.detail_has_ok = true;
        }
        handle_spellbook_event(key(k), book, hero);
        return (description ? book.detail_open : book.no_spells) ? KeyEffect::Stays : KeyEffect::Closes;
    };
    const std::map<std::string, Screen> screens{
        {"map list",
         [&](SDL_Keycode k) {
             int taken = -1;
             const KeyEffect e = modal(k, SDLK_ESCAPE, [&] {
                 taken = run_map_select_screen(r, *archive, palette, nullptr, nullptr, {named_map("A"), named_map("B")},
                                               1, nullptr);
             });
             return e == KeyEffect::Closes && taken == 1 ? KeyEffect::Yes : e;
         }},
        {"story page",
         [&](SDL_Keycode k) {
             return modal(k, SDLK_RETURN, [&] { run_campaign_scenario_screen(r, *archive, palette, nullptr, nullptr, 3); });
         }},
        {"victory page",
         [&](SDL_Keycode k) {
             return modal(k, SDLK_RETURN, [&] { run_campaign_congrats_screen(r, *archive, palette, nullptr, NewGameConfig{}); });
         }},
        {"yes/no question",
         [&](SDL_Keycode k) {
             bool yes = false;
             const KeyEffect e = modal(k, SDLK_n, [&] { yes = run_buybuild_confirm(r, res, nullptr, nullptr, "Quit?", nullptr); });
             return yes ? KeyEffect::Yes : e;
         }},
        {"restart question",
         [&](SDL_Keycode k) {
             bool yes = false;
             const KeyEffect e = modal(k, SDLK_n, [&] { yes = run_restart_question(r, res, nullptr, nullptr); });
             return yes ? KeyEffect::Yes : e;
         }},
        {"control panel",
         [&](SDL_Keycode k) {
             ControlPanelSettings settings;
             return modal(k, SDLK_ESCAPE, [&] {
                 run_control_panel(r, *archive, palette, res, nullptr, nullptr, NewGameConfig{}, settings, false, nullptr,
                                   nullptr, nullptr, 1, 1, 1, nullptr, 0, nullptr);
             });
         }},
        {"optional rules",
         [&](SDL_Keycode k) {
             ModOptionsState s;
             handle_mod_options_event(s, key(k));
             return s.done ? KeyEffect::Closes : KeyEffect::Stays;
         }},
        {"campaign information",
         [&](SDL_Keycode k) {
             NewGameConfig c;
             c.mode = MODE_CAMPAIGN;
             return modal(k, SDLK_ESCAPE, [&] { run_scen_info(r, *archive, palette, &res, nullptr, c, nullptr); });
         }},
        {"tavern",
         [&](SDL_Keycode k) {
             TavernScreenState t;
             t.open = true;
             const bool closed = handle_tavern_event(key(k), t);  // the answer that brings back the town's music
             return t.open && !closed ? KeyEffect::Stays : KeyEffect::Closes;
         }},
        {"spellbook buy prompt",
         [&](SDL_Keycode k) {
             MageGuildState guild;
             open_buy_spellbook_dialog(guild);
             HeroState hero;
             PlayerResources gold;
             gold.gold = 500;
             handle_buy_spellbook_event(key(k), guild, hero, gold, CastleState{});
             return hero.has_spellbook ? KeyEffect::Yes : guild.open ? KeyEffect::Stays : KeyEffect::Closes;
         }},
        {"creature view",
         [&](SDL_Keycode k) {
             GameState game;
             game.heroes.resize(1);
             game.heroes[0].army.ids[0] = 2;
             game.heroes[0].army.counts[0] = 7;
             ArmyViewSystem view;
             view.init(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
             if (!view.open_dialog({SLOT_HERO, 0}, game, -1, 0, false)) return KeyEffect::Closes;
             const bool taken = view.handle_event(key(k), game);
             return !view.view.open ? KeyEffect::Closes : taken ? KeyEffect::Stays : KeyEffect::Passes;
         }},
        {"artifact information",
         [&](SDL_Keycode k) {
             ArtifactInfoDialog d;
             open_artifact_info_dialog(d, 1);
             if (!d.open || !handle_artifact_info_dialog(d, key(k))) return KeyEffect::Passes;
             return d.open ? KeyEffect::Stays : KeyEffect::Closes;
         }},
        {"no-spells notice", [&](SDL_Keycode k) { return spellbook(k, false); }},
        {"spell description", [&](SDL_Keycode k) { return spellbook(k, true); }},
    };
    const struct {
        const char* screen;
        SDL_Keycode key;
        KeyEffect effect;
    } rows[] = {
        {"map list", SDLK_KP_ENTER, KeyEffect::Stays},
        {"story page", SDLK_ESCAPE, KeyEffect::Stays},
        {"story page", SDLK_KP_ENTER, KeyEffect::Stays},
        {"victory page", SDLK_KP_ENTER, KeyEffect::Stays},
        {"yes/no question", SDLK_KP_ENTER, KeyEffect::Stays},
        {"restart question", SDLK_KP_ENTER, KeyEffect::Stays},
        {"control panel", SDLK_KP_ENTER, KeyEffect::Stays},
        {"optional rules", SDLK_KP_ENTER, KeyEffect::Stays},
        {"campaign information", SDLK_KP_ENTER, KeyEffect::Stays},
        {"tavern", SDLK_ESCAPE, KeyEffect::Stays},
        {"tavern", SDLK_RETURN, KeyEffect::Stays},
        {"spellbook buy prompt", SDLK_RETURN, KeyEffect::Stays},
        {"spellbook buy prompt", SDLK_y, KeyEffect::Stays},
        {"creature view", SDLK_ESCAPE, KeyEffect::Passes},
        {"creature view", SDLK_RETURN, KeyEffect::Passes},
        {"artifact information", SDLK_RETURN, KeyEffect::Stays},
        {"artifact information", SDLK_ESCAPE, KeyEffect::Stays},
        {"no-spells notice", SDLK_RETURN, KeyEffect::Stays},
        {"spell description", SDLK_ESCAPE, KeyEffect::Stays},
        {"spell description", SDLK_RETURN, KeyEffect::Stays},
    };
    for (const auto& row : rows)
        EXPECT_EQ(screens.at(row.screen)(row.key), row.effect) << row.screen << ", " << SDL_GetKeyName(row.key);
}

}  // namespace
}  // namespace vorn1
