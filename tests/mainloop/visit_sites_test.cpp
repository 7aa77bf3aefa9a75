// What a visit does by where it started: a Dimension Door landing, a pickup on the way, and the
// map's trading post.
#include "adventure/adventure_spells.h"
#include "loop_fixture.h"
#include "mainloop/town_screens.h"
#include "mainloop/transitions.h"
#include "mainloop/visit_results.h"

namespace vorn1::test {
namespace {

class VisitSitesTest : public LoopTest {
protected:
    int hero = -1;
    void SetUp() override {
        LoopTest::SetUp();
        make_game();
        hero = add_hero(5, 5, 0);
        g().events.trade_enabled = true;
    }
    void land(int x, int y) {
        open_dim_door(loop().dim_door, hero);
        click_tile(x, y);
        frames(1);
        accept_dialogs();
    }
    const HeroState& h() { return state().heroes[(size_t)hero]; }
};

// A landing applies the outcome and may open the trading post, nothing else: no town, battle,
// capture or portal jump.
TEST_F(VisitSitesTest, ALandingOpensNoTownBattleOrPortal) {
    const int own = add_town(8, 5, 0);
    state().castles[(size_t)own].buildings = BLD_THIEVES_GUILD;
    const int foreign = add_town(5, 8, 1);  // no garrison: a visit at the end of a walk takes it
    map().tile(8, 8)->object_type = OBJ_PORTAL;
    map().tile(15, 15)->object_type = OBJ_PORTAL;
    map().tile(5, 11)->object_type = OBJ_TRADING_POST;
    start_player_turn(m, 0);
    accept_dialogs();

    land(8, 5);
    EXPECT_EQ(h().x, 8);
    EXPECT_FALSE(loop().screens.town.open) << "the town's gate opens nothing";
    land(5, 8);
    EXPECT_EQ(h().y, 8);
    EXPECT_EQ(state().castles[(size_t)foreign].owner, 1) << "a foreign gate is not taken";
    EXPECT_FALSE(loop().battle_open);
    land(8, 8);
    EXPECT_EQ(h().x, 8);
    EXPECT_EQ(h().y, 8) << "no jump from the portal";

    // The map's trading post counts itself among the markets; a town's counts its guilds alone.
    land(5, 11);
    ASSERT_TRUE(loop().trading_post.open);
    EXPECT_EQ(loop().trading_post.markets, 2);
    EXPECT_FALSE(g().events.dialog_open);
    loop().trading_post.close();
    m.settings.enable_trade = true;
    state().castles[(size_t)own].buildings |= BLD_TAVERN;
    open_town_screen(m, own);
    open_thieves_guild_screen(loop().screens.town.thieves);
    push_click(10, 70);  // the guild's signpost
    frames(1);
    ASSERT_TRUE(loop().trading_post.open);
    EXPECT_EQ(loop().trading_post.markets, 1);
}

// An object a walk ends on and takes fades out of its tile; one that stays does not fade.
TEST_F(VisitSitesTest, APickupOnTheWayFadesOutOfItsTile) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    m.renderer = SDL_CreateSoftwareRenderer(surface);
    state().resource_piles.push_back(ResourcePileState{7, 5, MINE_WOOD, 7, 0});
    map().tile(7, 5)->object_type = OBJ_RESOURCE;
    start_player_turn(m, 0);
    accept_dialogs();
    const int wood = state().resources[0].wood;
    click_tile(7, 5);
    frames(1);
    click_tile(7, 5);
    for (int i = 0; i < 100 && !g().events.dialog_open; ++i) frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    EXPECT_EQ(h().x, 7);
    push_key(SDLK_RETURN);
    frames(1);
    ASSERT_EQ(loop().fadeouts.size(), 1u);
    SDL_Rect tile{};
    ASSERT_TRUE(fade_rect_for_tile(7, 5, loop().view_x, loop().view_y, tile));
    EXPECT_TRUE(SDL_RectEquals(&loop().fadeouts[0].rect, &tile));
    EXPECT_EQ(state().resources[0].wood, wood + 7);
    EXPECT_EQ(map().tile(7, 5)->object_type, 0);
    frames(30);
    EXPECT_TRUE(loop().fadeouts.empty());

    // An obelisk is not taken: nothing fades.
    EventResult r;
    r.hero = hero;
    r.type = OBJ_OBELISK;
    r.x = 7;
    r.y = 5;
    on_second_site_result(m, r);
    EXPECT_TRUE(loop().fadeouts.empty());

    // Nor does an artifact for sale that the hero declines: it stays on its tile.
    state().map_artifacts.push_back(ArtifactState{8, 5, 13, 0, 2});
    map().tile(8, 5)->object_type = OBJ_ARTIFACT;
    state().resources[0].gold = 5000;
    loop().hero_move_points[(size_t)hero] = 1000;
    click_tile(8, 5);
    frames(1);
    click_tile(8, 5);
    for (int i = 0; i < 100 && !g().events.dialog_open; ++i) frames(1);
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);  // no
    frames(1);
    EXPECT_TRUE(loop().fadeouts.empty());
    EXPECT_EQ(map().tile(8, 5)->object_type, OBJ_ARTIFACT);
    EXPECT_EQ(state().resources[0].gold, 5000);
    end_game(m);
    SDL_DestroyRenderer(m.renderer);
    m.renderer = nullptr;
    SDL_FreeSurface(surface);
}

// What is taken or beaten at the second site fades; what stays (an obelisk, a town) does not.
TEST(VisitSites, WhatFadesAtTheSecondSite) {
    for (uint8_t t : {OBJ_CHEST, OBJ_RESOURCE, OBJ_ARTIFACT, OBJ_MONSTER, OBJ_CAMPFIRE, OBJ_MONSTER_B, OBJ_MONSTER_E})
        EXPECT_TRUE(fades_at_second_site(t)) << int(t);
    for (int t : {0, int(OBJ_OBELISK), OBJ_MONSTER_B - 1, OBJ_MONSTER_E + 1})
        EXPECT_FALSE(fades_at_second_site((uint8_t)t)) << t;
}

}  // namespace
}  // namespace vorn1::test
