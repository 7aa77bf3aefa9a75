#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

#include "datakit/kit_maps.h"
#include "world/buildings.h"
#include "world/game_setup.h"
#include "world/hero_pool.h"
#include "world/levels.h"
#include "world/tile_rules.h"

using namespace vorn1;
using namespace vorn1::kit;

TEST(MovePoints, SlowestStackArtifactsSeaAndClass) {
    HeroState h;
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 60);  // empty army
    h.army.ids[0] = 4;  // fast
    h.army.counts[0] = 3;
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 60);
    h.army.ids[1] = 2;  // medium
    h.army.counts[1] = 1;
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 50);
    h.army.ids[2] = 0;  // slow, but an empty count does not slow the hero
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 50);
    h.army.counts[2] = 1;
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 40);
    EXPECT_EQ(creature_speed_class(22), 1);  // from the creature table: the slow Hydra
    EXPECT_EQ(creature_speed_class(CREATURE_COUNT), 3);  // an unknown id does not slow the hero

    h.artifacts[0] = ART_TRAVELLER_BOOTS;
    h.artifacts[1] = ART_NOMAD_BOOTS;
    h.artifacts[2] = ART_WINGED_SANDALS;
    h.artifacts[3] = ART_NOMAD_BOOTS;  // a second copy adds nothing
    EXPECT_EQ(compute_hero_max_mp(h, false, false), 40 + 12 + 24 + 20);
    h.artifacts[4] = ART_SAILOR_ASTROLABE;
    EXPECT_EQ(compute_hero_max_mp(h, true, false), 40 + 20 + 40);
    EXPECT_EQ(compute_hero_max_mp(h, true, true), 40 + 20 + 40 + 20);
    h.crest = 0x30 | MOVE_SEA_X2;
    EXPECT_EQ(compute_hero_max_mp(h, true, true), 2 * (40 + 20 + 40 + 20));
    EXPECT_EQ(compute_hero_max_mp(h, false, true, 5), 40 + 12 + 24 + 20 + 5);  // doubling only at sea

    // From the state: the tile decides sea, the lighthouse counts for its owner only, +3 for clever AIs.
    MapBuilder b(3, 1);
    b.at(2, 0).ground = G_WATER;
    GameState s;
    s.heroes.resize(1);
    s.heroes[0].live = 1;
    s.heroes[0].owner = 1;
    s.heroes[0].x = 2;
    s.heroes[0].crest = MOVE_SEA_X2;
    s.lighthouse = {1, 0, 0, 1};
    EXPECT_EQ(compute_hero_max_mp(s, b.map, 0), 2 * (60 + 20));
    s.lighthouse.owner = -1;
    EXPECT_EQ(compute_hero_max_mp(s, b.map, 0), 120);
    s.player_ai_level[1] = AI_GENIUS;
    EXPECT_EQ(hero_day_mp(s, b.map, 0), 123);
    s.player_ai_level[1] = AI_AVERAGE;
    EXPECT_EQ(hero_day_mp(s, b.map, 0), 120);
    EXPECT_EQ(hero_day_mp(s, b.map, 5), 0);
    EXPECT_TRUE(is_smart_or_genius([] { GameState g; g.player_ai_level[3] = AI_SMART; return g; }(), 3));
    EXPECT_FALSE(is_smart_or_genius(s, -1));
    EXPECT_FALSE(is_smart_or_genius(s, 4));
}

TEST(JoinRule, ThresholdIsStrictAndNeedsRoom) {
    MonsterStackState m;
    m.creature = 1;  // power 256, 20..30
    m.count = 20;
    m.willing = 1;
    HeroState h;
    h.army.ids[0] = 4;  // power 1274
    // Needed: army x 100 > 256 x 20 x 175 = 896000, i.e. army power > 8960.
    h.army.counts[0] = 7;  // 8918
    EXPECT_FALSE(creature_stack_can_offer_join(m, h));
    h.army.ids[1] = 0;  // + 18 x 3 = 54 -> 8972
    h.army.counts[1] = 3;
    EXPECT_TRUE(creature_stack_can_offer_join(m, h));
    h.army.counts[1] = 2;  // 8954: below
    EXPECT_FALSE(creature_stack_can_offer_join(m, h));
    // Exactly equal is not enough: 1.75 x power x count with power 18 and count 40 is 1260 x 100.
    MonsterStackState p;
    p.creature = 0;
    p.count = 40;
    p.willing = 1;
    HeroState e;
    e.army.ids[0] = 0;
    e.army.counts[0] = 70;  // 18 x 70 = 1260 -> 126000 == 18 x 40 x 175
    EXPECT_FALSE(creature_stack_can_offer_join(p, e));
    e.army.counts[0] = 71;
    EXPECT_TRUE(creature_stack_can_offer_join(p, e));

    HeroState full = e;
    for (int i = 0; i < 5; ++i) {
        full.army.ids[i] = (uint8_t)(5 + i);
        full.army.counts[i] = 100;
    }
    EXPECT_FALSE(creature_stack_can_offer_join(p, full));  // no free or matching slot
    full.army.ids[4] = 0;
    EXPECT_TRUE(creature_stack_can_offer_join(p, full));
    MonsterStackState q = p;
    q.offered = 1;
    EXPECT_FALSE(creature_stack_can_offer_join(q, e));
    q = p;
    q.willing = 0;
    EXPECT_FALSE(creature_stack_can_offer_join(q, e));
    q = p;
    q.count = 81;  // above the row's maximum
    EXPECT_FALSE(creature_stack_can_offer_join(q, e));
    q.creature = 26;  // ghosts never join
    q.count = 12;
    EXPECT_FALSE(creature_stack_can_offer_join(q, e));
}

TEST(Buildings, StatusCases) {
    MapBuilder b(8, 8);
    CastleState c;
    c.live = 1;
    c.x = 3;
    c.y = 3;
    c.faction = FACTION_WARLOCK;
    c.buildings = BLD_CASTLE;
    PlayerResources rich = starting_resources(DIFF_EASY);
    rich.gold = 100000;
    EXPECT_EQ(get_build_status(BS_RECRUIT_HERO, c, PlayerResources{}, b.map, true), BUILD_OK);
    EXPECT_EQ(get_build_status(BS_DWELLING_0, c, rich, b.map, false), BUILD_BUILT);
    EXPECT_EQ(get_build_status(BS_DWELLING_1, c, rich, b.map, false), BUILD_OK);
    EXPECT_EQ(get_build_status(BS_DWELLING_2, c, rich, b.map, false), BUILD_NOT_ALLOWED);  // needs dwelling 1
    EXPECT_EQ(get_build_status(BS_DWELLING_1, c, rich, b.map, true), BUILD_NOT_ALLOWED);   // built today
    EXPECT_EQ(get_build_status(BS_SHIPYARD, c, rich, b.map, false), BUILD_NOT_ALLOWED);    // no water
    b.at(5, 5).ground = G_WATER;
    EXPECT_EQ(get_build_status(BS_SHIPYARD, c, rich, b.map, false), BUILD_OK);
    EXPECT_EQ(get_build_status(BS_DWELLING_1, c, PlayerResources{}, b.map, false), BUILD_CANNOT_AFFORD);

    // The town list's mark: a player's castle whose build screen sells a building today.
    GameState gs;
    c.owner = 0;
    c.is_castle = 1;
    gs.resources[0] = rich;
    EXPECT_TRUE(town_can_build_today(c, gs, b.map));
    gs.resources[0] = PlayerResources{};  // only a hero to hire, which is no building
    EXPECT_FALSE(town_can_build_today(c, gs, b.map));
    gs.resources[0] = rich;
    c.built_today = 1;
    EXPECT_FALSE(town_can_build_today(c, gs, b.map));
    c.built_today = 0;
    c.owner = -1;
    EXPECT_FALSE(town_can_build_today(c, gs, b.map));
    c.owner = 0;

    // Price of the warlock's last dwelling: 15000 gold, 30 ore, 20 sulfur.
    const StructureDef* top = get_structure_def(BS_DWELLING_5, FACTION_WARLOCK);
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(top->name, "Black Tower");
    const PlayerResources cost = structure_cost(*top);
    EXPECT_EQ(cost.gold, 15000);
    EXPECT_EQ(cost.ore, 30);
    EXPECT_EQ(cost.sulfur, 20);
    EXPECT_EQ(cost.mercury, 0);
    EXPECT_EQ(get_structure_def(BS_MAGE_GUILD, 9), nullptr);
    EXPECT_EQ(get_structure_def((BuildSlot)12, 0), nullptr);
    EXPECT_EQ(get_structure_def(BS_RECRUIT_HERO, 0)->picture, 6);
    EXPECT_EQ(get_structure_def(BS_THIEVES_GUILD, 0)->panel_rows, 6);

    // The guild climbs level by level and reads built at level 4.
    bool today = false;
    PlayerResources r = rich;
    apply_build(BS_MAGE_GUILD, c, r, today);
    EXPECT_TRUE(today);
    EXPECT_EQ(c.built_today, 1);
    EXPECT_TRUE(c.buildings & BLD_GUILD1);
    EXPECT_EQ(r.gold, rich.gold - 2000);
    EXPECT_EQ(r.wood, rich.wood - 5);
    apply_build(BS_MAGE_GUILD, c, r, today);
    EXPECT_TRUE(c.buildings & BLD_GUILD2);
    EXPECT_EQ(r.gems, rich.gems - 4);
    c.buildings |= BLD_GUILD3 | BLD_GUILD4;
    EXPECT_EQ(get_build_status(BS_MAGE_GUILD, c, rich, b.map, false), BUILD_BUILT);
    const PlayerResources before = r;
    apply_build(BS_MAGE_GUILD, c, r, today);
    apply_build(BS_RECRUIT_HERO, c, r, today);
    EXPECT_EQ(r, before);

    MapBuilder t(6, 6);
    t.town(2, 2, FACTION_KNIGHT, -1, false, "Walls");
    CastleState town;
    town.x = 2;
    town.y = 2;
    town.buildings = BLD_TENT;
    upgrade_town_to_castle(t.map, town);
    EXPECT_EQ(town.is_castle, 1);
    EXPECT_EQ(town.buildings, BLD_CASTLE);
    EXPECT_EQ(t.map.tile(2, 2)->object_type, OBJ_CASTLE_ENTRANCE);
    EXPECT_EQ(castle_upgrade_cost().gold, 5000);

    // An upgraded town stands on the map exactly as a castle the map placed, in every faction.
    for (int f = 0; f < 4; ++f) {
        MapBuilder as_town(7, 5), as_castle(7, 5);
        as_town.town(3, 2, f, 0, false, "T");
        as_castle.town(3, 2, f, 0, true, "T");
        CastleState c;
        c.x = 3;
        c.y = 2;
        c.faction = (uint8_t)f;
        upgrade_town_to_castle(as_town.map, c);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                for (int b = 0; b < 15; ++b)
                    ASSERT_EQ(as_town.map.tile(x, y)->byte_at(b), as_castle.map.tile(x, y)->byte_at(b))
                        << "faction " << f << " tile " << x << "," << y << " byte " << b;
    }
}

TEST(HeroPool, HireReturnAndCharges) {
    GameState s;
    GameMap m = MapBuilder(6, 6).map;
    init_hero_pool(s.pool);
    s.player_color[1] = COLOR_GREEN;
    EXPECT_EQ(s.pool.entries[0].name, "Lord Zevoraz");
    EXPECT_EQ(s.pool.entries[35].name, "Dodora");
    EXPECT_EQ(s.pool.free_entries.size(), 36u);

    // Not enough gold: nothing happens, nothing is paid.
    s.resources[1].gold = 2499;
    EXPECT_EQ(hire_hero(s, m, 3, 1, 1, 1), -1);
    EXPECT_EQ(s.resources[1].gold, 2499);
    s.resources[1].gold = 6000;
    const int h = hire_hero(s, m, 3, 1, 1, 1);
    ASSERT_EQ(h, 0);
    EXPECT_EQ(s.resources[1].gold, 3500);
    EXPECT_EQ(s.heroes[0].color(), COLOR_GREEN);
    EXPECT_EQ(m.tile(1, 1)->hero_figure, s.heroes[0].tile_figure());
    // The entry is in play: a second hire fails and costs nothing.
    EXPECT_EQ(hire_hero(s, m, 3, 1, 2, 2), -1);
    EXPECT_EQ(s.resources[1].gold, 3500);
    EXPECT_EQ(recruit_hero_from_pool(s, m, 36, 1, 2, 2), -1);
    EXPECT_EQ(recruit_hero_from_pool(s, m, 4, -1, 2, 2), -1);

    s.heroes[0].experience = 1234;
    s.heroes[0].artifacts[5] = 20;
    return_hero_to_pool(s, m, 0, 3);
    EXPECT_EQ(s.heroes[0].live, 0);
    EXPECT_EQ(m.tile(1, 1)->hero_figure, 0);
    EXPECT_EQ(s.pool.entries[3].status, POOL_RETURNED);
    // Rehired into the dead record with what it kept.
    EXPECT_EQ(recruit_hero_from_pool(s, m, 3, 0, 4, 4), 0);
    EXPECT_EQ(s.heroes[0].experience, 1234u);
    EXPECT_EQ(s.heroes[0].artifacts[5], 20);
    EXPECT_EQ(s.heroes[0].owner, 0);

    // At most eight heroes a player.
    s.resources[0].gold = 100000;
    for (int e = 10; e < 17; ++e) EXPECT_GE(hire_hero(s, m, e, 0, 0, 0), 0);
    EXPECT_EQ(HeroPool::count_player_heroes(0, s), 8);
    EXPECT_EQ(hire_hero(s, m, 20, 0, 0, 0), -1);
    EXPECT_EQ(s.resources[0].gold, 100000 - 7 * HERO_HIRE_COST);

    XorShift32 rng(5);
    refresh_hero_offers(s, 1, rng);
    EXPECT_NE(s.offers[1][0], -1);
    EXPECT_NE(s.offers[1][0], s.offers[1][1]);
    EXPECT_NE(s.pool.entries[s.offers[1][0]].status, POOL_IN_PLAY);
}

TEST(Levels, ThresholdsRiseAndLevelsApply) {
    for (int i = 1; i < MAX_HERO_LEVEL; ++i) EXPECT_GT(LEVEL_XP[i], LEVEL_XP[i - 1]);
    HeroState h;
    h.level = 1;
    h.crest = CLASS_WARLOCK;
    XorShift32 rng(9);
    h.experience = LEVEL_XP[1] - 1;
    EXPECT_EQ(apply_levelups(h, rng).levels_gained, 0);
    h.experience = LEVEL_XP[3];
    const LevelUpGain g = apply_levelups(h, rng);
    EXPECT_EQ(g.levels_gained, 3);
    EXPECT_EQ(h.level, 4);
    EXPECT_EQ(g.gains[0] + g.gains[1] + g.gains[2] + g.gains[3], 3);
    EXPECT_EQ(h.attack + h.defense + h.power + h.knowledge, 3);
    h.experience = 0xFFFFFFFFu;  // ends at the top level
    apply_levelups(h, rng);
    EXPECT_EQ(h.level, MAX_HERO_LEVEL);
}

TEST(Levels, GainsQueueOneRecordPerCheck) {
    std::deque<LevelUpEvent> queue;
    HeroState h;
    h.level = 1;
    h.name = "Luna";
    h.portrait = 22;
    h.experience = LEVEL_XP[1] - 1;
    EXPECT_FALSE(check_and_apply_levelups(h, 4, queue));
    EXPECT_TRUE(queue.empty());
    h.experience = LEVEL_XP[2];
    std::srand(5);
    ASSERT_TRUE(check_and_apply_levelups(h, 4, queue));
    ASSERT_EQ(queue.size(), 1u);
    const LevelUpEvent& ev = queue.back();
    EXPECT_EQ(ev.hero, 4);
    EXPECT_EQ(ev.levels_gained, 2);
    EXPECT_EQ(ev.new_level, 3);
    EXPECT_EQ(ev.gains[0] + ev.gains[1] + ev.gains[2] + ev.gains[3], 2);
    EXPECT_EQ(ev.name, "Luna");
    EXPECT_EQ(ev.portrait, 22);
    // Already at its level: nothing more is queued; a single level gained later queues its own record.
    EXPECT_FALSE(check_and_apply_levelups(h, 4, queue));
    EXPECT_EQ(queue.size(), 1u);
    h.experience = LEVEL_XP[3];
    ASSERT_TRUE(check_and_apply_levelups(h, 4, queue));
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.back().levels_gained, 1);
    EXPECT_EQ(queue.back().new_level, 4);
}

TEST(Levels, EachClassRaisesItsSkillsByItsWeights) {
    // Percent chance of attack, defense, power and knowledge by class; 100000 seeded levels each.
    const int weight[4][4] = {{35, 45, 10, 10}, {55, 35, 5, 5}, {10, 10, 30, 50}, {10, 10, 50, 30}};
    constexpr int kLevels = 100000;
    for (int cls = 0; cls < 4; ++cls) {
        XorShift32 rng(77u + (uint32_t)cls);
        int count[4] = {};
        for (int i = 0; i < kLevels; ++i) {
            HeroState h;
            h.crest = (uint8_t)cls;
            h.level = 1;
            h.experience = LEVEL_XP[1];
            const LevelUpGain g = apply_levelups(h, rng);
            ASSERT_EQ(g.levels_gained, 1);
            for (int s = 0; s < 4; ++s) count[s] += g.gains[s];
        }
        for (int s = 0; s < 4; ++s)
            EXPECT_NEAR(100.0 * count[s] / kLevels, weight[cls][s], 0.6) << "class " << cls << " skill " << s;
    }
}

TEST(DimensionDoor, LandingRules) {
    GameMap m;
    m.width = m.height = 6;
    m.tiles.assign(36, MapTile{});
    for (auto& t : m.tiles) t.ground = 30;
    GameState s;
    m.tile(0, 0)->ground = 5;  // water
    m.tile(1, 0)->blocking = 1;
    HeroState h;
    h.live = 1;
    h.x = 2;
    h.y = 0;
    s.heroes.push_back(h);
    MonsterStackState mon;
    mon.x = 3;
    mon.y = 0;
    mon.creature = 4;
    mon.count = 5;
    s.monsters.push_back(mon);
    s.resource_piles.push_back({4, 0, 1, 5, 0});
    s.campfires.push_back({1, 5, 0, 10, 1, 1, 0});
    s.chests.push_back({0, 1, 1000, 0});
    ArtifactState a;
    a.x = 1;
    a.y = 1;
    a.artifact = 3;
    s.map_artifacts.push_back(a);
    s.chests.push_back({2, 1, 1000, 1});  // taken: no longer in the way
    EXPECT_FALSE(is_dimdoor_passable(m, s, 0, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 1, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 2, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 3, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 4, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 5, 0));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 0, 1));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 1, 1));
    EXPECT_TRUE(is_dimdoor_passable(m, s, 2, 1));
    EXPECT_FALSE(is_dimdoor_passable(m, s, 6, 1));
    EXPECT_FALSE(is_dimdoor_passable(m, s, -1, 1));
    s.monsters[0].removed = 1;
    EXPECT_TRUE(is_dimdoor_passable(m, s, 3, 0));
}
