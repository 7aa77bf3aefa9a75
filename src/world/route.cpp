#include "world/route.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

namespace {

const int DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
const int DY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
// Straight steps are tried first so that equal-cost routes prefer them.
const int EXPAND_ORDER[8] = {DIR_N, DIR_E, DIR_S, DIR_W, DIR_NE, DIR_SE, DIR_SW, DIR_NW};

bool layer_holds_frame(uint8_t set, uint8_t frame) { return set != 0 && set != 255 && frame != 255; }

bool side_is_barrier(const GameMap& map, int x, int y) {
    const MapTile* t = map.tile(x, y);
    if (!t) return false;
    if ((t->object_type & 0x7F) == 12) return true;
    if (layer_holds_frame(t->layer1_set, t->layer1_frame) && t->layer1_set == SET_TREES) return true;
    if (t->is_land() && t->blocking == 0) return false;
    if (layer_holds_frame(t->layer1_set, t->layer1_frame)) return layer_is_barrier(t->layer1_set, t->layer1_frame);
    const bool mountain2 = layer_holds_frame(t->layer2_set, t->layer2_frame) && t->layer2_set == SET_MOUNTAINS;
    return mountain2 && ((t->object_type >= 52 && t->object_type <= 55) || t->object_type == 63);
}

// Scenery object types a hero on foot cannot stand on.
bool foot_type_blocked(const MapTile& t) {
    const uint8_t type = t.object_type;
    bool set8;
    if (layer_holds_frame(t.layer1_set, t.layer1_frame)) set8 = t.layer1_set == SET_MOUNTAINS;
    else set8 = layer_holds_frame(t.layer2_set, t.layer2_frame) && t.layer2_set == SET_MOUNTAINS;
    if (type == 12 && !set8) return true;
    if (set8 && (type == 12 || type == 30 || (type >= 52 && type <= 55) || type == 63)) return true;
    // Without mountains every such type blocks; beside mountains only those from 56 on.
    if ((!set8 || type >= 56) && ((type & 0x7F) == 30 || type == 177 || type == 178)) return true;
    return false;
}

}  // namespace

int dir_from_delta(int dx, int dy) {
    for (int d = 0; d < 8; ++d)
        if (DX[d] == dx && DY[d] == dy) return d;
    return -1;
}

void delta_from_dir(int dir, int& dx, int& dy) {
    if (dir < 0 || dir > 7) {
        dx = dy = 0;
        return;
    }
    dx = DX[dir];
    dy = DY[dir];
}

int step_cost(const GameMap& map, int to_x, int to_y, bool diagonal, bool flat, bool on_boat) {
    const MapTile* t = map.tile(to_x, to_y);
    if (on_boat || flat || !t || t->is_water()) return diagonal ? 6 : 4;
    const int g = t->ground;
    if (g >= 40 && g <= 79) return diagonal ? 9 : 6;
    if (g >= 100 && g <= 119) return diagonal ? 12 : 8;
    return diagonal ? 6 : 4;
}

namespace {

// The parts of the step rule that depend on the destination tile alone.
bool gate_ok(const MapTile& t) {
    if (is_enterable_object_type(t.object_type)) return true;
    if (layer_holds_frame(t.layer1_set, t.layer1_frame) && t.layer1_set == SET_TREES) return false;
    return t.blocking == 0;
}
bool boat_target_ok(const MapTile& t) { return gate_ok(t) && t.is_water() && !t.occupied(); }
bool foot_target_ok(const MapTile& t) { return gate_ok(t) && t.is_land() && !foot_type_blocked(t) && !t.occupied(); }
bool open_water_side(const MapTile* t) { return t && t->blocking == 0 && t->is_water(); }

}  // namespace

int hero_step_cost(const GameMap& map, int fx, int fy, int tx, int ty, bool on_boat, bool flat, const FogOfWar* fog) {
    const int dx = tx - fx, dy = ty - fy;
    if (std::abs(dx) > 1 || std::abs(dy) > 1 || (dx == 0 && dy == 0)) return -1;
    const MapTile* t = map.tile(tx, ty);
    if (!t) return -1;
    if (fog && !fog->is_explored(tx, ty)) return -1;
    const bool diagonal = dx != 0 && dy != 0;
    if (on_boat) {
        if (!boat_target_ok(*t)) return -1;
        if (!diagonal) return 4;
        return open_water_side(map.tile(tx, fy)) || open_water_side(map.tile(fx, ty)) ? 6 : -1;
    }
    if (!foot_target_ok(*t)) return -1;
    if (diagonal && side_is_barrier(map, tx, fy) && side_is_barrier(map, fx, ty)) return -1;
    return step_cost(map, tx, ty, diagonal, flat, false);
}

std::vector<RouteStep> find_route(const GameMap& map, int x0, int y0, int x1, int y1, int mp, bool flat, bool on_boat,
                                  bool accept_dest, const FogOfWar* fog, const std::unordered_set<uint32_t>* blocked,
                                  bool stop_at_guarded) {
    std::vector<RouteStep> out;
    if (!map.has_tiles() || !map.in_bounds(x0, y0) || !map.in_bounds(x1, y1)) return out;
    if (x0 == x1 && y0 == y1) return out;
    if (fog && !fog->is_explored(x1, y1)) return out;

    const int w = map.width, h = map.height, n = w * h;
    constexpr int MAXN = MAP_MAX_DIM * MAP_MAX_DIM;
    thread_local std::array<int32_t, MAXN> dist;
    thread_local std::array<int16_t, MAXN> prev;
    thread_local std::array<uint8_t, MAXN> done;
    std::fill_n(dist.begin(), n, INT32_MAX);
    std::fill_n(prev.begin(), n, (int16_t)-1);
    std::fill_n(done.begin(), n, (uint8_t)0);
    const bool guard_ok = (int64_t)map.guard_map.size() == (int64_t)n;

    // Per-tile answers of the step rule, computed once per search (hero_step_cost asks the same questions).
    enum : uint8_t { T_TARGET = 1, T_BARRIER = 2, T_STOP = 4, T_GUARD_STOP = 8, T_SIDE_WATER = 16 };
    thread_local std::array<uint8_t, MAXN> info;
    thread_local std::array<uint8_t, MAXN> straight;
    for (int i = 0; i < n; ++i) {
        const MapTile& t = map.tiles[i];
        const int tx = i % w, ty = i / w;
        uint8_t f = 0;
        const bool seen = !fog || fog->is_explored(tx, ty);
        if (seen && (on_boat ? boat_target_ok(t) : foot_target_ok(t))) f |= T_TARGET;
        if (side_is_barrier(map, tx, ty)) f |= T_BARRIER;
        if (open_water_side(&t)) f |= T_SIDE_WATER;
        if ((t.object_type >= OBJ_EVENT_FIRST && is_enterable_object_type(t.object_type)) ||
            (blocked && blocked->count(tile_key(tx, ty))))
            f |= T_STOP;
        if (stop_at_guarded && guard_ok && (map.guard_map[(size_t)tx * h + ty] & 0x80)) f |= T_GUARD_STOP;
        info[i] = f;
        straight[i] = (uint8_t)step_cost(map, tx, ty, false, flat, on_boat);
    }

    // A* over a bucket queue: every step costs 4..12 and the estimate (4 per step, 2 more per diagonal) never
    // overestimates, so f = cost + estimate only grows, by at most 18 a step; 32 circular buckets suffice.
    auto estimate = [&](int i) {
        const int dx = std::abs(i % w - x1), dy = std::abs(i / w - y1);
        return 4 * std::max(dx, dy) + 2 * std::min(dx, dy);
    };
    thread_local std::array<std::vector<uint16_t>, 32> buckets;
    for (auto& bk : buckets) bk.clear();
    const int start = y0 * w + x0, goal = y1 * w + x1;
    dist[start] = 0;
    int32_t cf = estimate(start);
    buckets[cf & 31].push_back((uint16_t)start);
    int pending = 1;
    while (pending > 0) {
        auto& bucket = buckets[cf & 31];
        if (bucket.empty()) {
            ++cf;
            continue;
        }
        const int cur = bucket.back();
        bucket.pop_back();
        --pending;
        if (done[cur]) continue;
        done[cur] = 1;
        if (cur == goal) break;
        const int cx = cur % w, cy = cur / w;
        // Tiles that a walk stops on are entered but never walked through. From a guarded tile the goal
        // may still follow (a hero beside a monster may attack it).
        bool stop = false;
        if (cur != start) {
            if (info[cur] & T_STOP) continue;
            stop = (info[cur] & T_GUARD_STOP) != 0;
            if (stop && (std::abs(cx - x1) > 1 || std::abs(cy - y1) > 1)) continue;
        }
        for (int k = 0; k < 8; ++k) {
            const int d = EXPAND_ORDER[k];
            const int nx = cx + DX[d], ny = cy + DY[d];
            if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
            const int ni = ny * w + nx;
            if (done[ni] || (stop && ni != goal)) continue;
            const bool diagonal = DX[d] != 0 && DY[d] != 0;
            int c = -1;
            if (info[ni] & T_TARGET) {
                const int sa = cy * w + nx, sb = ny * w + cx;  // the two side tiles of a diagonal
                if (!diagonal) c = straight[ni];
                else if (on_boat) c = (info[sa] & T_SIDE_WATER) || (info[sb] & T_SIDE_WATER) ? 6 : -1;
                else c = (info[sa] & T_BARRIER) && (info[sb] & T_BARRIER) ? -1 : straight[ni] * 3 / 2;
            }
            if (ni == goal) {
                if (c < 0 && accept_dest) c = step_cost(map, nx, ny, diagonal, flat, on_boat);
            } else if (c >= 0 && blocked && (info[ni] & T_STOP) && blocked->count(tile_key(nx, ny))) {
                c = -1;  // own sites are a destination only
            }
            if (c < 0) continue;
            const int32_t nd = dist[cur] + c;
            if (nd < dist[ni]) {
                dist[ni] = nd;
                prev[ni] = (int16_t)cur;
                buckets[(nd + estimate(ni)) & 31].push_back((uint16_t)ni);
                ++pending;
            }
        }
    }
    if (!done[goal]) return out;

    for (int at = goal; at != start; at = prev[at]) {
        RouteStep s;
        s.x = at % w;
        s.y = at / w;
        out.push_back(s);
    }
    std::reverse(out.begin(), out.end());
    int px = x0, py = y0;
    int64_t spent = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        RouteStep& s = out[i];
        s.dir = (uint8_t)dir_from_delta(s.x - px, s.y - py);
        const int idx = s.y * w + s.x;
        const int c = dist[idx] - dist[py * w + px];
        spent += c;
        s.within_points = spent <= mp ? 1 : 0;
        s.cost = s.within_points ? c : -c;
        if (i > 0) out[i - 1].next_dir = s.dir;
        px = s.x;
        py = s.y;
    }
    return out;
}

std::vector<RouteMarker> route_markers(const std::vector<RouteStep>& route) {
    std::vector<RouteMarker> m;
    m.reserve(route.size());
    for (size_t i = 0; i < route.size(); ++i) {
        RouteMarker r;
        r.x = route[i].x;
        r.y = route[i].y;
        r.dir = route[i].dir;
        r.next_dir = route[i].next_dir;
        r.reachable = route[i].within_points;
        r.is_destination = i + 1 == route.size() ? 1 : 0;
        m.push_back(r);
    }
    return m;
}

std::vector<RouteMarker> route_markers_gated(const std::vector<RouteStep>& route, bool show_path) {
    if (!show_path) {
        bool beyond = false;
        for (const RouteStep& s : route)
            if (s.cost != 0 && !s.within_points) beyond = true;
        if (!beyond) return {};
    }
    return route_markers(route);
}

}  // namespace vorn1
