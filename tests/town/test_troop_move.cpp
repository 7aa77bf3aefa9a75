#include <gtest/gtest.h>

#include "events/event.h"
#include "town/dialog_fixture.h"
#include "town/town_fixture.h"
#include "town/troop_move.h"

namespace vorn1 {
namespace {

constexpr uint8_t ORC = 7, WOLF = 8, OGRE = 9;

void set_hero_army(GameState& g, int h, std::initializer_list<std::pair<int, int>> slots) {
    Army& a = g.heroes[h].army;
    a = Army{};
    int i = 0;
    for (const auto& [id, count] : slots) {
        a.ids[i] = static_cast<uint8_t>(id);
        a.counts[i] = static_cast<uint16_t>(count);
        ++i;
    }
}

void split_click(TroopMoveSystem& t, GameState& g, SDL_Rect rect) {
    t.handle_sdl_event(mouse_down(rect.x + 1, rect.y + 1), g);
    t.handle_sdl_event(mouse_up(rect.x + 1, rect.y + 1), g);
}

struct TroopMoveTest : ::testing::Test {
    GameState g = make_game(1);
    TroopMoveSystem tm;
    int town = 0, hero = 0;
    void SetUp() override {
        add_castle(g, 0, FACTION_BARBARIAN, 0);
        hero = add_hero(g, 0);
    }
    Army& garrison() { return g.castles[town].garrison; }
    Army& army() { return g.heroes[hero].army; }
};

TEST_F(TroopMoveTest, MergeSwapAndMoveInTheGarrison) {
    set_army(g.castles[town], {{ORC, 5}, {ORC, 3}, {WOLF, 2}});
    tm.handle_slot_click({SLOT_GARRISON, 1}, g, town, hero, false);
    EXPECT_EQ(tm.selected, (SlotAddr{SLOT_GARRISON, 1}));
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    EXPECT_EQ(garrison().counts[0], 8);
    EXPECT_TRUE(garrison().slot_empty(1));
    EXPECT_EQ(garrison().ids[1], EMPTY_ID);
    EXPECT_FALSE(tm.selected.valid());

    // Onto another creature: the two swap.
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_GARRISON, 2}, g, town, hero, false);
    EXPECT_EQ(garrison().ids[0], WOLF);
    EXPECT_EQ(garrison().counts[0], 2);
    EXPECT_EQ(garrison().ids[2], ORC);
    EXPECT_EQ(garrison().counts[2], 8);

    // An empty slot is never selected; a second click on the selection clears it.
    tm.handle_slot_click({SLOT_GARRISON, 4}, g, town, hero, false);
    EXPECT_FALSE(tm.selected.valid());
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    EXPECT_FALSE(tm.selected.valid());
    tm.handle_slot_click({SLOT_GARRISON, 7}, g, town, hero, false);
    EXPECT_FALSE(tm.selected.valid());
}

TEST_F(TroopMoveTest, MergePastTheCountLimitKeepsTheRest) {
    set_army(g.castles[town], {{ORC, 60000}, {ORC, 10000}});
    tm.apply_swap_or_merge({SLOT_GARRISON, 0}, {SLOT_GARRISON, 1}, g, town, hero);
    EXPECT_EQ(garrison().counts[1], 65535);
    EXPECT_EQ(garrison().counts[0], 4465);
    EXPECT_EQ(garrison().ids[0], ORC);
}

TEST_F(TroopMoveTest, HeroKeepsItsLastStackOnTheTownScreen) {
    set_hero_army(g, hero, {{ORC, 4}});
    set_army(g.castles[town], {{ORC, 2}, {WOLF, 1}});
    // Moving the only stack into an empty garrison slot is refused.
    tm.apply_swap_or_merge({SLOT_HERO, 0}, {SLOT_GARRISON, 3}, g, town, hero);
    EXPECT_EQ(army().counts[0], 4);
    EXPECT_TRUE(garrison().slot_empty(3));
    // So is merging all of it away.
    tm.apply_swap_or_merge({SLOT_HERO, 0}, {SLOT_GARRISON, 0}, g, town, hero);
    EXPECT_EQ(army().counts[0], 4);
    EXPECT_EQ(garrison().counts[0], 2);
    // A swap leaves the hero a stack; a move inside its own army is fine.
    tm.apply_swap_or_merge({SLOT_HERO, 0}, {SLOT_GARRISON, 1}, g, town, hero);
    EXPECT_EQ(army().ids[0], WOLF);
    EXPECT_EQ(garrison().ids[1], ORC);
    tm.apply_swap_or_merge({SLOT_HERO, 0}, {SLOT_HERO, 4}, g, town, hero);
    EXPECT_EQ(army().ids[4], WOLF);
    EXPECT_TRUE(army().slot_empty(0));
    // The garrison may give away everything.
    garrison() = Army{};
    set_army(g.castles[town], {{OGRE, 3}});
    tm.apply_swap_or_merge({SLOT_GARRISON, 0}, {SLOT_HERO, 1}, g, town, hero);
    EXPECT_TRUE(garrison().empty());
    EXPECT_EQ(army().ids[1], OGRE);
}

TEST_F(TroopMoveTest, SplitDialogBoundsAndApplies) {
    set_hero_army(g, hero, {{ORC, 1}});
    // A hero's only stack of one creature opens no dialog; the selection stays.
    tm.handle_slot_click({SLOT_HERO, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_HERO, 2}, g, town, hero, true);
    EXPECT_FALSE(tm.split.open);
    EXPECT_TRUE(tm.selected.valid());
    tm.clear();

    set_hero_army(g, hero, {{ORC, 10}});
    tm.handle_slot_click({SLOT_HERO, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_HERO, 2}, g, town, hero, true);
    ASSERT_TRUE(tm.split.open);
    EXPECT_EQ(tm.split.max_count, 9);
    EXPECT_EQ(tm.split.creature, ORC);
    EXPECT_EQ(tm.handle_sdl_event(mouse_motion(0, 0), g), 1);
    for (int i = 0; i < 12; ++i) split_click(tm, g, tm.split.up_rect);
    EXPECT_EQ(tm.split.chosen, 9);
    for (int i = 0; i < 5; ++i) split_click(tm, g, tm.split.down_rect);
    EXPECT_EQ(tm.split.chosen, 4);
    // OK dragged off does nothing.
    tm.handle_sdl_event(mouse_down(tm.split.ok_rect.x + 1, tm.split.ok_rect.y + 1), g);
    tm.handle_sdl_event(mouse_up(0, 0), g);
    EXPECT_TRUE(tm.split.open);
    split_click(tm, g, tm.split.ok_rect);
    EXPECT_FALSE(tm.split.open);
    EXPECT_FALSE(tm.selected.valid());
    EXPECT_EQ(army().counts[0], 6);
    EXPECT_EQ(army().ids[2], ORC);
    EXPECT_EQ(army().counts[2], 4);
    EXPECT_EQ(tm.handle_sdl_event(mouse_motion(0, 0), g), 0) << "closed: not consumed";
}

TEST_F(TroopMoveTest, SplitOfAWholeGarrisonStackAndRefusedTargets) {
    set_army(g.castles[town], {{ORC, 10}, {WOLF, 3}});
    apply_troop_split({SLOT_GARRISON, 0}, {SLOT_HERO, 0}, 10, g, town, hero);
    EXPECT_TRUE(garrison().slot_empty(0));
    EXPECT_EQ(garrison().ids[0], EMPTY_ID);
    EXPECT_EQ(army().ids[0], ORC);
    EXPECT_EQ(army().counts[0], 10);
    // Onto another creature, zero, or past the end: nothing.
    apply_troop_split({SLOT_GARRISON, 1}, {SLOT_HERO, 0}, 2, g, town, hero);
    apply_troop_split({SLOT_GARRISON, 1}, {SLOT_GARRISON, 2}, 0, g, town, hero);
    apply_troop_split({SLOT_GARRISON, 1}, {SLOT_GARRISON, 5}, 1, g, town, hero);
    apply_troop_split({SLOT_GARRISON, 1}, {SLOT_GARRISON, 2}, 1, g, 9, hero);
    EXPECT_EQ(garrison().counts[1], 3);
    EXPECT_EQ(army().counts[0], 10);
    // A larger amount than the stack moves the stack.
    apply_troop_split({SLOT_GARRISON, 1}, {SLOT_GARRISON, 4}, 99, g, town, hero);
    EXPECT_EQ(garrison().counts[4], 3);
    EXPECT_TRUE(garrison().slot_empty(1));

    // Escape and Cancel end the dialog and the selection without a change.
    set_army(g.castles[town], {{ORC, 10}});
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_GARRISON, 1}, g, town, hero, true);
    EXPECT_EQ(tm.split.max_count, 10) << "a garrison may split all of it";
    split_click(tm, g, tm.split.up_rect);
    tm.handle_sdl_event(key_down(SDLK_ESCAPE), g);
    EXPECT_FALSE(tm.split.open);
    EXPECT_FALSE(tm.selected.valid());
    EXPECT_EQ(garrison().counts[0], 10);

    // With the option clear a split into an empty slot of the same army is refused.
    tm.allow_split_into_empty = false;
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, town, hero, false);
    tm.handle_slot_click({SLOT_GARRISON, 1}, g, town, hero, true);
    EXPECT_FALSE(tm.split.open);
    EXPECT_FALSE(tm.selected.valid());
    tm.clear();
    EXPECT_FALSE(tm.allow_split_into_empty);
}

TEST_F(TroopMoveTest, MeetingWindowVariants) {
    const int b = add_hero(g, 0);
    set_hero_army(g, hero, {{ORC, 5}});
    set_hero_army(g, b, {{ORC, 2}, {WOLF, 1}});
    // The first hero's only stack cannot leave into the second hero's empty slot.
    tm.handle_slot_click_swap({SLOT_HERO, 0}, g, hero, b, false);
    tm.handle_slot_click_swap({SLOT_HERO_B, 3}, g, hero, b, false);
    EXPECT_EQ(army().counts[0], 5);
    EXPECT_TRUE(g.heroes[b].army.slot_empty(3));
    EXPECT_FALSE(tm.selected.valid());
    // The second hero has two stacks: its wolf may move over.
    tm.handle_slot_click_swap({SLOT_HERO_B, 1}, g, hero, b, false);
    tm.handle_slot_click_swap({SLOT_HERO, 1}, g, hero, b, false);
    EXPECT_EQ(army().ids[1], WOLF);
    EXPECT_TRUE(g.heroes[b].army.slot_empty(1));

    // A split across heroes goes through the meeting window's rule.
    tm.handle_slot_click_swap({SLOT_HERO, 0}, g, hero, b, false);
    tm.handle_slot_click_swap({SLOT_HERO_B, 0}, g, hero, b, true);
    ASSERT_TRUE(tm.split.open);
    EXPECT_EQ(tm.split.castle, b);
    EXPECT_EQ(tm.split.hero, hero);
    EXPECT_EQ(tm.split.max_count, 5) << "hero A has two stacks now";
    split_click(tm, g, tm.split.up_rect);
    split_click(tm, g, tm.split.up_rect);
    EXPECT_EQ(handle_sdl_event_swap(tm, key_down(SDLK_RETURN), g), 1);
    EXPECT_FALSE(tm.split.open);
    EXPECT_EQ(army().counts[0], 3);
    EXPECT_EQ(g.heroes[b].army.counts[0], 4);
    EXPECT_EQ(handle_sdl_event_swap(tm, key_down(SDLK_RETURN), g), 0);
}

TEST(SlotHits, TownAndHeroScreenSpans) {
    EXPECT_EQ(castle_screen_slot_hit(111, 262, -1), (SlotAddr{SLOT_GARRISON, 0}));
    EXPECT_EQ(castle_screen_slot_hit(192, 354, -1), (SlotAddr{SLOT_GARRISON, 0}));
    EXPECT_FALSE(castle_screen_slot_hit(193, 300, -1).valid());
    EXPECT_FALSE(castle_screen_slot_hit(150, 355, 0).valid());
    EXPECT_EQ(castle_screen_slot_hit(544, 300, -1), (SlotAddr{SLOT_GARRISON, 4}));
    EXPECT_FALSE(castle_screen_slot_hit(545, 300, -1).valid());
    EXPECT_FALSE(castle_screen_slot_hit(200, 400, -1).valid()) << "no visiting hero";
    EXPECT_EQ(castle_screen_slot_hit(200, 400, 3), (SlotAddr{SLOT_HERO, 1}));
    EXPECT_EQ(hero_screen_slot_hit(156, 200), (SlotAddr{SLOT_HERO, 0}));
    EXPECT_EQ(hero_screen_slot_hit(589, 292), (SlotAddr{SLOT_HERO, 4}));
    EXPECT_FALSE(hero_screen_slot_hit(238, 250).valid());
    EXPECT_FALSE(hero_screen_slot_hit(200, 293).valid());
    EXPECT_EQ(castle_screen_slot_rect(SLOT_HERO, 2).x, 287);
    EXPECT_EQ(castle_screen_slot_rect(SLOT_HERO, 2).y, 361);
    EXPECT_EQ(hero_screen_slot_rect(5).w, 0);
}

using TroopMoveDraw = DialogCanvas;

TEST_F(TroopMoveDraw, SelectionFrameAndSplitDialog) {
    Resources& res = load({});
    GameState g = make_game(1);
    add_castle(g, 0, FACTION_KNIGHT, 0);
    set_army(g.castles[0], {{2, 6}});
    TroopMoveSystem tm;
    tm.handle_slot_click({SLOT_GARRISON, 0}, g, 0, -1, false);
    clear();
    tm.draw_selection(r, res, true);
    // Without STRIP.ICN: two red outlines on the slot's edge.
    EXPECT_TRUE(is(111, 262, {220, 30, 30, 255}));
    EXPECT_TRUE(is(112, 263, {220, 30, 30, 255}));
    EXPECT_TRUE(is(192, 354, {220, 30, 30, 255}));
    EXPECT_TRUE(is(114, 266, {0, 0, 0, 255}));
    clear();
    tm.draw_selection(r, res, false);
    EXPECT_TRUE(is(156, 200, {220, 30, 30, 255}));

    tm.handle_slot_click({SLOT_GARRISON, 1}, g, 0, -1, true);
    ASSERT_TRUE(tm.split.open);
    EventSystem ev;
    clear();
    tm.draw(r, res, ev, font);
    EXPECT_TRUE(is(275, 268, {60, 40, 100, 255})) << "count box fallback";
    EXPECT_GT(differing({177, 205, 286, 50}, at(180, 140)), 100) << "three lines of text";
}

}  // namespace
}  // namespace vorn1
