// Records, log and battle prediction of the computer player.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ai/ai_battle.h"
#include "ai/ai_records.h"
#include "ai_fixtures.h"

using namespace vorn1;
using namespace vorn1::aitest;

TEST(AIRecords, LogLinesAndDismissal) {
    GameState s = two_player_state();
    s.player_color[1] = 7;
    testing::internal::CaptureStderr();
    ai_log(s, 0, "hero %d - %s", 3, ai_object_type_name(AIO_MINE));
    ai_log(s, 1, "x");
    ai_log(s, 9, "y");
    ai_log(s, 0, "%s", ai_object_type_name(99));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[AI] Red - hero 3 - capture mine\n[AI] None - x\n[AI] None - y\n[AI] Red - act on object\n");

    GameMap map = make_empty_map();
    const int h = add_hero(s, map, 0, 4, 4, army_of({{2, 10}}));
    s.heroes[h].artifacts[0] = 3;
    s.heroes[h].attack = 5;
    map.tile(4, 4)->hero_frame = 18;
    map.tile(4, 4)->hero_on_boat = 1;
    dismiss_hero(s, map, 7, -1);
    EXPECT_EQ(s.heroes[h].live, 1);
    dismiss_hero(s, map, h, -1);
    const HeroState& d = s.heroes[h];
    EXPECT_EQ(d.live, 0);
    EXPECT_TRUE(d.army.empty());
    EXPECT_EQ(d.army.ids[0], EMPTY_ID);
    EXPECT_EQ(d.artifacts[0], 3);
    EXPECT_EQ(d.attack, 5);
    EXPECT_EQ(d.name, "Hero0");
    EXPECT_EQ(map.tile(4, 4)->hero_figure, 0);
    EXPECT_EQ(map.tile(4, 4)->hero_frame, 0);
    EXPECT_EQ(map.tile(4, 4)->hero_on_boat, 0);
}

TEST(AIPrediction, ArmyValues) {
    auto full = [](Army a, const HeroState* h = nullptr) { return FightValueOfStack(a, h, true); };
    EXPECT_DOUBLE_EQ(FightValueOfStack(army_of({{1, 10}}), nullptr, false), 2560.0);
    EXPECT_DOUBLE_EQ(full(army_of({{1, 10}})), 2560.0 * static_cast<double>(1.042f));
    EXPECT_NEAR(full(army_of({{20, 200}})), 449312.0, 449312.0 * 1e-6);
    EXPECT_NEAR(full(army_of({{12, 200}})), 32412.0, 32412.0 * 1e-6);
    EXPECT_DOUBLE_EQ(full(army_of({{2, 180}})), 399.0 * 180 * static_cast<double>(2.30f));
    EXPECT_DOUBLE_EQ(full(army_of({{2, 181}})), 399.0 * 181 * static_cast<double>(2.70f));
    EXPECT_DOUBLE_EQ(full(army_of({{2, 3}})), 399.0 * 3 * static_cast<double>(0.90f));

    HeroState hero;
    hero.crest = CLASS_BARBARIAN;
    hero.attack = 1;
    hero.defense = 1;
    const Army pikes = army_of({{2, 20}});
    EXPECT_DOUBLE_EQ(full(pikes), 9975.0);
    EXPECT_NEAR(full(pikes, &hero), 10972.5, 1e-2);
    // Empty slots and unknown ids are worth nothing, with a hero too.
    EXPECT_EQ(full(army_of({{28, 50}, {255, 9}}), &hero), 0.0);

    hero.has_spellbook = 1;
    EXPECT_NEAR(full(pikes, &hero), 10972.5, 1e-2);  // a book without charges adds nothing
    hero.spell_charges[12] = 2;
    hero.power = 2;                                   // plain spells at half worth
    EXPECT_NEAR(full(pikes, &hero), 10972.5 + 85.0, 1e-2);
    hero.power = 3;
    EXPECT_NEAR(full(pikes, &hero), 11142.5, 1e-2);
    hero.spell_charges[12] = 0;
    hero.spell_charges[11] = 4;                       // counted but worth 0: caps the bonus at 0
    EXPECT_NEAR(full(pikes, &hero), 10972.5, 1e-2);

    // Three towns' creatures under one hero: morale -1 takes a 24th off.
    const Army mixed = army_of({{2, 20}, {8, 5}, {14, 5}});
    EXPECT_NEAR(full(mixed, &hero), full(mixed) * 1.1 * 23 / 24, 1e-6 * full(mixed));

    HeroState strong;
    strong.crest = CLASS_BARBARIAN;
    strong.attack = 127;
    strong.defense = 127;
    strong.artifact_bonus = {127, 127, 0, 0};
    EXPECT_NEAR(full(pikes, &strong), 9975.0 * static_cast<double>(2.86f), 1e-6);
}

TEST(AIPrediction, OutcomesAndAdjustment) {
    GameState s = two_player_state();
    const Army pikes = army_of({{2, 20}}), swords = army_of({{3, 10}});
    auto predict = [&](int attacker, int defender) {
        AIBattleOutcome o;
        ProbableOutcomeOfBattle(s, attacker, pikes.ids.data(), pikes.counts.data(), nullptr, swords.ids.data(),
                                swords.counts.data(), nullptr, nullptr, nullptr, false, defender, o);
        return o;
    };
    const AIBattleOutcome cpu = predict(0, 1);
    EXPECT_NEAR(cpu.win_chance, 0.63617, 1e-4);
    EXPECT_EQ(cpu.attacker_loss, 2903);
    EXPECT_EQ(cpu.defender_loss, 4885);
    EXPECT_EQ(cpu.attacker_cost, 4750);
    EXPECT_EQ(cpu.defender_cost, 6663);
    EXPECT_NEAR(cpu.gain, 1101.35, 0.05);
    const AIBattleOutcome neutral = predict(0, -1);
    EXPECT_NEAR(neutral.win_chance, 0.52793, 1e-4);
    EXPECT_NEAR(neutral.gain, -6105.48, 0.05);
    s.player_ai_level[0] = AI_DUMB;
    const AIBattleOutcome human = predict(0, 2);
    EXPECT_NEAR(human.win_chance, 0.78810, 1e-4);
    EXPECT_NEAR(human.gain, 849.92, 0.05);

    EXPECT_EQ(ai_adjust_win_chance(0.0799), 0.0);
    EXPECT_NEAR(ai_adjust_win_chance(0.08), 0.01, 1e-12);
    EXPECT_NEAR(ai_adjust_win_chance(0.3999), 0.3799, 1e-12);
    EXPECT_EQ(ai_adjust_win_chance(0.5), 0.5);

    // Above a million the exponent drops to 2.
    const Army big = army_of({{23, 100}}), half = army_of({{23, 50}});
    AIBattleOutcome o;
    ProbableOutcomeOfBattle(s, 1, big.ids.data(), big.counts.data(), nullptr, half.ids.data(), half.counts.data(),
                            nullptr, nullptr, nullptr, false, 0, o);
    const double ratio = FightValueOfStack(big, nullptr, true) / FightValueOfStack(half, nullptr, true);
    EXPECT_NEAR(o.win_chance, ratio * ratio / (ratio * ratio + 1), 1e-6);

    // Losses of armies worth more than 2^31 saturate instead of wrapping.
    Army dragons;
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        dragons.ids[i] = 23;
        dragons.counts[i] = 65535;
    }
    ProbableOutcomeOfBattle(s, 1, dragons.ids.data(), dragons.counts.data(), nullptr, dragons.ids.data(),
                            dragons.counts.data(), nullptr, nullptr, nullptr, false, 0, o);
    EXPECT_FLOAT_EQ(o.win_chance, 0.5f);
    EXPECT_EQ(o.attacker_loss, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(o.defender_cost, std::numeric_limits<int32_t>::max());
}

TEST(AIPrediction, AutomaticBattles) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();

    // A town taken: garrison gone, owner changed, the guard record and the enemy hero in it gone too.
    const int town = add_town(s, 1, 10, 10, true);
    s.castles[town].garrison = army_of({{0, 5}});
    NeutralTownGarrison guard;
    guard.live = 1;
    guard.x = 10;
    guard.y = 10;
    guard.ids[0] = 0;
    guard.counts[0] = 4;
    s.garrisons.push_back(guard);
    const int defender = add_hero(s, map, 1, 10, 10, army_of({{0, 2}}));
    const int attacker = add_hero(s, map, 0, 11, 10, army_of({{5, 50}, {0, 1}}));
    EXPECT_TRUE(resolve_ai_battle(s, map, 0, attacker, {10, 10, AIO_ATTACK_CASTLE, town, true}));
    EXPECT_EQ(s.castles[town].owner, 0);
    EXPECT_TRUE(s.castles[town].garrison.empty());
    EXPECT_EQ(s.garrisons[0].live, 0);
    EXPECT_EQ(s.heroes[defender].live, 0);
    EXPECT_EQ(s.heroes[attacker].army.counts[1], 1);  // every stack keeps at least one creature
    EXPECT_LE(s.heroes[attacker].army.counts[0], 50);

    // A lost fight against 3 Cyclopes leaves one of them; the hero is dismissed.
    const int cyc = add_monster(s, map, 20, 20, 11, 3);
    const int weak = add_hero(s, map, 0, 21, 20, army_of({{5, 4}}));
    EXPECT_FALSE(resolve_ai_battle(s, map, 0, weak, {20, 20, AIO_MONSTER, cyc, true}));
    EXPECT_EQ(s.monsters[cyc].count, 1);
    EXPECT_EQ(s.heroes[weak].live, 0);
    EXPECT_EQ(map.tile(20, 20)->object_detail, 1);

    // 300 survivors show 255 on the tile.
    const int mob = add_monster(s, map, 30, 30, 0, 300);
    const int lone = add_hero(s, map, 0, 31, 30, army_of({{0, 1}}));
    EXPECT_FALSE(resolve_ai_battle(s, map, 0, lone, {30, 30, AIO_MONSTER, mob, true}));
    EXPECT_GT(s.monsters[mob].count, 255);
    EXPECT_EQ(map.tile(30, 30)->object_detail, 255);

    // A beaten stack leaves the map.
    const int champ = add_hero(s, map, 0, 29, 30, army_of({{23, 20}}));
    EXPECT_TRUE(resolve_ai_battle(s, map, 0, champ, {30, 30, AIO_MONSTER, mob, true}));
    EXPECT_EQ(s.monsters[mob].removed, 1);
    EXPECT_EQ(s.monsters[mob].count, 0);
    const MapTile& t = *map.tile(30, 30);
    EXPECT_EQ(t.object_type, 0);
    EXPECT_EQ(t.layer1_set, 0);
    EXPECT_EQ(t.layer1_frame, 255);
    EXPECT_EQ(t.object_detail, 0);
    EXPECT_EQ(s.heroes[champ].army.counts[0], 19);  // 20 x (1 - Dv / Hv), floored

    // A mine's guards are beaten: the one on the mine frees it, the one beside it leaves its tile.
    const int on_mine = add_monster(s, map, 40, 40, 0, 5);
    const int beside = add_monster(s, map, 41, 41, 0, 5);
    const int away = add_monster(s, map, 42, 40, 0, 5);
    map.tile(41, 41)->blocking = 1;
    const int miner = add_hero(s, map, 0, 39, 40, army_of({{23, 20}}));
    EXPECT_TRUE(resolve_ai_battle(s, map, 0, miner, {40, 40, AIO_MINE, -1, true}));
    EXPECT_EQ(s.monsters[on_mine].removed, 1);
    EXPECT_EQ(s.monsters[beside].removed, 1);
    EXPECT_EQ(s.monsters[away].removed, 0);
    EXPECT_EQ(map.tile(40, 40)->blocking, 0);
    EXPECT_EQ(map.tile(40, 40)->object_detail, 0);
    EXPECT_EQ(map.tile(41, 41)->object_type, 0);
    EXPECT_EQ(map.tile(41, 41)->blocking, 0);
    EXPECT_EQ(map.tile(42, 40)->object_type, OBJ_MONSTER);

    // An artifact counts as guarded by 50 Rogues whatever stands on it; a resource does not.
    const int picker = add_hero(s, map, 0, 50, 50, army_of({{0, 5}}));
    EXPECT_TRUE(is_hero_strong_enough(s, s.heroes[picker], {51, 50, AIO_RESOURCE, -1, true}));
    EXPECT_FALSE(is_hero_strong_enough(s, s.heroes[picker], {51, 50, AIO_ARTIFACT, -1, true}));

    EXPECT_FALSE(resolve_ai_battle(s, map, 0, 99, {30, 30, AIO_MONSTER, mob, true}));
    HeroState h;
    h.army = army_of({{1, 3}, {2, 100}});
    scale_hero_army(h, 0.001);
    EXPECT_EQ(h.army.counts[0], 1);
    EXPECT_EQ(h.army.counts[1], 1);
    scale_hero_army(h, 0);
    EXPECT_TRUE(h.army.empty());
}
