#pragma once
// Combat spells: which stacks a spell may reach, what it does to them, the timed spell phases of the
// battle and the hero's automatic choice of a spell. Rules only: nothing here draws.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "battle/battle_types.h"

namespace vorn1 {

class BattleScreen;

// One stack a damaging spell struck, as the hit animation plays it.
struct SpellDmgTarget {
    int32_t x = 0;  // screen point of the stack's hex plus (39, 79)
    int32_t y = 0;
    int32_t frames = 3;  // 9 when the stack died
    uint8_t killed = 0;
    uint8_t kind = 0;    // DamageAnimKind
    int32_t unit = -1;   // stack index 0..9, -1 when it died
};

// Spell state of a battle beyond the flags the record keeps (spell_id, casting_side,
// spell_cast_this_round, spell_aiming).
struct BattleSpellState {
    int32_t aim_spell = -1;  // the spell awaiting its target
    std::string prompt;      // the bar's request for that target, cleared with the aim
    int32_t cast_target = -1;  // stack index
    int32_t cast_kind = -1;  // spell-effect animation, -1 none, -2 area spell in flight
    int32_t cast_frame = 0;
    float cast_timer = 0.0f;
    int32_t area_row = -1;
    int32_t area_col = -1;
    float area_timer = 0.0f;
    int32_t area_frame = 0;
    int32_t hover_row = -1;
    int32_t hover_col = -1;
    int32_t teleport_unit = -1;
    int32_t teleport_row = -1;
    int32_t teleport_col = -1;
    float teleport_timer = 0.0f;
    float overlay_timer = 0.0f;
    int32_t overlay_level = 0;
    uint8_t armageddon = 0;
    float splash_timer = 0.0f;
    int32_t splash_frame = 0;
    float hit_timer = 0.0f;
    int32_t hit_frame = 0;
    uint8_t hit_wince_played = 0;
    // Frame counts of the Fireball, Meteor Shower and Storm splash art (0 without art).
    std::array<int32_t, 3> splash_frames{};
    std::vector<SpellDmgTarget> hits;
};

constexpr int kSpellBless = 0, kSpellCurse = 1, kSpellDispel = 2, kSpellProtection = 3, kSpellSlow = 4,
              kSpellAntiMagic = 7, kSpellBlind = 8, kSpellCure = 9, kSpellHaste = 10, kSpellLightning = 11,
              kSpellTurnUndead = 13, kSpellBerserker = 15, kSpellFireball = 16, kSpellParalyze = 18,
              kSpellResurrect = 19, kSpellStorm = 20, kSpellTeleport = 21, kSpellArmageddon = 24,
              kSpellMeteor = 26;

// Bless, Protection, Anti-Magic and Haste: what Cure keeps and what glows blue.
bool is_beneficial_status(int status);
// Whether the battle handles the spell id at all.
bool is_battle_spell(int spell);
// Spells cast without a target the moment they are chosen.
bool is_mass_spell(int spell);
// The side's spell power as every spell rule and the automatic caster use it (at least 1).
int battle_spell_power(const BattleScreen& b, int side);
// The seven hexes of an area strike: centre, row above, left and right, row below (may lie outside).
std::array<std::array<int, 2>, 7> spell_area_hexes(int row, int col);

// The hero's charge of the spell goes down by one (never below zero; a zero charge still casts).
void spend_spell_charge(BattleScreen& b, int spell);
// Puts a status spell on a stack (nothing on a dead or magic-immune stack).
void apply_spell_to_target(BattleScreen& b, int spell, BattleUnit& u);
// Turn Undead resolution; returns true when it destroyed the stack.
bool turn_undead(BattleScreen& b, BattleUnit& u);
// Ressurect: restores hit points up to the starting count, never below the present count.
void resurrect_stack(BattleScreen& b, BattleUnit& u, int healing);
// Fireball and Meteor Shower: rebuilds the hit list.
void apply_hex_area_damage(BattleScreen& b, int row, int col, int damage, int spell);
// Dispel Magic, Cure, Storm and Armageddon.
void apply_aoe_spell(BattleScreen& b, int spell);

// Starts a spell chosen from the book: mass spells are cast at once, the others await a target.
// Refused (false) once a spell was cast this round.
bool choose_battle_spell(BattleScreen& b, int spell);
void cancel_spell_targeting(BattleScreen& b);
// A click at (row, col) while aiming (col -1: no hex; then `unit` is the stack under the pointer,
// -1 none). Returns true when the aim ended, by a cast or otherwise.
bool spell_target_click(BattleScreen& b, int row, int col, int unit);

// The spell phases of the action machine (SpellCast .. TeleportIn).
void tick_spell_phase(BattleScreen& b, float dt);

// The automatic caster's choice for the acting stack, scored as its rules give.
struct AutoCastChoice {
    int32_t spell = -1;
    int32_t kind = 0;  // 1 status, 2 Lightning Bolt, 3 field-wide, 4 area, 5 mass, 6 Turn Undead, 7 Ressurect, 8 Teleport
    int32_t score = 0;
    int32_t target = -1;  // stack index
    int32_t row = -1;
    int32_t col = -1;
};
AutoCastChoice choose_auto_cast(BattleScreen& b, const BattleUnit& u);
// Casts the hero's best spell for the acting stack; true when a spell's phases started.
bool autobattle_try_cast_spell(BattleScreen& b, BattleUnit& u);

}  // namespace vorn1
