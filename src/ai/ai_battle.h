#pragma once
// Army strength, predicted battle outcomes and battles of computer heroes settled without the battle screen.
#include <cstdint>

#include "ai/ai_records.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// The computer player's prediction of a battle (not the battle screen's result).
struct AIBattleOutcome {
    float win_chance = 0;      // adjusted chance that the attacker wins
    int32_t attacker_loss = 0;
    int32_t defender_loss = 0;
    int32_t attacker_cost = 0;
    int32_t defender_cost = 0;
    double gain = 0;           // worth of the battle to the attacking player, in gold
};

// Strength of a five-slot army. Without `full` the raw worth; with it the count curves and, when a hero is
// given, its skills, morale, luck and spells.
double FightValueOfStack(const uint8_t* ids, const uint16_t* counts, const HeroState* hero, bool full);
inline double FightValueOfStack(const Army& army, const HeroState* hero, bool full) {
    return FightValueOfStack(army.ids.data(), army.counts.data(), hero, full);
}

// Either hero and the extra army may be null; defending_player -1 for a neutral defender.
void ProbableOutcomeOfBattle(const GameState& state, int attacking_player, const uint8_t* attacker_ids,
                             const uint16_t* attacker_counts, const HeroState* attacker_hero,
                             const uint8_t* defender_ids, const uint16_t* defender_counts,
                             const HeroState* defender_hero, const uint8_t* extra_ids, const uint16_t* extra_counts,
                             bool castle, int defending_player, AIBattleOutcome& outcome);

// The battle an attack on the target is, by the tile's rule (attack_on_tile): a foe's hero in a castle is the
// castle's siege, its garrison beside the hero; a foe's hero in a town without walls, or a town target it stands
// in, is that hero alone in the field; any other target is its own battle. Predictions, battles settled here and
// the hand-off to the battle screen all go by it.
AIMapObject ai_battle_target(const GameState& state, int player, const AIMapObject& target);

// The side the battle of a map target (after ai_battle_target) puts against the attacker, as predicted.
struct AIBattleSide {
    Army army;              // the defending hero's army, or the guarding monster as one stack
    int hero = -1;          // the defending hero, -1 none
    Army garrison;          // a town's garrison, beside the hero when one defends
    bool has_garrison = false;
    bool castle = false;    // a town's battle
    int player = -1;        // the defending seat, -1 neutral
};
AIBattleSide ai_battle_side(const GameState& state, int player, const AIMapObject& target);

// The hero's own army and the hero against the defender of a map target.
AIBattleOutcome ai_battle_outcome(const GameState& state, int player, const HeroState& hero, const AIMapObject& object);
bool is_hero_strong_enough(const GameState& state, const HeroState& hero, const AIMapObject& object);

// Settles the battle and applies it to the state and the map; true when the hero won.
bool resolve_ai_battle(GameState& state, GameMap& map, int player, int hero_index, const AIMapObject& object);

// Every stack times the fraction, floored and kept within 1..65535; a fraction at or below 0 empties the army.
void scale_hero_army(HeroState& hero, double fraction);

// The raw win chance lowered in the bands below 0.4 (below 0.08 it becomes 0).
double ai_adjust_win_chance(double p);

// A double truncated toward zero into 32 bits, saturating at the ends.
int32_t ai_saturate_i32(double v);

}  // namespace vorn1
