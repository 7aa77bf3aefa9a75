#include <gtest/gtest.h>

#include "event_world_fixture.h"

namespace vorn1 {
namespace {

using test::EventWorld;

TEST(TryTrigger, VisitsWithoutDialogCallBackAtOnce) {
    EventWorld w;
    CastleState own, other;
    own.live = other.live = 1;
    own.owner = 0;
    own.x = 3; own.y = 3;
    own.buildings = BLD_THIEVES_GUILD;
    other.owner = 1;
    other.x = 5; other.y = 5;
    w.state.castles = {own, other};
    w.place(3, 3, OBJ_TOWN_ENTRANCE);
    w.place(5, 5, OBJ_CASTLE_ENTRANCE);
    w.place(7, 7, OBJ_PORTAL);
    w.place(8, 8, OBJ_TRADING_POST);

    ASSERT_TRUE(w.visit(3, 3));
    EXPECT_FALSE(w.ev.dialog_open);
    EXPECT_EQ(w.results.back().enter_castle, 1);
    EXPECT_EQ(w.results.back().town_battle, 0);
    ASSERT_TRUE(w.visit(5, 5));
    EXPECT_EQ(w.results.back().town_battle, 1);
    EXPECT_EQ(w.results.back().enter_castle, 0);
    ASSERT_TRUE(w.visit(7, 7));
    EXPECT_EQ(w.results.back().teleport, 1);
    EXPECT_EQ(w.results.back().type, OBJ_PORTAL);
    EXPECT_EQ(w.results.back().hero, 0);
    EXPECT_EQ(w.results.back().x, 7);

    w.ev.trade_enabled = true;
    ASSERT_TRUE(w.visit(8, 8));
    EXPECT_EQ(w.results.back().open_trading_post, 1);
    EXPECT_EQ(w.results.back().count, 2);  // one guild + 1
    EXPECT_EQ(w.results.size(), 4u);
    // Without the trade option the post only says it is closed.
    w.ev.trade_enabled = false;
    ASSERT_TRUE(w.visit(8, 8));
    ASSERT_TRUE(w.ev.dialog_open);
    EXPECT_EQ(w.answer(EVENT_BUTTON_OK).open_trading_post, 0);

    EXPECT_TRUE(site_visited(w.ev.visits, 3, 3));
    EXPECT_EQ(visit_count(w.ev.visits, 8, 8, 0), 2);
}

TEST(TryTrigger, NothingToTrigger) {
    EventWorld w;
    EXPECT_FALSE(w.visit(4, 4));                 // empty tile
    EXPECT_FALSE(w.visit(-1, 4));                // off the map
    EXPECT_FALSE(w.visit(40, 4));
    w.place(4, 4, OBJ_PORTAL);
    EXPECT_FALSE(w.visit(4, 4, 3));              // no such hero
    EXPECT_FALSE(w.visit(4, 4, -1));
    w.place(6, 6, OBJ_TOWN_ENTRANCE);            // an entrance without a town or guards
    EXPECT_FALSE(w.visit(6, 6));
    EXPECT_TRUE(w.results.empty());
    EXPECT_TRUE(w.ev.visits.sites.empty());
}

TEST(TryTrigger, GuardedSitesFightOnlyWhenAccepted) {
    EventWorld w;
    w.place(2, 2, OBJ_GRAVEYARD, 2);
    w.place(2, 3, OBJ_GRAVEYARD, 7);
    w.place(3, 2, OBJ_SHIPWRECK);
    w.place(4, 2, OBJ_DRAGON_CITY);
    w.state.dragon_city = {1, 4, 2, -1};

    ASSERT_TRUE(w.visit(2, 2));
    EventResult r = w.answer(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.site_battle, 1);
    EXPECT_EQ(r.site_kind, GUARDED_GRAVEYARD);
    EXPECT_EQ(r.site_level, 2);
    EXPECT_EQ(r.artifact, -1);
    w.visit(2, 2);
    r = w.answer(EVENT_BUTTON_DECLINE);
    EXPECT_EQ(r.site_battle, 0);
    EXPECT_EQ(r.button, EVENT_BUTTON_DECLINE);
    w.visit(2, 3);
    EXPECT_EQ(w.answer(EVENT_BUTTON_ACCEPT).site_level, 0);  // out-of-range level

    w.visit(3, 2);
    r = w.answer(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.site_kind, GUARDED_SHIPWRECK);
    EXPECT_EQ(r.site_level, -1);
    w.visit(4, 2);
    r = w.answer(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.site_kind, GUARDED_DRAGON_CITY);
    EXPECT_EQ(r.site_battle, 1);

    // The guards.
    SiteGuards g = site_guard_army(GUARDED_GRAVEYARD, 2);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.ids[i], kCreatureGhost);
        EXPECT_EQ(g.counts[i], 5);
    }
    EXPECT_EQ(site_guard_army(GUARDED_GRAVEYARD, 7).counts[4], 2);
    EXPECT_EQ(site_guard_army(GUARDED_DRAGON_CITY, -1).ids[0], kCreatureDragon);
    EXPECT_EQ(site_guard_army(GUARDED_DRAGON_CITY, -1).counts[0], 1);
    EXPECT_EQ(site_guard_army(GUARDED_SHIPWRECK, -1).counts[2], 10);
    EXPECT_EQ(site_guard_army(GUARDED_ARTIFACT, -1).ids[3], kCreatureRogue);
    EXPECT_EQ(site_guard_army(9, 0).ids[0], EMPTY_ID);
    EXPECT_EQ(site_guard_army(9, 0).counts[0], 0);

    // Dragon City already held: no fight offered.
    w.state.dragon_city.owner = 0;
    w.visit(4, 2);
    EXPECT_EQ(w.ev.current_dialog()->def.buttons.size(), 1u);
    EXPECT_EQ(w.answer(EVENT_BUTTON_OK).site_battle, 0);
}

TEST(TryTrigger, AmbushedArtifactAlwaysFights) {
    EventWorld w;
    w.place(2, 2, OBJ_ARTIFACT_AMBUSH);
    ArtifactState a;
    a.x = a.y = 2;
    a.artifact = 19;
    w.state.map_artifacts.push_back(a);
    ASSERT_TRUE(w.visit(2, 2));
    EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.button, EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(r.site_battle, 1);
    EXPECT_EQ(r.site_kind, GUARDED_ARTIFACT);
    EXPECT_EQ(r.artifact, 19);
    // Applying the result before the fight takes nothing.
    w.apply(r);
    EXPECT_EQ(w.state.map_artifacts[0].taken, 0);
    EXPECT_EQ(w.hero().free_artifact_slot(), 0);
}

TEST(TryTrigger, ObeliskAndOneShotSites) {
    EventWorld w;
    w.place(2, 2, OBJ_OBELISK);
    w.place(3, 3, OBJ_FOUNTAIN);
    w.place(4, 4, OBJ_ANGEL_STATUE);
    w.visit(2, 2);
    EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.type, OBJ_OBELISK);
    EXPECT_EQ(r.visit_flag, 1);

    w.visit(3, 3);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.hero().visit_flags, VISIT_LUCK_B);
    w.visit(4, 4);
    w.apply(w.answer(EVENT_BUTTON_OK));
    EXPECT_EQ(w.hero().visit_flags, VISIT_LUCK_B | VISIT_MORALE_2);
    // The second visit grants nothing.
    w.visit(3, 3);
    r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.choice, SITE_NONE);
    EXPECT_EQ(bonus_bit_of_type(OBJ_FAERIE_RING), VISIT_LUCK_A);
    EXPECT_EQ(bonus_bit_of_type(OBJ_OASIS), VISIT_MORALE_B);
    EXPECT_EQ(bonus_bit_of_type(OBJ_CHEST), 0);
}

TEST(TryTrigger, DwellingOffersItsCreatures) {
    EventWorld w;
    MapCreatureHutState hut;
    hut.live = 1;
    hut.x = 6; hut.y = 2;
    hut.creature = 13;
    hut.available = 7;
    w.state.huts.push_back(hut);
    w.place(6, 2, OBJ_DWELLING);
    ASSERT_TRUE(w.visit(6, 2));
    EventResult r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.open_recruit, 1);
    EXPECT_EQ(r.recruit_creature, 13);
    EXPECT_EQ(r.recruit_available, 7);
    w.state.huts[0].available = 0;
    w.visit(6, 2);
    r = w.answer(EVENT_BUTTON_OK);
    EXPECT_EQ(r.open_recruit, 0);
    EXPECT_EQ(r.recruit_creature, 255);
}

}  // namespace
}  // namespace vorn1
