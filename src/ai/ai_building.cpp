#include "ai/ai_building.h"

#include <algorithm>

#include "ai/ai_battle.h"
#include "ai/ai_economy.h"
#include "ai/ai_tables.h"
#include "ai/ai_turn_vars.h"
#include "world/spell_table.h"

namespace vorn1 {

const std::array<uint8_t, 11> ECO_BUILDABLE = {0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7};

namespace {
constexpr std::array<int, 12> kSlotBuilding = {0, 3, 8, 11, 1, 4, 9, 12, 2, 7, 10, -1};
constexpr std::array<int, 6> kDwellingSlot = {9, 2, 6, 10, 3, 7};
}  // namespace

int eco_building_of_slot(int slot) { return slot >= 0 && slot < 12 ? kSlotBuilding[slot] : -1; }

// wood, mercury, ore, sulfur, crystal, gems, gold
const std::array<std::array<int32_t, 7>, 4> gMageBuildingCosts = {{
    {5, 0, 5, 0, 0, 0, 2000},
    {5, 4, 5, 4, 4, 4, 1000},
    {5, 6, 5, 6, 6, 6, 1000},
    {5, 10, 5, 10, 10, 10, 1000},
}};

const std::array<std::array<int32_t, 7>, 7> gNeutralBuildingCosts = {{
    {5, 0, 5, 0, 0, 0, 2000},
    {5, 0, 0, 0, 0, 0, 750},
    {5, 0, 0, 0, 0, 0, 500},
    {20, 0, 0, 0, 0, 0, 2000},
    {0, 0, 0, 0, 0, 0, 500},
    {5, 0, 5, 0, 0, 0, 2000},
    {20, 0, 20, 0, 0, 0, 5000},
}};

const std::array<std::array<int32_t, 7>, 24> gDwellingCosts = {{
    {0, 0, 0, 0, 0, 0, 200},      {0, 0, 0, 0, 0, 0, 1000},     {0, 0, 5, 0, 0, 0, 1000},
    {10, 0, 10, 0, 0, 0, 2000},   {20, 0, 0, 0, 0, 0, 3000},    {20, 0, 0, 0, 20, 0, 5000},
    {5, 0, 0, 0, 0, 0, 500},      {5, 0, 0, 0, 0, 0, 1000},     {0, 0, 0, 0, 0, 0, 1500},
    {0, 10, 10, 0, 0, 0, 2500},   {10, 0, 0, 0, 0, 10, 3000},   {0, 20, 30, 0, 0, 0, 10000},
    {0, 0, 0, 0, 0, 0, 300},      {5, 0, 0, 0, 0, 0, 800},      {0, 0, 0, 0, 0, 0, 1000},
    {10, 0, 10, 0, 0, 0, 2000},   {0, 0, 20, 0, 0, 0, 4000},    {0, 0, 20, 0, 20, 0, 6000},
    {0, 0, 0, 0, 0, 0, 500},      {0, 0, 10, 0, 0, 0, 1000},    {0, 0, 0, 0, 0, 0, 2000},
    {0, 0, 0, 0, 0, 10, 3000},    {0, 0, 0, 10, 0, 0, 4000},    {0, 0, 30, 20, 0, 0, 15000},
}};

const std::array<int32_t, 24> gDwellingBaseResourceValues = {
    858,  2225, 2816, 7385, 13754, 29785, 1684, 2256, 3736, 7213, 15181, 27684,
    1802, 2615, 3414, 6967, 12212, 38141, 1956, 2607, 3869, 7510, 16002, 111967,
};
const std::array<int32_t, 4> gMageBaseResourceValues = {4000, 6500, 8500, 10500};
const std::array<int32_t, 7> gNeutralBaseResourceValues = {5000, 1500, 500, 2000, 3000, 0, 12000};

CreatureCost ai_cost_from_row(const std::array<int32_t, 7>& r) {
    CreatureCost c;
    c.wood = r[0];
    c.mercury = r[1];
    c.ore = r[2];
    c.sulfur = r[3];
    c.crystal = r[4];
    c.gems = r[5];
    c.gold = r[6];
    return c;
}

CreatureCost GetBuildingCost(int faction, int building, int guild_level) {
    if (building == ECO_MAGE_GUILD) return ai_cost_from_row(gMageBuildingCosts[std::clamp(guild_level, 0, 3)]);
    if (building >= 1 && building <= 6) return ai_cost_from_row(gNeutralBuildingCosts[building]);
    if (building > 6) {
        const int row = faction * 6 + building - 7;
        if (row >= 0 && row < 24) return ai_cost_from_row(gDwellingCosts[row]);
    }
    return {};
}

namespace {

int32_t dwelling_rating(int creature) {
    return creature >= 0 && creature < 28 ? gMonsterDatabase[creature].rating : 0;
}

double dwelling_score(const GameState& s, int player, const CastleState& t, int k, double V, int D, int K, int G,
                      double A, double B) {
    const int c = dwelling_slot_creature(t.faction, k);
    if (G == 5) {
        bool held = false;
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (t.garrison.ids[i] == c) held = true;
        if (!held) return 0;
    }
    double v = (A + 0.66) * V * (2 * B + 0.33);
    int M = 0;
    for (const CastleState& o : s.castles)
        if (o.live && o.owner == player && dwelling_built(o.buildings, k)) ++M;
    v *= 1 - 0.05 * M;
    if (k < K) v *= 1.66 - 0.33 * D;
    if (t.buildings & BLD_WELL) v *= 1.1;
    if (c >= 0 && c <= 27) {
        for (int j = 0; j < 6; ++j) {
            if (!dwelling_built(t.buildings, j) || t.available[j] <= 0) continue;
            const int cj = dwelling_slot_creature(t.faction, j);
            if (cj < 0 || cj > 27) continue;
            if (dwelling_rating(cj) * 1.2 > dwelling_rating(c)) return 0;
        }
    }
    return v * AI_F32_073;
}

}  // namespace

double ai_building_base_value(const CastleState& t, int b) {
    if (b == ECO_MAGE_GUILD) {
        const int L = mage_guild_level(t);
        return gMageBaseResourceValues[std::min(L, 3)] - (L >= 1 ? gMageBaseResourceValues[std::min(L - 1, 3)] : 0);
    }
    if (b >= 1 && b <= 6) return gNeutralBaseResourceValues[b];
    const int row = (t.faction > 3 ? 0 : t.faction) * 6 + b - 7;
    return b > 6 && row <= 23 ? gDwellingBaseResourceValues[row] : 0;
}

double ai_building_score(const GameState& s, const GameMap& map, int player, const CastleState& t, int slot) {
    if (!is_player_index(player) || slot < 0 || slot > 10) return -99;
    const PlayerResources& res = s.resources[player];
    if (get_build_status(static_cast<BuildSlot>(slot), t, res, map, t.built_today != 0) != BUILD_OK) return -99;
    const AIPlayerVars& vars = s.ai_vars[player];
    const double A = vars.weights[3], B = vars.battle_bias;
    const int f = t.faction > 3 ? 0 : t.faction;
    const int L = mage_guild_level(t);
    int D = 0, K = -1, G = 0;
    for (int k = 0; k < 6; ++k)
        if (get_build_status(static_cast<BuildSlot>(kDwellingSlot[k]), t, res, map, false) == BUILD_BUILT) {
            ++D;
            K = k;
        }
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (t.garrison.counts[i] != 0) ++G;

    const int b = eco_building_of_slot(slot);
    const double V = ai_building_base_value(t, b);
    double raw = 0;
    switch (b) {
        case ECO_MAGE_GUILD: {
            int N = 0;
            for (const CastleState& o : s.castles)
                if (o.live && o.owner == player && get_build_status(BS_MAGE_GUILD, o, res, map, false) == BUILD_BUILT) ++N;
            raw = (1.33 - 0.33 * N) * (2 * A + 0.33) * V * AI_F32_073;
            break;
        }
        case ECO_THIEVES_GUILD: raw = V * AI_F32_073; break;
        case ECO_TAVERN: raw = FightValueOfStack(t.garrison, nullptr, false) / 3000 * V * AI_F32_073; break;
        case ECO_SHIPYARD: raw = 0; break;
        case ECO_WELL: raw = (A + 0.66) * V * (2 * B + 0.33) * (0.33 * D + 0.66) * AI_F32_073; break;
        default: raw = dwelling_score(s, player, t, b - 7, V, D, K, G, A, B); break;
    }
    raw = std::max(raw, 0.0);
    std::array<float, 7> prices{};
    compute_turn_cost_resource(s, player, prices);
    const CreatureCost cost = GetBuildingCost(f, b, b == ECO_MAGE_GUILD ? L : 0);
    return ai_per_price(raw * ai_afford_factor(s, player, cost), ai_gold_price(prices, cost));
}

AIBuildChoice ai_best_building(const GameState& s, const GameMap& map, int player, const CastleState& t) {
    AIBuildChoice best;
    for (uint8_t slot : ECO_BUILDABLE) {
        const double score = ai_building_score(s, map, player, t, slot);
        if (score > best.score) best = {slot, score};
    }
    return best;
}

}  // namespace vorn1
