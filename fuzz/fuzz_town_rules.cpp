// Drives town purchases, trades and growth with arbitrary values and checks that no treasury goes
// negative, no dwelling stock goes negative and no garrison slot gets an invalid creature.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "world/recruit_rules.h"
#include "world/trade_rates.h"
#include "world/game_state.h"

namespace {

int32_t read_i32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return static_cast<int32_t>(v);
}

void check(const vorn1::GameState& g) {
    using namespace vorn1;
    for (int p = 0; p < MAX_PLAYERS; ++p)
        for (int r = 0; r < RES_COUNT; ++r)
            if (g.resources[p][r] < 0) __builtin_trap();
    for (const CastleState& c : g.castles) {
        for (int32_t a : c.available)
            if (a < 0) __builtin_trap();
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (c.garrison.counts[i] != 0 && c.garrison.ids[i] >= CREATURE_COUNT) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vorn1;
    if (size < 16) return 0;
    GameState g;
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        g.resources[p].gold = read_i32(data) & 0x7fffffff;
        for (int r = 1; r < RES_COUNT; ++r) g.resources[p][r] = (read_i32(data + 4) & 0x7fffffff) >> (r - 1);
    }
    for (int i = 0; i < 2; ++i) {
        CastleState c;
        c.live = 1;
        c.buildings = static_cast<uint16_t>(data[8] | data[9] << 8);
        c.faction = data[10];
        c.owner = i == 0 ? static_cast<int8_t>(data[11]) : -1;
        c.garrison.ids[0] = static_cast<uint8_t>(data[13] % CREATURE_COUNT);
        c.garrison.counts[0] = static_cast<uint16_t>(data[14] * 257);
        g.castles.push_back(c);
    }
    g.player_ai_level[0] = data[12];
    HeroState h;
    h.live = 1;
    h.owner = data[15] & 3;
    g.heroes.push_back(h);

    for (size_t at = 16; at + 8 <= size; at += 8) {
        const uint8_t* op = data + at;
        switch (op[0] % 4) {
        case 0: {
            RecruitResult r;
            r.castle = static_cast<int8_t>(op[1]);
            r.dwelling = static_cast<int8_t>(op[2]);
            const int by_slot = dwelling_slot_creature(g.castles[0].faction, op[3]);
            r.creature = by_slot >= 0 ? static_cast<uint8_t>(by_slot) : op[3];
            r.count = op[4] | op[5] << 8 | (op[6] & 0x7f) << 16;
            r.cost = creature_cost_for_count(r.creature, r.count);
            if (op[7] & 1) r.cost.gold = -static_cast<int32_t>(op[7]);
            bool no_room = false;
            apply_recruit_result(r, g, no_room);
            break;
        }
        case 1: {
            const int got = apply_trade(g, static_cast<int8_t>(op[1] >> 4), static_cast<int8_t>(op[3]),
                                        static_cast<TradeRes>(op[1] & 0x0f), static_cast<TradeRes>(op[2]),
                                        read_i32(op + 4));
            if (got < 0) __builtin_trap();
            break;
        }
        case 2:
            add_town_weekly_growth(g);
            break;
        default: {
            const int avail = read_i32(op + 4);
            const int n = max_affordable(g, static_cast<int8_t>(op[1]), static_cast<int8_t>(op[2]), avail,
                                         creature_recruit_cost(op[3]));
            if (n < 0 || (avail >= 0 && n > avail)) __builtin_trap();
            break;
        }
        }
        check(g);
    }
    return 0;
}
