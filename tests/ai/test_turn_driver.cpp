// The computer player's turn through the step protocol: planning, walking, claiming and the hand-offs to the
// caller (a watched step, a battle against the human), with a fake caller standing in for the frame loop.
#include <gtest/gtest.h>

#include "ai/ai_battle.h"
#include "ai/ai_claim.h"
#include "ai/ai_executor.h"
#include "ai/ai_fixtures.h"
#include "ai/ai_planner.h"
#include "ai/ai_routes.h"
#include "ai/ai_turn_vars.h"
#include "ai/ai_valuation.h"
#include "events/event_actions.h"
#include "world/tile_rules.h"

using namespace vorn1;
using namespace vorn1::aitest;

namespace {

struct Fixture {
    GameMap map = make_empty_map();
    GameState s = two_player_state();
    std::vector<int> left, max;
    AIExecutor ai;

    void explore_all(int p) {
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 72; ++x) s.fog[p].set_explored(x, y);
    }
    void new_day() {
        left.resize(s.heroes.size());
        max.resize(s.heroes.size());
        for (size_t i = 0; i < s.heroes.size(); ++i) left[i] = max[i] = hero_day_mp(s, map, (int)i);
    }
    // The fake caller: watched steps land at once; returns the kinds seen.
    std::vector<int> play_turn(int player, int human) {
        std::vector<int> kinds;
        ai.begin_turn(s, map, left, max, player, human);
        while (ai.active) {
            int taken = 0;
            for (int i = 0; i < kAIStepsPerPass; ++i) {
                const AIStepResult r = ai.step();
                kinds.push_back(r.kind);
                if (r.kind == AIS_MOVE) {
                    ai_place_hero(s, map, r.hero, r.to_x, r.to_y, true);
                    ai.on_move_finished(r.hero);
                    break;
                }
                if (r.kind == AIS_IDLE || r.kind == AIS_HUMAN_BATTLE) break;
                ++taken;
            }
            EXPECT_LT(taken, kAIStepsPerPass);
            if (ai.waiting_for_battle) break;
        }
        return kinds;
    }
};

int add_chest(Fixture& f, int x, int y, int value) {
    f.s.chests.push_back({x, y, value, 0});
    f.map.tile(x, y)->object_type = OBJ_CHEST;
    return (int)f.s.chests.size() - 1;
}

int add_mine(Fixture& f, int x, int y, int kind) {
    MineState m;
    m.live = 1, m.x = x, m.y = y, m.kind = (uint8_t)kind;
    f.s.mines.push_back(m);
    f.map.tile(x, y)->object_type = OBJ_MINE;
    return (int)f.s.mines.size() - 1;
}

// A second human seat beside Blue: Yellow.
void seat_yellow_human(Fixture& f) {
    f.s.player_color[3] = COLOR_YELLOW;
    f.s.player_in_play[3] = 1;
    f.s.player_is_human[3] = 1;
}

}  // namespace

TEST(AITurnDriver, HeroesCollectAChestAndAMineOverDaysAndEveryTurnEnds) {
    for (bool watched : {false, true}) {
        Fixture f;
        const int hero = add_hero(f.s, f.map, 0, 10, 10, army_of({{9, 20}}));
        const int chest = add_chest(f, 15, 10, 1500);
        const int mine = add_mine(f, 10, 18, MINE_GOLD);
        f.explore_all(0);
        // The human sees the east half only: steps there come back to the caller, the others do not.
        for (int y = 0; y < 72; ++y)
            for (int x = 13; x < 72; ++x) f.s.fog[2].set_explored(x, y);
        f.ai.view_enemy_moves = watched;
        int moves = 0;
        for (int day = 0; day < 4; ++day) {
            f.new_day();
            for (int k : f.play_turn(0, 2)) {
                EXPECT_NE(k, 2);
                EXPECT_NE(k, AIS_HUMAN_BATTLE);
                moves += k == AIS_MOVE;
            }
            EXPECT_FALSE(f.ai.active);
        }
        EXPECT_EQ(f.s.chests[chest].taken, 1);
        EXPECT_EQ(f.s.resources[0].gold, 1500);
        EXPECT_EQ(f.s.mines[mine].owner, 0);
        EXPECT_EQ(f.map.tile(f.s.heroes[hero].x, f.s.heroes[hero].y)->hero_figure, 1);
        if (watched) EXPECT_GT(moves, 0);
        else EXPECT_EQ(moves, 0);
    }
}

TEST(AITurnDriver, AHumanHeroBesideIsHandedToTheCallerAndALossEndsTheHerosDay) {
    Fixture f;
    const int red = add_hero(f.s, f.map, 0, 10, 10, army_of({{23, 50}}));
    const int blue = add_hero(f.s, f.map, 2, 11, 10, army_of({{0, 5}}));
    f.explore_all(0);
    f.new_day();
    f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, 2);
    const AIStepResult r = f.ai.step();
    ASSERT_EQ(r.kind, AIS_HUMAN_BATTLE);
    EXPECT_EQ(r.attacker, red);
    EXPECT_EQ(r.defender_hero, blue);
    EXPECT_EQ(r.castle, -1);
    EXPECT_EQ(r.target_x, 11);
    // Waiting for the battle: nothing moves.
    EXPECT_EQ(f.ai.step().kind, AIS_IDLE);
    EXPECT_TRUE(f.ai.active);
    f.ai.resume_after_human_battle(false);
    EXPECT_EQ(f.left[red], 0);
    EXPECT_EQ(f.ai.pending_hero, -1);
    EXPECT_FALSE(f.ai.waiting_for_battle);

    // The human's first hero alone in its castle: the castle's battle with that hero goes to the caller.
    Fixture t;
    const int keeper = add_hero(t.s, t.map, 2, 12, 10, army_of({{0, 5}}));
    const int castle = add_town(t.s, 2, 12, 10, true);
    t.map.tile(12, 10)->object_type = OBJ_TOWN_ENTRANCE;
    add_hero(t.s, t.map, 0, 12, 11, army_of({{23, 50}}));
    t.explore_all(0);
    t.new_day();
    t.ai.begin_turn(t.s, t.map, t.left, t.max, 0, 2);
    const AIStepResult siege = t.ai.step();
    ASSERT_EQ(siege.kind, AIS_HUMAN_BATTLE);
    EXPECT_EQ(siege.defender_hero, keeper);
    EXPECT_EQ(siege.castle, castle);
}

// In hot seat the human on screen is only one of the humans: a town or hero of any human seat goes to the
// caller, whoever's view is on screen or before any human has played; a computer seat's is settled here.
TEST(AITurnDriver, EveryHumanSeatsTownAndHeroGoToTheCaller) {
    for (const int on_screen : {2, -1}) {
        Fixture f;
        seat_yellow_human(f);
        const int castle = add_town(f.s, 3, 12, 10, true);
        f.map.tile(12, 10)->object_type = OBJ_TOWN_ENTRANCE;
        f.s.castles[castle].garrison = army_of({{0, 5}});
        const int red = add_hero(f.s, f.map, 0, 12, 11, army_of({{23, 50}}));
        f.explore_all(0);
        f.new_day();
        f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, on_screen);
        const AIStepResult r = f.ai.step();
        ASSERT_EQ(r.kind, AIS_HUMAN_BATTLE) << on_screen;
        EXPECT_EQ(r.attacker, red);
        EXPECT_EQ(r.castle, castle);
        EXPECT_EQ(r.defender_hero, -1);
        EXPECT_EQ(f.s.castles[castle].owner, 3) << "nothing settled before the battle";
        f.ai.resume_after_human_battle(false);

        // Yellow's hero at the gate defends it; Green's (a computer seat) beside Red is fought here.
        const int keeper = add_hero(f.s, f.map, 3, 12, 10, army_of({{0, 5}}));
        f.new_day();
        f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, on_screen);
        const AIStepResult h = f.ai.step();
        ASSERT_EQ(h.kind, AIS_HUMAN_BATTLE);
        EXPECT_EQ(h.defender_hero, keeper);
        EXPECT_EQ(h.castle, castle);
        f.ai.resume_after_human_battle(false);
        f.s.castles[castle].owner = 1;
        f.s.heroes[(size_t)keeper].owner = 1;
        f.new_day();
        f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, on_screen);
        EXPECT_EQ(f.ai.step().kind, AIS_AUTO_BATTLE);
        EXPECT_EQ(f.s.castles[castle].owner, 0);

        // Yellow's hero in the open.
        Fixture o;
        seat_yellow_human(o);
        add_hero(o.s, o.map, 0, 10, 10, army_of({{23, 50}}));
        const int walker = add_hero(o.s, o.map, 3, 11, 10, army_of({{0, 5}}));
        o.explore_all(0);
        o.new_day();
        o.ai.begin_turn(o.s, o.map, o.left, o.max, 0, on_screen);
        const AIStepResult w = o.ai.step();
        ASSERT_EQ(w.kind, AIS_HUMAN_BATTLE);
        EXPECT_EQ(w.defender_hero, walker);
        EXPECT_EQ(w.castle, -1);
    }
}

// The winner of a town stands in it afterwards, so the town is defended; a town gate held by the player's
// own hero is closed to its other heroes, while one held by a foe is a target.
TEST(AITurnDriver, TheWinnerOfATownStandsInItAndOnlyAFoesHeroOpensAHeldGate) {
    Fixture f;
    const int red = add_hero(f.s, f.map, 0, 11, 10, army_of({{23, 20}}));
    const int town = add_town(f.s, -1, 12, 10, false);
    f.s.castles[town].garrison = army_of({{0, 5}});
    f.map.tile(12, 10)->object_type = OBJ_TOWN_ENTRANCE;
    f.explore_all(0);
    f.new_day();
    f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, 2);
    EXPECT_EQ(f.ai.step().kind, AIS_AUTO_BATTLE);
    EXPECT_EQ(f.s.castles[town].owner, 0);
    EXPECT_EQ(f.s.heroes[red].x, 12) << "the winner walked in";
    EXPECT_EQ(f.s.hero_at(12, 10), red);
    EXPECT_EQ(f.map.tile(11, 10)->hero_figure, 0);
    EXPECT_NE(f.map.tile(12, 10)->hero_figure, 0);
    const int other = add_hero(f.s, f.map, 0, 20, 10, army_of({{0, 5}}));
    const int green = add_hero(f.s, f.map, 1, 20, 12, army_of({{0, 5}}));
    EXPECT_LT(route_cost_mp(f.map, f.s, other, 12, 10), 0.0);
    EXPECT_GT(route_cost_mp(f.map, f.s, green, 12, 10), 0.0);
}

// An attack on a foe's hero standing in a castle is that castle's siege: predicted with the walls and the
// garrison, settled here by taking the castle, and handed to the caller as the castle's; a handed-back battle
// the caller settles without the screen is settled as the executor settles its own.
TEST(AITurnDriver, AnAttackOnAHeroInACastleIsTheCastlesSiege) {
    Fixture f;
    const int red = add_hero(f.s, f.map, 0, 12, 11, army_of({{23, 20}}));
    const int town = add_town(f.s, 1, 12, 10, true);
    f.map.tile(12, 10)->object_type = OBJ_TOWN_ENTRANCE;
    f.s.castles[town].garrison = army_of({{2, 40}});
    const int green = add_hero(f.s, f.map, 1, 12, 10, army_of({{0, 5}}));
    const AIMapObject at_hero{12, 10, AIO_ATTACK_HERO, green, true}, at_town{12, 10, AIO_ATTACK_CASTLE, town, true};
    const AIMapObject fought = ai_battle_target(f.s, 0, at_hero);
    EXPECT_EQ(fought.type, AIO_ATTACK_CASTLE);
    EXPECT_EQ(fought.index, town);
    EXPECT_EQ(ai_battle_target(f.s, 1, at_hero).type, AIO_ATTACK_HERO) << "a hero in the attacker's own town";
    const HeroState& r = f.s.heroes[(size_t)red];
    const AIBattleOutcome on_hero = ai_battle_outcome(f.s, 0, r, at_hero);
    const AIBattleOutcome on_town = ai_battle_outcome(f.s, 0, r, at_town);
    EXPECT_EQ(on_hero.win_chance, on_town.win_chance);
    EXPECT_EQ(on_hero.defender_loss, on_town.defender_loss) << "the garrison counts";
    {
        GameState s = f.s;
        s.heroes[(size_t)green].army = army_of({{23, 60}});
        EXPECT_GE(on_town.win_chance, 0.5f);
        EXPECT_LT(ai_battle_outcome(s, 0, s.heroes[(size_t)red], at_hero).win_chance, 0.5f) << "and so does its hero";
    }
    {
        GameState s = f.s;
        GameMap map = f.map;
        ASSERT_TRUE(resolve_ai_battle(s, map, 0, red, at_hero));
        EXPECT_EQ(s.castles[(size_t)town].owner, 0);
        EXPECT_TRUE(s.castles[(size_t)town].garrison.empty());
        EXPECT_FALSE(s.heroes[(size_t)green].live);
    }
    // The same hero and town of the human (Blue): the castle's battle goes to the caller; settled without
    // the screen, the town is the winner's and its hero stands in it.
    f.s.heroes[(size_t)green].owner = 2;
    f.s.castles[town].owner = 2;
    f.explore_all(0);
    f.new_day();
    f.ai.begin_turn(f.s, f.map, f.left, f.max, 0, 2);
    EXPECT_FALSE(f.ai.settle_human_battle()) << "no battle awaited";
    const AIStepResult h = f.ai.step();
    ASSERT_EQ(h.kind, AIS_HUMAN_BATTLE);
    EXPECT_EQ(h.castle, town);
    EXPECT_EQ(h.defender_hero, green);
    EXPECT_TRUE(f.ai.settle_human_battle());
    EXPECT_FALSE(f.ai.waiting_for_battle);
    EXPECT_EQ(f.s.castles[town].owner, 0);
    EXPECT_FALSE(f.s.heroes[(size_t)green].live);
    EXPECT_EQ(f.s.hero_at(12, 10), red);
}

TEST(AIClaim, FailedClaimsChangeNothingAndSitesGoThroughTheVisitEffects) {
    Fixture f;
    const int h = add_hero(f.s, f.map, 0, 5, 5, army_of({{9, 20}}));
    // No free slot: neither the ambush nor the price is paid and the artifact stays.
    f.s.map_artifacts.push_back({6, 5, 3, 0, 1});
    f.s.heroes[h].artifacts.fill(1);
    const GameState before = f.s;
    bool ambushed = true;
    EXPECT_FALSE(claim_object(f.s, f.map, 0, {6, 5, AIO_ARTIFACT, 0, false}, h, &f.max, &ambushed));
    EXPECT_FALSE(ambushed);
    EXPECT_EQ(f.s.heroes[h].army.counts, before.heroes[h].army.counts);
    EXPECT_EQ(f.s.map_artifacts[0].taken, 0);
    // A paid artifact: 1999 gold is not enough, 2000 is, and leaves nothing.
    f.s.heroes[h].artifacts.fill(EMPTY_ID);
    f.s.map_artifacts[0].guard_kind = 2;
    f.s.resources[0].gold = 1999;
    EXPECT_FALSE(claim_object(f.s, f.map, 0, {6, 5, AIO_ARTIFACT, 0, false}, h, nullptr, nullptr));
    f.s.resources[0].gold = 2000;
    EXPECT_TRUE(claim_object(f.s, f.map, 0, {6, 5, AIO_ARTIFACT, 0, false}, h, nullptr, nullptr));
    EXPECT_EQ(f.s.resources[0].gold, 0);
    EXPECT_EQ(f.s.heroes[h].artifacts[0], 3);
    // A campfire of kind 6 gives only its gold; an index out of range takes nothing.
    CampfireState fire;
    fire.active = 1, fire.x = 5, fire.y = 6, fire.gold = 400, fire.amount = 5, fire.kind = 6;
    f.s.campfires.push_back(fire);
    EXPECT_TRUE(claim_object(f.s, f.map, 0, {5, 6, AIO_CAMPFIRE, 0, false}, h, nullptr, nullptr));
    EXPECT_EQ(f.s.resources[0].gold, 400);
    EXPECT_EQ(f.s.campfires[0].taken, 1);
    EXPECT_FALSE(claim_object(f.s, f.map, 0, {5, 6, AIO_CHEST, 7, false}, h, nullptr, nullptr));
    EXPECT_FALSE(claim_object(f.s, f.map, 0, {5, 6, AIO_ATTACK_HERO, 0, false}, h, nullptr, nullptr));
}

TEST(AIPlanner, TimeBandsRolesAndFixedValues) {
    Fixture f;
    for (MapTile& t : f.map.tiles) t.ground = 30;
    const int h = add_hero(f.s, f.map, 0, 30, 30, army_of({{9, 20}}));
    add_chest(f, 55, 30, 2500);  // route 100 of 20 points: t = 5, factor 2.5 t, score 196
    add_chest(f, 15, 30, 1000);  // route 60: t = 3, factor 1.7 t, score 188
    f.explore_all(0);
    std::vector<int> left(f.s.heroes.size(), 20);
    int hero = -1;
    AIMapObject target;
    ASSERT_TRUE(plan_best_action(f.ai.context, f.s, f.map, left, 0, hero, target));
    EXPECT_EQ(hero, h);
    EXPECT_EQ(target.x, 55);
    // A target reachable today beats any better one that is not.
    add_chest(f, 33, 30, 100);
    ASSERT_TRUE(plan_best_action(f.ai.context, f.s, f.map, left, 0, hero, target));
    EXPECT_EQ(target.x, 33);
    left[h] = 0;
    EXPECT_FALSE(plan_best_action(f.ai.context, f.s, f.map, left, 0, hero, target));

    // Fixed values: an own mine is worth nothing, an unowned gold mine 7000 x the gold factor.
    const int mine = add_mine(f, 40, 40, MINE_GOLD);
    std::array<float, 7> w{};
    compute_turn_cost_resource(f.s, 0, w);
    int32_t pct = 0;
    EXPECT_EQ(ValueOfEventAtPosition(f.s, f.map, h, 0, {40, 40, AIO_MINE, mine, false}, pct), (int32_t)(7000.0 * w[6]));
    EXPECT_EQ(pct, 100);
    f.s.mines[mine].owner = 0;
    EXPECT_EQ(ValueOfEventAtPosition(f.s, f.map, h, 0, {40, 40, AIO_MINE, mine, false}, pct), 0);
    EXPECT_EQ(ValueOfEventAtPosition(f.s, f.map, h, 0, {0, 0, AIO_LIGHTHOUSE, -1, false}, pct), 600);
    EXPECT_DOUBLE_EQ(role_value_multiplier(2, AIO_MONSTER), 2.5);
    EXPECT_DOUBLE_EQ(role_value_multiplier(3, AIO_NEUTRAL_CASTLE), 1.2);
    EXPECT_DOUBLE_EQ(role_value_multiplier(4, AIO_CHEST), 0.8);
    EXPECT_DOUBLE_EQ(role_value_multiplier(1, AIO_OBELISK), 1.0);

    // Four heroes: strongest 2, weakest 4, second weakest 3, the second 1 only when clearly stronger.
    for (int n : {60, 25, 10}) add_hero(f.s, f.map, 0, 60, n, army_of({{9, n}}));
    assign_hero_roles(f.ai.context, f.s, 0);
    EXPECT_EQ(f.ai.context.hero_roles[1], 2);
    EXPECT_EQ(f.ai.context.hero_roles[2], 0);
    EXPECT_EQ(f.ai.context.hero_roles[0], 3);
    EXPECT_EQ(f.ai.context.hero_roles[3], 4);
}
