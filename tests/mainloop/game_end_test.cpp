// The road of whole games: the title screen's choice played by clicks to its end, the end screens,
// the scores and the title screen again; a campaign going on to its next scenario.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "adventure/adventure_resources.h"
#include "adventure/render_ui.h"
#include "assets/resources.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_video.h"
#include "frontend/frontend_common.h"
#include "frontend/frontend_driver.h"
#include "frontend/scen_info.h"
#include "lang/runtime_strings.h"
#include "mainloop/frame_loop.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/turns.h"
#include "media/smk_player.h"
#include "persist/highscore.h"
#include "persist/persist_test_util.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "persist/savegame.h"
#include "hang_guard.h"
#include "temp_dir.h"

namespace vorn1::test {
namespace {

namespace fs = std::filesystem;

SDL_Event key_down(SDL_Keycode k) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = k;
    return e;
}

SDL_Event text(const char* s) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, s, sizeof e.text.text - 1);
    return e;
}

// Steps of input for the blocking screens at the end of a game: each step is pushed from a timer
// once the screen before has taken everything, so each reaches the screen that is up by then.
struct EndScript {
    std::mutex lock;
    std::vector<std::vector<SDL_Event>> steps;
    size_t next = 0;
    SDL_TimerID timer = 0;

    static Uint32 tick(Uint32 interval, void* p) {
        auto* s = static_cast<EndScript*>(p);
        std::lock_guard<std::mutex> g(s->lock);
        SDL_PumpEvents();
        if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return interval;
        if (s->next < s->steps.size()) {
            for (SDL_Event e : s->steps[s->next]) SDL_PushEvent(&e);
            ++s->next;
        } else {
            // A screen that should have ended is closed, so a fault cannot hang the suite.
            SDL_Event q{};
            q.type = SDL_QUIT;
            SDL_PushEvent(&q);
        }
        return interval;
    }
    void start(std::vector<std::vector<SDL_Event>> s) {
        if (timer) return;
        steps = std::move(s);
        next = 0;
        timer = SDL_AddTimer(150, tick, this);
    }
    void stop() {
        if (timer) SDL_RemoveTimer(timer);
        timer = 0;
    }
};

class GameEndTest : public ::testing::Test {
protected:
    TempDir dir{"game_end"};
    SDL_Window* window = nullptr;
    std::unique_ptr<Resources> res;
    MainState m;
    EndScript script;
    int title_screens = 0;
    int frame_count = 0;
    HangGuard hang_guard;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
        window = SDL_CreateWindow("t", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr);
        m.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(m.renderer, nullptr);
        SDL_RenderSetLogicalSize(m.renderer, 640, 480);
        res = std::make_unique<Resources>(
            m.renderer, std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg({{"DUMMY.BIN", {1}}}))));
        m.res = res.get();
        m.archive = res->archive.get();
        set_front_end_folder(dir.dir());
        set_save_archive_path(dir.dir() + "VELDAR.AGG");
        strings().load_from_text("{}", "{}");
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        // A screen that would end the process fails the test instead of passing silently.
        end_process_hook() = [] { throw AbandonedScreen("a screen ended the process"); };
        hang_guard.start();
    }
    void TearDown() override {
        hang_guard.stop();
        script.stop();
        shown_text_hook() = nullptr;
        end_process_hook() = nullptr;
        end_game(m);
        res.reset();
        set_front_end_folder("");
        set_save_archive_path("");
        if (m.renderer) SDL_DestroyRenderer(m.renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }

    // The demo archive's art, so the adventure screen draws what the program draws.
    void use_demo_art() {
        static const kit::Bytes demo = kit::write_agg(kit::build_demo_data().archive);
        m.res = nullptr;
        res = std::make_unique<Resources>(m.renderer, std::make_unique<AggArchive>(AggArchive::from_bytes(demo)));
        load_adventure_groups(*res);
        m.res = res.get();
        m.archive = res->archive.get();
        m.adv = res->adventure.get();
        m.new_day_res = res->new_day.get();
    }
    std::vector<uint8_t> pixels() {
        std::vector<uint8_t> px(640 * 480 * 4);
        SDL_RenderReadPixels(m.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, px.data(), 640 * 4);
        return px;
    }
    std::string put_map(const std::string& name, const std::string& title) {
        dir.put("maps/" + name, kit::write_map_bytes(kit::make_quick_win_map(title)));
        return dir.dir() + "maps/" + name;
    }
    // The title screen hands out `first`, then quits.
    void title_screen_offers(const NewGameConfig& first) {
        m.front_end = [this, first](MainState&) {
            NewGameConfig c = first;
            c.quit = ++title_screens > 1;
            return c;
        };
    }
    static void push(SDL_Event e) { SDL_PushEvent(&e); }
    static SDL_Event mouse(Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    // One frame of play as a person plays the quick scenario: the turn announcement closed, then
    // the town entrance above the hero clicked twice (plan, walk). Ends a run that goes astray.
    // With `hold_walk` the walking press is let go only once the walk has won the game.
    bool hold_walk = false;
    void play_frame(MainState& mm) {
        run_frame(mm, 16.0f);
        ++frame_count;
        if (!mm.game) return;
        const LoopState& l = mm.game->loop;
        const int sx = (kit::kQuickWinTownX + 8) * 32 - l.view_x + 16;
        const int sy = (kit::kQuickWinTownY + 8) * 32 - l.view_y + 16;
        if (frame_count == 2) push(key_down(SDLK_RETURN));
        if (frame_count == 4 || frame_count == 6) push(mouse(SDL_MOUSEBUTTONDOWN, sx, sy));
        const bool won = frame_count > 6 && mm.game->game_won && l.walk_step_index < 0;
        if (frame_count == 4 || (frame_count == 6 && !hold_walk) || (won && std::exchange(hold_walk, false)))
            push(mouse(SDL_MOUSEBUTTONUP, sx, sy));
        if (frame_count > 3000) mm.quit = true;
    }
};

// A closed window during a logo film skips the rest of the films; a termination request after any
// film, however it ended, ends the program, and one that came during a film counts at its end.
TEST(IntroFilms, AClosedWindowSkipsTheLogosAndATerminationEndsTheProgram) {
    EXPECT_EQ(after_intro_film(0, kFilmEnded, false), IntroStep::NextFilm);
    EXPECT_EQ(after_intro_film(0, kFilmSkipped, false), IntroStep::NextFilm);
    EXPECT_EQ(after_intro_film(0, kFilmQuit, false), IntroStep::Title);
    EXPECT_EQ(after_intro_film(1, kFilmQuit, false), IntroStep::Title);
    EXPECT_EQ(after_intro_film(2, kFilmQuit, false), IntroStep::NextFilm);
    EXPECT_EQ(after_intro_film(2, kFilmFailed, false), IntroStep::NextFilm);
    EXPECT_EQ(after_intro_film(3, kFilmQuit, false), IntroStep::Title);
    EXPECT_EQ(after_intro_film(3, kFilmEnded, false), IntroStep::Title);
    for (int film = 0; film < 4; ++film)
        for (int result : {kFilmEnded, kFilmSkipped, kFilmQuit, kFilmFailed})
            EXPECT_EQ(after_intro_film(film, result, true), IntroStep::Quit) << film << " " << result;

    // The request arrives while a film plays, and the film answers it as a closed window.
    for (int during = 0; during < 4; ++during) {
        std::vector<std::string> played;
        bool terminated = false;
        const auto play = [&](const char* film) {
            played.push_back(film);
            if (static_cast<int>(played.size()) - 1 != during) return kFilmEnded;
            terminated = true;
            return kFilmQuit;
        };
        EXPECT_TRUE(run_intro_films(play, [&terminated] { return terminated; })) << during;
        EXPECT_EQ(static_cast<int>(played.size()), during + 1) << "films played after the request";
    }
    std::vector<std::string> played;
    EXPECT_FALSE(run_intro_films([&played](const char* film) { played.push_back(film); return kFilmEnded; },
                                 [] { return false; }));
    EXPECT_EQ(played, (std::vector<std::string>{"NEWLOGO.SMK", "ZALLOGO.SMK", "hintro.mp4", "INTRO02C.SMK"}));
}

TEST_F(GameEndTest, TakingTheLastTownLeadsToTheScoreTheNameAndTheTableThenTheTitleScreen) {
    NewGameConfig cfg;
    cfg.map_path = put_map("KITQUICK.MAP", "Last Stand");
    cfg.difficulty_rating = 100;
    title_screen_offers(cfg);
    GameOutcome seen = GameOutcome::None;
    std::vector<SDL_Event> name(20, key_down(SDLK_BACKSPACE));
    name.push_back(text("Ada"));
    name.push_back(key_down(SDLK_RETURN));
    const auto play = [&](MainState& mm) {
        play_frame(mm);
        seen = settled_outcome(mm);
        // Score screen, name entry, high-score page.
        if (seen != GameOutcome::None) script.start({{key_down(SDLK_RETURN)}, name, {key_down(SDLK_ESCAPE)}});
    };
    run_games(m, play);
    EXPECT_EQ(seen, GameOutcome::StandardWon);
    EXPECT_LT(frame_count, 200) << "won within a few moves";
    EXPECT_EQ(title_screens, 2) << "the title screen came back";
    EXPECT_FALSE(m.game) << "the game's objects are gone";
    EXPECT_FALSE(m.quit);
    const auto rows = load_high_scores(high_score_path(dir.dir(), HighScoreTable::Standard), HighScoreTable::Standard);
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0].name, "Ada");
    EXPECT_EQ(rows[0].label, "Last Stand");
    EXPECT_EQ(rows[0].score, compute_standard_score(ScenarioResult{1, 100, 1, true, false, DIFF_EASY}));
    EXPECT_EQ(rows[1].name, "Lord Zevoraz") << "the old rows stay behind it";

    // The walking press held past the win: the map takes its release, and the score screen its key.
    script.stop();
    fs::remove(high_score_path(dir.dir(), HighScoreTable::Standard));
    title_screens = frame_count = 0;
    hold_walk = true;
    run_games(m, play);
    EXPECT_EQ(load_high_scores(high_score_path(dir.dir(), HighScoreTable::Standard), HighScoreTable::Standard)[0].name,
              "Ada") << "the score screen waited for its key";

    // A won game waits for a walk to end, from its first step on.
    use_demo_art();
    ASSERT_TRUE(setup_game(m, cfg, m.archive, 5));
    run_frame(m, 16.0f);
    push(key_down(SDLK_RETURN));  // the turn announcement
    run_frame(m, 16.0f);
    ASSERT_FALSE(m.game->events.dialog_open);
    m.game->game_won = 1;
    m.game->loop.walk_step_index = 0;
    EXPECT_EQ(settled_outcome(m), GameOutcome::None);
    m.game->loop.walk_step_index = -1;
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);
    // Nor while a button is down, whichever loop takes its release: here the scenario information's own.
    m.game->game_won = 0;
    m.scenario_info = [](MainState& mm) {
        return run_scen_info(mm.renderer, *mm.res->archive, mm.res->palette, mm.res, mm.fonts.def,
                             scenario_info_config(game_of(mm)), nullptr, mm.fonts.small) == 1;
    };
    push(mouse(SDL_MOUSEBUTTONDOWN, 0, 0));
    run_frame(m, 16.0f);
    script.stop();
    script.start({{mouse(SDL_MOUSEBUTTONUP, 0, 0)}, {key_down(SDLK_ESCAPE)}});
    push(key_down(SDLK_i));
    run_frame(m, 16.0f);
    script.stop();
    m.game->game_won = 1;
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon) << "the release the scenario information took";
    // A lost window lets no button go, the won map takes no key, and a release still queued is the map's.
    push(mouse(SDL_MOUSEBUTTONDOWN, 0, 0));
    SDL_Event lost{SDL_WINDOWEVENT};
    lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    push(lost);
    run_frame(m, 16.0f);
    EXPECT_EQ(settled_outcome(m), GameOutcome::None);
    push(key_down(SDLK_e));
    run_frame(m, 16.0f);
    EXPECT_FALSE(m.game->events.dialog_open) << "the won map asked to end the turn";
    push(mouse(SDL_MOUSEBUTTONUP, 0, 0));
    EXPECT_EQ(settled_outcome(m), GameOutcome::None);
    run_frame(m, 16.0f);
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);
    // A motion tells the buttons as they are, for a release that never came.
    push(mouse(SDL_MOUSEBUTTONDOWN, 0, 0));
    SDL_Event still{SDL_MOUSEMOTION};
    push(still);
    run_frame(m, 16.0f);
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);

    // The same end into a table that cannot be written (a folder where its temporary file goes): the
    // notice names that file with the reason, and the table stays as it was.
    const std::string table = high_score_path(dir.dir(), HighScoreTable::Standard);
    const std::vector<uint8_t> before = read_bytes(table);
    fs::create_directory(table + ".tmp");
    std::vector<std::string> told;
    shown_text_hook() = [&told](const std::string& t) { told.push_back(t); };
    script.stop();
    // Score screen, name entry, the notice, high-score page.
    script.start({{key_down(SDLK_RETURN)}, {key_down(SDLK_RETURN)}, {key_down(SDLK_RETURN)}, {key_down(SDLK_ESCAPE)}});
    testing::internal::CaptureStderr();
    finish_game(m, GameOutcome::StandardWon);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(told, std::vector<std::string>{"The high-score table could not be written.\nSTANDARD.HS.tmp: " +
                                             std::make_error_code(std::errc::is_a_directory).message()});
    EXPECT_EQ(read_bytes(table), before);
    EXPECT_FALSE(m.game);
}

TEST_F(GameEndTest, ALostGameShowsTheLossAndTheTitleScreenAgain) {
    NewGameConfig cfg;
    cfg.map_path = put_map("KITQUICK.MAP", "Last Stand");
    title_screen_offers(cfg);
    int end_frames = 0;
    frontend_frame_hook() = [&] { ++end_frames; };
    bool struck = false;
    run_games(m, [&](MainState& mm) {
        play_frame(mm);
        if (!mm.game || struck) return;
        // The only hero falls and the home town is lost: no human seat is left.
        GameSession& g = *mm.game;
        g.state.heroes[0].live = 0;
        g.state.castles[0].owner = 1;
        check_post_battle_eliminations(g.state, g.map, g.elimination, 0);
        struck = true;
        EXPECT_EQ(game_outcome(g), GameOutcome::Lost);
        script.start({{key_down(SDLK_RETURN)}});
    });
    frontend_frame_hook() = nullptr;
    EXPECT_GT(end_frames, 0) << "the loss message was shown (the kit folder has no film)";
    EXPECT_EQ(title_screens, 2);
    EXPECT_FALSE(m.game);
    EXPECT_FALSE(m.quit);

    // A map that does not load is told, and waits for the player before the title screen comes back.
    script.stop();
    title_screens = 0;
    NewGameConfig missing;
    missing.map_path = dir.dir() + "maps/NOWHERE.MAP";
    title_screen_offers(missing);
    script.start({{key_down(SDLK_RETURN)}});
    run_games(m, [](MainState& mm) {
        ADD_FAILURE() << "no game should run";
        mm.quit = true;
    });
    script.stop();
    EXPECT_EQ(script.next, 1u) << "the notice took the key";
    EXPECT_EQ(title_screens, 2);
    EXPECT_FALSE(m.game);
    EXPECT_FALSE(m.quit);
}

// The player's last town falls on a computer seat's turn and the day turns before the loss is told:
// every frame from the fall to the loss message is the player's own screen (its map where it left it,
// its fog, its emptied panel), never the computer's heroes, towns or ground.
TEST_F(GameEndTest, ALossOnAComputersTurnShowsThePlayersOwnScreenUpToTheEnd) {
    use_demo_art();
    kit::MapBuilder b(36, 36, kit::G_GRASS, "Lost Ground");
    b.town(5, 5, FACTION_KNIGHT, 0, false, "Oakhold");
    // The computer's first hero waits in a corner the player never saw; its second is at the gate.
    b.town(30, 30, FACTION_BARBARIAN, 1, true, "Farkeep");
    b.hero(31, 31, 9, 1);
    b.hero(8, 5, 9, 1);
    dir.put("maps/KITLOST.MAP", kit::write_map_bytes(b.map));
    NewGameConfig cfg;
    cfg.map_path = dir.dir() + "maps/KITLOST.MAP";
    title_screen_offers(cfg);
    // Unwatched, the computer's whole turn runs in one frame: the town falls and the day turns at once.
    m.settings.view_enemy_moves = false;
    int left_x = -1, left_y = -1, compared = 0;
    run_games(m, [&](MainState& mm) {
        run_frame(mm, 16.0f);
        if (++frame_count > 3000) mm.quit = true;
        if (!mm.game) return;
        GameSession& g = *mm.game;
        LoopState& l = g.loop;
        if (!is_player_eliminated(g.elimination, 0)) {
            // Each turn the announcement is closed and the turn ended; the only hero fell before.
            if (g.events.dialog_open) push(key_down(SDLK_RETURN));
            if (g.events.dialog_open || g.new_day.active || l.computer_turn_pending) return;
            if (!l.hero_order.empty()) remove_hero_from_map(mm, l.hero_order[0], false);
            left_x = l.view_x;
            left_y = l.view_y;
            push(key_down(SDLK_e));
            return;
        }
        ASSERT_FALSE(g.events.dialog_open);
        const std::vector<uint8_t> shown = pixels();
        static const std::vector<int> none;
        static const LocatorPanelState rows;
        AdventureFrame own;
        own.res = mm.adv;
        own.new_day_res = mm.new_day_res;
        own.state = &g.state;
        own.map = &g.map;
        own.view_x = left_x;
        own.view_y = left_y;
        own.moves = &l.moves;
        own.current_player = 0;
        own.anim_tick = l.anim_tick;
        own.hero_order = own.town_order = &none;
        own.locator = &rows;
        own.new_day = &g.new_day;
        draw_adventure_screen(mm.renderer, own);
        const std::vector<uint8_t> expected = pixels();
        int differ = 0;
        for (size_t i = 0; i < shown.size(); ++i) differ += shown[i] != expected[i];
        EXPECT_EQ(differ, 0) << "frame " << frame_count << ", the computer's turn " << l.computer_turn_pending
                             << ", the new day " << g.new_day.active;
        ++compared;
        if (settled_outcome(mm) == GameOutcome::Lost) script.start({{key_down(SDLK_RETURN)}});
    });
    EXPECT_GT(compared, 1) << "frames from the fall of the town to the loss";
    EXPECT_EQ(title_screens, 2) << "the loss was told and the title screen came back";
}

TEST_F(GameEndTest, AWonCampaignScenarioIsSavedAndAnnouncesTheNextWithTheCampaignCarried) {
    NewGameConfig cfg;
    cfg.mode = MODE_CAMPAIGN;
    cfg.campaign_lord = 2;
    cfg.campaign_maps = {put_map("CAMP1.CMP", "First March"), put_map("CAMP2.CMP", "Second March")};
    cfg.campaign_map_path = cfg.campaign_maps[0];
    title_screen_offers(cfg);
    // The player saved twice under the name offered at the minute the scenario is won.
    std::tm minute{};
    minute.tm_year = 126, minute.tm_mon = 11, minute.tm_mday = 6, minute.tm_hour = 9, minute.tm_min = 42;
    m.local_time = [minute] { return minute; };
    const std::string offered = format_campaign_stem(minute, 1);
    dir.put("saved_camps/" + offered + ".sav", {1, 2, 3});
    dir.put("saved_camps/" + offered + "-2.sav", {4, 5});
    strings().load_from_text(R"({"CAMPAIGN_SAVED_PROMPT":"Saved as {0}. Go on?"})", "{}");
    std::vector<std::string> told;
    shown_text_hook() = [&told](const std::string& text) { told.push_back(text); };
    NewGameConfig carried;
    std::string second_map;
    run_games(m, [&](MainState& mm) {
        play_frame(mm);
        if (!mm.game) return;
        if (mm.game->config.scenario_index == 1) {
            carried = mm.game->config;
            second_map = mm.game->map.name;
            mm.quit = true;
        } else if (settled_outcome(mm) != GameOutcome::None) {
            // Save prompt (yes), victory page, the next scenario's announcement.
            script.start({{key_down(SDLK_RETURN)}, {key_down(SDLK_RETURN)}, {key_down(SDLK_RETURN)}});
        }
    });
    EXPECT_EQ(title_screens, 1);
    EXPECT_EQ(carried.mode, MODE_CAMPAIGN);
    EXPECT_EQ(carried.scenario_index, 1);
    EXPECT_EQ(carried.campaign_map_path, cfg.campaign_maps[1]);
    EXPECT_EQ(carried.campaign_lord, 2);
    EXPECT_EQ(carried.campaign_maps, cfg.campaign_maps);
    EXPECT_EQ(second_map, "Second March");
    EXPECT_EQ(m.campaign_days, 1) << "the first scenario's days count towards the campaign";

    // The won scenario was saved as completed under a free name, which the question tells; the
    // player's saves are as they were. Loading it goes on with the campaign's next step.
    EXPECT_EQ(read_bytes(dir.dir() + "saved_camps/" + offered + ".sav"), (kit::Bytes{1, 2, 3}));
    EXPECT_EQ(read_bytes(dir.dir() + "saved_camps/" + offered + "-2.sav"), (kit::Bytes{4, 5}));
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told[0], "Saved as " + offered + "-3. Go on?");
    const LoadResult loaded = load_campaign_game(dir.dir() + "saved_camps/" + offered + "-3.sav");
    ASSERT_TRUE(loaded.ok) << loaded.error;
    EXPECT_TRUE(loaded.campaign_completed);
    EXPECT_EQ(loaded.config.scenario_index, 0);

    // The last scenario won: its closing films; the window closed during the second one ends the
    // program, and the campaign's result is kept under the default name.
    end_game(m);
    m.quit = false;
    title_screens = 0;
    frame_count = 0;
    script.stop();
    dir.put("ANIM/WIN02.SMK", kit::write_smk(kit::demo_smk_film("THE END", 64, 48, 2.0, false)));
    NewGameConfig last = cfg;
    last.campaign_maps = {cfg.campaign_maps[0]};
    title_screen_offers(last);
    SDL_Event close{};
    close.type = SDL_QUIT;
    run_games(m, [&](MainState& mm) {
        play_frame(mm);
        if (mm.game && settled_outcome(mm) != GameOutcome::None) script.start({{close}});
    });
    EXPECT_TRUE(m.quit);
    EXPECT_EQ(title_screens, 1);
    const HighScoreEntry kept = load_high_scores(high_score_path(dir.dir(), HighScoreTable::Campaign),
                                                 HighScoreTable::Campaign)[0];
    EXPECT_EQ(kept.label, "Lord Oskarn");
    EXPECT_EQ(kept.score, 1);
}

// With no closing films to play, the congratulations page is the first screen after the win: a window
// closed on it ends the program and keeps the campaign's result under the default name; a termination
// request there, which ends the process from the page, keeps the same row first. A row that cannot be
// written is said on the console with the file and the reason.
TEST_F(GameEndTest, AWindowClosedOrATerminationOnTheCampaignsCongratulationsKeepsItsResult) {
    NewGameConfig cfg;
    cfg.mode = MODE_CAMPAIGN;
    cfg.campaign_lord = 2;
    cfg.campaign_maps = {put_map("CAMP1.CMP", "First March")};
    cfg.campaign_map_path = cfg.campaign_maps[0];
    const std::string table = high_score_path(dir.dir(), HighScoreTable::Campaign);
    const auto play_to_the_end = [&](const std::function<void()>& on_the_page) {
        end_game(m);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // the close handed on by the page before
        m.quit = false;
        title_screens = 0;
        frame_count = 0;
        title_screen_offers(cfg);
        bool shown = false;
        frontend_frame_hook() = [&shown, &on_the_page] {
            if (std::exchange(shown, true)) return;
            on_the_page();
        };
        try {
            run_games(m, [&](MainState& mm) { play_frame(mm); });
        } catch (const AbandonedScreen&) {
            EXPECT_TRUE(m.game) << "ended from the page";
        }
        frontend_frame_hook() = nullptr;
        EXPECT_TRUE(shown);
        EXPECT_EQ(title_screens, 1);
    };
    const auto close_window = [] {
        SDL_Event close{};
        close.type = SDL_QUIT;
        SDL_PushEvent(&close);
    };

    play_to_the_end(close_window);
    EXPECT_TRUE(m.quit);
    const HighScoreEntry kept = load_high_scores(table, HighScoreTable::Campaign)[0];
    EXPECT_EQ(kept.label, "Lord Oskarn");
    EXPECT_EQ(kept.score, 1);

    // As the page's frame does on a termination request.
    fs::remove(table);
    play_to_the_end([] { end_process(); });
    const auto row_text = [](const HighScoreEntry& r) {
        return r.name + ", " + r.label + ", " + std::to_string(r.score);
    };
    const std::vector<HighScoreEntry> rows = load_high_scores(table, HighScoreTable::Campaign);
    EXPECT_EQ(row_text(rows[0]), row_text(kept));
    ASSERT_TRUE(m.game);
    EXPECT_EQ(rows[0].name, high_score_default_name(m.game->state));
    EXPECT_EQ(row_text(rows[1]), row_text(default_campaign_high_scores()[0])) << "kept once";

    fs::remove(table);
    fs::create_directory(table);
    testing::internal::CaptureStderr();
    play_to_the_end(close_window);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("The high-score table could not be written: " + table + ": " +
                       std::make_error_code(std::errc::is_a_directory).message()),
              std::string::npos)
        << err;
}

TEST_F(GameEndTest, AWonCampaignScenarioThatCannotBeSavedIsToldSoAndAsksHowToGoOn) {
    NewGameConfig cfg;
    cfg.mode = MODE_CAMPAIGN;
    cfg.campaign_maps = {put_map("CAMP1.CMP", "First March"), put_map("CAMP2.CMP", "Second March")};
    cfg.campaign_map_path = cfg.campaign_maps[0];
    dir.put("saved_camps", {1});  // a file where the folder should be: no write, even as root
    title_screen_offers(cfg);
    std::vector<std::pair<bool, std::string>> reports;
    m.report_saved = [&reports](MainState&, bool ok, const std::string& text) { reports.push_back({ok, text}); };
    std::vector<std::string> asked;
    shown_text_hook() = [&asked](const std::string& text) { asked.push_back(text); };
    int reached = -1;
    testing::internal::CaptureStderr();
    run_games(m, [&](MainState& mm) {
        play_frame(mm);
        if (!mm.game) return;
        if (mm.game->config.scenario_index == 1) {
            reached = 1;
            mm.quit = true;
        } else if (settled_outcome(mm) != GameOutcome::None) {
            // No: the save again (it fails again); yes: on without it; the victory page; the announcement.
            script.start({{key_down(SDLK_n)}, {key_down(SDLK_y)}, {key_down(SDLK_RETURN)}, {key_down(SDLK_RETURN)}});
        }
    });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reached, 1) << "yes goes on to the next scenario";
    EXPECT_EQ(asked, std::vector<std::string>(2, unsaved_scenario_question())) << "never asked as if saved";
    ASSERT_EQ(reports.size(), 2u) << "each failed try is told";
    const std::string why = std::make_error_code(std::errc::not_a_directory).message();
    for (const auto& [ok, text] : reports) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(text, "GAME_SAVE_FAILED\nsaved_camps: " + why) << "the folder in the way";
    }
    EXPECT_NE(err.find("Campaign autosave failed"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(dir.path / "saved_camps")) << "nothing was written";
}

// New game during play (n, or the control panel's button): the running game ends for the title screen.
TEST_F(GameEndTest, NewGameDuringPlayGoesBackToTheTitleScreen) {
    NewGameConfig cfg;
    cfg.map_path = put_map("KITQUICK.MAP", "Last Stand");
    title_screen_offers(cfg);
    run_games(m, [&](MainState& mm) {
        play_frame(mm);
        if (frame_count == 3) start_new_game(mm);
        else if (frame_count > 3) mm.quit = true;  // still playing: the game did not end
    });
    EXPECT_EQ(title_screens, 2);
    EXPECT_FALSE(m.game);
    EXPECT_FALSE(m.quit);
}

// l during play: the question, then the title screen's load menu and dialog; the running game
// goes only when the chosen save is set up.
TEST_F(GameEndTest, LoadDuringPlayGoesThroughTheTitleScreenAndKeepsTheGameWhenNothingLoads) {
    NewGameConfig camp;
    camp.mode = MODE_CAMPAIGN;
    camp.campaign_maps = {put_map("CAMP1.CMP", "First March"), put_map("CAMP2.CMP", "Second March")};
    camp.campaign_map_path = camp.campaign_maps[0];
    ASSERT_TRUE(setup_game(m, camp, m.archive, 3));
    ASSERT_TRUE(save_running_game(m, "march").ok);
    NewGameConfig cfg;
    cfg.map_path = put_map("KITQUICK.MAP", "Last Stand");
    ASSERT_TRUE(setup_game(m, cfg, m.archive, 5));
    m.confirm = confirm_over_map;
    m.front_end = [](MainState& mm) {
        return run_new_game_screen(mm.renderer, *mm.res->archive, mm.res->palette, nullptr, nullptr, mm.res, {}, {});
    };
    auto gold = [&] { return m.game->state.resources[0].gold; };
    run_frame(m, 16.0f);
    push(key_down(SDLK_RETURN));  // the turn announcement
    run_frame(m, 16.0f);
    ASSERT_TRUE(save_running_game(m, "before").ok);
    const int32_t saved_gold = gold();
    m.game->state.resources[0].gold += 777;
    const GameSession* running = m.game.get();
    // l, then one step of input for each screen that comes up; slack before the guard's quit.
    auto press_l = [&](std::vector<std::vector<SDL_Event>> steps) {
        push(key_down(SDLK_l));
        steps.resize(steps.size() + 8);
        script.start(steps);
        run_frame(m, 16.0f);
        script.stop();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    };
    const std::vector<SDL_Event> yes{key_down(SDLK_RETURN)}, load_menu{key_down(SDLK_l)},
        standard{key_down(SDLK_s)}, campaign{key_down(SDLK_c)}, first_row{key_down(SDLK_RETURN)};

    press_l({{key_down(SDLK_ESCAPE)}});
    EXPECT_EQ(m.game.get(), running) << "no: the game goes on";
    EXPECT_EQ(gold(), saved_gold + 777);

    // A damaged save listed first: the notice, over the same game.
    dir.put("saved_games/zz-damaged.sav", kit::Bytes(3000, 0xA5));
    testing::internal::CaptureStderr();
    press_l({yes, load_menu, standard, first_row});
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(m.game.get(), running);
    EXPECT_EQ(gold(), saved_gold + 777);
    ASSERT_TRUE(m.game->events.dialog_open);
    EXPECT_EQ(m.game->events.current_dialog()->def.text, "GAME_LOAD_FAILED\nzz-damaged.sav: Not a Veldar save file.");
    push(key_down(SDLK_RETURN));
    run_frame(m, 16.0f);
    EXPECT_FALSE(m.game->events.dialog_open);
    EXPECT_FALSE(m.quit);

    fs::remove(dir.path / "saved_games/zz-damaged.sav");
    press_l({yes, load_menu, standard, first_row});
    ASSERT_TRUE(m.game);
    EXPECT_EQ(gold(), saved_gold) << "the saved game runs";
    EXPECT_EQ(m.game->map.name, "Last Stand");
    EXPECT_FALSE(m.game->campaign);

    run_frame(m, 16.0f);
    push(key_down(SDLK_RETURN));  // its turn announcement
    run_frame(m, 16.0f);
    m.campaign_days = 4;
    press_l({yes, load_menu, campaign, first_row});
    ASSERT_TRUE(m.game);
    EXPECT_TRUE(m.game->campaign);
    EXPECT_EQ(m.game->map.name, "First March");
    EXPECT_EQ(m.game->config.campaign_maps, camp.campaign_maps);
    EXPECT_EQ(m.campaign_days, 0);
    EXPECT_FALSE(m.quit);
}

// Two people at one machine: each turn starts with its own announcement over a hidden map.
TEST_F(GameEndTest, HotSeatTurnsAreAnnouncedOverAHiddenMap) {
    use_demo_art();
    NewGameConfig cfg;
    cfg.mode = MODE_HOTSEAT;
    cfg.player_count = 2;
    cfg.map_path = put_map("KITQUICK.MAP", "Last Stand");
    cfg.seats[0] = SeatConfig{COLOR_RED, SEAT_HUMAN, 1, 0, 0, "A"};
    cfg.seats[1] = SeatConfig{COLOR_BLUE, SEAT_HUMAN, 1, 0, 0, "B"};
    setup_game(m, cfg, m.archive, 7);
    GameSession& g = *m.game;
    // Lit pixels of a rectangle of the last frame.
    auto lit = [&](SDL_Rect rc) {
        std::vector<uint8_t> px((size_t)rc.w * rc.h * 4);
        SDL_RenderReadPixels(m.renderer, &rc, SDL_PIXELFORMAT_RGBA32, px.data(), rc.w * 4);
        int n = 0;
        for (size_t i = 0; i < px.size(); i += 4) n += px[i] + px[i + 1] + px[i + 2] > 0;
        return n;
    };
    const SDL_Rect top{0, 0, 640, 40}, around_hero{200, 200, 100, 100};
    auto frame_then = [&](SDL_Keycode k) {
        run_frame(m, 16.0f);
        if (k) {
            push(key_down(k));
            run_frame(m, 16.0f);
        }
    };

    frame_then(0);
    ASSERT_TRUE(g.events.dialog_open);
    EXPECT_EQ(g.events.current_dialog()->def.text, "Red player turn.");
    EXPECT_EQ(lit(top), 0) << "the map waits behind the announcement";
    frame_then(SDLK_RETURN);
    EXPECT_FALSE(g.events.dialog_open);
    EXPECT_GT(lit(around_hero), 5000) << "the first player's map";
    frame_then(SDLK_e);  // the hero could still move: asked first
    frame_then(SDLK_RETURN);
    EXPECT_EQ(g.loop.current_player, 1);
    ASSERT_TRUE(g.events.dialog_open);
    EXPECT_EQ(g.events.current_dialog()->def.text, "Blue player turn.");
    EXPECT_EQ(lit(top), 0) << "the second player sees nothing of the first one's map";
    frame_then(SDLK_RETURN);
    EXPECT_GT(lit(around_hero), 5000);

    // Beside a computer seat, the last human's map stays hidden while the computer plays.
    cfg.seats[1].kind = SEAT_COMPUTER;
    ASSERT_TRUE(setup_game(m, cfg, m.archive, 7));
    frame_then(SDLK_RETURN);
    ASSERT_FALSE(m.game->events.dialog_open);
    EXPECT_GT(lit(around_hero), 5000);
    frame_then(SDLK_e);
    frame_then(SDLK_RETURN);
    EXPECT_EQ(m.game->loop.current_player, 1);
    EXPECT_EQ(lit(SDL_Rect{0, 0, 640, 480}), 0) << "the computer's turn";
}

// What ends a game, read from the session alone: a hot seat's human winner (seat 0 among them), a won
// standard game or campaign scenario, or the last human seat out or beaten by a computer seat.
TEST(GameOutcomeRule, EachEndIsToldByWhatTheSessionHolds) {
    auto g = std::make_unique<GameSession>();
    EXPECT_EQ(game_outcome(*g), GameOutcome::None) << "no human seat, so none is out";
    g->state.player_color[0] = 0;
    g->state.player_is_human[0] = 1;
    g->state.player_color[1] = 1;
    EXPECT_EQ(game_outcome(*g), GameOutcome::None);
    g->elimination.players[1].eliminated = 1;  // a computer seat out ends nothing
    EXPECT_EQ(game_outcome(*g), GameOutcome::None);
    g->elimination.players[0].eliminated = 1;
    EXPECT_EQ(game_outcome(*g), GameOutcome::Lost);
    g->elimination.players[0].eliminated = 0;
    g->game_lost = true;
    EXPECT_EQ(game_outcome(*g), GameOutcome::Lost);
    g->game_won = 2;
    EXPECT_EQ(game_outcome(*g), GameOutcome::CampaignScenarioWon);
    g->game_won = 1;
    EXPECT_EQ(game_outcome(*g), GameOutcome::StandardWon);
    g->hot_seat = true;
    EXPECT_EQ(game_outcome(*g), GameOutcome::StandardWon) << "a hot seat without a winner yet";
    g->hot_seat_winner = 0;
    EXPECT_EQ(game_outcome(*g), GameOutcome::HotSeatWon);
    g->hot_seat_winner = 1;
    EXPECT_EQ(game_outcome(*g), GameOutcome::Lost) << "a computer seat won";
    g->state.player_is_human[1] = 1;
    EXPECT_EQ(game_outcome(*g), GameOutcome::HotSeatWon) << "a second human won";
}

}  // namespace
}  // namespace vorn1::test
