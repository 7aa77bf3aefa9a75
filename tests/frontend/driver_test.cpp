// The whole front end from the title screen: every kind of result, the exits, the re-entry.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include "assets/resources.h"
#include "datakit/kit_frontend.h"
#include "fe_fixture.h"
#include "frontend/campaign_data.h"
#include "frontend/frontend_driver.h"
#include "frontend/menu_screen.h"
#include "persist/save_paths.h"

namespace vorn1 {
namespace {

class DriverTest : public fe_test::FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        dir = std::make_unique<fe_test::TempDir>("driver");
        dir->put("maps/AES31000.MAP", kit::map_header_bytes("Aces", "A map", 0, 0));
        set_front_end_folder(dir->dir());
        set_save_archive_path(dir->dir() + "VELDAR.AGG");
        archive = fe_test::make_archive({});
    }
    void TearDown() override {
        set_front_end_folder("");
        set_save_archive_path("");
        FrontendTest::TearDown();
    }
    NewGameConfig run(const Resources* res = nullptr, const LanguageCallback& lang = {}) {
        return run_new_game_screen(r, *archive, palette, nullptr, nullptr, res, fullscreen, lang);
    }
    std::unique_ptr<fe_test::TempDir> dir;
    std::unique_ptr<AggArchive> archive;
    int fullscreen_calls = 0;
    FullscreenCallback fullscreen = [this] { ++fullscreen_calls; };
};

TEST_F(DriverTest, StandardGameFromTheMenus) {
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_s); }, [] { push_key(SDLK_RETURN); }});
    const NewGameConfig c = run();
    EXPECT_FALSE(c.quit);
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_EQ(c.map_stem, "AES31000");
    EXPECT_EQ(c.map_name, "Aces");
    EXPECT_EQ(c.difficulty_rating, 50);
    EXPECT_EQ(c.color, 2);
    EXPECT_EQ(c.opponents, (std::array<OpponentDifficulty, 3>{OPP_AVERAGE, OPP_AVERAGE, OPP_AVERAGE}));
    EXPECT_EQ(g_ng_fullscreen_cb, nullptr);  // the registration is put back

    // A window closed on the set-up page comes back with the quit flag.
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_s); }, [] { push_quit(); }});
    EXPECT_TRUE(run().quit);
}

TEST_F(DriverTest, OriginalCampaignWithLordTwo) {
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_c); }, [] { push_click(495, 111); },
            [] { push_click(495, 251); }, [] { push_key(SDLK_RETURN); }});
    const NewGameConfig c = run();
    EXPECT_EQ(c.mode, MODE_CAMPAIGN);
    EXPECT_EQ(c.campaign_id, CAMPAIGN_ORIGINAL);
    EXPECT_EQ(c.campaign_lord, 2);
    EXPECT_EQ(c.lord_faction, 3);
    EXPECT_EQ(c.color, 3);
    ASSERT_EQ(c.campaign_maps.size(), 8u);
    EXPECT_EQ(c.campaign_map_path, dir->dir() + "maps/CAMP1.CMP");
}

TEST_F(DriverTest, SpiritWorldAndHotSeat) {
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_c); }, [] { push_click(495, 181); },
            [] { push_key(SDLK_RETURN); }});
    const NewGameConfig s = run();
    EXPECT_EQ(s.campaign_id, CAMPAIGN_SPIRIT_WORLD);
    EXPECT_EQ(s.lord_faction, kFactionColor[s.campaign_lord & 3]);
    EXPECT_EQ(s.color, s.lord_faction);
    EXPECT_EQ(s.campaign_maps.size(), 4u);

    dir->put("maps/KNS21234.MAP", kit::map_header_bytes("Kings", "", 1, 0));
    const SDL_Rect hot = menu_button_rect(0), three = menu_button_rect(1);
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_m); }, [&] { push_click(hot.x + 5, hot.y + 5); },
            [&] { push_click(three.x + 5, three.y + 5); }, [] { push_key(SDLK_RETURN); }});
    const NewGameConfig h = run();
    EXPECT_FALSE(h.quit);
    EXPECT_EQ(h.mode, MODE_HOTSEAT);
    EXPECT_EQ(h.player_count, 3);
    EXPECT_EQ(h.map_stem, "KNS21234");
}

TEST_F(DriverTest, LoadingASaveCarriesOnlyModeAndPath) {
    dir->put("saved_games/first.sav", kit::Bytes(20, 1));
    ::testing::internal::CaptureStderr();
    Resources res(r, fe_test::make_archive({}));
    ::testing::internal::GetCapturedStderr();
    // "m" in the load menu leads back to the main menu; Escape in the dialog too.
    script({[] { push_key(SDLK_l); }, [] { push_key(SDLK_m); }, [] { push_key(SDLK_l); }, [] { push_key(SDLK_s); },
            [] { push_key(SDLK_ESCAPE); }, [] { push_key(SDLK_l); }, [] { push_key(SDLK_s); },
            [] { push_key(SDLK_RETURN); }});
    const NewGameConfig c = run(&res);
    EXPECT_FALSE(c.quit);
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_NE(c.save_path.find("first.sav"), std::string::npos) << c.save_path;
    NewGameConfig defaults;
    defaults.mode = c.mode;
    defaults.save_path = c.save_path;
    EXPECT_EQ(c.map_path, defaults.map_path);
    EXPECT_EQ(c.color, defaults.color);
    EXPECT_EQ(c.opponents, defaults.opponents);
    EXPECT_TRUE(c.campaign_maps.empty());

    // "c" in the load menu lists the campaign saves.
    dir->put("saved_camps/march.sav", kit::Bytes(20, 1));
    script({[] { push_key(SDLK_l); }, [] { push_key(SDLK_c); }, [] { push_key(SDLK_RETURN); }});
    const NewGameConfig camp = run(&res);
    EXPECT_EQ(camp.mode, MODE_CAMPAIGN);
    EXPECT_NE(camp.save_path.find("saved_camps"), std::string::npos) << camp.save_path;
}

TEST_F(DriverTest, CancelStartsAgainWithoutTheLanguageBox) {
    int language_calls = 0;
    const LanguageCallback lang = [&](Language, TTF_Font*&, TTF_Font*&) { ++language_calls; };
    std::vector<std::function<void()>> steps{[] { push_click(20, 15); }};  // the box works at first
    for (int i = 0; i < 60; ++i) {  // new-game menu and back, many times
        steps.push_back([] { push_key(SDLK_n); });
        steps.push_back([] { push_key(SDLK_ESCAPE); });
    }
    steps.push_back([] { push_click(20, 15); });  // inert now
    steps.push_back([] { push_key(SDLK_F11); });
    steps.push_back([] { push_key(SDLK_n); });
    steps.push_back([] { push_key(SDLK_s); });
    steps.push_back([] { push_key(SDLK_RETURN); });
    script(steps);
    const NewGameConfig c = run(nullptr, lang);
    EXPECT_EQ(c.map_stem, "AES31000");
    EXPECT_EQ(language_calls, 1);
    EXPECT_EQ(fullscreen_calls, 1);
    g_language = EN;
}

TEST_F(DriverTest, QuitAndClosedWindowsEndTheProcess) {
    // A forked child can inherit a lock held by SDL's timer thread and wait on it forever; each death
    // test runs in a freshly started copy of the binary instead.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            fe_test::g_exit_is_failure = false;
            script({[] { push_key(SDLK_ESCAPE); }});
            run();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            fe_test::g_exit_is_failure = false;
            script({[] { push_key(SDLK_n); }, [] { push_quit(); }});
            run();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            fe_test::g_exit_is_failure = false;
            script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_c); }, [] { push_click(495, 111); },
                    [] { push_click(495, 251); }, [] { push_quit(); }});
            run();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            fe_test::g_exit_is_failure = false;
            script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_c); }, [] { push_click(495, 181); },
                    [] { push_quit(); }});
            run();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

// Outside EXPECT_EXIT the same close (the hang guard's, say) ends only the running test, and the
// front end runs as before afterwards.
TEST_F(DriverTest, AClosedWindowEndsOnlyTheRunningTest) {
    script({[] { push_quit(); }});
    EXPECT_THROW(run(), test::AbandonedScreen);
    EXPECT_EQ(g_ng_fullscreen_cb, nullptr);
    script({[] { push_key(SDLK_n); }, [] { push_key(SDLK_s); }, [] { push_key(SDLK_RETURN); }});
    EXPECT_EQ(run().map_stem, "AES31000");
}

// Each menu row shows its own frame, the row held down its pressed one.
TEST_F(DriverTest, MenuRowsShowTheirFramesAndTheHeldOne) {
    auto numbered = [](int n) {
        std::vector<kit::IcnFrame> frames(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) frames[static_cast<size_t>(i)].pixels = kit::IndexGrid(8, 8, static_cast<uint8_t>(40 + i));
        return kit::write_icn(frames);
    };
    archive = fe_test::make_archive({{"BTNNEWGM.ICN", numbered(8)}, {"BTNCMPGN.ICN", numbered(10)},
                                     {"BTNMP.ICN", numbered(10)}, {"BTNHOTST.ICN", numbered(8)}});
    auto centre = [](int row) {
        const SDL_Rect rc = menu_button_rect(row);
        return SDL_Point{rc.x + rc.w / 2, rc.y + rc.h / 2};
    };
    std::vector<fe_test::Rgb> seen;
    auto look = [&](int row) { seen.push_back(px(centre(row).x, centre(row).y)); };
    script({[] { push_key(SDLK_n); }, nullptr,
            [&] {
                look(0);
                look(4);
                push_down(centre(0).x, centre(0).y);
            },
            [&] {
                look(0);
                look(1);
                push_up(5, 5);  // let go off the row: nothing chosen
            },
            [&] {
                look(0);
                push_key(SDLK_c);
            },
            [] { push_click(495, 111); }, nullptr,  // the original campaign's lords
            [&] {
                look(1);
                push_key(SDLK_ESCAPE);
            },
            [] { push_key(SDLK_n); }, [] { push_key(SDLK_m); }, [&] { push_click(centre(0).x, centre(0).y); },
            nullptr,  // how many players
            [&] {
                look(4);
                push_key(SDLK_ESCAPE);
            },
            [] { push_key(SDLK_n); }, [] { push_key(SDLK_s); }, [] { push_key(SDLK_RETURN); }});
    EXPECT_EQ(run().map_stem, "AES31000");
    EXPECT_EQ(seen, (std::vector<fe_test::Rgb>{pal(40), pal(46), pal(41), pal(42), pal(40), pal(42), pal(46)}));
}

TEST_F(DriverTest, CreditsCloseOnAKeyOnly) {
    auto with_credits = fe_test::make_archive({{"CREDITS.BMP", fe_test::solid_bmp(64, 48, 77)}});
    int frames = 0, scale_steps = 0;
    fe_test::Rgb shown;
    {
        // A held F11 steps the window scale once and leaves the credits up; the next key closes them.
        const FullscreenCallback scale = [&scale_steps] { ++scale_steps; };
        const NgCallbackScope scope(&scale, nullptr);
        script({[&] {
                    ++frames;
                    shown = px(300, 200);
                    push_key(SDLK_F11);
                    push_key(SDLK_F11, true);
                    push_key(SDLK_F11, true);
                },
                [&] {
                    ++frames;
                    push_key(SDLK_a);
                }});
        run_credits_screen(r, *with_credits, palette, nullptr);
    }
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(scale_steps, 1);
    EXPECT_EQ(shown, pal(77));
    // A click closes it as well, and leaves no request to end the program behind.
    script({[] { push_click(300, 200); }});
    run_credits_screen(r, *with_credits, palette, nullptr);
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 0);
    // With a font, the credits line stands in white just above the bottom edge.
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 14);
    ASSERT_NE(font, nullptr);
    const int top = 474 - TTF_FontHeight(font);
    int white = 0;
    script({[&] {
        for (int y = top; y < 474; ++y)
            for (int x = 0; x < 640; x += 2) white += px(x, y) == fe_test::Rgb{255, 255, 255};
        push_key(SDLK_SPACE);
    }});
    run_credits_screen(r, *with_credits, palette, font);
    TTF_CloseFont(font);
    EXPECT_GT(white, 20);
    // Without the picture nothing is shown.
    frontend_frame_hook() = [&] { ++frames; };
    run_credits_screen(r, *archive, palette, nullptr);
    EXPECT_EQ(frames, 2);
}

}  // namespace
}  // namespace vorn1
