#include "world/route.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

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

// What an object type means to the search, as bits, so that a tile's facts take few branches.
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

// A straight step's cost on foot by the ground entered.
const std::array<uint8_t, 256> kGroundCost = [] {
    std::array<uint8_t, 256> out{};
    for (int g = 0; g < 256; ++g) out[(size_t)g] = g >= 40 && g <= 79 ? 6 : g >= 100 && g <= 119 ? 8 : 4;
    return out;
}();

// A tile's facts for one search: the cost of a straight step into it (kNoEntry when no step may end
// there) in the low 16 bits, Side and Halt bits above.
constexpr uint32_t kNoEntry = 0xFFFF;  // added to any cost it reaches kUnreached, so it never improves one
constexpr uint32_t F_SQUEEZE_BLOCK = 1u << 16;  // a diagonal cannot pass two such side tiles
constexpr uint32_t F_ANY_SIDES = 1u << 17;      // the goal taken as a destination: entered whatever its sides
constexpr uint32_t F_STOP = 1u << 18;           // entered but never walked through
constexpr uint32_t F_GUARD_STOP = 1u << 19;     // beside a wandering monster: only the goal may follow

// A tile's search state: its cost from the start, the direction of the step that reached it and
// whether it was expanded.
constexpr uint32_t kUnreached = 0xFFFF;
constexpr int FROM_SHIFT = 16;
constexpr uint32_t kDone = 1u << 19;
// Half the estimate, at most 2 * 71 + 71, in the top byte of a tile's facts.
constexpr int HALF_ESTIMATE_SHIFT = 24;
// The longest route crosses every tile at the dearest step.
static_assert(MAP_MAX_DIM * MAP_MAX_DIM * 12 + 12 < kUnreached);

struct RouteNode {
    uint32_t fact;
    uint32_t state;
};

constexpr int GRID_DIM = MAP_MAX_DIM + 2;
constexpr int GRID_N = GRID_DIM * GRID_DIM;
// A search prepares the tiles' facts in blocks of BLOCK x BLOCK, those around the tiles it expands.
constexpr int BLOCK_SHIFT = 3, BLOCK = 1 << BLOCK_SHIFT;
constexpr int BLOCKS_DIM = (GRID_DIM + BLOCK - 1) / BLOCK;
// Every expansion queues a tile at most once per direction; one entry is written past the last.
constexpr int QUEUE_N = 8 * GRID_N + 2;
constexpr uint32_t kNone = 0xFFFFFFFF;

// A queued tile: grid index, x and y in the low 32 bits, the entry queued before it in its bucket above.
uint64_t queued(int index, int x, int y, uint32_t next) {
    return (uint64_t)index | (uint64_t)x << 16 | (uint64_t)y << 24 | (uint64_t)next << 32;
}

// What a tile's own bytes tell the search, for a hero on foot and for one aboard: F_SQUEEZE_BLOCK,
// F_STOP, kNoEntry in the cost's place when no step may end on the tile, and the ground's straight cost
// from GROUND_COST_SHIFT up.
struct TileFacts {
    uint32_t foot = 0, boat = 0;
};
constexpr int GROUND_COST_SHIFT = 20;

TileFacts tile_facts(const MapTile& t) {
    const uint8_t tf = kTypeFacts[t.object_type];
    const bool water = t.is_water(), open = t.blocking == 0;
    const bool l1 = layer_holds_frame(t.layer1_set, t.layer1_frame);
    const bool trees = l1 && t.layer1_set == SET_TREES;
    const bool mountain2 = layer_holds_frame(t.layer2_set, t.layer2_frame) && t.layer2_set == SET_MOUNTAINS;
    const bool mountains = l1 ? t.layer1_set == SET_MOUNTAINS : mountain2;
    const bool gate = ((tf & TF_ENTERABLE) || (!trees && open)) && !t.occupied();
    const bool foot = gate && !water && !(tf & (mountains ? TF_FOOT_BLOCK_MTN : TF_FOOT_BLOCK));
    bool barrier = (tf & TF_BARRIER) || trees;
    if (!barrier && (water || !open))
        barrier = l1 ? layer_is_barrier(t.layer1_set, t.layer1_frame) : mountain2 && (tf & TF_MTN_BARRIER);
    const uint32_t common = (tf & TF_STOP ? F_STOP : 0) | (uint32_t)kGroundCost[t.ground] << GROUND_COST_SHIFT;
    TileFacts out;
    out.foot = common | (foot ? 0 : kNoEntry) | (barrier ? F_SQUEEZE_BLOCK : 0);
    out.boat = common | (gate && water ? 0 : kNoEntry) | (water && open ? 0 : F_SQUEEZE_BLOCK);
    return out;
}

// Tile facts kept from search to search with the bytes they were worked out from, and used while a
// tile (of whatever map) still holds those bytes: the map's tiles are read anyway, and most of them
// stay as they were between the many searches of a turn.
struct FactMemo {
    std::array<MapTile, GRID_N> bytes;
    std::array<TileFacts, GRID_N> facts;

    FactMemo() {
        bytes.fill(MapTile{});
        facts.fill(tile_facts(MapTile{}));
    }
    TileFacts get(int i, const MapTile& t) {
        if (std::memcmp(&bytes[(size_t)i], &t, sizeof(MapTile)) != 0) {
            bytes[(size_t)i] = t;
            facts[(size_t)i] = tile_facts(t);
        }
        return facts[(size_t)i];
    }
};

struct RouteScratch {
    std::array<RouteNode, GRID_N> nodes{};
    std::array<uint32_t, GRID_N> blocked{};  // number of the search that blocks the tile
    std::array<uint32_t, BLOCKS_DIM * BLOCKS_DIM> prepared{};  // number of the search that prepared the block
    std::array<uint64_t, QUEUE_N> queue;     // the buckets' entries, each bucket a stack through `next`
    FactMemo memo;
    uint32_t search = 0;
};

struct RouteSearch {
    const GameMap& map;
    const FogOfWar* fog;
    RouteScratch& s;
    int stride, start, goal, gx1, gy1;
    bool flat, on_boat, guarded, accept_dest;

    // The step rule's questions about one tile for this search: its own bytes' answers, then the fog,
    // own sites, guards and the goal.
    uint32_t fact(int gi, int gx, int gy) const {
        const int x = gx - 1, y = gy - 1;
        if (x < 0 || y < 0 || x >= map.width || y >= map.height)  // the border: never entered, no water
            return kNoEntry | (on_boat ? F_SQUEEZE_BLOCK : 0);
        const TileFacts tf = s.memo.get(gi, map.tiles[(size_t)y * map.width + x]);
        const uint32_t own = on_boat ? tf.boat : tf.foot;
        const uint32_t straight = on_boat || flat ? 4 : own >> GROUND_COST_SHIFT;
        uint32_t f = own & (F_SQUEEZE_BLOCK | F_STOP);
        uint32_t c = (own & 0xFFFF) == kNoEntry ? kNoEntry : straight;
        if (fog && fog->explored[(size_t)(x + FOG_DIM * y)] == 0) c = kNoEntry;
        if (s.blocked[(size_t)gi] == s.search) {
            f |= F_STOP;
            if (gi != goal) c = kNoEntry;  // own sites are a destination only
        }
        if (guarded && (map.guard_map[(size_t)x * map.height + y] & 0x80)) f |= F_GUARD_STOP;
        if (gi == goal && accept_dest) {
            // A destination taken as it is costs its ground's steps whatever is on it or beside it.
            c = straight;
            f |= F_ANY_SIDES;
        }
        return f | c;
    }
    // The facts of the blocks of tiles around a tile that this search has not asked about yet. Out of
    // line, so that the search loop keeps its values in registers.
    [[gnu::noinline]] void prepare_around(int cx, int cy) const {
        for (int by = (cy - 1) >> BLOCK_SHIFT; by <= (cy + 1) >> BLOCK_SHIFT; ++by)
            for (int bx = (cx - 1) >> BLOCK_SHIFT; bx <= (cx + 1) >> BLOCK_SHIFT; ++bx) {
                uint32_t& mark = s.prepared[(size_t)(by * BLOCKS_DIM + bx)];
                if (mark == s.search) continue;
                mark = s.search;
                const int gx_end = std::min((bx + 1) * BLOCK, map.width + 2);
                const int gy_end = std::min((by + 1) * BLOCK, map.height + 2);
                for (int gy = by * BLOCK; gy < gy_end; ++gy)
                    for (int gx = bx * BLOCK; gx < gx_end; ++gx) prepare(gy * stride + gx, gx, gy);
            }
    }
    bool ready_around(int cx, int cy) const {
        const int bx0 = (cx - 1) >> BLOCK_SHIFT, bx1 = (cx + 1) >> BLOCK_SHIFT;
        const int by0 = (cy - 1) >> BLOCK_SHIFT, by1 = (cy + 1) >> BLOCK_SHIFT;
        const uint32_t* p = s.prepared.data();
        return (p[by0 * BLOCKS_DIM + bx0] == s.search) & (p[by0 * BLOCKS_DIM + bx1] == s.search) &
               (p[by1 * BLOCKS_DIM + bx0] == s.search) & (p[by1 * BLOCKS_DIM + bx1] == s.search);
    }
    void prepare(int i, int gx, int gy) const {
        RouteNode& n = s.nodes[(size_t)i];
        const int ex = std::abs(gx - gx1), ey = std::abs(gy - gy1);
        n.fact = fact(i, gx, gy) | (uint32_t)(2 * std::max(ex, ey) + std::min(ex, ey)) << HALF_ESTIMATE_SHIFT;
        n.state = kUnreached;
    }

    // The cost of a step in direction d into a tile with facts f, kNoEntry or more when the step is not
    // allowed; side holds the facts of the straight neighbours.
    template <int d>
    static uint32_t step_cost_into(uint32_t f, const uint32_t* side) {
        constexpr int dx = DX[d], dy = DY[d];
        if constexpr (dx == 0 || dy == 0) {
            return f & 0xFFFF;
        } else {
            // The two side tiles of a diagonal: the straight neighbours towards its x and its y. The goal
            // taken as a destination passes whatever they are.
            const uint32_t c = f & 0xFFFF;
            const uint32_t shut = side[dx > 0 ? DIR_E : DIR_W] & side[dy > 0 ? DIR_S : DIR_N] & ~(f >> 1) & F_SQUEEZE_BLOCK;
            return (c + (c >> 1)) | (shut >> 16) * kNoEntry;
        }
    }

    // From a guarded tile beside the goal, the step onto the goal alone. Returns the entries queued.
    [[gnu::noinline]] int step_to_goal(int cur, int cx, int cy, uint32_t* bucket_top, uint32_t& used) const {
        if (!ready_around(cx, cy)) prepare_around(cx, cy);
        RouteNode* const nodes = s.nodes.data();
        uint32_t side[8];
        for (int d = 0; d < 8; ++d) side[d] = nodes[cur + DY[d] * stride + DX[d]].fact;
        const int d = dir_from_delta(gx1 - cx, gy1 - cy);
        uint32_t c = side[d] & 0xFFFF;
        switch (d) {
        case DIR_NE: c = step_cost_into<DIR_NE>(side[d], side); break;
        case DIR_SE: c = step_cost_into<DIR_SE>(side[d], side); break;
        case DIR_SW: c = step_cost_into<DIR_SW>(side[d], side); break;
        case DIR_NW: c = step_cost_into<DIR_NW>(side[d], side); break;
        default: break;
        }
        RouteNode& gn = nodes[goal];
        const uint32_t nd = (nodes[cur].state & 0xFFFF) + c;
        if (nd >= (gn.state & 0xFFFF)) return 0;
        gn.state = (uint32_t)d << FROM_SHIFT | nd;
        const uint32_t b = (nd + (gn.fact >> HALF_ESTIMATE_SHIFT) * 2) & 31;
        s.queue[used] = queued(goal, gx1, gy1, bucket_top[b]);
        bucket_top[b] = used++;
        return 1;
    }

    // A* over a bucket queue: every step costs 4..12 and the estimate (4 per step, 2 more per diagonal)
    // never overestimates, so f = cost + estimate only grows, by at most 18 a step; 32 circular buckets
    // suffice. The estimate is consistent, so a tile's cost is final once it is expanded and no later
    // step lowers it. Returns whether the goal was reached.
    bool run(int x0, int y0) const {
        RouteNode* const nodes = s.nodes.data();
        uint64_t* const queue = s.queue.data();
        uint32_t bucket_top[32];  // last entry queued in each bucket
        std::fill(std::begin(bucket_top), std::end(bucket_top), kNone);
        const int sx = x0 + 1, sy = y0 + 1;
        prepare_around(sx, sy);
        nodes[start].state = 0;
        int cf = (int)(nodes[start].fact >> HALF_ESTIMATE_SHIFT) * 2;
        queue[0] = queued(start, sx, sy, kNone);
        bucket_top[cf & 31] = 0;
        uint32_t used = 1;
        int pending = 1;
        while (pending > 0) {
            uint32_t& top = bucket_top[cf & 31];
            if (top == kNone) {
                ++cf;
                continue;
            }
            const uint64_t e = queue[top];
            top = (uint32_t)(e >> 32);
            --pending;
            const int cur = (int)(e & 0xFFFF);
            RouteNode& cn = nodes[cur];
            if (cn.state & kDone) continue;
            cn.state |= kDone;
            if (cur == goal) return true;
            const int cx = (int)(e >> 16 & 0xFF), cy = (int)(e >> 24 & 0xFF);
            // Tiles that a walk stops on are entered but never walked through. From a guarded tile the goal
            // may still follow (a hero beside a monster may attack it).
            if (cur != start && (cn.fact & (F_STOP | F_GUARD_STOP))) {
                if (cn.fact & F_STOP) continue;
                if (std::abs(cx - gx1) > 1 || std::abs(cy - gy1) > 1) continue;
                pending += step_to_goal(cur, cx, cy, bucket_top, used);
                continue;
            }
            if (!ready_around(cx, cy)) prepare_around(cx, cy);
            const uint32_t cdist = cn.state & 0xFFFF;
            const uint32_t here = (uint32_t)(e & 0xFFFFFFFF);  // this tile's index, x and y as queued
            int added = 0;
            // The straight neighbours' facts, which are also the side tiles of the diagonal steps.
            uint32_t side[8];
            auto relax = [&](auto dir) {
                constexpr int d = decltype(dir)::value;
                constexpr int dx = DX[d], dy = DY[d];
                const int ni = cur + dy * stride + dx;
                const uint32_t f = nodes[ni].fact;
                if constexpr (dx == 0 || dy == 0) side[d] = f;
                const uint32_t nd = cdist + step_cost_into<d>(f, side);
                const uint32_t st = nodes[ni].state;
                if (nd < (st & 0xFFFF)) {
                    nodes[ni].state = (uint32_t)d << FROM_SHIFT | nd;
                    const uint32_t b = (nd + (f >> HALF_ESTIMATE_SHIFT) * 2) & 31;
                    // The neighbour's index, x and y: this tile's, each moved by the step.
                    const uint32_t there = here + (uint32_t)(dy * stride + dx) + ((uint32_t)dx << 16) + ((uint32_t)dy << 24);
                    queue[used] = there | (uint64_t)bucket_top[b] << 32;
                    bucket_top[b] = used++;
                    ++added;
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
            pending += added;
        }
        return false;
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
        s.blocked.fill(0);
        s.prepared.fill(0);
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
    const RouteSearch search{map,  fog,     s,       stride,   start, goal, gx1, gy1, flat, on_boat,
                             stop_at_guarded && guard_ok, accept_dest};
    if (!search.run(x0, y0)) return out;

    int gx = gx1, gy = gy1;
    for (int at = goal; at != start;) {
        const uint32_t st = s.nodes[(size_t)at].state;
        RouteStep step;
        step.x = gx - 1;
        step.y = gy - 1;
        step.cost = (int32_t)(st & 0xFFFF);
        step.dir = (uint8_t)(st >> FROM_SHIFT & 7);
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
