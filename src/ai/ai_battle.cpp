#include "ai/ai_battle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ai/ai_tables.h"
#include "battle/battle_combat.h"
#include "world/creature_table.h"
#include "battle/morale_luck.h"
#include "world/tile_attack.h"
#include "world/tile_rules.h"

namespace vorn1 {

int32_t ai_saturate_i32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

double ai_adjust_win_chance(double p) {
    if (p < 0.08) return 0;
    if (p < 0.12) return p - 0.07;
    if (p < 0.2) return p - 0.05;
    if (p < 0.3) return p - 0.04;
    if (p < 0.4) return p - 0.02;
    return p;
}

namespace {

int capped(int a, int b) { return std::min(127, a + b); }

double spell_bonus(double v, const HeroState& hero) {
    const int power = capped(hero.power, hero.artifact_bonus[2]);
    const double plain = power == 1 ? 0.25 : power == 2 ? 0.5 : 1.0;
    bool counted = false;
    double best = 0, sum = 0;
    for (int id = 0; id < 29; ++id) {
        const int n = hero.spell_charges[id];
        if (n == 0 || !(gSpellAIFlags[id] & SPELL_AI_COUNTS)) continue;
        const double mult = (gSpellAIFlags[id] & SPELL_AI_SCALES)
                                ? static_cast<double>(BATTLE_STAT_CURVE[std::min(power, 40)])
                                : plain;
        const double w = gSpellAIValue[id] * mult;
        if (!counted || w > best) best = w;
        counted = true;
        sum += static_cast<double>(gSpellCastNumMod[std::min(n, 20)]) * w;
    }
    if (!counted) return 0;
    const double cap = std::min(sum, best * 3.5);
    if (cap > 2 * v) return 1.25 * v;
    if (cap > 1.5 * v) return v;
    if (cap > v) return 0.75 * v;
    return cap;
}

}  // namespace

double FightValueOfStack(const uint8_t* ids, const uint16_t* counts, const HeroState* hero, bool full) {
    double v = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int id = ids[i], c = counts[i];
        if (id > 27 || c == 0) continue;
        double s = static_cast<double>(gMonsterDatabase[id].value) * c;
        if (full) s *= ai_count_factor(id, c);
        v += s;
    }
    if (!hero || !full) return v;
    const int a = capped(hero->attack, hero->artifact_bonus[0]);
    const int d = capped(hero->defense, hero->artifact_bonus[1]);
    v *= static_cast<double>(gStatPower[std::min(40, a + d + 20)]);
    // The hero's battle morale and luck, as the battle itself would count them for this army.
    MoraleLuckInputs in = morale_luck_inputs(*hero);
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        in.army_ids[i] = ids[i];
        in.army_counts[i] = counts[i];
    }
    const int m = battle_morale(in, g_zizezo_bad_luck);
    const int l = battle_luck(in, g_zizezo_bad_luck);
    if (m > 0) v = v * (m + 48) / 48;
    else if (m < 0) v = v * (m + 24) / 24;
    if (l != 0) v = v * (l + 16) * 0.0625;
    if (!hero->has_spellbook) return v;
    return v + spell_bonus(v, *hero);
}

namespace {

double hero_artifact_worth(const HeroState& h) { return static_cast<double>(hero_artifact_value(h)); }

const AIPlayerVars& vars_of(const GameState& state, int player) {
    return state.ai_vars[is_player_index(player) ? player : 0];
}

}  // namespace

void ProbableOutcomeOfBattle(const GameState& state, int attacking_player, const uint8_t* attacker_ids,
                             const uint16_t* attacker_counts, const HeroState* attacker_hero,
                             const uint8_t* defender_ids, const uint16_t* defender_counts,
                             const HeroState* defender_hero, const uint8_t* extra_ids, const uint16_t* extra_counts,
                             bool castle, int defending_player, AIBattleOutcome& out) {
    out = AIBattleOutcome{};
    const int k = ai_skill_class(state, attacking_player);
    const bool human = is_player_index(defending_player) && state.player_is_human[defending_player] != 0;

    double A = FightValueOfStack(attacker_ids, attacker_counts, attacker_hero, true);
    double D = FightValueOfStack(defender_ids, defender_counts, defender_hero, true);
    const double A0 = FightValueOfStack(attacker_ids, attacker_counts, attacker_hero, false);
    double D0 = FightValueOfStack(defender_ids, defender_counts, defender_hero, false);
    if (extra_ids && extra_counts) {
        D += FightValueOfStack(extra_ids, extra_counts, nullptr, true);
        D0 += FightValueOfStack(extra_ids, extra_counts, nullptr, false);
    }
    if (castle) D *= 1.11;
    if (defending_player == -1) {
        A *= 0.7 + 0.15 * k;
    } else if (human) {
        D *= 1.14;
        if (k == 0) A *= 1.5;
    }
    A = std::max(A, 1.0);
    D = std::max(D, 1.0);
    const double e = (A > 1000000.0 || D > 1000000.0) ? 2.0 : 2.75;
    const double ae = std::pow(A, e), de = std::pow(D, e);
    const double p = ai_adjust_win_chance(ae / (ae + de));

    out.win_chance = static_cast<float>(p);
    out.attacker_loss = ai_saturate_i32(A0 * (1 - p));
    out.defender_loss = ai_saturate_i32(D0 * p);
    out.attacker_cost = ai_saturate_i32(out.attacker_loss * p + A0 * (1 - p));
    out.defender_cost = ai_saturate_i32(out.defender_loss * (1 - p) + D0 * p);

    static constexpr double kHumanF[4] = {0.6, 1.0, 1.14, 1.21};
    static constexpr double kOtherF[4] = {1.3, 1.0, 0.86, 0.74};
    const double f = human ? kHumanF[k] : kOtherF[k];

    const AIPlayerVars& vars = vars_of(state, attacking_player);
    const double r = vars.battle_bias;
    double G = -static_cast<double>(out.attacker_cost) * (1.33 - r) * (1.33 - r);
    if (defending_player != -1) G += static_cast<double>(out.defender_cost) * f * (r + 0.66) * (r + 0.66);
    if (vars.wealth_ratio != 0) G *= vars.wealth_ratio;

    if (attacker_hero) {
        G -= (hero_artifact_worth(*attacker_hero) + 1400) * (1 - p);
        double X = 0;
        for (int i = 0; i < ARMY_SLOTS; ++i) {
            const int id = defender_ids[i], c = defender_counts[i];
            if (c == 0 || id > 27) continue;
            X += static_cast<double>(c) * creature_stats(static_cast<uint8_t>(id)).hp;
        }
        if (defender_hero) X += 500;
        const double H = FightValueOfStack(attacker_hero->army, attacker_hero, false);
        G += X * 0.8 * p * (H * 0.00004 + 0.4);
    }
    if (defender_hero) G += (hero_artifact_worth(*defender_hero) + 1250) * f * p;
    out.gain = G;
}

namespace {

template <class V>
bool in_range(const V& v, int i) { return i >= 0 && i < static_cast<int>(v.size()); }

int first_live_monster_on(const GameState& s, int x, int y) {
    for (int i = 0; i < static_cast<int>(s.monsters.size()); ++i) {
        const MonsterStackState& m = s.monsters[i];
        if (!m.removed && m.count >= 1 && m.x == x && m.y == y) return i;
    }
    return -1;
}

int first_live_garrison_on(const GameState& s, int x, int y) {
    for (int i = 0; i < static_cast<int>(s.garrisons.size()); ++i) {
        const NeutralTownGarrison& g = s.garrisons[i];
        if (g.live && g.x == x && g.y == y) return i;
    }
    return -1;
}

Army single_stack(int creature, int32_t count) {
    Army a;
    a.ids[0] = static_cast<uint8_t>(creature);
    a.counts[0] = static_cast<uint16_t>(std::clamp<int32_t>(count, 0, 65535));
    return a;
}

AIBattleSide defender_of(const GameState& s, int player, const AIMapObject& o) {
    AIBattleSide d;
    switch (o.type) {
        case AIO_ATTACK_CASTLE:
        case AIO_NEUTRAL_CASTLE: {
            if (!in_range(s.castles, o.index)) break;
            const CastleState& c = s.castles[o.index];
            const TileAttack a = attack_on_tile(s, player, c.x, c.y);
            if (a.hero >= 0) {
                d.hero = a.hero;
                d.army = s.heroes[a.hero].army;
                d.player = s.heroes[a.hero].owner;
            } else {
                d.player = o.type == AIO_ATTACK_CASTLE ? c.owner : -1;
            }
            const GarrisonStacks g = attack_garrison(s, a);
            for (int i = 0; i < ARMY_SLOTS; ++i) {
                d.garrison.ids[i] = g.ids[i];
                d.garrison.counts[i] = static_cast<uint16_t>(std::min<int32_t>(g.counts[i], 65535));
            }
            d.has_garrison = true;
            d.castle = true;
            break;
        }
        case AIO_ATTACK_HERO:
            if (!in_range(s.heroes, o.index)) break;
            d.hero = o.index;
            d.army = s.heroes[o.index].army;
            d.player = s.heroes[o.index].owner;
            break;
        case AIO_MINE: case AIO_DRAGON_CITY: case AIO_LIGHTHOUSE: case AIO_CHEST:
        case AIO_ARTIFACT: case AIO_RESOURCE: case AIO_CAMPFIRE: {
            const int m = first_live_monster_on(s, o.x, o.y);
            if (m >= 0) d.army = single_stack(s.monsters[m].creature, s.monsters[m].count);
            break;
        }
        case AIO_MONSTER:
            if (in_range(s.monsters, o.index) && !s.monsters[o.index].removed && s.monsters[o.index].count >= 1)
                d.army = single_stack(s.monsters[o.index].creature, s.monsters[o.index].count);
            break;
        default: break;
    }
    // A defending hero of no seat fights as a neutral.
    if (!is_player_index(d.player)) d.player = -1;
    return d;
}

}  // namespace

AIMapObject ai_battle_target(const GameState& s, int player, const AIMapObject& o) {
    const bool at_hero = o.type == AIO_ATTACK_HERO && in_range(s.heroes, o.index) && s.heroes[o.index].live;
    const bool at_town = (o.type == AIO_ATTACK_CASTLE || o.type == AIO_NEUTRAL_CASTLE) && in_range(s.castles, o.index);
    if (!at_hero && !at_town) return o;
    const int x = at_hero ? s.heroes[o.index].x : s.castles[o.index].x;
    const int y = at_hero ? s.heroes[o.index].y : s.castles[o.index].y;
    const TileAttack a = attack_on_tile(s, player, x, y);
    if (a.form == AttackForm::Hero) return at_hero ? o : AIMapObject{x, y, AIO_ATTACK_HERO, a.hero, true};
    if (a.town < 0 || (at_town && a.town == o.index)) return o;
    const CastleState& c = s.castles[a.town];
    return AIMapObject{c.x, c.y, c.owner < 0 ? AIO_NEUTRAL_CASTLE : AIO_ATTACK_CASTLE, a.town, true};
}

AIBattleSide ai_battle_side(const GameState& state, int player, const AIMapObject& object) {
    return defender_of(state, player, ai_battle_target(state, player, object));
}

AIBattleOutcome ai_battle_outcome(const GameState& state, int player, const HeroState& hero, const AIMapObject& object) {
    const AIBattleSide d = ai_battle_side(state, player, object);
    const HeroState* foe = d.hero >= 0 ? &state.heroes[d.hero] : nullptr;
    AIBattleOutcome out;
    ProbableOutcomeOfBattle(state, player, hero.army.ids.data(), hero.army.counts.data(), &hero, d.army.ids.data(),
                            d.army.counts.data(), foe, d.has_garrison ? d.garrison.ids.data() : nullptr,
                            d.has_garrison ? d.garrison.counts.data() : nullptr, d.castle, d.player, out);
    return out;
}

bool is_hero_strong_enough(const GameState& state, const HeroState& hero, const AIMapObject& object) {
    const AIBattleOutcome own = ai_battle_outcome(state, hero.owner, hero, object);
    if (object.type != AIO_ARTIFACT) return own.win_chance >= 0.5f;
    const Army guard = single_stack(24, 50);
    AIBattleOutcome g;
    ProbableOutcomeOfBattle(state, hero.owner, hero.army.ids.data(), hero.army.counts.data(), &hero, guard.ids.data(),
                            guard.counts.data(), nullptr, nullptr, nullptr, false, -1, g);
    return std::min(own.win_chance, g.win_chance) >= 0.5f;
}

void scale_hero_army(HeroState& hero, double fraction) {
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        if (hero.army.ids[i] == EMPTY_ID || hero.army.counts[i] == 0) continue;
        if (fraction <= 0) {
            hero.army.ids[i] = EMPTY_ID;
            hero.army.counts[i] = 0;
            continue;
        }
        const double n = std::floor(hero.army.counts[i] * fraction);
        hero.army.counts[i] = static_cast<uint16_t>(std::clamp(n, 1.0, 65535.0));
    }
}

namespace {

double plain_worth(const Army& a) { return FightValueOfStack(a, nullptr, false); }

double stack_worth(const MonsterStackState& m) {
    return static_cast<double>(m.count) * ai_creature_value(m.creature);
}

bool is_monster_type(uint8_t t) { return t == OBJ_MONSTER || (t >= OBJ_MONSTER_B && t <= OBJ_MONSTER_E); }

// A defeated guard leaves the tile it stood on; on the site's own tile only the guard's marks go.
void clear_guard_tile(GameMap& map, int x, int y, bool site_tile) {
    MapTile* t = map.tile(x, y);
    if (!t) return;
    if (site_tile) {
        t->object_detail = 0;
        if (is_monster_type(t->object_type)) t->blocking = 0;
    } else {
        t->object_type = 0;
        t->blocking = 0;
        t->object_detail = 0;
    }
}

void defeat_stack(MonsterStackState& m) {
    m.removed = 1;
    m.count = 0;
}

int32_t survivors(int32_t count, double s) {
    return std::max<int32_t>(1, ai_saturate_i32(std::floor(static_cast<double>(count) * s)));
}

}  // namespace

bool resolve_ai_battle(GameState& state, GameMap& map, int player, int hero_index, const AIMapObject& object) {
    if (!state.valid_hero(hero_index)) return false;
    const AIMapObject o = ai_battle_target(state, player, object);
    const double Hv = FightValueOfStack(state.heroes[hero_index].army, &state.heroes[hero_index], true);
    double Dv = 0;
    switch (o.type) {
        case AIO_ATTACK_CASTLE:
        case AIO_NEUTRAL_CASTLE:
            if (in_range(state.castles, o.index)) {
                const CastleState& c = state.castles[o.index];
                Dv += plain_worth(c.garrison);
                const int g = first_live_garrison_on(state, c.x, c.y);
                if (g >= 0)
                    for (int i = 0; i < ARMY_SLOTS; ++i)
                        if (state.garrisons[g].ids[i] != EMPTY_ID && state.garrisons[g].counts[i] > 0)
                            Dv += static_cast<double>(state.garrisons[g].counts[i]) *
                                  ai_creature_value(state.garrisons[g].ids[i]);
                for (const HeroState& h : state.heroes)
                    if (h.live && h.x == o.x && h.y == o.y) Dv += FightValueOfStack(h.army, &h, true);
            }
            break;
        case AIO_ATTACK_HERO:
            if (in_range(state.heroes, o.index)) Dv = FightValueOfStack(state.heroes[o.index].army, &state.heroes[o.index], true);
            break;
        case AIO_MINE: case AIO_DRAGON_CITY: case AIO_LIGHTHOUSE: case AIO_CHEST:
        case AIO_ARTIFACT: case AIO_RESOURCE: case AIO_CAMPFIRE: {
            const int m = first_live_monster_on(state, o.x, o.y);
            if (m >= 0) Dv = stack_worth(state.monsters[m]);
            break;
        }
        case AIO_MONSTER:
            if (in_range(state.monsters, o.index) && !state.monsters[o.index].removed && state.monsters[o.index].count > 0)
                Dv = stack_worth(state.monsters[o.index]);
            break;
        default: break;
    }

    const AIBattleOutcome out = ai_battle_outcome(state, player, state.heroes[hero_index], o);
    if (out.win_chance >= 0.5f) {
        const double q = Hv > 0 ? std::clamp(1 - Dv / Hv, 0.05, 1.0) : 1.0;
        scale_hero_army(state.heroes[hero_index], q);
        switch (o.type) {
            case AIO_ATTACK_CASTLE:
            case AIO_NEUTRAL_CASTLE:
                if (in_range(state.castles, o.index)) {
                    CastleState& c = state.castles[o.index];
                    c.garrison.clear();
                    c.owner = player;
                    const int g = first_live_garrison_on(state, c.x, c.y);
                    if (g >= 0) state.garrisons[g].live = 0;
                    for (int h = 0; h < static_cast<int>(state.heroes.size()); ++h) {
                        const HeroState& e = state.heroes[h];
                        if (e.live && e.owner != player && e.x == c.x && e.y == c.y) dismiss_hero(state, map, h, player);
                    }
                }
                break;
            case AIO_ATTACK_HERO:
                dismiss_hero(state, map, o.index, player);
                break;
            case AIO_MINE: case AIO_DRAGON_CITY: case AIO_LIGHTHOUSE:
                for (MonsterStackState& m : state.monsters) {
                    if (m.removed || m.count <= 0) continue;
                    if (std::max(std::abs(m.x - o.x), std::abs(m.y - o.y)) > 1) continue;
                    defeat_stack(m);
                    clear_guard_tile(map, m.x, m.y, m.x == o.x && m.y == o.y);
                }
                break;
            case AIO_CHEST: case AIO_ARTIFACT: case AIO_RESOURCE: case AIO_CAMPFIRE:
                // The guard on the pickup's tile is beaten too, so the pickup can be collected afterwards.
                for (MonsterStackState& m : state.monsters) {
                    if (m.removed || m.count <= 0 || m.x != o.x || m.y != o.y) continue;
                    defeat_stack(m);
                    clear_guard_tile(map, m.x, m.y, true);
                }
                break;
            case AIO_MONSTER:
                if (in_range(state.monsters, o.index)) {
                    MonsterStackState& m = state.monsters[o.index];
                    defeat_stack(m);
                    if (MapTile* t = map.tile(m.x, m.y)) {
                        t->object_type = 0;
                        t->blocking = 0;
                        t->layer1_set = 0;
                        t->layer1_frame = 255;
                        t->object_detail = 0;
                    }
                }
                break;
            default: break;
        }
        return true;
    }

    const double s = (Hv > 0 && Dv > 0) ? std::clamp(1 - Hv / Dv, 0.05, 1.0) : 1.0;
    switch (o.type) {
        case AIO_ATTACK_HERO:
            if (in_range(state.heroes, o.index)) scale_hero_army(state.heroes[o.index], s);
            break;
        case AIO_ATTACK_CASTLE:
        case AIO_NEUTRAL_CASTLE:
            if (in_range(state.castles, o.index)) {
                CastleState& c = state.castles[o.index];
                const int g = first_live_garrison_on(state, c.x, c.y);
                if (g >= 0) {
                    for (int i = 0; i < ARMY_SLOTS; ++i)
                        if (state.garrisons[g].ids[i] != EMPTY_ID && state.garrisons[g].counts[i] > 0)
                            state.garrisons[g].counts[i] = survivors(state.garrisons[g].counts[i], s);
                } else {
                    for (int i = 0; i < ARMY_SLOTS; ++i)
                        if (c.garrison.ids[i] != EMPTY_ID && c.garrison.counts[i] != 0)
                            c.garrison.counts[i] = static_cast<uint16_t>(std::min(65535, survivors(c.garrison.counts[i], s)));
                }
            }
            break;
        case AIO_MONSTER:
            if (in_range(state.monsters, o.index)) {
                MonsterStackState& m = state.monsters[o.index];
                m.count = survivors(m.count, s);
                if (MapTile* t = map.tile(m.x, m.y)) t->object_detail = static_cast<uint8_t>(std::min(255, m.count));
            }
            break;
        default: break;
    }
    dismiss_hero(state, map, hero_index, ai_battle_side(state, player, o).player);
    return false;
}

}  // namespace vorn1
