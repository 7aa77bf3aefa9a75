#include <gtest/gtest.h>

#include "battle/battle_rules_fixture.h"
#include "battle/battle_screen.h"

using namespace vorn1;

namespace {
void place(BattleUnit& u, uint8_t id, int count, uint8_t side, int row) {
    u = BattleUnit{};
    u.creature = id;
    u.count = count;
    u.side = side;
    u.row = row;
    u.col = side == 0 ? 1 : 7;
}

std::vector<std::pair<int, int>> order(const BattleScreen& b) {
    std::vector<std::pair<int, int>> v;
    for (const TurnEntry& e : b.queue) v.emplace_back(e.side, e.slot);
    return v;
}

using Order = std::vector<std::pair<int, int>>;
}  // namespace

TEST(TurnOrder, SpeedThenRowThenAttackerFirst) {
    BattleScreen b;
    place(b.attackers[0], 1, 10, 0, 0);   // Archer, slow
    place(b.attackers[1], 4, 5, 0, 1);    // Cavalry, fast
    place(b.defenders[0], 6, 10, 1, 0);   // Goblin, medium
    place(b.defenders[1], 8, 3, 1, 1);    // Wolf, fast
    b.build_turn_queue();
    EXPECT_EQ(order(b), (Order{{0, 1}, {1, 1}, {1, 0}, {0, 0}}));

    b.attackers[0].spell_status = 10;  // Haste: slow 1 -> 3, and row 0 goes first
    b.build_turn_queue();
    EXPECT_EQ(order(b), (Order{{0, 0}, {0, 1}, {1, 1}, {1, 0}}));

    // A defender's lower slot comes before an attacker's higher slot at equal speed and row order.
    BattleScreen c;
    place(c.attackers[3], 6, 1, 0, 3);
    place(c.defenders[1], 6, 1, 1, 1);
    place(c.attackers[1], 6, 1, 0, 1);
    c.build_turn_queue();
    EXPECT_EQ(order(c), (Order{{0, 1}, {1, 1}, {0, 3}}));
}

TEST(TurnOrder, HasteSlowAndDeadStacks) {
    BattleScreen b;
    place(b.attackers[0], 4, 1, 0, 0);  // fast hasted: 5
    b.attackers[0].spell_status = 10;
    place(b.attackers[1], 23, 1, 0, 1);  // Dragon slowed: 1
    b.attackers[1].spell_status = 4;
    place(b.defenders[0], 9, 1, 1, 0);  // Ogre hasted: 3
    b.defenders[0].spell_status = 10;
    place(b.defenders[1], 5, 1, 1, 1);  // Paladin: 3, row 1
    place(b.defenders[2], 0, 0, 1, 2);  // no creatures: no entry
    place(b.defenders[3], 0, 5, 1, 3);
    b.defenders[3].alive = 0;            // dead: no entry
    b.attackers[0].retaliated = 1;
    b.build_turn_queue();
    EXPECT_EQ(order(b), (Order{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(b.attackers[0].retaliated, 0);

    // Slowed, a Dragon falls behind a Goblin and stays ahead of Archers only by its row.
    BattleScreen s;
    place(s.attackers[0], 23, 1, 0, 0);
    s.attackers[0].spell_status = 4;
    place(s.defenders[0], 1, 1, 1, 1);
    place(s.defenders[1], 6, 1, 1, 2);
    s.build_turn_queue();
    EXPECT_EQ(order(s), (Order{{1, 1}, {0, 0}, {1, 0}}));
}

TEST(TurnOrder, TrollsRegenerateAtRoundStart) {
    BattleScreen b;
    place(b.attackers[0], 10, 3, 0, 0);
    b.attackers[0].top_hp = 1;
    place(b.attackers[1], 10, 3, 0, 1);
    b.attackers[1].top_hp = 39;
    place(b.defenders[0], 10, 3, 1, 0);
    b.defenders[0].top_hp = 40;
    place(b.defenders[1], 9, 3, 1, 1);
    b.defenders[1].top_hp = 2;
    b.build_turn_queue();
    EXPECT_EQ(b.attackers[0].top_hp, 40);
    EXPECT_EQ(b.attackers[1].top_hp, 40);
    EXPECT_EQ(b.defenders[0].top_hp, 40);
    EXPECT_EQ(b.defenders[1].top_hp, 2);  // only Trolls
}

TEST(TurnAdvance, MoraleRollsOncePerTurnStart) {
    for (int morale : {-3, -1, 0, 2}) {
        int lost = 0;
        for (uint32_t seed = 1; seed <= 240; ++seed) {
            BattleScreen b;
            place(b.attackers[0], 3, 5, 0, 0);
            place(b.defenders[0], 3, 5, 1, 0);
            b.attacker_side.morale = static_cast<int8_t>(morale);
            b.build_turn_queue();
            b.current = -1;
            b.rng = seed;
            uint32_t shadow = seed;
            uint32_t drawn = xorshift32_next(shadow);
            b.advance_turn();
            EXPECT_EQ(b.rng, shadow) << "exactly one step for every turn start";
            bool bad = b.phase == ActionPhase::BadMorale;
            EXPECT_EQ(bad, morale < 0 && drawn % 24 < static_cast<uint32_t>(-2 * morale));
            if (bad) {
                EXPECT_EQ(b.effect_unit, 0);
                ++lost;
            }
            EXPECT_EQ(b.current, 0);
        }
        if (morale >= 0) {
            EXPECT_EQ(lost, 0);
        }
        else EXPECT_GT(lost, 0);
    }
}

TEST(TurnAdvance, StatusesCountDownAndBlindStacksLoseTurns) {
    BattleScreen b;
    place(b.attackers[0], 3, 5, 0, 0);  // Swordsman, blind with one round left
    place(b.defenders[0], 2, 5, 1, 0);  // Pikeman, blessed for two turns
    b.attackers[0].spell_status = 8;
    b.attackers[0].status_rounds = 1;
    b.attackers[0].disabled = 1;
    b.defenders[0].spell_status = 0;
    b.defenders[0].status_rounds = 2;
    b.build_turn_queue();
    b.current = -1;
    b.advance_turn();
    // The blind stack loses this turn and its blindness ends; the defender acts.
    EXPECT_EQ(b.message, "Swordsman is blinded!");
    EXPECT_EQ(b.attackers[0].spell_status, 255);
    EXPECT_EQ(b.attackers[0].disabled, 0);
    EXPECT_EQ(b.active_unit(), &b.defenders[0]);
    b.advance_turn();  // the defender's turn ends: Bless 2 -> 1; a new round, the Swordsman acts
    EXPECT_EQ(b.defenders[0].status_rounds, 1);
    EXPECT_EQ(b.defenders[0].spell_status, 0);
    EXPECT_EQ(b.message, "BATTLE_NEW_ROUND");
    EXPECT_EQ(b.active_unit(), &b.attackers[0]);
    b.advance_turn();
    EXPECT_EQ(b.active_unit(), &b.defenders[0]);
    b.advance_turn();
    EXPECT_EQ(b.defenders[0].spell_status, 255);  // Bless ran out at the end of its turn

    // A berserk stack's spell runs out at the end of its own turn, and the rage with it.
    BattleScreen r;
    place(r.attackers[0], 3, 5, 0, 0);
    place(r.defenders[0], 2, 5, 1, 0);
    r.attackers[0].spell_status = 15;
    r.attackers[0].status_rounds = 1;
    r.attackers[0].berserk = 1;
    r.build_turn_queue();
    r.current = 0;
    r.advance_turn();
    EXPECT_EQ(r.attackers[0].spell_status, 255);
    EXPECT_EQ(r.attackers[0].berserk, 0);
}

TEST(TurnAdvance, ParalysedMessageAndEveryoneDisabled) {
    BattleScreen b;
    place(b.attackers[0], 11, 2, 0, 0);
    place(b.defenders[0], 3, 5, 1, 0);
    for (BattleUnit* u : {&b.attackers[0], &b.defenders[0]}) {
        u->spell_status = 18;
        u->status_rounds = 3;
        u->disabled = 1;
        u->paralysed = 1;
    }
    b.build_turn_queue();
    b.current = -1;
    b.phase = ActionPhase::Moving;
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.no_actor, 1);  // the stack left at `current` must not act
    EXPECT_NE(b.message.find(" is paralyzed!"), std::string::npos);
    // Three lost turns each ran the paralysis out: no mark of it is left.
    for (BattleUnit* u : {&b.attackers[0], &b.defenders[0]}) {
        EXPECT_EQ(u->status_rounds, 0);
        EXPECT_EQ(u->spell_status, 255);
        EXPECT_EQ(u->disabled, 0);
        EXPECT_EQ(u->paralysed, 0);
    }
    // Each lost turn counted the spells down; advancing again frees the field in bounded steps.
    int guard = 0;
    while (b.no_actor && guard++ < 10) b.advance_turn();
    EXPECT_EQ(b.no_actor, 0);
    ASSERT_NE(b.active_unit(), nullptr);
    EXPECT_FALSE(b.active_unit()->disabled);
    // Freed, the stack answers blows again.
    b.resolve_attack_hit(&b.attackers[0], &b.defenders[0]);
    EXPECT_EQ(b.retal_pending, 1);
}

TEST(TurnAdvance, ActiveUnitBounds) {
    BattleScreen b;
    EXPECT_EQ(b.active_unit(), nullptr);
    place(b.attackers[0], 3, 5, 0, 0);
    b.build_turn_queue();
    b.current = -1;
    EXPECT_EQ(b.active_unit(), nullptr);
    b.current = static_cast<int>(b.queue.size());
    EXPECT_EQ(b.active_unit(), nullptr);
    b.current = 0;
    EXPECT_EQ(b.active_unit(), &b.attackers[0]);
    BattleScreen empty;
    empty.advance_turn();  // empty queue: nothing happens
    EXPECT_EQ(empty.current, -1);
}

TEST(TurnAdvance, SiegeCatapultThenKeep) {
    BattleScreen b;
    b.siege = 1;
    place(b.attackers[0], 3, 5, 0, 0);
    place(b.defenders[0], 2, 5, 1, 1);
    b.attackers[0].spell_status = 0;  // Bless for 3 turns: counted only at the end of its own turns
    b.attackers[0].status_rounds = 3;
    b.build_turn_queue();
    ASSERT_EQ(b.catapult_pending, 1);
    b.current = -1;
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::CatapultThrow);
    EXPECT_EQ(b.current, -1);  // the attacker's entry comes up again afterwards
    EXPECT_GE(b.catapult_target, 0);
    EXPECT_LE(b.catapult_target, 4);
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.active_unit(), &b.attackers[0]);
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::KeepShot);
    EXPECT_EQ(b.keep_target, 0);
    EXPECT_EQ(b.attackers[0].status_rounds, 2);
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.active_unit(), &b.defenders[0]);
    EXPECT_EQ(b.attackers[0].status_rounds, 2);  // the keep's shot did not end another turn
    // Next round: both act again before their sides.
    b.advance_turn();
    EXPECT_EQ(b.phase, ActionPhase::CatapultThrow);

    // The catapult's full count of throws, in the second round as in the first.
    BattleScreen t;
    t.siege = 1;
    t.keep_alive = 0;
    t.catapult_shots = 2;
    place(t.attackers[0], 3, 5, 0, 0);
    place(t.defenders[0], 2, 5, 1, 1);
    t.build_turn_queue();
    t.current = -1;
    for (int round = 0; round < 2; ++round) {
        t.advance_turn();
        int throws = 0;
        for (int guard = 0; guard < 20 && t.phase != ActionPhase::Idle; ++guard) {
            throws += t.phase == ActionPhase::CatapultThrow;
            vorn1::test::run_phase(t, t.phase);
        }
        EXPECT_EQ(throws, 2) << round;
        EXPECT_EQ(t.active_unit(), &t.attackers[0]);
        t.advance_turn();
        EXPECT_EQ(t.active_unit(), &t.defenders[0]);
    }

    // Walls down and no keep option: the catapult no longer throws.
    BattleScreen c;
    c.siege = 1;
    c.walls_down = 1;
    c.wall_hp = {0, 0, 0, 0, 0};
    c.keep_alive = 0;
    place(c.attackers[0], 3, 5, 0, 0);
    place(c.defenders[0], 2, 5, 1, 1);
    c.build_turn_queue();
    c.current = -1;
    c.advance_turn();
    EXPECT_EQ(c.phase, ActionPhase::Idle);
    EXPECT_EQ(c.active_unit(), &c.attackers[0]);
}

TEST(BattleRecord, CloseRestoresSiegeDefaultsAndIsIdempotent) {
    BattleScreen b;
    b.shutdown();  // never opened: nothing happens
    b.active = 1;
    b.siege = 1;
    b.castle = 2;
    b.wall_hp = {0, 1, 0, 2, 0};
    b.walls_down = 1;
    b.keep_alive = 0;
    b.overlay = BattleOverlay::Result;
    b.phase = ActionPhase::Shot;
    b.close();
    EXPECT_EQ(b.active, 0);
    EXPECT_EQ(b.siege, 0);
    EXPECT_EQ(b.castle, 0);
    EXPECT_EQ(b.wall_hp, (std::array<int32_t, 5>{2, 2, 2, 2, 2}));
    EXPECT_EQ(b.keep_alive, 1);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    b.close();
    EXPECT_EQ(b.active, 0);
}

TEST(BattleRecord, ConstructedDefaults) {
    BattleScreen b;
    EXPECT_EQ(b.rng, 12345u);
    EXPECT_EQ(b.current, -1);
    EXPECT_EQ(b.attacker_side.hero, -1);
    EXPECT_EQ(b.defender_side.portrait, 255);
    for (const BattleUnit& u : b.attackers) {
        EXPECT_EQ(u.creature, 255);
        EXPECT_EQ(u.alive, 1);
        EXPECT_EQ(u.spell_status, 255);
        EXPECT_FALSE(is_living(u));
    }
    EXPECT_EQ(b.control.human[0], 1);
    EXPECT_EQ(b.control.human[1], 0);
    EXPECT_EQ(b.opt_ab_spells, 1);
    EXPECT_EQ(b.opt_hex_outline, 1);
    EXPECT_EQ(b.catapult_target, -1);
    EXPECT_EQ(battle_effect_volume(0), 0);
    EXPECT_EQ(battle_effect_volume(-1), 0);
    EXPECT_EQ(battle_effect_volume(3), 38);
    EXPECT_EQ(battle_effect_volume(4), 51);
    EXPECT_EQ(battle_effect_volume(9), 115);
    EXPECT_EQ(battle_effect_volume(12), 128);
}
