#pragma once
// The adventure map: tiles, the object list of a map file, and the map readers.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

constexpr int MAP_MAX_DIM = 72;     // fog planes and every per-map grid are 72 x 72
constexpr int MAP_HEADER_SIZE = 1354;

// Object types of tile byte 8: the one list for the map rules, the events and the map files.
// Types 129..145 and the event types of is_enterable_object_type can be walked onto; the rest are scenery.
// Sites with a record in the game state (mines, chests, ...) are found by that record; the rest by type.
enum MapObjectType : uint8_t {
    OBJ_NONE = 0,
    OBJ_EVENT_FIRST = 129,    // types from here on are event objects
    OBJ_TRADING_POST = 130,
    OBJ_CHEST = 131,
    OBJ_RESOURCE = 134,
    OBJ_ARTIFACT = 136,       // also an artifact sold for gold (record guard kind 2)
    OBJ_THIEVES_DEN = 138,
    OBJ_MINE = 139,
    OBJ_GRAVEYARD = 140,      // byte 9: guard level 0..3
    OBJ_LIGHTHOUSE = 141,
    OBJ_DWELLING = 142,
    OBJ_SHRINE = 143,
    OBJ_MILL = 144,
    OBJ_OASIS = 145,
    OBJ_DRAGON_CITY = 150,
    OBJ_FAERIE_RING = 151,
    OBJ_FOUNTAIN = 152,
    OBJ_ANGEL_STATUE = 153,
    OBJ_MONSTER = 154,
    OBJ_OBELISK = 155,
    OBJ_BUOY = 156,
    OBJ_CAMPFIRE = 157,
    OBJ_SHIPWRECK = 163,
    OBJ_TOWN_ENTRANCE = 168,
    OBJ_PORTAL = 169,
    OBJ_ARTIFACT_AMBUSH = 176,   // guarded artifacts: taken by beating the guards
    OBJ_ARTIFACT_AMBUSH_B = 189,
    OBJ_PICKUP = 190,
    OBJ_CASTLE_ENTRANCE = 192,
    OBJ_TOWN_ENTRANCE_B = 193,
    OBJ_MONSTER_B = 195,      // 195..198 are monsters too
    OBJ_MONSTER_E = 198,
};
// The object gate of a step: event types pass, any other object needs a clear tile.
bool is_enterable_object_type(uint8_t type);

// Layer sprite sets with a meaning for the rules.
enum MapSpriteSet : uint8_t {
    SET_GRAVEYARD = 7,
    SET_MOUNTAINS = 8,
    SET_TREES = 9,
    SET_MONSTER = 12,   // frame = creature id
    SET_TOWN = 35,      // town and castle footprints
};

// One map cell: fifteen one-byte fields. Bytes 0..13 travel in saves; byte 14 does not.
struct MapTile {
    uint8_t ground = 0;        // 0: 0..19 water, 20..254 land in bands of 20, 255 none (counts as water)
    uint8_t layer1_set = 0;    // 1: sprite set of object layer 1 (0 or 255 = empty)
    uint8_t layer1_frame = 0;  // 2
    uint8_t layer2_set = 0;    // 3
    uint8_t layer2_frame = 0;  // 4
    uint8_t flip = 0;          // 5: flip bits, cleared with the object
    uint8_t byte6 = 0;         // 6
    uint8_t blocking = 0;      // 7: top bit = impassable
    uint8_t object_type = 0;   // 8: MapObjectType; 129+ event objects
    uint8_t object_detail = 0; // 9: e.g. the count of a wandering monster
    uint8_t hero_figure = 0;   // 10: nonzero while a hero stands here (the hero's figure byte)
    uint8_t hero_frame = 0;    // 11: standing frame of that hero
    uint8_t hero_on_boat = 0;  // 12: 0/1
    uint8_t flag13 = 0;        // 13: 0/1
    uint8_t boat = 0;          // 14: a boat lies here (not saved; rebuilt after a load)

    uint8_t byte_at(int i) const;       // 0..14, 0 outside
    void set_byte(int i, uint8_t v);    // ignored outside 0..14

    bool is_water() const { return ground < 20 || ground == 255; }
    bool is_land() const { return !is_water(); }
    bool occupied() const { return hero_figure != 0; }
    bool impassable() const { return (blocking & 0x80) != 0; }
    bool is_monster() const {
        return object_type == OBJ_MONSTER || (object_type >= OBJ_MONSTER_B && object_type <= OBJ_MONSTER_E);
    }
    bool is_town_entrance() const {
        return object_type == OBJ_TOWN_ENTRANCE || object_type == OBJ_CASTLE_ENTRANCE ||
               object_type == OBJ_TOWN_ENTRANCE_B;
    }
    // Land, not blocked, nobody on it and no blocking object in either layer.
    bool is_clear_landing_tile() const;
};
static_assert(sizeof(MapTile) == 15);

// Empties a tile's object: layer 1 becomes (0, 255), bytes 5, 7, 8 and 9 become 0.
void clear_tile_object(MapTile& t);

// Kinds of the records in a map file's object list.
enum MapObjectKind : uint8_t {
    MOBJ_TOWN = 1,
    MOBJ_CASTLE = 2,
    MOBJ_HERO = 3,
    MOBJ_MINE = 4,
    MOBJ_CHEST = 5,
    MOBJ_ARTIFACT = 6,
    MOBJ_RESOURCE = 7,
    MOBJ_CAMPFIRE = 8,
    MOBJ_MONSTER = 9,
    MOBJ_BOAT = 10,
    MOBJ_SHRINE = 11,
    MOBJ_DWELLING = 12,
    MOBJ_MILL = 13,
    MOBJ_DRAGON_CITY = 14,
    MOBJ_LIGHTHOUSE = 15,
    MOBJ_OBELISK = 16,
    MOBJ_PORTAL = 17,
    MOBJ_VICTORY_SITE = 18,
    MOBJ_KIND_COUNT = 19,
};

// One record of a map file's object list (see docs/formats.md). The meaning of a, b and value depends on kind.
struct MapObject {
    uint8_t kind = 0;      // MapObjectKind
    int32_t x = 0, y = 0;
    int32_t owner = -1;    // seat 0..3, -1 none (file byte 255)
    uint8_t a = 0;         // faction, mine kind, creature, artifact id, resource kind, spell id, ...
    uint8_t b = 0;         // second detail (hero class, artifact guard kind, join flag, ...)
    uint16_t value = 0;    // count, amount or gold value
    std::string name;      // towns and heroes (at most 15 characters)
};

struct GameMap {
    int32_t width = MAP_MAX_DIM;
    int32_t height = MAP_MAX_DIM;
    std::vector<MapTile> tiles;           // row-major: y * width + x
    std::string name;
    std::string description;
    uint8_t difficulty = 0;               // header byte 2
    uint8_t size_class = 0;               // header byte 3
    uint8_t victory_kind = 0;             // the scenario's victory condition (ScenarioVictory kind)
    int32_t victory_x = -1, victory_y = -1;
    std::vector<MapObject> objects;       // object list of the map file
    std::vector<uint8_t> object_grid = std::vector<uint8_t>(MAP_MAX_DIM * MAP_MAX_DIM, 0xFF);
    std::vector<uint8_t> ambient = std::vector<uint8_t>(MAP_MAX_DIM * MAP_MAX_DIM, 0xFF);  // 72x72, row-major
    std::vector<uint8_t> guard_map;       // x * height + y; bit 7 = beside a wandering monster

    bool in_bounds(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    bool has_tiles() const { return (int64_t)tiles.size() == (int64_t)width * height; }
    // Null off the map or when the tile list is not width x height.
    MapTile* tile(int x, int y);
    const MapTile* tile(int x, int y) const;
    bool guarded(int x, int y) const;
};

// Readers. Both throw std::runtime_error with the texts below.
// "Cannot open: <path>", "Read failed: <path>", "MAP file too small to contain tile block".
GameMap load_map(const std::string& path);
// "Cannot open CMP: <path>", "Read failed: <path>", "CMP file too small to contain tile block".
GameMap load_cmp(const std::string& path);
// A map image held in memory (the archive's "DEMO.MAP"); the texts of load_map with `name` as the path.
GameMap load_map_bytes(const std::vector<uint8_t>& bytes, const std::string& name = "DEMO.MAP");
GameMap load_cmp_bytes(const std::vector<uint8_t>& bytes, const std::string& name);

// Layout constants of the map file (docs/formats.md).
constexpr int MAP_OFS_DIFFICULTY = 2;
constexpr int MAP_OFS_SIZE = 3;
constexpr int MAP_OFS_NAME = 4;         // 16 bytes, zero-terminated
constexpr int MAP_OFS_WIDTH = 20;
constexpr int MAP_OFS_HEIGHT = 21;
constexpr int MAP_OFS_VICTORY = 22;     // kind, x, y
constexpr int MAP_OFS_DESCRIPTION = 154; // 120 bytes, zero-terminated
constexpr int MAP_TILE_BYTES = 15;
constexpr int MAP_OBJECT_BYTES = 24;
constexpr int MAP_MAX_OBJECTS = 4096;
// A blank 72 x 72 grass map named "EMPTY".
GameMap make_empty_map();

// Header fields as the map discovery reads them; false when the data is shorter than the header.
struct MapHeaderInfo {
    uint8_t difficulty = 0;
    uint8_t size_class = 0;
    std::string name;
    std::string description;
};
bool read_map_header(const uint8_t* data, uint64_t size, MapHeaderInfo& out);

// The footprint of a town with its entrance at (x, y), in layer 1 of set SET_TOWN: the entrance (type 168,
// or 192 for a castle; frame faction * 2, + 1 for a castle), blocked walls on the row above (frames
// 16 + faction * 4 + 0..2) and beside the entrance (32 + faction * 4 + 0 and 2). Tiles off the map are skipped.
void write_town_footprint(GameMap& map, int x, int y, int faction, bool castle);

// Sets bit 7 of guard_map on every tile next to (or under) a wandering monster; clears it elsewhere.
void rebuild_monster_guard_map(GameMap& map);

// The water tile beside the town at (x, y) where its boats go, as y * width + x; -1 when none.
int find_castle_harbour_tile(const GameMap& map, int x, int y);

// Water within `radius` tiles (Chebyshev) of (x, y).
bool water_within(const GameMap& map, int x, int y, int radius);

}  // namespace vorn1
