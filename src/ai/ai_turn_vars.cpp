#include "ai/ai_turn_vars.h"

#include <algorithm>
#include <cstdint>

#include "ai/ai_battle.h"
#include "ai/ai_records.h"
#include "world/tile_rules.h"

namespace vorn1 {

void compute_turn_ai_vars(GameState& state, int player) {
    if (!is_player_index(player)) return;
    AIPlayerVars& v = state.ai_vars[player];
    const int d = ai_day_index(state);
    v.weights = {0.4f, 0.3f, 0.3f, 0.4f};
    v.battle_bias = 0.3f;
    v.savings = d <= 4 ? 0.48f : d <= 9 ? 0.42f : d <= 19 ? 0.36f : d <= 29 ? 0.30f : 0.24f;
    double S = 0;
    for (const HeroState& h : state.heroes)
        if (h.live && h.owner == player) S += FightValueOfStack(h.army, &h, false);
    for (const CastleState& c : state.castles)
        if (c.live && c.owner == player) S += FightValueOfStack(c.garrison, nullptr, false);
    const double gold = static_cast<double>(state.resources[player].gold) + v.gold_income;
    v.wealth_ratio = static_cast<float>(gold / (S + 1000.0) + 0.3);
    v.wealth_scale = 3060.303f;
    v.player_share = 1.0f / static_cast<float>(std::max(1, state.num_players));
}

void compute_turn_cost_resource(const GameState& state, int player, std::array<float, 7>& out) {
    if (!is_player_index(player)) player = 0;
    const AIPlayerVars& vars = state.ai_vars[player];
    const PlayerResources& r = state.resources[player];
    // Mine-kind order: wood, mercury, ore, sulfur, crystal, gems.
    const int32_t held[6] = {r.wood, r.mercury, r.ore, r.sulfur, r.crystal, r.gems};
    double base[6];
    int64_t v[6];
    int64_t sum = 0;
    // A negative stock or income counts as none, so no worth is negative and no divisor below is zero.
    for (int i = 0; i < 6; ++i) {
        base[i] = i == 2 ? 200.0 : 250.0;
        const int64_t five_i = 5 * static_cast<int64_t>(std::max(0, vars.income[i]));
        const double x = (0.7 * static_cast<double>(five_i) + std::max(0, held[i])) * base[i];
        v[i] = static_cast<int64_t>(x);
        sum += v[i];
    }
    const int64_t g =
        static_cast<int64_t>(0.7 * static_cast<double>(5 * static_cast<int64_t>(std::max(0, vars.gold_income))) +
                             std::max(0, r.gold));
    sum += g;
    const double m = static_cast<double>(sum) / 7.0;
    if (m == 0) {
        out = {250.f, 250.f, 200.f, 250.f, 250.f, 250.f, 1.0f};
        return;
    }
    for (int i = 0; i < 6; ++i) out[i] = static_cast<float>(base[i] / (static_cast<double>(v[i]) / m * 0.5 + 0.5));
    out[6] = static_cast<float>(1.0 / (static_cast<double>(g) / m * 0.5 + 0.5));
}

void refresh_hero_max_mp(const GameState& state, const GameMap& map, std::vector<int>& mp_max, int hero) {
    if (!state.valid_hero(hero) || hero >= static_cast<int>(mp_max.size())) return;
    const HeroState& h = state.heroes[hero];
    const MapTile* t = map.tile(h.x, h.y);
    const bool at_sea = t && t->is_water();
    const bool lighthouse = state.lighthouse.active && state.lighthouse.owner == h.owner && is_player_index(h.owner);
    mp_max[hero] = compute_hero_max_mp(h, at_sea, lighthouse, 0);
}

}  // namespace vorn1
