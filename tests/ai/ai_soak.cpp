#include "ai/ai_soak.h"

#include <bit>
#include <cstdio>
#include <set>

#include "ai/ai_routes.h"
#include "datakit/kit_maps.h"
#include "persist/savegame.h"
#include "world/game_setup.h"
#include "world/new_day.h"
#include "world/tile_rules.h"

namespace vorn1::aitest {

SoakGame make_soak_game(int size_class, uint32_t seed) {
    SoakGame g;
    g.map = kit::make_scenario_map(size_class, 4, seed, "Soak");
    NewGameConfig cfg;
    cfg.opponents = {OPP_AVERAGE, OPP_SMART, OPP_GENIUS};
    init_game_state(g.state, g.map, cfg, seed);
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        g.state.player_is_human[p] = 0;
        g.state.player_ai_level[p] = static_cast<uint8_t>(AI_DUMB + p);
    }
    g.ai.view_enemy_moves = false;
    advance_day(g.state, g.map, g.mp_left, g.mp_max, nullptr, seed);
    return g;
}

void play_seat_turn(SoakGame& g, int p) {
    GameState& s = g.state;
    if (!s.seat_active(p)) return;
    std::vector<uint16_t> built;
    std::vector<int32_t> owners;
    int64_t waiting = 0;
    for (const CastleState& c : s.castles) {
        built.push_back(c.buildings);
        owners.push_back(c.owner);
        if (c.owner == p)
            for (int32_t a : c.available) waiting += a;
    }
    std::vector<uint8_t> live;
    for (const HeroState& h : s.heroes) live.push_back(h.live);
    g.ai.begin_turn(s, g.map, g.mp_left, g.mp_max, p, -1);
    for (const CastleState& c : s.castles)
        if (c.owner == p)
            for (int32_t a : c.available) waiting -= a;
    SeatStats& seat = g.stats.seat[(size_t)p];
    seat.recruited += static_cast<int>(waiting);
    while (g.ai.active) {
        int taken = 0;
        for (int i = 0; i < kAIStepsPerPass; ++i) {
            const AIStepResult r = g.ai.step();
            ++g.stats.steps;
            if (r.kind == AIS_IDLE) break;
            g.stats.moves += r.kind == AIS_MOVE;
            g.stats.human_battles += r.kind == AIS_HUMAN_BATTLE;
            seat.sites += r.kind == AIS_OBJECT_TAKEN;
            seat.battles += r.kind == AIS_AUTO_BATTLE;
            ++taken;
        }
        g.stats.max_pass = std::max(g.stats.max_pass, taken);
    }
    for (size_t i = 0; i < s.castles.size(); ++i) {
        seat.buildings += std::popcount(static_cast<unsigned>(s.castles[i].buildings & ~built[i]));
        seat.towns_taken += s.castles[i].owner == p && owners[i] != p;
    }
    for (size_t i = 0; i < live.size(); ++i)
        if (live[i] && !s.heroes[i].live && is_player_index(s.heroes[i].owner))
            ++g.stats.seat[(size_t)s.heroes[i].owner].heroes_lost;
}

std::vector<int> reachable_neutral_towns(const SoakGame& g, int player) {
    std::vector<int> out;
    int hero = -1;
    for (int i = 0; i < (int)g.state.heroes.size() && hero < 0; ++i)
        if (g.state.heroes[(size_t)i].live && g.state.heroes[(size_t)i].owner == player) hero = i;
    if (hero < 0) return out;
    for (int t = 0; t < (int)g.state.castles.size(); ++t) {
        const CastleState& c = g.state.castles[(size_t)t];
        if (c.live && c.owner < 0 && route_cost_mp(g.map, g.state, hero, c.x, c.y) > 0) out.push_back(t);
    }
    return out;
}

int towns_held(const SoakGame& g, int player) {
    int n = 0;
    for (const CastleState& c : g.state.castles) n += c.live && c.owner == player;
    return n;
}

void play_day(SoakGame& g, uint32_t seed) {
    for (int p = 0; p < MAX_PLAYERS; ++p) play_seat_turn(g, p);
    advance_day(g.state, g.map, g.mp_left, g.mp_max, nullptr, seed);
}

std::string check_invariants(const SoakGame& g) {
    const GameState& s = g.state;
    char buf[160];
    for (int p = 0; p < MAX_PLAYERS; ++p)
        for (int r = 0; r < RES_COUNT; ++r)
            if (s.resources[p][r] < 0) return std::snprintf(buf, sizeof buf, "seat %d resource %d negative", p, r), buf;
    auto army_ok = [](const Army& a) { return a.stack_count() <= ARMY_SLOTS; };
    std::set<std::pair<int, int>> tiles;
    for (size_t i = 0; i < s.heroes.size(); ++i) {
        const HeroState& h = s.heroes[i];
        if (!h.live) continue;
        if (!army_ok(h.army)) return "hero army";
        if (h.owner < 0 || h.owner >= MAX_PLAYERS) return std::snprintf(buf, sizeof buf, "hero %zu owner %d", i, h.owner), buf;
        const MapTile* t = g.map.tile(h.x, h.y);
        if (!t) return std::snprintf(buf, sizeof buf, "hero %zu off the map", i), buf;
        if (t->impassable() && !t->is_town_entrance())
            return std::snprintf(buf, sizeof buf, "hero %zu on impassable (%d,%d)", i, h.x, h.y), buf;
        if (!t->occupied()) return std::snprintf(buf, sizeof buf, "hero %zu unmarked at (%d,%d)", i, h.x, h.y), buf;
        if (!tiles.insert({h.x, h.y}).second) return std::snprintf(buf, sizeof buf, "two heroes at (%d,%d)", h.x, h.y), buf;
    }
    // Exactly one tile: no hero mark without its hero.
    for (int y = 0; y < g.map.height; ++y)
        for (int x = 0; x < g.map.width; ++x)
            if (g.map.tile(x, y)->occupied() && !tiles.count({x, y}) && !g.map.tile(x, y)->boat)
                return std::snprintf(buf, sizeof buf, "stray hero mark at (%d,%d)", x, y), buf;
    for (const CastleState& c : s.castles) {
        if (!army_ok(c.garrison)) return "garrison";
        if (c.owner < -1 || c.owner >= MAX_PLAYERS) return "town owner";
    }
    for (const MineState& m : s.mines)
        if (m.owner < -1 || m.owner >= MAX_PLAYERS) return "mine owner";
    return {};
}

uint64_t state_hash(const SoakGame& g) {
    NewGameConfig cfg;
    const std::vector<uint8_t> img =
        build_save_image(g.state, g.map, cfg, g.state.day, g.state.week, g.state.month, nullptr, 0, nullptr);
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : img) h = (h ^ b) * 1099511628211ull;
    return h;
}

}  // namespace vorn1::aitest
