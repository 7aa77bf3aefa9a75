// The control panel: settings steps with the mixer told at once, press-and-release buttons,
// keys and the closed window, and the save button without a game.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "datakit/kit_catalogue.h"
#include "datakit/kit_demo.h"
#include "fe_fixture.h"
#include "frontend/campaign_screens.h"
#include "frontend/control_panel.h"
#include "frontend/options_dialogs.h"
#include "frontend/scen_info.h"
#include "lang/language.h"
#include "media/sound_levels.h"
#include "persist/persist_test_util.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {
namespace {

using fe_test::Rgb;

class ControlPanelTest : public fe_test::FrontendTest {
protected:
    void SetUp() override {
        FrontendTest::SetUp();
        ::testing::internal::CaptureStderr();
        res = std::make_unique<Resources>(r, fe_test::make_archive({}));
        ::testing::internal::GetCapturedStderr();
        archive = fe_test::make_archive({});
    }
    ControlPanelResult run(ControlPanelSettings& s, bool audio) {
        return run_control_panel(r, *archive, palette, *res, nullptr, nullptr, NewGameConfig{}, s, audio, nullptr,
                                 nullptr, nullptr, 1, 1, 1, nullptr, 0, nullptr);
    }
    std::unique_ptr<Resources> res;
    std::unique_ptr<AggArchive> archive;
};

TEST_F(ControlPanelTest, SettingsStepAndWrap) {
    ControlPanelSettings s;
    s.music_level = 0;
    ASSERT_TRUE(apply_panel_setting(PanelElement::Music, s, false));
    EXPECT_EQ(s.music_level, 10);
    s.music_level = 1;
    apply_panel_setting(PanelElement::Music, s, false);
    EXPECT_EQ(s.music_level, 0);
    apply_panel_setting(PanelElement::Effects, s, false);
    EXPECT_EQ(s.sfx_level, 3);
    s.move_speed = 4;
    apply_panel_setting(PanelElement::Speed, s, false);
    EXPECT_EQ(s.move_speed, 0);
    apply_panel_setting(PanelElement::ShowPath, s, false);
    EXPECT_FALSE(s.show_path);
    EXPECT_FALSE(apply_panel_setting(PanelElement::Save, s, false));

    EXPECT_EQ(panel_element_at(205, 41), PanelElement::NewGame);
    EXPECT_EQ(panel_element_at(300, 96), PanelElement::NewGame);
    EXPECT_EQ(panel_element_at(301, 96), PanelElement::None);
    EXPECT_EQ(panel_element_at(227, 236), PanelElement::Music);
    EXPECT_EQ(panel_element_at(400, 430), PanelElement::Info);
    EXPECT_EQ(panel_element_at(300, 430), PanelElement::Rules);

    EXPECT_EQ(panel_on_off(true), "On");
    EXPECT_EQ(panel_speed_name(9), "Walk");
    strings().load_from_text(R"({"CP_ON":"An","CP_SPEED_GALLOP":"Galopp"})", "{}");
    EXPECT_EQ(panel_on_off(true), "An");
    EXPECT_EQ(panel_on_off(false), "Off");
    EXPECT_EQ(panel_speed_name(3), "Galopp");
}

TEST_F(ControlPanelTest, MusicClickReachesTheMixerOnlyWithAudio) {
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    Mix_AllocateChannels(kMixerChannels);
    Mix_Volume(-1, MIX_MAX_VOLUME);
    ControlPanelSettings s;
    s.music_level = 0;
    script({[] {
        push_click(227, 236);  // music 0 -> 10
        push_click(300, 236);  // effects 4 -> 3
    },
            [] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run(s, true), ControlPanelResult::Closed);
    EXPECT_EQ(s.music_level, 10);
    EXPECT_EQ(s.sfx_level, 3);
    EXPECT_EQ(Mix_Volume(1, -1), 77);
    EXPECT_EQ(Mix_Volume(0, -1), 38);
    EXPECT_EQ(Mix_Volume(28, -1), 38);

    Mix_Volume(-1, MIX_MAX_VOLUME);
    script({[] { push_click(227, 236); }, [] { push_key(SDLK_RETURN); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::Closed);
    EXPECT_EQ(s.music_level, 9);
    EXPECT_EQ(Mix_Volume(1, -1), MIX_MAX_VOLUME);
    g_music_level() = 5;
    g_sfx_level() = 4;
}

// The music setting as the panel shows it and as the mixer gets it, each step: off shows the off
// picture and reads as the effects read when off, with the music channels silent; on shows the on
// picture and reads as the effects read when on, with the channels at full music volume.
TEST_F(ControlPanelTest, MusicShowsWhatTheMixerIsGiven) {
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    Mix_AllocateChannels(kMixerChannels);
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_NE(font, nullptr);
    std::vector<kit::IcnFrame> pictures(27);
    pictures[10].pixels = kit::IndexGrid(65, 65, 40);  // music off
    pictures[11].pixels = kit::IndexGrid(65, 65, 80);  // music on
    auto art = fe_test::make_archive({{"CPANEL.ICN", kit::write_icn(pictures)}});
    // The value lines under the music and the effects pictures, and the music picture's middle.
    const auto value_lines = [](int x) {
        std::vector<uint8_t> p(65 * 26 * 4);
        const SDL_Rect rc{x, 270, 65, 26};
        SDL_RenderReadPixels(r, &rc, SDL_PIXELFORMAT_RGBA32, p.data(), 65 * 4);
        return p;
    };
    struct Shown {
        std::vector<uint8_t> music, effects;
        Rgb picture;
    };
    const auto click_music = [&](ControlPanelSettings& s) {
        Shown shown;
        script({[] { push_click(227, 236); },
                [&] {
                    shown = {value_lines(195), value_lines(287), px(227, 236)};
                    push_key(SDLK_ESCAPE);
                }});
        EXPECT_EQ(run_control_panel(r, *art, palette, *res, nullptr, font, NewGameConfig{}, s, true, nullptr, nullptr,
                                    nullptr, 1, 1, 1, nullptr, 0, nullptr),
                  ControlPanelResult::Closed);
        return shown;
    };
    ControlPanelSettings s;
    s.music_level = 1;
    s.sfx_level = 0;
    Mix_Volume(-1, MIX_MAX_VOLUME);
    Shown shown = click_music(s);
    EXPECT_TRUE(std::any_of(shown.music.begin(), shown.music.end(), [](uint8_t v) { return v != 0 && v != 255; }))
        << "a value is written";
    EXPECT_EQ(s.music_level, 0);
    EXPECT_EQ(shown.picture, pal(40));
    EXPECT_TRUE(shown.music == shown.effects) << "music reads as the effects do when off";
    EXPECT_EQ(Mix_Volume(1, -1), 0);
    EXPECT_EQ(Mix_Volume(7, -1), 0);

    s.sfx_level = 10;
    shown = click_music(s);
    EXPECT_EQ(s.music_level, 10);
    EXPECT_EQ(shown.picture, pal(80));
    EXPECT_TRUE(shown.music == shown.effects) << "music reads as the effects do when on";
    EXPECT_EQ(Mix_Volume(1, -1), 77);
    EXPECT_EQ(Mix_Volume(7, -1), 77);
    EXPECT_EQ(g_music_level(), 10);
    g_music_level() = 5;
    g_sfx_level() = 4;
    TTF_CloseFont(font);
}

TEST_F(ControlPanelTest, ButtonsActOnPressAndReleaseOfTheSameOne) {
    ControlPanelSettings s;
    int frames = 0;
    script({[] {
        push_down(210, 120);  // save pressed ...
        push_up(340, 120);    // ... released on quit: nothing
        push_click(210, 120); // save without a game: nothing opens
    },
            [&] {
                ++frames;
                push_click(400, 430);
            }});
    EXPECT_EQ(run(s, false), ControlPanelResult::ScenarioInfo);
    EXPECT_EQ(frames, 1);

    script({[] { push_click(200, 430); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::Closed);

    // Quit asks first: "n" keeps the panel, a closed window quits at once.
    script({[] { push_click(340, 120); }, [] { push_key(SDLK_n); }, [] { push_quit(); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::Quit);
    script({[] { push_click(340, 50); }, [] { push_key(SDLK_y); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::Load);
}

TEST_F(ControlPanelTest, SaveFlowWithoutAGameShowsNothing) {
    int frames = 0;
    frontend_frame_hook() = [&] { ++frames; };
    EXPECT_FALSE(run_save_game_flow(r, *archive, palette, *res, nullptr, NewGameConfig{}, nullptr, nullptr, 1, 1, 1,
                                    nullptr, 0, nullptr));
    EXPECT_EQ(frames, 0);
}

TEST_F(ControlPanelTest, SavingOverASaveAsksFirstAndNoKeepsTheOldFile) {
    test::ScratchDataDir dir;
    ASSERT_TRUE(ensure_saved_games_dir());
    const std::string old = compose_save_path("old");
    const std::vector<uint8_t> old_bytes{7, 7, 7};
    GameState state;
    GameMap map;
    const auto save = [&] {
        ::testing::internal::CaptureStdout();
        const bool saved = run_save_game_flow(r, *archive, palette, *res, nullptr, NewGameConfig{}, &state, &map, 1, 1,
                                              1, nullptr, 0, nullptr);
        ::testing::internal::GetCapturedStdout();
        return saved;
    };
    // A click on the list's only row names "old"; Return asks. No goes back to the name (Escape then leaves).
    for (SDL_Keycode no : {SDLK_n, SDLK_ESCAPE}) {
        test::write_bytes(old, old_bytes);
        push_click(370, 50);
        push_key(SDLK_RETURN);
        push_key(no);
        push_key(SDLK_ESCAPE);
        EXPECT_FALSE(save());
        EXPECT_EQ(test::read_bytes(old), old_bytes);
    }
    for (SDL_Keycode yes : {SDLK_y, SDLK_RETURN, SDLK_KP_ENTER}) {
        test::write_bytes(old, old_bytes);
        push_click(370, 50);
        push_key(SDLK_RETURN);
        push_key(yes);
        EXPECT_TRUE(save());
        EXPECT_GT(test::read_bytes(old).size(), old_bytes.size()) << "replaced by the game";
        EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0) << "the answer was taken";
    }
    // Return on the dated default name, which is new, saves at once; the close behind it is never read.
    push_key(SDLK_RETURN);
    push_quit();
    EXPECT_TRUE(save());
    EXPECT_EQ(list_save_files().size(), 2u);
    SDL_Event e;
    EXPECT_EQ(SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
}

TEST_F(ControlPanelTest, AFailedSaveIsToldAndThePanelStaysOpen) {
    test::ScratchDataDir dir;
    test::write_bytes(saved_games_dir(), {1});  // a file where the folder should be: no write, even as root
    GameState state;
    GameMap map;
    ControlPanelSettings s;
    // Save, Return on the dated name; the failure's notice takes Escape, so the panel is still
    // there for the next frame's click on scenario information.
    script({[] {
        push_click(210, 120);
        push_key(SDLK_RETURN);
        push_key(SDLK_ESCAPE);
    },
            [] { push_click(400, 430); }});
    std::vector<std::string> told;
    shown_text_hook() = [&told](const std::string& text) { told.push_back(text); };
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const ControlPanelResult r = run_control_panel(this->r, *archive, palette, *res, nullptr, nullptr, NewGameConfig{},
                                                   s, false, nullptr, &state, &map, 1, 1, 1, nullptr, 0, nullptr);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    shown_text_hook() = nullptr;
    EXPECT_EQ(r, ControlPanelResult::ScenarioInfo) << "never Saved, and the notice took the key";
    const std::string why = std::make_error_code(std::errc::not_a_directory).message();
    EXPECT_NE(err.find("control_panel: save failed for " + saved_games_dir() + "/"), std::string::npos) << err;
    EXPECT_NE(err.find("(" + why + ")"), std::string::npos);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "GAME_SAVE_FAILED\nsaved_games: " + why) << "the folder in the way";
    EXPECT_TRUE(std::filesystem::is_regular_file(saved_games_dir()));
}

// A save that fails after the replace question tells it over the screen the save began from: above
// and below the notice's frame no piece of the question (its frame's top, its buttons) or of the
// save dialog is left.
TEST_F(ControlPanelTest, AFailedSavesNoticeStandsOverTheScreenSavedFrom) {
    test::ScratchDataDir dir;
    ASSERT_TRUE(ensure_saved_games_dir());
    const std::string old = compose_save_path("old");
    test::write_bytes(old, {7});
    std::filesystem::create_directory(old + ".tmp");  // the write fails once the question is answered
    auto demo = std::make_unique<AggArchive>(AggArchive::from_bytes(kit::demo_archive_bytes()));
    AggArchive& pictures = *demo;
    ::testing::internal::CaptureStderr();
    Resources art(r, std::move(demo));
    ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(art.buybuild.at(0) && art.system_btn.at(5));
    const Rgb screen{10, 90, 160};
    SDL_SetRenderDrawColor(r, screen.r, screen.g, screen.b, 255);
    SDL_RenderClear(r);
    SDL_RenderPresent(r);

    // The list's row and Return ask; the question's yes and the notice's OK take a click only once
    // they have been drawn, so each shows before it is answered.
    push_click(370, 50);
    push_key(SDLK_RETURN);
    const SDL_TimerID clicks = SDL_AddTimer(
        20,
        [](Uint32 interval, void*) -> Uint32 {
            push_click(249, 340);
            push_click(320, 320);
            return interval;
        },
        nullptr);
    GameState state;
    GameMap map;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const bool saved = run_save_game_flow(r, pictures, palette, art, nullptr, NewGameConfig{}, &state, &map, 1, 1, 1,
                                          nullptr, 0, nullptr);
    const std::string err = ::testing::internal::GetCapturedStderr();
    ::testing::internal::GetCapturedStdout();
    SDL_RemoveTimer(clicks);
    EXPECT_FALSE(saved);
    EXPECT_NE(err.find("save failed for " + old), std::string::npos) << err;

    const int frame_bottom = 132 + border_height(2);
    int left_over = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if ((y < 132 || y >= frame_bottom) && px(x, y) != screen) ++left_over;
    EXPECT_EQ(left_over, 0) << "pixels of another screen around the notice";
    EXPECT_NE(px(320, 320), screen) << "the notice's OK button";
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

// Every question and notice of the control panel, the campaign and the save dialogs, laid out with
// the demo catalogue in the fonts the game ships, keeps each line inside its box and above its buttons.
TEST_F(ControlPanelTest, QuestionsAndNoticesFitTheirBoxes) {
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* main = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_TRUE(main && small) << TTF_GetError();
    kit::add_game_english_strings();
    strings().load_from_text("", kit::catalogue_json(kit::english_strings()));
    set_save_dialog_name_font(small);
    const auto width = [](TTF_Font* f, const std::string& t) { return text::measure(f, t).x; };

    // The yes/no box: each line within the wrap width, the text above the buttons.
    const auto confirm_fits = [&](TTF_Font* f, const char* question, const char* note) {
        const ConfirmState s = open_confirm(f, strings().get(question).c_str(), strings().get(note).c_str());
        EXPECT_FALSE(s.question.empty() || s.note.empty()) << question;
        for (const auto* lines : {&s.question, &s.note})
            for (const std::string& l : *lines) EXPECT_LE(width(f, l), kConfirmWrapWidth) << question << ": " << l;
        const int bottom = s.layout.text_top + static_cast<int>(s.question.size() + s.note.size()) * TTF_FontLineSkip(f);
        EXPECT_LE(bottom, s.layout.button_y) << question;
    };
    for (const char* key : {"CP_CONFIRM_RESTART", "CP_CONFIRM_QUIT", "CP_CONFIRM_LOAD"})
        confirm_fits(main, key, "CP_CONFIRM_LOST");
    ASSERT_GT(width(main, strings().get("SCEN_RESTART_CONFIRM2")), kBorderWidth) << "the note needs its wrap";
    confirm_fits(restart_question_font(main, small), "SCEN_RESTART_CONFIRM1", "SCEN_RESTART_CONFIRM2");

    // The notice and the question panels, with the names a game writes.
    const std::string stem = "26-12-07-2325-", camp = "261207-2325-CAMP-SCEN-1-2";
    const SaveOutcome failures[] = {
        {false, saved_games_dir() + "/" + stem + ".sav", "No space left on device"},
        {false, saved_camps_dir() + "/" + camp + ".sav", "Permission denied", saved_camps_dir() + "/" + camp + ".sav.tmp"},
        {false, saved_games_dir() + "/autosave.sav", "Not a directory", saved_games_dir()},
        {true, saved_games_dir() + "/x.sav", ""}};
    for (const SaveOutcome& o : failures)
        for (bool autosave : {false, true}) {
            const MessagePanelState n = open_saved_alert(main, save_outcome_text(o, autosave));
            TTF_Font* f = n.font ? n.font : main;
            for (const std::string& l : n.lines) EXPECT_LT(width(f, l), kPanelLineLimit) << l;
            const SavedAlertLayout at = saved_alert_layout(static_cast<int>(n.lines.size()), TTF_FontLineSkip(f));
            EXPECT_LE(at.text_top + static_cast<int>(n.lines.size()) * TTF_FontLineSkip(f), at.button_y);
        }
    for (const std::string& q : {overwrite_question(stem), overwrite_question(camp), unsaved_scenario_question(),
                                 strings().format("CAMPAIGN_SAVED_PROMPT", {camp})}) {
        const MessagePanelState p = open_question_panel(main, q);
        TTF_Font* f = p.font ? p.font : main;
        EXPECT_FALSE(p.lines.empty()) << q;
        for (const std::string& l : p.lines) EXPECT_LE(width(f, l), 254) << l;  // the prompt's column
        EXPECT_LE(199 + static_cast<int>(p.lines.size()) * TTF_FontLineSkip(f), 334) << q;
    }

    set_save_dialog_name_font(nullptr);
    TTF_CloseFont(main);
    TTF_CloseFont(small);
}

// The campaign's restart question as its screen draws it, in the game's fonts and the demo
// catalogue over a black screen: every letter inside the box, above where its buttons stand.
TEST_F(ControlPanelTest, TheRestartQuestionIsDrawnInsideItsBox) {
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* main = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_TRUE(main && small) << TTF_GetError();
    kit::add_game_english_strings();
    strings().load_from_text("", kit::catalogue_json(kit::english_strings()));
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_RenderPresent(r);
    std::vector<uint8_t> shown(640 * 480 * 4);
    script({[&] {
        SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGBA32, shown.data(), 640 * 4);
        push_key(SDLK_n);
    }});
    EXPECT_FALSE(run_restart_question(r, *res, main, small));
    const ConfirmLayout box = open_confirm(main, "", "").layout;  // two rows, as the question's two lines take
    int lit = 0, outside = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint8_t* p = &shown[(static_cast<size_t>(y) * 640 + x) * 4];
            if (p[0] + p[1] + p[2] == 0) continue;
            ++lit;
            if (x < 177 || x >= 177 + kBorderWidth || y < box.top || y >= box.button_y) ++outside;
        }
    EXPECT_GT(lit, 500) << "the question and its note";
    EXPECT_EQ(outside, 0) << "lit pixels outside the box";
    TTF_CloseFont(main);
    TTF_CloseFont(small);
}

// The labels over the lower row of pictures, in the game's small font and the demo catalogue: each ends
// two rows above its picture, and the two lines of "View Enemy Movement" do not touch.
TEST_F(ControlPanelTest, TheLowerLabelsStandClearOfTheirPictures) {
    ASSERT_TRUE(TTF_WasInit() || TTF_Init() == 0);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_NE(small, nullptr) << TTF_GetError();
    kit::add_game_english_strings();
    strings().load_from_text("", kit::catalogue_json(kit::english_strings()));
    std::vector<uint8_t> shown(640 * 480 * 4);
    script({[&] {
        SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_RGBA32, shown.data(), 640 * 4);
        push_key(SDLK_ESCAPE);
    }});
    ControlPanelSettings s;
    run_control_panel(r, *archive, palette, *res, nullptr, small, NewGameConfig{}, s, false, nullptr, nullptr, nullptr,
                      1, 1, 1, nullptr, 0, nullptr);
    const auto lit_row = [&](const SDL_Rect& pic, int y) {
        for (int x = pic.x - 10; x < pic.x + pic.w + 10; ++x)
            if (shown[(static_cast<size_t>(y) * 640 + x) * 4] != 0) return true;
        return false;
    };
    for (PanelElement e : {PanelElement::Autosave, PanelElement::ShowPath, PanelElement::ViewEnemy}) {
        const SDL_Rect pic = panel_element_rect(e);
        EXPECT_TRUE(lit_row(pic, pic.y - 5)) << "a label above picture " << static_cast<int>(e);
        EXPECT_FALSE(lit_row(pic, pic.y - 2) || lit_row(pic, pic.y - 1)) << static_cast<int>(e);
    }
    const SDL_Rect pic = panel_element_rect(PanelElement::ViewEnemy);
    int runs = 0;
    for (int y = pic.y - 40; y < pic.y; ++y) runs += lit_row(pic, y) && !lit_row(pic, y - 1);
    EXPECT_EQ(runs, 2) << "two lines apart";
    TTF_CloseFont(small);
}

TEST_F(ControlPanelTest, RulesButtonOpensTheRulesDialog) {
    ControlPanelSettings s;
    script({[] { push_click(300, 430); }, [] { push_down(200, 390); }, [] { push_key(SDLK_ESCAPE); },
            [] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::Closed);
    EXPECT_TRUE(s.bad_luck);
}

// F11 runs the registered window-scale callable on the panel, its questions, the rules dialog and
// both scenario-information screens, and each of them stays up; a held F11 runs nothing.
TEST_F(ControlPanelTest, F11StepsTheWindowScaleOnEveryScreenOfThePanel) {
    int calls = 0;
    const FullscreenCallback scale = [&calls] { ++calls; };
    NgCallbackScope registered(&scale, nullptr);
    auto f11 = [] {
        push_key(SDLK_F11);
        push_key(SDLK_F11, true);
    };
    ControlPanelSettings s;
    script({f11, [] { push_click(340, 120); }, f11, [] { push_key(SDLK_n); }, [] { push_click(300, 430); }, f11,
            [] { push_key(SDLK_ESCAPE); }, [] { push_click(400, 430); }});
    EXPECT_EQ(run(s, false), ControlPanelResult::ScenarioInfo);
    EXPECT_EQ(calls, 3);

    NewGameConfig c;
    script({f11, [] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), nullptr, c, nullptr), 0);
    c.mode = MODE_CAMPAIGN;
    script({f11, [] { push_click(400, 355); }, f11, [] { push_key(SDLK_n); }, [] { push_key(SDLK_ESCAPE); }});
    EXPECT_EQ(run_scen_info(r, *archive, palette, res.get(), nullptr, c, nullptr), 0);
    EXPECT_EQ(calls, 6);
}

}  // namespace
}  // namespace vorn1
