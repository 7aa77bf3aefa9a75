#include "ai/ai_planner.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_map>

#include "ai/ai_battle.h"
#include "ai/ai_routes.h"
#include "ai/ai_tables.h"
#include "ai/ai_valuation.h"

namespace vorn1 {

namespace {

constexpr int kFrontierMax = 1024;
constexpr int32_t RV_STRAT_UNSET = INT32_MIN;
constexpr int kDirs[8][2] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

bool is_town_object(uint8_t t) { return t == 168 || t == 192 || t == 193; }

bool is_stop_object(uint8_t t) {
    switch (t) {
        case 136: case 139: case 154: case 155: case 157: case 176: case 189: case 190: case 195: case 196:
        case 197: case 198: case 131: case 134: return true;
        default: return false;
    }
}

bool water_ground(uint8_t g) { return g < 20 || g == 255; }

int ground_step(uint8_t g, bool diagonal, bool flat) {
    if (!flat && g >= 40 && g <= 79) return diagonal ? 9 : 6;
    if (!flat && g >= 100 && g <= 119) return diagonal ? 12 : 8;
    return diagonal ? 6 : 4;
}

bool live_hero_of(const GameState& s, int h, int player) {
    return s.valid_hero(h) && s.heroes[(size_t)h].live && s.heroes[(size_t)h].owner == player;
}

bool has_points(const std::vector<int>& mp_left, int h) { return h >= 0 && h < (int)mp_left.size() && mp_left[(size_t)h] > 0; }

// The route cost when the hero may go for the target, else -1.
double reachable_target(const GameState& s, const GameMap& map, int h, const AIMapObject& o, bool blocked_check) {
    const HeroState& hero = s.heroes[(size_t)h];
    if (o.type == AIO_ARTIFACT && (hero.free_artifact_slot() < 0 || !is_hero_strong_enough(s, hero, o))) return -1;
    if (o.guarded && !is_hero_strong_enough(s, hero, o)) return -1;
    const double cost = route_cost_mp(map, s, h, o.x, o.y);
    if (cost <= 0) return -1;
    return !blocked_check || !route_blocked_by_unbeatable_monster(map, s, h, o) ? cost : -1;
}

// Worth of the town's garrison poured into a copy of the hero's army.
double garrison_merge_value(const HeroState& hero, const CastleState& town) {
    Army a = hero.army;
    double v = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        if (town.garrison.slot_empty(i)) continue;
        const uint8_t id = town.garrison.ids[(size_t)i];
        int slot = -1;
        for (int j = 0; j < ARMY_SLOTS && slot < 0; ++j)
            if (a.ids[(size_t)j] == id && a.counts[(size_t)j] > 0) slot = j;
        for (int j = 0; j < ARMY_SLOTS && slot < 0; ++j)
            if (a.slot_empty(j)) slot = j;
        if (slot < 0) continue;
        a.ids[(size_t)slot] = id;
        a.counts[(size_t)slot] = (uint16_t)std::min(65535, a.counts[(size_t)slot] + town.garrison.counts[(size_t)i]);
        v += (double)town.garrison.counts[(size_t)i] * ai_creature_value(id);
    }
    return v;
}

double time_factor(double t, bool on_boat) {
    if (on_boat) return 0.5 * t + 0.5;
    if (t > 5) return 3 * t;
    if (t > 4) return 2.5 * t;
    if (t > 3) return 2 * t;
    if (t > 2) return 1.7 * t;
    if (t > 1.5) return 1.4 * t;
    if (t > 1) return 1.2 * t;
    return t;
}

}  // namespace

const AISearchCell* AISearchArray::cell(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    return &cells[(size_t)(y * width + x)];
}

void AISearchArray::seed(const GameMap& map, const GameState& s, const FogOfWar* fog, int x, int y, int budget,
                         bool on_boat, bool flat, int player, bool mark_guards) {
    width = std::max(0, map.width);
    height = std::max(0, map.height);
    if (cells.size() != (size_t)width * height) {
        cells.assign((size_t)width * height, AISearchCell{});
    } else {
        for (int i : touched) cells[(size_t)i] = AISearchCell{};
    }
    touched.clear();
    if (!map.has_tiles() || !map.in_bounds(x, y)) return;
    std::vector<int> own_towns;
    for (const CastleState& c : s.castles)
        if (c.live && c.owner == player && map.in_bounds(c.x, c.y)) own_towns.push_back(c.y * width + c.x);
    auto stop_tile = [&](int idx) {
        const uint8_t t = map.tiles[(size_t)idx].object_type;
        if (is_stop_object(t)) return true;
        return is_town_object(t) && std::find(own_towns.begin(), own_towns.end(), idx) == own_towns.end();
    };
    const int start = y * width + x;
    cells[(size_t)start].reached = true;
    touched.push_back(start);
    std::vector<std::pair<int, int32_t>> frontier{{start, 0}};
    while (!frontier.empty()) {
        const auto [idx, cost] = frontier.back();
        frontier.pop_back();
        if (cells[(size_t)idx].cost != cost) continue;
        const int cx = idx % width, cy = idx / width;
        if (idx != start && (stop_tile(idx) || map.guarded(cx, cy))) continue;
        const uint8_t g = map.tiles[(size_t)idx].ground;
        for (int d = 0; d < 8; ++d) {
            const int nx = cx + kDirs[d][0], ny = cy + kDirs[d][1];
            if (!map.in_bounds(nx, ny)) continue;
            if (fog && (nx >= FOG_DIM || ny >= FOG_DIM || !fog->is_explored(nx, ny))) continue;
            const int nidx = ny * width + nx;
            const MapTile& nt = map.tiles[(size_t)nidx];
            if (nt.impassable()) continue;
            if (!stop_tile(nidx) && water_ground(nt.ground) != on_boat) continue;
            const int32_t ncost = cost + ground_step(g, (d & 1) != 0, flat);
            if (budget > 0 && ncost > budget) continue;
            if ((int)frontier.size() >= kFrontierMax) continue;
            AISearchCell& c = cells[(size_t)nidx];
            if (c.reached && c.cost <= ncost) continue;
            if (!c.reached) touched.push_back(nidx);
            c.cost = ncost;
            c.reached = true;
            c.guarded = false;
            c.guard_x = c.guard_y = -1;
            if (mark_guards) {
                const auto [gx, gy] = monster_tile_adjacent_to(map, nx, ny);
                if (gx >= 0) c.guarded = true, c.guard_x = (int8_t)gx, c.guard_y = (int8_t)gy;
            }
            const auto pos = std::upper_bound(frontier.begin(), frontier.end(), ncost,
                                              [](int32_t v, const std::pair<int, int32_t>& e) { return v > e.second; });
            frontier.insert(pos, {nidx, ncost});
        }
    }
}

bool plan_best_action(AIContext& c, const GameState& s, const GameMap& map, const std::vector<int>& mp_left, int player,
                      int& out_hero, AIMapObject& out_target) {
    ai_scan_map(c, s, map, player);
    ai_build_regions(c, s, map);
    assign_hero_roles(c, s, player);
    const std::vector<DangerCastle> dangers = find_castles_in_danger(s, player);
    const int w = std::max(0, map.width);
    std::unordered_map<int, int> at_tile;
    for (int i = 0; i < (int)c.objects.size(); ++i)
        if (c.objects[(size_t)i].x >= 0 && c.objects[(size_t)i].y >= 0)
            at_tile[c.objects[(size_t)i].y * w + c.objects[(size_t)i].x] = i;
    const FogOfWar* fog = is_player_index(player) ? &s.fog[(size_t)player] : nullptr;
    AISearchArray search, local;
    // What lies around a target tile, as the hero h values it, less the crowding of the player's other heroes.
    auto strategic_value = [&](int h, int tx, int ty) {
        const HeroState& hero = s.heroes[(size_t)h];
        local.seed(map, s, nullptr, tx, ty, 36, false, false, player, false);
        if (AISearchCell* tc = const_cast<AISearchCell*>(local.cell(tx, ty))) tc->reached = false;
        int64_t sum = 0;
        for (int idx = 0; idx < (int)local.cells.size(); ++idx) {
            if (!local.cells[(size_t)idx].reached) continue;
            const auto cand = at_tile.find(idx);
            if (cand == at_tile.end()) continue;
            int32_t p2 = 100;
            sum += (int64_t)(ValueOfEventAtPosition(s, map, h, player, c.objects[(size_t)cand->second], p2) /
                             (local.cells[(size_t)idx].cost + 2.0));
        }
        for (int k = 0; k < (int)s.heroes.size(); ++k) {
            const HeroState& o2 = s.heroes[(size_t)k];
            if (!o2.live || o2.owner != player || (o2.x == hero.x && o2.y == hero.y)) continue;
            const int d = std::abs(o2.x - tx) + std::abs(o2.y - ty);
            if (d < 9) sum -= (9 - d) * 1250 / 9;
        }
        return (int32_t)std::clamp<int64_t>(sum, INT32_MIN + 1, 32000);
    };
    // A tile's strategic value is fixed once per call, by the first hero that may go there (its route tests
    // passed). Candidates let through without their route tests wait on the tile until it matters.
    struct StratTile {
        int fixer = -1;
        int32_t value = RV_STRAT_UNSET;
        std::vector<std::pair<int, int>> untested;  // (hero, candidate)
    };
    std::unordered_map<int, StratTile> strat;
    auto find_fixer = [&](StratTile& st) {
        for (const auto& [ph, pi] : st.untested) {
            if (st.fixer >= 0) break;
            const AIMapObject& po = c.objects[(size_t)pi];
            if (reachable_target(s, map, ph, po, po.type != AIO_MONSTER) > 0) st.fixer = ph;
        }
        st.untested.clear();
    };

    double best = -50000.0;
    bool best_today = false;
    int chosen = -1, chosen_obj = -1;
    for (int h = 0; h < (int)s.heroes.size(); ++h) {
        if (!live_hero_of(s, h, player) || !has_points(mp_left, h) || hero_pinned_to_defense(s, player, h, dangers)) continue;
        const HeroState& hero = s.heroes[(size_t)h];
        const int mp = mp_left[(size_t)h];
        search.seed(map, s, fog, hero.x, hero.y, std::max(300, 3 * mp), hero.on_boat != 0, hero.move_kind() == MOVE_FLAT,
                    player, true);
        int busy = -1;  // worked out only when an own town needs it
        auto is_busy = [&] {
            if (busy < 0) {
                // Any qualifying candidate will do: the near ones are the cheap ones to route.
                std::vector<std::pair<int, int>> near;
                for (int i = 0; i < (int)c.objects.size(); ++i)
                    if (c.objects[(size_t)i].type != AIO_REINFORCE_CASTLE)
                        near.push_back({cheb_dist(hero.x, hero.y, c.objects[(size_t)i].x, c.objects[(size_t)i].y), i});
                std::sort(near.begin(), near.end());
                busy = 0;
                for (const auto& [d, i] : near)
                    if (reachable_target(s, map, h, c.objects[(size_t)i], true) > 0) {
                        busy = 1;
                        break;
                    }
            }
            return busy == 1;
        };
        for (int i = 0; i < (int)c.objects.size(); ++i) {
            const AIMapObject& o = c.objects[(size_t)i];
            const bool own_tile = o.x == hero.x && o.y == hero.y;
            const AISearchCell* cell = search.cell(o.x, o.y);
            if (!own_tile && (!cell || !cell->reached)) continue;
            if (o.type == AIO_REINFORCE_CASTLE) {
                if (o.index < 0 || o.index >= (int)s.castles.size() || own_tile) continue;
                if (garrison_merge_value(hero, s.castles[(size_t)o.index]) < 40) continue;
            }
            int32_t pct = 100;
            const auto here = at_tile.find(o.y * w + o.x);
            double v = here == at_tile.end() ? 0 : ValueOfEventAtPosition(s, map, h, player, c.objects[(size_t)here->second], pct);
            if (cell && cell->guarded && cell->guard_x >= 0) {
                const auto g = at_tile.find(cell->guard_y * w + cell->guard_x);
                if (g != at_tile.end() && c.objects[(size_t)g->second].type == AIO_MONSTER) {
                    int32_t gp = 100;
                    const int32_t gv = ValueOfEventAtPosition(s, map, h, player, c.objects[(size_t)g->second], gp);
                    if (gv < 0) v += gv;
                    pct = pct == 100 ? gp : pct * gp / 100;
                }
            }
            const double t = (cell ? cell->cost : 0) / (double)mp;
            const double f = time_factor(t, hero.on_boat != 0);
            double score = (double)(int64_t)(v / (f + 0.2));
            StratTile& st = strat[o.y * w + o.x];
            int32_t sv = RV_STRAT_UNSET;
            if (pct == 100) {
                if (st.fixer < 0) find_fixer(st);
                // Not fixed yet: this hero's own value is the one it would fix.
                if (st.fixer < 0) sv = strategic_value(h, o.x, o.y);
                else if (st.value == RV_STRAT_UNSET) sv = st.value = strategic_value(st.fixer, o.x, o.y);
                else sv = st.value;
                score += (double)(int64_t)(2.0 * sv / (f + 1.0));
            }
            if (o.type == AIO_REINFORCE_CASTLE && !is_busy()) score += 2500;
            score *= role_value_multiplier(role_for(c, h), o.type);
            // The route checks are dear: skip them for a candidate that cannot win whatever they say (a route
            // costs at least 4 a tile, so a far one cannot be today's).
            if (score <= best && (best_today || 4 * cheb_dist(hero.x, hero.y, o.x, o.y) > mp)) {
                if (st.fixer < 0) st.untested.push_back({h, i});
                continue;
            }
            const double cost = reachable_target(s, map, h, o, o.type != AIO_MONSTER);
            if (cost <= 0) continue;
            if (st.fixer < 0) find_fixer(st);
            if (st.fixer < 0) {
                st.fixer = h;
                st.value = sv;
            }
            const bool today = cost > 0 && cost <= mp;
            if ((today && (!best_today || score > best)) || (!today && !best_today && score > best)) {
                best = score;
                best_today = today;
                chosen = h;
                chosen_obj = i;
            }
        }
    }
    if (chosen < 0) return false;
    out_hero = chosen;
    out_target = c.objects[(size_t)chosen_obj];
    return true;
}

bool plan_fallback_explore(AIContext& c, const GameState& s, const GameMap& map, const std::vector<int>& mp_left,
                           int player, int& out_hero, AIMapObject& out_target) {
    const std::vector<DangerCastle> dangers = find_castles_in_danger(s, player);
    std::vector<int> heroes;
    for (int h = 0; h < (int)s.heroes.size(); ++h)
        if (live_hero_of(s, h, player) && has_points(mp_left, h) && !hero_pinned_to_defense(s, player, h, dangers))
            heroes.push_back(h);
    // The nearest pair: the smallest route cost, the first pair in hero and candidate order on ties. A route
    // costs at least 4 a tile, so pairs are tried nearest first and the far ones never routed.
    struct Pair {
        int bound, order, hero, obj;
    };
    std::vector<Pair> pairs;
    for (int hi = 0; hi < (int)heroes.size(); ++hi)
        for (int i = 0; i < (int)c.objects.size(); ++i) {
            const AIMapObject& o = c.objects[(size_t)i];
            if (o.type == AIO_REINFORCE_CASTLE) continue;
            const HeroState& hero = s.heroes[(size_t)heroes[(size_t)hi]];
            pairs.push_back({4 * cheb_dist(hero.x, hero.y, o.x, o.y), hi * (int)c.objects.size() + i, heroes[(size_t)hi], i});
        }
    std::sort(pairs.begin(), pairs.end(), [](const Pair& a, const Pair& b) { return a.bound < b.bound; });
    double best = 1e18;
    int best_order = -1;
    for (const Pair& pr : pairs) {
        if (pr.bound > best) break;
        const AIMapObject& o = c.objects[(size_t)pr.obj];
        if (o.guarded && !is_hero_strong_enough(s, s.heroes[(size_t)pr.hero], o)) continue;
        const double cost = route_cost_mp(map, s, pr.hero, o.x, o.y);
        if (cost <= 0 || cost > best || (cost == best && pr.order > best_order)) continue;
        if (route_blocked_by_unbeatable_monster(map, s, pr.hero, o)) continue;
        best = cost;
        best_order = pr.order;
        out_hero = pr.hero;
        out_target = o;
    }
    if (best < 1e18) return true;
    const FogOfWar* fog = is_player_index(player) ? &s.fog[(size_t)player] : nullptr;
    auto monster_near = [&](int x, int y) {
        for (const MonsterStackState& m : s.monsters)
            if (!m.removed && m.count > 0 && std::abs(m.x - x) <= 1 && std::abs(m.y - y) <= 1) return true;
        return false;
    };
    for (int h : heroes) {
        const HeroState& hero = s.heroes[(size_t)h];
        // The best tile is the highest score that passes, the first in row order on ties: tried in that order.
        struct Tile {
            int score, order, x, y;
        };
        std::vector<Tile> tiles;
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx) {
                const int x = hero.x + dx, y = hero.y + dy, d = std::max(std::abs(dx), std::abs(dy));
                if (d <= 2 || !map.in_bounds(x, y)) continue;
                const MapTile* t = map.tile(x, y);
                if (t->blocking != 0 || !t->is_land()) continue;
                const bool unexplored = !fog || x >= FOG_DIM || y >= FOG_DIM || !fog->is_explored(x, y);
                tiles.push_back({unexplored ? d + 100 : d, (dy + 12) * 25 + dx + 12, x, y});
            }
        std::sort(tiles.begin(), tiles.end(),
                  [](const Tile& a, const Tile& b) { return a.score != b.score ? a.score > b.score : a.order < b.order; });
        AIMapObject pick;
        bool found = false;
        for (const Tile& tl : tiles) {
            if (monster_near(tl.x, tl.y)) continue;
            const AIMapObject o{tl.x, tl.y, AIO_RESOURCE, -1, false};
            if (route_cost_mp(map, s, h, tl.x, tl.y) <= 0 || route_crosses_monster_zoc(map, s, h, o)) continue;
            pick = o;
            found = true;
            break;
        }
        if (found) {
            out_hero = h;
            out_target = pick;
            return true;
        }
        bool home = false;
        double near = 1e18;
        for (const CastleState& t : s.castles) {
            if (!t.live || t.owner != player) continue;
            if (t.x == hero.x && t.y == hero.y) {
                home = true;
                break;
            }
            const AIMapObject o{t.x, t.y, AIO_REINFORCE_CASTLE, -1, false};
            const double cost = route_cost_mp(map, s, h, t.x, t.y);
            if (cost <= 0 || cost >= near || route_crosses_monster_zoc(map, s, h, o)) continue;
            near = cost;
            pick = o;
        }
        if (!home && near < 1e18) {
            out_hero = h;
            out_target = pick;
            return true;
        }
    }
    return false;
}

}  // namespace vorn1
