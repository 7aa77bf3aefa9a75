#include <gtest/gtest.h>

#include <deque>

#include "event_world_fixture.h"
#include "lang/runtime_strings.h"
#include "world/recruit_rules.h"
#include "world/levels.h"
#include "world/new_day.h"

namespace vorn1 {
namespace {

using test::EventWorld;

void expect_cleared(const MapTile& t) {
    EXPECT_EQ(t.object_type, 0);
    EXPECT_EQ(t.layer1_set, 0);
    EXPECT_EQ(t.layer1_frame, 255);
    EXPECT_EQ(t.object_detail, 0);
}

TEST(ApplyEvent, ChestGoldOnceAndExperienceChoice) {
    EventWorld w;
    w.state.chests = {{2, 2, 1500, 0}, {3, 3, 1000, 0}};
    w.place(2, 2, OBJ_CHEST);
    w.place(3, 3, OBJ_CHEST);
    ASSERT_TRUE(w.visit(2, 2));
    const EventResult r = w.answer(EVENT_BUTTON_ACCEPT);
    w.apply(r);
    EXPECT_EQ(w.state.resources[0].gold, 1500);
    EXPECT_EQ(w.state.chests[0].taken, 1);
    EXPECT_TRUE(w.ev.resource_flash);
    expect_cleared(w.tile(2, 2));
    // A taken chest: no second trigger, and a stale result changes nothing.
    EXPECT_FALSE(w.visit(2, 2));
    w.apply(r);
    EXPECT_EQ(w.state.resources[0].gold, 1500);

    int levelups = 0;
    w.visit(3, 3);
    w.apply(w.answer(EVENT_BUTTON_DECLINE), &levelups);
    EXPECT_EQ(w.state.resources[0].gold, 1500);
    EXPECT_EQ(w.hero().experience, 500u);
    EXPECT_EQ(levelups, 1);
}

TEST(ApplyEvent, ExperienceQueuesTheLevelUp) {
    EventWorld w;
    w.state.chests = {{2, 2, 1000, 0}, {3, 3, 1000, 0}};
    w.place(2, 2, OBJ_CHEST);
    w.place(3, 3, OBJ_CHEST);
    HeroState& h = w.hero();
    h.experience = LEVEL_XP[h.level] - 100;
    const int level = h.level;
    std::deque<LevelUpEvent> queue;
    const LevelUpSink levelups = [&](int hero) { check_and_apply_levelups(w.state.heroes[hero], hero, queue); };
    bool full = true;
    w.visit(2, 2);  // gold: no experience, no level
    apply_event_result(w.answer(EVENT_BUTTON_ACCEPT), w.map, w.state, w.mp_left, w.mp_max, w.ev, levelups, full);
    EXPECT_FALSE(full);
    EXPECT_TRUE(queue.empty());
    w.visit(3, 3);  // 500 experience passes the threshold
    apply_event_result(w.answer(EVENT_BUTTON_DECLINE), w.map, w.state, w.mp_left, w.mp_max, w.ev, levelups, full);
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_EQ(queue.front().hero, 0);
    EXPECT_EQ(queue.front().new_level, h.level);
    EXPECT_GT(h.level, level);
}

TEST(ApplyEvent, PilesCampfiresMinesAndLighthouse) {
    EventWorld w;
    w.state.resource_piles = {{2, 2, MINE_ORE, 5, 0}, {3, 3, 9, 5, 0}};
    w.state.campfires = {{1, 4, 4, 400, 3, MINE_GEMS, 0}, {1, 5, 5, 300, 3, MINE_GOLD, 0}};
    w.state.mines = {{1, 6, 6, MINE_CRYSTAL, 1}};
    w.state.lighthouse = {1, 7, 7, -1};
    for (auto [x, y] : {std::pair{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}}) w.place(x, y, OBJ_RESOURCE);

    w.visit(2, 2);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.resources[0].ore, 5);
    expect_cleared(w.tile(2, 2));
    w.visit(3, 3);  // unknown kind: taken, gives nothing
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.resource_piles[1].taken, 1);
    EXPECT_EQ(w.state.resources[0], (PlayerResources{0, 0, 5, 0, 0, 0, 0}));

    w.visit(4, 4);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.resources[0].gold, 400);
    EXPECT_EQ(w.state.resources[0].gems, 3);
    w.visit(5, 5);  // a campfire of kind 6 gives only its gold
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.resources[0].gold, 700);
    EXPECT_EQ(w.state.resources[0].gems, 3);

    w.visit(6, 6);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.mines[0].owner, 0);
    EXPECT_EQ(w.tile(6, 6).object_type, OBJ_RESOURCE);  // a mine stays on the map
    w.visit(6, 6);
    EXPECT_EQ(w.answer(EVENT_BUTTON_OK).choice, SITE_NONE);  // already ours

    w.visit(7, 7);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.lighthouse.owner, 0);
}

TEST(ApplyEvent, MapArtifactsFreePaidAndNoRoom) {
    EventWorld w;
    ArtifactState free_art, paid;
    free_art.x = free_art.y = 2;
    free_art.artifact = 1;  // +12 attack
    paid.x = paid.y = 3;
    paid.artifact = 22;
    paid.guard_kind = 2;
    w.state.map_artifacts = {free_art, paid};
    w.place(2, 2, OBJ_ARTIFACT);
    w.place(3, 3, OBJ_ARTIFACT);

    w.visit(2, 2);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.hero().artifacts[0], 1);
    EXPECT_EQ(w.hero().artifact_bonus[0], 12);
    EXPECT_EQ(w.state.map_artifacts[0].taken, 1);
    expect_cleared(w.tile(2, 2));

    // Paid: 1999 gold is not enough; 2000 leaves 0. Declining takes nothing.
    w.state.resources[0].gold = 1999;
    w.visit(3, 3);
    EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.choice, SITE_NONE);
    w.apply(r);
    EXPECT_EQ(w.state.map_artifacts[1].taken, 0);
    w.state.resources[0].gold = 2000;
    w.visit(3, 3);
    w.apply(w.answer(EVENT_BUTTON_DECLINE));
    EXPECT_EQ(w.state.resources[0].gold, 2000);
    w.visit(3, 3);
    w.apply(w.answer(EVENT_BUTTON_ACCEPT));
    EXPECT_EQ(w.state.resources[0].gold, 0);
    EXPECT_EQ(w.hero().artifacts[1], 22);
    EXPECT_EQ(w.hero().artifact_bonus[3], 2);

    // A hero with every slot full takes nothing and loses nothing.
    ArtifactState third;
    third.x = third.y = 4;
    third.artifact = 5;
    w.state.map_artifacts.push_back(third);
    w.place(4, 4, OBJ_ARTIFACT);
    w.hero().artifacts.fill(31);
    w.state.resources[0].gold = 5000;
    w.visit(4, 4);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.state.map_artifacts[2].taken, 0);
    EXPECT_EQ(w.tile(4, 4).object_type, OBJ_ARTIFACT);
    EXPECT_EQ(take_map_artifact(w.state, w.map, 2, 0), ArtifactTake::NoRoom);
    EXPECT_EQ(w.state.resources[0].gold, 5000);
    EXPECT_EQ(take_map_artifact(w.state, w.map, 9, 0), ArtifactTake::Invalid);
}

TEST(ApplyEvent, DwellingCreaturesAreOnlyBought) {
    // Whatever its flag byte holds, a dwelling offers its creatures for sale: the visit itself
    // hands nothing over and charges nothing.
    EventWorld w;
    MapCreatureHutState hut;
    hut.live = 1;
    hut.x = hut.y = 2;
    hut.creature = 24;
    hut.flag = 1;
    hut.available = 12;
    w.state.huts = {hut};
    w.place(2, 2, OBJ_DWELLING);
    w.state.resources[0].gold = 800;
    ASSERT_TRUE(w.visit(2, 2));
    EXPECT_EQ(w.ev.current_dialog()->def.buttons.size(), 1u);
    const EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.open_recruit, 1);
    EXPECT_EQ(r.recruit_creature, 24);
    EXPECT_EQ(r.recruit_available, 12);
    EXPECT_FALSE(w.apply(r));
    EXPECT_EQ(w.hero().army.ids[1], EMPTY_ID);
    EXPECT_EQ(w.state.huts[0].available, 12);
    EXPECT_EQ(w.state.resources[0].gold, 800);
}

TEST(MapRecruit, PaysAddsAndRefundsWhenThereIsNoRoom) {
    EventWorld w;
    MapCreatureHutState hut;
    hut.live = 1;
    hut.x = hut.y = 2;
    hut.creature = 13;
    hut.available = 10;
    w.state.huts = {hut};
    w.state.resources[0].gold = 1000;
    RecruitResult rr;
    rr.creature = 13;
    rr.count = 4;
    rr.cost.gold = 400;
    rr.site_x = rr.site_y = 2;
    rr.hero = 0;
    w.hero().army.ids[0] = 4;
    w.mp_max[0] = 60;
    bool no_room = true;
    apply_map_recruit_result(rr, w.map, w.state, w.mp_left, w.mp_max, w.ev, no_room);
    EXPECT_FALSE(no_room);
    EXPECT_EQ(w.state.resources[0].gold, 600);
    EXPECT_EQ(w.state.huts[0].available, 6);
    EXPECT_EQ(w.hero().army.ids[1], 13);
    EXPECT_EQ(w.hero().army.counts[1], 4);
    EXPECT_EQ(w.mp_max[0], 40);  // slow Dwarves beside the Cavalry: the day's allowance drops from 60

    // Too expensive, no hero, nothing bought: nothing happens.
    rr.cost.gold = 601;
    apply_map_recruit_result(rr, w.map, w.state, w.mp_left, w.mp_max, w.ev, no_room);
    EXPECT_EQ(w.state.resources[0].gold, 600);
    rr.cost.gold = 100;
    rr.hero = 5;
    apply_map_recruit_result(rr, w.map, w.state, w.mp_left, w.mp_max, w.ev, no_room);
    rr.hero = 0;
    rr.count = 0;
    apply_map_recruit_result(rr, w.map, w.state, w.mp_left, w.mp_max, w.ev, no_room);
    EXPECT_EQ(w.state.resources[0].gold, 600);

    // A full army: payment and population restored.
    w.hero().army.ids = {1, 2, 3, 4, 5};
    w.hero().army.counts = {1, 1, 1, 1, 1};
    rr.creature = 14;
    rr.count = 3;
    apply_map_recruit_result(rr, w.map, w.state, w.mp_left, w.mp_max, w.ev, no_room);
    EXPECT_TRUE(no_room);
    EXPECT_EQ(w.state.resources[0].gold, 600);
    EXPECT_EQ(w.state.huts[0].available, 6);
}

TEST(Effects, ArmyMergeCapsAndArtifactBonusesCap) {
    Army a;
    a.ids[2] = 7;
    a.counts[2] = 65000;
    EXPECT_TRUE(add_creatures_to_army(a, 7, 1000));
    EXPECT_EQ(a.counts[2], 65535);
    EXPECT_TRUE(add_creatures_to_army(a, 8, 70000));
    EXPECT_EQ(a.ids[0], 8);
    EXPECT_EQ(a.counts[0], 65535);
    EXPECT_FALSE(add_creatures_to_army(a, 200, 1));
    EXPECT_FALSE(add_creatures_to_army(a, 8, 0));

    HeroState h;
    h.artifacts.fill(1);  // fourteen +12 attack swords
    h.artifacts[13] = 25;
    recalc_hero_artifact_stats(h);
    EXPECT_EQ(h.artifact_bonus[0], 127);
    EXPECT_EQ(h.artifact_bonus[3], 5);
    h.artifacts.fill(EMPTY_ID);
    h.artifacts[4] = 4;
    h.artifacts[9] = 7;
    h.artifacts[10] = 15;
    recalc_hero_artifact_stats(h);
    EXPECT_EQ(h.artifact_bonus, (std::array<uint8_t, 4>{0, 1, 7, 0}));

    EXPECT_FALSE(artifact_display_name(-1).has_value());
    EXPECT_FALSE(artifact_display_name(38).has_value());
    EXPECT_TRUE(artifact_display_name(37).has_value());
    EXPECT_EQ(artifact_display_name(8).value_or(""), strings().get("ARTIFACTNAME_08"));
}

TEST(Effects, AMillPaysOnceAWeek) {
    EventWorld w;
    w.state.mills = {{1, 3, 3, 500, 0}};
    w.place(3, 3, OBJ_MILL);
    for (int day = 1; day <= 8; ++day) {
        ASSERT_TRUE(w.visit(3, 3));
        w.apply(w.answer(EVENT_BUTTON_OK));
        // Day 1 pays; days 2..7 find it empty; day 8 (a new week) pays again.
        EXPECT_EQ(w.state.resources[0].gold, day < 8 ? 500 : 1000) << day;
        advance_day(w.state, w.map, w.mp_left, w.mp_max, &w.ev, 1);
    }
}

TEST(Effects, GuardedSiteRewardIsGivenOnce) {
    EventWorld w;
    w.place(2, 2, OBJ_GRAVEYARD, 2);
    EXPECT_TRUE(grant_guarded_site_reward(w.state, w.map, 0, 2, 2, GUARDED_GRAVEYARD, 2, -1));
    EXPECT_EQ(w.state.resources[0].gold, GY_GOLD[2]);
    EXPECT_TRUE(w.hero().visit_flags & VISIT_MORALE_MINUS_A);
    EXPECT_FALSE(grant_guarded_site_reward(w.state, w.map, 0, 2, 2, GUARDED_GRAVEYARD, 2, -1));
    EXPECT_EQ(w.state.resources[0].gold, GY_GOLD[2]);
    EXPECT_FALSE(w.visit(2, 2));  // robbed: no event any more
    EXPECT_EQ(w.tile(2, 2).layer1_set, 40);  // still drawn

    w.state.dragon_city = {1, 5, 5, 1};
    EXPECT_TRUE(grant_guarded_site_reward(w.state, w.map, 0, 5, 5, GUARDED_DRAGON_CITY, -1, -1));
    EXPECT_EQ(w.state.dragon_city.owner, 0);
    EXPECT_FALSE(grant_guarded_site_reward(w.state, w.map, 0, 5, 5, GUARDED_DRAGON_CITY, -1, -1));

    // Guarded artifact won by a hero without room: left on the map, unguarded.
    ArtifactState a;
    a.x = a.y = 4;
    a.artifact = 21;
    a.guard_kind = 1;
    w.state.map_artifacts = {a};
    w.place(4, 4, OBJ_ARTIFACT_AMBUSH);
    w.hero().artifacts.fill(31);
    EXPECT_FALSE(grant_guarded_site_reward(w.state, w.map, 0, 4, 4, GUARDED_ARTIFACT, -1, 21));
    EXPECT_EQ(w.state.map_artifacts[0].taken, 0);
    EXPECT_EQ(w.tile(4, 4).object_type, OBJ_ARTIFACT);
    w.hero().artifacts[6] = EMPTY_ID;
    w.visit(4, 4);
    EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.site_battle, 0);  // no second fight
    w.apply(r);
    EXPECT_EQ(w.hero().artifacts[6], 21);
    EXPECT_FALSE(grant_guarded_site_reward(w.state, w.map, 0, 4, 4, GUARDED_ARTIFACT, -1, 21));
}

}  // namespace
}  // namespace vorn1

#include "world/buildings.h"

namespace vorn1 {
namespace {

TEST(BuildResult, ChargesBuildsAndFillsANewDwellingOnce) {
    test::EventWorld w;
    CastleState c;
    c.live = 1;
    c.owner = 0;
    c.faction = FACTION_KNIGHT;
    w.state.castles = {c};
    w.state.resources[0] = {100000, 100, 100, 100, 100, 100, 100};
    const PlayerResources before = w.state.resources[0];
    ASSERT_TRUE(apply_build_result(0, BS_DWELLING_1, w.state, w.map, w.ev));
    EXPECT_EQ(w.state.castles[0].built_today, 1);
    EXPECT_NE(w.state.resources[0], before);
    const int d = build_slot_dwelling(BS_DWELLING_1);
    ASSERT_GE(d, 0);
    EXPECT_GT(w.state.castles[0].available[d], 0);
    const int32_t avail = w.state.castles[0].available[d];
    // One build a day; bad indices do nothing.
    EXPECT_FALSE(apply_build_result(0, BS_WELL, w.state, w.map, w.ev));
    EXPECT_EQ(w.state.castles[0].available[d], avail);
    EXPECT_FALSE(apply_build_result(4, BS_WELL, w.state, w.map, w.ev));
    EXPECT_FALSE(apply_build_result(0, 11, w.state, w.map, w.ev));
    // A neutral town is never built by this path.
    w.state.castles[0].built_today = 0;
    w.state.castles[0].owner = -1;
    EXPECT_FALSE(apply_build_result(0, BS_WELL, w.state, w.map, w.ev));
}

}  // namespace
}  // namespace vorn1
