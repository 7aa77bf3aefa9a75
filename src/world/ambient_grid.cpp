#include "world/ambient_grid.h"

#include <algorithm>

namespace vorn1 {

namespace {

uint8_t site_loop(uint8_t type) {
    switch (type) {
    case OBJ_MINE: return AMB_MINE;
    case OBJ_MILL: return AMB_MILL;
    case OBJ_CAMPFIRE: return AMB_CAMPFIRE;
    case OBJ_FOUNTAIN: return AMB_FOUNTAIN;
    case OBJ_OASIS: return AMB_OASIS;
    case OBJ_LIGHTHOUSE: return AMB_LIGHTHOUSE;
    case OBJ_BUOY: return AMB_BUOY;
    case OBJ_SHIPWRECK: return AMB_SHIPWRECK;
    case OBJ_GRAVEYARD: return AMB_GRAVEYARD;
    case OBJ_DRAGON_CITY: return AMB_DRAGON_CITY;
    case OBJ_FAERIE_RING: return AMB_FAERIE_RING;
    case OBJ_SHRINE: return AMB_SHRINE;
    case OBJ_DWELLING: return AMB_DWELLING;
    case OBJ_TRADING_POST: return AMB_TRADING_POST;
    case OBJ_THIEVES_DEN: return AMB_THIEVES_DEN;
    case OBJ_ANGEL_STATUE: return AMB_ANGEL_STATUE;
    case OBJ_PORTAL: return AMB_PORTAL;
    case OBJ_OBELISK: return AMB_OBELISK;
    default: return AMB_NONE;
    }
}

bool beside_land(const GameMap& map, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const MapTile* t = map.tile(x + dx, y + dy);
            if (t && t->is_land()) return true;
        }
    return false;
}

uint8_t ground_loop(const GameMap& map, int x, int y, uint8_t ground) {
    if (ground >= 80 && ground <= 99) return AMB_LAVA;
    if (ground >= 60 && ground <= 79) return AMB_SWAMP;
    if (map.tile(x, y)->is_water() && beside_land(map, x, y)) return AMB_SHORE;
    return AMB_NONE;
}

}  // namespace

void build_ambient_grid(GameMap& map) {
    map.ambient.assign((size_t)MAP_MAX_DIM * MAP_MAX_DIM, AMB_NONE);
    if (!map.has_tiles()) return;
    const int w = std::min(map.width, MAP_MAX_DIM), h = std::min(map.height, MAP_MAX_DIM);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const MapTile& t = *map.tile(x, y);
            const uint8_t site = site_loop(t.object_type);
            map.ambient[(size_t)y * MAP_MAX_DIM + x] = site != AMB_NONE ? site : ground_loop(map, x, y, t.ground);
        }
}

}  // namespace vorn1
