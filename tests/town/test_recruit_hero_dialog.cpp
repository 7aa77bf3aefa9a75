#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "town/dialog_fixture.h"
#include "town/recruit_hero.h"
#include "town/town_fixture.h"
#include "world/hero_pool.h"
#include "world/map.h"

namespace vorn1 {
namespace {

constexpr int kRecruit0X = 200, kRecruit1X = 325, kRecruitY = 280, kCancelX = 270, kCancelY = 350;

struct RecruitHeroTest : ::testing::Test {
    GameState g = make_game(2);
    GameMap map;
    RecruitHeroSystem rh;
    std::vector<int> hired;
    std::function<void(int)> on_hired = [this](int h) { hired.push_back(h); };

    void SetUp() override {
        map.tiles.resize(static_cast<size_t>(map.width) * map.height);
        init_hero_pool(g.pool);
        add_castle(g, 1, FACTION_SORCERESS, 0);
        g.offers[1] = {4, 9};
        g.resources[1].gold = 2500;
    }
    int click(int x, int y) {
        rh.handle_sdl_event(mouse_down(x, y), g, map, on_hired);
        return rh.handle_sdl_event(mouse_up(x, y), g, map, on_hired);
    }
};

TEST_F(RecruitHeroTest, HiringTakesTheGoldAndPlacesTheHero) {
    rh.open_dialog(0, g);
    EXPECT_EQ(rh.offered[0], 4);
    EXPECT_EQ(rh.offered[1], 9);
    click(kRecruit1X, kRecruitY);
    ASSERT_EQ(hired.size(), 1u);
    const HeroState& h = g.heroes[hired[0]];
    EXPECT_TRUE(h.live);
    EXPECT_EQ(h.owner, 1);
    EXPECT_EQ(h.x, g.castles[0].x);
    EXPECT_EQ(h.y, g.castles[0].y);
    EXPECT_EQ(h.name, HERO_POOL_NAMES[9]);
    EXPECT_EQ(g.resources[1].gold, 0);
    EXPECT_FALSE(rh.open);
}

TEST_F(RecruitHeroTest, RefusalsCloseWithoutChange) {
    // 2499 gold.
    g.resources[1].gold = 2499;
    rh.open_dialog(0, g);
    click(kRecruit0X, kRecruitY);
    EXPECT_FALSE(rh.open);
    EXPECT_TRUE(hired.empty());
    EXPECT_EQ(g.resources[1].gold, 2499);
    EXPECT_TRUE(g.heroes.empty());

    // A hero of the owner already in the town.
    g.resources[1].gold = 5000;
    const int guest = add_hero(g, 1);
    g.heroes[guest].x = g.castles[0].x;
    g.heroes[guest].y = g.castles[0].y;
    rh.open_dialog(0, g);
    click(kRecruit0X, kRecruitY);
    EXPECT_TRUE(hired.empty());
    EXPECT_EQ(g.resources[1].gold, 5000);

    // Eight live heroes elsewhere.
    g.heroes[guest].x = 50;
    for (int i = 0; i < 7; ++i) g.heroes[add_hero(g, 1)].x = 40 + i;
    rh.open_dialog(0, g);
    click(kRecruit0X, kRecruitY);
    EXPECT_TRUE(hired.empty());
    EXPECT_EQ(g.resources[1].gold, 5000);

    // With seven the hire goes through.
    g.heroes.back().live = 0;
    rh.open_dialog(0, g);
    click(kRecruit0X, kRecruitY);
    EXPECT_EQ(hired.size(), 1u);
    EXPECT_EQ(g.resources[1].gold, 2500);
}

TEST_F(RecruitHeroTest, PoolRefusalKeepsTheGold) {
    g.pool.entries[4].status = POOL_IN_PLAY;  // a stale offer
    rh.open_dialog(0, g);
    click(kRecruit0X, kRecruitY);
    EXPECT_TRUE(hired.empty());
    EXPECT_EQ(g.resources[1].gold, 2500);
    EXPECT_FALSE(rh.open);
}

TEST_F(RecruitHeroTest, PressesReleasesAndWhatIsConsumed) {
    g.offers[1] = {-1, 9};
    rh.open_dialog(0, g);
    // The empty slot has no button.
    click(kRecruit0X, kRecruitY);
    EXPECT_TRUE(rh.open);
    EXPECT_TRUE(hired.empty());
    // Recruit pressed and released elsewhere: no hire, the dialog stays.
    rh.handle_sdl_event(mouse_down(kRecruit1X, kRecruitY), g, map, on_hired);
    EXPECT_EQ(rh.recruit_pressed, 1);
    rh.handle_sdl_event(mouse_up(kRecruit1X, kRecruitY + 40), g, map, on_hired);
    EXPECT_EQ(rh.recruit_pressed, -1);
    EXPECT_TRUE(rh.open);
    EXPECT_TRUE(hired.empty());
    // Portrait presses are reported and passed on; right presses elsewhere are not consumed.
    EXPECT_EQ(rh.handle_sdl_event(mouse_down(330, 170, SDL_BUTTON_RIGHT), g, map, on_hired), 0);
    EXPECT_EQ(rh.portrait_clicked, 1);
    rh.portrait_clicked = -1;
    EXPECT_EQ(rh.handle_sdl_event(mouse_down(210, 170), g, map, on_hired), 1) << "empty slot's portrait";
    EXPECT_EQ(rh.portrait_clicked, -1);
    EXPECT_EQ(rh.handle_sdl_event(mouse_down(400, 380, SDL_BUTTON_RIGHT), g, map, on_hired), 0);
    EXPECT_EQ(rh.handle_sdl_event(key_down(SDLK_a), g, map, on_hired), 1);
    // Cancel released off it keeps the dialog; on it closes.
    rh.handle_sdl_event(mouse_down(kCancelX, kCancelY), g, map, on_hired);
    rh.handle_sdl_event(mouse_up(10, 10), g, map, on_hired);
    EXPECT_TRUE(rh.open);
    click(kCancelX, kCancelY);
    EXPECT_FALSE(rh.open);
    // A left press outside the dialog area closes; Escape closes.
    rh.open_dialog(0, g);
    rh.handle_sdl_event(mouse_down(470, 401), g, map, on_hired);
    EXPECT_TRUE(rh.open) << "the area's corner is inside";
    rh.handle_sdl_event(mouse_down(471, 200), g, map, on_hired);
    EXPECT_FALSE(rh.open);
    rh.open_dialog(0, g);
    rh.handle_sdl_event(key_down(SDLK_ESCAPE), g, map, on_hired);
    EXPECT_FALSE(rh.open);
    EXPECT_EQ(rh.handle_sdl_event(key_down(SDLK_ESCAPE), g, map, on_hired), 0) << "closed";
}

TEST_F(RecruitHeroTest, ReadOnlyViewClosesOnTheRightRelease) {
    rh.open_tooltip(0, g);
    EXPECT_TRUE(rh.tooltip);
    EXPECT_EQ(rh.portrait_rect(0).y, 157 + 48);
    EXPECT_EQ(rh.handle_sdl_event(mouse_down(kRecruit0X, kRecruitY), g, map, on_hired), 1);
    EXPECT_EQ(rh.handle_sdl_event(mouse_up(kRecruit0X, kRecruitY), g, map, on_hired), 1);
    EXPECT_TRUE(hired.empty());
    EXPECT_EQ(rh.handle_sdl_event(mouse_up(5, 5, SDL_BUTTON_RIGHT), g, map, on_hired), 0);
    EXPECT_FALSE(rh.open);
    // A neutral town offers nobody.
    g.castles[0].owner = -1;
    rh.open_dialog(0, g);
    EXPECT_EQ(rh.offered[0], -1);
    EXPECT_EQ(rh.offered[1], -1);
}

using RecruitHeroDraw = DialogCanvas;

TEST_F(RecruitHeroDraw, DimmedScreenEmptyPortraitsAndTheLowerReadOnlyView) {
    Resources& res = load({"QV.PAL", "PORT0003.ICN", "RESOURCE.ICN"});
    ASSERT_NE(res.portraits[3], nullptr);
    ASSERT_NE(res.resource.at(6), nullptr);
    GameState g = make_game(2);
    init_hero_pool(g.pool);
    add_castle(g, 1, FACTION_KNIGHT, 0);
    g.offers[1] = {3, -1};
    RecruitHeroSystem rh;
    rh.open_dialog(0, g);
    clear({200, 200, 200, 255});
    rh.draw(r, res, g, font, small);
    const SDL_Color dim = at(5, 5);
    EXPECT_NEAR(dim.r, 200 * (255 - 140) / 255, 2);
    EXPECT_TRUE(is(330, 160, {40, 40, 60, 255})) << "empty slot";
    EXPECT_FALSE(is(205, 160, {40, 40, 60, 255})) << "offered hero's portrait";
    EXPECT_GT(differing({169, 129, 302, 16}, dim), 20) << "title";
    // Rows of pale yellow text (class names, price) from y0 to y1: the first and the last.
    const auto pale_rows = [&](int y0, int y1) {
        SDL_Point rows{480, -1};
        for (int y = y0; y < y1; ++y)
            for (int x = 169; x < 471; ++x) {
                const SDL_Color c = at(x, y);
                if (c.r > c.b + 40 && c.g > c.b + 40) rows = {std::min(rows.x, y), std::max(rows.y, y)};
            }
        return rows;
    };
    // The class name stays between the portrait's border and the Recruit button; the price between
    // the Recruit buttons' bottom and Cancel's top: beside the kit's 32-pixel gold picture, under a
    // smaller one.
    const SDL_Point name = pale_rows(250, 299), price = pale_rows(299, 400);
    EXPECT_GE(name.x, 256);
    EXPECT_LT(name.y, 273) << "the class name runs into the Recruit button";
    EXPECT_GE(price.x, 300);
    EXPECT_LT(price.y, 342) << "the price runs into Cancel";
    const RecruitPricePlace under = recruit_price_place({24, 18}, {30, 14}, 0);
    EXPECT_EQ(under.icon.y, 302);
    EXPECT_EQ(under.text.y, 302 + 18 + 2);
    const SDL_Rect tall = recruit_price_place({40, 60}, {30, 14}, 0).icon;
    EXPECT_LE(tall.y + tall.h, 340) << "a tall picture is scaled into the band";

    rh.open_tooltip(0, g);
    clear({200, 200, 200, 255});
    rh.draw(r, res, g, font, small);
    EXPECT_FALSE(is(330, 160, {40, 40, 60, 255}));
    EXPECT_TRUE(is(330, 160 + 48, {40, 40, 60, 255}));
}

}  // namespace
}  // namespace vorn1
