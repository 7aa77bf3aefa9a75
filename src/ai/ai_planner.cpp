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

// A tile's strategic value is fixed once per call, by the first hero that may go there (its route tests
// passed). Candidates let through without their route tests wait on the tile until it matters.
struct StratTile {
    int fixer = -1;
    int32_t value = RV_STRAT_UNSET;
    std::vector<std::pair<int, int>> untested;  // (hero, candidate)
};

// What one call of plan_best_action shares between its heroes; lives for that call only.
struct PlanCall {
    AIContext& c;
    const GameState& s;
    const GameMap& map;
    int player = -1;
    int width = 0;
    std::unordered_map<int, int> at_tile{};  // tile index -> the last candidate on it
    std::unordered_map<int, StratTile> strat{};
    AISearchArray search{}, local{};
};

// The hero being planned for.
struct HeroPlan {
    int h = -1;
    int mp = 0;
    int busy = -1;  // worked out only when an own town needs it
};

// The best pair of hero and candidate so far.
struct PlanChoice {
    double score = -50000.0;
    bool today = false;
    int hero = -1, obj = -1;
};

std::vector<DangerCastle> rebuild_model(AIContext& c, const GameState& s, const GameMap& map, int player) {
    ai_scan_map(c, s, map, player);
    ai_build_regions(c, s, map);
    assign_hero_roles(c, s, player);
    return find_castles_in_danger(s, player);
}

void map_candidates_to_tiles(PlanCall& p) {
    for (int i = 0; i < (int)p.c.objects.size(); ++i) {
        const AIMapObject& o = p.c.objects[(size_t)i];
        if (o.x >= 0 && o.y >= 0) p.at_tile[o.y * p.width + o.x] = i;
    }
}

const AIMapObject* candidate_at(const PlanCall& p, int x, int y) {
    const auto it = p.at_tile.find(y * p.width + x);
    return it == p.at_tile.end() ? nullptr : &p.c.objects[(size_t)it->second];
}

void search_from_hero(PlanCall& p, const HeroPlan& hp) {
    const HeroState& hero = p.s.heroes[(size_t)hp.h];
    const FogOfWar* fog = is_player_index(p.player) ? &p.s.fog[(size_t)p.player] : nullptr;
    p.search.seed(p.map, p.s, fog, hero.x, hero.y, std::max(300, 3 * hp.mp), hero.on_boat != 0,
                  hero.move_kind() == MOVE_FLAT, p.player, true);
}

bool hero_has_anything_to_do(const PlanCall& p, HeroPlan& hp) {
    if (hp.busy < 0) {
        const HeroState& hero = p.s.heroes[(size_t)hp.h];
        // Any qualifying candidate will do: the near ones are the cheap ones to route.
        std::vector<std::pair<int, int>> near;
        for (int i = 0; i < (int)p.c.objects.size(); ++i) {
            const AIMapObject& o = p.c.objects[(size_t)i];
            if (o.type != AIO_REINFORCE_CASTLE) near.push_back({cheb_dist(hero.x, hero.y, o.x, o.y), i});
        }
        std::sort(near.begin(), near.end());
        hp.busy = 0;
        for (const auto& [d, i] : near)
            if (reachable_target(p.s, p.map, hp.h, p.c.objects[(size_t)i], true) > 0) {
                hp.busy = 1;
                break;
            }
    }
    return hp.busy == 1;
}

// The part of the target test that needs no route: the search reached the tile, and an own town adds
// enough to the hero's army.
bool target_in_reach(const PlanCall& p, const HeroPlan& hp, const AIMapObject& o, const AISearchCell* cell) {
    const HeroState& hero = p.s.heroes[(size_t)hp.h];
    const bool own_tile = o.x == hero.x && o.y == hero.y;
    if (!own_tile && (!cell || !cell->reached)) return false;
    if (o.type != AIO_REINFORCE_CASTLE) return true;
    if (o.index < 0 || o.index >= (int)p.s.castles.size() || own_tile) return false;
    return garrison_merge_value(hero, p.s.castles[(size_t)o.index]) >= 40;
}

// The candidate standing on the target tile, with a hostile guard next to it weighed in.
double target_value(const PlanCall& p, int h, const AIMapObject& o, const AISearchCell* cell, int32_t& pct) {
    pct = 100;
    const AIMapObject* here = candidate_at(p, o.x, o.y);
    double v = here ? ValueOfEventAtPosition(p.s, p.map, h, p.player, *here, pct) : 0;
    if (!cell || !cell->guarded || cell->guard_x < 0) return v;
    const AIMapObject* guard = candidate_at(p, cell->guard_x, cell->guard_y);
    if (!guard || guard->type != AIO_MONSTER) return v;
    int32_t gp = 100;
    const int32_t gv = ValueOfEventAtPosition(p.s, p.map, h, p.player, *guard, gp);
    if (gv < 0) v += gv;
    pct = pct == 100 ? gp : pct * gp / 100;
    return v;
}

// What lies around a target tile, as the hero h values it, less the crowding of the player's other heroes.
int32_t strategic_value(PlanCall& p, int h, int tx, int ty) {
    const HeroState& hero = p.s.heroes[(size_t)h];
    p.local.seed(p.map, p.s, nullptr, tx, ty, 36, false, false, p.player, false);
    if (AISearchCell* tc = const_cast<AISearchCell*>(p.local.cell(tx, ty))) tc->reached = false;
    int64_t sum = 0;
    for (int idx = 0; idx < (int)p.local.cells.size(); ++idx) {
        if (!p.local.cells[(size_t)idx].reached) continue;
        const auto cand = p.at_tile.find(idx);
        if (cand == p.at_tile.end()) continue;
        int32_t p2 = 100;
        sum += (int64_t)(ValueOfEventAtPosition(p.s, p.map, h, p.player, p.c.objects[(size_t)cand->second], p2) /
                         (p.local.cells[(size_t)idx].cost + 2.0));
    }
    for (const HeroState& other : p.s.heroes) {
        if (!other.live || other.owner != p.player || (other.x == hero.x && other.y == hero.y)) continue;
        const int d = std::abs(other.x - tx) + std::abs(other.y - ty);
        if (d < 9) sum -= (9 - d) * 1250 / 9;
    }
    return (int32_t)std::clamp<int64_t>(sum, INT32_MIN + 1, 32000);
}

// The first waiting candidate whose route tests pass names the hero that fixes the tile's value.
void find_fixer(const PlanCall& p, StratTile& st) {
    for (const auto& [ph, pi] : st.untested) {
        if (st.fixer >= 0) break;
        const AIMapObject& po = p.c.objects[(size_t)pi];
        if (reachable_target(p.s, p.map, ph, po, po.type != AIO_MONSTER) > 0) st.fixer = ph;
    }
    st.untested.clear();
}

// The tile's value once fixed; until then the hero's own, the one it would fix.
int32_t tile_strategic_value(PlanCall& p, StratTile& st, int h, int tx, int ty) {
    if (st.fixer < 0) find_fixer(p, st);
    if (st.fixer < 0) return strategic_value(p, h, tx, ty);
    if (st.value == RV_STRAT_UNSET) st.value = strategic_value(p, st.fixer, tx, ty);
    return st.value;
}

// The hero whose route tests passed first fixes the tile's value (the one it used, unset when it used none).
void fix_strategic_value(const PlanCall& p, StratTile& st, int h, int32_t used) {
    if (st.fixer < 0) find_fixer(p, st);
    if (st.fixer >= 0) return;
    st.fixer = h;
    st.value = used;
}

// The candidate's final score for the hero: its value over the time to get there, the strategic value
// when nothing there takes a cut, an own town's bonus and the hero's role. `sv` gets the strategic value
// used (unset when none).
double target_score(PlanCall& p, HeroPlan& hp, const AIMapObject& o, const AISearchCell* cell, StratTile& st,
                    int32_t& sv) {
    int32_t pct = 100;
    const double v = target_value(p, hp.h, o, cell, pct);
    const double f = time_factor((cell ? cell->cost : 0) / (double)hp.mp, p.s.heroes[(size_t)hp.h].on_boat != 0);
    double score = (double)(int64_t)(v / (f + 0.2));
    sv = RV_STRAT_UNSET;
    if (pct == 100) {
        sv = tile_strategic_value(p, st, hp.h, o.x, o.y);
        score += (double)(int64_t)(2.0 * sv / (f + 1.0));
    }
    if (o.type == AIO_REINFORCE_CASTLE && !hero_has_anything_to_do(p, hp)) score += 2500;
    return score * role_value_multiplier(role_for(p.c, hp.h), o.type);
}

// Reachable today beats any later target; otherwise the strictly higher score.
bool beats(const PlanChoice& best, double score, bool today) {
    if (today) return !best.today || score > best.score;
    return !best.today && score > best.score;
}

// Tests and scores the candidate i for the hero and keeps it when it is the best so far.
void consider_target(PlanCall& p, HeroPlan& hp, int i, PlanChoice& best) {
    const AIMapObject& o = p.c.objects[(size_t)i];
    const HeroState& hero = p.s.heroes[(size_t)hp.h];
    const AISearchCell* cell = p.search.cell(o.x, o.y);
    if (!target_in_reach(p, hp, o, cell)) return;
    StratTile& st = p.strat[o.y * p.width + o.x];
    int32_t sv = RV_STRAT_UNSET;
    const double score = target_score(p, hp, o, cell, st, sv);
    // The route checks are dear: skip them for a candidate that cannot win whatever they say (a route
    // costs at least 4 a tile, so a far one cannot be today's).
    if (score <= best.score && (best.today || 4 * cheb_dist(hero.x, hero.y, o.x, o.y) > hp.mp)) {
        if (st.fixer < 0) st.untested.push_back({hp.h, i});
        return;
    }
    const double cost = reachable_target(p.s, p.map, hp.h, o, o.type != AIO_MONSTER);
    if (cost <= 0) return;
    fix_strategic_value(p, st, hp.h, sv);
    const bool today = cost <= hp.mp;
    if (beats(best, score, today)) best = {score, today, hp.h, i};
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
    const std::vector<DangerCastle> dangers = rebuild_model(c, s, map, player);
    PlanCall p{c, s, map, player, std::max(0, map.width)};
    map_candidates_to_tiles(p);
    PlanChoice best;
    for (int h = 0; h < (int)s.heroes.size(); ++h) {
        if (!live_hero_of(s, h, player) || !has_points(mp_left, h) || hero_pinned_to_defense(s, player, h, dangers)) continue;
        HeroPlan hp{h, mp_left[(size_t)h]};
        search_from_hero(p, hp);
        for (int i = 0; i < (int)c.objects.size(); ++i) consider_target(p, hp, i, best);
    }
    if (best.hero < 0) return false;
    out_hero = best.hero;
    out_target = c.objects[(size_t)best.obj];
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
