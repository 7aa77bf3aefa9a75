#include <gtest/gtest.h>

#include "battle/battle_combat.h"
#include "battle/battle_rules_fixture.h"
#include "lang/runtime_strings.h"

using namespace vorn1;
using vorn1::test::put;

namespace {
uint32_t stepped(uint32_t seed, int n) {
    for (int i = 0; i < n; ++i) xorshift32_next(seed);
    return seed;
}

int hit_points(const BattleUnit& u) { return (u.count - 1) * creature_hp(u.creature) + u.top_hp; }
}  // namespace

TEST(BattleDamage, WorkedExamplesAndDrawCounts) {
    BattleScreen b;
    // 1 Peasant against a Phoenix: difference -9, 0.39 rounds to 0 and is raised to 1; only the luck draw.
    BattleUnit& peasant = put(b, 0, 0, 1, 2, 3);
    BattleUnit& phoenix = put(b, 5, 17, 3, 2, 5);
    uint32_t r = 1;
    EXPECT_EQ(b.compute_damage(peasant, phoenix, false, r, false, false, false), 1);
    EXPECT_EQ(r, stepped(1, 1));

    // Blessed Swordsmen take their maximum without a base draw: 60 x 0.81 -> 49.
    BattleUnit& swords = put(b, 0, 3, 10, 2, 3);
    swords.spell_status = 0;
    BattleUnit& pikes = put(b, 5, 2, 10, 2, 4);
    r = 1;
    int dmg = b.compute_damage(swords, pikes, false, r, false, false, false);
    EXPECT_EQ(dmg, 49);
    EXPECT_EQ(r, stepped(1, 1));
    EXPECT_FALSE(b.apply_damage(pikes, dmg));
    EXPECT_EQ(pikes.count, 7);
    EXPECT_EQ(pikes.top_hp, 11);
    swords.spell_status = 1;  // Curse: the minimum, 40 x 0.81 -> 32
    r = 1;
    EXPECT_EQ(b.compute_damage(swords, pikes, false, r, false, false, false), 32);

    // Cavalry against Wolves from state 1: base 5 + 3 = 8, 40 x 2.14 -> 86; base and luck draws.
    BattleUnit& cav = put(b, 0, 4, 5, 2, 3);
    BattleUnit& wolves = put(b, 5, 8, 10, 2, 5);
    r = 1;
    dmg = b.compute_damage(cav, wolves, false, r, false, false, false);
    EXPECT_EQ(dmg, 86);
    EXPECT_EQ(r, stepped(1, 2));
    b.apply_damage(wolves, dmg);
    EXPECT_EQ(wolves.count, 6);
    EXPECT_EQ(wolves.top_hp, 14);

    // Archers: 44 by a shot; half of it in melee next to the target, the whole at two hexes.
    BattleUnit& archers = put(b, 0, 1, 10, 2, 2);
    BattleUnit& target = put(b, 5, 0, 100, 2, 6);
    r = 1;
    EXPECT_EQ(b.compute_damage(archers, target, false, r, true, false, false), 44);
    target.col = 4;
    r = 1;
    EXPECT_EQ(b.compute_damage(archers, target, false, r, false, false, false), 44);
    target.col = 3;
    r = 1;
    EXPECT_EQ(b.compute_damage(archers, target, false, r, false, false, false), 22);
    // Force flags skip the luck draw but not the base draw.
    r = 1;
    EXPECT_EQ(b.compute_damage(archers, target, false, r, true, true, false), 88);
    EXPECT_EQ(r, stepped(1, 1));
    r = 1;
    EXPECT_EQ(b.compute_damage(archers, target, false, r, true, false, true), 22);
}

TEST(BattleDamage, DefenceBonusesAndHeroSkills) {
    BattleScreen b;
    BattleUnit& archers = put(b, 0, 1, 10, 2, 2);
    BattleUnit& swords = put(b, 5, 3, 50, 2, 6);
    auto shot = [&] {
        uint32_t r = 1;  // base roll 3: 30 damage before the curve
        return b.compute_damage(archers, swords, false, r, true, false, false);
    };
    EXPECT_EQ(shot(), 20);  // 5 - 9 = -4: 0.66
    b.siege = 1;
    EXPECT_EQ(shot(), 13);  // behind a standing wall: -8, 0.43
    b.wall_hp[2] = 0;
    EXPECT_EQ(shot(), 20);  // the section is rubble
    b.wall_hp[2] = 1;
    archers.col = 5;  // a shooter past column 4 gets no wall in the way
    EXPECT_EQ(shot(), 20);
    archers.col = 2;
    b.siege = 0;
    swords.spell_status = 3;  // Protection: -7, 0.48
    EXPECT_EQ(shot(), 14);
    swords.spell_status = 255;
    b.attacker_side.attack = 30;  // 35 - 9 clamps to +20: 5.00
    EXPECT_EQ(shot(), 150);
    b.attacker_side.attack = 0;
    b.defender_side.defense = 40;  // clamps to -20: 0.20
    EXPECT_EQ(shot(), 6);
}

TEST(BattleDamage, SilentLuckRoll) {
    BattleScreen b;
    BattleUnit& archers = put(b, 0, 1, 10, 2, 2);
    BattleUnit& peasants = put(b, 5, 0, 100, 2, 6);
    int doubled = 0, halved = 0;
    for (uint32_t seed = 1; seed <= 480; ++seed) {
        auto with_luck = [&](int luck) {
            b.attacker_side.luck = static_cast<int8_t>(luck);
            uint32_t r = seed;
            return b.compute_damage(archers, peasants, false, r, true, false, false);
        };
        int plain = with_luck(0);
        // Luck above 3 acts as 3, below -3 as -3.
        EXPECT_EQ(with_luck(3), with_luck(5));
        EXPECT_EQ(with_luck(-3), with_luck(-7));
        int good = with_luck(2), bad = with_luck(-2);
        EXPECT_TRUE(good == plain || good == plain * 2);
        EXPECT_TRUE(bad == plain || bad == plain / 2);
        // Better luck never loses a doubling that weaker luck got.
        if (with_luck(1) == plain * 2) {
            EXPECT_EQ(with_luck(3), plain * 2);
        }
        doubled += good == plain * 2;
        halved += bad == plain / 2;
    }
    // 4 chances in 24 either way: about 80 of 480.
    EXPECT_GT(doubled, 50);
    EXPECT_LT(doubled, 115);
    EXPECT_GT(halved, 50);
    EXPECT_LT(halved, 115);

    // At the edges of the chance. Blessed Archers draw only for luck: seed 118 draws 1 (mod 24), 117 draws 2,
    // 54 draws 5 and 6 draws 6.
    archers.spell_status = 0;
    auto shot = [&](int luck, uint32_t seed) {
        b.attacker_side.luck = static_cast<int8_t>(luck);
        uint32_t r = seed;
        return b.compute_damage(archers, peasants, false, r, true, false, false);
    };
    EXPECT_EQ(shot(0, 118), 44);
    EXPECT_EQ(shot(1, 118), 88);
    EXPECT_EQ(shot(1, 117), 44);
    EXPECT_EQ(shot(3, 54), 88);
    EXPECT_EQ(shot(5, 6), 44);
    EXPECT_EQ(shot(-1, 118), 22);
    EXPECT_EQ(shot(-1, 117), 44);
    EXPECT_EQ(shot(-3, 54), 22);
    EXPECT_EQ(shot(-7, 54), 22);
    EXPECT_EQ(shot(-7, 6), 44);
}

TEST(BattleDamage, RemovingLossesAndBrokenSpells) {
    BattleScreen b;
    BattleUnit& pikes = put(b, 5, 2, 4, 1, 5);  // 60 hit points
    pikes.top_hp = 5;                           // 50 in all
    pikes.spell_status = 8;
    pikes.disabled = 1;
    EXPECT_FALSE(b.apply_damage(pikes, 6));  // 44 left: 3 creatures, 14 on top
    EXPECT_EQ(pikes.count, 3);
    EXPECT_EQ(pikes.top_hp, 14);
    EXPECT_EQ(pikes.disabled, 0);  // any damage ends blindness
    EXPECT_EQ(pikes.spell_status, 255);
    pikes.spell_status = 0;  // Bless is not broken by a blow
    EXPECT_FALSE(b.apply_damage(pikes, 1));
    EXPECT_EQ(pikes.spell_status, 0);
    EXPECT_TRUE(b.apply_damage(pikes, 43));  // exactly all of it
    EXPECT_EQ(pikes.count, 0);
    EXPECT_EQ(pikes.alive, 0);
    // The struck stack winces to frame 9 when killed, to 3 when it lost creatures, not at all otherwise.
    EXPECT_EQ(reaction_frames(true, 5, 0), 9);
    EXPECT_EQ(reaction_frames(false, 5, 4), 3);
    EXPECT_EQ(reaction_frames(false, 5, 5), -1);
}

TEST(BattleMelee, WhoRetaliates) {
    BattleScreen b;
    BattleUnit& peasants = put(b, 0, 0, 1, 2, 3);
    BattleUnit& griffins = put(b, 5, 20, 50, 2, 4);
    for (int i = 0; i < 3; ++i) {
        b.resolve_attack_hit(&peasants, &griffins);
        EXPECT_EQ(b.retal_pending, 1) << "blow " << i;
        b.resolve_retaliation_hit(&griffins, &peasants);
        EXPECT_EQ(b.retal_pending, 0);
        peasants = BattleUnit{};
        put(b, 0, 0, 1, 2, 3);
    }
    BattleUnit& swords = put(b, 5, 3, 50, 2, 4);
    b.resolve_attack_hit(&peasants, &swords);
    EXPECT_EQ(b.retal_pending, 1);
    EXPECT_EQ(swords.retaliated, 1);
    b.resolve_attack_hit(&peasants, &swords);
    EXPECT_EQ(b.retal_pending, 0);  // once a round

    swords.retaliated = 0;
    for (uint8_t never : {12, 24, 22}) {
        BattleUnit& att = put(b, 1, never, 1, 2, 5);
        b.resolve_attack_hit(&att, &swords);
        EXPECT_EQ(b.retal_pending, 0) << int(never);
    }
    swords.paralysed = 1;
    swords.disabled = 1;
    b.resolve_attack_hit(&peasants, &swords);
    EXPECT_EQ(b.retal_pending, 0);
    EXPECT_EQ(swords.paralysed, 0);  // the blow ended the paralysis all the same
    BattleUnit& blind = put(b, 6, 3, 50, 1, 4);
    blind.disabled = 1;  // blinded: disabled but not paralysed
    b.resolve_attack_hit(&peasants, &blind);
    EXPECT_EQ(b.retal_pending, 1);
    // A dead stack does not answer, and an answer owed by one that died meanwhile is dropped.
    BattleUnit& one = put(b, 7, 0, 1, 3, 4);
    BattleUnit& dragon = put(b, 2, 23, 1, 3, 3);
    b.resolve_attack_hit(&dragon, &one);
    EXPECT_EQ(b.retal_pending, 0);
    b.retal_pending = 1;
    b.resolve_retaliation_hit(&one, &dragon);
    EXPECT_EQ(b.retal_pending, 0);
    EXPECT_EQ(b.hit.killed, 1);
    EXPECT_EQ(b.hit.reaction, 9);
    EXPECT_EQ(b.hit.kind, DMG_BLUEFIRE);
    EXPECT_EQ(b.hit.x, 300 + 39);  // the foot point of (3,4)
    EXPECT_EQ(b.hit.y, 3 * 80 + 141);
    // Whose blows show which effect.
    for (int id = 0; id < 28; ++id) {
        const uint8_t kind = (id == 12 || id == 16) ? DMG_ELECTRIC : (id == 15 || id == 17) ? DMG_REDFIRE
                             : (id == 19 || id == 23) ? DMG_BLUEFIRE : (id == 26 || id == 27) ? DMG_CLOUD : DMG_PHYSICAL;
        EXPECT_EQ(hit_effect_by_attacker(static_cast<uint8_t>(id)), kind) << id;
    }
}

TEST(BattleMelee, GhostAndGenie) {
    BattleScreen b;
    BattleUnit& ghosts = put(b, 0, 26, 10, 2, 3);
    BattleUnit& peasants = put(b, 5, 0, 7, 2, 4);
    b.resolve_attack_hit(&ghosts, &peasants);
    EXPECT_EQ(peasants.alive, 0);
    EXPECT_EQ(ghosts.count, 17);
    EXPECT_EQ(b.message, "BATTLE_GHOST_ABSORB");
    EXPECT_EQ(b.hit.kind, DMG_CLOUD);
    // A stack that survives gives only what the blow killed; blessed Ghosts strike 60 x 1.95 -> 117.
    BattleUnit& blessed = put(b, 1, 26, 10, 3, 3);
    blessed.spell_status = 0;
    BattleUnit& crowd = put(b, 6, 0, 200, 3, 4);
    b.resolve_attack_hit(&blessed, &crowd);
    EXPECT_EQ(crowd.count, 83);
    EXPECT_EQ(blessed.count, 127);
    // Answering, they grow as well: 117 more would kill the 83 left, who are all taken.
    b.resolve_retaliation_hit(&blessed, &crowd);
    EXPECT_EQ(crowd.alive, 0);
    EXPECT_EQ(blessed.count, 210);

    // The Genie's third draw decides: a hit on 2 mod 5 cuts a big stack to half its count.
    int cut = 0, plain = 0;
    for (uint32_t seed = 1; seed < 60; ++seed) {
        BattleScreen g;
        BattleUnit& genie = put(g, 0, 27, 1, 2, 3);
        BattleUnit& many = put(g, 5, 0, 1000, 2, 4);
        g.rng = seed;
        g.resolve_attack_hit(&genie, &many);
        bool lucky = stepped(seed, 3) % 5 == 2;
        EXPECT_EQ(g.rng, stepped(seed, 3));
        EXPECT_EQ(g.hit.kind, DMG_CLOUD);
        if (lucky) {
            EXPECT_EQ(many.count, 500);
            EXPECT_EQ(many.top_hp, 1);
            ++cut;
        } else {
            EXPECT_GT(many.count, 900);
            ++plain;
        }
    }
    EXPECT_GT(cut, 0);
    EXPECT_GT(plain, 0);
    // A blow that already killed half or more is left as it is.
    for (uint32_t seed = 1; seed < 60; ++seed) {
        if (stepped(seed, 3) % 5 != 2) continue;
        BattleScreen g;
        BattleUnit& genie = put(g, 0, 27, 1, 2, 3);
        BattleUnit& few = put(g, 5, 0, 20, 2, 4);
        g.rng = seed;
        g.resolve_attack_hit(&genie, &few);
        EXPECT_EQ(few.alive, 0);  // 47+ damage kills 20 Peasants; no cut, no revival
        EXPECT_EQ(few.count, 0);
    }
    // Exactly half killed: the wounded top creature stays wounded. A blessed Genie draws for luck, then for
    // its cut (seed 13: 2 mod 5), and strikes 30 x 2.36 -> 71: 23 of 46 Goblins and 2 of the next one's 3.
    ASSERT_EQ(stepped(13, 2) % 5, 2u);
    BattleScreen h;
    BattleUnit& genie = put(h, 0, 27, 1, 2, 3);
    genie.spell_status = 0;
    BattleUnit& goblins = put(h, 5, 6, 46, 2, 4);
    h.rng = 13;
    h.resolve_attack_hit(&genie, &goblins);
    EXPECT_EQ(goblins.count, 23);
    EXPECT_EQ(goblins.top_hp, 1);
    EXPECT_EQ(h.message, "BATTLE_DOES_DAMAGE");
}

TEST(BattleMelee, HydraStrikesEveryNeighbourInDirectionOrder) {
    BattleScreen b;
    BattleUnit& hydra = put(b, 0, 22, 5, 2, 4);  // tail on (2,3)
    put(b, 5, 3, 30, 2, 5);                        // struck, right of the head
    put(b, 6, 2, 30, 1, 4);                        // up-right of the head
    put(b, 7, 6, 30, 3, 3);                        // down-left of the head and down-right of the tail
    put(b, 8, 13, 30, 2, 2);                       // left of the tail
    put(b, 9, 9, 30, 3, 4);                        // down-right of the head
    put(b, 1, 9, 30, 1, 3);                        // own stack, up-left of the head
    b.resolve_attack_hit(&hydra, b.unit_by_index(5));
    ASSERT_EQ(b.splash.size(), 4u);
    EXPECT_EQ(b.splash[0].unit, 6);
    EXPECT_EQ(b.splash[1].unit, 7);
    EXPECT_EQ(b.splash[2].unit, 9);
    EXPECT_EQ(b.splash[3].unit, 8);
    EXPECT_EQ(b.splash_active, 1);
    EXPECT_EQ(b.struck_ids, (std::vector<int32_t>{3, 2, 6, 9, 13}));
    EXPECT_EQ(b.retal_pending, 0);  // nobody answers a Hydra
    EXPECT_EQ(b.unit_by_index(1)->count, 30);
    for (int i = 6; i <= 9; ++i) EXPECT_LT(b.unit_by_index(i)->count, 30);

    // Berserk, it strikes its own side as well, in the same walk.
    hydra.berserk = 1;
    b.struck_ids.clear();
    b.resolve_attack_hit(&hydra, b.unit_by_index(5));
    ASSERT_EQ(b.splash.size(), 5u);
    EXPECT_EQ(b.splash[0].unit, 1);
    EXPECT_LT(b.unit_by_index(1)->count, 30);
}

TEST(BattleMelee, ParalysisAndBlindness) {
    int paralysed = 0;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        BattleScreen b;
        BattleUnit& cyc = put(b, 0, 11, 1, 2, 3);
        BattleUnit& swords = put(b, 5, 3, 100, 2, 4);
        BattleUnit& dragon = put(b, 6, 23, 10, 3, 4);
        BattleUnit& shielded = put(b, 7, 3, 100, 1, 4);
        shielded.spell_status = 7;
        b.rng = seed;
        b.resolve_attack_hit(&cyc, &swords);
        EXPECT_EQ(b.rng, stepped(seed, 3));  // base, luck, paralysis
        if (swords.disabled) {
            ++paralysed;
            EXPECT_EQ(swords.berserk, 0);
            EXPECT_EQ(swords.spell_status, 18);
            EXPECT_EQ(swords.status_rounds, 3);
            EXPECT_EQ(swords.paralysed, 1);
            EXPECT_EQ(b.message, "Swordsman is paralyzed by the Cyclops!");
        }
        b.rng = seed;
        b.resolve_attack_hit(&cyc, &dragon);
        EXPECT_EQ(b.rng, stepped(seed, 2));  // the Dragon needs no roll
        EXPECT_EQ(dragon.disabled, 0);
        b.resolve_attack_hit(&cyc, &shielded);
        EXPECT_EQ(shielded.disabled, 0);
        EXPECT_EQ(shielded.spell_status, 7);

        BattleUnit& uni = put(b, 1, 16, 1, 4, 3);
        BattleUnit& orcs = put(b, 8, 7, 100, 4, 5);
        b.resolve_attack_hit(&uni, &orcs);
        if (orcs.disabled) {
            EXPECT_EQ(orcs.spell_status, 8);
            EXPECT_EQ(orcs.paralysed, 0);
            EXPECT_EQ(orcs.berserk, 0);
        }
    }
    EXPECT_GT(paralysed, 5);
    EXPECT_LT(paralysed, 40);

    // The chance is 20 in 100: a third draw of 19 (seed 35) disables, one of 20 (seed 20) does not.
    ASSERT_EQ(stepped(35, 3) % 100, 19u);
    ASSERT_EQ(stepped(20, 3) % 100, 20u);
    for (uint8_t striker : {11, 16}) {
        for (uint32_t seed : {35u, 20u}) {
            BattleScreen b;
            BattleUnit& att = put(b, 0, striker, 1, 2, 3);
            BattleUnit& swords = put(b, 5, 3, 100, 2, 4);
            b.rng = seed;
            b.resolve_attack_hit(&att, &swords);
            EXPECT_EQ(swords.disabled, seed == 35 ? 1 : 0) << int(striker) << " " << seed;
        }
    }
}

TEST(BattleMelee, StrikeFacingAndFrames) {
    BattleUnit a;
    a.creature = 3;
    a.side = 0;
    BattleUnit d = a;
    d.side = 1;
    // Neighbours of (2,4) by direction: up-left, up-right, left, right, down-left, down-right. Attackers face
    // right, so a blow at a left-hand neighbour is struck backwards; defenders face left.
    const int nb[6][2] = {{1, 3}, {1, 4}, {2, 3}, {2, 5}, {3, 3}, {3, 4}};
    for (int dir = 0; dir < 6; ++dir) {
        const bool left = dir % 2 == 0;
        EXPECT_EQ(is_backward_attack_rc(a, 2, 4, nb[dir][0], nb[dir][1]), left) << dir;
        EXPECT_EQ(is_backward_attack_rc(d, 2, 4, nb[dir][0], nb[dir][1]), !left) << dir;
    }
    // Hexes that do not touch (a tail between): the column alone decides, and the same column never turns.
    EXPECT_TRUE(is_backward_attack_rc(a, 2, 4, 0, 3));
    EXPECT_FALSE(is_backward_attack_rc(a, 2, 4, 0, 5));
    EXPECT_FALSE(is_backward_attack_rc(a, 2, 4, 4, 4));
    EXPECT_FALSE(is_backward_attack_rc(d, 2, 4, 0, 3));
    EXPECT_TRUE(is_backward_attack_rc(d, 2, 4, 0, 5));
    EXPECT_FALSE(is_backward_attack_rc(d, 2, 4, 4, 4));
    a.row = 2;
    a.col = 4;
    EXPECT_TRUE(is_backward_attack(a, 2, 3));
    EXPECT_FALSE(is_backward_attack(a, 2, 5));
    EXPECT_TRUE(is_backward_attack_from(a, 6, 2, 5));
    a.creature = kHydra;
    EXPECT_FALSE(is_backward_attack_rc(a, 2, 4, 2, 3));

    // The strike's frame row: up, level or down.
    bool flag = true;
    EXPECT_EQ(BattleScreen::attack_frame_idx(2, 4, 1, 4, 3, flag), 0);
    EXPECT_FALSE(flag);
    EXPECT_EQ(BattleScreen::attack_frame_idx(2, 4, 2, 5, 3, flag), 1);
    EXPECT_EQ(BattleScreen::attack_frame_idx(2, 4, 3, 3, 3, flag), 2);
    BattleScreen b;
    BattleUnit& swords = put(b, 0, 3, 5, 2, 4);
    for (int dir : {1, 3, 5}) {
        BattleUnit& t = put(b, 5, 0, 5, nb[dir][0], nb[dir][1]);
        b.start_strike(swords, t, 4, t.row, t.col);
        EXPECT_EQ(b.strike_dir, dir / 2) << dir;
        EXPECT_EQ(b.strike_backward, 0);
        EXPECT_EQ(b.double_strike, 0);  // only Paladins and Wolves strike twice
    }
    b.start_strike(put(b, 1, 8, 5, 4, 4), *b.unit_by_index(5), 4, 3, 4);
    EXPECT_EQ(b.double_strike, 1);
}

TEST(BattleBreath, StackBehindTheTarget) {
    BattleScreen b;
    put(b, 0, 23, 2, 2, 3);  // Dragon, tail on (2,2)
    put(b, 5, 3, 20, 2, 4);  // target
    put(b, 1, 0, 50, 2, 5);  // the Dragon's own Peasants behind the target
    b.striker = 0;
    b.struck = 5;
    b.setup_breath_second_target();
    EXPECT_EQ(b.breath.active, 1);
    EXPECT_EQ(b.breath.target, 1);
    b.resolve_breath_second_hit(b.unit_by_index(0), b.unit_by_index(1));
    EXPECT_LT(b.unit_by_index(1)->count, 50);  // friendly fire
    EXPECT_EQ(b.message, "BATTLE_ALSO_HIT");
    EXPECT_EQ(b.breath.hit.kind, DMG_BLUEFIRE);

    // Cyclops at the top edge: the hex beyond lies outside the field.
    BattleScreen c;
    put(c, 0, 11, 2, 1, 3);
    put(c, 5, 3, 20, 0, 3);  // up-left of (1,3)
    put(c, 6, 3, 20, 0, 4);
    c.striker = 0;
    c.struck = 5;
    c.setup_breath_second_target();
    EXPECT_EQ(c.breath.active, 0);
    EXPECT_EQ(c.breath.target, -1);

    // A Phoenix touching only with its tail breathes along the tail's line.
    BattleScreen p;
    put(p, 0, 17, 2, 2, 4);  // tail (2,3)
    put(p, 5, 3, 20, 3, 2);  // down-left of the tail
    put(p, 6, 6, 20, 4, 2);  // down-left of (3,2)
    p.striker = 0;
    p.struck = 5;
    p.setup_breath_second_target();
    EXPECT_EQ(p.breath.target, 6);

    // Straight up-left from the head, not along the tail's line.
    BattleScreen u;
    put(u, 0, 23, 2, 3, 4);  // tail (3,3)
    put(u, 5, 3, 20, 2, 4);  // up-left of the head, up-right of the tail
    put(u, 6, 6, 20, 1, 3);  // up-left of (2,4)
    put(u, 7, 6, 20, 1, 4);  // up-right of (2,4)
    u.striker = 0;
    u.struck = 5;
    u.setup_breath_second_target();
    EXPECT_EQ(u.breath.target, 6);

    // Retaliation breath: the struck Dragon breathes back through the striker, into the first slot behind.
    BattleScreen r;
    put(r, 1, 0, 5, 2, 4);   // striker
    put(r, 0, 6, 5, 2, 3);   // behind the striker, seen from the Dragon
    put(r, 5, 23, 2, 2, 5);  // defending Dragon, tail (2,6)
    r.striker = 1;
    r.struck = 5;
    r.setup_breath_retal_second_target();
    EXPECT_EQ(r.retal_breath.target, 0);
    EXPECT_EQ(r.retal_breath.active, 1);
    r.resolve_breath_retal_second_hit(r.unit_by_index(5), r.unit_by_index(0));
    EXPECT_EQ(r.message, "BATTLE_BREATH_HITS");
    EXPECT_EQ(r.unit_by_index(0)->alive, 0);
    EXPECT_EQ(r.retal_breath.died, 1);
    EXPECT_EQ(r.retal_breath.hit.reaction, 9);
}

TEST(BattleShots, WhoMayShootAndMissileFrames) {
    BattleScreen b;
    BattleUnit& archers = put(b, 0, 1, 10, 2, 3);
    EXPECT_TRUE(b.can_shoot(archers));
    put(b, 5, 4, 2, 1, 2);  // Cavalry defender, tail on (1,3) next to the Archers
    EXPECT_FALSE(b.can_shoot(archers));
    b.unit_by_index(5)->col = 5;
    EXPECT_TRUE(b.can_shoot(archers));
    archers.shots = 0;
    EXPECT_FALSE(b.can_shoot(archers));
    BattleUnit& peasants = put(b, 1, 0, 10, 4, 4);
    EXPECT_FALSE(b.can_shoot(peasants));

    // An enemy next to the Centaur's tail only does not stop it.
    BattleScreen c;
    BattleUnit& centaur = put(c, 0, 18, 5, 2, 4);  // tail (2,3)
    put(c, 5, 0, 5, 2, 2);
    EXPECT_TRUE(c.can_shoot(centaur));
    put(c, 6, 0, 5, 2, 5);
    EXPECT_FALSE(c.can_shoot(centaur));

    BattleUnit s, t;
    s.row = 3;
    s.col = 2;
    t.row = 1;
    t.col = 4;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 0);
    t.col = 5;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 1);
    t.col = 10;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 1);
    t.row = 3;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 2);
    t.row = 4;
    t.col = 5;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 3);
    t.col = 0;
    EXPECT_EQ(BattleScreen::projectile_frame_idx(s, t), 4);

    // Only the Druid's missile burns.
    BattleScreen h;
    BattleUnit& druids = put(h, 0, 15, 5, 0, 1);
    BattleUnit& elves = put(h, 1, 14, 5, 4, 1);
    BattleUnit& mark = put(h, 5, 0, 100, 2, 7);
    vorn1::test::SfxLog sounds;
    sounds.attach(h);
    h.resolve_shot_hit(&druids, &mark);
    EXPECT_EQ(h.hit.kind, DMG_REDFIRE);
    ASSERT_EQ(sounds.count(BattleSfx::Wince), 1);  // the target's own cry
    EXPECT_EQ(sounds.entries.back().creature, 0);
    h.resolve_shot_hit(&elves, &mark);
    EXPECT_EQ(h.hit.kind, DMG_PHYSICAL);
    // The last arrow is spent too; without one no shot starts.
    elves.shots = 1;
    h.resolve_shot_hit(&elves, &mark);
    EXPECT_EQ(elves.shots, 0);
    h.phase = ActionPhase::Idle;
    h.start_ranged_attack(&elves, &mark);
    EXPECT_EQ(h.phase, ActionPhase::Idle);
    EXPECT_EQ(h.shooter, -1);
}

TEST(BattleLuck, RollsAndEffects) {
    BattleScreen b;
    BattleUnit& a = put(b, 0, 3, 10, 2, 3);
    BattleUnit& d = put(b, 5, 3, 10, 2, 4);
    b.rng = 77;
    EXPECT_FALSE(b.check_and_start_good_luck_melee(&a, &d));
    EXPECT_EQ(b.rng, 77u);  // luck 0 draws nothing

    int good = 0;
    for (uint32_t seed = 1; seed <= 240; ++seed) {
        auto lucky = [&](int luck) {
            BattleScreen s;
            BattleUnit& u = put(s, 0, 3, 10, 2, 3);
            s.attacker_side.luck = static_cast<int8_t>(luck);
            s.rng = seed;
            bool started = s.check_and_start_good_luck_ranged(&u, nullptr);
            if (started) {
                EXPECT_EQ(s.good_luck_pending + s.bad_luck_pending, 1);
                EXPECT_EQ(luck > 0 ? s.good_luck_on_shot : s.bad_luck_on_shot, 1);
                EXPECT_EQ(s.phase, luck > 0 ? ActionPhase::GoodLuck : ActionPhase::BadLuck);
                EXPECT_EQ(s.effect_unit, 0);
            }
            return started;
        };
        EXPECT_EQ(lucky(3), lucky(5));
        EXPECT_EQ(lucky(-3), lucky(-9));
        if (lucky(1)) {
            EXPECT_TRUE(lucky(2));
        }
        good += lucky(3);
    }
    EXPECT_GT(good, 35);  // 6 in 24: about 60 of 240
    EXPECT_LT(good, 90);

    // At the edges of the chance (first draws mod 24: seed 118 gives 1, 117 gives 2, 54 gives 5, 6 gives 6).
    auto melee = [](int luck, uint32_t seed) {
        BattleScreen s;
        BattleUnit& u = put(s, 0, 3, 10, 2, 3);
        s.attacker_side.luck = static_cast<int8_t>(luck);
        s.rng = seed;
        const bool started = s.check_and_start_good_luck_melee(&u, nullptr);
        if (started) {
            EXPECT_EQ(s.message, luck > 0 ? "BATTLE_GOOD_LUCK" : "BATTLE_BAD_LUCK");
        }
        EXPECT_EQ(s.good_luck_on_shot + s.good_luck_on_retal + s.bad_luck_on_shot + s.bad_luck_on_retal, 0);
        return started;
    };
    EXPECT_TRUE(melee(1, 118));
    EXPECT_FALSE(melee(1, 117));
    EXPECT_TRUE(melee(3, 54));
    EXPECT_FALSE(melee(3, 6));
    EXPECT_TRUE(melee(-1, 118));
    EXPECT_FALSE(melee(-1, 117));
    EXPECT_TRUE(melee(-9, 54));
    EXPECT_FALSE(melee(-9, 6));
    b.attacker_side.luck = 1;
    b.rng = 118;
    ASSERT_TRUE(b.check_and_start_good_luck_retaliation(&a));
    EXPECT_EQ(b.good_luck_on_retal, 1);
    EXPECT_EQ(b.good_luck_on_shot, 0);
}

TEST(BattleLuck, PendingLuckLandsOnOneBlowOnly) {
    // Blessed stacks strike for their maximum, so nothing but the pending luck changes a blow.
    BattleScreen b;
    BattleUnit& swords = put(b, 0, 3, 10, 2, 3);
    BattleUnit& archers = put(b, 1, 1, 10, 0, 1);
    BattleUnit& pikes = put(b, 5, 2, 10, 2, 4);
    swords.spell_status = archers.spell_status = pikes.spell_status = 0;
    auto taken = [&](BattleUnit& victim, auto&& blow) {
        for (BattleUnit* u : {&swords, &pikes}) {
            u->count = 10;
            u->top_hp = creature_hp(u->creature);
        }
        const int before = hit_points(victim);
        blow();
        return before - hit_points(victim);
    };
    auto strike = [&] { return taken(pikes, [&] { b.resolve_attack_hit(&swords, &pikes); }); };
    auto answer = [&] { return taken(swords, [&] { b.resolve_retaliation_hit(&pikes, &swords); }); };
    auto shot = [&] { return taken(pikes, [&] { b.resolve_shot_hit(&archers, &pikes); }); };
    EXPECT_EQ(answer(), 26);  // 40 x 0.66
    b.good_luck_pending = 1;
    EXPECT_EQ(answer(), 52);
    EXPECT_EQ(strike(), 49);  // the answer spent the luck: 60 x 0.81
    b.bad_luck_pending = 1;
    EXPECT_EQ(answer(), 13);
    EXPECT_EQ(answer(), 26);
    b.good_luck_pending = 1;
    EXPECT_EQ(strike(), 98);
    EXPECT_EQ(strike(), 49);
    b.bad_luck_pending = 1;
    EXPECT_EQ(shot(), 10);  // 30 x 0.66 -> 20, halved
    EXPECT_EQ(shot(), 20);
    b.good_luck_pending = 1;
    EXPECT_EQ(shot(), 40);
    EXPECT_EQ(shot(), 20);
    EXPECT_EQ(archers.shots, 8);
    EXPECT_EQ(b.good_luck_pending + b.bad_luck_pending, 0);
}

TEST(BattleMorale, GoodMoraleOrTurnEnds) {
    auto run = [](int morale, uint32_t seed, int& current_after) {
        BattleScreen b;
        BattleUnit& u = put(b, 0, 3, 10, 2, 3);
        put(b, 5, 3, 10, 2, 6);
        b.attacker_side.morale = static_cast<int8_t>(morale);
        vorn1::test::queue_all(b, 0);
        b.rng = seed;
        b.effect_timer = 90.0f;  // left over from an effect cut short
        bool again = b.check_and_start_good_morale(&u);
        current_after = b.current;
        if (again) {
            EXPECT_EQ(b.phase, ActionPhase::GoodMorale);
            EXPECT_EQ(b.message, "BATTLE_GOOD_MORALE");
            EXPECT_EQ(b.effect_timer, 0.0f);  // the effect plays from its first frame
        }
        return again;
    };
    int extra = 0;
    for (uint32_t seed = 1; seed <= 480; ++seed) {
        int cur = 0;
        EXPECT_FALSE(run(-3, seed, cur));
        EXPECT_EQ(cur, 1);  // the turn passed on
        EXPECT_FALSE(run(0, seed, cur));
        bool one = run(1, seed, cur);
        if (one) {
            EXPECT_EQ(cur, 0);  // same stack acts again
            EXPECT_TRUE(run(3, seed, cur));
        }
        extra += run(3, seed, cur);
    }
    EXPECT_GT(extra, 30);  // 3 in 24: about 60 of 480
    EXPECT_LT(extra, 95);
}

TEST(BattleMessages, ArgumentsInOrder) {
    strings().load_from_text(
        R"({"BATTLE_DOES_DAMAGE":"{0} do {1} damage to {2}.","BATTLE_RETALIATES":"{0} retaliate for {1}.",
            "CREATURE_SWORDSMAN_PLURAL":"Swordsmen","CREATURE_PIKEMAN_ACC":"pikemen"})",
        "");
    BattleScreen b;
    BattleUnit& s = put(b, 0, 3, 10, 2, 3);
    s.spell_status = 0;
    BattleUnit& p = put(b, 5, 2, 10, 2, 4);
    b.resolve_attack_hit(&s, &p);
    std::string hit_text = b.message;
    b.resolve_retaliation_hit(&p, &s);
    std::string answer = b.message;
    strings().load_from_text("", "");
    EXPECT_EQ(hit_text, "Swordsmen do 49 damage to pikemen.");
    EXPECT_EQ(answer.rfind(" retaliate for ", std::string::npos) != std::string::npos, true);
    EXPECT_EQ(b.struck_ids, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(b.retal_hit.kind, DMG_PHYSICAL);
    EXPECT_EQ(b.retal_hit.x, 183 + 39);  // Swordsmen's hex (2,3) foot point
    EXPECT_EQ(b.retal_hit.y, 2 * 80 + 141);
}
