// The victory check after what can decide a game, and a town taken without a fight.
#include "ai/ai_battle.h"
#include "datakit/kit_battle_road.h"
#include "datakit/kit_goal_starts.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_roads.h"
#include <filesystem>

#include "loop_fixture.h"
#include "temp_dir.h"
#include "mainloop/battle_launch.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/turns.h"
#include "persist/load_fixups.h"
#include "persist/savegame.h"
#include "world/hero_pool.h"
#include "mainloop/town_capture.h"
#include "mainloop/victory_check.h"
#include "mainloop/visit_results.h"
#include "world/game_setup.h"
#include "world/victory.h"

namespace vorn1::test {
namespace {

class VictoryCheckTest : public LoopTest {};

TEST_F(VictoryCheckTest, AnUndefendedLastTownIsTakenAndWinsOnce) {
    make_game();
    state().victory.kind = VICTORY_DEFEAT_ALL;
    const int hero = add_hero(5, 6, 0);
    const int mine = add_town(2, 2, 0);
    const int last = add_town(5, 5, 1);
    const int guarded = add_town(8, 5, -1);
    NeutralTownGarrison guard;
    guard.live = 1;
    guard.x = 8;
    guard.y = 5;
    guard.ids[0] = 3;
    guard.counts[0] = 4;
    state().garrisons.push_back(guard);
    (void)mine;

    // A creature in the garrison or on the guard record means a fight.
    state().castles[last].garrison.ids[2] = 7;
    EXPECT_FALSE(take_town_without_fight(m, hero, 5, 5));
    EXPECT_EQ(state().castles[last].owner, 1);
    EXPECT_FALSE(take_town_without_fight(m, hero, 8, 5));
    EXPECT_FALSE(take_town_without_fight(m, hero, 9, 9)) << "no town there";
    // An id without a count still bars the way; a guard without a count does not.
    state().castles[last].garrison.counts[2] = 0;
    EXPECT_FALSE(take_town_without_fight(m, hero, 5, 5));
    state().castles[last].garrison.ids[2] = EMPTY_ID;
    state().garrisons[0].counts[0] = 0;
    state().garrisons[0].x = 5;

    EXPECT_TRUE(take_town_without_fight(m, hero, 5, 5));
    EXPECT_EQ(state().castles[last].owner, 0);
    EXPECT_FALSE(state().garrisons[0].live) << "the empty guard record is cleared";
    EXPECT_EQ(loop().town_order.size(), 2u);
    EXPECT_TRUE(is_player_eliminated(g().elimination, 1));
    EXPECT_EQ(g().game_won, 1);
    EXPECT_EQ(state().victory.won, 1);

    // The latch holds: nothing changes any more.
    g().game_won = 0;
    run_victory_check(m);
    EXPECT_EQ(g().game_won, 0);
    EXPECT_EQ(state().castles[guarded].owner, -1);
}

TEST_F(VictoryCheckTest, CampaignRivalsLoseTheGameAndVisitedSitesCountOnlyForTheFirstSeat) {
    make_game();
    g().campaign = true;
    const int town = add_town(6, 6, -1);
    state().victory.kind = VICTORY_CAPTURE_TOWN;
    state().victory.target_x = 6;
    state().victory.target_y = 6;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost) << "a neutral owner is nobody's rival";
    state().castles[town].owner = 0;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost) << "the player's own capture is no rival's";
    EXPECT_EQ(g().game_won, 2);
    g().game_won = 0;
    state().victory.won = 0;
    state().castles[town].owner = 1;
    g().config.multiplayer = 1;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost) << "no rival checks in a multi-player campaign";
    g().config.multiplayer = 0;
    run_victory_check(m);
    EXPECT_TRUE(g().game_lost);
    EXPECT_EQ(g().game_won, 0);

    // Only the four ultimate artifacts (ids 0..3) in a rival's hands lose the campaign.
    g().game_lost = false;
    state().victory.kind = VICTORY_ULTIMATE_ARTIFACT;
    const int carrier = add_hero(9, 9, 1);
    state().heroes[carrier].artifacts.fill(EMPTY_ID);
    state().heroes[carrier].artifacts[1] = 4;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost);
    state().heroes[carrier].artifacts[1] = 3;
    run_victory_check(m);
    EXPECT_TRUE(g().game_lost);
    // A goal the rivals cannot take from the player (the gold) is never theirs to win.
    g().game_lost = false;
    state().victory.kind = VICTORY_GATHER_GOLD;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost);
    state().heroes[carrier].live = 0;

    // Visit-the-sites: a computer hero's visit does not count.
    g().campaign = false;
    g().game_lost = false;
    ScenarioVictory& v = state().victory;
    v.kind = VICTORY_VISIT_SITES;
    v.sites = {{3, 3}, {4, 9}};
    const int own = add_hero(1, 1, 0);
    const int rival = add_hero(2, 2, 1);
    record_visit(g().events.visits, 3, 3, rival);
    record_visit(g().events.visits, 4, 9, own);
    run_victory_check(m);
    EXPECT_EQ(v.visited, (std::unordered_set<uint32_t>{4u | 9u << 8}));
    EXPECT_EQ(g().game_won, 0);
    record_visit(g().events.visits, 3, 3, own);
    run_victory_check(m);
    EXPECT_EQ(v.visited.size(), 2u);
    EXPECT_EQ(g().game_won, 1);
}

TEST_F(VictoryCheckTest, HotSeatRecordsTheWinningSeat) {
    make_game();
    state().victory.kind = VICTORY_DEFEAT_ALL;
    g().hot_seat = true;
    state().player_is_human = {1, 1, 0, 0};
    add_hero(1, 1, 0);
    add_town(4, 4, 1);
    run_victory_check(m);
    EXPECT_EQ(g().hot_seat_winner, -1);
    state().castles[0].owner = 0;
    run_victory_check(m);
    EXPECT_EQ(g().hot_seat_winner, 0);
    EXPECT_EQ(state().victory.won, 1);
    EXPECT_EQ(g().game_won, 0) << "a shared game has a winning seat, not a won state";
}

// A campaign is lost only once a rival holds its target city, never while nobody holds it or the
// target has no town. Visits by the player's first hero (index 0) count, and the visited sites are
// rebuilt from the visit records as they stand, so records replaced by a load leave nothing stale.
TEST_F(VictoryCheckTest, CampaignTargetsAreLostLateAndVisitedSitesFollowTheRecords) {
    make_game();
    g().campaign = true;
    add_town(15, 15, 1);  // a rival stands, so the first seat does not win by default
    ScenarioVictory& v = state().victory;
    v.kind = VICTORY_CAPTURE_TOWN;
    v.target_x = v.target_y = 9;
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost) << "no town at the target";
    v.kind = VICTORY_DRAGON_CITY;
    state().dragon_city = MapSiteState{1, 4, 4, -1};
    run_victory_check(m);
    EXPECT_FALSE(g().game_lost) << "nobody holds the city";
    state().dragon_city.owner = 1;
    run_victory_check(m);
    EXPECT_TRUE(g().game_lost);

    g().campaign = false;
    g().game_lost = false;
    v.kind = VICTORY_VISIT_SITES;
    v.sites = {{3, 3}, {4, 9}};
    ASSERT_EQ(add_hero(1, 1, 0), 0);
    record_visit(g().events.visits, 3, 3, 0);
    record_visit(g().events.visits, 4, 9, 0);
    run_victory_check(m);
    EXPECT_EQ(v.visited.size(), 2u);
    EXPECT_EQ(g().game_won, 1);
    g().game_won = 0;
    v.won = 0;
    g().events.visits = VisitRecords{};
    record_visit(g().events.visits, 4, 9, 0);
    run_victory_check(m);
    EXPECT_EQ(v.visited, (std::unordered_set<uint32_t>{4u | 9u << 8}));
    EXPECT_EQ(g().game_won, 0);
}


// Goals that no battle decides: the day's income making the gold, the calendar passing its month, the last
// listed site visited. Each is won there and then, and a game won at the turnover ends on the new day
// without opening the next turn.
TEST_F(VictoryCheckTest, GoalsMetByTheTurnoverOrAVisitWinAtOnce) {
    // Both seats keep a hero, so every rival is never defeated here.
    const auto new_game = [this] {
        make_game();
        add_hero(2, 2, 0, 0);
        add_hero(18, 18, 1, 0);
        start_player_turn(m, 0);
        accept_dialogs();
    };
    const auto turn_the_day = [this] {
        const int day = state().day;
        request_end_turn(m);
        for (int i = 0; i < 400 && m.game && state().day == day; ++i) frames(1, 50.0f);
        ASSERT_NE(state().day, day) << "the day did not turn";
    };
    const auto ends_on_the_new_day = [this] {
        for (int i = 0; i < 400 && g().new_day.active; ++i) frames(1, 50.0f);
        EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);
        EXPECT_FALSE(g().events.dialog_open) << "no turn is announced over a won game";
    };

    new_game();
    state().victory.kind = VICTORY_GATHER_GOLD;
    state().resources[0].gold = 99500;
    state().mines.push_back({1, 6, 6, MINE_GOLD, 0});
    turn_the_day();
    EXPECT_EQ(g().game_won, 1) << "the mine's gold makes the sum when the day turns";
    ends_on_the_new_day();

    new_game();
    state().victory.kind = VICTORY_SURVIVE_MONTHS;
    state().victory.target_x = 1;
    state().day = loop().day = 7;
    state().week = loop().week = 4;
    run_victory_check(m);
    EXPECT_EQ(g().game_won, 0) << "the month is not over";
    turn_the_day();
    EXPECT_EQ(state().month, 2);
    EXPECT_EQ(g().game_won, 1);
    ends_on_the_new_day();

    new_game();
    ScenarioVictory& v = state().victory;
    v.kind = VICTORY_VISIT_SITES;
    v.sites = {{3, 2}, {2, 3}};
    map().tile(3, 2)->object_type = OBJ_FOUNTAIN;
    map().tile(2, 3)->object_type = OBJ_FAERIE_RING;
    visit_tile(m, 0, 3, 2, VisitSite::Arrival);
    accept_dialogs();
    EXPECT_EQ(g().game_won, 0) << "one site is left";
    visit_tile(m, 0, 2, 3, VisitSite::SecondSite);
    accept_dialogs();
    EXPECT_EQ(g().game_won, 1);
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);
}

// Goals met by the player's own hand outside a visit or a battle: the gold a trade buys makes the sum,
// and in a shared game the rival's last hero dismissed leaves the other seat alone on the map. Each is
// won there and then, the trade's once the trading post closes.
TEST_F(VictoryCheckTest, GoalsMetByATradeOrADismissalWinAtOnce) {
    make_game();
    const int hero = add_hero(5, 5, 0);
    add_hero(18, 18, 1);
    state().victory.kind = VICTORY_GATHER_GOLD;
    state().resources[0].gold = 99999;
    state().resources[0].wood = 20;
    EventResult r;
    r.hero = hero;
    r.x = r.y = 5;
    r.open_trading_post = 1;
    on_visit_result(m, r);
    const TradingPostSystem& tp = loop().trading_post;
    ASSERT_TRUE(tp.open);
    EXPECT_EQ(g().game_won, 0);
    for (int rect : {TP_GIVE0 + 0, TP_GET0 + 6, (int)TP_MAX, (int)TP_TRADE}) {
        const SDL_Rect& b = tp.rects[(size_t)rect];
        push_click(b.x + b.w / 2, b.y + b.h / 2);
        frames(1);
    }
    ASSERT_GE(state().resources[0].gold, 100000) << "the trade bought gold";
    EXPECT_EQ(g().game_won, 1);
    EXPECT_EQ(settled_outcome(m), GameOutcome::None) << "not over the open trading post";
    const SDL_Rect& exit = tp.rects[(size_t)TP_EXIT];
    push_click(exit.x + exit.w / 2, exit.y + exit.h / 2);
    frames(1);
    EXPECT_EQ(settled_outcome(m), GameOutcome::StandardWon);

    make_hot_seat_game();
    state().victory.kind = VICTORY_DEFEAT_ALL;
    const int last = add_hero(5, 5, 0);
    add_hero(12, 12, 2);
    start_player_turn(m, 0);
    accept_dialogs();
    dismiss_hero_from_play(m, last);
    EXPECT_EQ(g().hot_seat_winner, 2);
    EXPECT_EQ(game_outcome(g()), GameOutcome::HotSeatWon);
}

// A computer seat that meets a goal by a step ends the game as the humans' loss, and takes no step
// more: in a campaign a rival picking up the ultimate artifact, and in a shared game a pile that brings
// a computer its gold.
TEST_F(VictoryCheckTest, AComputersStepThatMeetsAGoalLosesTheHumansTheGame) {
    const auto computer_turn = [this] {
        start_player_turn(m, 0);
        accept_dialogs();
        request_end_turn(m);
        for (int i = 0; i < 300 && loop().computer_turn_pending && game_outcome(g()) == GameOutcome::None; ++i)
            frames(1);
        EXPECT_EQ(settled_outcome(m), GameOutcome::Lost);
        EXPECT_TRUE(loop().computer_turn_pending) << "the turn stops where the game was decided";
    };

    make_game();
    add_hero(2, 2, 0, 0);
    const int rival = add_hero(12, 5, 1, 12);
    state().heroes[(size_t)rival].artifacts.fill(EMPTY_ID);
    state().map_artifacts.push_back({14, 5, 2, 0, 0});
    map().tile(14, 5)->object_type = OBJ_ARTIFACT;
    g().campaign = true;
    state().victory.kind = VICTORY_ULTIMATE_ARTIFACT;
    computer_turn();
    EXPECT_EQ(state().map_artifacts[0].taken, 1);
    EXPECT_TRUE(g().game_lost);

    make_hot_seat_game();
    add_hero(2, 2, 0, 0);
    add_hero(2, 18, 2, 0);
    add_hero(12, 5, 1, 12);
    state().resource_piles.push_back({14, 5, MINE_GOLD, 500, 0});
    map().tile(14, 5)->object_type = OBJ_RESOURCE;
    state().victory.kind = VICTORY_GATHER_GOLD;
    state().resources[1].gold = 99800;
    computer_turn();
    EXPECT_EQ(state().resource_piles[0].taken, 1);
    EXPECT_EQ(g().hot_seat_winner, 1);
}

// A new game set up as the program does, on a map of the test's own.
class GoalStartTest : public LoopTest {
protected:
    void start(const GameMap& mp, const NewGameConfig& cfg) {
        end_game(m);
        m.game = std::make_unique<GameSession>();
        g().config = cfg;
        g().map = mp;
        init_game_state(state(), map(), cfg, 4242);
        rebuild_monster_guard_map(map());
        g().campaign = cfg.mode == MODE_CAMPAIGN;
        g().hot_seat = cfg.mode == MODE_HOTSEAT;
        begin_session(m, false);
    }
    // Hot seat: Red and Green human, Blue (when asked for) a computer.
    static NewGameConfig config_of(GameMode mode, bool computer_third = true) {
        NewGameConfig c;
        c.mode = mode;
        if (mode != MODE_HOTSEAT) return c;
        c.multiplayer = 1;
        for (int p = 0; p < (computer_third ? 3 : 2); ++p) {
            c.seats[(size_t)p].color = (uint8_t)p;
            c.seats[(size_t)p].kind = p < 2 ? SEAT_HUMAN : SEAT_COMPUTER;
        }
        return c;
    }
    void sweep(GameMode mode);
    // The check as each seat's turn would run it.
    void check_in_every_turn() {
        for (int p : std::vector<int>(loop().player_order)) {
            loop().current_player = p;
            run_victory_check(m);
        }
    }
};

// Three seats, each with a castle (entrance at (4 + 12p, 4)) and a hero below it (4 + 12p, 8); a neutral
// town, the Dragon City, an ultimate artifact and two listed sites. `holder` (-1 nobody) holds at the start
// what the goal names: the target town, the Dragon City, or the hunted lord (its hero).
GameMap start_map(int kind, int holder) {
    kit::MapBuilder b(36, 36, kit::G_GRASS, "Start");
    for (int p = 0; p < 3; ++p) {
        b.town(4 + 12 * p, 4, FACTION_KNIGHT, p, true, "Seat " + std::to_string(p));
        b.hero(4 + 12 * p, 8, 1 + 9 * p, p);
    }
    b.town(16, 20, FACTION_KNIGHT, -1, false, "Middle");
    b.dragon_city(10, 28);
    if (kind == VICTORY_DRAGON_CITY) b.map.objects.back().owner = holder;
    b.artifact(20, 28, 0);
    b.site(6, 32, OBJ_FOUNTAIN);
    b.victory_site(6, 32);
    b.site(8, 32, OBJ_FAERIE_RING);
    b.victory_site(8, 32);
    const int hx = holder < 0 ? 30 : 4 + 12 * holder;
    switch (kind) {
    case VICTORY_CAPTURE_TOWN: b.victory(kind, holder < 0 ? 16 : hx, holder < 0 ? 20 : 4); break;
    case VICTORY_KILL_HERO: b.victory(kind, hx, holder < 0 ? 30 : 8); break;  // no lord: an empty tile
    case VICTORY_SURVIVE_MONTHS: b.victory(kind, 1, 0); break;
    default: b.victory(kind); break;
    }
    return b.map;
}

// Whatever a seat holds when a scenario begins, no goal the map reader accepts is met or lost before
// anyone moves, whichever seat's turn runs the check. Taking the target (a town or the Dragon City) from
// its holder, or the hunted lord beaten, still decides the game: for the first seat, for a campaign's
// rival, for each seat of a shared game.
void GoalStartTest::sweep(GameMode mode) {
    for (int kind = VICTORY_DEFEAT_ALL; kind <= VICTORY_VISIT_SITES; ++kind) {
        for (int holder = -1; holder < 3; ++holder) {
            SCOPED_TRACE(testing::Message() << "goal " << kind << ", held by " << holder);
            start(start_map(kind, holder), config_of(mode));
            ASSERT_EQ(loop().player_order, (std::vector<int>{0, 1, 2}));
            check_in_every_turn();
            EXPECT_FALSE(goal_decided(g()));
            EXPECT_EQ(state().victory.won, 0);

            // The target changes hands (the lord leaves the map) in the turn of the next seat.
            const int taker = holder < 0 ? 2 : (holder + 1) % 3;
            loop().current_player = taker;
            const ScenarioVictory& v = state().victory;
            if (kind == VICTORY_CAPTURE_TOWN) state().castles[(size_t)state().castle_at(v.target_x, v.target_y)].owner = taker;
            else if (kind == VICTORY_DRAGON_CITY) state().dragon_city.owner = taker;
            else if (kind == VICTORY_KILL_HERO && holder >= 0) state().heroes[(size_t)state().hero_at(v.target_x, v.target_y)].live = 0;
            else continue;
            if (goal_decided(g())) continue;  // reported above
            run_victory_check(m);
            const bool lord = kind == VICTORY_KILL_HERO;
            if (mode == MODE_HOTSEAT) {
                EXPECT_EQ(g().hot_seat_winner, taker);
            } else if (taker == 0) {
                EXPECT_EQ(g().game_won, mode == MODE_CAMPAIGN ? 2 : 1);
            } else {
                EXPECT_EQ(g().game_won, 0);
                EXPECT_EQ(g().game_lost, mode == MODE_CAMPAIGN && !lord) << "a rival's capture loses only a campaign";
            }
        }
    }
}

// What a step of a goal row does, in the turn of its seat.
enum class GoalAct {
    TakeTarget,       // the seat takes the target town
    TakeDragonCity,
    Reload,           // saved and loaded: the goal's start is rebuilt from the map
    OlderSave,        // the seat holds the target in a save older than the goal's progress, loaded; no check
    ReloadWithoutMap, // saved and loaded without its base map
    DismissLord,      // the lord's own seat dismisses him
    LordToMonster,    // he attacks a monster and is beaten
    HireLord,         // the seat hires him back from the pool
    LordToComputer,   // the seat's computer hero beats him in a fight settled off screen
    LordLosesAttack,  // on his own seat's computer turn he attacks the seat's hero and loses, settled off screen
    PickUpArtifact,   // the seat's hero picks up the ultimate artifact (the dig site is already dug)
    ArtifactVanishes, // its carrier is beaten by a monster, a garrison, a full-handed hero or another
                      // computer's fight that dismisses him: the artifact leaves the game
    CarrierToPool,    // its carrier leaves with the artifact kept by his pool entry
    BeatRivals,       // seats 1 and 2 lose every town and hero to the seat
    BeatSeat2,        // seat 2 loses every town and hero to the seat
    TakeSeat1Town,    // the seat takes seat 1's castle; seat 1 keeps its hero
    TakeSeat0Town,    // the seat takes seat 0's castle; seat 0 keeps its hero
    CountdownRunsOut, // the seat's no-town countdown ends at its turn's start
    GatherGold,       // seat 0's treasury reaches the goal's sum
    TurnTheMonth,
};
struct GoalStep {
    GoalAct act;
    int seat;
    // After the step, in a standard game, a campaign and a hot-seat game: '-' undecided, 'X' undecided and
    // told it can no longer be won, 'L' lost, '0'..'2' that seat has won. A game decided earlier takes no
    // more steps.
    const char* expect;
};
struct GoalRow {
    const char* name;
    int kind;
    int holder;
    std::vector<GoalStep> steps;
    GameMap (*map)() = nullptr;  // a kit map in place of the start map
};

// The start map with the first seat alone on it.
GameMap lone_seat_map(int kind, int holder = -1) {
    GameMap mp = start_map(kind, holder);
    std::erase_if(mp.objects, [](const MapObject& o) {
        return (o.kind == MOBJ_TOWN || o.kind == MOBJ_CASTLE || o.kind == MOBJ_HERO) && o.owner > 0;
    });
    return mp;
}

// Every goal a rival or a monster can take from a seat can still be met or lost by another road, and
// only by a seat in play, by what it did.
TEST_F(GoalStartTest, EveryGoalCanStillEndAndOnlyBySeatsInPlay) {
    using A = GoalAct;
    const std::vector<GoalRow> rows = {
        {"the target lost and taken back", VICTORY_CAPTURE_TOWN, 0,
         {{A::TakeTarget, 1, "-L1"}, {A::TakeTarget, 0, "0L1"}}},
        {"Border Keep's Westmark lost and taken back", VICTORY_CAPTURE_TOWN, 0,
         {{A::TakeTarget, 1, "-L1"}, {A::TakeTarget, 0, "0L1"}}, kit::make_held_target_map},
        {"the target lost, a load, and taken back", VICTORY_CAPTURE_TOWN, 0,
         {{A::TakeTarget, 1, "-L1"}, {A::Reload, 1, "-L1"}, {A::TakeTarget, 0, "0L1"}}},
        {"a rival's start town lost and taken back by it", VICTORY_CAPTURE_TOWN, 1,
         {{A::TakeTarget, 2, "-L2"}, {A::TakeTarget, 1, "-L2"}}},
        {"the Dragon City lost and taken back", VICTORY_DRAGON_CITY, 0,
         {{A::TakeDragonCity, 2, "-L2"}, {A::Reload, 2, "-L2"}, {A::TakeDragonCity, 0, "0L2"}}},
        {"the lord dismissed by his own seat", VICTORY_KILL_HERO, 1,
         {{A::DismissLord, 1, "---"}, {A::BeatRivals, 0, "000"}}},
        {"the lord beaten by a monster", VICTORY_KILL_HERO, 1,
         {{A::LordToMonster, 1, "---"}, {A::Reload, 0, "---"}, {A::BeatRivals, 0, "000"}}},
        {"the lord beaten by a computer", VICTORY_KILL_HERO, 1,
         {{A::LordToComputer, 2, "--2"}, {A::BeatRivals, 0, "002"}}},
        {"the lord hired back by the seat that hunts him", VICTORY_KILL_HERO, 1,
         {{A::LordToMonster, 1, "---"}, {A::HireLord, 0, "---"}, {A::BeatRivals, 0, "000"}}},
        {"the lord beaten in his own attack", VICTORY_KILL_HERO, 2,
         {{A::LordLosesAttack, 1, "--1"}, {A::BeatRivals, 0, "001"}}},
        {"the lord hired back after a monster, then beaten anew", VICTORY_KILL_HERO, 1,
         {{A::LordToMonster, 1, "---"}, {A::HireLord, 2, "---"}, {A::BeatSeat2, 0, "000"}}},
        {"the lord the first seat's own", VICTORY_KILL_HERO, 0, {{A::BeatRivals, 0, "000"}}},
        {"the target held from the start, every rival beaten", VICTORY_CAPTURE_TOWN, 0, {{A::BeatRivals, 0, "000"}}},
        {"the Dragon City held from the start, every rival beaten", VICTORY_DRAGON_CITY, 0,
         {{A::BeatRivals, 0, "000"}}},
        {"an older save's target retaken at once", VICTORY_CAPTURE_TOWN, 0,
         {{A::OlderSave, 1, "---"}, {A::TakeTarget, 0, "000"}}},
        {"a load without its map and no rival in play", VICTORY_CAPTURE_TOWN, -1,
         {{A::ReloadWithoutMap, 0, "---"}, {A::TakeTarget, 0, "000"}}, [] { return lone_seat_map(VICTORY_CAPTURE_TOWN); }},
        {"a load without its map, the target held and no rival", VICTORY_CAPTURE_TOWN, 0,
         {{A::ReloadWithoutMap, 0, "XXX"}}, [] { return lone_seat_map(VICTORY_CAPTURE_TOWN, 0); }},
        {"a load without its map, the Dragon City held and no rival", VICTORY_DRAGON_CITY, 0,
         {{A::ReloadWithoutMap, 0, "XXX"}}, [] { return lone_seat_map(VICTORY_DRAGON_CITY, 0); }},
        {"a load without its map, the rivals out and one with a hero left", VICTORY_DRAGON_CITY, -1,
         {{A::TakeSeat1Town, 0, "---"},
          {A::BeatSeat2, 0, "---"},
          {A::CountdownRunsOut, 1, "---"},
          {A::ReloadWithoutMap, 0, "---"},
          {A::TakeDragonCity, 0, "000"}}},
        {"a load without its map, the sites' rivals out and one with a hero left", VICTORY_VISIT_SITES, -1,
         {{A::TakeSeat1Town, 0, "---"}, {A::BeatSeat2, 0, "---"}, {A::CountdownRunsOut, 1, "---"}, {A::ReloadWithoutMap, 0, "XXX"}}},
        {"a load without its map, the lord's seat out and him left", VICTORY_KILL_HERO, 1,
         {{A::TakeSeat1Town, 0, "---"}, {A::BeatSeat2, 0, "---"}, {A::CountdownRunsOut, 1, "---"},
          {A::ReloadWithoutMap, 0, "XXX"}, {A::ReloadWithoutMap, 0, "XXX"}}},
        {"a load without its map, the first seat out", VICTORY_VISIT_SITES, -1,
         {{A::TakeSeat0Town, 1, "---"}, {A::CountdownRunsOut, 0, "LL-"}, {A::ReloadWithoutMap, 1, "LL-"}, {A::BeatSeat2, 1, "LL1"}}},
        {"a sites goal with no site", VICTORY_VISIT_SITES, -1, {{A::BeatRivals, 0, "000"}}, [] {
             GameMap mp = start_map(VICTORY_VISIT_SITES, -1);
             std::erase_if(mp.objects, [](const MapObject& o) { return o.kind == MOBJ_VICTORY_SITE; });
             return mp;
         }},
        {"the ultimate artifact lost from the game", VICTORY_ULTIMATE_ARTIFACT, -1,
         {{A::PickUpArtifact, 1, "-L1"}, {A::ArtifactVanishes, 0, "-L1"}, {A::BeatRivals, 0, "0L1"}}},
        {"the ultimate artifact kept in the pool", VICTORY_ULTIMATE_ARTIFACT, -1,
         {{A::PickUpArtifact, 2, "-L2"}, {A::CarrierToPool, 0, "-L2"}, {A::BeatRivals, 0, "-L2"}}},
        {"a seat eliminated with heroes left", VICTORY_DEFEAT_ALL, -1,
         {{A::TakeSeat1Town, 0, "---"}, {A::BeatSeat2, 0, "---"}, {A::CountdownRunsOut, 1, "000"}}},
        {"a seat eliminated before the month turns", VICTORY_SURVIVE_MONTHS, -1,
         {{A::TakeSeat0Town, 1, "---"}, {A::CountdownRunsOut, 0, "LL-"}, {A::TurnTheMonth, 1, "LL1"}}},
        {"a seat eliminated while it holds the gold", VICTORY_GATHER_GOLD, -1,
         {{A::TakeSeat0Town, 1, "---"}, {A::CountdownRunsOut, 0, "LL-"}, {A::GatherGold, 1, "LL-"}}},
    };
    const auto outcome = [this] {
        if (g().hot_seat && g().hot_seat_winner >= 0) return (char)('0' + g().hot_seat_winner);
        if (g().game_won != 0) return '0';
        if (game_outcome(g()) == GameOutcome::Lost) return 'L';
        // The scenario information states the goal as the load's notice told it.
        return g().config.description.find("can no longer be won") == std::string::npos ? '-' : 'X';
    };
    const auto heroes_of = [this](int seat) {
        std::vector<int> out;
        for (int i = 0; i < (int)state().heroes.size(); ++i)
            if (state().heroes[(size_t)i].live && state().heroes[(size_t)i].owner == seat) out.push_back(i);
        return out;
    };
    const auto castle_of = [this](int seat) { return state().castle_at(4 + 12 * seat, 4); };
    for (const GoalRow& row : rows) {
        for (int mode = 0; mode < 3; ++mode) {
            const GameMode kinds[3] = {MODE_STANDARD, MODE_CAMPAIGN, MODE_HOTSEAT};
            SCOPED_TRACE(testing::Message() << row.name << ", mode " << mode);
            start(row.map ? row.map() : start_map(row.kind, row.holder), config_of(kinds[mode]));
            g().puzzle.artifact_awarded = true;
            const int lord = row.kind == VICTORY_KILL_HERO
                                 ? state().hero_at(state().victory.target_x, state().victory.target_y)
                                 : -1;
            for (const GoalStep& st : row.steps) {
                ScenarioVictory& v = state().victory;  // a load replaces the session
                if (goal_decided(g()) || game_outcome(g()) != GameOutcome::None) break;
                loop().current_player = st.seat;
                switch (st.act) {
                case A::TakeTarget: state().castles[(size_t)state().castle_at(v.target_x, v.target_y)].owner = st.seat; break;
                case A::TakeDragonCity: state().dragon_city.owner = st.seat; break;
                case A::OlderSave:
                    state().castles[(size_t)state().castle_at(v.target_x, v.target_y)].owner = st.seat;
                    v.target_left_start = 0;
                    [[fallthrough]];
                case A::Reload: restore_unsaved_state(state(), map(), g().config, true, goal_context(g())); break;
                case A::ReloadWithoutMap: {
                    const SavedEliminationState elim = refresh_before_save(g());
                    const auto image = g().campaign ? build_campaign_save_image(state(), map(), g().config, 1, 1, 1,
                                                                                &g().puzzle, false, &elim)
                                                    : build_save_image(state(), map(), g().config, 1, 1, 1,
                                                                       &g().puzzle, st.seat, &elim);
                    // The map is sought and not found, as a player's load of it would be.
                    LoadResult r = g().campaign ? load_campaign_game_image(image) : load_game_image(image, "");
                    ASSERT_TRUE(r.ok) << r.error;
                    setup_loaded_game(m, std::move(r));
                    accept_dialogs();
                    loop().current_player = st.seat;
                    g().puzzle.artifact_awarded = true;
                    break;
                }
                case A::DismissLord: dismiss_hero_from_play(m, lord); break;
                case A::LordToMonster:
                    note_hero_beaten(state(), lord, -1);
                    remove_hero_from_map(m, lord, false);
                    break;
                case A::HireLord:
                    ASSERT_GE(hire_hero(state(), map(), v.lord_entry, st.seat, 5 + 12 * st.seat, 10), 0);
                    sync_hero_vectors(g());
                    break;
                case A::LordToComputer: {
                    // His weakest band beside the seat's strongest, on the seat's own computer turn.
                    const int hunter = heroes_of(st.seat)[0];
                    HeroState& h = state().heroes[(size_t)hunter];
                    clear_hero_from_map(map(), h);
                    h.x = state().heroes[(size_t)lord].x + 1;
                    h.y = state().heroes[(size_t)lord].y;
                    place_hero_on_map(map(), h);
                    h.army.clear();
                    h.army.ids[0] = 20;
                    h.army.counts[0] = 200;
                    state().heroes[(size_t)lord].army.clear();
                    state().heroes[(size_t)lord].army.ids[0] = 0;
                    state().heroes[(size_t)lord].army.counts[0] = 1;
                    start_player_turn(m, st.seat);
                    for (int i = 0; i < 3000 && state().heroes[(size_t)lord].live && loop().computer_turn_pending; ++i) {
                        accept_dialogs();
                        frames(1);
                    }
                    ASSERT_FALSE(state().heroes[(size_t)lord].live) << "the computer left the lord standing";
                    break;
                }
                case A::LordLosesAttack: {
                    const int foe = heroes_of(st.seat)[0];
                    const HeroState& f = state().heroes[(size_t)foe];
                    HeroState& l = state().heroes[(size_t)lord];
                    loop().current_player = l.owner;
                    l.army.clear();
                    l.army.ids[0] = 0;
                    l.army.counts[0] = 1;
                    ASSERT_FALSE(resolve_ai_battle(state(), map(), l.owner, lord, {f.x, f.y, AIO_ATTACK_HERO, foe, true}));
                    break;
                }
                case A::PickUpArtifact:
                    state().map_artifacts[0].taken = 1;
                    state().heroes[(size_t)heroes_of(st.seat)[0]].artifacts[5] = state().map_artifacts[0].artifact;
                    break;
                case A::ArtifactVanishes:
                case A::CarrierToPool:
                    for (HeroState& h : state().heroes)
                        if (h.live && h.artifacts[5] <= 3) {
                            if (st.act == A::CarrierToPool) state().pool.entries[0].kept_artifacts[0] = h.artifacts[5];
                            h.artifacts[5] = EMPTY_ID;
                            h.live = 0;
                        }
                    break;
                case A::BeatRivals:
                case A::BeatSeat2:
                    for (int p = st.act == A::BeatSeat2 ? 2 : 1; p < 3; ++p) {
                        if (castle_of(p) >= 0) state().castles[(size_t)castle_of(p)].owner = st.seat;
                        for (int h : heroes_of(p)) state().heroes[(size_t)h].live = 0;
                    }
                    break;
                case A::TakeSeat1Town: state().castles[(size_t)castle_of(1)].owner = st.seat; break;
                case A::TakeSeat0Town: state().castles[(size_t)castle_of(0)].owner = st.seat; break;
                case A::CountdownRunsOut:
                    check_post_battle_eliminations(state(), map(), g().elimination, st.seat);
                    ASSERT_GE(g().elimination.players[(size_t)st.seat].days_left, 0) << "no countdown runs";
                    g().elimination.players[(size_t)st.seat].days_left = 1;
                    start_player_turn(m, st.seat);
                    ASSERT_TRUE(is_player_eliminated(g().elimination, st.seat));
                    break;
                case A::GatherGold: state().resources[0].gold = 100000; break;
                case A::TurnTheMonth: state().month = 2; break;
                }
                // These run the game's own check, or none (a save loaded, to be retaken at once).
                if (st.act != A::CountdownRunsOut && st.act != A::DismissLord && st.act != A::LordToComputer &&
                    st.act != A::OlderSave)
                    run_victory_check(m);
                EXPECT_EQ(outcome(), st.expect[mode]) << "after step " << (&st - row.steps.data());
            }
        }
    }
}

// Whatever the map and the set-up, a game the page starts can always end: undecided at its start, there and
// once the goal's object (the target town, the Dragon City, the lord, the ultimate artifact) has been lost to
// each hand, then every rival beaten by the first seat or the rivals with no town out of days, the game is
// decided or the road the goal names for a seat in play, taken, wins it for that seat: the first seat's, or
// each seat's of a shared game.
// Every kit map, and the start map's shapes: the target held by the first seat, a rival or nobody (no lord),
// one, two or three seats, the first seat holding nothing, a rival out with a hero left.
TEST_F(GoalStartTest, EveryGameThePageStartsCanStillEnd) {
    std::vector<std::pair<std::string, GameMap>> maps;
    test::TempDir dir("liveness");
    ASSERT_TRUE(kit::write_demo_maps(dir.path.string()));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
        const bool cmp = entry.path().extension() == ".CMP";
        if (entry.path().extension() == ".MAP" || cmp)
            maps.emplace_back(entry.path().filename().string(),
                              cmp ? load_cmp(entry.path().string()) : load_map(entry.path().string()));
    }
    maps.emplace_back("DEMO.MAP", load_map_bytes(kit::demo_map_bytes()));
    const auto is_holding = [](const MapObject& o) {
        return o.kind == MOBJ_TOWN || o.kind == MOBJ_CASTLE || o.kind == MOBJ_HERO;
    };
    for (int kind = VICTORY_DEFEAT_ALL; kind <= VICTORY_VISIT_SITES; ++kind) {
        for (int seats = 1; seats <= 3; ++seats)
            for (int holder = -1; holder < seats && holder < 2; ++holder) {
                GameMap mp = start_map(kind, holder);
                std::erase_if(mp.objects, [&](const MapObject& o) { return is_holding(o) && o.owner >= seats; });
                maps.emplace_back(testing::PrintToString(kind) + " held by " + std::to_string(holder) + ", seats " +
                                      std::to_string(seats),
                                  std::move(mp));
            }
        maps.emplace_back(testing::PrintToString(kind) + ", the first seat holding nothing", start_map(kind, 1));
        std::erase_if(maps.back().second.objects, [&](const MapObject& o) { return is_holding(o) && o.owner == 0; });
        // Seat 1's town Blue's: its countdown runs out (below), its hero (the lord) left.
        maps.emplace_back(testing::PrintToString(kind) + ", a rival out with a hero", start_map(kind, 1));
        for (MapObject& o : maps.back().second.objects)
            if (o.kind != MOBJ_HERO && is_holding(o) && o.owner == 1) o.owner = 2;
    }
    ASSERT_GT(maps.size(), 90u);

    // The checks a turn of `seat` runs after what it did.
    const auto checks = [this](int seat) {
        loop().current_player = seat;
        check_post_battle_eliminations(state(), map(), g().elimination, seat);
        run_victory_check(m);
    };
    const auto in_play = [this](int p) {
        return state().player_in_play[(size_t)p] != 0xFF && !is_player_eliminated(g().elimination, p);
    };
    // A seat beats its rivals, as it takes any road, only through what it holds.
    const auto holds = [this](int seat) { return (seats_holding_anything(state()) >> seat & 1u) != 0; };
    const auto beat_rivals = [&](int seat) {
        if (!holds(seat)) return;
        for (CastleState& c : state().castles)
            if (c.live && is_player_index(c.owner)) c.owner = seat;
        for (HeroState& h : state().heroes)
            if (h.live && is_player_index(h.owner) && h.owner != seat) h.live = 0;
    };
    // The hand -1 is a monster's (or for the artifact, its loss from the game).
    const auto lose_object = [&](int lord, int hand) {
        ScenarioVictory& v = state().victory;
        const int town = state().castle_at(v.target_x, v.target_y);
        switch (v.kind) {
        case VICTORY_CAPTURE_TOWN:
            if (town < 0 || hand < 0) return false;
            state().castles[(size_t)town].owner = hand;
            break;
        case VICTORY_DRAGON_CITY:
            if (!state().dragon_city.active || hand < 0) return false;
            state().dragon_city.owner = hand;
            break;
        case VICTORY_KILL_HERO:
            if (lord < 0 || !state().heroes[(size_t)lord].live || state().heroes[(size_t)lord].owner == hand) return false;
            note_hero_beaten(state(), lord, hand);
            remove_hero_from_map(m, lord, false);
            break;
        case VICTORY_ULTIMATE_ARTIFACT:
            if (hand >= 0) return false;
            g().puzzle.artifact_awarded = true;
            for (ArtifactState& a : state().map_artifacts)
                if (a.artifact <= 3) a.taken = 1;
            break;
        default: return false;
        }
        checks(std::max(hand, 0));
        return true;
    };
    // A fresh start brought to the situation: the object lost to `hand` (-2 nothing lost), then every rival
    // beaten (after 1), or the rivals with no town out of days (after 2). False when it cannot arise.
    const auto reach = [&](const GameMap& mp, const NewGameConfig& cfg, int hand, int after) {
        start(mp, cfg);
        checks(0);
        const ScenarioVictory& v = state().victory;
        const int lord = v.kind == VICTORY_KILL_HERO ? state().hero_at(v.target_x, v.target_y) : -1;
        if (hand > -2 && !((hand < 0 || in_play(hand)) && lose_object(lord, hand))) return false;
        if (goal_decided(g())) return after == 0;
        if (after == 1) beat_rivals(0);
        bool out = false;
        for (int p = 1; p < MAX_PLAYERS && after == 2; ++p)
            if (g().elimination.players[(size_t)p].days_left >= 0) {
                g().elimination.players[(size_t)p].days_left = 1;
                out |= process_turn_start_elimination_warning(g().elimination, p);
            }
        checks(0);
        return after != 2 || out;
    };
    // Seat `p` takes `road` as the game would.
    const auto take_road = [&](int p, GoalRoad road) {
        if (!holds(p)) return;
        ScenarioVictory& v = state().victory;
        int hero = -1;
        for (int i = (int)state().heroes.size() - 1; i >= 0; --i)
            if (state().heroes[(size_t)i].live && state().heroes[(size_t)i].owner == p) hero = i;
        const int town = state().castle_at(v.target_x, v.target_y), lord = state().hero_at(v.target_x, v.target_y);
        switch (road == GoalRoad::EveryRival ? VICTORY_DEFEAT_ALL : road == GoalRoad::Own ? v.kind : -1) {
        case VICTORY_DEFEAT_ALL: beat_rivals(p); break;
        case VICTORY_CAPTURE_TOWN:
            if (town >= 0) state().castles[(size_t)town].owner = p;
            break;
        case VICTORY_DRAGON_CITY: state().dragon_city.owner = p; break;
        case VICTORY_KILL_HERO:  // by another seat than his own
            if (lord < 0 || state().heroes[(size_t)lord].owner == p) break;
            note_hero_beaten(state(), lord, p);
            remove_hero_from_map(m, lord, false);
            break;
        case VICTORY_ULTIMATE_ARTIFACT: {  // dug up, or picked up on the map
            ASSERT_GE(hero, 0) << "seat " << p << " has no hero to pick it up";
            uint8_t& slot = state().heroes[(size_t)hero].artifacts[5];
            if (goal_context(g()).artifact_buried) slot = 0;
            for (ArtifactState& a : state().map_artifacts)
                if (!a.taken && a.artifact <= 3) slot = a.artifact, a.taken = 1;
            break;
        }
        case VICTORY_GATHER_GOLD: state().resources[(size_t)p].gold = 100000; break;
        case VICTORY_SURVIVE_MONTHS: state().month = 100; break;
        case VICTORY_VISIT_SITES:
            ASSERT_GE(hero, 0) << "seat " << p << " has no hero to visit the sites";
            for (const auto& [x, y] : v.sites) record_visit(g().events.visits, x, y, hero);
            break;
        }
        checks(p);
    };
    for (const auto& [name, mp] : maps) {
        for (int setup = 0; setup < 4; ++setup) {
            // All average, the first rival switched off, a campaign, hot seat.
            NewGameConfig cfg = config_of(setup == 2 ? MODE_CAMPAIGN : setup == 3 ? MODE_HOTSEAT : MODE_STANDARD);
            if (setup == 1) cfg.opponents[0] = OPP_NONE;
            if (set_up_fault(mp, cfg) != SetUpFault::None) continue;  // the page refuses it
            for (int hand = -2; hand < 3; ++hand) {
                for (int after = 0; after < 3; ++after) {
                    SCOPED_TRACE(testing::Message() << name << ", set-up " << setup << ", lost to " << hand
                                                    << (after == 1 ? ", every rival beaten" : "")
                                                    << (after == 2 ? ", rivals with no town out" : ""));
                    if (!reach(mp, cfg, hand, after)) continue;
                    if (hand == -2 && after == 0) {
                        EXPECT_EQ((int)game_outcome(g()), (int)GameOutcome::None) << "decided at the start";
                    }
                    if (game_outcome(g()) != GameOutcome::None) continue;
                    std::vector<std::pair<int, GoalRoad>> roads;
                    for (int p : g().hot_seat ? loop().player_order : std::vector<int>{0}) {
                        const GoalRoad road = in_play(p) ? goal_road(state(), p, goal_context(g())) : GoalRoad::None;
                        if (road != GoalRoad::None) roads.emplace_back(p, road);
                    }
                    EXPECT_FALSE(roads.empty()) << "no seat in play has a road";
                    for (const auto& [p, road] : roads) {
                        reach(mp, cfg, hand, after);
                        take_road(p, road);
                        // The month turns for every seat at once: the first in play wins it.
                        const bool month = road == GoalRoad::Own && state().victory.kind == VICTORY_SURVIVE_MONTHS;
                        const int winner = month ? roads[0].first : p;
                        EXPECT_EQ(g().hot_seat ? g().hot_seat_winner : g().game_won ? 0 : -1, winner)
                            << "seat " << p << " took its road " << (int)road;
                    }
                }
            }
        }
    }
}

TEST_F(GoalStartTest, AStandardGameStartsWithNoGoalMet) { sweep(MODE_STANDARD); }
TEST_F(GoalStartTest, ACampaignStartsWithNoGoalMetOrLost) { sweep(MODE_CAMPAIGN); }
TEST_F(GoalStartTest, AHotSeatGameStartsWithNoSeatsGoalMet) { sweep(MODE_HOTSEAT); }

// The hunted lord (Green's) two steps east of Red's hero; Green's castle and second hero far off.
GameMap hunted_lord_map() {
    kit::MapBuilder b(36, 36, kit::G_GRASS, "The Hunt");
    b.town(4, 4, FACTION_KNIGHT, 0, true, "Oakhold");
    b.hero(10, 10, kit::kStrongestWarlock[0], 0);
    b.town(30, 30, FACTION_WARLOCK, 1, true, "Duskmoor");
    b.hero(31, 31, 27, 1);
    b.hero(12, 10, kit::kWeakestKnight[0], 1);
    b.victory(VICTORY_KILL_HERO, 12, 10);
    return b.map;
}

// Two humans hunt a lord that one of them owns: his own seat does not win by keeping him, the first round
// passes with no winner, and when he attacks in his own turn and is beaten, the seat whose hero beat him
// wins.
TEST_F(GoalStartTest, AHuntedLordInAHotSeatGameIsWonByTheSeatThatBeatsHim) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    m.now_ms = 4242;
    start(hunted_lord_map(), config_of(MODE_HOTSEAT, false));
    g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    const int red = state().hero_at(10, 10), lord = state().hero_at(12, 10);
    ASSERT_GE(red, 0);
    ASSERT_GE(lord, 0);
    ASSERT_EQ(state().heroes[(size_t)lord].owner, 1);
    const auto pass_turn_to = [this](int seat) {
        end_current_turn(m);
        for (int i = 0; i < 3000 && (loop().current_player != seat || g().new_day.active); ++i) frames(1, 50.0f);
        accept_dialogs();
        ASSERT_EQ(loop().current_player, seat);
    };

    accept_dialogs();
    pass_turn_to(1);
    pass_turn_to(0);
    EXPECT_EQ(state().day, 2);
    EXPECT_EQ(g().hot_seat_winner, -1);
    EXPECT_EQ(game_outcome(g()), GameOutcome::None);

    pass_turn_to(1);
    Army& strong = state().heroes[(size_t)red].army;
    strong.clear();
    strong.ids[0] = 20;
    strong.counts[0] = 200;
    Army& weak = state().heroes[(size_t)lord].army;
    weak.clear();
    weak.ids[0] = 0;
    weak.counts[0] = 1;
    launch_hero_battle(m, lord, red);
    ASSERT_TRUE(loop().battle_open);
    BattleScreen& b = g().battle;
    for (int f = 0; f < 40000 && b.overlay != BattleOverlay::Result; ++f) {
        const BattleUnit* u = b.active_unit();
        if (u && b.phase == ActionPhase::Idle && !(u->side == 0 ? b.auto_attacker : b.auto_defender)) b.engage_auto_combat();
        frames(1);
    }
    ASSERT_EQ(b.outcome, OutcomeDefenderWon);
    frames(30);
    push_key(SDLK_RETURN);
    frames(2);
    accept_dialogs();
    EXPECT_FALSE(state().heroes[(size_t)lord].live);
    EXPECT_EQ(g().hot_seat_winner, 0) << "Red's hero beat him in Green's turn";
    EXPECT_EQ(game_outcome(g()), GameOutcome::HotSeatWon);
    end_game(m);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

// A shared game's visit goal is each seat's own: Blue wins by its own hero's visits, whatever Red has seen.
TEST_F(VictoryCheckTest, HotSeatSitesAreWonByEachSeatsOwnVisits) {
    make_hot_seat_game();
    ScenarioVictory& v = state().victory;
    v.kind = VICTORY_VISIT_SITES;
    v.sites = {{3, 2}, {2, 3}};
    map().tile(3, 2)->object_type = OBJ_FOUNTAIN;
    map().tile(2, 3)->object_type = OBJ_FAERIE_RING;
    const int red = add_hero(8, 8, 0), blue = add_hero(12, 12, 2);
    start_player_turn(m, 0);
    accept_dialogs();
    visit_tile(m, red, 3, 2, VisitSite::Arrival);
    accept_dialogs();
    loop().current_player = 2;
    visit_tile(m, blue, 2, 3, VisitSite::Arrival);
    accept_dialogs();
    EXPECT_EQ(g().hot_seat_winner, -1) << "each has seen one site";
    visit_tile(m, blue, 3, 2, VisitSite::Arrival);
    accept_dialogs();
    EXPECT_EQ(g().hot_seat_winner, 2);
}

}  // namespace
}  // namespace vorn1::test
