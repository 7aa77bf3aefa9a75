#include "ai/ai_economy.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ai/ai_battle.h"
#include "ai/ai_building.h"
#include "ai/ai_records.h"
#include "ai/ai_tables.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_trading.h"
#include "ai/ai_turn_vars.h"
#include "world/buildings.h"
#include "world/hero_pool.h"

namespace vorn1 {

const std::array<int32_t, 7> gMineIncome = {2, 1, 2, 1, 1, 1, 1000};

double TurnsToBuy(const GameState& state, int player, const CreatureCost& cost) {
    if (!is_player_index(player)) player = 0;
    const PlayerResources& r = state.resources[player];
    const AIPlayerVars& v = state.ai_vars[player];
    const int32_t need[7] = {cost.wood, cost.mercury, cost.ore, cost.sulfur, cost.crystal, cost.gems, cost.gold};
    const int32_t held[7] = {r.wood, r.mercury, r.ore, r.sulfur, r.crystal, r.gems, r.gold};
    const int32_t income[7] = {v.income[0], v.income[1], v.income[2], v.income[3], v.income[4], v.income[5], v.gold_income};
    int64_t days = 0;
    for (int i = 0; i < 7; ++i) {
        if (held[i] >= need[i]) continue;
        const int64_t d = income[i] > 0 ? (static_cast<int64_t>(need[i]) - held[i]) / income[i] + 1 : 99;
        days = std::max(days, d);
    }
    return static_cast<double>(days);
}

double ai_afford_factor(const GameState& state, int player, const CreatureCost& cost) {
    return std::max(0.0, 1 - 0.15 * TurnsToBuy(state, player, cost));
}

float ai_gold_price(const std::array<float, 7>& w, const CreatureCost& c) {
    float sum = 0;
    sum += static_cast<float>(c.wood) * w[0];
    sum += static_cast<float>(c.mercury) * w[1];
    sum += static_cast<float>(c.ore) * w[2];
    sum += static_cast<float>(c.sulfur) * w[3];
    sum += static_cast<float>(c.crystal) * w[4];
    sum += static_cast<float>(c.gems) * w[5];
    sum += static_cast<float>(c.gold) * w[6];
    return sum;
}

double ai_per_price(double score, float price) { return price != 0 ? score / price : score; }

namespace {

enum ActionKind { ACT_NONE, ACT_BUILD, ACT_BUY, ACT_HIRE };

struct Action {
    ActionKind kind = ACT_NONE;
    double score = -99;
    int town = -1;
    int slot = -1;       // build slot, or dwelling index of a purchase
    int creature = -1;
    int count = 0;
    int pool_index = -1;
};

bool hero_on_tile(const GameState& s, int x, int y) {
    for (const HeroState& h : s.heroes)
        if (h.live && h.x == x && h.y == y) return true;
    return false;
}

bool garrison_takes(const Army& a, int creature) {
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (a.ids[i] == creature || a.ids[i] == EMPTY_ID) return true;
    return false;
}

int32_t unit_amount_limit(int32_t held, int32_t unit) { return held / unit; }

double hire_opportunity(const GameState& s, int p, const CastleState& t) {
    double O = 0;
    auto dist = [&](int x, int y) { return std::abs(x - t.x) + std::abs(y - t.y); };
    for (const MineState& m : s.mines) {
        if (!m.live || m.owner == p) continue;
        const int r = dist(m.x, m.y);
        if (r <= 18) O += 100.0 * (m.kind <= 6 ? gMineIncome[m.kind] : 1) / (r + 2);
    }
    for (const ArtifactState& a : s.map_artifacts)
        if (!a.taken && a.artifact != EMPTY_ID && dist(a.x, a.y) <= 18) O += 2000.0 / (dist(a.x, a.y) + 2);
    for (const TreasureChestState& c : s.chests)
        if (!c.taken && dist(c.x, c.y) <= 18) O += 1500.0 / (dist(c.x, c.y) + 2);
    for (const ResourcePileState& r : s.resource_piles)
        if (!r.taken && dist(r.x, r.y) <= 18) O += 400.0 / (dist(r.x, r.y) + 2);
    for (const CampfireState& f : s.campfires)
        if (f.active && !f.taken && dist(f.x, f.y) <= 18) O += 400.0 / (dist(f.x, f.y) + 2);
    for (const CastleState& o : s.castles)
        if (o.live && o.owner != p && dist(o.x, o.y) <= 18) O += 3000.0 / (dist(o.x, o.y) + 2);
    for (const HeroState& h : s.heroes) {
        if (!h.live || h.owner != p) continue;
        const int r = dist(h.x, h.y);
        if (r <= 8) O -= (9 - r) * 1250.0 / 9;
    }
    return static_cast<double>(std::min<int64_t>(static_cast<int64_t>(O), 32000));
}

Action best_hire(const GameState& s, int p, int town_index, int H, int Q, const std::array<float, 7>& prices) {
    Action best;
    best.kind = ACT_HIRE;
    best.town = town_index;
    const CastleState& t = s.castles[town_index];
    if (!(H < Q && t.is_castle && !hero_on_tile(s, t.x, t.y))) return best;
    const AIPlayerVars& v = s.ai_vars[p];
    const double O = hire_opportunity(s, p, t);
    CreatureCost fee;
    fee.gold = HERO_HIRE_COST;
    const double afford = ai_afford_factor(s, p, fee);
    const float price = ai_gold_price(prices, fee);
    bool any = false;
    auto consider = [&](int idx) {
        const HeroPoolEntry& e = s.pool.entries[idx];
        double h = (static_cast<double>(v.savings) + 1 - static_cast<double>(v.battle_bias)) * 2000;
        if (e.faction == t.faction) h *= 1.12;
        const double score = ai_per_price((O + h - 200) * afford, price);
        any = true;
        if (score > best.score) {
            best.score = score;
            best.pool_index = idx;
        }
    };
    for (int j = 0; j < 2; ++j) {
        const int idx = s.offers[p][j];
        if (idx >= 0 && idx < HERO_POOL_SIZE && s.pool.entries[idx].status == POOL_RETURNED &&
            s.pool.entries[idx].last_owner == p)
            consider(idx);
    }
    for (int32_t idx : s.pool.free_entries)
        if (idx >= 0 && idx < HERO_POOL_SIZE && s.pool.entries[idx].status == POOL_FREE) consider(idx);

    const int d = ai_day_index(s);
    if (any && d > 5 && best.score > 0) {
        const int32_t g = v.gold_income;
        if (g < 1250) {
            if (H <= 1) best.score += 500;
        } else if (Q - 2 > H || H < 2) {
            best.score += 500;
        } else if (g >= 1500 && Q - 1 > H) {
            best.score *= 1.3;
        }
    } else if (H == 0) {
        best.score += 500;
    }
    return best;
}

void upgrade_towns(GameState& s, GameMap& map, int p) {
    PlayerResources& r = s.resources[p];
    const PlayerResources price = castle_upgrade_cost();
    for (CastleState& t : s.castles) {
        if (r.gold < price.gold) break;
        if (!t.live || t.owner != p || t.is_castle || t.built_today) continue;
        // Only what the castle costs is asked for: a stock of another kind below zero blocks nothing.
        if (r.wood < price.wood || r.ore < price.ore) continue;
        r.gold -= price.gold;
        r.wood -= price.wood;
        r.ore -= price.ore;
        t.buildings = static_cast<uint16_t>((t.buildings | BLD_CASTLE) & ~BLD_TENT);
        upgrade_town_to_castle(map, t);
        t.built_today = 1;
        ai_log(s, p, "build Castle (castle @ %d,%d)", t.x, t.y);
    }
}

// Carries out the pass's choice; false when its checks fail and the passes end.
bool carry_out(GameState& s, GameMap& map, int p, const Action& a) {
    CastleState& t = s.castles[a.town];
    switch (a.kind) {
        case ACT_BUILD: {
            const BuildSlot slot = static_cast<BuildSlot>(a.slot);
            if (get_build_status(slot, t, s.resources[p], map, t.built_today != 0) != BUILD_OK) return false;
            bool built_today = t.built_today != 0;
            apply_build(slot, t, s.resources[p], built_today);
            t.built_today = built_today ? 1 : 0;
            ai_log(s, p, "build slot %d (castle @ %d,%d)", a.slot, t.x, t.y);
            return true;
        }
        case ACT_BUY: {
            if (a.count < 1 || a.slot < 0 || t.available[a.slot] < a.count) return false;
            if (!garrison_takes(t.garrison, a.creature)) return false;
            const CreatureCost total = creature_cost_for_count(static_cast<uint8_t>(a.creature), a.count);
            if (!can_pay_cost(s.resources[p], total)) return false;
            RecruitResult rr;
            rr.castle = a.town;
            rr.dwelling = a.slot;
            rr.creature = static_cast<uint8_t>(a.creature);
            rr.count = a.count;
            rr.cost = total;
            bool no_room = false;
            apply_recruit_result(rr, s, no_room);
            return true;
        }
        case ACT_HIRE: {
            if (s.resources[p].gold < HERO_HIRE_COST || !t.is_castle || hero_on_tile(s, t.x, t.y)) return false;
            if (HeroPool::count_player_heroes(p, s) > 7 || a.pool_index < 0) return false;
            if (hire_hero(s, map, a.pool_index, p, t.x, t.y) >= 0) ai_log(s, p, "recruit hero (castle @ %d,%d)", t.x, t.y);
            return true;
        }
        default: return false;
    }
}

}  // namespace

AIPurchaseChoice ai_best_purchase(const GameState& s, int p, int town_index, const std::array<float, 7>& prices) {
    AIPurchaseChoice best;
    if (!is_player_index(p) || town_index < 0 || town_index >= static_cast<int>(s.castles.size())) return best;
    const CastleState& t = s.castles[town_index];
    const PlayerResources& r = s.resources[p];
    const double R = s.ai_vars[p].wealth_ratio;
    for (int k = 0; k < 6; ++k) {
        const int32_t a = t.available[k];
        const int c = dwelling_slot_creature(t.faction, k);
        if (a < 1 || c < 0 || c > 27 || !garrison_takes(t.garrison, c)) continue;
        const CreatureCost u = creature_recruit_cost(static_cast<uint8_t>(c));
        const int32_t held[7] = {r.gold, r.wood, r.ore, r.mercury, r.sulfur, r.crystal, r.gems};
        const int32_t unit[7] = {u.gold, u.wood, u.ore, u.mercury, u.sulfur, u.crystal, u.gems};
        int64_t affordable = -1;
        for (int i = 0; i < 7; ++i)
            if (unit[i] > 0) {
                const int64_t n = unit_amount_limit(held[i], unit[i]);
                affordable = affordable < 0 ? n : std::min(affordable, n);
            }
        if (affordable < 0) continue;
        int64_t n = affordable >= 2 ? affordable / 2 : std::max<int64_t>(affordable, 0);
        n = std::min<int64_t>(n, a);
        if (n < 2) continue;
        double score = static_cast<double>(ai_creature_value(c)) * static_cast<double>(n) * R;
        if (gMonsterDatabase[c].flags & AIM_TOP_TIER) {
            int F = 0;
            for (int i = 0; i < ARMY_SLOTS; ++i)
                if (t.garrison.ids[i] < 28 && (gMonsterDatabase[t.garrison.ids[i]].flags & AIM_TOP_TIER)) ++F;
            score *= 1.18 - 0.06 * F;
        }
        score *= AI_PURCHASE_WEIGHT;
        score *= ai_afford_factor(s, p, u);
        const float price = ai_gold_price(prices, u) * static_cast<float>(n);
        score = ai_per_price(score, price);
        if (score > best.score) {
            best.score = score;
            best.dwelling = k;
            best.creature = c;
            best.count = static_cast<int>(n);
        }
    }
    return best;
}

void ai_run_castle_economy(GameState& s, GameMap& map, int p, bool allow_stack_split) {
    (void)allow_stack_split;
    if (!is_player_index(p) || s.resources[p].gold < 200) return;
    upgrade_towns(s, map, p);
    DoAllHeroInteractions(s, map, p);

    for (int pass = 0; pass < 256; ++pass) {
        std::vector<int> towns;
        for (int i = 0; i < static_cast<int>(s.castles.size()); ++i)
            if (s.castles[i].live && s.castles[i].owner == p) towns.push_back(i);
        if (towns.empty()) break;
        std::vector<int64_t> strength(towns.size()), weight(towns.size());
        int64_t S = 0, W = 0;
        for (size_t i = 0; i < towns.size(); ++i) {
            const CastleState& t = s.castles[towns[i]];
            strength[i] = static_cast<int64_t>(FightValueOfStack(t.garrison, nullptr, false)) + 400;
            weight[i] = t.is_castle ? 10 : 7;
            S += strength[i];
            W += weight[i];
        }
        W = std::max<int64_t>(W, 1);
        int H = HeroPool::count_player_heroes(p, s);
        int Q = (s.num_players == 2 || s.num_players == 3) ? 4 : 3;
        if (towns.size() > 4) ++Q;
        if (towns.size() > 9) ++Q;

        std::array<float, 7> prices{};
        compute_turn_cost_resource(s, p, prices);
        Action best;
        for (size_t i = 0; i < towns.size(); ++i) {
            const CastleState& t = s.castles[towns[i]];
            const AIBuildChoice b = ai_best_building(s, map, p, t);
            if (b.score > best.score) {
                best = Action{};
                best.kind = ACT_BUILD;
                best.score = b.score;
                best.town = towns[i];
                best.slot = b.slot;
            }
            const AIPurchaseChoice choice = ai_best_purchase(s, p, towns[i], prices);
            if (choice.dwelling >= 0) {
                Action buy{ACT_BUY, choice.score, towns[i], choice.dwelling, choice.creature, choice.count, -1};
                const int64_t target = weight[i] * (S / W) + 400;
                buy.score *= static_cast<double>(target) / static_cast<double>(strength[i]) / 3 + 0.66;
                if (buy.score > best.score) best = buy;
            }
            const Action hire = best_hire(s, p, towns[i], H, Q, prices);
            if (hire.score > best.score) best = hire;
        }
        if (best.score < 0.02 || best.kind == ACT_NONE) break;
        if (!carry_out(s, map, p, best)) break;
    }

    DoAllHeroInteractions(s, map, p);
    for (CastleState& t : s.castles) {
        if (!t.live || t.owner != p) continue;
        int hero = -1;
        for (int h = 0; h < static_cast<int>(s.heroes.size()) && hero < 0; ++h)
            if (s.heroes[h].live && s.heroes[h].owner == p && s.heroes[h].x == t.x && s.heroes[h].y == t.y) hero = h;
        if (hero < 0) continue;
        bool keep_guard = false;
        for (const HeroState& e : s.heroes)
            if (e.live && e.owner >= 0 && e.owner != p && std::max(std::abs(e.x - t.x), std::abs(e.y - t.y)) <= 10)
                keep_guard = true;
        pool_garrison_into_hero(s, p, t, s.heroes[hero], keep_guard);
    }
}

void ai_town_turn(GameState& s, GameMap& map, int p, bool enable_trade) {
    if (!s.seat_active(p)) return;
    compute_turn_ai_vars(s, p);
    ai_log(s, p, "run castle economy");
    ai_run_castle_economy(s, map, p, true);
    if (enable_trade) ai_run_trading_post(s, p, static_cast<AiIntelligence>(s.player_ai_level[p]));
    ai_pool_between_allied_heroes(s, p);
}

}  // namespace vorn1
