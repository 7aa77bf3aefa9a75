#include <gtest/gtest.h>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "battle/hex_field.h"

using namespace vorn1;

namespace {
BattleUnit stack_at(uint8_t id, uint8_t side, int row, int col, int count = 1) {
    BattleUnit u;
    u.creature = id;
    u.side = side;
    u.row = row;
    u.col = col;
    u.count = count;
    return u;
}
}  // namespace

TEST(HexField, DistanceValues) {
    EXPECT_EQ(BattleScreen::hex_distance(0, 1, 1, 1), 1);
    EXPECT_EQ(BattleScreen::hex_distance(1, 1, 2, 1), 1);
    EXPECT_EQ(BattleScreen::hex_distance(0, 1, 4, 7), 8);
    EXPECT_EQ(BattleScreen::hex_distance(0, 7, 4, 1), 8);
    EXPECT_EQ(BattleScreen::hex_distance(2, 1, 2, 7), 6);
    EXPECT_EQ(BattleScreen::hex_distance(1, 1, 3, 2), 2);
    EXPECT_EQ(BattleScreen::hex_distance(3, 3, 3, 3), 0);
}

TEST(HexField, NeighboursOfAnOddRow) {
    const int want[6][2] = {{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 1}, {2, 2}};
    for (int d = 0; d < 6; ++d) {
        int r = 0, c = 0;
        hex_step(1, 1, d, r, c);
        EXPECT_EQ(r, want[d][0]) << d;
        EXPECT_EQ(c, want[d][1]) << d;
    }
}

TEST(HexField, NeighbourAndDistanceProperties) {
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 9; ++c) {
            for (int d = 0; d < 6; ++d) {
                int nr = 0, nc = 0;
                hex_step(r, c, d, nr, nc);
                EXPECT_EQ(BattleScreen::hex_distance(r, c, nr, nc), 1) << r << "," << c << " d" << d;
                int br = 0, bc = 0;
                hex_step(nr, nc, opposite_dir(d), br, bc);
                EXPECT_EQ(br, r);
                EXPECT_EQ(bc, c);
            }
            for (int r2 = 0; r2 < 5; ++r2)
                for (int c2 = 0; c2 < 9; ++c2) {
                    int d1 = BattleScreen::hex_distance(r, c, r2, c2);
                    EXPECT_EQ(d1, BattleScreen::hex_distance(r2, c2, r, c));
                    EXPECT_EQ(d1 == 0, r == r2 && c == c2);
                    EXPECT_EQ(BattleScreen::screen_hex_distance(r, c, r2, c2),
                              BattleScreen::screen_hex_distance(r2, c2, r, c));
                }
        }
}

TEST(HexField, ScreenPlacement) {
    SDL_Rect a = BattleScreen::hex_rect(0, 1);
    EXPECT_EQ(a.x, 27);
    EXPECT_EQ(a.y, 62);
    EXPECT_EQ(a.w, 78);
    EXPECT_EQ(a.h, 80);
    SDL_Rect b = BattleScreen::hex_rect(3, 8);
    EXPECT_EQ(b.x, 612);
    EXPECT_EQ(b.y, 302);
    // Same row, neighbouring columns are 78 apart; dx 78 dy 0 -> 78.
    EXPECT_EQ(BattleScreen::screen_hex_distance(2, 2, 2, 3), 78);
    // One row down: dx 39, dy 80 -> 80 + 19.
    EXPECT_EQ(BattleScreen::screen_hex_distance(0, 1, 1, 1), 99);
    EXPECT_FLOAT_EQ(BattleScreen::move_step_span_dur(2, 2, 2, 2), 450.0f);
    EXPECT_FLOAT_EQ(BattleScreen::move_step_span_dur(0, 1, 2, 4), 1350.0f);
}

TEST(HexField, SectorOrder) {
    int out[6];
    sector_dirs_by_proximity(10, 0, out);  // pointing right
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(out[1], 1);  // -64 and 64 tie: the lower direction first
    EXPECT_EQ(out[2], 5);
    EXPECT_EQ(out[5], 2);
    sector_dirs_by_proximity(-10, 0, out);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[5], 3);
    sector_dirs_by_proximity(-5, 10, out);  // down-left (y grows downwards)
    EXPECT_EQ(out[0], 4);
}

TEST(HexOccupancy, TwoHexTailsAndEdges) {
    BattleScreen b;
    // A two-hex attacker at column 1 would have its tail on column 0; a defender at column 7 on 8.
    BattleUnit dragon_a = stack_at(23, 0, 2, 1);
    BattleUnit dragon_d = stack_at(23, 1, 2, 7);
    EXPECT_FALSE(b.can_occupy(dragon_a, 2, 1));
    EXPECT_TRUE(b.can_occupy(dragon_a, 2, 2));
    EXPECT_FALSE(b.can_occupy(dragon_d, 2, 7));
    EXPECT_TRUE(b.can_occupy(dragon_d, 2, 6));
    EXPECT_FALSE(b.can_occupy(stack_at(0, 0, 0, 0), 0, 0));
    EXPECT_FALSE(b.can_occupy(stack_at(0, 0, 0, 0), 5, 3));
    EXPECT_FALSE(b.can_occupy(stack_at(0, 0, 0, 0), 0, 8));

    b.defenders[0] = stack_at(23, 1, 2, 6);  // covers (2,6) and (2,7)
    EXPECT_EQ(b.unit_at_hex(2, 6), &b.defenders[0]);
    EXPECT_EQ(b.unit_at_hex(2, 7), &b.defenders[0]);
    EXPECT_EQ(b.unit_at_hex(2, 5), nullptr);
    EXPECT_TRUE(b.can_occupy(b.defenders[0], 2, 6));  // ignores itself
    EXPECT_FALSE(b.can_occupy(stack_at(3, 0, 2, 7), 2, 7));
    b.defenders[0].count = 0;  // a dead stack frees its hexes at once
    EXPECT_EQ(b.unit_at_hex(2, 7), nullptr);
    b.defenders[0].count = 3;
    b.defenders[0].alive = 0;
    EXPECT_FALSE(b.hex_occupied(2, 6, nullptr));
}

TEST(HexOccupancy, WallsObstaclesAndHardBlocks) {
    BattleScreen b;
    EXPECT_FALSE(b.hex_is_hard_blocked(-1, 3));
    EXPECT_FALSE(b.hex_is_hard_blocked(2, 9));
    EXPECT_TRUE(b.hex_is_hard_blocked(2, 0));
    EXPECT_TRUE(b.hex_is_hard_blocked(2, 8));
    EXPECT_FALSE(b.hex_is_hard_blocked(2, 5));
    b.scene_blocked[1][4] = 1;
    EXPECT_TRUE(b.hex_is_hard_blocked(1, 4));
    EXPECT_FALSE(b.can_occupy(stack_at(0, 0, 0, 0), 1, 4));
    // Two-hex attacker with its tail on the obstacle.
    EXPECT_FALSE(b.can_occupy(stack_at(23, 0, 0, 0), 1, 5));

    b.siege = 1;
    EXPECT_TRUE(b.hex_is_hard_blocked(3, 5));
    EXPECT_FALSE(b.can_occupy(stack_at(0, 0, 0, 0), 3, 5));
    b.wall_hp[3] = 0;
    EXPECT_FALSE(b.hex_is_hard_blocked(3, 5));
    EXPECT_TRUE(b.can_occupy(stack_at(0, 0, 0, 0), 3, 5));
    EXPECT_TRUE(b.hex_is_hard_blocked(2, 5));
}

TEST(HexOccupancy, FlyerLanding) {
    BattleScreen b;
    BattleUnit dragon = stack_at(23, 1, 0, 7);
    b.defenders[0] = dragon;
    // Column 4 blocked: the head shifts to column 2 so that the tail covers the pointed hex.
    b.scene_blocked[2][4] = 1;
    EXPECT_EQ(b.flyer_landing_col(b.defenders[0], 2, 3), 2);
    b.attackers[1] = stack_at(0, 0, 2, 2);
    EXPECT_EQ(b.flyer_landing_col(b.defenders[0], 2, 3), -1);
    b.scene_blocked[2][4] = 0;
    EXPECT_EQ(b.flyer_landing_col(b.defenders[0], 2, 3), 3);

    BattleUnit sprite = stack_at(12, 0, 0, 1);
    EXPECT_EQ(b.flyer_landing_col(sprite, 2, 2), -1);  // occupied
    EXPECT_EQ(b.flyer_landing_col(sprite, 4, 7), 7);
    // A two-hex attacker pointing at column 7: its head would be column 8, which cannot be held.
    EXPECT_EQ(b.flyer_landing_col(stack_at(20, 0, 0, 2), 4, 1), 2);
    EXPECT_EQ(b.flyer_landing_col(stack_at(20, 0, 0, 2), 4, 7), 7);
}

TEST(HexOccupancy, AdjacentEnemyAndAttackOrigin) {
    BattleScreen b;
    b.attackers[0] = stack_at(3, 0, 0, 3);
    b.defenders[0] = stack_at(3, 1, 0, 4);
    b.defenders[1] = stack_at(3, 1, 1, 2);
    // Direction order: up-left, up-right, left, right, down-left, down-right.
    EXPECT_EQ(b.adjacent_enemy(0, 3, false), &b.defenders[0]);
    EXPECT_EQ(b.adjacent_enemy(0, 4, true), &b.attackers[0]);
    // (0,2): its right neighbour holds the asker's own side and is passed over; down-right (1,2) is an enemy.
    EXPECT_EQ(b.adjacent_enemy(0, 2, false), &b.defenders[1]);
    EXPECT_EQ(b.adjacent_enemy(3, 3, false), nullptr);
    // Field edges: row 0 looks at no row -1, column 8 at no column 9.
    BattleScreen e;
    e.defenders[0] = stack_at(3, 1, 4, 8);
    EXPECT_EQ(e.adjacent_enemy(4, 7, false), &e.defenders[0]);
    EXPECT_EQ(e.adjacent_enemy(0, 8, false), nullptr);

    BattleUnit cav = stack_at(4, 0, 2, 3);  // tail at (2,2)
    int origin = -7;
    EXPECT_TRUE(cav.col == 3 && b.melee_attack_origin(cav, 2, 4, origin));
    EXPECT_EQ(origin, 3);
    origin = -7;
    EXPECT_TRUE(b.melee_attack_origin(cav, 2, 1, origin));
    EXPECT_EQ(origin, 2);
    origin = -7;
    EXPECT_FALSE(b.melee_attack_origin(cav, 0, 7, origin));
    EXPECT_EQ(origin, -7);
}

TEST(HexOccupancy, SpriteRectanglesNeedArt) {
    BattleScreen b;
    BattleResources res;
    b.battle_res = &res;
    BattleUnit u = stack_at(3, 0, 1, 2, 5);
    b.attackers[0] = u;
    SDL_Rect none = b.unit_sprite_rect(u, false);
    EXPECT_EQ(none.w, 0);
    SDL_Rect small = b.unit_sprite_center_rect(u, false);
    EXPECT_EQ(small.w, 16);
    EXPECT_EQ(small.h, 20);
    EXPECT_EQ(b.unit_at_screen(170, 200), nullptr);

    res.creatures[3].loaded = true;
    res.creatures[3].anims[STD].push_back(BattleSprite{nullptr, 50, 90, -20, -85});
    SDL_Rect r = b.unit_sprite_rect(u, false);  // hex x 144, anchor 183
    EXPECT_EQ(r.x, 163);
    EXPECT_EQ(r.y, 80 + 141 - 85);
    EXPECT_EQ(r.w, 50);
    SDL_Rect f = b.unit_sprite_rect(u, true);
    EXPECT_EQ(f.x, 183 - (-20 + 50));
    SDL_Rect c = b.unit_sprite_center_rect(u, false);
    EXPECT_EQ(c.w, 20);
    EXPECT_EQ(c.h, 45);
    EXPECT_EQ(c.x, 163 + 15);
    EXPECT_EQ(b.unit_at_screen(170, 200), &b.attackers[0]);
    EXPECT_EQ(b.unit_at_screen(163 + 50, 200), nullptr);  // half-open on the right
}
