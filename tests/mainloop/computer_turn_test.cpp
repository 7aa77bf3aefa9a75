// A computer seat's turn in the frame loop: the options it runs with, its steps and battles as the human
// sees them, and what the human's side panel and the game's end make of them.
#include "mainloop/computer_turn.h"

#include "datakit/kit_battle_road.h"
#include "events/visits.h"
#include "loop_fixture.h"
#include "mainloop/town_screens.h"
#include "world/game_setup.h"
#include "world/hero_pool.h"
#include "world/route.h"

namespace vorn1::test {
namespace {

// The control panel's three options for the computer's turn reach its executor when the turn starts, and
// the loop keeps a move record for every hero the turn start hired.
TEST_F(LoopTest, TheComputersTurnRunsWithTheControlPanelsOptions) {
    make_game();
    add_hero(5, 5, 1);
    for (const bool on : {false, true}) {
        m.settings.view_enemy_moves = on;
        m.settings.stack_split = on;
        m.settings.enable_trade = !on;
        begin_computer_turn(m, 1);
        EXPECT_EQ(loop().ai.view_enemy_moves, on);
        EXPECT_EQ(loop().ai.allow_stack_split, on);
        EXPECT_EQ(loop().ai.enable_trade, !on);
    }
    // A hero hired when the turn starts has a move record for the steps it will take.
    init_hero_pool(state().pool);
    const int castle = add_town(10, 10, 1);
    state().castles[castle].is_castle = 1;
    state().castles[castle].built_today = 1;
    state().resources[1].gold = 6000;
    begin_computer_turn(m, 1);
    ASSERT_EQ(state().heroes.size(), 2u);
    EXPECT_EQ(loop().moves.size(), 2u);
}

// A step the human sees: the hero leaves its tile, and when the step's time is up it stands on the new
// tile, marked, facing the way it walked.
TEST_F(LoopTest, AWatchedComputerStepLandsTheHeroMarkedOnItsNewTile) {
    const auto computer_steps_toward_a_chest = [this] {
        make_game();
        add_hero(2, 2, 0, 0);
        const int hero = add_hero(9, 5, 1, 4);  // one step's points
        state().chests.push_back({12, 5, 500, 0});
        map().tile(12, 5)->object_type = OBJ_CHEST;
        start_player_turn(m, 0);
        accept_dialogs();
        request_end_turn(m);
        return hero;
    };
    const int b = computer_steps_toward_a_chest();
    ASSERT_TRUE(loop().computer_turn_pending);
    frames(1);
    ASSERT_TRUE(loop().moves[b].active);
    EXPECT_EQ(map().tile(9, 5)->hero_figure, 0) << "the hero left its tile";
    for (int i = 0; i < 300 && loop().computer_turn_pending; ++i) frames(1);
    const HeroState& h = state().heroes[b];
    EXPECT_EQ(std::make_pair(h.x, h.y), std::make_pair(10, 5));
    EXPECT_EQ(loop().moves[b].facing, dir_from_delta(1, 0));
    EXPECT_NE(map().tile(10, 5)->hero_figure, 0);
    EXPECT_EQ(map().tile(10, 5)->hero_frame, standing_frame_for_facing(dir_from_delta(1, 0)));

    // A step that cannot be shown (no move record for the hero) is given up, the hero stays where it
    // stands, and the same pass goes on to the turn's end.
    ASSERT_EQ(computer_steps_toward_a_chest(), b);
    ASSERT_TRUE(loop().computer_turn_pending);
    loop().moves.resize((size_t)b);
    frames(1);
    EXPECT_FALSE(loop().computer_turn_pending);
    EXPECT_EQ(std::make_pair(state().heroes[b].x, state().heroes[b].y), std::make_pair(9, 5));
}

// A computer seated before the human plays the first day before any human has: its steps are watched
// by the human who comes next.
TEST_F(LoopTest, TheFirstDaysComputerBeforeTheHumanIsWatched) {
    make_game();
    state().player_is_human = {0, 1, 0, 0};
    add_hero(2, 2, 1, 0);
    const int b = add_hero(9, 5, 0, 4);  // one step's points
    state().chests.push_back({12, 5, 500, 0});
    map().tile(12, 5)->object_type = OBJ_CHEST;
    start_player_turn(m, 0);
    ASSERT_TRUE(loop().computer_turn_pending);
    frames(1);
    EXPECT_EQ(loop().ai.human_player, 1);
    EXPECT_TRUE(loop().moves[b].active) << "the step is not watched";
}

// A battle settled without the screen is checked for the game's end: a rival taking the campaign's
// target town loses the game there and then, not at the day's end, and takes no step more; in hot seat,
// the first seat taking it, a computer there, wins the game with the same stop. A hot-seat game the first
// seat wins at the turnover opens no turn on the new day.
TEST_F(LoopTest, ABattleSettledWithoutTheScreenIsCheckedForTheGamesEnd) {
    for (const bool hot_seat : {false, true}) {
        SCOPED_TRACE(hot_seat ? "hot seat" : "campaign");
        make_game();
        const int taker = hot_seat ? 0 : 1;
        if (hot_seat) state().player_is_human = {0, 1, 0, 0};
        add_hero(2, 2, 1 - taker, 0);
        const int b = add_hero(12, 5, taker, 12);  // the town is the one target of the day
        state().heroes[b].army.ids[0] = 23;
        state().heroes[b].army.counts[0] = 20;
        const int target = add_town(15, 5, -1);
        state().castles[target].garrison.ids[0] = 0;
        state().castles[target].garrison.counts[0] = 3;
        g().campaign = !hot_seat;
        g().hot_seat = hot_seat;
        state().victory.kind = VICTORY_CAPTURE_TOWN;
        state().victory.target_x = 15;
        state().victory.target_y = 5;
        start_player_turn(m, 0);
        if (!hot_seat) {
            accept_dialogs();
            request_end_turn(m);
        }
        for (int i = 0; i < 300 && state().castles[target].owner != taker; ++i) frames(1);
        ASSERT_EQ(state().castles[target].owner, taker);
        EXPECT_EQ(g().game_lost, !hot_seat);
        EXPECT_EQ(g().hot_seat_winner, hot_seat ? 0 : -1);
        EXPECT_TRUE(loop().computer_turn_pending) << "the turn stops where the game was decided";
        EXPECT_EQ(state().day, 1);
    }

    make_game();
    g().hot_seat = true;
    add_hero(2, 2, 0, 0);
    add_hero(18, 18, 1, 0);
    state().victory.kind = VICTORY_GATHER_GOLD;
    state().resources[0].gold = 99500;
    state().mines.push_back({1, 6, 6, MINE_GOLD, 0});
    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 400 && state().day == 1; ++i) frames(1, 50.0f);
    ASSERT_EQ(state().day, 2);
    EXPECT_EQ(g().hot_seat_winner, 0) << "the mine's gold makes the sum when the day turns";
    for (int i = 0; i < 400 && g().new_day.active; ++i) frames(1, 50.0f);
    EXPECT_FALSE(g().events.dialog_open) << "no turn is announced over a won game";
    EXPECT_EQ(loop().current_player, 1);
}

// The computer takes the human's empty town and beats a human hero the battle screen cannot show: the
// human's panel, kept through the computer's turn, loses both and its lists scroll back into range, and
// the computer's hero goes on with its turn.
TEST_F(LoopTest, TheHumansPanelFollowsTheComputersTurn) {
    make_game();
    // The human's other heroes and towns are too strong to attack.
    auto strong = [](Army& a) {
        a.ids[0] = 23;
        a.counts[0] = 500;
    };
    std::vector<int> humans;
    for (int i = 0; i < 5; ++i) {
        humans.push_back(add_hero(1 + i, 18, 0, 0));
        strong(state().heroes[(size_t)humans.back()].army);
    }
    const int victim = add_hero(8, 5, 0, 0);
    for (int i = 0; i < 4; ++i) strong(state().castles[(size_t)add_town(1 + 2 * i, 15, 0)].garrison);
    const int lost = add_town(12, 8, 0);
    const int b = add_hero(12, 5, 1, 200);
    state().heroes[b].army.ids[0] = 23;
    state().heroes[b].army.counts[0] = 20;
    state().chests.push_back({16, 5, 500, 0});
    map().tile(16, 5)->object_type = OBJ_CHEST;
    start_player_turn(m, 0);
    accept_dialogs();
    loop().locator.hero_scroll = 2;
    loop().locator.town_scroll = 1;
    loop().selected_hero = victim;
    request_end_turn(m);
    for (int i = 0; i < 600 && loop().computer_turn_pending; ++i) frames(1);
    EXPECT_EQ(state().castles[lost].owner, 1);
    EXPECT_FALSE(state().heroes[victim].live);
    EXPECT_EQ(state().chests[0].taken, 1) << "the hero went on after the town";
    const SeatView& panel = loop().human_view;
    EXPECT_EQ(panel.hero_order, humans);
    EXPECT_EQ(panel.town_order.size(), 4u);
    EXPECT_EQ(panel.selected_hero, -1);
    EXPECT_EQ(panel.locator.selected_hero_row, -1);
    EXPECT_EQ(panel.locator.hero_scroll, 1);
    EXPECT_EQ(panel.locator.town_scroll, 0);
}

// The kit's "Siege at Dawn": the player's hero in its castle, a computer hero below the gate. An attack on
// the hero is the castle's: the siege opens with walls, the garrison and the hero inside, whether the plan
// aimed at the castle or at the hero; a garrison too strong for the computer is not passed by through an
// open-field battle with the hero alone.
TEST_F(LoopTest, AnAttackOnTheHeroInThePlayersCastleIsTheCastlesSiege) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    constexpr int cx = kit::kSiegeMapCastleX, cy = kit::kSiegeMapCastleY;
    int computer = -1, human = -1;
    // The game set up as the program does, the castle's garrison `count` pikemen; the player ends its turn.
    auto start = [&](uint16_t count) {
        m.game = std::make_unique<GameSession>();
        g().map = kit::make_siege_map();
        init_game_state(state(), map(), NewGameConfig{}, 77);
        rebuild_monster_guard_map(map());
        begin_session(m, false);
        g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
        human = state().hero_at(cx, cy);
        computer = state().hero_at(cx + 2, cy + 2);
        ASSERT_GE(human, 0);
        ASSERT_GE(computer, 0);
        ASSERT_EQ(state().castle_at(cx, cy), 0) << "the first town of the list is besieged too";
        state().castles[(size_t)state().castle_at(cx, cy)].garrison.ids[0] = 2;
        state().castles[(size_t)state().castle_at(cx, cy)].garrison.counts[0] = count;
        accept_dialogs();
        loop().hero_move_points[(size_t)human] = 0;
        request_end_turn(m);
        ASSERT_TRUE(loop().computer_turn_pending);
    };
    auto until_battle_or_day_over = [&] {
        for (int i = 0; i < 3000 && !loop().battle_open && !loop().day_over; ++i) {
            if (g().events.dialog_open) push_key(SDLK_RETURN);
            frames(1);
        }
    };
    auto expect_siege = [&](uint16_t count) {
        ASSERT_TRUE(loop().battle_open);
        const BattleScreen& b = g().battle;
        EXPECT_EQ(loop().battle.kind, BattleKind::Siege);
        EXPECT_EQ(b.siege, 1);
        EXPECT_EQ(b.attacker_side.hero, computer);
        EXPECT_EQ(b.defender_side.hero, human);
        bool garrison = false;
        for (int i = 0; i < 5; ++i)
            garrison |= b.garrison_slot[(size_t)i] == 0 && b.defenders[(size_t)i].creature == 2 &&
                        b.defenders[(size_t)i].count == count;
        EXPECT_TRUE(garrison) << "the garrison defends beside the hero";
    };

    {
        SCOPED_TRACE("the planner's choice");
        start(3);
        until_battle_or_day_over();
        expect_siege(3);
    }
    {
        SCOPED_TRACE("a plan aimed at the hero");
        start(3);
        AIExecutor& ai = loop().ai;
        ai_place_hero(state(), map(), computer, cx, cy + 1, true);
        ai.pending_hero = computer;
        ai.target = AIMapObject{cx, cy, AIO_ATTACK_HERO, human, true};
        ai.has_target = true;
        until_battle_or_day_over();
        expect_siege(3);
    }
    {
        SCOPED_TRACE("a garrison too strong for the siege");
        start(12);
        until_battle_or_day_over();
        EXPECT_FALSE(loop().battle_open) << "no battle with the hero alone";
        EXPECT_TRUE(loop().day_over);
        EXPECT_TRUE(state().heroes[(size_t)human].live);
        EXPECT_EQ(state().castles[(size_t)state().castle_at(cx, cy)].owner, 0);
    }
    end_game(m);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

// A hero hired into a fallen hero's slot, by the computer's turn start or at a tavern, has visited
// nothing: the slot's visits (kept by hero index) go, the other heroes' stay.
TEST_F(LoopTest, AHeroHiredIntoAFallenHerosSlotHasVisitedNothing) {
    game_with_a_hiring_computer();
    const int fallen = add_hero(15, 15, 1, 0);
    VisitRecords& visits = g().events.visits;
    record_visit(visits, 3, 3, 0);
    record_visit(visits, 4, 4, fallen);
    return_hero_to_pool(state(), map(), fallen, 0);
    ASSERT_EQ(visit_count(visits, 4, 4, fallen), 1);

    start_player_turn(m, 0);
    accept_dialogs();
    request_end_turn(m);
    for (int i = 0; i < 300 && !g().new_day.active; ++i) frames(1);
    ASSERT_TRUE(state().heroes[(size_t)fallen].live) << "the computer hired into the fallen hero's slot";
    EXPECT_EQ(visit_count(visits, 4, 4, fallen), 0);
    EXPECT_EQ(visit_count(visits, 3, 3, 0), 1);

    record_visit(visits, 4, 4, fallen);
    return_hero_to_pool(state(), map(), fallen, 0);
    state().resources[0].gold = 6000;
    const int hired = hire_hero(state(), map(), state().pool.free_entries.front(), 0, 5, 6);
    ASSERT_EQ(hired, fallen);
    on_hero_hired(m, hired);
    EXPECT_EQ(visit_count(visits, 4, 4, fallen), 0);
    EXPECT_EQ(visit_count(visits, 3, 3, 0), 1);
}

}  // namespace
}  // namespace vorn1::test
