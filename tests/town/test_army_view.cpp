#include <gtest/gtest.h>

#include "datakit/kit_battle.h"
#include "datakit/kit_dialogs7.h"
#include "datakit/kit_lang.h"
#include "world/creature_table.h"
#include "battle/morale_luck.h"
#include "events/event.h"
#include "lang/runtime_strings.h"
#include "town/army_view.h"
#include "town/dialog_fixture.h"
#include "town/town_fixture.h"

namespace vorn1 {
namespace {

constexpr int kExitX = 420, kExitY = 315, kDismissX = 340, kDismissY = 315;

struct ArmyViewTest : ::testing::Test {
    GameState g = make_game(1);
    ArmyViewSystem av;
    EventSystem ev;
    int hero = -1;
    void SetUp() override {
        add_castle(g, 0, FACTION_KNIGHT, 0);
        hero = add_hero(g, 0);
        g.heroes[hero].army.ids = {2, 255, 255, 255, 255};
        g.heroes[hero].army.counts = {7, 0, 0, 0, 0};
        set_army(g.castles[0], {{3, 4}});
        av.init(nullptr, nullptr, nullptr, nullptr, nullptr, &ev);
    }
    void click(int x, int y) {
        av.handle_event(mouse_down(x, y), g);
        av.handle_event(mouse_up(x, y), g);
    }
};

TEST_F(ArmyViewTest, HerosOnlyStackCannotBeDismissed) {
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 0}, g, 0, hero, false));
    EXPECT_TRUE(av.dismiss_locked);
    EXPECT_FALSE(av.open_dialog({SLOT_GARRISON, 0}, g, 0, hero, false)) << "already open";
    click(kDismissX, kDismissY);
    EXPECT_FALSE(av.dismiss_pressed);
    EXPECT_EQ(ev.current_dialog(), nullptr);
    EXPECT_TRUE(av.view.open);
    EXPECT_EQ(g.heroes[hero].army.counts[0], 7);
    click(kExitX, kExitY);
    EXPECT_FALSE(av.view.open);
}

TEST_F(ArmyViewTest, DismissAsksAndOnlyAcceptEmptiesTheSlot) {
    ASSERT_TRUE(av.open_dialog({SLOT_GARRISON, 0}, g, 0, hero, false));
    EXPECT_FALSE(av.dismiss_locked) << "a garrison's only stack can go";
    click(kDismissX, kDismissY);
    ASSERT_NE(ev.current_dialog(), nullptr);
    EXPECT_EQ(av.pending_game, &g);
    ev.close_dialog(EVENT_BUTTON_DECLINE);
    EXPECT_TRUE(av.view.open);
    EXPECT_EQ(av.pending_game, nullptr);
    EXPECT_EQ(g.castles[0].garrison.counts[0], 4);

    click(kDismissX, kDismissY);
    ev.close_dialog(EVENT_BUTTON_ACCEPT);
    EXPECT_FALSE(av.view.open);
    EXPECT_TRUE(g.castles[0].garrison.slot_empty(0));
    EXPECT_EQ(g.castles[0].garrison.ids[0], EMPTY_ID);

    // A view cleared while its confirmation shows leaves the army alone.
    set_army(g.castles[0], {{3, 4}});
    ASSERT_TRUE(av.open_dialog({SLOT_GARRISON, 0}, g, 0, hero, false));
    click(kDismissX, kDismissY);
    av.clear();
    ev.close_dialog(EVENT_BUTTON_ACCEPT);
    EXPECT_EQ(g.castles[0].garrison.counts[0], 4);
}

TEST_F(ArmyViewTest, WithoutEventsDismissIsImmediateAndReadOnlyHidesIt) {
    g.heroes[hero].army.ids[3] = 4;
    g.heroes[hero].army.counts[3] = 2;
    av.events = nullptr;
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 3}, g, 0, hero, true));
    click(kDismissX, kDismissY);
    EXPECT_TRUE(av.view.open) << "read-only: no Dismiss";
    EXPECT_EQ(g.heroes[hero].army.counts[3], 2);
    av.clear();
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 3}, g, 0, hero, false));
    EXPECT_FALSE(av.dismiss_locked);
    // Press on Dismiss, release on Exit: nothing.
    av.handle_event(mouse_down(kDismissX, kDismissY), g);
    av.handle_event(mouse_up(kExitX, kExitY), g);
    EXPECT_TRUE(av.view.open);
    click(kDismissX, kDismissY);
    EXPECT_FALSE(av.view.open);
    EXPECT_TRUE(g.heroes[hero].army.slot_empty(3));
}

TEST_F(ArmyViewTest, TheMouseIsConsumedAndOpensNothingElse) {
    EXPECT_FALSE(av.handle_event(mouse_down(1, 1), g)) << "closed";
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 0}, g, 0, hero, false));
    EXPECT_TRUE(av.handle_event(mouse_motion(5, 5), g));
    EXPECT_TRUE(av.handle_event(mouse_down(5, 5, SDL_BUTTON_RIGHT), g));
    EXPECT_FALSE(av.open_dialog({SLOT_HERO, 1}, g, 0, hero, false));
    av.clear();
    EXPECT_FALSE(av.open_dialog({SLOT_HERO, 1}, g, 0, hero, false)) << "empty slot";
    EXPECT_FALSE(av.open_dialog({SLOT_GARRISON, 0}, g, 4, hero, false)) << "no such town";
    EXPECT_FALSE(av.open_dialog({SLOT_HERO, 0}, g, 0, 9, false)) << "no such hero";
}

TEST_F(ArmyViewTest, HeroSkillsMoraleAndLuck) {
    HeroState& h = g.heroes[hero];
    h.attack = 120;
    h.artifact_bonus[0] = 20;
    h.defense = 3;
    h.artifact_bonus[1] = 2;
    h.crest = CLASS_KNIGHT;
    h.army.ids = {0, 2, 255, 255, 255};
    h.army.counts = {5, 5, 0, 0, 0};
    h.artifacts[0] = 8;
    ArmyViewInfo info;
    ASSERT_TRUE(fill_army_view_info(info, {SLOT_HERO, 0}, g, 0, hero));
    EXPECT_EQ(info.attack, 127);
    EXPECT_EQ(info.defense, 5);
    EXPECT_EQ(info.morale, 3);
    h.artifacts[1] = 8;
    ASSERT_TRUE(fill_army_view_info(info, {SLOT_HERO, 0}, g, 0, hero));
    EXPECT_EQ(info.morale, 3) << "clamped";

    // The bad-luck option: Zizezo costs three luck; without it, two morale.
    h.artifacts = {};
    h.artifacts.fill(EMPTY_ID);
    h.artifacts[0] = 12;
    const bool saved = g_zizezo_bad_luck;
    g_zizezo_bad_luck = true;
    ASSERT_TRUE(fill_army_view_info(info, {SLOT_HERO, 0}, g, 0, hero));
    EXPECT_EQ(info.luck, -3);
    EXPECT_EQ(info.morale, 2);
    g_zizezo_bad_luck = false;
    ASSERT_TRUE(fill_army_view_info(info, {SLOT_HERO, 0}, g, 0, hero));
    EXPECT_EQ(info.luck, 0);
    EXPECT_EQ(info.morale, 0);
    g_zizezo_bad_luck = saved;

    // A garrison viewed without a hero shows no bonuses.
    ASSERT_TRUE(fill_army_view_info(info, {SLOT_GARRISON, 0}, g, 0, -1));
    EXPECT_EQ(info.attack, 0);
    EXPECT_EQ(info.morale, 0);
    EXPECT_EQ(info.creature, 3);
    EXPECT_EQ(info.count, 4);
}

TEST(ArmyViewText, StatLinesFollowTheCreature) {
    strings().load_from_text("",
                             R"J({"BATTLE_STAT_ATK_SKILL":"A {0} ({1})","BATTLE_STAT_DEF_SKILL":"D {0} ({1})",
                                 "TROOP_STAT_SHOTS":"S {0}","BATTLE_STAT_DAMAGE":"Dmg {0}-{1}","TROOP_STAT_HP":"HP {0} ({1})",
                                 "BATTLE_STAT_SPEED":"Sp {0}","SPEED_SLOW":"slow","SPEED_FAST":"fast","SPEED_MEDIUM":"med",
                                 "BATTLE_STAT_MORALE":"M {0}","BATTLE_STAT_LUCK":"L {0}"})J");
    const CreatureStats archer = creature_stats(1);
    ASSERT_TRUE(archer.shooter);
    const auto lines = army_view_stat_lines(1, 10, 2, 3, 0, 0);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "A " + std::to_string(archer.attack) + " (" + std::to_string(archer.attack + 2) + ")");
    EXPECT_EQ(lines[1], "D " + std::to_string(archer.defense) + " (" + std::to_string(archer.defense + 3) + ")");
    EXPECT_EQ(lines[2], "S " + std::to_string(archer.shots));
    EXPECT_EQ(lines[4], "HP " + std::to_string(archer.hp) + " (" + std::to_string(archer.hp * 10) + ")");
    const auto pikes = army_view_stat_lines(2, 1, 0, 0, 0, 0);
    EXPECT_EQ(pikes.size(), 7u) << "no shots line for a creature that does not shoot";
    const std::string speed = creature_stats(2).speed == 1 ? "slow" : creature_stats(2).speed == 3 ? "fast" : "med";
    EXPECT_EQ(pikes[4], "Sp " + speed);
    strings().load_from_text("", "");
}

using ArmyViewDraw = DialogCanvas;

TEST_F(ArmyViewDraw, FallbackPanelAndButtons) {
    Resources& res = load({});
    GameState g = make_game(1);
    const int h = add_hero(g, 0);
    g.heroes[h].army.ids[0] = 2;
    g.heroes[h].army.counts[0] = 7;
    ArmyViewSystem av;
    av.init(nullptr, &res, r, font, small, nullptr);
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 0}, g, -1, h, false));
    clear();
    av.draw_dialog(0);
    EXPECT_TRUE(is(119, 125, {100, 100, 150, 255})) << "outline";
    const SDL_Color inside = at(125, 200);
    EXPECT_NEAR(inside.r, 30 * 230 / 255, 2);
    EXPECT_NEAR(inside.b, 50 * 230 / 255, 2);
    EXPECT_TRUE(is(415, 309, {60, 60, 100, 255})) << "exit fallback";
    EXPECT_TRUE(is(333, 309, {80, 80, 80, 255})) << "dismiss locked";
    EXPECT_GT(differing({119 + 205 - 12, 125 + 6, 193, 150}, inside), 200) << "statistics text";
    EXPECT_TRUE(is(118, 124, {0, 0, 0, 255}));

    av.clear();
    ASSERT_TRUE(av.open_dialog({SLOT_HERO, 0}, g, -1, h, true));
    clear();
    av.draw_dialog(0);
    EXPECT_FALSE(is(333, 309, {80, 80, 80, 255})) << "read-only: no Dismiss";
}

// On the kit's fonts every line of a shooter's block is drawn, inside its column and above the buttons.
TEST_F(ArmyViewDraw, ShooterStatLinesEndAboveTheButtons) {
    kit::StringMap all = kit::english_strings();
    for (const auto& [k, v] : kit::battle_english_strings()) all[k] = v;
    for (const auto& [k, v] : kit::dialogs7_english_strings()) all[k] = v;
    strings().load_from_text("", kit::catalogue_json(all));
    ArmyViewSystem av;
    av.init(nullptr, nullptr, r, font, small, nullptr);
    av.draw_stat_block(324, 131, 193, 1, 70, 3, 3, 3, -3);  // archers, as the panel places the block
    strings().load_from_text("", "");
    const SDL_Rect column{312, 131, 193, 240};
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), differing(column, {0, 0, 0, 255})) << "ink outside the column";
    int bands = 0, last_ink = -1;
    bool in_band = false;
    for (int y = column.y; y < column.y + column.h; ++y) {
        const bool ink = differing({column.x, y, column.w, 1}, {0, 0, 0, 255}) > 0;
        bands += ink && !in_band;
        in_band = ink;
        if (ink) last_ink = y;
    }
    EXPECT_EQ(bands, 9) << "the name and eight lines";
    EXPECT_LT(last_ink, ArmyViewSystem::kButtonTop);
}

TEST_F(ArmyViewDraw, PanelFramesFromTheArchive) {
    Resources& res = load({"QV.PAL", "VIEWARMY.ICN"});
    GameState g = make_game(1);
    add_castle(g, 0, FACTION_KNIGHT, 0);
    set_army(g.castles[0], {{3, 4}});
    ArmyViewSystem av;
    av.init(nullptr, &res, r, font, small, nullptr);
    av.open_tooltip({SLOT_GARRISON, 0}, g, 0, -1);
    ASSERT_TRUE(av.tip.open);
    clear({1, 2, 3, 255});
    av.draw_tooltip();
    ASSERT_GE(av.frames.size(), 6u);
    EXPECT_EQ(differing({119, 125, 402, 229}, {1, 2, 3, 255}), 402 * 229) << "frame 0 covers the panel";
    EXPECT_TRUE(is(118, 125, {1, 2, 3, 255}));
    const size_t loaded = av.frames.size();
    av.draw_tooltip();
    EXPECT_EQ(av.frames.size(), loaded) << "loaded once";
}

}  // namespace
}  // namespace vorn1
