#include "ai/ai_valuation.h"

#include <algorithm>
#include <array>

#include "ai/ai_battle.h"
#include "ai/ai_building.h"
#include "ai/ai_economy.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_turn_vars.h"
#include "world/buildings.h"

namespace vorn1 {

namespace {

template <class V>
bool in_range(const V& v, int i) { return i >= 0 && i < static_cast<int>(v.size()); }

// The damage factor of the predictions for a defending seat.
double owner_factor(const GameState& s, int owner, int k) {
    static constexpr double kHumanF[4] = {0.6, 1.0, 1.14, 1.21};
    static constexpr double kOtherF[4] = {1.3, 1.0, 0.86, 0.74};
    const bool human = is_player_index(owner) && s.player_is_human[owner] != 0;
    return human ? kHumanF[k] : kOtherF[k];
}

double players_scale(const GameState& s) { return (5 - s.num_players) * 0.25 + 0.9; }

int32_t town_worth(const GameState& s, const GameMap& map, const CastleState& c, float w6) {
    static constexpr std::array<std::pair<BuildSlot, int>, 11> kList{{
        {BS_MAGE_GUILD, 0}, {BS_THIEVES_GUILD, 1}, {BS_TAVERN, 2}, {BS_SHIPYARD, 3}, {BS_WELL, 4},
        {BS_DWELLING_0, 7}, {BS_DWELLING_1, 8}, {BS_DWELLING_2, 9}, {BS_DWELLING_3, 10}, {BS_DWELLING_4, 11},
        {BS_DWELLING_5, 12}}};
    const PlayerResources& res = s.resources[is_player_index(c.owner) ? c.owner : 0];
    const int f = c.faction <= 3 ? c.faction : 0;
    int64_t t = 0;
    for (const auto& [slot, building] : kList) {
        if (get_build_status(slot, c, res, map, false) != BUILD_BUILT) continue;
        switch (building) {
            case 0: t += 4000; break;
            case 1: t += 1500; break;
            case 2: t += 500; break;
            case 3: t += 2000; break;
            case 4: t += 3000; break;
            default: t += gDwellingBaseResourceValues[(size_t)(f * 6 + building - 7)]; break;
        }
    }
    if (c.is_castle) t += 12000;
    t += static_cast<int64_t>(w6 * 250 * 5 * 1.5) + 750;
    return ai_saturate_i32(static_cast<double>(t));
}

}  // namespace

int32_t ValueOfEventAtPosition(const GameState& s, const GameMap& map, int hero, int player, const AIMapObject& o,
                               int32_t& percent) {
    percent = 100;
    if (!s.valid_hero(hero)) return 0;
    const HeroState& h = s.heroes[(size_t)hero];
    const int k = ai_skill_class(s, player);
    std::array<float, 7> w{};
    compute_turn_cost_resource(s, player, w);
    switch (o.type) {
        case AIO_REINFORCE_CASTLE: {
            if (!in_range(s.castles, o.index)) return 0;
            int v = 0;
            eval_hero_interaction_at_town(s, map, player, h, s.castles[(size_t)o.index], v);
            return v;
        }
        case AIO_ATTACK_CASTLE:
        case AIO_NEUTRAL_CASTLE: {
            const AIBattleOutcome out = ai_battle_outcome(s, player, h, o);
            percent = static_cast<int32_t>(100 * out.win_chance);
            if (!in_range(s.castles, o.index)) return ai_saturate_i32(out.gain);
            const CastleState& c = s.castles[(size_t)o.index];
            double t = town_worth(s, map, c, w[6]);
            if (is_player_index(c.owner))
                t = static_cast<double>(ai_saturate_i32(players_scale(s) * owner_factor(s, c.owner, k) * t));
            return ai_saturate_i32(static_cast<float>(t) * out.win_chance + out.gain);
        }
        case AIO_ATTACK_HERO:
        case AIO_MONSTER: {
            const AIBattleOutcome out = ai_battle_outcome(s, player, h, o);
            percent = static_cast<int32_t>(100 * out.win_chance);
            return ai_saturate_i32(out.gain);
        }
        case AIO_MINE: {
            if (!in_range(s.mines, o.index)) return 0;
            const MineState& m = s.mines[(size_t)o.index];
            if (m.owner == player || m.kind > 6) return 0;
            double v = gMineIncome[m.kind] * static_cast<double>(w[m.kind]) * 7.0;
            if (is_player_index(m.owner)) v *= owner_factor(s, m.owner, k);
            return ai_saturate_i32(v);
        }
        case AIO_DRAGON_CITY: return static_cast<int32_t>(1000.0f * w[6] * 7.0f);
        case AIO_LIGHTHOUSE: return 600;
        case AIO_CHEST: return in_range(s.chests, o.index) ? s.chests[(size_t)o.index].value : 0;
        case AIO_ARTIFACT: {
            if (!in_range(s.map_artifacts, o.index)) return 0;
            const int id = s.map_artifacts[(size_t)o.index].artifact;
            const double a = id <= 36 ? ARTIFACT_BASE_RV[id] : 0;
            uint8_t ids[ARMY_SLOTS];
            uint16_t counts[ARMY_SLOTS];
            for (int i = 0; i < ARMY_SLOTS; ++i) ids[i] = 24, counts[i] = 10;
            AIBattleOutcome out;
            ProbableOutcomeOfBattle(s, player, h.army.ids.data(), h.army.counts.data(), &h, ids, counts, nullptr,
                                    nullptr, nullptr, false, -1, out);
            return ai_saturate_i32(0.6 * a + 0.2 * (a * out.win_chance + out.gain) +
                                   0.2 * std::max(0.0, a - 2000.0 * w[6]));
        }
        case AIO_RESOURCE: {
            if (!in_range(s.resource_piles, o.index)) return 0;
            const ResourcePileState& r = s.resource_piles[(size_t)o.index];
            return r.kind == MINE_GOLD ? r.amount : ai_saturate_i32(r.amount * 100.0);
        }
        case AIO_CAMPFIRE: {
            if (!in_range(s.campfires, o.index)) return 0;
            const CampfireState& f = s.campfires[(size_t)o.index];
            return ai_saturate_i32(f.amount * 100.0 + f.gold);
        }
        default: return 0;
    }
}

void assign_hero_roles(AIContext& c, const GameState& s, int player) {
    c.hero_roles.assign(s.heroes.size(), 0);
    std::vector<std::pair<double, int>> heroes;
    for (int i = 0; i < static_cast<int>(s.heroes.size()); ++i) {
        const HeroState& h = s.heroes[(size_t)i];
        if (h.live && h.owner == player) heroes.push_back({FightValueOfStack(h.army, &h, true), i});
    }
    const int n = static_cast<int>(heroes.size());
    if (n < 2) return;
    std::stable_sort(heroes.begin(), heroes.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    if (n <= 3) {
        c.hero_roles[(size_t)heroes[0].second] = 1;
        return;
    }
    c.hero_roles[(size_t)heroes[0].second] = 2;
    c.hero_roles[(size_t)heroes[(size_t)n - 1].second] = 4;
    c.hero_roles[(size_t)heroes[(size_t)n - 2].second] = 3;
    const double m = 1.5 * heroes[(size_t)n / 2].first;
    for (int i = 1; i <= n - 3; ++i) c.hero_roles[(size_t)heroes[(size_t)i].second] = heroes[(size_t)i].first > m ? 1 : 0;
}

double role_value_multiplier(int role, int type) {
    const bool fight = type == AIO_ATTACK_CASTLE || type == AIO_ATTACK_HERO || type == AIO_MONSTER;
    const bool pickup = type == AIO_CHEST || type == AIO_RESOURCE || type == AIO_CAMPFIRE;
    switch (role) {
        case 1: return fight || type == AIO_NEUTRAL_CASTLE ? 2.0 : pickup ? 0.6 : 1.0;
        case 2: return fight || type == AIO_NEUTRAL_CASTLE ? 2.5 : pickup ? 0.6 : 1.0;
        case 3: return fight ? 0.5 : 1.2;
        case 4: return fight ? 0.3 : 0.8;
        default: return 1.0;
    }
}

}  // namespace vorn1
