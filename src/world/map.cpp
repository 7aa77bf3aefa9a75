#include "world/map.h"

#include <cstring>
#include <fstream>
#include <stdexcept>

namespace vorn1 {

bool is_enterable_object_type(uint8_t t) {
    if (t >= 129 && t <= 145) return true;
    switch (t) {
    case 150: case 151: case 152: case 153: case 154: case 155: case 156: case 157: case 160: case 161:
    case 162: case 163: case 164: case 167: case 168: case 169: case 170: case 172: case 173: case 176:
    case 189: case 190: case 192: case 193: case 195: case 196: case 197: case 198:
        return true;
    default:
        return false;
    }
}

static std::string fixed_text(const uint8_t* p, int max_len) {
    int n = 0;
    while (n < max_len && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

bool read_map_header(const uint8_t* data, uint64_t size, MapHeaderInfo& out) {
    if (!data || size < (uint64_t)MAP_HEADER_SIZE) return false;
    out.difficulty = data[MAP_OFS_DIFFICULTY];
    out.size_class = data[MAP_OFS_SIZE];
    out.name = fixed_text(data + MAP_OFS_NAME, 15);
    out.description = fixed_text(data + MAP_OFS_DESCRIPTION, 120);
    return true;
}

namespace {

struct MapMessages {
    const char* cannot_open;
    const char* too_small;
};
const MapMessages MAP_TEXTS{"Cannot open: ", "MAP file too small to contain tile block"};
const MapMessages CMP_TEXTS{"Cannot open CMP: ", "CMP file too small to contain tile block"};

GameMap parse_map(const uint8_t* data, uint64_t size, const std::string& path, const MapMessages& texts) {
    MapHeaderInfo hdr;
    if (!read_map_header(data, size, hdr)) throw std::runtime_error(texts.too_small);
    GameMap map;
    map.difficulty = hdr.difficulty;
    map.size_class = hdr.size_class;
    map.name = hdr.name;
    map.description = hdr.description;
    int w = data[MAP_OFS_WIDTH], h = data[MAP_OFS_HEIGHT];
    if (w == 0) w = MAP_MAX_DIM;
    if (h == 0) h = MAP_MAX_DIM;
    if (w > MAP_MAX_DIM || h > MAP_MAX_DIM) throw std::runtime_error("Read failed: " + path);
    map.width = w;
    map.height = h;
    map.victory_kind = data[MAP_OFS_VICTORY] <= 7 ? data[MAP_OFS_VICTORY] : 0;
    const uint8_t vx = data[MAP_OFS_VICTORY + 1], vy = data[MAP_OFS_VICTORY + 2];
    if (vx < w && vy < h) {
        map.victory_x = vx;
        map.victory_y = vy;
    }

    const uint64_t tile_bytes = (uint64_t)w * h * MAP_TILE_BYTES;
    if (size - MAP_HEADER_SIZE < tile_bytes) throw std::runtime_error(texts.too_small);
    map.tiles.resize((size_t)w * h);
    const uint8_t* p = data + MAP_HEADER_SIZE;
    for (MapTile& t : map.tiles) {
        for (int i = 0; i < MAP_TILE_BYTES; ++i) t.set_byte(i, p[i]);
        t.hero_on_boat = t.hero_on_boat ? 1 : 0;
        t.flag13 = t.flag13 ? 1 : 0;
        p += MAP_TILE_BYTES;
    }

    // The object list is optional: a file may end right after the tiles.
    uint64_t left = size - MAP_HEADER_SIZE - tile_bytes;
    if (left == 0) return map;
    if (left < 2) throw std::runtime_error("Read failed: " + path);
    const int count = p[0] | (p[1] << 8);
    p += 2;
    left -= 2;
    if (count > MAP_MAX_OBJECTS || (uint64_t)count * MAP_OBJECT_BYTES > left)
        throw std::runtime_error("Read failed: " + path);
    map.objects.reserve(count);
    for (int i = 0; i < count; ++i, p += MAP_OBJECT_BYTES) {
        MapObject o;
        o.kind = p[0];
        o.x = p[1];
        o.y = p[2];
        o.owner = p[3] < 4 ? p[3] : -1;
        o.a = p[4];
        o.b = p[5];
        o.value = (uint16_t)(p[6] | (p[7] << 8));
        o.name = fixed_text(p + 8, 15);
        // Records of unknown kinds or off the map are skipped, not fatal.
        if (o.kind == 0 || o.kind >= MOBJ_KIND_COUNT || !map.in_bounds(o.x, o.y)) continue;
        map.objects.push_back(std::move(o));
    }
    return map;
}

std::vector<uint8_t> read_whole_file(const std::string& path, const char* cannot_open) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw std::runtime_error(cannot_open + path);
    f.seekg(0, std::ios::end);
    const std::streamoff len = f.tellg();
    if (len < 0) throw std::runtime_error("Read failed: " + path);
    // A map is at most header + 72 x 72 tiles + the object list; anything far larger is not a map.
    const std::streamoff cap = MAP_HEADER_SIZE + (std::streamoff)MAP_MAX_DIM * MAP_MAX_DIM * MAP_TILE_BYTES + 2 +
                               (std::streamoff)MAP_MAX_OBJECTS * MAP_OBJECT_BYTES + (1 << 20);
    const std::streamoff want = len < cap ? len : cap;
    f.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes((size_t)want);
    if (want > 0 && !f.read(reinterpret_cast<char*>(bytes.data()), want)) throw std::runtime_error("Read failed: " + path);
    return bytes;
}

}  // namespace

GameMap load_map(const std::string& path) {
    std::vector<uint8_t> bytes = read_whole_file(path, MAP_TEXTS.cannot_open);
    return parse_map(bytes.data(), bytes.size(), path, MAP_TEXTS);
}

GameMap load_cmp(const std::string& path) {
    std::vector<uint8_t> bytes = read_whole_file(path, CMP_TEXTS.cannot_open);
    return parse_map(bytes.data(), bytes.size(), path, CMP_TEXTS);
}

GameMap load_map_bytes(const std::vector<uint8_t>& bytes, const std::string& name) {
    return parse_map(bytes.data(), bytes.size(), name, MAP_TEXTS);
}

GameMap load_cmp_bytes(const std::vector<uint8_t>& bytes, const std::string& name) {
    return parse_map(bytes.data(), bytes.size(), name, CMP_TEXTS);
}

GameMap make_empty_map() {
    GameMap map;
    map.name = "EMPTY";
    map.tiles.assign((size_t)map.width * map.height, MapTile{});
    for (MapTile& t : map.tiles) {
        t.ground = 20;
        t.layer1_frame = 255;
        t.layer2_frame = 255;
    }
    return map;
}

void write_town_footprint(GameMap& map, int x, int y, int faction, bool castle) {
    const int f = faction & 3;
    auto put = [&](int tx, int ty, uint8_t type, int frame, uint8_t blocking) {
        MapTile* t = map.tile(tx, ty);
        if (!t) return;
        t->object_type = type;
        t->layer1_set = SET_TOWN;
        t->layer1_frame = (uint8_t)frame;
        t->blocking = blocking;
    };
    for (int dx = -1; dx <= 1; ++dx) {
        put(x + dx, y - 1, OBJ_NONE, 16 + f * 4 + dx + 1, 0x80);
        if (dx != 0) put(x + dx, y, OBJ_NONE, 32 + f * 4 + dx + 1, 0x80);
    }
    put(x, y, castle ? OBJ_CASTLE_ENTRANCE : OBJ_TOWN_ENTRANCE, f * 2 + (castle ? 1 : 0), 0);
}

void rebuild_monster_guard_map(GameMap& map) {
    const int w = map.width, h = map.height;
    if (w <= 0 || h <= 0 || !map.has_tiles()) {
        map.guard_map.clear();
        return;
    }
    map.guard_map.assign((size_t)w * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!map.tiles[(size_t)y * w + x].is_monster()) continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int gx = x + dx, gy = y + dy;
                    if (map.in_bounds(gx, gy)) map.guard_map[(size_t)gx * h + gy] |= 0x80;
                }
        }
}

bool water_within(const GameMap& map, int x, int y, int radius) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const MapTile* t = map.tile(x + dx, y + dy);
            if (t && t->is_water()) return true;
        }
    return false;
}

int find_castle_harbour_tile(const GameMap& map, int x, int y) {
    // Prefer the tiles below the entrance (where a shipyard faces the shore), then the sides, then above.
    static const int ORDER[8][2] = {{0, 1}, {-1, 1}, {1, 1}, {-1, 0}, {1, 0}, {0, -1}, {-1, -1}, {1, -1}};
    for (const auto& d : ORDER) {
        const int tx = x + d[0], ty = y + d[1];
        const MapTile* t = map.tile(tx, ty);
        if (t && t->is_water() && !t->impassable() && !t->occupied()) return ty * map.width + tx;
    }
    return -1;
}

}  // namespace vorn1
