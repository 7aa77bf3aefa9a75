// Automatic combat: a side that fights on its own retreats, casts, shoots, or closes in and strikes.
#include "battle/battle_auto.h"

#include <algorithm>
#include <climits>

#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "battle/battle_spell.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "world/game_state.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {
constexpr uint8_t kElf = 14;
constexpr uint8_t kGhost = 26;

bool shooter_with_shots(const BattleUnit& u) { return creature_stats(u.creature).shooter && u.shots > 0; }

int64_t side_power(const BattleScreen& b, int s, bool only_shooters) {
    int64_t sum = 0;
    for (int i = 0; i < 5; ++i) {
        const BattleUnit& u = s == 0 ? b.attackers[i] : b.defenders[i];
        if (!is_living(u) || (only_shooters && !shooter_with_shots(u))) continue;
        sum += autobattle_stack_power(u);
    }
    return sum;
}

enum TargetClass { kClassShooters = 0, kClassFlyers = 1, kClassOthers = 2 };
enum Measure { kStrongest, kNearest };

int target_class(const BattleUnit& e) {
    if (shooter_with_shots(e)) return kClassShooters;
    if (creature_can_fly(e.creature)) return kClassFlyers;
    return kClassOthers;
}

// Whether u can touch the candidate this turn: already next to it, or able to take a hex beside it.
bool reachable_now(const BattleScreen& b, const BattleUnit& u, const BattleUnit& e) {
    int hexes[2] = {e.col, tail_col(e)};
    int n = is_two_hex_creature(e.creature) ? 2 : 1;
    int origin = 0;
    for (int h = 0; h < n; ++h)
        if (hexes[h] <= 8 && b.melee_attack_origin(u, e.row, hexes[h], origin)) return true;
    bool flyer = creature_can_fly(u.creature);
    int range = battle_move_range(u);
    for (int h = 0; h < n; ++h) {
        for (int d = 0; d < 6; ++d) {
            int nr = 0, nc = 0;
            hex_step(e.row, hexes[h], d, nr, nc);
            if (!hex_in_field(nr, nc)) continue;
            bool takes = flyer ? b.flyer_landing_col(u, nr, nc) >= 0 : b.can_occupy(u, nr, nc);
            if (!takes || BattleScreen::hex_distance(u.row, u.col, nr, nc) > range) continue;
            if (!b.find_path(u, nr, nc).empty()) return true;
        }
    }
    return false;
}

// Retreat power of one stack: its join-table power, a fifth more while it has still to act this round.
int64_t retreat_power(const BattleScreen& b, const BattleUnit& u, int slot) {
    if (!is_living(u) || u.creature >= CREATURE_COUNT) return 0;
    double p = static_cast<double>(CREATURE_JOIN_TABLE[u.creature].power) * u.count;
    bool acted = false;
    int limit = std::min<int>(b.current, static_cast<int>(b.queue.size()));
    for (int i = 0; i < limit; ++i)
        if (b.queue[i].side == u.side && b.queue[i].slot == slot) acted = true;
    if (!acted) p = static_cast<double>(static_cast<int64_t>(p * 1.2));
    return static_cast<int64_t>(p);
}

double hero_multiplier(const HeroState& h) {
    int a = std::min(h.attack + h.artifact_bonus[0], 127);
    int d = std::min(h.defense + h.artifact_bonus[1], 127);
    return 1.0 + 0.04 * a + 0.03 * d;
}
}  // namespace

int32_t autobattle_stack_power(const BattleUnit& u) {
    if (u.creature == kNoCreature || !u.alive || u.count < 1) return 0;
    CreatureStats cs = creature_stats(u.creature);
    int64_t p = static_cast<int64_t>(cs.min_dmg + cs.max_dmg) * u.count;
    if (cs.shooter && u.shots > 0) p += p / 4;
    return static_cast<int32_t>(std::min<int64_t>(p, INT32_MAX));
}

double autobattle_retreat_threshold(int64_t artifact_worth, int64_t own_power) {
    double base = artifact_worth <= 5000 ? 0.12 : (artifact_worth <= 10000 ? 0.13 : 0.14);
    double b1 = base, b2 = base + 0.02, b3 = base + 0.04, b4 = base + 0.06, b5 = base + 0.08;
    if (own_power > 40000) return b5 - static_cast<double>(own_power) / 20000.0;
    if (own_power > 30000) return b1;
    if (own_power > 15000) return b2;
    if (own_power > 5000) return b3;
    if (own_power > 2500) return b4;
    return b5;
}

bool BattleScreen::autobattle_check_retreat(BattleUnit& u) {
    if (u.side > 1 || control.human[u.side]) return false;
    if (siege && u.side == 1) return false;
    const BattleSide& mine = side(u.side);
    if (!game || !game->valid_hero(mine.hero)) return false;
    const HeroState& hero = game->heroes[mine.hero];
    bool owns_town = false;
    for (const CastleState& c : game->castles)
        if (c.live && c.owner == hero.owner) owns_town = true;
    if (!owns_town) return false;
    int64_t worth = hero_artifact_value(hero);
    if (worth < 1000) return false;

    const std::array<BattleUnit, 5>& own_stacks = u.side == 0 ? attackers : defenders;
    const std::array<BattleUnit, 5>& enemy_stacks = u.side == 0 ? defenders : attackers;
    int64_t own_sum = 0, enemy_sum = 0;
    for (int i = 0; i < 5; ++i) {
        own_sum += retreat_power(*this, own_stacks[i], i);
        enemy_sum += retreat_power(*this, enemy_stacks[i], i);
    }
    int64_t own = static_cast<int64_t>(static_cast<double>(own_sum) * hero_multiplier(hero));
    int enemy_side = 1 - u.side;
    int64_t enemy = enemy_sum;
    if (game->valid_hero(side(enemy_side).hero))
        enemy = static_cast<int64_t>(static_cast<double>(enemy) * hero_multiplier(game->heroes[side(enemy_side).hero]));
    if (siege && enemy_side == 1) enemy = static_cast<int64_t>(static_cast<double>(enemy) * 1.1);

    double t = autobattle_retreat_threshold(worth, own);
    t += std::min(static_cast<double>(hero.experience) / 200000.0, 0.03);
    if (u.side == 0) t -= 0.06;
    double caution = is_player_index(hero.owner) ? (4 - game->player_ai_level[hero.owner]) * 0.03 : 0.12;

    int64_t enemy_scaled = static_cast<int64_t>(static_cast<double>(enemy) * 1.1);
    int64_t total = own + enemy_scaled;
    if (total <= 0) return false;
    if (static_cast<double>(own) / static_cast<double>(total) >= t - caution) return false;
    retreating_side = u.side;
    open_result_screen(OutcomeRetreat);
    return true;
}

BattleUnit* BattleScreen::autobattle_pick_target(BattleUnit& u) {
    bool shoots = can_shoot(u);
    bool ghost = u.creature == kGhost;
    std::array<BattleUnit, 5>& enemies = u.side == 0 ? defenders : attackers;
    auto search = [&](int cls, Measure m, bool reach) -> BattleUnit* {
        BattleUnit* best = nullptr;
        int64_t best_value = 0;
        for (BattleUnit& e : enemies) {
            if (!is_living(e) || target_class(e) != cls) continue;
            if (reach && !shoots && !reachable_now(*this, u, e)) continue;
            int64_t value;
            bool lower_wins;
            if (ghost) {
                value = autobattle_stack_power(e);
                lower_wins = true;
            } else if (m == kNearest) {
                value = hex_distance(u.row, u.col, e.row, e.col);
                lower_wins = true;
            } else {
                value = autobattle_stack_power(e);
                lower_wins = false;
            }
            if (!best || (lower_wins ? value < best_value : value > best_value)) {
                best = &e;
                best_value = value;
            }
        }
        return best;
    };
    struct Step {
        int cls;
        Measure m;
        bool reach;
    };
    static constexpr Step kShooting[] = {
        {kClassShooters, kStrongest, false}, {kClassFlyers, kStrongest, false}, {kClassOthers, kNearest, false}};
    static constexpr Step kRanging[] = {
        {kClassShooters, kStrongest, true},  {kClassFlyers, kStrongest, true},  {kClassOthers, kNearest, true},
        {kClassShooters, kStrongest, false}, {kClassFlyers, kStrongest, false}, {kClassOthers, kNearest, false}};
    static constexpr Step kWalking[] = {
        {kClassShooters, kStrongest, true},  {kClassOthers, kNearest, true},  {kClassFlyers, kStrongest, true},
        {kClassShooters, kStrongest, false}, {kClassOthers, kNearest, false}, {kClassFlyers, kStrongest, false}};
    const Step* steps = kWalking;
    int n = 6;
    if (shoots) {
        steps = kShooting;
        n = 3;
    } else if (creature_can_fly(u.creature) || shooter_with_shots(u)) {
        steps = kRanging;
    }
    for (int i = 0; i < n; ++i)
        if (BattleUnit* t = search(steps[i].cls, steps[i].m, steps[i].reach)) return t;
    return nullptr;
}

void BattleScreen::run_autobattle_turn(BattleUnit* u) {
    busy = 1;
    if (!u || !is_living(*u)) {
        advance_turn();
        return;
    }
    if (autobattle_check_retreat(*u)) return;
    // A spell that acts at once (Cure, Dispel Magic) leaves the phase idle: the stack still acts.
    if (autocast_hook) autocast_hook(*this, *u);
    else autobattle_try_cast_spell(*this, *u);
    if (phase != ActionPhase::Idle) return;
    BattleUnit* target = autobattle_pick_target(*u);
    if (!target) {
        advance_turn();
        return;
    }
    if (can_shoot(*u)) {
        double_shot = (u->creature == kElf && u->shots > 1) ? 1 : 0;
        start_ranged_attack(u, target);
        if (phase == ActionPhase::Idle) advance_turn();
        return;
    }
    bool ranged_mover = creature_can_fly(u->creature) || shooter_with_shots(*u);
    if (!ranged_mover && siege && u->side == 1) {
        int64_t own = side_power(*this, 1, false);
        int64_t own_shoot = side_power(*this, 1, true);
        int64_t enemy_shoot = side_power(*this, 0, true);
        if (keep_alive) {
            int64_t keep = own / 4;
            own += keep;
            own_shoot += keep;
        }
        if (own < 2 * own_shoot && enemy_shoot <= own_shoot && !adjacent_enemy(u->row, u->col, true)) {
            advance_turn();
            return;
        }
    }
    start_move_or_attack(target->row, target->col);
    if (phase != ActionPhase::Idle) return;
    if (siege && u->side == 0 && u->col <= 3 && unit_at_hex(u->row, 4) == nullptr) {
        start_move_or_attack(u->row, 4);
        if (phase != ActionPhase::Idle) return;
    }
    advance_turn();
}

}  // namespace vorn1
