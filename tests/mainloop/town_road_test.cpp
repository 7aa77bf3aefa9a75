// The town road through the loop: a hero walks into its own town, the town screen opens, a dwelling
// is built, its creatures are recruited and moved to the hero, and the hero leaves.
#include "loop_fixture.h"
#include "mainloop/town_screens.h"
#include "town/build_screen.h"
#include "town/castle_screen.h"
#include "town/recruit.h"
#include "town/recruit_rules.h"
#include "town/troop_move.h"
#include "world/buildings.h"

namespace vorn1::test {
namespace {

class TownRoadTest : public LoopTest {
protected:
    int hero = -1;
    int town = -1;
    void SetUp() override {
        LoopTest::SetUp();
        make_game();
        town = add_town(6, 5, 0);
        CastleState& c = state().castles[(size_t)town];
        c.is_castle = 1;
        c.faction = FACTION_KNIGHT;
        c.buildings = BLD_CASTLE;
        c.available = {10, 0, 0, 0, 0, 0};
        hero = add_hero(4, 5, 0);
        sync_owned_lists(loop(), state());
        select_hero(g(), hero);
        state().resources[0] = PlayerResources{};
        state().resources[0].gold = 10000;
    }
    TownScreenView& ts() { return loop().screens.town; }
    static SDL_Point mid(const SDL_Rect& r) { return SDL_Point{r.x + r.w / 2, r.y + r.h / 2}; }
    void click(SDL_Point p) {
        push_click(p.x, p.y);
        frames(1);
    }
    void walk_to(int x, int y) {
        click_tile(x, y);
        frames(1);
        click_tile(x, y);
        for (int i = 0; i < 400 && !ts().open; ++i) frames(1);
    }
    int hero_count_of(uint8_t creature) const {
        const Army& a = m.game->state.heroes[(size_t)hero].army;
        int n = 0;
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (a.ids[i] == creature) n += a.counts[i];
        return n;
    }
};

TEST_F(TownRoadTest, WalkInBuildRecruitMoveToTheHeroAndLeave) {
    walk_to(6, 5);
    ASSERT_TRUE(ts().open);
    EXPECT_EQ(ts().castle, town);
    EXPECT_EQ(castle_visiting_hero(state(), town), hero);

    // The castle picture opens the build screen; the archery range's cell asks to build it.
    click({CAST_X[0] + 20, 40});
    ASSERT_TRUE(ts().build_open);
    const SDL_Point cell = build_cell_origin(2);
    click({cell.x + 60, cell.y + 30});
    ASSERT_TRUE(g().events.dialog_open);
    accept_dialogs();
    const CastleState& c = state().castles[(size_t)town];
    EXPECT_TRUE(c.buildings & BLD_DWELLING1);
    EXPECT_FALSE(ts().build_open);
    EXPECT_EQ(state().resources[0].gold, 9000);
    const int archers = c.available[1];
    ASSERT_GT(archers, 0);

    // A second build the same day is refused: the cell opens no dialog.
    click({CAST_X[0] + 20, 40});
    const SDL_Point well = build_cell_origin(5);
    click({well.x + 60, well.y + 30});
    EXPECT_FALSE(g().events.dialog_open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(ts().build_open);
    EXPECT_TRUE(ts().open);

    // The new dwelling sells its archers into the garrison.
    click(mid(dwelling_sprite_rect(FACTION_KNIGHT, 1, nullptr)));
    RecruitSystem& rs = loop().recruit;
    ASSERT_TRUE(rs.open);
    EXPECT_EQ(rs.dwelling, 1);
    click(mid(rs.max_rect));
    const int bought = rs.count;
    ASSERT_EQ(bought, archers);
    click(mid(rs.ok_rect));
    EXPECT_FALSE(rs.open);
    EXPECT_EQ(state().resources[0].gold, 9000 - bought * creature_recruit_cost(1).gold);
    EXPECT_EQ(c.available[1], 0);
    EXPECT_EQ(c.garrison.ids[0], 1);
    EXPECT_EQ(c.garrison.counts[0], bought);

    // Garrison stack onto the hero's archers: they merge.
    const int before = hero_count_of(1);
    click(mid(castle_screen_slot_rect(SLOT_GARRISON, 0)));
    click(mid(castle_screen_slot_rect(SLOT_HERO, 0)));
    EXPECT_EQ(hero_count_of(1), before + bought);
    EXPECT_EQ(c.garrison.counts[0], 0);

    // Exit: press and release on the button.
    click(mid(kCastleExitRect));
    EXPECT_FALSE(ts().open);
}

TEST_F(TownRoadTest, TownListKeyAndMapClickOpenTheTown) {
    // The key of the first town.
    push_key(SDLK_t);
    frames(1);
    ASSERT_TRUE(ts().open);
    push_key(SDLK_ESCAPE);
    frames(1);
    EXPECT_FALSE(ts().open);
    // A click on the town's tile plans the selected hero's walk there; with no hero selected it opens.
    click_tile(6, 5);
    frames(1);
    EXPECT_FALSE(ts().open);
    loop().selected_hero = -1;
    click_tile(6, 5);
    frames(1);
    EXPECT_TRUE(ts().open);
    // A town of another player never opens.
    close_town_screen(m);
    const int other = add_town(9, 9, 1);
    open_town_screen(m, other);
    EXPECT_FALSE(ts().open);
}

}  // namespace
}  // namespace vorn1::test
