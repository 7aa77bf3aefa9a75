#include <gtest/gtest.h>

#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"
#include "world/route.h"

using namespace vorn1;

TEST(Records, ListRecordDefaultsHoldZeroEmptyIdsAndNoOwner) {
    HeroState h;
    EXPECT_EQ(h.live, 0);
    EXPECT_EQ(h.owner, -1);
    EXPECT_EQ(h.boat_index, -1);
    EXPECT_EQ(h.dest_x, -1);
    EXPECT_EQ(h.experience, 0u);
    for (uint8_t id : h.army.ids) EXPECT_EQ(id, 255);
    for (uint16_t c : h.army.counts) EXPECT_EQ(c, 0);
    for (uint8_t a : h.artifacts) EXPECT_EQ(a, 255);
    for (uint8_t c : h.spell_charges) EXPECT_EQ(c, 0);

    CastleState c;
    EXPECT_EQ(c.owner, -1);
    EXPECT_EQ(c.buildings, 0);
    for (uint8_t id : c.garrison.ids) EXPECT_EQ(id, 255);
    for (int32_t n : c.available) EXPECT_EQ(n, 0);
    for (uint8_t s : c.guild_spells) EXPECT_GT(s, 28);

    EXPECT_EQ(MineState{}.owner, -1);
    EXPECT_EQ(MapSiteState{}.owner, -1);
    EXPECT_EQ(BoatState{}.owner, -1);
    EXPECT_EQ(ArtifactState{}.artifact, 255);
    EXPECT_EQ(MonsterStackState{}.creature, 255);
    EXPECT_EQ(MonsterStackState{}.count, 0);
    EXPECT_EQ(ShrineState{}.spell, 255);
    EXPECT_EQ(MapCreatureHutState{}.creature, 255);
    NeutralTownGarrison g;
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.ids[i], 255);
        EXPECT_EQ(g.counts[i], 0);
    }
    HeroPoolEntry p;
    EXPECT_EQ(p.faction, 255);
    EXPECT_EQ(p.last_owner, -1);
    for (uint8_t a : p.kept_artifacts) EXPECT_EQ(a, 255);
    for (uint8_t id : p.start_army.ids) EXPECT_EQ(id, 255);
}

TEST(Records, GameStateStartsWithNoSeatsAndDayOne) {
    GameState s;
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(s.player_in_play[p], 0xFF);
        EXPECT_EQ(s.player_color[p], 255);
        EXPECT_FALSE(s.seat_active(p));
        EXPECT_EQ(s.offers[p][0], -1);
        EXPECT_EQ(s.offers[p][1], -1);
    }
    EXPECT_EQ(s.day, 1);
    EXPECT_EQ(s.week, 1);
    EXPECT_EQ(s.month, 1);
    EXPECT_EQ(s.human_castle_slot, -1);
    EXPECT_EQ(sizeof(s.ai_vars[0]), 72u);
}

TEST(Records, NeutralIsAnythingOutsideZeroToThree) {
    EXPECT_FALSE(is_player_index(-1));
    EXPECT_FALSE(is_player_index(4));
    EXPECT_FALSE(is_player_index(255));
    EXPECT_TRUE(is_player_index(0));
    EXPECT_TRUE(is_player_index(3));
    GameState s;
    s.heroes.resize(1);
    s.heroes[0].live = 1;
    s.heroes[0].owner = 255;
    EXPECT_EQ(HeroPool::count_player_heroes(255, s), 0);
    EXPECT_EQ(HeroPool::count_player_heroes(-1, s), 0);
}

TEST(Records, NewGameConfigDefaults) {
    NewGameConfig c;
    EXPECT_FALSE(c.quit);
    EXPECT_EQ(c.mode, MODE_STANDARD);
    EXPECT_EQ(c.difficulty, DIFF_EASY);
    for (auto o : c.opponents) EXPECT_EQ(o, OPP_AVERAGE);
    EXPECT_EQ(c.color, COLOR_BLUE);
    for (const SeatConfig& s : c.seats) {
        EXPECT_EQ(s.color, 255);
        EXPECT_EQ(s.kind, SEAT_NONE);
        EXPECT_EQ(s.difficulty, 1);
        EXPECT_EQ(s.ai_level, 2);
    }
    NewGameConfig d = c;
    d.campaign_maps.push_back("CAMP1.CMP");
    EXPECT_TRUE(c.campaign_maps.empty());
}

TEST(Records, PlayerResourcesIndexAndKinds) {
    PlayerResources r;
    for (int i = 0; i < RES_COUNT; ++i) r[i] = 10 * (i + 1);
    EXPECT_EQ(r.gold, 10);
    EXPECT_EQ(r.wood, 20);
    EXPECT_EQ(r.ore, 30);
    EXPECT_EQ(r.crystal, 40);
    EXPECT_EQ(r.mercury, 50);
    EXPECT_EQ(r.gems, 60);
    EXPECT_EQ(r.sulfur, 70);
    EXPECT_EQ(r[7], 0);
    r[-1] = 99;  // a scratch value, never a member
    EXPECT_EQ(r.gold, 10);
    EXPECT_EQ(resource_index_of_kind(MINE_WOOD), RES_WOOD);
    EXPECT_EQ(resource_index_of_kind(MINE_MERCURY), RES_MERCURY);
    EXPECT_EQ(resource_index_of_kind(MINE_SULFUR), RES_SULFUR);
    EXPECT_EQ(resource_index_of_kind(MINE_GOLD), RES_GOLD);
    EXPECT_EQ(resource_index_of_kind(7), -1);
    PlayerResources cost;
    cost.gold = 10;
    cost.sulfur = 71;
    EXPECT_FALSE(r.covers(cost));
    cost.sulfur = 70;
    EXPECT_TRUE(r.covers(cost));
}

TEST(Records, FogRevealRadiusShape) {
    FogOfWar f;
    f.reveal_radius(10, 10, 4);   // reach |dx|+|dy| <= 6
    EXPECT_TRUE(f.is_explored(14, 12));
    EXPECT_FALSE(f.is_explored(14, 13));
    EXPECT_TRUE(f.is_explored(10, 6));
    EXPECT_FALSE(f.is_explored(10, 5));
    FogOfWar edge;
    edge.reveal_radius(0, 71, 5);  // clipped to the grid
    EXPECT_TRUE(edge.is_explored(0, 71));
    EXPECT_TRUE(edge.is_explored(5, 69));
    EXPECT_FALSE(edge.is_explored(-1, 71));
    int n = 0;
    for (uint8_t b : edge.explored) n += b;
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 36);
}

TEST(Records, MapTileBytesInOrder) {
    MapTile t;
    for (int i = 0; i < 15; ++i) t.set_byte(i, (uint8_t)(i + 1));
    EXPECT_EQ(t.ground, 1);
    EXPECT_EQ(t.blocking, 8);
    EXPECT_EQ(t.object_type, 9);
    EXPECT_EQ(t.hero_figure, 11);
    EXPECT_EQ(t.boat, 15);
    EXPECT_EQ(t.byte_at(15), 0);
    t.set_byte(-1, 5);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(t.byte_at(i), i + 1);
}
