#include "world/route.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr int DX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int DY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

bool layer_holds_frame(uint8_t set, uint8_t frame) { return set != 0 && set != 255 && frame != 255; }

// What an object type means to the step rule, as bits, so that a tile's facts take few branches.
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
        // Without mountains every type of the 30 family blocks; beside mountains only those from 56 on.
        const bool family30 = (type & 0x7F) == 30 || type == 177 || type == 178;
        if (type == 12 || family30) f |= TF_FOOT_BLOCK;
        if (type == 12 || type == 30 || (type >= 52 && type <= 55) || type == 63 || (type >= 56 && family30))
            f |= TF_FOOT_BLOCK_MTN;
        if ((type & 0x7F) == 12) f |= TF_BARRIER;
        if ((type >= 52 && type <= 55) || type == 63) f |= TF_MTN_BARRIER;
        out[(size_t)type] = f;
    }
    return out;
}();

// A straight step's cost on foot by the ground entered (water, 0..19 and 255, too); a diagonal costs half as
// much again.
const std::array<uint8_t, 256> kGroundCost = [] {
    std::array<uint8_t, 256> out{};
    for (int g = 0; g < 256; ++g) out[(size_t)g] = g >= 40 && g <= 79 ? 6 : g >= 100 && g <= 119 ? 8 : 4;
    return out;
}();

// A tile's facts: the cost of a straight step into it in the low 16 bits (kNoEntry when no step may end
// there), flags above.
constexpr uint32_t kNoEntry = 0xFFFF;  // added to any cost it reaches kUnreached, so it never improves one
constexpr uint32_t F_SQUEEZE_BLOCK = 1u << 16;  // a diagonal cannot pass between two such side tiles
constexpr uint32_t F_ANY_SIDES = 1u << 17;      // the goal taken as a destination: entered whatever its sides
constexpr uint32_t F_STOP = 1u << 18;           // entered but never walked through
constexpr uint32_t F_GUARD_STOP = 1u << 19;     // beside a wandering monster: only the goal may follow
constexpr uint32_t F_READY = 1u << 20;          // in a search, the facts of every neighbour are prepared
// In a tile's own facts (where a search keeps half the tile's estimate): the straight step's cost even
// when no step may end on the tile.
constexpr int STRAIGHT_SHIFT = 24;

enum Walker { WALK_FOOT, WALK_FLAT, WALK_BOAT, WALKERS };  // on foot, on foot at flat costs, aboard
Walker walker_of(bool on_boat, bool flat) { return on_boat ? WALK_BOAT : flat ? WALK_FLAT : WALK_FOOT; }

// layer_is_barrier by set and frame, a bit each.
const std::array<uint64_t, 256 * 4> kLayerBarrier = [] {
    std::array<uint64_t, 256 * 4> out{};
    for (int set = 0; set < 256; ++set)
        for (int frame = 0; frame < 256; ++frame)
            if (layer_is_barrier((uint8_t)set, (uint8_t)frame))
                out[(size_t)(set * 4 + frame / 64)] |= 1ull << (frame % 64);
    return out;
}();
bool layer_barrier(uint8_t set, uint8_t frame) {
    return (kLayerBarrier[(size_t)(set * 4 + frame / 64)] >> (frame % 64)) & 1;
}

// What a tile's own bytes tell the step rule, for each kind of walker.
void tile_facts(const MapTile& t, uint32_t& foot_facts, uint32_t& flat_facts, uint32_t& boat_facts) {
    // Bitwise rather than short-circuit operators: a changed map asks this of every tile a search reaches.
    const uint8_t tf = kTypeFacts[t.object_type];
    const bool water = t.is_water(), open = t.blocking == 0;
    const bool l1 = layer_holds_frame(t.layer1_set, t.layer1_frame);
    const bool trees = (t.layer1_set == SET_TREES) & (t.layer1_frame != 255);
    const bool mountain2 = (t.layer2_set == SET_MOUNTAINS) & (t.layer2_frame != 255);
    const bool mountains = l1 ? t.layer1_set == SET_MOUNTAINS : mountain2;
    // The object gate, then the element and the scenery a hero on foot cannot stand on.
    const bool gate = (((tf & TF_ENTERABLE) != 0) | (!trees & open)) & !t.occupied();
    const bool foot = gate & !water & !(tf & (mountains ? TF_FOOT_BLOCK_MTN : TF_FOOT_BLOCK));
    const bool mountain_barrier = !l1 & mountain2 & ((tf & TF_MTN_BARRIER) != 0);
    const bool barrier = ((tf & TF_BARRIER) != 0) | trees |
                         ((water | !open) & (layer_barrier(t.layer1_set, t.layer1_frame) | mountain_barrier));
    const uint32_t stop = tf & TF_STOP ? F_STOP : 0;
    auto facts = [&](bool enter, uint32_t straight, bool squeeze_block) {
        const uint32_t cost = enter ? straight : kNoEntry;
        return stop | (squeeze_block ? F_SQUEEZE_BLOCK : 0) | straight << STRAIGHT_SHIFT | cost;
    };
    foot_facts = facts(foot, kGroundCost[t.ground], barrier);
    flat_facts = facts(foot, 4, barrier);
    boat_facts = facts(gate & water, 4, !(water & open));  // a boat squeezes past open water
}

uint32_t tile_facts(const MapTile& t, Walker walker) {
    uint32_t by_walker[WALKERS];
    tile_facts(t, by_walker[WALK_FOOT], by_walker[WALK_FLAT], by_walker[WALK_BOAT]);
    return by_walker[walker];
}

// Off the map: never entered, no barrier and no water.
uint32_t off_map_facts(bool on_boat) { return kNoEntry | (on_boat ? F_SQUEEZE_BLOCK : 0); }

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
    const int straight = on_boat || flat || !t ? 4 : kGroundCost[t->ground];
    return diagonal ? straight + straight / 2 : straight;
}

int hero_step_cost(const GameMap& map, int fx, int fy, int tx, int ty, bool on_boat, bool flat, const FogOfWar* fog) {
    const int dx = tx - fx, dy = ty - fy;
    if (std::abs(dx) > 1 || std::abs(dy) > 1 || (dx == 0 && dy == 0)) return -1;
    const MapTile* t = map.tile(tx, ty);
    if (!t) return -1;
    if (fog && !fog->is_explored(tx, ty)) return -1;
    const Walker w = walker_of(on_boat, flat);
    const int c = (int)(tile_facts(*t, w) & 0xFFFF);
    if (c == (int)kNoEntry) return -1;
    if (dx == 0 || dy == 0) return c;
    auto side = [&](int x, int y) {
        const MapTile* st = map.tile(x, y);
        return st ? tile_facts(*st, w) : off_map_facts(on_boat);
    };
    return side(tx, fy) & side(fx, ty) & F_SQUEEZE_BLOCK ? -1 : c + c / 2;
}

namespace {

// A tile's search state: its cost from the start, the direction of the step that reached it and
// whether it was expanded.
constexpr uint32_t kUnreached = 0xFFFF;
constexpr int FROM_SHIFT = 16;
constexpr uint32_t kDone = 1u << 19;
// In a tile's facts for a search, half its estimate (at most 2 * 71 + 71) in the top byte.
constexpr int HALF_ESTIMATE_SHIFT = 24;
// The longest route crosses every tile at the dearest step.
static_assert(MAP_MAX_DIM * MAP_MAX_DIM * 12 + 12 < kUnreached);
static_assert(F_ANY_SIDES == F_SQUEEZE_BLOCK << 1);

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

// Tile facts kept from search to search with the bytes they were worked out from, and used while a
// tile (of whatever map) still holds those bytes: the map's tiles are read anyway, and most of them
// stay as they were between the many searches of a turn.
struct FactMemo {
    std::array<MapTile, GRID_N> bytes;
    std::array<std::array<uint32_t, GRID_N>, WALKERS> facts;  // by walker, so a search reads only its own

    FactMemo() {
        bytes.fill(MapTile{});
        for (int w = 0; w < WALKERS; ++w) facts[(size_t)w].fill(tile_facts(MapTile{}, (Walker)w));
    }
    uint32_t get(int i, const MapTile& t, Walker walker) {
        if (std::memcmp(&bytes[(size_t)i], &t, sizeof(MapTile)) != 0) {
            bytes[(size_t)i] = t;
            tile_facts(t, facts[WALK_FOOT][(size_t)i], facts[WALK_FLAT][(size_t)i], facts[WALK_BOAT][(size_t)i]);
        }
        return facts[(size_t)walker][(size_t)i];
    }
    // Whether n tiles in a row, from entry i on, still hold the bytes their facts came from.
    bool holds(int i, const MapTile* t, int n) const {
        return std::memcmp(&bytes[(size_t)i], t, (size_t)n * sizeof(MapTile)) == 0;
    }
    uint32_t known(int i, Walker walker) const { return facts[(size_t)walker][(size_t)i]; }
};

struct RouteScratch {
    std::array<RouteNode, GRID_N> nodes{};
    std::array<uint32_t, BLOCKS_DIM * BLOCKS_DIM> prepared{};  // number of the search that prepared the block
    std::array<uint64_t, QUEUE_N> queue;     // the buckets' entries, each bucket a stack through `next`
    FactMemo memo;
    std::vector<std::pair<int, int>> own_sites;  // grid x and y of this search's blocked tiles
    uint32_t search = 0;
};

struct RouteSearch {
    const GameMap& map;
    const FogOfWar* fog;
    RouteScratch& s;
    int stride, start, goal, gx1, gy1;
    bool flat, on_boat, guarded, accept_dest;

    // The facts of the blocks of tiles around a tile that this search has not asked about yet. Out of
    // line, so that the search loop keeps its values in registers.
    [[gnu::noinline]] void prepare_around(int cx, int cy) const {
        for (int by = (cy - 1) >> BLOCK_SHIFT; by <= (cy + 1) >> BLOCK_SHIFT; ++by)
            for (int bx = (cx - 1) >> BLOCK_SHIFT; bx <= (cx + 1) >> BLOCK_SHIFT; ++bx) {
                uint32_t& mark = s.prepared[(size_t)(by * BLOCKS_DIM + bx)];
                if (mark == s.search) continue;
                mark = s.search;
                prepare_block(bx * BLOCK, std::min((bx + 1) * BLOCK, map.width + 2), by * BLOCK,
                              std::min((by + 1) * BLOCK, map.height + 2));
            }
    }
    bool ready_around(int cx, int cy) const {
        const int bx0 = (cx - 1) >> BLOCK_SHIFT, bx1 = (cx + 1) >> BLOCK_SHIFT;
        const int by0 = (cy - 1) >> BLOCK_SHIFT, by1 = (cy + 1) >> BLOCK_SHIFT;
        const uint32_t* p = s.prepared.data();
        return (p[by0 * BLOCKS_DIM + bx0] == s.search) & (p[by0 * BLOCKS_DIM + bx1] == s.search) &
               (p[by1 * BLOCKS_DIM + bx0] == s.search) & (p[by1 * BLOCKS_DIM + bx1] == s.search);
    }

    // Half of 4 per step and 2 more per diagonal to a tile dx, dy away from the goal: max + (dx + dy),
    // without a branch.
    static uint32_t half_estimate(int dx, int dy) { return (uint32_t)(3 * (dx + dy) + std::abs(dx - dy)) / 2; }

    // The step rule's answers for the grid tiles [gx0, gx_end) x [gy0, gy_end) in this search: each
    // tile's own bytes', then the fog, own sites, guards and the goal; and half the estimate.
    void prepare_block(int gx0, int gx_end, int gy0, int gy_end) const {
        const Walker walker = walker_of(on_boat, flat);
        const RouteNode border{off_map_facts(on_boat), kUnreached};
        for (int gy = gy0; gy < gy_end; ++gy) {
            RouteNode* const row = &s.nodes[(size_t)(gy * stride)];
            const int y = gy - 1, ey = std::abs(gy - gy1);
            if (y < 0 || y >= map.height) {
                std::fill(row + gx0, row + gx_end, border);
                continue;
            }
            const MapTile* const tiles = map.tiles.data() + (size_t)y * map.width;
            auto prepare_tile = [&](int gx, uint32_t own) {
                uint32_t f = own & (F_SQUEEZE_BLOCK | F_STOP | 0xFFFF);
                if (fog && fog->explored[(size_t)(gx - 1 + FOG_DIM * y)] == 0) f |= kNoEntry;
                if (guarded && (map.guard_map[(size_t)((gx - 1) * map.height + y)] & 0x80)) f |= F_GUARD_STOP;
                row[gx] = RouteNode{f | half_estimate(std::abs(gx - gx1), ey) << HALF_ESTIMATE_SHIFT, kUnreached};
            };
            const int i0 = gy * stride;
            if (gx0 >= 1 && gx_end == gx0 + BLOCK && gx_end <= map.width + 1) {
                // A whole row of the map, most often as the previous search saw it: unrolled.
                if (s.memo.holds(i0 + gx0, tiles + gx0 - 1, BLOCK)) {
                    for (int gx = gx0; gx < gx_end; ++gx) prepare_tile(gx, s.memo.known(i0 + gx, walker));
                } else {
                    for (int gx = gx0; gx < gx_end; ++gx) prepare_tile(gx, s.memo.get(i0 + gx, tiles[gx - 1], walker));
                }
                // The block holds the neighbours of the tiles inside its edge.
                if (gy > gy0 && gy < gy0 + BLOCK - 1)
                    for (int gx = gx0 + 1; gx < gx_end - 1; ++gx) row[gx].fact |= F_READY;
                continue;
            }
            for (int gx = gx0; gx < gx_end; ++gx) {
                if (gx < 1 || gx > map.width) row[gx] = border;
                else prepare_tile(gx, s.memo.get(i0 + gx, tiles[gx - 1], walker));
            }
        }
        auto inside = [&](int gx, int gy) { return gx >= gx0 && gx < gx_end && gy >= gy0 && gy < gy_end; };
        bool goal_is_own_site = false;
        for (const auto& [gx, gy] : s.own_sites)
            if (inside(gx, gy)) {
                s.nodes[(size_t)(gy * stride + gx)].fact |= F_STOP | kNoEntry;  // a destination only
                goal_is_own_site |= gx == gx1 && gy == gy1;
            }
        if (inside(gx1, gy1) && (accept_dest || goal_is_own_site)) {
            // The goal may be an own site; and a destination taken as it is costs its ground's steps
            // whatever is on it or beside it.
            const uint32_t own = s.memo.get(goal, map.tiles[(size_t)((gy1 - 1) * map.width + gx1 - 1)], walker);
            uint32_t& f = s.nodes[(size_t)goal].fact;
            f = (f & ~0xFFFFu) | (accept_dest ? F_ANY_SIDES | own >> STRAIGHT_SHIFT : own & 0xFFFF);
        }
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
            const uint32_t sides = side[dx > 0 ? DIR_E : DIR_W] & side[dy > 0 ? DIR_S : DIR_N];
            const uint32_t shut = sides & ~(f >> 1) & F_SQUEEZE_BLOCK;  // F_ANY_SIDES is the next bit up
            return (c + (c >> 1)) | (shut >> 16) * kNoEntry;
        }
    }

    // From a guarded tile beside the goal, the step onto the goal alone, queued as entry `entry`. Returns
    // whether it was queued.
    [[gnu::noinline]] bool step_to_goal(int cur, int cx, int cy, uint32_t* bucket_top, uint32_t entry) const {
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
        if (nd >= (gn.state & 0xFFFF)) return false;
        gn.state = (uint32_t)d << FROM_SHIFT | nd;
        const uint32_t b = (nd + (gn.fact >> HALF_ESTIMATE_SHIFT) * 2) & 31;
        s.queue[entry] = queued(goal, gx1, gy1, bucket_top[b]);
        bucket_top[b] = entry;
        return true;
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
                if (step_to_goal(cur, cx, cy, bucket_top, used)) {
                    ++used;
                    ++pending;
                }
                continue;
            }
            if (!(cn.fact & F_READY) && !ready_around(cx, cy)) prepare_around(cx, cy);
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
                    const uint32_t there =
                        here + (uint32_t)(dy * stride + dx) + ((uint32_t)dx << 16) + ((uint32_t)dy << 24);
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
    // On the heap, so that threads that never plan a route do not carry it.
    thread_local std::unique_ptr<RouteScratch> scratch;
    if (!scratch) scratch = std::make_unique<RouteScratch>();
    RouteScratch& s = *scratch;
    if (++s.search == 0) {
        s.prepared.fill(0);
        s.search = 1;
    }
    s.own_sites.clear();
    if (blocked)
        for (uint32_t key : *blocked) {
            const int bx = (int)(key & 0xFFFF), by = (int)(key >> 16);
            if (map.in_bounds(bx, by)) s.own_sites.emplace_back(bx + 1, by + 1);
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
