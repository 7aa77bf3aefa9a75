#include "datakit/kit_maps.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "datakit/kit_roads.h"
#include "world/game_state.h"

namespace vorn1::kit {

namespace {

void put_text(Bytes& b, size_t at, const std::string& s, size_t max_len) {
    for (size_t i = 0; i < s.size() && i < max_len; ++i) b[at + i] = (uint8_t)s[i];
}

struct Rng {
    uint32_t s;
    explicit Rng(uint32_t seed) : s(seed ? seed : 0x2545F491u) {}
    uint32_t next() { s ^= s << 13; s ^= s >> 17; s ^= s << 5; return s; }
    int below(int n) { return n > 0 ? (int)(next() % (uint32_t)n) : 0; }
};

}  // namespace

Bytes write_map_bytes(const GameMap& map) {
    Bytes b(MAP_HEADER_SIZE, 0);
    b[MAP_OFS_DIFFICULTY] = map.difficulty;
    b[MAP_OFS_SIZE] = map.size_class;
    put_text(b, MAP_OFS_NAME, map.name, 15);
    b[MAP_OFS_WIDTH] = (uint8_t)map.width;
    b[MAP_OFS_HEIGHT] = (uint8_t)map.height;
    b[MAP_OFS_VICTORY] = map.victory_kind;
    b[MAP_OFS_VICTORY + 1] = map.victory_x >= 0 ? (uint8_t)map.victory_x : 255;
    b[MAP_OFS_VICTORY + 2] = map.victory_y >= 0 ? (uint8_t)map.victory_y : 255;
    put_text(b, MAP_OFS_DESCRIPTION, map.description, 119);
    for (const MapTile& t : map.tiles)
        for (int i = 0; i < MAP_TILE_BYTES; ++i) b.push_back(t.byte_at(i));
    const size_t n = map.objects.size();
    b.push_back((uint8_t)(n & 0xFF));
    b.push_back((uint8_t)(n >> 8));
    for (const MapObject& o : map.objects) {
        const size_t at = b.size();
        b.resize(at + MAP_OBJECT_BYTES, 0);
        b[at + 0] = o.kind;
        b[at + 1] = (uint8_t)o.x;
        b[at + 2] = (uint8_t)o.y;
        b[at + 3] = is_player_index(o.owner) ? (uint8_t)o.owner : 255;
        b[at + 4] = o.a;
        b[at + 5] = o.b;
        b[at + 6] = (uint8_t)(o.value & 0xFF);
        b[at + 7] = (uint8_t)(o.value >> 8);
        put_text(b, at + 8, o.name, 15);
    }
    return b;
}

bool write_map_file(const std::string& path, const GameMap& map) {
    const Bytes b = write_map_bytes(map);
    std::ofstream f(path, std::ios::binary);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(b.data()), (std::streamsize)b.size());
    return (bool)f;
}

MapBuilder::MapBuilder(int w, int h, uint8_t ground, const std::string& name) {
    map.width = w;
    map.height = h;
    map.name = name;
    map.tiles.assign((size_t)w * h, MapTile{});
    for (MapTile& t : map.tiles) {
        t.ground = ground;
        t.layer1_frame = 255;
        t.layer2_frame = 255;
    }
}

MapTile& MapBuilder::at(int x, int y) {
    static MapTile scratch;
    MapTile* t = map.tile(x, y);
    return t ? *t : scratch;
}

void MapBuilder::fill(int x0, int y0, int x1, int y1, uint8_t ground) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (map.in_bounds(x, y)) at(x, y).ground = ground;
}

void MapBuilder::clear(int x, int y) {
    MapTile& t = at(x, y);
    const uint8_t g = t.ground;
    t = MapTile{};
    t.ground = g;
    t.layer1_frame = 255;
    t.layer2_frame = 255;
}

static void put_object(MapTile& t, uint8_t type, uint8_t set, uint8_t frame) {
    t.object_type = type;
    t.layer1_set = set;
    t.layer1_frame = frame;
    t.blocking = 0;
}

void MapBuilder::tree(int x, int y) {
    MapTile& t = at(x, y);
    t.layer1_set = SET_TREES;
    t.layer1_frame = (uint8_t)((x * 7 + y) % 6);
    t.blocking = 0x80;
}

void MapBuilder::mountain(int x, int y) {
    MapTile& t = at(x, y);
    t.layer1_set = SET_MOUNTAINS;
    t.layer1_frame = (uint8_t)((x + y * 3) % 8);
    t.blocking = 0x80;
}

void MapBuilder::add_object(uint8_t kind, int x, int y, int owner, int a, int b, int value, const std::string& name) {
    MapObject o;
    o.kind = kind;
    o.x = x;
    o.y = y;
    o.owner = is_player_index(owner) ? owner : -1;
    o.a = (uint8_t)a;
    o.b = (uint8_t)b;
    o.value = (uint16_t)value;
    o.name = name;
    map.objects.push_back(o);
}

void MapBuilder::town(int x, int y, int faction, int owner, bool castle, const std::string& name, uint16_t buildings) {
    // Entrance at (x, y); the walls stand on the row above and beside it.
    write_town_footprint(map, x, y, faction, castle);
    add_object(castle ? MOBJ_CASTLE : MOBJ_TOWN, x, y, owner, faction, 0, buildings, name);
}

void MapBuilder::hero(int x, int y, int pool_index, int owner) { add_object(MOBJ_HERO, x, y, owner, pool_index, 0, 0); }

void MapBuilder::mine(int x, int y, int kind, int owner) {
    put_object(at(x, y), OBJ_MINE, KSET_MINE, (uint8_t)kind);
    at(x, y).object_detail = (uint8_t)kind;
    add_object(MOBJ_MINE, x, y, owner, kind, 0, 0);
}

void MapBuilder::chest(int x, int y, int gold) {
    put_object(at(x, y), OBJ_CHEST, KSET_CHEST, 0);
    add_object(MOBJ_CHEST, x, y, -1, 0, 0, gold);
}

void MapBuilder::artifact(int x, int y, int id, int guard) {
    // An artifact sold for gold is a plain artifact tile; its record carries the price.
    const uint8_t type = guard == 1 ? OBJ_ARTIFACT_AMBUSH : OBJ_ARTIFACT;
    put_object(at(x, y), type, KSET_ARTIFACT, (uint8_t)id);
    add_object(MOBJ_ARTIFACT, x, y, -1, id, guard, 0);
}

void MapBuilder::resource(int x, int y, int kind, int amount) {
    put_object(at(x, y), OBJ_RESOURCE, KSET_RESOURCE, (uint8_t)kind);
    add_object(MOBJ_RESOURCE, x, y, -1, kind, 0, amount);
}

void MapBuilder::campfire(int x, int y, int kind, int amount, int gold_hundreds) {
    put_object(at(x, y), OBJ_CAMPFIRE, KSET_CAMPFIRE, 0);
    add_object(MOBJ_CAMPFIRE, x, y, -1, kind, gold_hundreds, amount);
}

void MapBuilder::monster(int x, int y, int creature, int count, bool willing) {
    put_object(at(x, y), OBJ_MONSTER, SET_MONSTER, (uint8_t)creature);
    at(x, y).object_detail = (uint8_t)(count > 255 ? 255 : count);
    add_object(MOBJ_MONSTER, x, y, -1, creature, willing ? 1 : 0, count);
}

void MapBuilder::boat(int x, int y) {
    at(x, y).boat = 1;
    add_object(MOBJ_BOAT, x, y, -1, 0, 0, 0);
}

void MapBuilder::shrine(int x, int y, int spell) {
    put_object(at(x, y), OBJ_SHRINE, KSET_SHRINE, (uint8_t)spell);
    add_object(MOBJ_SHRINE, x, y, -1, spell, 0, 0);
}

void MapBuilder::dwelling(int x, int y, int creature, int available) {
    put_object(at(x, y), OBJ_DWELLING, KSET_DWELLING, (uint8_t)creature);
    add_object(MOBJ_DWELLING, x, y, -1, creature, 0, available);
}

void MapBuilder::mill(int x, int y, int amount) {
    put_object(at(x, y), OBJ_MILL, KSET_MILL, 0);
    add_object(MOBJ_MILL, x, y, -1, 0, 0, amount);
}

void MapBuilder::dragon_city(int x, int y) {
    put_object(at(x, y), OBJ_DRAGON_CITY, KSET_DRAGON_CITY, 0);
    add_object(MOBJ_DRAGON_CITY, x, y, -1, 0, 0, 0);
}

void MapBuilder::lighthouse(int x, int y) {
    put_object(at(x, y), OBJ_LIGHTHOUSE, KSET_LIGHTHOUSE, 0);
    add_object(MOBJ_LIGHTHOUSE, x, y, -1, 0, 0, 0);
}

void MapBuilder::obelisk(int x, int y) {
    put_object(at(x, y), OBJ_OBELISK, KSET_OBELISK, 0);
    add_object(MOBJ_OBELISK, x, y, -1, 0, 0, 0);
}

void MapBuilder::portal(int x, int y) {
    put_object(at(x, y), OBJ_PORTAL, KSET_PORTAL, 0);
    add_object(MOBJ_PORTAL, x, y, -1, 0, 0, 0);
}

void MapBuilder::graveyard(int x, int y, int level) {
    put_object(at(x, y), OBJ_GRAVEYARD, SET_GRAVEYARD, 0);
    at(x, y).object_detail = (uint8_t)level;
}

void MapBuilder::site(int x, int y, uint8_t type) { put_object(at(x, y), type, KSET_SITE, (uint8_t)(type - OBJ_EVENT_FIRST)); }

void MapBuilder::victory_site(int x, int y) { add_object(MOBJ_VICTORY_SITE, x, y, -1, 0, 0, 0); }

void MapBuilder::victory(int kind, int x, int y) {
    map.victory_kind = (uint8_t)kind;
    map.victory_x = x;
    map.victory_y = y;
}

namespace {

const char* const TOWN_NAMES[] = {"Brindlemark", "Ashcombe", "Corvale", "Dunmere", "Eskerby", "Fallowmere",
                                  "Greywater", "Holloway", "Ironmoss", "Juniper"};

bool tile_free(const GameMap& m, int x, int y) {
    const MapTile* t = m.tile(x, y);
    return t && t->is_land() && t->object_type == 0 && t->blocking == 0 && t->layer1_set == 0;
}

// A free land tile near (x, y), searched in growing squares; (-1, -1) when none.
void near_free(const GameMap& m, int x, int y, int& ox, int& oy) {
    for (int r = 0; r < 12; ++r)
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                if (std::max(std::abs(dx), std::abs(dy)) != r) continue;
                const int tx = x + dx, ty = y + dy;
                if (tx < 1 || ty < 2 || tx >= m.width - 1 || ty >= m.height - 1) continue;
                bool ok = true;
                for (int ey = -1; ey <= 1 && ok; ++ey)
                    for (int ex = -1; ex <= 1 && ok; ++ex) {
                        const MapTile* n = m.tile(tx + ex, ty + ey);
                        if (n && n->object_type != 0) ok = false;
                    }
                if (ok && tile_free(m, tx, ty)) {
                    ox = tx;
                    oy = ty;
                    return;
                }
            }
    ox = oy = -1;
}

}  // namespace

GameMap make_scenario_map(int size_class, int players, uint32_t seed, const std::string& name) {
    const int dim = size_class <= 0 ? 36 : size_class == 1 ? 54 : 72;
    players = std::clamp(players, 1, 4);
    Rng rng(seed);
    MapBuilder b(dim, dim, G_GRASS, name);
    b.map.size_class = (uint8_t)std::clamp(size_class, 0, 2);
    b.map.difficulty = (uint8_t)(seed % 4);
    b.map.description = "A kit-made land for " + std::to_string(players) + " rulers, with a lake in its middle.";

    // Terrain: patches of other ground, a lake with a sea lane, scattered woods and hills.
    const uint8_t grounds[] = {G_ROUGH, G_DIRT, G_SWAMP, G_SAND};
    for (int i = 0; i < dim / 6; ++i) {
        const int x = rng.below(dim - 6), y = rng.below(dim - 6);
        const int w = rng.below(4), h = rng.below(4), ground = rng.below(4);
        b.fill(x, y, x + 2 + w, y + 2 + h, grounds[ground]);
    }
    const int c = dim / 2;
    const int lr = dim / 8;
    b.fill(c - lr, c - lr, c + lr, c + lr, G_WATER);
    b.fill(c - lr, c - 1, dim - 1 - 3, c, G_WATER);  // a lane to the east
    for (int y = 2; y < dim - 1; ++y)
        for (int x = 1; x < dim - 1; ++x) {
            if (b.at(x, y).is_water() || rng.below(100) >= 7) continue;
            if (rng.below(2)) b.tree(x, y);
            else b.mountain(x, y);
        }

    // Seats in the corners: a castle with a hero beside it.
    const int corner[4][2] = {{4, 4}, {dim - 5, dim - 5}, {dim - 5, 4}, {4, dim - 5}};
    auto clear_area = [&](int x, int y, int r) {
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx)
                if (b.map.in_bounds(x + dx, y + dy)) {
                    b.clear(x + dx, y + dy);
                    if (b.at(x + dx, y + dy).is_water()) b.at(x + dx, y + dy).ground = G_GRASS;
                }
    };
    int town_name = 0;
    for (int p = 0; p < players; ++p) {
        const int x = corner[p][0], y = corner[p][1];
        clear_area(x, y, 3);
        b.town(x, y, p, p, true, TOWN_NAMES[town_name++], (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
        b.hero(x + 1, y + 1, p * 9, p);
    }
    // Neutral towns of the factions not taken, so all four factions stand on every map.
    for (int f = players; f < 4; ++f) {
        const int x = corner[f][0], y = corner[f][1];
        clear_area(x, y, 2);
        b.town(x, y, f, -1, false, TOWN_NAMES[town_name++]);
    }
    // A neutral town in the middle of the south edge.
    clear_area(c, dim - 4, 2);
    b.town(c, dim - 4, (int)(seed % 4), -1, false, TOWN_NAMES[town_name++]);

    int x, y;
    auto place = [&](int hx, int hy) {
        near_free(b.map, hx, hy, x, y);
        return x >= 0;
    };
    // Arguments are evaluated in no fixed order: the two draws go through locals so every compiler
    // builds the same map from one seed.
    auto place_random = [&] {
        const int hx = rng.below(dim), hy = rng.below(dim);
        return place(hx, hy);
    };
    for (int k = 0; k < MINE_KIND_COUNT; ++k)
        if (place(4 + (k * (dim - 8)) / 6, c + (k % 2 ? -lr - 3 : lr + 3))) b.mine(x, y, k);
    for (int i = 0; i < 3 + size_class; ++i)
        if (place_random()) b.chest(x, y, 0);
    static const int ARTS[] = {4, 8, 13, 29, 30, 35, 36, 20};
    for (int i = 0; i < 3 + size_class; ++i)
        if (place_random()) b.artifact(x, y, ARTS[rng.below(8)], i % 3);
    for (int k = 0; k < MINE_KIND_COUNT; ++k)
        if (place_random()) b.resource(x, y, k, 0);
    for (int i = 0; i < 2 + size_class; ++i)
        if (place_random()) b.campfire(x, y, rng.below(7), 0, 0);
    for (int i = 0; i < 6 + size_class * 3; ++i)
        if (place_random()) {
            const int cr = rng.below(CREATURE_COUNT);
            b.monster(x, y, cr, 0, i % 2 == 0);
        }
    if (place(c - lr - 2, c)) b.lighthouse(x, y);
    // The boat waits on the lake next to its west shore.
    b.boat(c - lr, c - lr);
    b.clear(c - lr - 1, c - lr);
    b.at(c - lr - 1, c - lr).ground = G_GRASS;
    if (place(c, 3)) b.obelisk(x, y);
    if (place(3, c)) b.portal(x, y);
    if (place(dim - 4, c + lr + 4)) b.portal(x, y);
    if (place(c + 3, dim / 4)) b.shrine(x, y, rng.below(SPELL_COUNT));
    if (place(dim / 4, c + 4)) b.dwelling(x, y, rng.below(CREATURE_COUNT), 5);
    if (place(dim * 3 / 4, dim * 3 / 4 - 3)) b.mill(x, y, 2);
    if (size_class >= 1 && place(c + lr + 3, c + lr + 3)) b.dragon_city(x, y);
    // Sites without a record, placed last so the sites above keep their places.
    if (place(c - 4, dim / 4)) b.graveyard(x, y, (int)(seed % 4));
    if (place(c, dim - 8)) b.site(x, y, OBJ_SHIPWRECK);
    if (place(dim / 4, dim / 4 + 4)) b.site(x, y, OBJ_TRADING_POST);
    if (place(dim * 3 / 4, dim / 4 + 4)) b.site(x, y, OBJ_THIEVES_DEN);
    const uint8_t bonus_sites[] = {OBJ_FAERIE_RING, OBJ_FOUNTAIN, OBJ_ANGEL_STATUE, OBJ_OASIS};
    for (int i = 0; i < 4; ++i)
        if (place(dim / 5 + i * dim / 5, dim * 3 / 4)) b.site(x, y, bonus_sites[i]);
    return b.map;
}

GameMap make_demo_map() {
    GameMap m = make_scenario_map(0, 2, 7, "Demo Vale");
    m.description = "Two rulers meet in a small valley.";
    return m;
}

GameMap make_road_map() {
    MapBuilder b(36, 36, G_GRASS, "Town Road");
    b.map.description = "A castle by a lake, two heroes at its gate.";
    b.fill(5, 9, 8, 12, G_WATER);
    b.town(8, 8, 0, 0, true, TOWN_NAMES[0],
           (uint16_t)(BLD_DWELLING1 | BLD_TAVERN | BLD_SHIPYARD | BLD_GUILD1 | BLD_WELL | BLD_THIEVES_GUILD));
    b.hero(9, 9, 0, 0);
    b.hero(11, 9, 1, 0);
    b.town(28, 28, 1, 1, true, TOWN_NAMES[1], (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(29, 29, 9, 1);
    return b.map;
}

Bytes demo_map_bytes() { return write_map_bytes(make_demo_map()); }

GameMap make_campaign_map(int index) {
    // The spirit world's four files hold the short campaign, played to its end in minutes.
    if (index > 9) return make_short_campaign_map(index - 10);
    GameMap m = make_scenario_map(index % 3, 2 + index % 3, 1000u + (uint32_t)index, "Campaign " + std::to_string(index));
    // Odd campaign maps are won by taking the first neutral town; the rest by defeating every rival.
    if (index % 2 == 1)
        for (const MapObject& o : m.objects)
            if (o.kind == MOBJ_TOWN && o.owner < 0) {
                m.victory_kind = VICTORY_CAPTURE_TOWN;
                m.victory_x = o.x;
                m.victory_y = o.y;
                break;
            }
    return m;
}

const char* const KIT_SCENARIO_FILES[6] = {"KITS1200.MAP", "KITM1230.MAP", "KITL1234.MAP", "KITH0234.MAP",
                                           "KITC1200.MAP", "KITW1200.MAP"};
const char* const KIT_CAMPAIGN_FILES[13] = {"CAMP1.CMP", "CAMP2.CMP", "CAMP3.CMP", "CAMP4.CMP", "CAMP5.CMP",
                                            "CAMP6.CMP", "CAMP7.CMP", "CAMP8.CMP", "CAMP9.CMP", "CMPG1.CMP",
                                            "CMPF2.CMP", "CMPP3.CMP", "CMPS4.CMP"};

bool write_kit_maps(const std::string& maps_dir) {
    std::error_code ec;
    std::filesystem::create_directories(maps_dir, ec);
    bool ok = true;
    GameMap scen[6] = {make_scenario_map(0, 2, 11, "Twin Fords"), make_scenario_map(1, 3, 12, "Three Crowns"),
                       make_scenario_map(2, 4, 13, "Four Winds"), make_scenario_map(1, 4, 14, "Hearthside"),
                       make_scenario_map(0, 2, 15, kClassicTitleMapName),
                       make_scenario_map(0, 2, 16, kLongDescriptionMapName)};
    scen[4].description = kClassicTitleMapDescription;
    scen[5].description = kLongDescriptionMapDescription;
    for (int i = 0; i < 6; ++i) ok &= write_map_file(maps_dir + "/" + KIT_SCENARIO_FILES[i], scen[i]);
    for (int i = 0; i < 13; ++i) ok &= write_map_file(maps_dir + "/" + KIT_CAMPAIGN_FILES[i], make_campaign_map(i + 1));
    return ok;
}

void write_map_fuzz_seeds(const std::string& out_dir) {
    const std::string dir = out_dir + "/map";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    auto put = [&](const std::string& name, const Bytes& b) {
        std::ofstream f(dir + "/" + name, std::ios::binary);
        f.write(reinterpret_cast<const char*>(b.data()), (std::streamsize)b.size());
    };
    MapBuilder tiny(4, 3, G_GRASS, "Tiny");
    tiny.chest(1, 1, 1000);
    tiny.monster(2, 1, 3, 12, true);
    tiny.town(2, 2, 1, 0, true, "T");
    put("tiny.map", write_map_bytes(tiny.map));
    Bytes bare = write_map_bytes(MapBuilder(2, 2).map);
    bare.resize(bare.size() - 2);  // no object list
    put("bare.map", bare);
    put("demo.map", write_map_bytes(make_demo_map()));
}

}  // namespace vorn1::kit
