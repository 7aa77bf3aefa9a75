#include "world/route.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr int DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int DY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

bool layer_holds_frame(uint8_t set, uint8_t frame) { return set != 0 && set != 255 && frame != 255; }

// A tile beside a diagonal step that the step cannot squeeze past.
bool tile_is_barrier(const MapTile& t) {
    if ((t.object_type & 0x7F) == 12) return true;
    if (layer_holds_frame(t.layer1_set, t.layer1_frame) && t.layer1_set == SET_TREES) return true;
    if (t.is_land() && t.blocking == 0) return false;
    if (layer_holds_frame(t.layer1_set, t.layer1_frame)) return layer_is_barrier(t.layer1_set, t.layer1_frame);
    const bool mountain2 = layer_holds_frame(t.layer2_set, t.layer2_frame) && t.layer2_set == SET_MOUNTAINS;
    return mountain2 && ((t.object_type >= 52 && t.object_type <= 55) || t.object_type == 63);
}

bool side_is_barrier(const GameMap& map, int x, int y) {
    const MapTile* t = map.tile(x, y);
    return t && tile_is_barrier(*t);
}

// is_enterable_object_type as a table: the search asks it for every tile it reaches.
const std::array<bool, 256> kEnterable = [] {
    std::array<bool, 256> out{};
    for (int i = 0; i < 256; ++i) out[(size_t)i] = is_enterable_object_type((uint8_t)i);
    return out;
}();

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
    if (kEnterable[t.object_type]) return true;
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

namespace {

// Search record of one tile of the bordered grid, valid only for the search whose number it carries: a
// search prepares just the tiles it reaches rather than the whole map.
struct RouteNode {
    uint16_t search = 0;
    uint16_t dist = 0;     // cost from the start; kUnreached until a step reaches the tile
    uint8_t info = 0;      // RouteInfo bits
    uint8_t straight = 0;  // a straight step's cost into the tile
    uint8_t from = 0;      // kDone and the direction of the step that reached the tile
};

// T_ENTER: a step may end on the tile (for the goal taken as a destination, whatever the side tiles).
enum RouteInfo : uint8_t {
    T_ENTER = 1, T_BARRIER = 2, T_STOP = 4, T_GUARD_STOP = 8, T_SIDE_WATER = 16, T_ANY_SIDES = 32
};
constexpr uint8_t kDone = 0x80;
constexpr uint16_t kUnreached = 0xFFFF;

constexpr int GRID_DIM = MAP_MAX_DIM + 2;
constexpr int GRID_N = GRID_DIM * GRID_DIM;
// The longest route crosses every tile at the dearest step.
static_assert(MAP_MAX_DIM * MAP_MAX_DIM * 12 + 12 < kUnreached);

// What an object type means to the search, as bits, so that preparing a tile takes few branches.
enum TypeFact : uint8_t {
    TF_ENTERABLE = 1,       // the object gate lets a hero in whatever the tile's other bytes
    TF_STOP = 2,            // an event object: entered but never walked through
    TF_FOOT_BLOCK = 4,      // no footing without mountains in the object layers
    TF_FOOT_BLOCK_MTN = 8,  // no footing beside mountains
    TF_BARRIER = 16,        // a diagonal cannot squeeze past it
    TF_MTN_BARRIER = 32,    // a barrier when the second layer holds mountains
};
const std::array<uint8_t, 256> kTypeFacts = [] {
    std::array<uint8_t, 256> out{};
    for (int type = 0; type < 256; ++type) {
        uint8_t f = 0;
        const bool enterable = is_enterable_object_type((uint8_t)type);
        if (enterable) f |= TF_ENTERABLE;
        if (enterable && type >= OBJ_EVENT_FIRST) f |= TF_STOP;
        const bool low30 = (type & 0x7F) == 30 || type == 177 || type == 178;
        if (type == 12 || low30) f |= TF_FOOT_BLOCK;
        if (type == 12 || type == 30 || (type >= 52 && type <= 55) || type == 63 || (type >= 56 && low30))
            f |= TF_FOOT_BLOCK_MTN;
        if ((type & 0x7F) == 12) f |= TF_BARRIER;
        if ((type >= 52 && type <= 55) || type == 63) f |= TF_MTN_BARRIER;
        out[(size_t)type] = f;
    }
    return out;
}();

// A queued tile: its grid index and coordinates, and the entry queued before it in its bucket.
struct QueuedTile {
    uint16_t index;
    uint8_t x, y;
    int32_t next;
};

// Every expansion queues a tile at most once per direction.
constexpr int QUEUE_N = 8 * GRID_N + 1;

struct RouteScratch {
    std::array<RouteNode, GRID_N> nodes{};
    std::array<uint16_t, GRID_N> blocked{};  // number of the search that blocks the tile
    std::array<QueuedTile, QUEUE_N> queue;   // the buckets' entries, each bucket a stack through `next`
    uint16_t search = 0;
};

// The questions of the step rule about one tile, asked once per search and only for tiles it reaches.
struct RouteQuery {
    const GameMap& map;
    const FogOfWar* fog;
    RouteScratch& s;
    int stride, goal;
    bool flat, on_boat, guarded, accept_dest;

    void prepare(RouteNode& n, int gi, int gx, int gy) const {
        n.search = s.search;
        n.dist = kUnreached;
        n.from = 0;
        n.info = 0;
        n.straight = 0;
        const int x = gx - 1, y = gy - 1;
        if (x < 0 || y < 0 || x >= map.width || y >= map.height) return;  // the border: never entered
        const MapTile& t = map.tiles[(size_t)y * map.width + x];
        const uint8_t tf = kTypeFacts[t.object_type];
        const bool water = t.is_water();
        const bool l1 = layer_holds_frame(t.layer1_set, t.layer1_frame);
        const bool trees = l1 && t.layer1_set == SET_TREES;
        const bool mountain2 = layer_holds_frame(t.layer2_set, t.layer2_frame) && t.layer2_set == SET_MOUNTAINS;
        const bool mountains = l1 ? t.layer1_set == SET_MOUNTAINS : mountain2;
        bool enter = ((tf & TF_ENTERABLE) || (!trees && t.blocking == 0)) && !t.occupied();
        uint8_t f = 0;
        if (on_boat) {
            enter = enter && water;
            if (water && t.blocking == 0) f |= T_SIDE_WATER;
        } else {
            enter = enter && !water && !(tf & (mountains ? TF_FOOT_BLOCK_MTN : TF_FOOT_BLOCK));
            bool barrier;
            if ((tf & TF_BARRIER) || trees) barrier = true;
            else if (!water && t.blocking == 0) barrier = false;
            else if (l1) barrier = layer_is_barrier(t.layer1_set, t.layer1_frame);
            else barrier = mountain2 && (tf & TF_MTN_BARRIER);
            if (barrier) f |= T_BARRIER;
        }
        const bool own_site = s.blocked[(size_t)gi] == s.search;
        if ((tf & TF_STOP) || own_site) f |= T_STOP;
        if (guarded && (map.guard_map[(size_t)x * map.height + y] & 0x80)) f |= T_GUARD_STOP;
        if (gi == goal) {
            // A destination taken as it is costs its ground's steps whatever is on it or beside it.
            if (accept_dest) f |= T_ENTER | T_ANY_SIDES;
        } else if (own_site) {
            enter = false;  // own sites are a destination only
        }
        if (enter && (!fog || fog->explored[(size_t)(x + FOG_DIM * y)] != 0)) f |= T_ENTER;
        n.info = f;
        n.straight = (uint8_t)(on_boat || flat || water ? 4 : (t.ground >= 40 && t.ground <= 79) ? 6
                                                        : (t.ground >= 100 && t.ground <= 119) ? 8 : 4);
    }
    RouteNode& at(int i, int gx, int gy) const {
        RouteNode& n = s.nodes[(size_t)i];
        if (n.search != s.search) prepare(n, i, gx, gy);
        return n;
    }
};

}  // namespace

std::vector<RouteStep> find_route(const GameMap& map, int x0, int y0, int x1, int y1, int mp, bool flat, bool on_boat,
                                  bool accept_dest, const FogOfWar* fog, const std::unordered_set<uint32_t>* blocked,
                                  bool stop_at_guarded) {
    std::vector<RouteStep> out;
    if (!map.has_tiles() || !map.in_bounds(x0, y0) || !map.in_bounds(x1, y1)) return out;
    if (x0 == x1 && y0 == y1) return out;
    if (fog && !fog->is_explored(x1, y1)) return out;
    if (map.width > MAP_MAX_DIM || map.height > MAP_MAX_DIM) return out;

    // The map with a one-tile border, so that a neighbour is an index offset without bounds checks.
    const int stride = map.width + 2;
    thread_local RouteScratch scratch;
    RouteScratch& s = scratch;
    if (++s.search == 0) {
        s.nodes.fill(RouteNode{});
        s.blocked.fill(0);
        s.search = 1;
    }
    if (blocked)
        for (uint32_t key : *blocked) {
            const int bx = (int)(key & 0xFFFF), by = (int)(key >> 16);
            if (map.in_bounds(bx, by)) s.blocked[(size_t)((by + 1) * stride + bx + 1)] = s.search;
        }
    const bool guard_ok = (int64_t)map.guard_map.size() == (int64_t)map.width * map.height;
    const int gx1 = x1 + 1, gy1 = y1 + 1;
    const int start = (y0 + 1) * stride + x0 + 1, goal = gy1 * stride + gx1;
    const RouteQuery q{map, fog, s, stride, goal, flat, on_boat, stop_at_guarded && guard_ok, accept_dest};

    // A* over a bucket queue: every step costs 4..12 and the estimate (4 per step, 2 more per diagonal) never
    // overestimates, so f = cost + estimate only grows, by at most 18 a step; 32 circular buckets suffice.
    // The estimate is consistent, so a tile's cost is final once it is expanded and no later step can
    // lower it.
    auto estimate = [&](int gx, int gy) {
        const int dx = std::abs(gx - gx1), dy = std::abs(gy - gy1);
        return 4 * std::max(dx, dy) + 2 * std::min(dx, dy);
    };
    std::array<int32_t, 32> bucket_top;  // last entry queued in each bucket, -1 when empty
    bucket_top.fill(-1);
    int32_t used = 0;
    auto push = [&](int f, int i, int x, int y) {
        s.queue[(size_t)used] = QueuedTile{(uint16_t)i, (uint8_t)x, (uint8_t)y, bucket_top[(size_t)(f & 31)]};
        bucket_top[(size_t)(f & 31)] = used++;
    };
    q.at(start, x0 + 1, y0 + 1).dist = 0;
    int32_t cf = estimate(x0 + 1, y0 + 1);
    push(cf, start, x0 + 1, y0 + 1);
    int pending = 1;
    while (pending > 0) {
        int32_t& top = bucket_top[(size_t)(cf & 31)];
        if (top < 0) {
            ++cf;
            continue;
        }
        const QueuedTile qt = s.queue[(size_t)top];
        top = qt.next;
        --pending;
        const int cur = qt.index;
        RouteNode& cn = s.nodes[(size_t)cur];
        if (cn.from & kDone) continue;
        cn.from |= kDone;
        if (cur == goal) break;
        const int cx = qt.x, cy = qt.y;
        const int cdist = cn.dist;
        // Tiles that a walk stops on are entered but never walked through. From a guarded tile the goal
        // may still follow (a hero beside a monster may attack it).
        bool stop = false;
        if (cur != start) {
            if (cn.info & T_STOP) continue;
            stop = (cn.info & T_GUARD_STOP) != 0;
            if (stop && (std::abs(cx - gx1) > 1 || std::abs(cy - gy1) > 1)) continue;
        }
        // The straight neighbours' facts, which are also the side tiles of the diagonal steps.
        uint8_t side[8] = {};
        auto relax = [&](auto dir) {
            constexpr int d = decltype(dir)::value;
            constexpr int dx = DX[d], dy = DY[d];
            constexpr bool diagonal = dx != 0 && dy != 0;
            const int ni = cur + dy * stride + dx, nx = cx + dx, ny = cy + dy;
            RouteNode& nn = q.at(ni, nx, ny);
            const uint8_t info = nn.info;
            if constexpr (!diagonal) side[d] = info;
            if (!(info & T_ENTER) || (stop && ni != goal)) return;
            int c = nn.straight;
            if constexpr (diagonal) {
                // The two side tiles of a diagonal: the straight neighbours towards its x and its y.
                const uint8_t sa = side[dx > 0 ? DIR_E : DIR_W], sb = side[dy > 0 ? DIR_S : DIR_N];
                const bool squeezes = on_boat ? ((sa | sb) & T_SIDE_WATER) != 0 : !(sa & sb & T_BARRIER);
                if (!squeezes && !(info & T_ANY_SIDES)) return;
                c += c >> 1;
            }
            // An expanded tile's cost is final, so it is never lowered here.
            const int nd = cdist + c;
            if (nd < nn.dist) {
                nn.dist = (uint16_t)nd;
                nn.from = (uint8_t)d;
                push(nd + estimate(nx, ny), ni, nx, ny);
                ++pending;
            }
        };
        // Straight steps first, so that equal-cost routes prefer them.
        relax(std::integral_constant<int, DIR_N>{});
        relax(std::integral_constant<int, DIR_E>{});
        relax(std::integral_constant<int, DIR_S>{});
        relax(std::integral_constant<int, DIR_W>{});
        relax(std::integral_constant<int, DIR_NE>{});
        relax(std::integral_constant<int, DIR_SE>{});
        relax(std::integral_constant<int, DIR_SW>{});
        relax(std::integral_constant<int, DIR_NW>{});
    }
    const RouteNode& gn = s.nodes[(size_t)goal];
    if (gn.search != s.search || !(gn.from & kDone)) return out;

    int gx = gx1, gy = gy1;
    for (int at = goal; at != start;) {
        const RouteNode& n = s.nodes[(size_t)at];
        RouteStep step;
        step.x = gx - 1;
        step.y = gy - 1;
        step.cost = n.dist;
        step.dir = (uint8_t)(n.from & 7);
        out.push_back(step);
        gx -= DX[step.dir];
        gy -= DY[step.dir];
        at = gy * stride + gx;
    }
    std::reverse(out.begin(), out.end());
    int32_t before = 0;
    int64_t spent = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        RouteStep& st = out[i];
        const int c = st.cost - before;
        before = st.cost;
        spent += c;
        st.within_points = spent <= mp ? 1 : 0;
        st.cost = st.within_points ? c : -c;
        if (i > 0) out[i - 1].next_dir = st.dir;
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
