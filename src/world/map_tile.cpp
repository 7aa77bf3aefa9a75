#include "world/map.h"
#include "world/route.h"

namespace vorn1 {

uint8_t MapTile::byte_at(int i) const {
    switch (i) {
    case 0: return ground;
    case 1: return layer1_set;
    case 2: return layer1_frame;
    case 3: return layer2_set;
    case 4: return layer2_frame;
    case 5: return flip;
    case 6: return byte6;
    case 7: return blocking;
    case 8: return object_type;
    case 9: return object_detail;
    case 10: return hero_figure;
    case 11: return hero_frame;
    case 12: return hero_on_boat;
    case 13: return flag13;
    case 14: return boat;
    }
    return 0;
}

void MapTile::set_byte(int i, uint8_t v) {
    switch (i) {
    case 0: ground = v; break;
    case 1: layer1_set = v; break;
    case 2: layer1_frame = v; break;
    case 3: layer2_set = v; break;
    case 4: layer2_frame = v; break;
    case 5: flip = v; break;
    case 6: byte6 = v; break;
    case 7: blocking = v; break;
    case 8: object_type = v; break;
    case 9: object_detail = v; break;
    case 10: hero_figure = v; break;
    case 11: hero_frame = v; break;
    case 12: hero_on_boat = v; break;
    case 13: flag13 = v; break;
    case 14: boat = v; break;
    default: break;
    }
}

static bool layer_has_frame(uint8_t set, uint8_t frame) { return set != 0 && set != 255 && frame != 255; }

bool layer_is_barrier(uint8_t set, uint8_t frame) {
    if (!layer_has_frame(set, frame)) return false;
    switch (set) {
    case SET_TREES:
    case SET_MOUNTAINS:
    case 10:
    case 187: return true;
    case 11: return frame < 61 || frame > 68;
    case SET_GRAVEYARD: return frame >= 63 && frame <= 112 && (frame - 63) % 7 == 0;
    default: return false;
    }
}

bool MapTile::is_clear_landing_tile() const {
    return is_land() && blocking == 0 && !occupied() && !layer_is_barrier(layer1_set, layer1_frame) &&
           !layer_is_barrier(layer2_set, layer2_frame);
}

void clear_tile_object(MapTile& t) {
    t.layer1_set = 0;
    t.layer1_frame = 255;
    t.flip = 0;
    t.blocking = 0;
    t.object_type = 0;
    t.object_detail = 0;
}

MapTile* GameMap::tile(int x, int y) {
    if (!in_bounds(x, y) || !has_tiles()) return nullptr;
    return &tiles[(size_t)y * width + x];
}

const MapTile* GameMap::tile(int x, int y) const {
    if (!in_bounds(x, y) || !has_tiles()) return nullptr;
    return &tiles[(size_t)y * width + x];
}

bool GameMap::guarded(int x, int y) const {
    if (!in_bounds(x, y)) return false;
    const int64_t i = (int64_t)x * height + y;
    return i < (int64_t)guard_map.size() && (guard_map[i] & 0x80) != 0;
}

}  // namespace vorn1
