#include "ai/ai_routes.h"

#include <cstdlib>
#include <vector>

#include "ai/ai_battle.h"
#include "world/route.h"

namespace vorn1 {

namespace {

std::vector<RouteStep> whole_route(const GameMap& map, const GameState& state, int hero, int tx, int ty) {
    if (!state.valid_hero(hero)) return {};
    const HeroState& h = state.heroes[hero];
    return find_route(map, h.x, h.y, tx, ty, ROUTE_UNLIMITED_MP, h.move_kind() == MOVE_FLAT, h.on_boat != 0,
                      ai_goal_held_by_foe(map, state, h.owner, tx, ty), nullptr, nullptr, true);
}

bool beside(const RouteStep& s, const MonsterStackState& m) {
    return std::abs(s.x - m.x) <= 1 && std::abs(s.y - m.y) <= 1;
}

bool live(const MonsterStackState& m) { return !m.removed && m.count > 0; }

}  // namespace

bool ai_goal_held_by_foe(const GameMap& map, const GameState& state, int player, int x, int y) {
    const MapTile* t = map.tile(x, y);
    if (!t || !t->occupied()) return false;
    const int h = state.hero_at(x, y);
    return h >= 0 && state.heroes[(size_t)h].owner != player;
}

double route_cost_mp(const GameMap& map, const GameState& state, int hero, int tx, int ty) {
    double sum = 0;
    for (const RouteStep& s : whole_route(map, state, hero, tx, ty))
        if (s.cost > 0) sum += s.cost;
    return sum > 0 ? sum : -1.0;
}

bool route_crosses_monster_zoc(const GameMap& map, const GameState& state, int hero, const AIMapObject& target) {
    for (const RouteStep& s : whole_route(map, state, hero, target.x, target.y)) {
        if (s.cost < 0) continue;
        for (const MonsterStackState& m : state.monsters)
            if (live(m) && beside(s, m)) return true;
    }
    return false;
}

bool route_blocked_by_unbeatable_monster(const GameMap& map, const GameState& state, int hero,
                                         const AIMapObject& target) {
    const std::vector<RouteStep> route = whole_route(map, state, hero, target.x, target.y);
    if (route.empty()) return false;
    const HeroState& h = state.heroes[hero];
    for (const RouteStep& s : route) {
        if (s.cost < 0) continue;
        for (int i = 0; i < static_cast<int>(state.monsters.size()); ++i) {
            const MonsterStackState& m = state.monsters[i];
            if (!live(m) || !beside(s, m)) continue;
            if (target.type == AIO_MONSTER && m.x == target.x && m.y == target.y) continue;
            const AIMapObject o{m.x, m.y, AIO_MONSTER, i, false};
            if (ai_battle_outcome(state, h.owner, h, o).win_chance < 0.5f) return true;
        }
    }
    return false;
}

}  // namespace vorn1
