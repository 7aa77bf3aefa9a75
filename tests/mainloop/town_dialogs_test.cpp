#include "loop_fixture.h"
#include "lang/runtime_strings.h"
#include "mainloop/visit_results.h"
#include "world/recruit_rules.h"

namespace vorn1::test {
namespace {

class TownDialogsTest : public LoopTest {
protected:
    int hero = -1;
    void SetUp() override {
        LoopTest::SetUp();
        make_game();
        hero = add_hero(5, 5, 0);
        state().resources[0].gold = 10000;
    }
    void visit_dwelling(uint8_t creature, int available) {
        EventResult r;
        r.hero = hero;
        r.x = 5;
        r.y = 5;
        r.open_recruit = 1;
        r.recruit_creature = creature;
        r.recruit_available = available;
        on_visit_result(m, r);
    }
    static SDL_Point mid(const SDL_Rect& r) { return SDL_Point{r.x + r.w / 2, r.y + r.h / 2}; }
};

TEST_F(TownDialogsTest, DwellingPurchaseMovesCreaturesAndGold) {
    visit_dwelling(2, 4);
    const RecruitSystem& rs = loop().recruit;
    ASSERT_TRUE(rs.open);
    const int unit_gold = creature_recruit_cost(2).gold;
    ASSERT_GT(unit_gold, 0);
    const SDL_Point mx = mid(rs.max_rect), ok = mid(rs.ok_rect);
    push_click(mx.x, mx.y);
    frames(1);
    EXPECT_EQ(rs.count, 4);
    push_click(ok.x, ok.y);
    frames(1);
    EXPECT_FALSE(rs.open);
    const Army& a = state().heroes[hero].army;
    int bought = 0;
    for (int i = 0; i < 5; ++i)
        if (a.ids[i] == 2) bought += a.counts[i];
    EXPECT_EQ(bought, 4);
    EXPECT_EQ(a.counts[0], 5);  // the hero's own troop stays
    EXPECT_EQ(state().resources[0].gold, 10000 - 4 * unit_gold);
}

TEST_F(TownDialogsTest, FullArmyGetsTheNoticeAndKeepsItsGold) {
    Army& a = state().heroes[hero].army;
    for (int i = 0; i < 5; ++i) {
        a.ids[i] = (uint8_t)(10 + i);
        a.counts[i] = 1;
    }
    visit_dwelling(2, 3);
    const RecruitSystem& rs = loop().recruit;
    ASSERT_TRUE(rs.open);
    const SDL_Point mx = mid(rs.max_rect), ok = mid(rs.ok_rect);
    push_click(mx.x, mx.y);
    push_click(ok.x, ok.y);
    frames(1);
    // The map's own notice in the adventure view, not the town recruit dialog's.
    EXPECT_FALSE(rs.no_room_open);
    const EventSystem::Dialog* d = g().events.current_dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->def.text, strings().get("GAME_NO_ROOM_GARRISON"));
    EXPECT_EQ(state().resources[0].gold, 10000);
    push_key(SDLK_RETURN);
    frames(1);
    EXPECT_FALSE(g().events.dialog_open);
}

}  // namespace
}  // namespace vorn1::test

namespace vorn1::test {
namespace {

TEST_F(LoopTest, TradingPostOpensForTheVisitorAndTradesItsResources) {
    make_game();
    const int hero = add_hero(5, 5, 0);
    state().resources[0] = PlayerResources{};
    state().resources[0].wood = 20;
    EventResult r;
    r.hero = hero;
    r.x = 5;
    r.y = 5;
    r.open_trading_post = 1;
    on_visit_result(m, r);
    const TradingPostSystem& tp = loop().trading_post;
    ASSERT_TRUE(tp.open);
    EXPECT_EQ(tp.player, 0);
    auto click = [&](int rect) {
        const SDL_Rect& b = tp.rects[(size_t)rect];
        push_click(b.x + b.w / 2, b.y + b.h / 2);
        frames(1);
    };
    click(TP_GIVE0 + 0);  // wood
    click(TP_GET0 + 6);   // gold
    click(TP_MAX);
    ASSERT_GT(tp.amount, 0);
    click(TP_TRADE);
    EXPECT_LT(state().resources[0].wood, 20);
    EXPECT_GT(state().resources[0].gold, 0);
    click(TP_EXIT);
    EXPECT_FALSE(tp.open);
}

}  // namespace
}  // namespace vorn1::test
