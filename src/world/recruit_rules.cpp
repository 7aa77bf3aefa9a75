#include "world/recruit_rules.h"

#include <algorithm>
#include <limits>

namespace vorn1 {

const std::array<int32_t, CREATURE_COUNT> CREATURE_GOLD_COST = {
    20,  150, 200, 250, 300, 600,   // knight
    40,  140, 200, 300, 600, 750,   // barbarian
    50,  200, 250, 350, 500, 1500,  // sorceress
    60,  200, 300, 400, 800, 3000,  // warlock
    50,  200, 0,   650,             // no town
};

const std::array<std::array<int32_t, kDwellingSlots>, 4> WEEKLY_GROWTH = {{
    {12, 8, 5, 4, 3, 2},
    {10, 8, 5, 4, 3, 2},
    {8, 6, 4, 3, 2, 1},
    {8, 6, 4, 3, 2, 1},
}};

const std::array<std::array<int32_t, kDwellingSlots>, 4> AI_GROWTH_BONUS_SMART = {{
    {3, 2, 1, 1, 1, 0},
    {2, 2, 1, 1, 1, 0},
    {2, 1, 1, 1, 1, 0},
    {2, 1, 1, 1, 1, 0},
}};

const std::array<std::array<int32_t, kDwellingSlots>, 4> AI_GROWTH_BONUS_GENIUS = {{
    {5, 3, 2, 2, 1, 1},
    {4, 3, 2, 2, 1, 1},
    {3, 2, 2, 1, 1, 1},
    {3, 2, 2, 1, 1, 1},
}};

const std::array<std::array<uint8_t, kDwellingSlots>, 4> FACTION_SLOT_CREATURE = {{
    {0, 1, 2, 3, 4, 5},
    {6, 7, 8, 9, 10, 11},
    {12, 13, 14, 15, 16, 17},
    {18, 19, 20, 21, 22, 23},
}};

namespace {


bool valid_slot(int slot) { return slot >= 0 && slot < kDwellingSlots; }
size_t faction_row(uint8_t faction) { return faction <= 3 ? faction : 0; }

int32_t saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

CreatureCost scale_cost(const CreatureCost& c, int64_t num, int64_t den) {
    const auto f = [&](int32_t v) { return saturate(static_cast<int64_t>(v) * num / den); };
    return {f(c.gold), f(c.wood), f(c.ore), f(c.mercury), f(c.sulfur), f(c.crystal), f(c.gems)};
}

bool any_negative(const CreatureCost& c) {
    return c.gold < 0 || c.wood < 0 || c.ore < 0 || c.mercury < 0 || c.sulfur < 0 || c.crystal < 0 || c.gems < 0;
}

// The treasury that pays: a town's owner, else a visiting hero's owner.
const PlayerResources* paying_treasury(const GameState& game, int castle, int hero) {
    int owner = -1;
    if (castle >= 0 && static_cast<size_t>(castle) < game.castles.size()) {
        owner = game.castles[static_cast<size_t>(castle)].owner;
    } else if (hero >= 0 && static_cast<size_t>(hero) < game.heroes.size()) {
        owner = game.heroes[static_cast<size_t>(hero)].owner;
    }
    if (!is_player_index(owner)) return nullptr;
    return &game.resources[static_cast<size_t>(owner)];
}

}  // namespace

PlayerResources creature_cost_as_resources(const CreatureCost& cost) {
    PlayerResources r{};
    r.gold = cost.gold;
    r.wood = cost.wood;
    r.ore = cost.ore;
    r.crystal = cost.crystal;
    r.mercury = cost.mercury;
    r.gems = cost.gems;
    r.sulfur = cost.sulfur;
    return r;
}

CreatureCost creature_cost_from_resources(const PlayerResources& res) {
    CreatureCost c;
    c.gold = res.gold;
    c.wood = res.wood;
    c.ore = res.ore;
    c.mercury = res.mercury;
    c.sulfur = res.sulfur;
    c.crystal = res.crystal;
    c.gems = res.gems;
    return c;
}

bool can_pay_cost(const PlayerResources& t, const CreatureCost& c) { return t.covers(creature_cost_as_resources(c)); }

CreatureCost creature_recruit_cost(uint8_t creature) {
    CreatureCost c;
    if (creature >= CREATURE_COUNT) return c;
    c.gold = CREATURE_GOLD_COST[creature];
    switch (creature) {
    case 11: c.crystal = 1; break;  // cyclops
    case 17: c.mercury = 1; break;  // phoenix
    case 23: c.sulfur = 1; break;   // dragon
    case 27: c.gems = 1; break;     // genie
    default: break;
    }
    return c;
}

CreatureCost creature_cost_for_count(uint8_t creature, int count) {
    if (count < 1) return {};
    return scale_cost(creature_recruit_cost(creature), count, 1);
}

int dwelling_weekly_growth(uint8_t faction, int slot) {
    if (!valid_slot(slot)) return 0;
    return WEEKLY_GROWTH[faction_row(faction)][static_cast<size_t>(slot)];
}

int ai_growth_bonus(uint8_t ai_level, uint8_t faction, int slot) {
    if (faction > 3 || !valid_slot(slot)) return 0;
    if (ai_level == AI_SMART) return AI_GROWTH_BONUS_SMART[faction][static_cast<size_t>(slot)];
    if (ai_level == AI_GENIUS) return AI_GROWTH_BONUS_GENIUS[faction][static_cast<size_t>(slot)];
    return 0;
}

int dwelling_effective_growth(uint8_t faction, int slot, bool well, uint8_t ai_level) {
    if (!valid_slot(slot)) return 0;
    return dwelling_weekly_growth(faction, slot) + (well ? 2 : 0) + ai_growth_bonus(ai_level, faction, slot);
}

int dwelling_slot_creature(uint8_t faction, int slot) {
    if (!valid_slot(slot)) return -1;
    return FACTION_SLOT_CREATURE[faction_row(faction)][static_cast<size_t>(slot)];
}

uint8_t castle_owner_ai_level(const GameState& game, const CastleState& castle) {
    if (!is_player_index(castle.owner)) return 0;
    return game.player_ai_level[static_cast<size_t>(castle.owner)];
}

int town_slot_growth(const GameState& game, const CastleState& castle, int slot) {
    if (!valid_slot(slot) || !dwelling_built(castle.buildings, slot)) return 0;
    return dwelling_effective_growth(static_cast<uint8_t>(castle.faction), slot, (castle.buildings & BLD_WELL) != 0,
                                     castle_owner_ai_level(game, castle));
}

void set_town_available_counts(GameState& game) {
    for (CastleState& c : game.castles) {
        if (!c.live) continue;
        for (int s = 0; s < kDwellingSlots; ++s) c.available[static_cast<size_t>(s)] = town_slot_growth(game, c, s);
    }
}

void add_town_weekly_growth(GameState& game) {
    for (CastleState& c : game.castles) {
        if (!c.live) continue;
        for (int s = 0; s < kDwellingSlots; ++s) {
            int32_t& avail = c.available[static_cast<size_t>(s)];
            avail = saturate(static_cast<int64_t>(avail) + town_slot_growth(game, c, s));
        }
    }
}

int max_affordable(const GameState& game, int castle, int hero, int available, const CreatureCost& unit) {
    const PlayerResources* t = paying_treasury(game, castle, hero);
    if (!t) return 0;
    int64_t n = available;
    const auto bound = [&n](int32_t owned, int32_t price) {
        if (price > 0) n = std::min<int64_t>(n, owned / price);
    };
    bound(t->gold, unit.gold);
    bound(t->wood, unit.wood);
    bound(t->ore, unit.ore);
    bound(t->mercury, unit.mercury);
    bound(t->sulfur, unit.sulfur);
    bound(t->crystal, unit.crystal);
    bound(t->gems, unit.gems);
    return n < 0 ? 0 : static_cast<int>(n);
}

void apply_recruit_result(const RecruitResult& r, GameState& game, bool& no_room) {
    no_room = false;
    if (r.count < 1 || r.castle < 0 || static_cast<size_t>(r.castle) >= game.castles.size()) return;
    // An empty-slot marker or an unknown id would corrupt the garrison; a negative price would pay out.
    if (r.creature >= CREATURE_COUNT || any_negative(r.cost)) return;
    CastleState& castle = game.castles[static_cast<size_t>(r.castle)];
    if (!is_player_index(castle.owner)) return;

    int slot = -1;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (castle.garrison.ids[i] == r.creature && castle.garrison.counts[i] != 0) slot = i;
    const bool merge = slot >= 0;
    for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
        if (castle.garrison.slot_empty(i)) slot = i;
    if (slot < 0) {
        no_room = true;
        return;
    }

    // Only what fits under the stack limit is bought and paid for.
    const int32_t held = merge ? castle.garrison.counts[slot] : 0;
    const int32_t bought = std::min<int32_t>(r.count, kMaxStackCount - held);
    if (bought < 1) {
        no_room = true;
        return;
    }
    const CreatureCost cost = bought == r.count ? r.cost : scale_cost(r.cost, bought, r.count);

    PlayerResources& t = game.resources[static_cast<size_t>(castle.owner)];
    if (!can_pay_cost(t, cost)) return;
    t -= creature_cost_as_resources(cost);

    if (valid_slot(r.dwelling)) {
        int32_t& avail = castle.available[static_cast<size_t>(r.dwelling)];
        avail = std::max<int32_t>(0, saturate(static_cast<int64_t>(avail) - bought));
    }
    castle.garrison.ids[slot] = r.creature;
    castle.garrison.counts[slot] = static_cast<uint16_t>(held + bought);
}

}  // namespace vorn1
