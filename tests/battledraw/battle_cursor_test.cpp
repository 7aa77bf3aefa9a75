#include <gtest/gtest.h>

#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"

using namespace vorn1;

namespace {

BattleUnit stack_at(uint8_t id, uint8_t side, int row, int col, int count = 5) {
    BattleUnit u;
    u.creature = id;
    u.side = side;
    u.row = row;
    u.col = col;
    u.count = count;
    return u;
}

// Screen point at a fraction of a hex's rectangle.
void point_in_hex(int row, int col, int fx, int fy, int& x, int& y) {
    x = hex_row_x(row, col) + fx;
    y = row * 80 + 62 + fy;
}

void make_active(BattleScreen& b, int side, int slot) {
    b.queue.assign(1, TurnEntry{static_cast<uint8_t>(side), slot});
    b.current = 0;
}

}  // namespace

TEST(CombatCursor, StrikeShapesByDirection) {
    // Neighbours map through the direction table; row 2 is even.
    int r = 0, c = 0;
    const BattleCursor want[6] = {CursorStrikeUpLeft, CursorStrikeUpRight, CursorStrikeLeft,
                                  CursorStrikeRight, CursorStrikeDownLeft, CursorStrikeDownRight};
    for (int d = 0; d < 6; ++d) {
        hex_step(2, 4, d, r, c);
        EXPECT_EQ(BattleScreen::attack_cursor(2, 4, r, c), want[d]) << d;
    }
    // Farther hexes by the row and column differences.
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 0, 4), CursorStrikeUpRight);
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 0, 1), CursorStrikeUpLeft);
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 4, 6), CursorStrikeDownRight);
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 4, 2), CursorStrikeDownLeft);
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 2, 7), CursorStrikeRight);
    EXPECT_EQ(BattleScreen::attack_cursor(2, 4, 2, 1), CursorStrikeLeft);
}

TEST(CombatCursor, WalkFlyTentsAndBusyStates) {
    BattleScreen b;
    b.attackers[0] = stack_at(3, 0, 2, 1);
    b.defenders[0] = stack_at(12, 1, 0, 8);
    make_active(b, 0, 0);
    int x = 0, y = 0;
    point_in_hex(2, 2, 39, 40, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorWalk);
    point_in_hex(2, 8, 39, 40, x, y);  // beyond a swordsman's reach
    const int range = battle_move_range(b.attackers[0]);
    EXPECT_EQ(b.cursor_for_position(x, y), range >= 7 ? CursorWalk : CursorNone);
    EXPECT_EQ(b.cursor_for_position(300, 20), CursorNone);  // above the field

    make_active(b, 1, 0);  // a flyer
    point_in_hex(1, 7, 39, 40, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorFly);
    b.defenders[0].disabled = 1;
    EXPECT_EQ(b.cursor_for_position(x, y), CursorNone);

    b.attacker_tent_rect = SDL_Rect{0, 157, 76, 100};
    EXPECT_EQ(b.cursor_for_position(10, 200), CursorAttackerHero);
    b.defender_tent_rect = SDL_Rect{564, 317, 76, 100};
    EXPECT_EQ(b.cursor_for_position(600, 350), CursorNone);  // no defending hero
    b.defender_side.hero = 2;
    EXPECT_EQ(b.cursor_for_position(600, 350), CursorInfo);

    b.phase = ActionPhase::Moving;
    EXPECT_EQ(b.cursor_for_position(10, 200), CursorNone);
    b.spell_aiming = 1;
    EXPECT_EQ(b.cursor_for_position(10, 200), CursorSpell);
    EXPECT_EQ(b.cursor_for_position(300, 5), CursorSpell);
}

TEST(CombatCursor, StrikesFromTheSideThePointerLeansTo) {
    BattleScreen b;
    b.attackers[0] = stack_at(3, 0, 2, 2);
    b.defenders[0] = stack_at(3, 1, 2, 4);
    make_active(b, 0, 0);
    int x = 0, y = 0;
    // Left part of the enemy's hex: the swordsman strikes from (2, 3) towards the right.
    point_in_hex(2, 4, 4, 60, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorStrikeRight);
    // Right part: the hexes right of it are out of a swordsman's reach, so the next side in the
    // ranking that can be reached (up-left) gives the shape.
    ASSERT_EQ(battle_move_range(b.attackers[0]), 2);
    point_in_hex(2, 4, 74, 60, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorStrikeDownRight);
    // An empty hex next to the enemy strikes it from there, wherever the pointer leans.
    point_in_hex(2, 3, 74, 60, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorStrikeRight);
    point_in_hex(2, 3, 4, 60, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorStrikeRight);
    // An empty hex not touching the enemy: a plain walk.
    point_in_hex(1, 2, 39, 40, x, y);
    EXPECT_EQ(b.cursor_for_position(x, y), CursorWalk);
    // A disabled active stack can do nothing.
    b.attackers[0].disabled = 1;
    EXPECT_EQ(b.cursor_for_position(x, y), CursorNone);
}
