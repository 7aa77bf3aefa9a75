#include <gtest/gtest.h>

#include <optional>

#include "events/event.h"
#include "town/dialog_fixture.h"
#include "town/recruit.h"
#include "town/town_fixture.h"

namespace vorn1 {
namespace {

constexpr int kUpX = 360, kUpY = 226, kDownX = 360, kDownY = 241, kMaxX = 390, kMaxY = 230;
constexpr int kOkX = 190, kOkY = 332, kCancelX = 345, kCancelY = 332;

void click(RecruitSystem& s, const GameState& g, int x, int y) {
    s.handle_sdl_event(mouse_down(x, y), g);
    s.handle_sdl_event(mouse_up(x, y), g);
}

struct RecruitDialogTest : ::testing::Test {
    GameState g = make_game(2);
    RecruitSystem sys;
    std::optional<RecruitResult> got;
    RecruitCallback cb = [this](RecruitResult r) { got = r; };

    // A knight town of player 0 whose paladin dwelling (slot 5) offers `avail`.
    int knight_town(int avail, int gold) {
        CastleState& c = add_castle(g, 0, FACTION_KNIGHT, BLD_DWELLING5);
        c.available[5] = avail;
        g.resources[0].gold = gold;
        return static_cast<int>(g.castles.size()) - 1;
    }
};

TEST_F(RecruitDialogTest, CountIsBoundByAvailabilityAndTreasury) {
    const int t = knight_town(3, 6000);  // gold for 10 paladins
    sys.open_dialog(t, 5, g, cb);
    EXPECT_EQ(sys.creature, 5);
    EXPECT_EQ(sys.unit_cost.gold, 600);
    for (int i = 0; i < 5; ++i) click(sys, g, kUpX, kUpY);
    EXPECT_EQ(sys.count, 3);
    for (int i = 0; i < 5; ++i) click(sys, g, kDownX, kDownY);
    EXPECT_EQ(sys.count, 0);

    g.resources[0].gold = 1300;  // two paladins
    click(sys, g, kMaxX, kMaxY);
    EXPECT_EQ(sys.count, 2);

    g.resources[0].gold = 0;
    click(sys, g, kMaxX, kMaxY);
    EXPECT_EQ(sys.count, 0);
    click(sys, g, kOkX, kOkY);
    EXPECT_TRUE(sys.open) << "OK with nothing chosen does nothing";
    EXPECT_FALSE(got);
}

TEST_F(RecruitDialogTest, ButtonsActOnReleaseInsideButCancelAnywhere) {
    const int t = knight_town(3, 6000);
    sys.open_dialog(t, 5, g, cb);
    click(sys, g, kUpX, kUpY);
    // Up pressed and released elsewhere: no step.
    sys.handle_sdl_event(mouse_down(kUpX, kUpY), g);
    sys.handle_sdl_event(mouse_up(10, 10), g);
    EXPECT_EQ(sys.count, 1);
    EXPECT_FALSE(sys.up_pressed);
    // OK dragged off: no purchase.
    sys.handle_sdl_event(mouse_down(kOkX, kOkY), g);
    EXPECT_TRUE(sys.ok_pressed);
    sys.handle_sdl_event(mouse_up(kOkX + 200, kOkY), g);
    EXPECT_TRUE(sys.open);
    EXPECT_FALSE(got);
    // Cancel dragged off still closes, without a callback.
    sys.handle_sdl_event(mouse_down(kCancelX, kCancelY), g);
    sys.handle_sdl_event(mouse_up(5, 5), g);
    EXPECT_FALSE(sys.open);
    EXPECT_FALSE(got);
    EXPECT_FALSE(sys.on_result);
}

TEST_F(RecruitDialogTest, KeysAndEveryEventConsumedWhileShowing) {
    const int t = knight_town(3, 6000);
    SDL_Event motion = mouse_motion(1, 1);
    EXPECT_EQ(sys.handle_sdl_event(motion, g), 0) << "closed: not consumed";
    sys.open_dialog(t, 5, g, cb);
    EXPECT_EQ(sys.handle_sdl_event(motion, g), 1);
    EXPECT_EQ(sys.handle_sdl_event(key_down(SDLK_RETURN), g), 1);
    EXPECT_TRUE(sys.open) << "Enter with a count of 0 keeps the dialog";
    click(sys, g, kUpX, kUpY);
    sys.handle_sdl_event(key_down(SDLK_RETURN), g);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->count, 1);
    EXPECT_EQ(got->castle, t);
    EXPECT_EQ(got->dwelling, 5);
    EXPECT_EQ(got->site_x, -1);
    EXPECT_EQ(got->hero, -1);
    EXPECT_FALSE(sys.open);

    got.reset();
    sys.open_dialog(t, 5, g, cb);
    click(sys, g, kUpX, kUpY);
    sys.handle_sdl_event(key_down(SDLK_ESCAPE), g);
    EXPECT_FALSE(sys.open);
    EXPECT_FALSE(got);
}

TEST_F(RecruitDialogTest, ThreeDragonsPriceTheWholePurchase) {
    CastleState& c = add_castle(g, 1, FACTION_WARLOCK, BLD_DWELLING5);
    c.available[5] = 4;
    g.resources[1].gold = 10000;
    g.resources[1].sulfur = 3;
    sys.open_dialog(0, 5, g, cb);
    EXPECT_EQ(sys.creature, 23);
    click(sys, g, kMaxX, kMaxY);
    EXPECT_EQ(sys.count, 3) << "bound by the three sulfur";
    click(sys, g, kOkX, kOkY);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->cost.gold, 9000);
    EXPECT_EQ(got->cost.sulfur, 3);
    EXPECT_EQ(got->cost.wood, 0);
    EXPECT_EQ(got->cost.ore, 0);
    EXPECT_EQ(got->cost.crystal + got->cost.mercury + got->cost.gems, 0);
}

TEST_F(RecruitDialogTest, CallbackMayReopenTheDialog) {
    const int t = knight_town(3, 6000);
    int calls = 0;
    sys.open_dialog(t, 5, g, [&](RecruitResult) {
        ++calls;
        sys.open_dialog(t, 0, g, cb);
    });
    click(sys, g, kUpX, kUpY);
    click(sys, g, kOkX, kOkY);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(sys.open);
    EXPECT_EQ(sys.dwelling, 0);
    EXPECT_EQ(sys.creature, 0);
    EXPECT_EQ(sys.count, 0);
}

TEST_F(RecruitDialogTest, FullGarrisonShowsTheNoticeAndPaysNothing) {
    const int t = knight_town(3, 6000);
    set_army(g.castles[t], {{7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}});
    const GameState before = g;
    sys.open_dialog(t, 5, g, town_recruit_callback(sys, g));
    click(sys, g, kUpX, kUpY);
    click(sys, g, kOkX, kOkY);
    EXPECT_FALSE(sys.open);
    EXPECT_TRUE(sys.no_room_open);
    expect_same_town_and_treasury(before, g, t, 0);

    // The notice takes every event; Enter closes it alone.
    EXPECT_EQ(sys.handle_sdl_event(mouse_motion(1, 1), g), 1);
    sys.handle_sdl_event(key_down(SDLK_RETURN), g);
    EXPECT_FALSE(sys.no_room_open);

    // Its OK press then a release anywhere closes everything.
    sys.open_dialog(t, 5, g, cb);
    sys.open_no_room();
    sys.handle_sdl_event(mouse_down(20, 20), g);
    EXPECT_FALSE(sys.no_room_ok_pressed) << "outside its OK button";
    sys.handle_sdl_event(mouse_down(272, 244), g);
    sys.handle_sdl_event(mouse_up(600, 400), g);
    EXPECT_FALSE(sys.no_room_open);
    EXPECT_FALSE(sys.open);
    EXPECT_EQ(sys.castle, -1);
}

TEST_F(RecruitDialogTest, TownCallbackBuysIntoTheGarrison) {
    const int t = knight_town(3, 6000);
    sys.open_dialog(t, 5, g, town_recruit_callback(sys, g));
    click(sys, g, kUpX, kUpY);
    click(sys, g, kUpX, kUpY);
    click(sys, g, kOkX, kOkY);
    EXPECT_EQ(g.resources[0].gold, 4800);
    EXPECT_EQ(g.castles[t].available[5], 1);
    EXPECT_EQ(g.castles[t].garrison.ids[0], 5);
    EXPECT_EQ(g.castles[t].garrison.counts[0], 2);
    EXPECT_FALSE(sys.no_room_open);
}

TEST_F(RecruitDialogTest, InformationPanelClosesOnAnyPressAndSwallowsTheRest) {
    const int t = knight_town(3, 6000);
    sys.open_tooltip(t, 5, g);
    EXPECT_TRUE(sys.open && sys.tooltip);
    EXPECT_EQ(sys.available, 3);
    EXPECT_EQ(sys.ok_rect.w, 0);
    EXPECT_EQ(sys.handle_sdl_event(mouse_up(kOkX, kOkY), g), 1);
    EXPECT_TRUE(sys.open);
    EXPECT_EQ(sys.handle_sdl_event(mouse_down(kOkX, kOkY, SDL_BUTTON_RIGHT), g), 1);
    EXPECT_FALSE(sys.open);
    sys.open_tooltip(t, 5, g);
    sys.handle_sdl_event(key_down(SDLK_a), g);
    EXPECT_FALSE(sys.open);
}

TEST_F(RecruitDialogTest, MapDwellingIsPaidByTheVisitingHero) {
    const int h = add_hero(g, 1);
    g.resources[1].gold = 1000;
    g.resources[0].gold = 100000;
    sys.open_map_recruit(1, 10, 7, 9, h, cb);  // archers at 150
    EXPECT_EQ(sys.castle, -1);
    EXPECT_EQ(sys.max_affordable(g), 6);
    click(sys, g, kMaxX, kMaxY);
    click(sys, g, kOkX, kOkY);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->count, 6);
    EXPECT_EQ(got->cost.gold, 900);
    EXPECT_EQ(got->site_x, 7);
    EXPECT_EQ(got->site_y, 9);
    EXPECT_EQ(got->hero, h);

    // An unknown visitor can buy nothing; a ghost costs nothing and is bound by the count offered.
    sys.open_map_recruit(1, 10, 7, 9, 42, cb);
    EXPECT_EQ(sys.max_affordable(g), 0);
    sys.open_map_recruit(26, 10, 7, 9, h, cb);
    EXPECT_EQ(sys.max_affordable(g), 10);
}

TEST_F(RecruitDialogTest, InvalidTownOffersNothing) {
    sys.open_dialog(5, 2, g, cb);
    EXPECT_TRUE(sys.open);
    EXPECT_EQ(sys.creature, EMPTY_ID);
    click(sys, g, kMaxX, kMaxY);
    click(sys, g, kUpX, kUpY);
    EXPECT_EQ(sys.count, 0);
    knight_town(3, 6000);
    sys.open_dialog(0, 6, g, cb);
    EXPECT_EQ(sys.creature, EMPTY_ID);
    EXPECT_EQ(sys.available, 0);
}

using RecruitDraw = DialogCanvas;

TEST_F(RecruitDraw, FallbackButtonsWithoutArtAndTheNotice) {
    Resources& res = load({});
    RecruitResources rres;
    EventSystem ev;
    GameState g = make_game(1);
    add_castle(g, 0, FACTION_KNIGHT, 0).available[0] = 5;
    RecruitSystem sys;
    sys.open_dialog(0, 0, g, nullptr);
    clear({0, 0, 0, 255});
    sys.draw(r, res, rres, ev, font, small);
    // OK (80, 120, 40, alpha 200) and Cancel (120, 40, 40, alpha 200) over black.
    const SDL_Color ok = at(190, 331), cancel = at(343, 331);
    EXPECT_NEAR(ok.r, 80 * 200 / 255, 2);
    EXPECT_NEAR(ok.g, 120 * 200 / 255, 2);
    EXPECT_NEAR(cancel.r, 120 * 200 / 255, 2);
    EXPECT_NEAR(cancel.g, 40 * 200 / 255, 2);
    EXPECT_TRUE(is(150, 80, {0, 0, 0, 255})) << "nothing outside the dialog";
    EXPECT_GT(differing({176, 227, 100, 14}, {0, 0, 0, 255}), 10) << "the number-to-buy text";

    // The notice replaces the dialog while it shows; nothing at all once closed.
    sys.open_no_room();
    clear();
    sys.draw(r, res, rres, ev, font, small);
    EXPECT_EQ(differing({188, 330, 98, 25}, {0, 0, 0, 255}), 0) << "dialog buttons not drawn under the notice";
    EXPECT_GT(differing({200, 205, 240, 30}, {0, 0, 0, 255}), 50) << "its two lines";
    sys.close();
    clear();
    sys.draw(r, res, rres, ev, font, small);
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0);
}

TEST_F(RecruitDraw, BackgroundsAndArtFromTheArchive) {
    Resources& res = load({"QV.PAL", "RECRUIT.BMP", "RECRUIT2.BMP", "SYSTEM.ICN", "TOWNWIND.ICN", "MONSTERS.ICN",
                           "RESOURCE.ICN"});
    RecruitResources rres;
    ::testing::internal::CaptureStdout();
    rres.load(r, *res.archive, res.palette);
    EXPECT_NE(::testing::internal::GetCapturedStdout().find("  RECRUIT.BMP: loaded"), std::string::npos);
    ASSERT_NE(rres.dialog_bg, nullptr);
    ASSERT_NE(rres.panel_bg, nullptr);

    GameState g = make_game(1);
    add_castle(g, 0, FACTION_KNIGHT, 0).available[0] = 5;
    EventSystem ev;
    RecruitSystem sys;
    sys.open_dialog(0, 0, g, nullptr);
    clear({1, 2, 3, 255});
    sys.draw(r, res, rres, ev, font, small);
    EXPECT_EQ(differing({152, 85, 336, 310}, {1, 2, 3, 255}), 336 * 310) << "background covers the dialog";
    EXPECT_TRUE(is(151, 84, {1, 2, 3, 255}));
    std::vector<uint32_t> ok_up;
    for (int y = 330; y < 355; ++y)
        for (int x = 188; x < 286; ++x) ok_up.push_back(SDL_MapRGB(surf->format, at(x, y).r, at(x, y).g, at(x, y).b));

    sys.handle_sdl_event(mouse_down(200, 340), g);
    sys.draw(r, res, rres, ev, font, small);
    int changed = 0;
    for (int y = 330, i = 0; y < 355; ++y)
        for (int x = 188; x < 286; ++x, ++i)
            changed += ok_up[i] != SDL_MapRGB(surf->format, at(x, y).r, at(x, y).g, at(x, y).b);
    EXPECT_GT(changed, 5) << "pressed frame";

    // The panel uses the second picture, at its own rectangle.
    sys.open_tooltip(0, 0, g);
    clear({1, 2, 3, 255});
    sys.draw(r, res, rres, ev, font, small);
    EXPECT_EQ(differing({152, 149, 336, 181}, {1, 2, 3, 255}), 336 * 181);
    EXPECT_TRUE(is(160, 140, {1, 2, 3, 255}));

    rres.unload();
    EXPECT_EQ(rres.dialog_bg, nullptr);
}

TEST_F(RecruitDraw, MissingBackgroundsAreReported) {
    Resources& res = load({});
    RecruitResources rres;
    ::testing::internal::CaptureStderr();
    rres.load(r, *res.archive, res.palette);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("  WARNING: RECRUIT.BMP missing"), std::string::npos);
    EXPECT_NE(err.find("  WARNING: RECRUIT2.BMP missing"), std::string::npos);
    EXPECT_EQ(rres.dialog_bg, nullptr);
}

}  // namespace
}  // namespace vorn1
