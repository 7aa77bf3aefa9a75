// The computer player in its towns: visits and pooling, building choice, town economy and trading.
#include <gtest/gtest.h>

#include <string>

#include "ai/ai_building.h"
#include "ai/ai_economy.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_trading.h"
#include "ai/ai_turn_vars.h"
#include "ai_fixtures.h"
#include "world/hero_pool.h"

using namespace vorn1;
using namespace vorn1::aitest;

TEST(AITownVisits, SpellsAndTroopBalance) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();
    const int t = add_town(s, 0, 10, 10, false, FACTION_KNIGHT, BLD_GUILD1);
    s.castles[t].guild_spells = {2, 12, 8, 255, 255, 255, 255, 255, 255};
    const int h = add_hero(s, map, 0, 10, 10, Army{});
    HeroState& hero = s.heroes[h];
    hero.knowledge = 2;
    s.resources[0].gold = 499;
    DoAllHeroInteractions(s, map, 0);
    EXPECT_EQ(hero.has_spellbook, 0);
    EXPECT_EQ(s.resources[0].gold, 499);
    s.resources[0].gold = 500;
    hero.spell_charges[12] = 1;  // known spells are not refilled
    int value = -1;
    HeroInteractionAtTown(s, map, 0, hero, s.castles[t], false, &value);
    EXPECT_EQ(s.resources[0].gold, 0);
    EXPECT_EQ(hero.has_spellbook, 1);
    EXPECT_EQ(hero.spell_charges[2], 2);
    EXPECT_EQ(hero.spell_charges[12], 1);
    EXPECT_EQ(hero.spell_charges[8], 2);
    // (1.7 - 0) x 300 + (1.7 - 1) x 100 + (1.7 - 0) x 300, each truncated.
    EXPECT_EQ(value, 510 + 70 + 510);

    HeroState novice;
    novice.live = 1;
    novice.owner = 0;
    s.resources[0].gold = 5000;
    HeroInteractionAtTown(s, map, 0, novice, s.castles[t], false, nullptr);
    EXPECT_EQ(novice.has_spellbook, 0);
    EXPECT_EQ(s.resources[0].gold, 5000);
    novice.has_spellbook = 1;
    HeroInteractionAtTown(s, map, 0, novice, s.castles[t], false, nullptr);
    EXPECT_EQ(novice.spell_charges[2], 1);

    // Garrison shares: a castle wants 0.34 and a town 0.23 from a hero with attack plus defense 10.
    CastleState castle = s.castles[t];
    castle.is_castle = 1;
    castle.buildings = 0;
    HeroState fighter;
    fighter.attack = 6;
    fighter.defense = 4;
    fighter.army = army_of({{0, 66}});
    castle.garrison = army_of({{0, 34}});
    HeroInteractionAtTown(s, map, 0, fighter, castle, false, nullptr);
    EXPECT_EQ(fighter.army.counts[0], 66);
    CastleState town = castle;
    town.is_castle = 0;
    fighter.army = army_of({{0, 77}});
    town.garrison = army_of({{0, 23}});
    HeroInteractionAtTown(s, map, 0, fighter, town, false, nullptr);
    EXPECT_EQ(fighter.army.counts[0], 77);
    eval_hero_interaction_at_town(s, map, 0, fighter, town, value);
    EXPECT_EQ(value, 0);

    // A giving hero always keeps a creature.
    HeroState giver;
    giver.army = army_of({{5, 2}});
    castle.garrison = Army{};
    HeroInteractionAtTown(s, map, 0, giver, castle, false, nullptr);
    EXPECT_EQ(giver.army.counts[0], 1);
    EXPECT_EQ(castle.garrison.ids[0], 5);
    EXPECT_EQ(castle.garrison.counts[0], 1);
}

TEST(AITownVisits, GarrisonAndHeroPooling) {
    GameState s = two_player_state();
    GameMap map = make_empty_map();
    CastleState town;
    town.x = 3;
    town.y = 4;
    town.garrison = army_of({{2, 10}});
    HeroState hero;
    testing::internal::CaptureStderr();
    pool_garrison_into_hero(s, 0, town, hero, true);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(town.garrison.counts[0], 10);

    // Strongest first; a capped merge leaves the rest in the town.
    town.garrison = army_of({{0, 1000}, {5, 3}, {2, 10}});
    hero.army = army_of({{0, 65000}});
    testing::internal::CaptureStderr();
    pool_garrison_into_hero(s, 0, town, hero, false);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[AI] Red - pool garrison into hero (castle @ 3,4)\n");
    EXPECT_EQ(hero.army.counts[0], 65535);
    EXPECT_EQ(hero.army.ids[1], 5);
    EXPECT_EQ(hero.army.ids[2], 2);
    EXPECT_EQ(town.garrison.ids[0], 0);
    EXPECT_EQ(town.garrison.counts[0], 465);

    // Equal strength: the earlier hero receives; an Average giver keeps its weakest stack.
    const int a = add_hero(s, map, 0, 10, 10, army_of({{2, 10}, {1, 10}}));
    const int b = add_hero(s, map, 0, 11, 11, army_of({{2, 10}, {1, 10}}));
    const int far = add_hero(s, map, 0, 13, 11, army_of({{2, 10}, {1, 10}}));
    testing::internal::CaptureStderr();
    ai_pool_between_allied_heroes(s, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[AI] Red - pool heroes: 1 \u2192 0 @ (10,10)\n");
    EXPECT_EQ(s.heroes[a].army.counts[0], 20);
    EXPECT_EQ(s.heroes[b].army.ids[0], EMPTY_ID);
    EXPECT_EQ(s.heroes[b].army.ids[1], 1);
    EXPECT_EQ(s.heroes[far].army.stack_count(), 2);

    // A Genius giver keeps its fastest stack.
    GameState g = two_player_state();
    g.player_ai_level[0] = AI_GENIUS;
    const int big = add_hero(g, map, 0, 20, 20, army_of({{5, 50}}));
    const int courier = add_hero(g, map, 0, 20, 21, army_of({{3, 10}, {4, 1}}));
    testing::internal::CaptureStderr();
    ai_pool_between_allied_heroes(g, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[AI] Red - pool heroes: 1 \u2192 0 @ (20,20) [fast courier]\n");
    EXPECT_EQ(g.heroes[courier].army.ids[1], 4);
    EXPECT_EQ(g.heroes[courier].army.stack_count(), 1);
    EXPECT_EQ(g.heroes[big].army.ids[1], 3);

    // An attack artifact makes the otherwise equal later hero the receiver.
    GameState art = two_player_state();
    const int first = add_hero(art, map, 0, 5, 5, army_of({{2, 10}, {1, 10}}));
    const int armed = add_hero(art, map, 0, 5, 6, army_of({{2, 10}, {1, 10}}));
    art.heroes[armed].artifact_bonus[0] = 2;
    testing::internal::CaptureStderr();
    ai_pool_between_allied_heroes(art, 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(art.heroes[armed].army.counts[0], 20);
    EXPECT_EQ(art.heroes[first].army.stack_count(), 1);
    // Creature 33 pools as a fifth-tier stack, the other extra creatures as second-tier ones.
    EXPECT_EQ(pool_creature_unit_power(33), 12);
    EXPECT_EQ(pool_creature_unit_power(32), 2);
}

TEST(AIBuilding, CostsWorthAndScores) {
    EXPECT_EQ(GetBuildingCost(2, 12, 0), (CreatureCost{6000, 0, 20, 0, 0, 20, 0}));
    EXPECT_EQ(GetBuildingCost(0, 0, 7), (CreatureCost{1000, 5, 5, 10, 10, 10, 10}));
    EXPECT_EQ(GetBuildingCost(3, 13, 0), CreatureCost{});
    EXPECT_EQ(GetBuildingCost(0, -1, 0), CreatureCost{});
    CastleState t;
    const uint16_t ladder[] = {0, BLD_GUILD1, BLD_GUILD2, BLD_GUILD3, BLD_GUILD4};
    const double worth[] = {4000, 2500, 2000, 2000, 0};
    for (int l = 0; l < 5; ++l) {
        t.buildings = ladder[l];
        EXPECT_EQ(ai_building_base_value(t, ECO_MAGE_GUILD), worth[l]) << l;
    }
    EXPECT_EQ(ai_building_base_value(t, ECO_THIEVES_GUILD), 1500);
    EXPECT_EQ(ai_building_base_value(t, ECO_WELL), 3000);

    GameState s = two_player_state();
    GameMap map = make_empty_map();
    s.resources[0] = {100000, 100, 100, 100, 100, 100, 100};
    compute_turn_ai_vars(s, 0);
    const int town = add_town(s, 0, 10, 10, true);
    CastleState& c = s.castles[town];
    EXPECT_GT(ai_building_score(s, map, 0, c, BS_DWELLING_1), 0);
    EXPECT_EQ(ai_building_score(s, map, 0, c, BS_SHIPYARD), -99);  // no water near
    EXPECT_EQ(ai_building_score(s, map, 0, c, BS_TAVERN), 0);       // worth nothing with an empty garrison
    // A full garrison without the dwelling's creature makes the dwelling worthless.
    c.garrison = army_of({{0, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}});
    EXPECT_EQ(ai_building_score(s, map, 0, c, BS_DWELLING_1), 0);
    c.garrison.counts[4] = 0;
    EXPECT_GT(ai_building_score(s, map, 0, c, BS_DWELLING_1), 0);
    // A top dwelling with creatures waiting out-rates every lower one.
    c.buildings |= BLD_DWELLING1 | BLD_DWELLING2 | BLD_DWELLING3 | BLD_DWELLING4 | BLD_DWELLING5;
    c.buildings &= ~BLD_DWELLING2;
    c.available[5] = 2;
    EXPECT_EQ(ai_building_score(s, map, 0, c, BS_DWELLING_2), 0);
    c.available[5] = 0;
    EXPECT_GT(ai_building_score(s, map, 0, c, BS_DWELLING_2), 0);
    c.built_today = 1;
    EXPECT_EQ(ai_best_building(s, map, 0, c).score, -99);
}

TEST(AIEconomy, TurnsUpgradesPurchasesAndHires) {
    GameState s = two_player_state();
    s.resources[0].gold = 400;
    s.ai_vars[0].gold_income = 300;
    CreatureCost cost;
    cost.gold = 1000;
    EXPECT_EQ(TurnsToBuy(s, 0, cost), 3.0);
    EXPECT_NEAR(ai_afford_factor(s, 0, cost), 0.55, 1e-12);
    s.ai_vars[0].gold_income = 0;
    EXPECT_EQ(TurnsToBuy(s, 0, cost), 99.0);
    EXPECT_EQ(ai_afford_factor(s, 0, cost), 0.0);
    cost.gold = 400;
    EXPECT_EQ(TurnsToBuy(s, 0, cost), 0.0);
    EXPECT_EQ(TurnsToBuy(s, -1, cost), 0.0) << "a seat out of range reads the first seat's treasury";
    CreatureCost mixed;
    mixed.wood = 1, mixed.mercury = 2, mixed.ore = 3, mixed.sulfur = 4, mixed.crystal = 5, mixed.gems = 6, mixed.gold = 7;
    EXPECT_FLOAT_EQ(ai_gold_price({1, 10, 100, 1000, 10000, 100000, 1}, mixed), 654328.0f);

    // Below 200 gold nothing happens, not even a hero's visit to the guild.
    GameMap map = make_empty_map();
    GameState visit = two_player_state();
    const int gt = add_town(visit, 0, 40, 40, false, FACTION_KNIGHT, BLD_GUILD1);
    visit.castles[gt].guild_spells[0] = 3;
    const int h = add_hero(visit, map, 0, 40, 40, Army{});
    visit.heroes[h].has_spellbook = 1;
    visit.heroes[h].knowledge = 1;
    visit.resources[0].gold = 199;
    ai_run_castle_economy(visit, map, 0, true);
    EXPECT_EQ(visit.heroes[h].spell_charges[3], 0);
    visit.resources[0].gold = 200;
    ai_run_castle_economy(visit, map, 0, true);
    EXPECT_EQ(visit.heroes[h].spell_charges[3], 1);

    // Castle upgrades: both towns in one turn; with 19 ore a town stays a town.
    add_town(s, 0, 10, 10, false);
    add_town(s, 0, 20, 10, false);
    s.resources[0] = {10000, 40, 40, 0, 0, 0, 0};
    ai_run_castle_economy(s, map, 0, true);
    for (const CastleState& c : s.castles) {
        EXPECT_EQ(c.is_castle, 1);
        EXPECT_EQ(c.built_today, 1);
        EXPECT_EQ(c.buildings, BLD_CASTLE);
    }
    EXPECT_EQ(map.tile(10, 10)->object_type, OBJ_CASTLE_ENTRANCE);
    GameState poor = two_player_state();
    add_town(poor, 0, 10, 10, false);
    poor.resources[0] = {5000, 20, 19, 0, 0, 0, 0};
    ai_run_castle_economy(poor, map, 0, true);
    EXPECT_EQ(poor.castles[0].is_castle, 0);

    // Half of what is affordable, at most what waits: 10 affordable and 4 waiting buys 4; 3 affordable buys none.
    GameState buy = two_player_state();
    const int bt = add_town(buy, 0, 10, 10, false);
    buy.castles[bt].built_today = 1;
    buy.castles[bt].available[1] = 4;
    buy.resources[0].gold = 1500;
    compute_turn_ai_vars(buy, 0);
    ai_run_castle_economy(buy, map, 0, true);
    EXPECT_EQ(buy.castles[bt].garrison.ids[0], 1);
    EXPECT_EQ(buy.castles[bt].garrison.counts[0], 4);
    EXPECT_EQ(buy.castles[bt].available[1], 0);
    EXPECT_EQ(buy.resources[0].gold, 900);
    buy.castles[bt].available[1] = 4;
    buy.castles[bt].garrison = Army{};
    buy.resources[0].gold = 450;
    ai_run_castle_economy(buy, map, 0, true);
    EXPECT_TRUE(buy.castles[bt].garrison.empty());
    EXPECT_EQ(buy.resources[0].gold, 450);
    // The first dwelling sells too: 22 Peasants affordable, 10 waiting.
    buy.castles[bt].available[0] = 10;
    ai_run_castle_economy(buy, map, 0, true);
    EXPECT_EQ(buy.castles[bt].garrison.ids[0], 0);
    EXPECT_EQ(buy.castles[bt].garrison.counts[0], 10);
    EXPECT_EQ(buy.resources[0].gold, 250);

    // A first hero is hired in a castle; a castle with a hero standing in it offers no hire.
    GameState hire = two_player_state();
    init_hero_pool(hire.pool);
    GameMap hmap = make_empty_map();
    const int c1 = add_town(hire, 0, 10, 10, true);
    const int c2 = add_town(hire, 0, 30, 30, true);
    hire.castles[c1].built_today = hire.castles[c2].built_today = 1;
    add_hero(hire, hmap, 0, 30, 30, Army{});
    hire.resources[0].gold = 6000;
    compute_turn_ai_vars(hire, 0);
    testing::internal::CaptureStderr();
    ai_run_castle_economy(hire, hmap, 0, true);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("[AI] Red - recruit hero (castle @ 10,10)"), std::string::npos) << log;
    EXPECT_EQ(log.find("castle @ 30,30"), std::string::npos) << log;
    EXPECT_EQ(HeroPool::count_player_heroes(0, hire), 2);
    EXPECT_EQ(hire.resources[0].gold, 3500);
}

TEST(AITrading, BuysReserveAndSells) {
    GameState s = two_player_state();
    add_town(s, 0, 10, 10, true, FACTION_KNIGHT, BLD_THIEVES_GUILD | BLD_TAVERN);
    s.resources[0] = {10500, 0, 5, 0, 2, 2, 2};
    testing::internal::CaptureStderr();
    ai_run_trading_post(s, 0, AI_AVERAGE);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[AI] Red - trading post: buy 3 Wood for 7500 gold (m=1)\n");
    EXPECT_EQ(s.resources[0].wood, 3);
    EXPECT_EQ(s.resources[0].gold, 3000);

    s.resources[0] = {3000, 0, 27, 0, 0, 9, 0};
    ai_run_trading_post(s, 0, AI_AVERAGE);
    EXPECT_EQ(s.resources[0], (PlayerResources{3000, 0, 27, 0, 0, 9, 0}));
    ai_run_trading_post(s, 0, AI_GENIUS);
    EXPECT_EQ(s.resources[0], (PlayerResources{3375, 0, 20, 0, 0, 5, 0}));

    // Without a trading network (no tavern beside the guild) nothing is traded.
    s.castles[0].buildings = BLD_THIEVES_GUILD;
    s.resources[0] = {20000, 0, 40, 0, 0, 0, 0};
    ai_run_trading_post(s, 0, AI_GENIUS);
    EXPECT_EQ(s.resources[0], (PlayerResources{20000, 0, 40, 0, 0, 0, 0}));
}
