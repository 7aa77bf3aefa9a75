#include <gtest/gtest.h>

#include "battle/battle_combat.h"
#include "battle/battle_rules_fixture.h"
#include "battle/battle_spell.h"
#include "mainloop/battle_book.h"
#include "town/spellbook.h"
#include "world/game_state.h"

using namespace vorn1;
using vorn1::test::put;
using vorn1::test::run_phase;

namespace {
int add_caster(GameState& g, std::initializer_list<std::pair<int, int>> charges) {
    HeroState h;
    h.live = 1;
    h.has_spellbook = 1;
    for (auto [spell, n] : charges) h.spell_charges[static_cast<size_t>(spell)] = static_cast<uint8_t>(n);
    g.heroes.push_back(h);
    return static_cast<int>(g.heroes.size()) - 1;
}

int pool(const BattleUnit& u) { return (u.count - 1) * creature_hp(u.creature) + u.top_hp; }
}  // namespace

TEST(BattleSpell, AreaStrikeOrderAndTwoHexStacks) {
    using Hexes = std::array<std::array<int, 2>, 7>;
    EXPECT_EQ(spell_area_hexes(2, 3), (Hexes{{{2, 3}, {1, 2}, {1, 3}, {2, 2}, {2, 4}, {3, 2}, {3, 3}}}));
    EXPECT_EQ(spell_area_hexes(1, 3), (Hexes{{{1, 3}, {0, 3}, {0, 4}, {1, 2}, {1, 4}, {2, 3}, {2, 4}}}));

    GameState g;
    BattleScreen b;
    b.game = &g;
    b.attacker_side.hero = add_caster(g, {{kSpellFireball, 2}, {kSpellLightning, 1}});
    b.attacker_side.power = 2;
    std::vector<int> winces;
    b.sfx_hook = [&](BattleSfx kind, int creature, int, int) {
        if (kind == BattleSfx::Wince) winces.push_back(creature);
    };
    BattleUnit& pikes = put(b, 0, 2, 10, 1, 2);    // the caster's own stack is struck too
    BattleUnit& cavalry = put(b, 1, 4, 5, 3, 3);   // covers (3,3) and (3,2): struck once
    BattleUnit& dragon = put(b, 5, 23, 2, 2, 2);   // never struck
    BattleUnit& far = put(b, 6, 2, 10, 4, 7);
    vorn1::test::queue_all(b, 0);
    ASSERT_TRUE(choose_battle_spell(b, kSpellFireball));
    EXPECT_TRUE(spell_target_click(b, 2, 3, -1));
    EXPECT_EQ(b.phase, ActionPhase::SpellCast);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellFireball], 1);
    run_phase(b, ActionPhase::SpellCast);
    ASSERT_EQ(b.phase, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(winces, std::vector<int>{2});  // the first stack struck winces as the hits show
    ASSERT_EQ(b.spells.hits.size(), 2u);
    EXPECT_EQ(b.spells.hits[0].unit, 0);
    EXPECT_EQ(b.spells.hits[1].unit, 1);
    EXPECT_EQ(b.spells.hits[0].kind, DMG_REDFIRE);
    EXPECT_EQ(pool(pikes), 150 - 20);
    EXPECT_EQ(pool(cavalry), 150 - 20);
    EXPECT_EQ(pool(dragon), 2 * 200);
    EXPECT_EQ(pool(far), 150);
    run_phase(b, ActionPhase::SpellDamageAnim);
    // The acting stack keeps its turn, and the round's cast is spent.
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, 0);
    EXPECT_EQ(b.spell_id, -1);
    EXPECT_FALSE(choose_battle_spell(b, kSpellFireball));

    // A corner hex strikes only the neighbours that exist; a stack killed loses its entry pointer.
    BattleUnit& corner = put(b, 7, 0, 3, 1, 0);
    apply_hex_area_damage(b, 0, 0, 100, kSpellMeteor);
    ASSERT_EQ(b.spells.hits.size(), 1u);
    EXPECT_EQ(b.spells.hits[0].killed, 1);
    EXPECT_EQ(b.spells.hits[0].frames, 9);
    EXPECT_EQ(b.spells.hits[0].unit, -1);
    EXPECT_EQ(b.spells.hits[0].kind, DMG_PHYSICAL);
    EXPECT_EQ(corner.alive, 0);
    // A strike that meets nobody leaves no hit behind, not even the last strike's.
    apply_hex_area_damage(b, 0, 0, 100, kSpellMeteor);
    EXPECT_TRUE(b.spells.hits.empty());

    // Next round, a Lightning Bolt that kills: the wince waits for the bolt and is found by the hit's point.
    b.spell_cast_this_round = 0;
    b.phase = ActionPhase::Idle;
    put(b, 8, 0, 3, 4, 5);
    winces.clear();
    ASSERT_TRUE(choose_battle_spell(b, kSpellLightning));
    EXPECT_TRUE(spell_target_click(b, 4, 5, -1));
    EXPECT_EQ(b.spells.hits[0].unit, -1);
    EXPECT_TRUE(winces.empty());
    run_phase(b, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(winces, std::vector<int>{0});
}

TEST(BattleSpell, StatusTargetsImmunityAndDuration) {
    GameState g;
    BattleScreen b;
    b.game = &g;
    b.attacker_side.hero = add_caster(g, {{kSpellBless, 1}, {kSpellParalyze, 1}});
    b.attacker_side.power = 0;
    BattleUnit& own = put(b, 0, 3, 10, 2, 1);
    BattleUnit& foe = put(b, 5, 2, 10, 2, 7);
    BattleUnit& dragon = put(b, 6, 23, 1, 4, 7);
    vorn1::test::queue_all(b, 0);

    // Paralyze leaves both flags; power 0 still gives one round.
    ASSERT_TRUE(choose_battle_spell(b, kSpellParalyze));
    EXPECT_FALSE(spell_target_click(b, -1, -1, 6));  // a Dragon cannot be chosen: aiming goes on
    EXPECT_EQ(b.spell_aiming, 1);
    EXPECT_EQ(b.message, "BATTLE_SELECT_SPELL_TARGET");
    EXPECT_TRUE(spell_target_click(b, -1, -1, 5));
    EXPECT_EQ(b.message, "") << "the request for a target goes with the cast";
    run_phase(b, ActionPhase::SpellCast);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(foe.spell_status, kSpellParalyze);
    EXPECT_EQ(foe.status_rounds, 1);
    EXPECT_TRUE(foe.disabled && foe.paralysed);
    EXPECT_EQ(dragon.spell_status, 255);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellParalyze], 0);
    EXPECT_EQ(b.message, "Pikeman is paralyzed!");

    // Bless on the enemy replaces Paralyze and its flags; a zero charge is cast anyway.
    b.spell_cast_this_round = 0;
    apply_spell_to_target(b, kSpellBless, foe);
    EXPECT_EQ(foe.spell_status, kSpellBless);
    EXPECT_FALSE(foe.disabled || foe.paralysed);
    apply_spell_to_target(b, kSpellBlind, dragon);
    EXPECT_EQ(dragon.spell_status, 255);

    // Anti-Magic shuts out single-target spells; a status click on empty ground cancels aiming.
    foe.spell_status = kSpellAntiMagic;
    ASSERT_TRUE(choose_battle_spell(b, kSpellParalyze));
    EXPECT_FALSE(spell_target_click(b, -1, -1, 5));
    EXPECT_TRUE(spell_target_click(b, -1, -1, -1));
    EXPECT_EQ(b.spell_aiming, 0);
    EXPECT_EQ(b.spell_cast_this_round, 0);

    // Lightning Bolt on the Dragon: the charge and the round's cast go, the Dragon is untouched.
    ASSERT_TRUE(choose_battle_spell(b, kSpellLightning));
    EXPECT_EQ(b.message, "BATTLE_SELECT_TARGET_HEX");
    EXPECT_TRUE(spell_target_click(b, 4, 7, -1));
    EXPECT_EQ(b.message, "");
    EXPECT_EQ(pool(dragon), 200);
    EXPECT_EQ(b.spell_cast_this_round, 1);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(own.spell_status, 255);

    // Each status spell shows its own effect over the target while it is cast.
    const std::pair<int, int> anims[] = {{kSpellBless, 6}, {kSpellCurse, 5}, {kSpellProtection, 0}, {kSpellSlow, 1},
                                         {kSpellAntiMagic, 6}, {kSpellBlind, 1}, {kSpellHaste, 4},
                                         {kSpellBerserker, 0}, {kSpellParalyze, 2}};
    for (auto [spell, anim] : anims) {
        own.spell_status = 255;
        b.spell_cast_this_round = 0;
        ASSERT_TRUE(choose_battle_spell(b, spell));
        EXPECT_TRUE(spell_target_click(b, -1, -1, 0));
        EXPECT_EQ(b.spells.cast_kind, anim) << spell;
        run_phase(b, ActionPhase::SpellCast);
        EXPECT_EQ(own.spell_status, spell);
    }
}

TEST(BattleSpell, CureResurrectAndDispelArithmetic) {
    BattleScreen b;
    b.attacker_side.power = 2;
    BattleUnit& swords = put(b, 0, 3, 10, 2, 1);
    swords.top_hp = 5;
    swords.spell_status = kSpellHaste;
    BattleUnit& slowed = put(b, 1, 2, 4, 3, 1);
    slowed.spell_status = kSpellSlow;
    slowed.status_rounds = 2;
    BattleUnit& foe = put(b, 5, 2, 4, 3, 7);
    foe.spell_status = kSpellSlow;
    BattleUnit& peasants = put(b, 2, 0, 7, 5, 1);  // one hit point each
    apply_aoe_spell(b, kSpellCure);
    EXPECT_EQ(peasants.count, 7) << "the healed count rounds up";
    EXPECT_EQ(peasants.top_hp, 1);
    EXPECT_EQ(swords.count, 10);
    EXPECT_EQ(swords.top_hp, 15);
    EXPECT_EQ(swords.spell_status, kSpellHaste);
    EXPECT_EQ(slowed.spell_status, 255);
    EXPECT_EQ(slowed.status_rounds, 2);
    EXPECT_EQ(slowed.top_hp, 15);  // never above a full top creature
    EXPECT_EQ(foe.spell_status, kSpellSlow);
    EXPECT_EQ(b.message, "BATTLE_CURE");

    // Ressurect: 10 Swordsmen now 4 get 6 at power 1 and 10 at power 3, never more.
    b.attacker_start_counts = {10, 4, 0, 0, 0};
    swords.count = 4;
    swords.top_hp = 25;
    resurrect_stack(b, swords, 50);
    EXPECT_EQ(swords.count, 6);
    EXPECT_EQ(swords.top_hp, 25);
    resurrect_stack(b, swords, 150);
    EXPECT_EQ(swords.count, 10);
    // A stack that grew past its starting count is not cut back.
    BattleUnit& ghosts = put(b, 2, 26, 9, 4, 1);
    b.attacker_start_counts[2] = 5;
    resurrect_stack(b, ghosts, 50);
    EXPECT_EQ(ghosts.count, 9);
    // A fallen stack rises.
    slowed.alive = 0;
    slowed.count = 0;
    slowed.top_hp = 0;
    resurrect_stack(b, slowed, 20);
    EXPECT_EQ(slowed.alive, 1);
    EXPECT_EQ(slowed.count, 2);
    EXPECT_EQ(slowed.top_hp, 5);

    // Dispel clears every slot, dead ones and both sides.
    slowed.alive = 0;
    slowed.spell_status = kSpellBlind;
    slowed.disabled = 1;
    apply_aoe_spell(b, kSpellDispel);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b.unit_by_index(i)->spell_status, 255);
    EXPECT_EQ(slowed.disabled, 0);
}

TEST(BattleSpell, MassStrikesKeepTheActingStacksTurn) {
    GameState g;
    BattleScreen b;
    b.game = &g;
    b.attacker_side.hero = add_caster(g, {{kSpellStorm, 1}, {kSpellArmageddon, 1}});
    b.attacker_side.power = 1;
    put(b, 0, 23, 1, 2, 1);
    put(b, 5, 23, 1, 2, 7);
    vorn1::test::queue_all(b, 5);
    const int acting = b.current;
    // Storm on a field of Dragons strikes nobody and the turn stays. Its rain (three frames of 120 ms)
    // runs from the cast, before any picture has asked for the art.
    b.splash_icns[2].loaded = true;
    b.splash_icns[2].frames.assign(3, BattleSprite{nullptr, 8, 8, 0, 0});
    ASSERT_TRUE(choose_battle_spell(b, kSpellStorm));
    EXPECT_EQ(b.phase, ActionPhase::MassSpellOverlay);
    b.tick_combat(250.0f);
    EXPECT_EQ(b.spells.splash_frame, 2);
    b.tick_combat(130.0f);
    EXPECT_EQ(b.spells.splash_frame, 0) << "the rain repeats";
    run_phase(b, ActionPhase::MassSpellOverlay);
    EXPECT_EQ(b.spells.overlay_level, 10);
    run_phase(b, ActionPhase::MassSpellFlash);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, acting);
    EXPECT_EQ(b.message, "BATTLE_SPELL_STRIKES");
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellStorm], 0);

    // Armageddon strikes both sides alike for 50 x power.
    put(b, 1, 2, 10, 3, 1);
    put(b, 6, 2, 10, 3, 7);
    b.spell_cast_this_round = 0;
    ASSERT_TRUE(choose_battle_spell(b, kSpellArmageddon));
    run_phase(b, ActionPhase::MassSpellOverlay);
    run_phase(b, ActionPhase::MassSpellFlash);
    EXPECT_EQ(b.phase, ActionPhase::SpellDamageAnim);
    run_phase(b, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(pool(*b.unit_by_index(1)), 100);
    EXPECT_EQ(pool(*b.unit_by_index(6)), 100);
    EXPECT_EQ(b.current, acting);

    // Cure chosen in the book acts at once: a charge and the round's cast go, the phase stays.
    BattleUnit& own_pikes = *b.unit_by_index(1);  // 100 of 150 hit points: 7, the top one at 10
    own_pikes.spell_status = kSpellBlind;
    own_pikes.disabled = 1;
    b.unit_by_index(6)->spell_status = kSpellHaste;
    g.heroes[0].spell_charges[kSpellCure] = 2;
    g.heroes[0].spell_charges[kSpellDispel] = 1;
    b.spell_cast_this_round = 0;
    ASSERT_TRUE(choose_battle_spell(b, kSpellCure));
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(own_pikes.count, 7);
    EXPECT_EQ(own_pikes.top_hp, 15);
    EXPECT_EQ(own_pikes.spell_status, 255);
    EXPECT_EQ(own_pikes.disabled, 0);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellCure], 1);
    EXPECT_FALSE(choose_battle_spell(b, kSpellDispel)) << "one cast a round";
    b.spell_cast_this_round = 0;
    ASSERT_TRUE(choose_battle_spell(b, kSpellDispel));
    EXPECT_EQ(b.unit_by_index(6)->spell_status, 255);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellDispel], 0);

    // Turn Undead leaves one cloud where the Ghosts stood; they wince as it shows, and the turn stays.
    std::vector<int> winces;
    b.sfx_hook = [&](BattleSfx kind, int creature, int, int) {
        if (kind == BattleSfx::Wince) winces.push_back(creature);
    };
    g.heroes[0].spell_charges[kSpellTurnUndead] = 1;
    BattleUnit& ghosts = put(b, 7, 26, 6, 4, 7);
    b.spell_cast_this_round = 0;
    ASSERT_TRUE(choose_battle_spell(b, kSpellTurnUndead));
    EXPECT_FALSE(spell_target_click(b, -1, -1, 6)) << "only Ghosts";
    EXPECT_TRUE(spell_target_click(b, -1, -1, 7));
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellTurnUndead], 0);
    run_phase(b, ActionPhase::SpellCast);
    ASSERT_EQ(b.phase, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(ghosts.alive, 0);
    ASSERT_EQ(b.spells.hits.size(), 1u);
    EXPECT_EQ(b.spells.hits[0].kind, DMG_CLOUD);
    EXPECT_EQ(b.spells.hits[0].killed, 1);
    EXPECT_EQ(b.spells.hits[0].frames, 9);
    EXPECT_EQ(winces, std::vector<int>{26});
    run_phase(b, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, acting);

    // Teleport: the own stack, then a free hex; the charge goes and the stack stands there after both phases.
    g.heroes[0].spell_charges[kSpellTeleport] = 1;
    b.spell_cast_this_round = 0;
    BattleUnit& mover = *b.unit_by_index(1);
    ASSERT_TRUE(choose_battle_spell(b, kSpellTeleport));
    EXPECT_FALSE(spell_target_click(b, -1, -1, 6)) << "not an enemy stack";
    EXPECT_FALSE(spell_target_click(b, -1, -1, 1));
    EXPECT_TRUE(spell_target_click(b, 0, 4, -1));
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellTeleport], 0);
    EXPECT_EQ(b.phase, ActionPhase::TeleportOut);
    run_phase(b, ActionPhase::TeleportOut);
    EXPECT_EQ(mover.row, 0);
    EXPECT_EQ(mover.col, 4);
    run_phase(b, ActionPhase::TeleportIn);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, acting);
}

TEST(BattleAutoCast, ScoresAndChoices) {
    GameState g;
    BattleScreen b;
    b.game = &g;
    b.attacker_side.hero = add_caster(g, {{kSpellBlind, 1}});
    BattleUnit& own = put(b, 0, 2, 1, 2, 1);
    BattleUnit& foe = put(b, 5, 3, 10, 2, 7);  // strength (4 + 6) x 10 = 100
    b.attacker_side.power = 1;
    AutoCastChoice c = choose_auto_cast(b, own);
    EXPECT_EQ(c.spell, kSpellBlind);
    EXPECT_EQ(c.score, 15);
    EXPECT_EQ(c.target, 5);
    b.attacker_side.power = 3;
    EXPECT_EQ(choose_auto_cast(b, own).score, 60);
    // Dwarves shrug off a quarter of a curse's worth: (2 + 4) x 10 x 0.6 x 0.75.
    foe.creature = 13;
    EXPECT_EQ(choose_auto_cast(b, own).score, 27);
    foe.creature = 3;

    // A cursed enemy is not cursed again, but Lightning Bolt is still weighed: 75 of 250 hit points.
    g.heroes[0].spell_charges[kSpellLightning] = 1;
    foe.spell_status = kSpellSlow;
    c = choose_auto_cast(b, own);
    EXPECT_EQ(c.spell, kSpellLightning);
    EXPECT_EQ(c.score, 30);
    // Cure always scores 5 x power plus a fifth of each own stack under a curse.
    g.heroes[0].spell_charges[kSpellCure] = 1;
    g.heroes[0].spell_charges[kSpellLightning] = 0;
    own.spell_status = kSpellCurse;
    c = choose_auto_cast(b, own);
    EXPECT_EQ(c.spell, kSpellCure);
    EXPECT_EQ(c.score, 16);  // 5 x 3 + 7 / 5

    // Fireball is not aimed where the own stacks lose more than the enemy.
    g.heroes[0].spell_charges = {};
    g.heroes[0].spell_charges[kSpellFireball] = 1;
    own.spell_status = 255;
    foe.spell_status = 255;
    BattleUnit& guard = put(b, 1, 5, 10, 2, 6);  // 10 Paladins next to the enemy
    EXPECT_EQ(choose_auto_cast(b, own).spell, -1);
    guard = BattleUnit{};
    c = choose_auto_cast(b, own);
    EXPECT_EQ(c.spell, kSpellFireball);
    EXPECT_EQ(c.row, 2);
    EXPECT_EQ(c.col, 7);

    // Teleport needs more than three times the best other score.
    g.heroes[0].spell_charges[kSpellTeleport] = 1;
    BattleUnit& walker = put(b, 2, 3, 20, 0, 0);  // strength 200, far from the enemy
    c = choose_auto_cast(b, own);
    EXPECT_EQ(c.spell, kSpellTeleport);
    EXPECT_EQ(c.target, 2);
    EXPECT_EQ(c.score, 66);
    walker.count = 3;  // strength 30: 10 does not beat the Fireball's 12
    EXPECT_EQ(choose_auto_cast(b, own).spell, kSpellFireball);

    // No spellbook, no option, or a cast already this round: nothing.
    b.opt_ab_spells = 0;
    EXPECT_FALSE(autobattle_try_cast_spell(b, own));
    b.opt_ab_spells = 1;
    g.heroes[0].has_spellbook = 0;
    EXPECT_FALSE(autobattle_try_cast_spell(b, own));

    // Ressurect is weighed by the creatures it brings back: 4 of 10 Swordsmen (100 of 250 hit points)
    // healed by 50 at power 1 make 6, two more, each worth 4 + 6 damage.
    GameState rg;
    BattleScreen r;
    r.game = &rg;
    r.attacker_side.hero = add_caster(rg, {{kSpellResurrect, 1}});
    r.attacker_side.power = 1;
    BattleUnit& wounded = put(r, 0, 3, 4, 2, 1);
    put(r, 5, 0, 1, 2, 7);
    r.attacker_start_counts = {10, 0, 0, 0, 0};
    c = choose_auto_cast(r, wounded);
    EXPECT_EQ(c.spell, kSpellResurrect);
    EXPECT_EQ(c.target, 0);
    EXPECT_EQ(c.score, 20);
}

namespace {
struct SpellBattleRun {
    std::array<int32_t, 10> counts{};
    int casts = 0;
    int charges_spent = 0;
    uint8_t outcome = 0;
};

SpellBattleRun run_spell_battle(uint32_t seed) {
    GameState g;
    BattleScreen b;
    b.game = &g;
    std::initializer_list<std::pair<int, int>> book = {{kSpellBlind, 2}, {kSpellLightning, 3}, {kSpellFireball, 2},
                                                       {kSpellCure, 2}, {kSpellBless, 2}, {kSpellStorm, 1}};
    b.attacker_side.hero = add_caster(g, book);
    b.defender_side.hero = add_caster(g, book);
    b.attacker_side.power = 2;
    b.defender_side.power = 3;
    put(b, 0, 3, 12, 1, 1);
    put(b, 1, 1, 15, 3, 1);
    put(b, 2, 13, 10, 2, 0);
    put(b, 5, 6, 40, 1, 7);
    put(b, 6, 7, 15, 3, 7);
    put(b, 7, 2, 10, 2, 8);
    b.attacker_start_counts = {12, 15, 10, 0, 0};
    b.defender_start_counts = {40, 15, 10, 0, 0};
    b.control.human = {0, 0};
    b.active = 1;
    b.rng = seed;
    b.build_turn_queue();
    b.advance_turn();
    int before = 0;
    for (const HeroState& h : g.heroes)
        for (uint8_t c : h.spell_charges) before += c;
    SpellBattleRun r;
    uint8_t was = 0;
    for (int i = 0; i < 200000 && b.overlay != BattleOverlay::Result; ++i) {
        b.tick(16.0f);
        if (b.spell_cast_this_round && !was) ++r.casts;
        was = b.spell_cast_this_round;
    }
    int after = 0;
    for (const HeroState& h : g.heroes)
        for (uint8_t c : h.spell_charges) after += c;
    for (int i = 0; i < 10; ++i) r.counts[static_cast<size_t>(i)] = b.unit_by_index(i)->count;
    r.charges_spent = before - after;
    r.outcome = b.outcome;
    return r;
}
}  // namespace

TEST(BattleAutoCast, ComputerBattleReplaysAndSpendsOneChargePerCast) {
    SpellBattleRun a = run_spell_battle(777);
    SpellBattleRun again = run_spell_battle(777);
    EXPECT_NE(a.outcome, OutcomeNone);
    EXPECT_GT(a.casts, 2);
    EXPECT_EQ(a.charges_spent, a.casts);
    EXPECT_EQ(a.counts, again.counts);
    EXPECT_EQ(a.casts, again.casts);
    EXPECT_EQ(a.outcome, again.outcome);
}

TEST(BattleSpell, PlayerAimsWithTheMouse) {
    GameState g;
    BattleScreen b;
    b.game = &g;
    b.active = 1;
    b.attacker_side.hero = add_caster(g, {{kSpellLightning, 2}});
    b.attacker_side.power = 2;
    put(b, 0, 3, 10, 2, 1);
    BattleUnit& foe = put(b, 5, 3, 10, 2, 7);
    vorn1::test::queue_all(b, 0);
    auto press = [&](int row, int col, uint8_t button) {
        SDL_Rect r = BattleScreen::hex_rect(row, col);
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.x = r.x + r.w / 2;
        e.button.y = r.y + r.h / 2;
        b.handle_event(e);
    };
    // The right button calls the aim off; nothing is spent.
    ASSERT_TRUE(choose_battle_spell(b, kSpellLightning));
    press(2, 7, SDL_BUTTON_RIGHT);
    EXPECT_EQ(b.spell_aiming, 0);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 2);
    // A left click on the enemy's hex strikes it for 25 x power; a second cast this round is refused.
    ASSERT_TRUE(choose_battle_spell(b, kSpellLightning));
    press(2, 7, SDL_BUTTON_LEFT);
    EXPECT_EQ(pool(foe), 250 - 50);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 1);
    run_phase(b, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    EXPECT_EQ(b.current, 0);
    EXPECT_FALSE(choose_battle_spell(b, kSpellLightning));

    // Next round: a click under no hex and no stack's picture is no aim (aiming goes on, nothing spent);
    // a stack chosen by its picture is struck on its own hex, here the last column that no hex click reaches.
    b.spell_cast_this_round = 0;
    BattleUnit& edge = put(b, 6, 3, 10, 0, 8);
    ASSERT_TRUE(choose_battle_spell(b, kSpellLightning));
    SDL_Event off{};
    off.type = SDL_MOUSEBUTTONDOWN;
    off.button.button = SDL_BUTTON_LEFT;
    off.button.x = 5;
    off.button.y = 20;
    b.handle_event(off);
    EXPECT_EQ(b.spell_aiming, 1);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 1);
    EXPECT_TRUE(spell_target_click(b, -1, -1, 6));
    EXPECT_EQ(pool(edge), 250 - 50);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 0);
}

TEST(BattleSpell, PlayerCastsFromTheBook) {
    GameState g;
    BattleScreen b;
    SpellbookModal book;
    attach_battle_spellbook(b, book);
    b.game = &g;
    b.active = 1;
    b.control.human = {1, 0};
    b.attacker_tent_rect = SDL_Rect{0, 157, 76, 100};
    b.attacker_side.hero = add_caster(g, {{kSpellLightning, 2}});
    b.attacker_side.power = 2;
    put(b, 0, 3, 10, 2, 1);
    BattleUnit& foe = put(b, 5, 3, 10, 2, 7);
    vorn1::test::queue_all(b, 0);
    auto click = [&](int x, int y) {
        SDL_Event e{};
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        e.type = SDL_MOUSEBUTTONDOWN;
        b.handle_event(e);
        e.type = SDL_MOUSEBUTTONUP;
        b.handle_event(e);
    };
    auto open_dialog_and_press_spell = [&] {
        click(b.attacker_tent_rect.x + 5, b.attacker_tent_rect.y + 5);
        ASSERT_EQ(b.overlay, BattleOverlay::HeroOptions);
        click(b.option_button_rects[0].x + 5, b.option_button_rects[0].y + 5);
    };
    open_dialog_and_press_spell();
    ASSERT_EQ(b.overlay, BattleOverlay::Spellbook);
    ASSERT_TRUE(spellbook_modal_active(book));
    ASSERT_EQ(book.book.spells.size(), 1u);
    // The pick's release stays with the book; then the aim is up.
    click(234, 154);
    EXPECT_EQ(b.overlay, BattleOverlay::None);
    EXPECT_FALSE(spellbook_modal_active(book));
    ASSERT_EQ(b.spell_aiming, 1);
    EXPECT_EQ(b.spells.aim_spell, kSpellLightning);
    const SDL_Rect r = BattleScreen::hex_rect(2, 7);
    click(r.x + r.w / 2, r.y + r.h / 2);
    EXPECT_EQ(pool(foe), 250 - 50);
    EXPECT_EQ(foe.count, 8);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 1);
    run_phase(b, ActionPhase::SpellDamageAnim);
    EXPECT_EQ(b.phase, ActionPhase::Idle);
    // The same round: the button stays shut and no book opens.
    open_dialog_and_press_spell();
    EXPECT_EQ(b.overlay, BattleOverlay::HeroOptions);
    EXPECT_FALSE(spellbook_modal_active(book));
    EXPECT_EQ(b.spell_aiming, 0);
    EXPECT_EQ(g.heroes[0].spell_charges[kSpellLightning], 1);
}
