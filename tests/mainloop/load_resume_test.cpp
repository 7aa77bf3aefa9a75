// A loaded game is the game that was saved: loading goes on with the saved turn, or the saved day's
// turnover, and does nothing of a turn's start again.
#include <sstream>
#include <tuple>

#include "lang/runtime_strings.h"
#include "datakit/kit_maps.h"
#include "loop_fixture.h"
#include "temp_dir.h"
#include "mainloop/game_files.h"
#include "mainloop/victory_check.h"

namespace vorn1::test {

namespace {

void describe_steps(std::ostringstream& o, const std::vector<RouteStep>& steps) {
    for (const RouteStep& s : steps)
        o << " (" << s.x << "," << s.y << " d" << (int)s.dir << ">" << (int)s.next_dir << " c" << s.cost << " w"
          << (int)s.within_points << ")";
}

void describe_markers(std::ostringstream& o, const std::vector<RouteMarker>& markers) {
    for (const RouteMarker& k : markers)
        o << " [" << k.x << "," << k.y << " d" << (int)k.dir << ">" << (int)k.next_dir << " r" << (int)k.reachable
          << " e" << (int)k.is_destination << "]";
}

// What the player sees and plays with besides the game state: whose turn, the lists and selection, every
// hero's points and plan, the calendar, the countdowns and whether a computer's turn runs.
std::string visible_loop_state(const GameSession& g) {
    const LoopState& l = g.loop;
    std::ostringstream o;
    o << "player " << l.current_player << " selected " << l.selected_hero << " computer " << l.computer_turn_pending
      << " day over " << l.day_over << "\ncalendar " << l.day << "/" << l.week << "/" << l.month << "\norder";
    for (int p : l.player_order) o << " " << p;
    o << "\nheroes";
    for (int h : l.hero_order) o << " " << h;
    o << "\ntowns";
    for (int t : l.town_order) o << " " << t;
    o << "\nplan (" << l.route_dest_x << "," << l.route_dest_y << ")";
    describe_steps(o, l.active_route);
    describe_markers(o, l.active_markers);
    for (size_t h = 0; h < g.state.heroes.size(); ++h) {
        o << "\nhero " << h << " points " << l.hero_move_points[h];
        if (h == (size_t)l.selected_hero) continue;  // its plan is the active one
        const HeroRoute& r = l.hero_routes[h];
        o << " plan (" << r.dest_x << "," << r.dest_y << ")";
        describe_steps(o, r.steps);
        describe_markers(o, r.markers);
    }
    for (const PlayerEliminationRecord& r : g.elimination.players)
        o << "\nseat out " << (int)r.eliminated << " days left " << r.days_left << " notice " << (int)r.countdown_notice
          << " pending " << (int)r.notice_pending;
    return o.str();
}

// Offset of the first byte in which two images differ; -1 when they are equal.
long first_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) return (long)i;
    return a.size() == b.size() ? -1 : (long)std::min(a.size(), b.size());
}

}  // namespace

class LoadResumeTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        strings().load_from_text("", R"({"ADV_ELIM_WARNING": "{0} days left."})");
    }
    // The running game as a save image, refreshed as every save refreshes it.
    std::vector<uint8_t> save_image() {
        const SavedEliminationState elim = refresh_before_save(g());
        return build_save_image(state(), map(), NewGameConfig{}, loop().day, loop().week, loop().month, &g().puzzle,
                                loop().current_player, &elim);
    }
    void load_image(const std::vector<uint8_t>& image) {
        LoadResult loaded = load_game_image(image, "", false);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        setup_loaded_game(m, std::move(loaded));
    }
    // The dialogs now open, by text, all closed.
    std::vector<std::string> close_dialogs() {
        std::vector<std::string> texts;
        for (int i = 0; i < 16 && g().events.dialog_open; ++i) {
            texts.push_back(g().events.current_dialog()->def.text);
            g().events.close_dialog(EVENT_BUTTON_OK);
        }
        return texts;
    }
    // Red, human, has two heroes and no town (its countdown runs); the computer seat, next, a town.
    void make_countdown_game() {
        make_game();
        state().victory.kind = VICTORY_GATHER_GOLD;  // a goal a load without the map keeps
        add_town(15, 15, 1);
        add_hero(5, 5, 0);
        add_hero(3, 3, 0, 4);
        check_post_battle_eliminations(state(), map(), g().elimination, 0);
        start_player_turn(m, 0);
        close_dialogs();
        ASSERT_EQ(g().elimination.players[0].days_left, kNoTownCountdownDays - 1);
    }
};

// Mid-turn: hero 0 has a plan it has not set out on; hero 1, selected, walked until it had no points
// left, its plan's rest kept for the next day. Saved and loaded three times, the game is each time the one saved.
TEST_F(LoadResumeTest, SavingAndLoadingChangesNothing) {
    make_countdown_game();
    select_hero(g(), 0);
    plan_hero_route(m, 0, 9, 5);
    select_hero(g(), 1);
    plan_hero_route(m, 1, 3, 9);
    start_walk(m);
    frames(200);
    ASSERT_EQ(state().heroes[1].y, 4) << "one step on the points it had";
    ASSERT_EQ(loop().hero_move_points[1], 0);
    ASSERT_EQ(loop().route_dest_y, 9) << "the rest of the plan stays";

    const std::vector<uint8_t> saved = save_image();
    const std::string seen = visible_loop_state(g());
    for (int load = 1; load <= 3; ++load) {
        SCOPED_TRACE(load);
        load_image(load == 1 ? saved : save_image());
        // The turn is told again, with the days left, and nothing else happens.
        EXPECT_EQ(close_dialogs(), (std::vector<std::string>{"Red player turn.", "6 days left."}));
        EXPECT_EQ(visible_loop_state(g()), seen);
        const std::vector<uint8_t> again = save_image();
        EXPECT_EQ(first_difference(again, saved), -1) << "the game state differs from the one saved";
    }
    // The turn ends as the saved one would: the computer seat plays next.
    end_current_turn(m);
    EXPECT_EQ(loop().current_player, 1);
    EXPECT_TRUE(loop().computer_turn_pending);
}

// A save whose map file is missing loads on the saved land: the player is told once, after the turn's own
// notice, and the load decides nothing. A lone seat has no rival, so beating none is no win; a town to
// capture becomes every rival beaten, and the rival stands. A save loaded with its map that nobody in play
// can win any more (its lone seat holding the target since the start) is told so too.
TEST_F(LoadResumeTest, ASaveWithoutItsMapIsToldOnceAndDecidesNothing) {
    const std::tuple<bool, bool, uint8_t, const char*> rows[] = {
        {false, false, VICTORY_DEFEAT_ALL,
         "The map of this saved game is missing. The game goes on with the saved land; your goal stays as it was."},
        {false, true, VICTORY_CAPTURE_TOWN,
         "The map of this saved game is missing. Your goal is now to defeat every rival."},
        {true, false, VICTORY_CAPTURE_TOWN,
         "No player in this game can still meet its goal: this game can no longer be won."},
    };
    test::TempDir maps("held_alone");
    for (const auto& [with_map, rival, goal, notice] : rows) {
        SCOPED_TRACE(notice);
        make_game();
        add_hero(5, 5, 0);
        if (rival || with_map) add_town(15, 15, rival ? 1 : 0);
        if (!rival) {
            state().player_in_play[1] = 0xFF;
            state().player_color[1] = COLOR_NONE;
            loop().player_order = {0};
        }
        state().victory.kind = goal;
        state().victory.target_x = state().victory.target_y = 15;
        if (with_map) map().objects = {{MOBJ_TOWN, 15, 15, 0, 0, 0, 0, "Held"}};
        ASSERT_TRUE(kit::write_map_file((maps.path / "HELD.MAP").string(), map()));
        NewGameConfig cfg;
        cfg.map_stem = "HELD";
        const SavedEliminationState elim = refresh_before_save(g());
        testing::internal::CaptureStderr();
        LoadResult loaded = load_game_image(build_save_image(state(), map(), cfg, 1, 1, 1, &g().puzzle, 0, &elim),
                                            with_map ? maps.path.string() : "", true);
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("base map unavailable") != std::string::npos, !with_map);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        setup_loaded_game(m, std::move(loaded));
        EXPECT_EQ(close_dialogs(), (std::vector<std::string>{"Red player turn.", notice}));
        // The scenario information states the goal as it now stands.
        EXPECT_EQ(scenario_info_config(g()).description, rival ? std::string(notice) : std::string());
        g().config.map_stem = "GONE";
        EXPECT_EQ(scenario_info_config(g()).map_stem, with_map ? "GONE" : "") << "the map's own text only with it";
        end_current_turn(m);
        for (int i = 0; i < 3000 && m.game && (loop().current_player != 0 || g().new_day.active || loop().day_over); ++i)
            frames(1);
        ASSERT_TRUE(m.game);
        ASSERT_EQ(loop().day, 2);
        EXPECT_FALSE(goal_decided(g()));
        for (const std::string& text : close_dialogs()) EXPECT_NE(text, notice) << "told once";
    }
}

// A save with one day left: the load plays that day; the countdown ends at the next turn's start.
TEST_F(LoadResumeTest, TheLastDayIsPlayedAfterALoad) {
    make_countdown_game();
    g().elimination.players[0].days_left = 1;
    load_image(save_image());
    close_dialogs();
    EXPECT_FALSE(is_player_eliminated(g().elimination, 0));
    EXPECT_EQ(loop().current_player, 0);
    EXPECT_EQ(loop().selected_hero, 0);
    ASSERT_EQ(g().elimination.players[0].days_left, 1);
    end_current_turn(m);
    for (int i = 0; i < 3000 && !is_player_eliminated(g().elimination, 0); ++i) frames(1);
    EXPECT_TRUE(is_player_eliminated(g().elimination, 0));
}

// The end-of-day autosave holds the day before its turnover: loaded, the day turns over and the first seat
// starts the next day, as in the game that went on, rather than the saved day being played again.
TEST_F(LoadResumeTest, AnEndOfDayAutosaveGoesOnWithTheTurnover) {
    make_countdown_game();
    std::vector<uint8_t> autosave;
    m.settings.autosave = true;
    m.autosave = [&](const AutosaveRequest& r) {
        autosave = build_save_image(*r.state, *r.map, *r.config, r.day, r.week, r.month, r.puzzle, r.current_player,
                                    r.elimination);
        return SaveOutcome{true, "autosave.sav", {}};
    };
    end_current_turn(m);  // the computer seat plays, the day is over
    const auto next_human_turn = [&] {
        for (int i = 0; i < 3000 && (loop().current_player != 0 || g().new_day.active || loop().day_over); ++i)
            frames(1);
        return close_dialogs();
    };
    const std::vector<std::string> went_on = next_human_turn();
    ASSERT_FALSE(autosave.empty());
    const std::string seen = visible_loop_state(g());
    const std::vector<uint8_t> went_on_image = save_image();
    ASSERT_EQ(loop().day, 2);

    m.settings.autosave = false;
    load_image(autosave);
    EXPECT_TRUE(g().new_day.active) << "the day turns over first";
    EXPECT_EQ(next_human_turn(), went_on);
    EXPECT_EQ(visible_loop_state(g()), seen);
    EXPECT_EQ(first_difference(save_image(), went_on_image), -1) << "the game state differs";
}

}  // namespace vorn1::test
