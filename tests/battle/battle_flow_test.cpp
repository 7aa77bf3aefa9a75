#include <gtest/gtest.h>

#include <SDL.h>

#include "battle/battle_auto.h"
#include "battle/battle_combat.h"
#include "battle/battle_rules_fixture.h"
#include "battle/battle_spell.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/tile_rules.h"

using namespace vorn1;
using vorn1::test::put;
using vorn1::test::queue_all;
using vorn1::test::run_phase;
using vorn1::test::SfxLog;

TEST(BattleSiege, WallSectionsCatapultAndKeep) {
    BattleScreen b;
    b.siege = 1;
    b.apply_wall_damage(0, 2);
    EXPECT_EQ(b.wall_hp[0], 0);
    EXPECT_EQ(b.message, "BATTLE_BALLISTA_SECTION");
    b.apply_wall_damage(1, 1);
    EXPECT_EQ(b.wall_hp[1], 1);
    EXPECT_EQ(b.message, "BATTLE_BALLISTA_WALL");
    b.apply_wall_damage(1, 2);
    EXPECT_EQ(b.wall_hp[1], 0);
    b.apply_wall_damage(7, 2);  // no such section
    BattleUnit& pikes = put(b, 0, 2, 5, 3, 4);
    EXPECT_FALSE(b.can_occupy(pikes, 3, 5));
    for (int s = 2; s < 5; ++s) b.apply_wall_damage(s, 2);
    EXPECT_EQ(b.walls_down, 1);
    EXPECT_TRUE(b.all_walls_down());
    EXPECT_EQ(b.message, "BATTLE_WALLS_FALLEN");
    EXPECT_TRUE(b.can_occupy(pikes, 3, 5));

    // Walls down, keep option off: no throw, the turn passes.
    put(b, 5, 0, 5, 2, 7);
    queue_all(b, 0);
    b.keep_fired = 1;  // the keep has had its shot this round
    b.start_catapult();
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, 1);
    // With the option on, the boulder goes at the keep and brings it down.
    b.opt_catapult_tower = 1;
    b.catapult_shots = 1;
    b.catapult_shots_done = 0;
    queue_all(b, 0);
    b.start_catapult();
    EXPECT_EQ(b.phase, ActionPhase::CatapultThrow);
    EXPECT_EQ(b.catapult_target, -1);
    run_phase(b, ActionPhase::CatapultThrow);
    run_phase(b, ActionPhase::BoulderFlight);
    EXPECT_EQ(b.keep_alive, 0);
    EXPECT_EQ(b.message, "BATTLE_KEEP_DESTROYED");

    // The catapult only aims at standing sections.
    BattleScreen c;
    c.siege = 1;
    c.wall_hp = {0, 0, 0, 2, 0};
    for (uint32_t seed = 1; seed < 20; ++seed) {
        c.rng = seed;
        c.start_catapult();
        EXPECT_EQ(c.catapult_target, 3);
    }
}

TEST(BattleSiege, ThrowTimingAndKeepShot) {
    BattleScreen b;
    b.siege = 1;
    b.catapult_pos = {22, 381};
    put(b, 0, 3, 5, 2, 2);
    put(b, 5, 0, 5, 2, 7);
    queue_all(b, 0);
    b.siege_action_running = 1;
    b.current = -1;
    b.rng = 5;
    b.start_catapult();
    ASSERT_GE(b.catapult_target, 0);
    int section = b.catapult_target;
    float t = run_phase(b, ActionPhase::CatapultThrow);
    EXPECT_NEAR(t, 1120.0f, 5.0f);  // 14 frames of 80 ms; the boulder left at 560 and is still flying
    EXPECT_EQ(b.phase, ActionPhase::BoulderFlight);
    float flight = run_phase(b, ActionPhase::BoulderFlight);
    EXPECT_NEAR(560.0f + 600.0f, t + flight, 10.0f);
    EXPECT_TRUE(b.wall_hp[section] == 0 || b.wall_hp[section] == 1);
    EXPECT_EQ(b.catapult_shots_done, 1);
    run_phase(b, ActionPhase::SiegeShotDone);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, 0);  // back to the first attacker's turn

    // The keep: never a dead slot, none without living attackers; 10 to 20 damage.
    BattleScreen k;
    k.siege = 1;
    put(k, 0, 3, 5, 2, 2).alive = 0;
    put(k, 2, 3, 50, 4, 2);
    for (uint32_t seed = 1; seed < 30; ++seed) {
        k.rng = seed;
        k.unit_by_index(2)->count = 50;
        k.unit_by_index(2)->top_hp = 25;
        EXPECT_EQ(k.start_keep_shot(), ActionPhase::KeepShot);
        EXPECT_EQ(k.keep_target, 2);
        EXPECT_NEAR(k.keep_arrow_duration, std::hypot(105.0f + 39.0f - 600.0f, 4 * 80 + 101 - 122.0f), 0.01f);
        run_phase(k, ActionPhase::KeepShot, 16.0f);
        int lost = 50 * 25 - ((k.unit_by_index(2)->count - 1) * 25 + k.unit_by_index(2)->top_hp);
        EXPECT_GE(lost, 10);
        EXPECT_LE(lost, 20);
        EXPECT_EQ(k.message, "BATTLE_KEEP_FIRES");
        k.phase = ActionPhase::Idle;
    }
    k.unit_by_index(2)->alive = 0;
    EXPECT_EQ(k.start_keep_shot(), ActionPhase::Idle);
}

namespace {
int add_hero(GameState& g, std::initializer_list<std::pair<int, int>> army, int owner) {
    HeroState h;
    h.live = 1;
    h.owner = owner;
    int i = 0;
    for (auto [id, n] : army) {
        h.army.ids[i] = static_cast<uint8_t>(id);
        h.army.counts[i] = static_cast<uint16_t>(n);
        ++i;
    }
    g.heroes.push_back(h);
    return static_cast<int>(g.heroes.size()) - 1;
}
}  // namespace

TEST(BattleEnd, OutcomeWriteBackAndExperience) {
    GameState g;
    int a = add_hero(g, {{3, 10}, {26, 5}}, 0);
    int d = add_hero(g, {{2, 8}}, 1);
    BattleScreen b;
    b.game = &g;
    b.attacker_side.hero = a;
    b.defender_side.hero = d;
    b.bonus_experience = 500;
    put(b, 0, 3, 10, 2, 1);
    put(b, 1, 26, 9, 3, 1);  // Ghosts that grew from 5
    put(b, 5, 2, 8, 2, 7);
    b.attacker_start_counts = {10, 5, 0, 0, 0};
    b.defender_start_counts = {8, 0, 0, 0, 0};
    EXPECT_FALSE(b.check_battle_end());

    b.unit_by_index(0)->alive = 0;
    b.unit_by_index(0)->count = 0;
    b.unit_by_index(5)->alive = 0;
    b.unit_by_index(5)->count = 0;
    EXPECT_TRUE(b.check_battle_end());
    EXPECT_EQ(b.outcome, OutcomeAttackerWon);
    EXPECT_EQ(b.message, "BATTLE_VICTORY_SHORT");
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    EXPECT_EQ(g.heroes[a].army.ids[0], EMPTY_ID);
    EXPECT_EQ(g.heroes[a].army.counts[1], 9);
    EXPECT_EQ(g.heroes[a].army.ids[2], EMPTY_ID);  // empty at the start, empty now
    EXPECT_EQ(g.heroes[d].army.ids[0], EMPTY_ID);
    EXPECT_EQ(b.result_experience, 8 * 15 + 500);
    EXPECT_EQ(g.heroes[a].experience, 8u * 15 + 500);
    EXPECT_EQ(b.casualties[0], 10);
    EXPECT_EQ(b.casualties[1], 0);
    EXPECT_EQ(b.casualties[5], 8);

    // Both sides gone at once: the defender wins.
    b.unit_by_index(1)->alive = 0;
    EXPECT_TRUE(b.check_battle_end());
    EXPECT_EQ(b.outcome, OutcomeDefenderWon);
    EXPECT_EQ(b.message, "BATTLE_DEFEAT");
    // The defender earns the attackers it killed plus the same bonus.
    const int32_t defender_exp = 10 * creature_hp(3) + 5 * creature_hp(26) + 500;
    EXPECT_EQ(b.result_experience, defender_exp);
    EXPECT_EQ(g.heroes[d].experience, static_cast<uint32_t>(defender_exp));

    // A wandering monster has no hero: only the attacker's army changes; a retreat earns nothing.
    GameState g2;
    int h = add_hero(g2, {{3, 10}}, 0);
    BattleScreen m;
    m.game = &g2;
    m.attacker_side.hero = h;
    put(m, 0, 3, 4, 2, 1);
    put(m, 5, 6, 3, 2, 7);
    m.attacker_start_counts = {10, 0, 0, 0, 0};
    m.defender_start_counts = {20, 0, 0, 0, 0};
    m.open_result_screen(OutcomeRetreat);
    EXPECT_EQ(g2.heroes[h].army.counts[0], 4);  // written back on a retreat too
    EXPECT_EQ(m.result_screen.losing_side, 0) << "the side that retreats has lost";
    EXPECT_EQ(m.result_experience, 0);
    EXPECT_EQ(g2.heroes[h].experience, 0u);
}

TEST(BattleAuto, PowerTargetsAndRetreat) {
    BattleUnit archers;
    archers.creature = 1;
    archers.count = 10;
    archers.shots = 12;
    EXPECT_EQ(autobattle_stack_power(archers), 62);
    archers.shots = 0;
    EXPECT_EQ(autobattle_stack_power(archers), 50);
    archers.alive = 0;
    EXPECT_EQ(autobattle_stack_power(archers), 0);
    EXPECT_DOUBLE_EQ(autobattle_retreat_threshold(1000, 100), 0.20);
    EXPECT_DOUBLE_EQ(autobattle_retreat_threshold(6000, 20000), 0.15);
    EXPECT_DOUBLE_EQ(autobattle_retreat_threshold(20000, 35000), 0.14);
    EXPECT_NEAR(autobattle_retreat_threshold(1000, 50000), 0.20 - 2.5, 1e-9);

    // A Ghost goes for the weakest stack it can reach; a Swordsman for the nearest.
    BattleScreen b;
    BattleUnit& ghost = put(b, 0, 26, 5, 2, 3);
    put(b, 5, 3, 20, 2, 5);  // strong, near
    put(b, 6, 0, 2, 1, 5);   // weak
    EXPECT_EQ(b.unit_index(b.autobattle_pick_target(ghost)), 6);
    BattleUnit& swords = put(b, 1, 3, 5, 4, 1);
    EXPECT_EQ(b.unit_index(b.autobattle_pick_target(swords)), 5);  // none in reach: the nearest
    put(b, 7, 1, 5, 0, 7);  // Archers anywhere: a shooter with shots comes first
    EXPECT_EQ(b.unit_index(b.autobattle_pick_target(ghost)), 7);

    // An Elf shoots twice only with two shots or more.
    BattleScreen e;
    BattleUnit& elves = put(e, 0, 14, 5, 2, 1);
    put(e, 5, 3, 50, 2, 7);
    queue_all(e, 0);
    e.run_autobattle_turn(&elves);
    EXPECT_EQ(e.double_shot, 1);
    EXPECT_EQ(e.phase, ActionPhase::Shot);
    e.phase = ActionPhase::Idle;
    elves.shots = 1;
    e.run_autobattle_turn(&elves);
    EXPECT_EQ(e.double_shot, 0);

    // Retreat: a computer side with a hero, a town and rich artifacts, far weaker than its enemy.
    GameState g;
    int h = add_hero(g, {{0, 1}}, 1);
    g.heroes[h].artifacts[0] = 0;
    g.heroes[h].artifacts[1] = 1;
    g.heroes[h].artifacts[2] = 2;
    g.player_ai_level[1] = 1;
    CastleState town;
    town.live = 1;
    town.owner = 1;
    g.castles.push_back(town);
    BattleScreen r;
    r.game = &g;
    r.control.human = {1, 0};
    r.defender_side.hero = h;
    BattleUnit& weak = put(r, 5, 0, 1, 2, 7);
    put(r, 0, 23, 10, 2, 2);
    queue_all(r, 5);
    bool rich = hero_artifact_value(g.heroes[h]) >= 1000;
    EXPECT_EQ(r.autobattle_check_retreat(weak), rich);
    if (rich) {
        EXPECT_EQ(r.outcome, OutcomeRetreat);
        EXPECT_EQ(r.retreating_side, 1);
    }
    // The same side played by a human, or without a town, fights on.
    BattleScreen r2;
    r2.game = &g;
    r2.control.human = {0, 1};
    r2.defender_side.hero = h;
    BattleUnit& weak2 = put(r2, 5, 0, 1, 2, 7);
    put(r2, 0, 23, 10, 2, 2);
    EXPECT_FALSE(r2.autobattle_check_retreat(weak2));
    g.castles[0].owner = 2;
    r2.control.human = {1, 0};
    EXPECT_FALSE(r2.autobattle_check_retreat(weak2));
    BattleScreen r3;  // a monster side has no hero
    BattleUnit& mon = put(r3, 5, 0, 1, 2, 7);
    put(r3, 0, 23, 10, 2, 2);
    r3.control.human = {1, 0};
    EXPECT_FALSE(r3.autobattle_check_retreat(mon));
}

TEST(BattleAuto, DefenderHoldsBehindTheWall) {
    BattleScreen b;
    b.siege = 1;
    b.control.human = {0, 0};
    BattleUnit& pikes = put(b, 5, 2, 5, 2, 7);
    put(b, 6, 1, 40, 0, 7);  // the side is mostly shooters
    put(b, 0, 3, 10, 2, 1);
    queue_all(b, 5);
    b.keep_fired = 1;
    b.run_autobattle_turn(&pikes);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(pikes.col, 7);
    EXPECT_EQ(b.queue[b.current].slot, 1);  // the turn passed to the next defender
}

TEST(BattlePhases, StrikeWinceAndSecondStrikeTimings) {
    BattleScreen b;
    put(b, 0, 3, 10, 2, 3);
    put(b, 5, 2, 50, 2, 4);
    queue_all(b, 0);
    b.start_move_or_attack(2, 4);
    ASSERT_EQ(b.phase, ActionPhase::MeleeStrike);
    float t = 0;
    while (!b.hit_applied && t < 1000) {
        b.tick_combat(5.0f);
        t += 5;
    }
    EXPECT_EQ(t, 210.0f);
    t += run_phase(b, ActionPhase::MeleeStrike);
    EXPECT_EQ(t, 315.0f);
    float wince = run_phase(b, ActionPhase::TargetWince);
    EXPECT_EQ(wince, 120.0f);  // lost creatures: frames 0..3
    EXPECT_EQ(b.phase, ActionPhase::Retaliation);

    // A Paladin strikes again after the answer, when both still live.
    BattleScreen p;
    put(p, 0, 5, 20, 2, 3);
    put(p, 5, 3, 60, 2, 4);
    queue_all(p, 0);
    p.start_move_or_attack(2, 4);
    for (ActionPhase ph : {ActionPhase::MeleeStrike, ActionPhase::TargetWince, ActionPhase::Retaliation,
                           ActionPhase::RetaliationWince}) {
        ASSERT_EQ(p.phase, ph);
        run_phase(p, ph);
    }
    EXPECT_EQ(p.phase, ActionPhase::MeleeStrike);
    EXPECT_EQ(p.message, "BATTLE_STRIKES_AGAIN");
    EXPECT_EQ(p.second_strike, 1);

    // A Dragon's strike with a stack behind lands at 315 and lasts 420; the dead stack loses its turn.
    BattleScreen d;
    put(d, 0, 23, 5, 2, 3);
    put(d, 5, 0, 1, 2, 4);
    put(d, 6, 0, 1, 2, 5);
    queue_all(d, 0);
    d.start_move_or_attack(2, 4);
    ASSERT_EQ(d.breath.active, 1);
    EXPECT_EQ(run_phase(d, ActionPhase::MeleeStrike), 420.0f);
    EXPECT_EQ(run_phase(d, ActionPhase::TargetWince), 300.0f);  // killed: frames 0..9
    EXPECT_EQ(d.phase, ActionPhase::Dying);
    EXPECT_EQ(d.queue.size(), 2u);  // the breath victim's turn is gone
    run_phase(d, ActionPhase::Dying);
    EXPECT_EQ(d.outcome, OutcomeAttackerWon);
}

TEST(BattlePhases, ShotsAndTheElfsSecondShot) {
    BattleScreen b;
    BattleUnit& elves = put(b, 0, 14, 5, 2, 1);
    put(b, 5, 3, 50, 2, 7);
    queue_all(b, 0);
    b.double_shot = 1;
    b.start_ranged_attack(&elves, b.unit_by_index(5));
    ASSERT_EQ(b.phase, ActionPhase::Shot);
    EXPECT_EQ(run_phase(b, ActionPhase::Shot), 300.0f);
    run_phase(b, ActionPhase::ShotFlight);
    EXPECT_EQ(elves.shots, 23);
    run_phase(b, ActionPhase::ShotWince);
    EXPECT_EQ(b.phase, ActionPhase::Shot);  // the second arrow, drawn as long as the first
    EXPECT_EQ(run_phase(b, ActionPhase::Shot), 300.0f);
    run_phase(b, ActionPhase::ShotFlight);
    run_phase(b, ActionPhase::ShotWince);
    EXPECT_EQ(elves.shots, 22);
    EXPECT_EQ(b.current, 1);  // no morale: the turn ended
}

TEST(BattlePhases, GoodMoraleAfterAShotGoesToTheShooter) {
    int granted = 0;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        BattleScreen b;
        b.attacker_side.morale = 3;
        BattleUnit& archers = put(b, 0, 1, 10, 2, 1);
        put(b, 1, 3, 5, 4, 1);
        put(b, 5, 3, 50, 2, 7);
        queue_all(b, 0);
        b.striker = 1;  // left over from an earlier blow
        b.rng = seed;
        b.start_ranged_attack(&archers, b.unit_by_index(5));
        for (int i = 0; i < 400 && b.phase != ActionPhase::Idle && b.phase != ActionPhase::GoodMorale; ++i)
            b.tick_combat(10.0f);
        if (b.phase != ActionPhase::GoodMorale) continue;
        ++granted;
        EXPECT_EQ(b.effect_unit, 0);
        EXPECT_EQ(b.active_unit(), &archers);
    }
    EXPECT_GT(granted, 0);
}

namespace {
// A whole computer-against-computer battle, recording the status line every frame.
struct Replay {
    uint8_t outcome = 0;
    std::array<int32_t, 10> casualties{};
    std::vector<std::string> messages;
    std::array<uint16_t, 5> attacker_counts{};
    std::array<uint16_t, 5> defender_counts{};
    int frames = 0;
    int spells_cast = 0, lucky = 0;
};

uint64_t digest(const Replay& r) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
    mix(r.outcome);
    for (int32_t c : r.casualties) mix(static_cast<uint32_t>(c));
    for (const std::string& m : r.messages)
        for (char ch : m) mix(static_cast<uint8_t>(ch));
    for (uint16_t c : r.attacker_counts) mix(c);
    for (uint16_t c : r.defender_counts) mix(c);
    mix(static_cast<uint32_t>(r.frames));
    return h;
}

// With `magic` both heroes carry spellbooks with charges and the attacker has luck.
Replay fight(unsigned seed, bool magic = false) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    BattleResources res;
    Replay out;
    {
        BattleScreen b;
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        GameMap map;
        map.width = 72;
        map.height = 72;
        map.tiles.assign(72 * 72, MapTile{});
        GameState g;
        int a = add_hero(g, {{3, 20}, {1, 15}}, 0);
        int d = add_hero(g, {{6, 60}, {7, 20}}, 1);
        if (magic) {
            HeroState& ha = g.heroes[a];
            HeroState& hd = g.heroes[d];
            ha.has_spellbook = hd.has_spellbook = 1;
            ha.power = hd.power = 2;
            ha.luck = 3;
            ha.spell_charges[kSpellLightning] = 2;
            ha.spell_charges[kSpellBless] = 1;
            hd.spell_charges[kSpellCurse] = 1;
            hd.spell_charges[kSpellFireball] = 1;
        }
        SfxLog sfx;
        sfx.attach(b);
        b.open_hero_vs_hero(a, d, map, g, seed, true, BattleScreen::BattleControl{{0, 0}});
        while (b.overlay != BattleOverlay::Result && out.frames < 20000) {
            b.tick(16.0f);
            ++out.frames;
            if (out.messages.empty() || out.messages.back() != b.message) out.messages.push_back(b.message);
        }
        out.outcome = b.outcome;
        out.casualties = b.casualties;
        out.attacker_counts = g.heroes[a].army.counts;
        out.defender_counts = g.heroes[d].army.counts;
        for (int k = 0; k < SPELL_COUNT; ++k)
            out.spells_cast += g.heroes[a].spell_charges[(size_t)k] + g.heroes[d].spell_charges[(size_t)k];
        out.spells_cast = magic ? 6 - out.spells_cast : 0;
        out.lucky = sfx.count(BattleSfx::GoodLuck);
        for (int i = 0; i < 5; ++i) {
            const BattleUnit& u = b.attackers[i];
            if (u.creature != kNoCreature) {
                EXPECT_EQ(g.heroes[a].army.counts[i], is_living(u) ? u.count : 0);
            }
        }
        b.shutdown();
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
    return out;
}
}  // namespace

TEST(BattleReplay, ComputerBattleEndsAndReplaysFromItsSeed) {
    Replay one = fight(42);
    EXPECT_LT(one.frames, 20000);
    EXPECT_TRUE(one.outcome == OutcomeAttackerWon || one.outcome == OutcomeDefenderWon);
    EXPECT_GT(one.messages.size(), 10u);
    Replay two = fight(42);
    EXPECT_EQ(one.outcome, two.outcome);
    EXPECT_EQ(one.casualties, two.casualties);
    EXPECT_EQ(one.messages, two.messages);
    EXPECT_EQ(one.frames, two.frames);
    EXPECT_EQ(one.attacker_counts, two.attacker_counts);
    EXPECT_EQ(one.defender_counts, two.defender_counts);
    Replay other = fight(7);
    EXPECT_LT(other.frames, 20000);
    EXPECT_NE(one.messages, other.messages);
    // One seed gives one battle on every compiler and build type: the numbers are the same in all.
    EXPECT_EQ(digest(one), 8921432500463207579ull);
    const Replay magic = fight(42, true);
    EXPECT_GT(magic.spells_cast, 1);
    EXPECT_GT(magic.lucky, 0);
    EXPECT_EQ(digest(magic), 10835354519561476113ull);
}
