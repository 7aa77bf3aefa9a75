#include <gtest/gtest.h>

#include "battle/battle_combat.h"
#include "battle/battle_rules_fixture.h"

using namespace vorn1;
using vorn1::test::put;
using vorn1::test::queue_all;

using Path = std::vector<HexStep>;

TEST(BattlePath, RangeWallsOfStacksAndFlights) {
    BattleScreen b;
    BattleUnit& ogres = put(b, 0, 9, 5, 2, 3);  // walker, range 1
    EXPECT_EQ(b.find_path(ogres, 2, 4), (Path{{2, 4}}));
    EXPECT_TRUE(b.find_path(ogres, 2, 5).empty());
    EXPECT_TRUE(b.find_path(ogres, 2, 0).empty());  // edge strip

    // A line of stacks down column 4 stops a walker; a flyer lands beyond it.
    BattleScreen c;
    BattleUnit& swords = put(c, 0, 3, 5, 2, 3);  // range 2
    for (int r = 0; r < 5; ++r) put(c, 5 + r, 0, 1, r, 4);
    EXPECT_TRUE(c.find_path(swords, 2, 5).empty());
    BattleUnit& sprites = put(c, 1, 12, 5, 4, 1);
    EXPECT_EQ(c.find_path(sprites, 2, 5), (Path{{2, 5}}));
    EXPECT_TRUE(c.find_path(sprites, 2, 4).empty());  // occupied

    // Slow and Haste.
    EXPECT_EQ(battle_move_range(swords), 2);
    swords.spell_status = 4;
    EXPECT_EQ(battle_move_range(swords), 1);
    swords.spell_status = 10;
    EXPECT_EQ(battle_move_range(swords), 3);
    BattleUnit dragon;
    dragon.creature = 23;
    EXPECT_EQ(battle_move_range(dragon), 6);
    dragon.spell_status = 4;
    EXPECT_EQ(battle_move_range(dragon), 3);
    dragon.spell_status = 10;
    EXPECT_EQ(battle_move_range(dragon), 9);
}

TEST(BattlePath, SiegeWallAndTwoHexTails) {
    BattleScreen b;
    b.siege = 1;
    BattleUnit& pikes = put(b, 0, 2, 5, 2, 4);
    for (int r = 0; r < 5; ++r) EXPECT_TRUE(b.find_path(pikes, r, 6).empty()) << r;
    b.wall_hp[2] = 0;
    EXPECT_EQ(b.find_path(pikes, 2, 6), (Path{{2, 5}, {2, 6}}));
    EXPECT_TRUE(b.find_path(pikes, 1, 6).empty());  // row 1's section still stands

    // A two-hex walker's head may pass a hex where its tail would not fit; the destination must fit both.
    BattleScreen c;
    BattleUnit& cav = put(c, 0, 4, 2, 0, 4);  // tail (0,3)
    c.scene_blocked[1][4] = 1;
    c.scene_blocked[1][2] = 1;  // the tail of a head on (1,3)
    EXPECT_EQ(c.find_path(cav, 2, 4), (Path{{1, 3}, {2, 4}}));
    c.scene_blocked[2][3] = 1;  // now the destination's tail hex is blocked
    EXPECT_TRUE(c.find_path(cav, 2, 4).empty());
}

TEST(BattlePath, ShortestPathTakesTheFirstDirection) {
    BattleScreen b;
    BattleUnit& swords = put(b, 0, 3, 5, 2, 2);
    put(b, 5, 0, 1, 2, 3);
    EXPECT_TRUE(b.find_path(swords, 2, 4).empty());  // both 2-step ways pass (2,3)
    // Hasted, two equally short ways lead round it: over the top, found first.
    swords.spell_status = 10;
    EXPECT_EQ(b.find_path(swords, 2, 4), (Path{{1, 2}, {1, 3}, {2, 4}}));
    b.scene_blocked[1][3] = 1;
    EXPECT_EQ(b.find_path(swords, 2, 4), (Path{{3, 2}, {3, 3}, {2, 4}}));
}

TEST(BattleApproach, DirectionalStrikes) {
    BattleScreen b;
    BattleUnit& swords = put(b, 0, 3, 5, 2, 1);
    put(b, 5, 0, 5, 2, 4);
    int r = 0, c = 0, sc = 0;
    bool back = false;
    // A blow to the right stands on (2,3), two hexes away.
    ASSERT_TRUE(b.resolve_directional_melee(swords, 2, 4, 3, r, c, sc, back));
    EXPECT_EQ(r, 2);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(sc, 3);
    EXPECT_FALSE(back);
    EXPECT_FALSE(b.resolve_directional_melee(swords, 2, 4, 2, r, c, sc, back));  // (2,5) is out of range
    EXPECT_FALSE(b.resolve_directional_melee(swords, 2, 4, 6, r, c, sc, back));
    EXPECT_FALSE(b.resolve_directional_melee(swords, 0, 4, 5, r, c, sc, back));  // stand hex above row 0

    // A two-hex attacker striking leftwards stands with its tail on the striking hex.
    BattleScreen d;
    BattleUnit& cav = put(d, 0, 4, 2, 2, 7);  // tail (2,6)
    put(d, 5, 0, 5, 2, 3);
    ASSERT_TRUE(d.resolve_directional_melee(cav, 2, 3, 2, r, c, sc, back));
    EXPECT_TRUE(back);
    EXPECT_EQ(sc, 4);
    EXPECT_EQ(c, 5);

    // Strike from where it stands: no walk.
    BattleScreen e;
    BattleUnit& s2 = put(e, 0, 3, 5, 2, 3);
    BattleUnit& t2 = put(e, 5, 0, 5, 2, 4);
    queue_all(e, 0);
    EXPECT_TRUE(e.begin_directional_attack(s2, t2, 2, 4, 3));
    EXPECT_EQ(e.phase, ActionPhase::MeleeStrike);
    EXPECT_EQ(e.striker, 0);
    EXPECT_EQ(e.struck, 5);
    // Away from it: a walk with the target pending.
    BattleScreen f;
    BattleUnit& s3 = put(f, 0, 3, 5, 2, 1);
    BattleUnit& t3 = put(f, 5, 0, 5, 2, 4);
    queue_all(f, 0);
    EXPECT_TRUE(f.begin_directional_attack(s3, t3, 2, 4, 3));
    EXPECT_EQ(f.phase, ActionPhase::Moving);
    EXPECT_EQ(f.move_path.back(), (HexStep{2, 3}));
    EXPECT_EQ(f.struck, 5);

    // The mouse picks the side: from below right of the target the stand hex is down-right.
    BattleScreen g;
    BattleUnit& s4 = put(g, 0, 3, 5, 3, 2);
    BattleUnit& t4 = put(g, 5, 0, 5, 2, 4);
    int fx = 0, fy = 0;
    hex_foot_point(2, 4, fx, fy);
    ASSERT_TRUE(g.find_approach_tile(s4, t4, fx - 30, fy - 40, r, c, sc));
    EXPECT_EQ(r, 1);
    EXPECT_EQ(c, 3);
    ASSERT_TRUE(g.find_approach_tile(s4, t4, fx - 30, fy + 40, r, c, sc));
    EXPECT_EQ(r, 3);
    EXPECT_EQ(c, 3);
    // From the right an attacker would strike facing backwards: those sides are passed over.
    ASSERT_TRUE(g.find_approach_tile(s4, t4, fx + 30, fy + 40, r, c, sc));
    EXPECT_EQ(r, 3);
    EXPECT_EQ(c, 3);
}

TEST(BattleStarter, ActingOnAHex) {
    // Two neighbours of the target equally near: the lower direction wins.
    BattleScreen b;
    put(b, 0, 3, 5, 0, 4);
    put(b, 5, 0, 5, 2, 4);
    queue_all(b, 0);
    b.start_move_or_attack(2, 4);
    ASSERT_EQ(b.phase, ActionPhase::Moving);
    EXPECT_EQ(b.move_path.back(), (HexStep{1, 3}));
    EXPECT_EQ(b.struck, 5);

    // Out of reach: the stack walks as near as it can and keeps the target.
    BattleScreen c;
    put(c, 0, 9, 5, 2, 1);  // Ogres, range 1
    put(c, 5, 0, 5, 2, 6);
    queue_all(c, 0);
    c.start_move_or_attack(2, 6);
    ASSERT_EQ(c.phase, ActionPhase::Moving);
    EXPECT_EQ(c.move_path, (Path{{2, 2}}));
    EXPECT_EQ(c.struck, 5);

    // Next to the target: the strike starts at once.
    BattleScreen d;
    put(d, 0, 3, 5, 2, 3);
    put(d, 5, 0, 5, 2, 4);
    queue_all(d, 0);
    d.start_move_or_attack(2, 4);
    EXPECT_EQ(d.phase, ActionPhase::MeleeStrike);
    EXPECT_EQ(d.message, "BATTLE_ATTACKS");

    // A free hex out of reach, a flight beyond range, and the own hex.
    BattleScreen e;
    put(e, 0, 3, 5, 2, 1);
    BattleUnit& griffin = put(e, 1, 20, 5, 4, 2);
    griffin.spell_status = 4;  // slowed: range 3
    put(e, 5, 0, 5, 0, 7);
    queue_all(e, 0);
    e.start_move_or_attack(2, 5);
    EXPECT_EQ(e.phase, ActionPhase::Idle);
    EXPECT_EQ(e.message, "BATTLE_CANNOT_MOVE");
    queue_all(e, 1);
    e.message.clear();
    e.start_move_or_attack(4, 6);
    EXPECT_EQ(e.phase, ActionPhase::Idle);
    EXPECT_EQ(e.message, "BATTLE_CANNOT_MOVE");
    e.start_move_or_attack(4, 5);
    EXPECT_EQ(e.phase, ActionPhase::Moving);
    EXPECT_EQ(e.move_path, (Path{{4, 5}}));

    BattleScreen f;
    put(f, 0, 3, 5, 2, 1);
    put(f, 5, 0, 5, 0, 7);
    queue_all(f, 0);
    f.start_move_or_attack(2, 1);  // own hex, nobody near: the turn ends
    EXPECT_EQ(f.current, 1);

    // A walk to a hex next to enemies takes the one nearest the pointer as its target.
    BattleScreen g;
    put(g, 0, 3, 5, 2, 1);
    put(g, 5, 0, 5, 1, 3);
    put(g, 6, 0, 5, 3, 3);
    queue_all(g, 0);
    int fx = 0, fy = 0;
    hex_foot_point(3, 3, fx, fy);
    g.mouse_x = fx;
    g.mouse_y = fy - 5;
    g.start_move_or_attack(2, 3);
    EXPECT_EQ(g.phase, ActionPhase::Moving);
    EXPECT_EQ(g.struck, 6);
}
