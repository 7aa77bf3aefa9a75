#pragma once
// Planned hero routes on the adventure map.
#include <cstdint>
#include <unordered_set>
#include <vector>

namespace vorn1 {

struct GameMap;
struct FogOfWar;

// Facing of a hero or a route step: 0 north, clockwise to 7 north-west.
enum HeroDir : uint8_t { DIR_N = 0, DIR_NE, DIR_E, DIR_SE, DIR_S, DIR_SW, DIR_W, DIR_NW, DIR_NONE = 255 };

// The AI asks for a whole route with this many points.
constexpr int ROUTE_UNLIMITED_MP = 536870911;

struct RouteStep {
    int32_t x = 0, y = 0;        // the tile this step enters
    uint8_t dir = DIR_NONE;      // direction of the step into (x, y)
    uint8_t next_dir = DIR_NONE; // direction of the following step, DIR_NONE on the last
    uint8_t within_points = 0;   // 1 when the points given to find_route pay for this step
    int32_t cost = 0;            // points this step costs; negated beyond the reachable part
};

// One drawn arrow of a route.
struct RouteMarker {
    int32_t x = 0, y = 0;
    uint8_t dir = DIR_NONE;      // arrival direction
    uint8_t next_dir = DIR_NONE; // leaving direction, DIR_NONE at the destination
    uint8_t reachable = 0;       // drawn in the "this turn" colour
    uint8_t is_destination = 0;
};

struct HeroRoute {
    int32_t dest_x = -1, dest_y = -1;
    std::vector<RouteStep> steps;
    std::vector<RouteMarker> markers;
};

// Key of a tile in the blocked sets: x | y << 16.
inline uint32_t tile_key(int x, int y) { return (uint32_t)(x & 0xFFFF) | ((uint32_t)(y & 0xFFFF) << 16); }

// Cheapest route from (x0, y0) to (x1, y1); empty when the goal is off the map, unexplored in the fog
// given, or unreachable. Steps beyond `mp` get within_points 0 and a negative cost.
// flat: the hero walks at flat costs; on_boat: the hero starts aboard a boat.
// accept_dest: the goal tile is accepted even when it is not passable itself.
// blocked: tiles (tile_key) entered but never walked through (own sites). stop_at_guarded: tiles beside a
// wandering monster are entered but never walked through.
std::vector<RouteStep> find_route(const GameMap& map, int x0, int y0, int x1, int y1, int mp, bool flat,
                                  bool on_boat, bool accept_dest, const FogOfWar* fog,
                                  const std::unordered_set<uint32_t>* blocked, bool stop_at_guarded);

// Markers for a route; with show_path clear, none unless some step costs something and lies beyond the points.
std::vector<RouteMarker> route_markers(const std::vector<RouteStep>& route);
std::vector<RouteMarker> route_markers_gated(const std::vector<RouteStep>& route, bool show_path);

// HeroDir of a unit step; -1 when (dx, dy) is not one.
int dir_from_delta(int dx, int dy);
// Unit delta of a HeroDir; (0, 0) outside 0..7.
void delta_from_dir(int dir, int& dx, int& dy);

// Points a step into the destination tile costs on foot (by its ground) or aboard (4 straight, 6 diagonal).
int step_cost(const GameMap& map, int to_x, int to_y, bool diagonal, bool flat, bool on_boat);
// The one step rule shared by route planning, the end-turn check and the computer player: the cost of a
// unit step from (fx, fy) to (tx, ty), or -1 when the step is not allowed (off the map, unexplored in
// `fog`, gated object, wrong element, occupied, diagonal past two barriers).
int hero_step_cost(const GameMap& map, int fx, int fy, int tx, int ty, bool on_boat, bool flat,
                   const FogOfWar* fog = nullptr);
// A tile of a layer (set, frame) is something a diagonal step cannot squeeze past.
bool layer_is_barrier(uint8_t set, uint8_t frame);

}  // namespace vorn1
