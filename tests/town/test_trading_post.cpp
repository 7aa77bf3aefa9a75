#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "datakit/kit_dialogs7.h"
#include "datakit/kit_lang.h"
#include "lang/runtime_strings.h"
#include "town/dialog_fixture.h"
#include "town/recruit.h"
#include "town/town_fixture.h"
#include "town/trading_post.h"

namespace vorn1 {
namespace {

constexpr int kWood = 0, kOre = 1, kCrystal = 4, kGold = 6;

struct TradingPostTest : ::testing::Test {
    GameState g = make_game(2);
    TradingPostSystem tp;
    void SetUp() override { tp.open_dialog(1, 1, &g); }
    void press(int rect) {
        const SDL_Rect& r = tp.rects[static_cast<size_t>(rect)];
        EXPECT_TRUE(tp.handle_sdl_event(mouse_down(r.x + 1, r.y + 1)));
        EXPECT_TRUE(tp.handle_sdl_event(mouse_up(r.x + 1, r.y + 1)));
    }
};

TEST_F(TradingPostTest, AmountStepsInWholeLotsUpToWhatCanBePaid) {
    g.resources[1].gold = 4999;
    press(TP_GIVE0 + kGold);
    press(TP_GET0 + kOre);
    EXPECT_EQ(tp.current_ratio().give, 2500);
    press(TP_UP);
    EXPECT_EQ(tp.amount, 2500);
    press(TP_UP);
    EXPECT_EQ(tp.amount, 2500);
    press(TP_DOWN);
    EXPECT_EQ(tp.amount, 0);
    press(TP_DOWN);
    EXPECT_EQ(tp.amount, 0);
    press(TP_MAX);
    EXPECT_EQ(tp.amount, 2500);
    EXPECT_EQ(tp.amount_text(), "2500 -> 1") << "an arrow every font holds";

    press(TP_TRADE);
    EXPECT_EQ(g.resources[1].gold, 2499);
    EXPECT_EQ(g.resources[1].ore, 1);
    EXPECT_EQ(tp.amount, 0);
    EXPECT_EQ(tp.amount_text(), "0 -> 0");
    EXPECT_EQ(g.resources[0].gold, 0) << "other seats untouched";
}

TEST_F(TradingPostTest, PickingOneSideClearsTheSameResourceOnTheOther) {
    g.resources[1].wood = 30;
    press(TP_GIVE0 + kWood);
    press(TP_GET0 + kOre);
    press(TP_MAX);
    EXPECT_EQ(tp.amount, 30);
    press(TP_GET0 + kWood);
    EXPECT_EQ(tp.give, -1);
    EXPECT_EQ(tp.get, kWood);
    EXPECT_EQ(tp.amount, 0);
    press(TP_GIVE0 + kWood);
    EXPECT_EQ(tp.get, -1);
    EXPECT_EQ(tp.amount_text(), "0");
    EXPECT_EQ(tp.current_ratio().give, 0);
}

TEST_F(TradingPostTest, RatioLabelsUnderTheReceiveColumn) {
    press(TP_GIVE0 + kCrystal);
    EXPECT_EQ(tp.ratio_label(kGold), "50");
    EXPECT_EQ(tp.ratio_label(kWood), "1/5");
    EXPECT_EQ(tp.ratio_label(kCrystal), "");
    tp.open_dialog(1, 12, &g);
    EXPECT_EQ(tp.markets, 12);
    press(TP_GIVE0 + kCrystal);
    EXPECT_EQ(tp.ratio_label(kGold), "250") << "twelve markets read the nine-market row";
    tp.open_dialog(1, -3, &g);
    EXPECT_EQ(tp.markets, 1);
    EXPECT_EQ(tp.ratio_label(kGold), "") << "no give selection after opening";
}

TEST_F(TradingPostTest, KeysReleasesAndConsumption) {
    g.resources[1].gold = 6000;
    EXPECT_TRUE(tp.handle_sdl_event(key_down(SDLK_RETURN)));
    EXPECT_TRUE(tp.open) << "Return without a selection does nothing";
    EXPECT_TRUE(tp.handle_sdl_event(mouse_motion(3, 3)));
    press(TP_GIVE0 + kGold);
    press(TP_GET0 + kWood);
    press(TP_UP);
    // The trade button dragged off does nothing.
    const SDL_Rect& tb = tp.rects[TP_TRADE];
    tp.handle_sdl_event(mouse_down(tb.x + 1, tb.y + 1));
    EXPECT_TRUE(tp.trade_pressed);
    tp.handle_sdl_event(mouse_up(0, 0));
    EXPECT_FALSE(tp.trade_pressed);
    tp.handle_sdl_event(key_down(SDLK_KP_ENTER));  // the keypad's Enter is not Return
    EXPECT_EQ(g.resources[1].gold, 6000);
    // Return trades.
    tp.handle_sdl_event(key_down(SDLK_RETURN));
    EXPECT_EQ(g.resources[1].gold, 3500);
    EXPECT_EQ(g.resources[1].wood, 1);
    // Exit closes; afterwards nothing is consumed.
    press(TP_EXIT);
    EXPECT_FALSE(tp.open);
    EXPECT_EQ(tp.player, -1);
    EXPECT_EQ(tp.state, nullptr);
    EXPECT_FALSE(tp.handle_sdl_event(key_down(SDLK_ESCAPE)));
    tp.open_dialog(1, 1, &g);
    tp.handle_sdl_event(key_down(SDLK_ESCAPE));
    EXPECT_FALSE(tp.open);
}

TEST_F(TradingPostTest, NoGameOrInvalidPlayerTradesNothing) {
    tp.open_dialog(7, 1, &g);
    tp.give = kGold;
    tp.get = kWood;
    tp.amount = 5000;
    EXPECT_EQ(tp.owned_give(), 0);
    tp.execute_trade();
    EXPECT_EQ(tp.amount, 0);
    tp.open_dialog(1, 1, nullptr);
    tp.give = kGold;
    tp.get = kWood;
    tp.amount = 5000;
    tp.execute_trade();
    EXPECT_EQ(tp.amount, 5000) << "nothing happens without a game";
}

using TradingPostDraw = DialogCanvas;

TEST_F(TradingPostDraw, SelectionFramesAndFallbackTexts) {
    Resources& res = load({});
    RecruitResources rres;
    GameState g = make_game(1);
    g.resources[0].gold = 1234;
    TradingPostSystem tp;
    tp.open_dialog(0, 1, &g);
    tp.give = kGold;
    tp.get = kOre;
    clear();
    tp.draw(r, res, rres, font, small);
    const SDL_Rect gs = tp.rects[TP_GIVE0 + kGold];
    EXPECT_TRUE(is(gs.x - 2, gs.y + 5, {220, 30, 30, 255}));
    EXPECT_TRUE(is(gs.x - 3, gs.y + 5, {220, 30, 30, 255}));
    EXPECT_TRUE(is(gs.x - 1, gs.y + 5, {0, 0, 0, 255}));
    const SDL_Rect os = tp.rects[TP_GET0 + kOre];
    EXPECT_TRUE(is(os.x + os.w + 2, os.y + 5, {220, 30, 30, 255}));
    const SDL_Rect wood = tp.rects[TP_GET0 + kWood];
    EXPECT_TRUE(is(wood.x - 2, wood.y + 5, {0, 0, 0, 255})) << "unselected";
    // The owned gold under its slot, the max and exit texts in place of the missing buttons.
    EXPECT_GT(differing({gs.x - 10, gs.y + gs.h, gs.w + 20, 14}, {0, 0, 0, 255}), 10);
    const SDL_Rect m = tp.rects[TP_MAX];
    EXPECT_GT(differing({m.x, m.y + 6, m.w, 16}, {0, 0, 0, 255}), 10);
    const SDL_Rect e = tp.rects[TP_EXIT];
    EXPECT_GT(differing({e.x, e.y + 6, e.w, 16}, {0, 0, 0, 255}), 10);

    // With the kit's texts in the game's fonts, the title, the three-line intro and the headings
    // (told apart by their colours) stand apart, above the slots' selection frames.
    strings().load_from_text("", kit::catalogue_json(kit::dialogs7_english_strings()));
    clear();
    tp.draw(r, res, rres, font, small);
    const int slots_top = tp.rects[TP_GIVE0].y;
    std::array<int, 3> top{480, 480, 480}, bottom{-1, -1, -1};  // title, intro, headings
    for (int y = 0; y < slots_top; ++y)
        for (int x = 152; x < 488; ++x) {
            const SDL_Color c = at(x, y);
            const bool grey_blue = c.r == c.g && std::max(c.r, c.b) > 40;
            const int kind = c.r > 40 && c.b == 0 ? 0 : grey_blue && c.b < c.r ? 1 : grey_blue && c.b > c.r ? 2 : -1;
            if (kind < 0) continue;
            top[kind] = std::min(top[kind], y);
            bottom[kind] = std::max(bottom[kind], y);
        }
    EXPECT_LT(bottom[0], top[1]) << "the title runs into the intro";
    EXPECT_GT(bottom[1] - top[1], 2 * TTF_FontLineSkip(small)) << "three lines of intro";
    EXPECT_LT(bottom[1], top[2]) << "the intro runs into the headings";
    EXPECT_LT(bottom[2], slots_top - 3) << "the headings run into the slots";
    const TradePostTextLayout l =
        trade_post_text_layout(TTF_FontHeight(font), TTF_FontLineSkip(small), 3, TTF_FontHeight(small));
    EXPECT_GE(top[0], l.frame_top) << "the frame reaches over the title";
    const TradePostTextLayout roomy = trade_post_text_layout(12, 10, 3, 10);
    EXPECT_EQ(roomy.frame_top, 85) << "small fonts keep the usual frame";
    EXPECT_EQ(roomy.headings_y, 85 + 66);
    strings().load_from_text("", "");

    tp.close();
    clear();
    tp.draw(r, res, rres, font, small);
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0);
}

}  // namespace
}  // namespace vorn1
