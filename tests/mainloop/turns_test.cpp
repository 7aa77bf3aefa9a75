// Turn order, the end-of-turn check and confirmation, the day turnover and announcement texts.
#include "adventure/elimination_messages.h"
#include "adventure/new_day_panel.h"
#include "adventure/player_elimination.h"
#include "datakit/kit_maps.h"
#include "events/event_actions.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/town_capture.h"
#include "mainloop/town_screens.h"
#include "mainloop/visit_results.h"
#include "world/game_setup.h"
#include "lang/runtime_strings.h"
#include "loop_fixture.h"

namespace vorn1::test {
namespace {

TEST_F(LoopTest, CanStillMoveNeedsTheCheapestStep) {
    make_game();
    const int a = add_hero(5, 5, 0);
    const HeroState& h = state().heroes[a];
    EXPECT_FALSE(hero_can_still_move(map(), h, 3, nullptr));
    EXPECT_TRUE(hero_can_still_move(map(), h, 4, nullptr));
    for (int y = 4; y <= 6; ++y)
        for (int x = 4; x <= 6; ++x) map().tile(x, y)->ground = 110;  // straight 8, diagonal 12
    EXPECT_FALSE(hero_can_still_move(map(), h, 7, nullptr));
    EXPECT_TRUE(hero_can_still_move(map(), h, 8, nullptr));
    state().heroes[a].crest = MOVE_FLAT;
    EXPECT_TRUE(hero_can_still_move(map(), state().heroes[a], 7, nullptr));
    // Unexplored surroundings count as no way at all.
    state().fog[0].explored.fill(0);
    EXPECT_FALSE(hero_can_still_move(map(), state().heroes[a], 60, &state().fog[0]));
}

// Any one of the eight neighbours open is enough.
TEST_F(LoopTest, CanStillMoveTriesEveryNeighbour) {
    make_game();
    const int a = add_hero(5, 5, 0);
    for (int open = 0; open <= 8; ++open) {  // 8: all closed
        int k = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy) map().tile(5 + dx, 5 + dy)->blocking = k++ == open ? 0 : 0x80;
        EXPECT_EQ(hero_can_still_move(map(), state().heroes[a], 60, nullptr), open < 8) << "open neighbour " << open;
    }
}

TEST_F(LoopTest, BoatAmongLandAndTakenWaterCannotMove) {
    make_game();
    const int a = add_hero(5, 5, 0);
    map().tile(5, 5)->ground = 5;
    map().tile(6, 5)->ground = 5;
    map().tile(6, 5)->hero_figure = 2;
    state().heroes[a].on_boat = 1;
    EXPECT_FALSE(hero_can_still_move(map(), state().heroes[a], 60, nullptr));
    map().tile(6, 5)->hero_figure = 0;
    EXPECT_TRUE(hero_can_still_move(map(), state().heroes[a], 4, nullptr));
}

TEST_F(LoopTest, EndTurnAsksWhileAHeroCanMoveAndDeclineKeepsTheTurn) {
    make_game();
    strings().load_from_text("", R"({"GAME_END_TURN_CONFIRM": "End the turn?"})");
    const int a = add_hero(5, 5, 0);
    const int b = add_hero(10, 10, 1);
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "End the turn?");
    EXPECT_EQ(g().events.current_dialog()->def.buttons,
              (std::vector<EventButtonId>{EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE}));
    g().events.close_dialog(EVENT_BUTTON_DECLINE);
    EXPECT_EQ(loop().current_player, 0);
    EXPECT_FALSE(g().new_day.active);
    // Without points nobody can move: the turn ends at once; the computer seat's hero walks (its steps the
    // human has seen are animated over frames, the others made at once), then the day turns.
    loop().hero_move_points[a] = 3;
    request_end_turn(m);
    EXPECT_FALSE(g().events.dialog_open);
    EXPECT_EQ(loop().current_player, 1);
    EXPECT_TRUE(loop().computer_turn_pending);
    int watched = 0;
    for (int i = 0; i < 3000 && !loop().day_over; ++i) {
        frames(1);
        watched += loop().moves[b].active;
    }
    EXPECT_NE(state().heroes[b].x * 100 + state().heroes[b].y, 1010);
    EXPECT_GT(watched, 0);
    EXPECT_TRUE(loop().day_over);
    EXPECT_TRUE(g().new_day.active);
    EXPECT_EQ(state().day, 2);
    strings().load_from_text("", "");
}

TEST_F(LoopTest, ComputerSeatSpendsInItsTownsWhenItsTurnStarts) {
    make_game();
    add_hero(5, 5, 0, 0);
    const int t = add_town(10, 10, 1);
    state().castles[t].built_today = 1;
    state().castles[t].available[1] = 10;
    state().resources[1].gold = 3000;
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    ASSERT_EQ(loop().current_player, 1);
    // Half of the twenty Archers it can pay for, at most the ten waiting.
    EXPECT_EQ(state().castles[t].garrison.ids[0], 1);
    EXPECT_EQ(state().castles[t].garrison.counts[0], 10);
    EXPECT_EQ(state().resources[1].gold, 1500);
    frames(1);
    EXPECT_TRUE(g().new_day.active);
}

TEST_F(LoopTest, EliminatedLastSeatTurnsTheDayWithTheAutosaveOfTheOldDay) {
    make_game();
    m.settings.autosave = true;
    add_hero(5, 5, 0, 0);
    g().elimination.players[1].eliminated = 1;
    start_player_turn(m, 0);
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_EQ(next_player_in_order(g()), -1);
    request_end_turn(m);
    ASSERT_EQ(autosave_days, (std::vector<int>{1}));
    EXPECT_EQ(state().day, 2);
    EXPECT_EQ(loop().day, 2);
    EXPECT_TRUE(loop().day_over);
    EXPECT_TRUE(g().new_day.active);
    EXPECT_EQ(loop().hero_move_points[0], loop().hero_day_points[0]) << "points restored by the turnover";
    EXPECT_GT(loop().hero_move_points[0], 0);

    // A day whose first seat is out begins with the next seat in play.
    g().elimination.players[1].eliminated = 0;
    g().elimination.players[0].eliminated = 1;
    on_new_day_finished(m);
    EXPECT_EQ(loop().current_player, 1);
    EXPECT_FALSE(loop().day_over);
}

TEST_F(LoopTest, FailedAutosaveStillTurnsTheDayAndSaysItWasTheAutosave) {
    make_game();
    m.settings.autosave = true;
    m.autosave = [](const AutosaveRequest&) { return SaveOutcome{false, "/data/saved_games/autosave.sav", "Disk full"}; };
    loop().player_order = {0};
    std::stringstream err;
    std::streambuf* old = std::cerr.rdbuf(err.rdbuf());
    testing::internal::CaptureStderr();
    finish_day(m);
    const std::string text = testing::internal::GetCapturedStderr();
    std::cerr.rdbuf(old);
    EXPECT_NE(text.find("Autosave failed"), std::string::npos);
    EXPECT_EQ(state().day, 2);
    EXPECT_FALSE(loop().day_over) << "a single seat simply plays on";
    // The player is told that the autosave failed, which file and why.
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text,
              "The autosave could not be written.\nsaved_games/autosave.sav: Disk full");
    g().events.close_dialog(EVENT_BUTTON_OK);
    std::vector<bool> reports;
    m.report_saved = [&reports](MainState&, bool ok, const std::string&) { reports.push_back(ok); };
    testing::internal::CaptureStderr();
    finish_day(m);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(reports, std::vector<bool>{false});
    m.autosave = [](const AutosaveRequest&) { return SaveOutcome{true, "autosave.sav", {}}; };
    finish_day(m);
    EXPECT_EQ(reports, std::vector<bool>{false}) << "a good autosave says nothing";
}

TEST_F(LoopTest, TheNewDayShowsOnlyTheSeatsStillInPlay) {
    make_game();
    g().elimination.players[0].eliminated = 1;
    finish_day(m);
    EXPECT_EQ(new_day_players_shown(g().new_day, state()), 2u);
    g().elimination.players[0].eliminated = 0;
    g().elimination.players[1].eliminated = 1;
    finish_day(m);
    EXPECT_EQ(new_day_players_shown(g().new_day, state()), 1u);
}

TEST_F(LoopTest, NextPlayerSkipsEliminatedAndNeverWraps) {
    make_game();
    loop().player_order = {0, 1, 2, 3};
    loop().current_player = 0;
    g().elimination.players[1].eliminated = 1;
    EXPECT_EQ(next_player_in_order(g()), 2);
    loop().current_player = 2;
    EXPECT_EQ(next_player_in_order(g()), 3);
    loop().current_player = 3;
    EXPECT_EQ(next_player_in_order(g()), -1);
    loop().current_player = 7;  // not in the order: from the first
    EXPECT_EQ(next_player_in_order(g()), 0);
    // Where a day or a resumed game opens: the seat itself when in play, the next one in play, else around.
    EXPECT_EQ(opening_seat(g(), 2), 2);
    EXPECT_EQ(opening_seat(g(), 1), 2);
    EXPECT_EQ(opening_seat(g(), -1), 0);
    g().elimination.players[3].eliminated = 1;
    EXPECT_EQ(opening_seat(g(), 3), 0);
    for (PlayerEliminationRecord& r : g().elimination.players) r.eliminated = 1;
    EXPECT_EQ(opening_seat(g(), 2), 0) << "every seat out";
    for (PlayerEliminationRecord& r : g().elimination.players) r.eliminated = 0;
    g().elimination.players[1].eliminated = 1;
    loop().player_order = {0, 9, 1};
    loop().current_player = 0;
    EXPECT_EQ(next_player_in_order(g()), -1) << "entries above 3 and eliminated seats are skipped";
    loop().player_order.clear();
    EXPECT_EQ(next_player_in_order(g()), -1);
}

TEST_F(LoopTest, WeekTurnsAfterSevenDaysAndTheAnnouncementPrecedesTheTurn) {
    make_game();
    add_hero(5, 5, 0, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    for (int d = 0; d < 7; ++d) {
        push_key(SDLK_e);
        frames(1);
        accept_dialogs();                   // "end the turn?" once the hero has points again
        frames(1);                          // the computer seat passes
        ASSERT_TRUE(g().new_day.active) << "day " << d;
        push_key(SDLK_h);                   // swallowed by the new-day pause
        frames((int)(kNewDayMs / 16.0f) + 2);
        ASSERT_FALSE(g().new_day.active);
        if (d < 6) {
            accept_dialogs();
            EXPECT_EQ(loop().current_player, 0);
        }
    }
    EXPECT_EQ(state().day, 1);
    EXPECT_EQ(state().week, 2);
    EXPECT_EQ(loop().week, 2);
    // The week's announcement comes first, the turn's crest announcement queued after it.
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->kind, EventSystem::DialogKind::Plain);
    EXPECT_EQ(g().events.queued_dialogs(), 1u);
    accept_dialogs();
    EXPECT_FALSE(g().events.dialog_open);
}

TEST_F(LoopTest, TurnStartSelectsTheFirstHeroAndNamesTheColour) {
    make_game(72, 72);
    add_hero(3, 3, 1);
    const int b = add_hero(10, 5, 0);
    start_player_turn(m, 0);
    EXPECT_EQ(loop().selected_hero, b);
    EXPECT_EQ(loop().view_x, 337);
    EXPECT_TRUE(loop().announcement_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Red player turn.");
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_FALSE(loop().announcement_open);
    state().player_color[0] = 4;
    EXPECT_EQ(player_turn_text(state(), 0), "None player turn.");
    state().player_color[0] = 9;
    EXPECT_EQ(player_turn_text(state(), 0), "None player turn.");
    EXPECT_EQ(player_turn_text(state(), 5), "None player turn.");
    EXPECT_EQ(player_turn_text(state(), 1), "Green player turn.");
}

// Each hero's stored destination is planned again when its seat's turn starts, the map's first column
// and row included.
TEST_F(LoopTest, TurnStartPlansEveryStoredDestinationAgain) {
    make_game();
    const int a = add_hero(4, 5, 0);
    const int b = add_hero(9, 9, 0);
    state().heroes[a].dest_x = 0;
    state().heroes[a].dest_y = 5;
    state().heroes[b].dest_x = 12;
    state().heroes[b].dest_y = 0;
    start_player_turn(m, 0);
    ASSERT_EQ(loop().selected_hero, a);
    EXPECT_EQ(loop().route_dest_x, 0);
    EXPECT_EQ(loop().route_dest_y, 5);
    EXPECT_FALSE(loop().active_route.empty());
    EXPECT_EQ(loop().hero_routes[b].dest_x, 12);
    EXPECT_FALSE(loop().hero_routes[b].steps.empty());
}

// A seat without a hero shows nothing of the outgoing seat's hero: no selection, row or route.
TEST_F(LoopTest, TurnWithoutAHeroKeepsNoneOfTheLastSeatsSelection) {
    make_game();
    state().player_is_human[1] = 1;
    const int a = add_hero(5, 5, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    plan_hero_route(m, a, 8, 5);
    ASSERT_EQ(loop().locator.selected_hero_row, 0);
    ASSERT_FALSE(loop().active_markers.empty());
    start_player_turn(m, 1);
    EXPECT_EQ(loop().selected_hero, -1);
    EXPECT_EQ(loop().locator.selected_hero_row, -1);
    EXPECT_EQ(loop().route_dest_x, -1);
    EXPECT_TRUE(loop().active_route.empty());
    EXPECT_TRUE(loop().active_markers.empty());
}

// A game of one seat turns the day without a new turn: the player plays on with the same hero selected.
TEST_F(LoopTest, OneSeatEndsItsTurnIntoTheNewDayAndPlaysOn) {
    make_game();
    loop().player_order = {0};
    add_hero(5, 5, 0);
    const int b = add_hero(9, 9, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    select_hero(g(), b);
    end_current_turn(m);
    EXPECT_TRUE(g().new_day.active);
    EXPECT_FALSE(loop().day_over);
    on_new_day_finished(m);
    EXPECT_FALSE(g().events.dialog_open) << "no turn announcement";
    EXPECT_EQ(loop().current_player, 0);
    EXPECT_EQ(loop().selected_hero, b);
}

// Hot seat: the last human's map is hidden as the turn passes, through the computer's turn and the new
// day, until the next human has closed their announcement; in a game for one nothing is hidden.
TEST_F(LoopTest, HotSeatHidesTheMapFromOneHumansEndOfTurnToTheNextOnesAnnouncement) {
    make_game();
    add_hero(5, 5, 0, 0);
    g().hot_seat = true;
    start_player_turn(m, 0);
    EXPECT_TRUE(hot_seat_map_hidden(g())) << "under the turn's announcement";
    accept_dialogs();
    EXPECT_FALSE(hot_seat_map_hidden(g()));
    end_current_turn(m);
    ASSERT_EQ(loop().current_player, 1);
    EXPECT_TRUE(hot_seat_map_hidden(g())) << "the computer plays";
    frames(1);
    ASSERT_TRUE(g().new_day.active);
    EXPECT_TRUE(hot_seat_map_hidden(g())) << "the new day";
    frames((int)(kNewDayMs / 16.0f) + 2);
    ASSERT_FALSE(g().new_day.active);
    ASSERT_EQ(loop().current_player, 0);
    EXPECT_TRUE(hot_seat_map_hidden(g())) << "until the next human's announcement is closed";
    accept_dialogs();
    EXPECT_FALSE(hot_seat_map_hidden(g()));

    g().hot_seat = false;
    end_current_turn(m);
    EXPECT_FALSE(hot_seat_map_hidden(g())) << "one player watches the computer's moves";
}

TEST(LoopTexts, PeriodAndCreatureNamesFallBack) {
    strings().load_from_text("", R"({"NAME_THE_ANT_GEN": "of the Ant", "CREATURE_DRAGON_SG": "Dragon",
                                    "CREATURE_PEASANT_PLURAL": "Peasants", "CREATURE_PEASANT_GEN": "of Peasants",
                                    "ASTRO_AMBIENT_WEEK": "Week {0}", "ASTRO_AMBIENT_MONTH": "Month {0}",
                                    "ASTRO_WEEK_CREATURE": "W {0} {1}"})");
    EXPECT_EQ(period_name_loc("The Ant"), "of the Ant");
    EXPECT_EQ(period_name_loc("the-ant"), "of the Ant") << "non-letters become _, letters upper-case";
    EXPECT_EQ(period_name_loc("Owl"), "Owl");
    EXPECT_EQ(period_name_loc(""), "");
    EXPECT_EQ(creature_period_plural(0, "x"), "Peasants");
    EXPECT_EQ(creature_period_gen(0, "x"), "of Peasants");
    EXPECT_EQ(creature_period_plural(23, "x"), "Dragon") << "singular when the plural is missing";
    EXPECT_EQ(creature_period_gen(24, "fallback"), "fallback");
    EXPECT_EQ(creature_period_plural(-1, "fallback"), "fallback");
    WeekEvent e;
    e.kind = 1;
    e.name = "The Ant";
    EXPECT_EQ(week_announcement_text(e, false), "Week of the Ant");
    EXPECT_EQ(week_announcement_text(e, true), "Month of the Ant");
    e.kind = 3;
    e.creature = 0;
    EXPECT_EQ(week_announcement_text(e, false), "W Peasants of Peasants");
    e.kind = 0;
    EXPECT_EQ(week_announcement_text(e, false), "");
    strings().load_from_text("", "");
}

TEST_F(LoopTest, RemovedHeroLeavesItsBoatAndRowToTheNext) {
    make_game();
    const int a = add_hero(2, 2, 0), b = add_hero(4, 2, 0), c = add_hero(6, 6, 0);
    map().tile(6, 6)->ground = 5;
    state().boats.push_back(BoatState{1, 6, 6, c, 0, 0});
    state().heroes[c].on_boat = 1;
    state().heroes[c].boat_index = 0;
    map().tile(6, 6)->boat = 1;
    sync_owned_lists(loop(), state());
    select_hero(g(), b);
    remove_hero_from_map(m, b, false);
    EXPECT_FALSE(state().heroes[b].live);
    EXPECT_EQ(loop().hero_order, (std::vector<int>{a, c}));
    EXPECT_EQ(loop().selected_hero, c) << "the hero now in the removed one's row";
    remove_hero_from_map(m, c, false);
    EXPECT_EQ(state().boats[0].active, 0);
    EXPECT_EQ(map().tile(6, 6)->boat, 0);
    EXPECT_FALSE(map().tile(6, 6)->occupied());
    EXPECT_EQ(loop().selected_hero, a) << "the last hero when the list got shorter";
    remove_hero_from_map(m, a, false);
    EXPECT_EQ(loop().selected_hero, -1);
    EXPECT_TRUE(loop().hero_order.empty());
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {

TEST_F(LoopTest, NoTownWarningFollowsTheTurnAnnouncementAndTheLastDayPassesTheTurn) {
    make_game(20, 20);
    add_hero(3, 3, 0);
    add_hero(8, 8, 1);
    auto& rec = g().elimination.players[0];
    rec.days_left = 4;
    rec.countdown_notice = 1;
    start_player_turn(m, 0);
    ASSERT_NE(g().events.current_dialog(), nullptr);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Red player turn.");
    g().events.close_dialog(EVENT_BUTTON_OK);
    ASSERT_NE(g().events.current_dialog(), nullptr);  // the warning waited behind the turn's dialog
    EXPECT_EQ(g().events.current_dialog()->def.text, elimination_warning_message(3));
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_EQ(g().events.current_dialog(), nullptr);

    rec.days_left = 1;  // the countdown runs out at this turn's start
    start_player_turn(m, 0);
    EXPECT_TRUE(is_player_eliminated(g().elimination, 0));
    ASSERT_NE(g().events.current_dialog(), nullptr);
    EXPECT_EQ(g().events.current_dialog()->def.text, elimination_message(state(), 0));
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_EQ(loop().current_player, 1);  // the eliminated player's turn passed on
}

// A last hero dismissed without a town puts the seat out at once: a lone human's game is lost (no message,
// the defeat film follows); in hot seat the table is told at once over the hidden map and the turn passes.
TEST_F(LoopTest, DismissingTheLastHeroWithoutATownPutsTheSeatOutAtOnce) {
    strings().load_from_text("", R"({"ADV_ELIMINATED": "{0} has been eliminated.", "ADV_COLOR_0": "Red"})");
    make_game();
    add_town(15, 15, 1);
    const int a = add_hero(5, 5, 0), b = add_hero(7, 7, 0);
    const int town = add_town(3, 3, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    dismiss_hero_from_play(m, a);
    dismiss_hero_from_play(m, b);
    EXPECT_FALSE(is_player_eliminated(g().elimination, 0)) << "a town keeps the seat in play";
    const int c = add_hero(5, 5, 0), d = add_hero(7, 7, 0);
    state().castles[town].owner = 1;
    dismiss_hero_from_play(m, c);
    EXPECT_FALSE(is_player_eliminated(g().elimination, 0)) << "so does a hero";
    // The last one through its hero screen: the dismiss button, then yes to its question.
    open_hero_screen(m, d);
    push_click(10, 330);
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_FALSE(is_player_eliminated(g().elimination, 0)) << "not before the answer";
    push_key(SDLK_y);
    frames(1);
    EXPECT_FALSE(loop().screens.hero.open);
    EXPECT_TRUE(is_player_eliminated(g().elimination, 0));
    EXPECT_EQ(game_outcome(g()), GameOutcome::Lost) << "at once, not after days without a town";
    frames(1);
    EXPECT_FALSE(g().events.dialog_open);

    make_hot_seat_game();
    add_town(15, 15, 1);
    add_hero(12, 12, 2);
    const int last = add_hero(5, 5, 0);
    start_player_turn(m, 0);
    accept_dialogs();
    dismiss_hero_from_play(m, last);
    EXPECT_EQ(game_outcome(g()), GameOutcome::None) << "Blue plays on";
    frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Red has been eliminated.");
    EXPECT_TRUE(hot_seat_map_hidden(g()));
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_EQ(loop().current_player, 1) << "the turn passed";
}

// Hot seat: a human seat knocked out in another's turn is not passed over in silence; the next human's
// turn opens with its elimination, by colour and over the hidden map, before the turn's own announcement.
TEST_F(LoopTest, HotSeatEliminationIsToldBeforeTheNextHumansTurn) {
    strings().load_from_text("", R"({"ADV_ELIMINATED": "{0} has been eliminated.", "ADV_COLOR_2": "Blue"})");
    make_hot_seat_game();
    add_town(15, 15, 1);
    const int red = add_hero(5, 5, 0);
    add_town(6, 5, 2);
    start_player_turn(m, 0);
    accept_dialogs();
    // Red walks into Blue's only town, empty; Blue has no hero.
    ASSERT_TRUE(take_town_without_fight(m, red, 6, 5));
    ASSERT_TRUE(is_player_eliminated(g().elimination, 2));
    EXPECT_FALSE(g().events.dialog_open) << "not over Red's own map";
    end_current_turn(m);  // the computer plays, Blue's seat is passed over, the day turns
    for (int i = 0; i < 3000 && (loop().current_player != 0 || g().new_day.active); ++i) frames(1);
    ASSERT_EQ(loop().current_player, 0);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Blue has been eliminated.");
    EXPECT_TRUE(hot_seat_map_hidden(g()));
    g().events.close_dialog(EVENT_BUTTON_OK);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(g().events.current_dialog()->def.text, "Red player turn.");
    EXPECT_TRUE(hot_seat_map_hidden(g()));
    g().events.close_dialog(EVENT_BUTTON_OK);
    EXPECT_FALSE(g().events.dialog_open) << "told once";
}

// A hot-seat save holding Red knocked out, its loss not yet told: made on Red's turn, or by the computer
// seat's end-of-day autosave. The loaded game passes Red over; the loss is told once, before Blue's turn.
TEST_F(LoopTest, ALoadedHotSeatGamePassesOverTheSeatThatIsOut) {
    strings().load_from_text("", R"({"ADV_ELIMINATED": "{0} has been eliminated.", "ADV_COLOR_0": "Red"})");
    for (int saved : {0, 1}) {
        SCOPED_TRACE(saved);
        make_hot_seat_game();
        add_town(15, 15, 1);
        add_town(6, 5, 2);
        g().elimination.players[0] = PlayerEliminationRecord{1, -1, 0, 1};
        NewGameConfig cfg;
        cfg.mode = MODE_HOTSEAT;
        const SavedEliminationState elim = snapshot_elimination_state(g().elimination);
        LoadResult loaded = load_game_image(
            build_save_image(state(), map(), cfg, 1, 1, 1, nullptr, saved, &elim), "", false);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        setup_loaded_game(m, std::move(loaded));
        EXPECT_EQ(loop().current_player, 1) << "the computer seat plays first";
        for (int i = 0; i < 3000 && loop().current_player != 2; ++i) frames(1);
        ASSERT_EQ(loop().current_player, 2);
        ASSERT_TRUE(g().events.dialog_open);
        EXPECT_EQ(g().events.current_dialog()->def.text, "Red has been eliminated.");
        g().events.close_dialog(EVENT_BUTTON_OK);
        ASSERT_TRUE(g().events.dialog_open);
        EXPECT_EQ(g().events.current_dialog()->def.text, "Blue player turn.");
        g().events.close_dialog(EVENT_BUTTON_OK);
        EXPECT_FALSE(g().events.dialog_open) << "told once";
        end_game(m);
    }
}

// A seat the map gives no town, castle or hero is not in play: it takes no turn and no announcement names
// it. Hot seat of two on a two-seat map (the page leaves the computer slots at Average), and a standard
// game whose seat 1 holds nothing; two days are played, every human ending the turn at once.
TEST_F(LoopTest, ASeatTheMapGivesNothingNeverTakesATurn) {
    NewGameConfig hot;
    hot.mode = MODE_HOTSEAT;
    hot.player_count = 2;
    for (int p = 0; p < 4; ++p)
        hot.seats[(size_t)p] = SeatConfig{(uint8_t)p, p < 2 ? SEAT_HUMAN : SEAT_COMPUTER, 1, OPP_AVERAGE, 0, ""};
    NewGameConfig standard;  // Red, three computers at Average
    standard.color = COLOR_RED;
    kit::MapBuilder gap(50, 50, kit::G_GRASS, "Gap");
    gap.town(3, 3, FACTION_KNIGHT, 0, true, "Ours");
    gap.town(45, 45, FACTION_WARLOCK, 2, true, "Theirs");
    gap.mine(20, 20, MINE_GOLD, 1);  // the empty seat's mine and lighthouse stand neutral
    gap.lighthouse(24, 20);
    gap.map.objects.back().owner = 1;
    struct Row {
        const char* name;
        GameMap map;
        NewGameConfig cfg;
        std::vector<int> order;
        std::vector<std::string> told;
    };
    const std::vector<Row> rows = {
        {"hot seat of two on Twin Fords", kit::make_scenario_map(0, 2, 11, "Twin Fords"), hot, {0, 1},
         {"Red player turn.", "Green player turn.", "Red player turn.", "Green player turn."}},
        {"standard game, seat 1 empty", gap.map, standard, {0, 2}, {"Red player turn.", "Red player turn."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m.game = std::make_unique<GameSession>();
        g().map = row.map;
        g().config = row.cfg;
        g().hot_seat = row.cfg.mode == MODE_HOTSEAT;
        init_game_state(state(), map(), row.cfg, 4242);
        rebuild_monster_guard_map(map());
        begin_session(m, false);
        EXPECT_EQ(loop().player_order, row.order);
        EXPECT_EQ(state().num_players, (int)row.order.size());
        for (const MineState& mine : state().mines) EXPECT_EQ(mine.owner, -1);
        EXPECT_EQ(state().lighthouse.owner, -1);
        std::vector<std::string> told;
        for (int i = 0; i < 20000 && (state().day < 3 || g().new_day.active || loop().day_over); ++i) {
            const int p = loop().current_player;
            if (g().events.dialog_open) {
                told.push_back(g().events.current_dialog()->def.text);
                push_key(SDLK_RETURN);
            } else if (!g().new_day.active && !loop().day_over && state().player_is_human[(size_t)p]) {
                end_current_turn(m);
            }
            frames(1);
        }
        ASSERT_EQ(state().day, 3);
        EXPECT_EQ(told, row.told);
        end_game(m);
    }
}

TEST_F(LoopTest, AnObeliskThatUncoversPiecesMarksThePuzzleNewlyRevealed) {
    make_game(20, 20);
    const int h = add_hero(5, 5, 0);
    g().puzzle.obelisk_count = 2;
    EventResult r;
    r.hero = h;
    r.x = 6;
    r.y = 5;
    r.type = OBJ_OBELISK;
    r.visit_flag = 1;
    on_second_site_result(m, r);
    EXPECT_EQ(g().puzzle.visited_count[0], 1);
    EXPECT_EQ(g().puzzle.newly_revealed, 1);
    g().puzzle.newly_revealed = 0;
    on_second_site_result(m, r);  // the same obelisk again uncovers nothing
    EXPECT_EQ(g().puzzle.visited_count[0], 1);
    EXPECT_EQ(g().puzzle.newly_revealed, 0);
}

}  // namespace vorn1::test
