// A computer player's town turn on random kit games: the treasury pays exactly the rules' prices, nothing goes
// negative, no creature is lost in the exchanges, and the same game gives the same turn.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ai/ai_economy.h"
#include "ai/ai_town_visits.h"
#include "ai/ai_trading.h"
#include "ai/ai_turn_vars.h"
#include "datakit/kit_maps.h"
#include "world/recruit_rules.h"
#include "world/trade_rates.h"
#include "world/buildings.h"
#include "world/game_setup.h"
#include "world/hero_pool.h"

using namespace vorn1;

namespace {

struct Game {
    GameMap map;
    GameState state;
};

Game random_game(uint32_t seed) {
    XorShift32 rng(seed);
    Game g;
    const int players = 2 + rng.below(3);
    g.map = kit::make_scenario_map(rng.below(3), players, seed, "Prop");
    NewGameConfig cfg;
    cfg.opponents = {static_cast<OpponentDifficulty>(1 + rng.below(4)), static_cast<OpponentDifficulty>(1 + rng.below(4)),
                     static_cast<OpponentDifficulty>(1 + rng.below(4))};
    init_game_state(g.state, g.map, cfg, seed);
    GameState& s = g.state;
    s.day = 1 + rng.below(7);
    s.week = 1 + rng.below(4);
    s.month = 1 + rng.below(3);
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        PlayerResources& r = s.resources[p];
        r.gold = rng.below(60000);
        for (int i = 1; i < RES_COUNT; ++i) r[i] = rng.below(4) == 0 ? 0 : rng.below(80);
        s.ai_vars[p].gold_income = rng.below(3000);
        for (int32_t& v : s.ai_vars[p].income) v = rng.below(4);
    }
    for (CastleState& c : s.castles) {
        // Some kingdoms hold several towns, some of them still towns.
        if (c.owner < 0 && rng.below(2) == 0) c.owner = rng.below(players);
        c.buildings = static_cast<uint16_t>(c.buildings | (rng.next() & (BLD_THIEVES_GUILD | BLD_TAVERN | BLD_WELL | BLD_GUILD1)));
        for (int k = 0; k < 6; ++k) c.available[k] = rng.below(30);
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (rng.below(3) == 0) {
                c.garrison.ids[i] = static_cast<uint8_t>(rng.below(28));
                c.garrison.counts[i] = static_cast<uint16_t>(rng.below(5) == 0 ? 65000 + rng.below(536) : 1 + rng.below(200));
            }
        if (c.garrison.stack_count() == 0) c.garrison = Army{};
    }
    for (HeroState& h : s.heroes) {
        h.knowledge = static_cast<uint8_t>(rng.below(4));
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (rng.below(2) == 0) {
                h.army.ids[i] = static_cast<uint8_t>(rng.below(28));
                h.army.counts[i] = static_cast<uint16_t>(rng.below(5) == 0 ? 65000 + rng.below(536) : 1 + rng.below(100));
            }
    }
    // Heroes standing in their towns and next to each other, so visits and pooling have work to do.
    for (size_t i = 0; i < s.heroes.size(); ++i) {
        HeroState& h = s.heroes[i];
        if (!h.live) continue;
        for (const CastleState& c : s.castles)
            if (c.owner == h.owner && rng.below(2) == 0) {
                h.x = c.x;
                h.y = c.y;
                break;
            }
    }
    return g;
}

std::map<int, int64_t> creatures_of(const GameState& s, int p) {
    std::map<int, int64_t> n;
    auto add = [&](const Army& a) {
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (a.counts[i] != 0) n[a.ids[i]] += a.counts[i];
    };
    for (const HeroState& h : s.heroes)
        if (h.live && h.owner == p) add(h.army);
    for (const CastleState& c : s.castles)
        if (c.live && c.owner == p) add(c.garrison);
    return n;
}

PlayerResources price_of_new_bits(const CastleState& before, const CastleState& after) {
    PlayerResources cost;
    const uint16_t added = static_cast<uint16_t>(after.buildings & ~before.buildings & ~(BLD_CASTLE | BLD_TENT));
    for (int level = 1; level <= 4; ++level)
        if (added & mage_guild_def(level)->bit) cost += structure_cost(*mage_guild_def(level));
    for (int slot = BS_SHIPYARD; slot < BS_RECRUIT_HERO; ++slot) {
        const StructureDef* d = get_structure_def(static_cast<BuildSlot>(slot), after.faction);
        if (d && d->bit && (added & d->bit)) cost += structure_cost(*d);
    }
    if (!before.is_castle && after.is_castle) cost += castle_upgrade_cost();
    return cost;
}

// What the economy may have spent: buildings, castles, creatures, hires and spellbooks, by the rules' prices.
// Also returns the creatures that entered the player's armies (bought, or brought by a hired hero).
PlayerResources priced_spending(const GameState& before, const GameState& after, int p, std::map<int, int64_t>& gained) {
    PlayerResources cost;
    for (size_t i = 0; i < after.castles.size(); ++i) {
        const CastleState& b = before.castles[i];
        const CastleState& a = after.castles[i];
        if (a.owner != p) continue;
        cost += price_of_new_bits(b, a);
        for (int k = 0; k < 6; ++k) {
            const int bought = b.available[k] - a.available[k];
            if (bought <= 0) continue;
            const int c = dwelling_slot_creature(a.faction, k);
            cost += creature_cost_as_resources(creature_cost_for_count(static_cast<uint8_t>(c), bought));
            gained[c] += bought;
        }
    }
    for (size_t i = 0; i < after.heroes.size(); ++i) {
        const HeroState& a = after.heroes[i];
        if (!a.live || a.owner != p) continue;
        const bool existed = i < before.heroes.size() && before.heroes[i].live && before.heroes[i].owner == p;
        uint8_t book = 0;
        if (existed) {
            book = before.heroes[i].has_spellbook;
        } else {
            const HeroState start = hero_state_from_pool_entry(before, pool_index_of_hero(after, static_cast<int>(i)), p);
            book = start.has_spellbook;
            for (int k = 0; k < ARMY_SLOTS; ++k)
                if (start.army.counts[k] != 0) gained[start.army.ids[k]] += start.army.counts[k];
            cost.gold += HERO_HIRE_COST;
        }
        if (a.has_spellbook && !book) cost.gold += AI_SPELLBOOK_PRICE;
    }
    return cost;
}

void expect_sound(const GameState& s) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        for (int i = 0; i < RES_COUNT; ++i) EXPECT_GE(s.resources[p][i], 0) << "player " << p << " resource " << i;
    auto check = [](const Army& a) {
        int stacks = 0;
        for (int i = 0; i < ARMY_SLOTS; ++i) {
            if (a.counts[i] == 0) continue;
            ++stacks;
            EXPECT_LT(a.ids[i], CREATURE_COUNT);
        }
        EXPECT_LE(stacks, ARMY_SLOTS);
    };
    for (const HeroState& h : s.heroes) check(h.army);
    for (const CastleState& c : s.castles) check(c.garrison);
}

// One seat's town turn in its three stages, each checked against the rules.
void checked_town_turn(Game& g, int p) {
    GameState& s = g.state;
    compute_turn_ai_vars(s, p);
    const GameState before = s;
    ai_run_castle_economy(s, g.map, p, true);
    std::map<int, int64_t> gained;
    PlayerResources expected = before.resources[p];
    expected -= priced_spending(before, s, p, gained);
    EXPECT_EQ(s.resources[p], expected) << "player " << p;
    std::map<int, int64_t> want = creatures_of(before, p);
    for (auto [id, n] : gained) want[id] += n;
    EXPECT_EQ(creatures_of(s, p), want) << "player " << p;

    const PlayerResources pre_trade = s.resources[p];
    const int markets = count_player_thieves_guilds(s, p);
    ai_run_trading_post(s, p, static_cast<AiIntelligence>(s.player_ai_level[p]));
    int64_t gold = pre_trade.gold;
    for (int r = TR_WOOD; r <= TR_GEMS; ++r) {
        const int d = tp_resource(s.resources[p], static_cast<TradeRes>(r)) - tp_resource(pre_trade, static_cast<TradeRes>(r));
        if (d > 0) gold -= static_cast<int64_t>(d / trade_rate(markets, TR_GOLD, static_cast<TradeRes>(r)).get) *
                          trade_rate(markets, TR_GOLD, static_cast<TradeRes>(r)).give;
        if (d < 0) gold += static_cast<int64_t>(-d / trade_rate(markets, static_cast<TradeRes>(r), TR_GOLD).give) *
                          trade_rate(markets, static_cast<TradeRes>(r), TR_GOLD).get;
    }
    EXPECT_EQ(s.resources[p].gold, gold) << "player " << p;

    const std::map<int, int64_t> pooled = creatures_of(s, p);
    ai_pool_between_allied_heroes(s, p);
    EXPECT_EQ(creatures_of(s, p), pooled);
    expect_sound(s);
}

}  // namespace

TEST(AITownTurn, RandomKitGamesPayExactlyAndStaySound) {
    for (uint32_t seed = 1; seed <= 16; ++seed) {
        SCOPED_TRACE(seed);
        Game g = random_game(seed);
        testing::internal::CaptureStderr();
        for (int p = 0; p < MAX_PLAYERS; ++p)
            if (g.state.seat_active(p)) checked_town_turn(g, p);
        testing::internal::GetCapturedStderr();
    }

    // The same game gives the same turn, log included.
    auto run = [](std::string& log) {
        Game g = random_game(99);
        testing::internal::CaptureStderr();
        for (int p = 0; p < MAX_PLAYERS; ++p) ai_town_turn(g.state, g.map, p, true);
        log = testing::internal::GetCapturedStderr();
        return g.state;
    };
    std::string log1, log2;
    const GameState a = run(log1), b = run(log2);
    EXPECT_EQ(log1, log2);
    EXPECT_NE(log1.find("run castle economy"), std::string::npos);
    for (int p = 0; p < MAX_PLAYERS; ++p) EXPECT_EQ(a.resources[p], b.resources[p]);
    ASSERT_EQ(a.heroes.size(), b.heroes.size());
    for (size_t i = 0; i < a.heroes.size(); ++i) EXPECT_EQ(a.heroes[i].army.counts, b.heroes[i].army.counts);
}
