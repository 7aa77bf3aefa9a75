#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <fstream>
#include <stdexcept>
#include <string>

#include "datakit/kit_maps.h"
#include "datakit/kit_roads.h"
#include "world/game_state.h"
#include "world/map.h"

using namespace vorn1;
using namespace vorn1::kit;

namespace {

std::string temp_path(const std::string& name) {
    return std::string(VORN1_BINARY_DIR) + "/world_test_" + name;
}

void write_bytes(const std::string& path, const Bytes& b) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), (std::streamsize)b.size());
}

std::string error_of(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(MapReader, KitMapRoundTripsTilesHeaderAndObjects) {
    MapBuilder b(10, 7, G_DIRT, "Round Trip");
    b.map.description = "Described";
    b.map.difficulty = 3;
    b.map.size_class = 1;
    b.town(3, 3, 2, 1, true, "Keepsake");
    b.monster(6, 2, 17, 9, true);
    b.mine(8, 5, MINE_GEMS, 0);
    b.victory(VICTORY_CAPTURE_TOWN, 3, 3);
    b.at(0, 0).hero_on_boat = 7;  // flags are normalised to 0/1 on reading
    const std::string path = temp_path("rt.MAP");
    ASSERT_TRUE(write_map_file(path, b.map));

    const GameMap m = load_map(path);
    EXPECT_EQ(m.name, "Round Trip");
    EXPECT_EQ(m.description, "Described");
    EXPECT_EQ(m.difficulty, 3);
    EXPECT_EQ(m.size_class, 1);
    ASSERT_EQ(m.width, 10);
    ASSERT_EQ(m.height, 7);
    ASSERT_EQ(m.tiles.size(), 70u);
    EXPECT_EQ(m.tile(0, 0)->hero_on_boat, 1);
    EXPECT_EQ(m.tile(3, 3)->object_type, OBJ_CASTLE_ENTRANCE);
    EXPECT_EQ(m.tile(6, 2)->object_type, OBJ_MONSTER);
    EXPECT_EQ(m.tile(6, 2)->layer1_frame, 17);
    EXPECT_EQ(m.tile(6, 2)->object_detail, 9);
    EXPECT_EQ(m.tile(5, 5)->ground, G_DIRT);
    EXPECT_EQ(m.victory_kind, VICTORY_CAPTURE_TOWN);
    EXPECT_EQ(m.victory_x, 3);
    ASSERT_EQ(m.objects.size(), 3u);
    EXPECT_EQ(m.objects[0].kind, MOBJ_CASTLE);
    EXPECT_EQ(m.objects[0].owner, 1);
    EXPECT_EQ(m.objects[0].a, 2);
    EXPECT_EQ(m.objects[0].name, "Keepsake");
    EXPECT_EQ(m.objects[1].value, 9);
    EXPECT_EQ(m.objects[1].b, 1);
    EXPECT_EQ(m.objects[2].owner, 0);

    // The header reader of map discovery sees the same name.
    MapHeaderInfo info;
    const Bytes raw = write_map_bytes(b.map);
    ASSERT_TRUE(read_map_header(raw.data(), raw.size(), info));
    EXPECT_EQ(info.name, "Round Trip");
    EXPECT_FALSE(read_map_header(raw.data(), MAP_HEADER_SIZE - 1, info));
    std::remove(path.c_str());
}

TEST(MapReader, EveryKitMapLoads) {
    const std::string dir = temp_path("maps");
    ASSERT_TRUE(write_kit_maps(dir));
    for (const char* f : KIT_SCENARIO_FILES) {
        const GameMap m = load_map(dir + "/" + f);
        EXPECT_FALSE(m.name.empty()) << f;
        EXPECT_TRUE(m.has_tiles()) << f;
        EXPECT_GT(m.objects.size(), 20u) << f;
    }
    for (const char* f : KIT_CAMPAIGN_FILES) {
        const GameMap m = load_cmp(dir + "/" + f);
        EXPECT_TRUE(m.has_tiles()) << f;
    }
    const GameMap demo = load_map_bytes(write_map_bytes(make_demo_map()));
    EXPECT_EQ(demo.name, "Demo Vale");
}

// A demo map whose description states its goal has that goal, and a town it names stands on the map.
TEST(MapReader, DemoMapDescriptionsStateTheGoalTheMapHas) {
    const std::string dir = temp_path("goals");
    ASSERT_TRUE(write_demo_maps(dir));
    int stated = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() != ".MAP") continue;
        const GameMap m = load_map(entry.path().string());
        const std::string& d = m.description;
        const auto town_at = [&](int x, int y, const std::string& name) {
            for (const MapObject& o : m.objects)
                if ((o.kind == MOBJ_TOWN || o.kind == MOBJ_CASTLE) &&
                    (name.empty() ? o.x == x && o.y == y : o.name == name))
                    return true;
            return false;
        };
        if (d.find("defeating every rival") != std::string::npos) {
            ++stated;
            EXPECT_EQ(m.victory_kind, VICTORY_DEFEAT_ALL) << d;
        }
        if (d.find("win by taking") != std::string::npos || d.find("Take it") != std::string::npos) {
            ++stated;
            EXPECT_EQ(m.victory_kind, VICTORY_CAPTURE_TOWN) << d;
            EXPECT_TRUE(town_at(m.victory_x, m.victory_y, "")) << d;
        }
        for (const char* lead : {"castle of ", "town of "})
            if (const std::size_t at = d.find(lead); at != std::string::npos) {
                const std::size_t from = at + std::string(lead).size();
                const std::string name = d.substr(from, d.find_first_of(" .,", from) - from);
                EXPECT_TRUE(town_at(-1, -1, name)) << name << " in " << d;
            }
    }
    EXPECT_GE(stated, 2);
}

TEST(MapReader, FailureTexts) {
    const std::string missing = temp_path("nope.MAP");
    EXPECT_EQ(error_of([&] { load_map(missing); }), "Cannot open: " + missing);
    EXPECT_EQ(error_of([&] { load_cmp(missing); }), "Cannot open CMP: " + missing);

    // Header only, or a tile block cut short.
    const Bytes full = write_map_bytes(MapBuilder(8, 8).map);
    const std::string shortp = temp_path("short.MAP");
    write_bytes(shortp, Bytes(full.begin(), full.begin() + 100));
    EXPECT_EQ(error_of([&] { load_map(shortp); }), "MAP file too small to contain tile block");
    write_bytes(shortp, Bytes(full.begin(), full.begin() + MAP_HEADER_SIZE + 8 * 8 * 15 - 1));
    EXPECT_EQ(error_of([&] { load_map(shortp); }), "MAP file too small to contain tile block");
    EXPECT_EQ(error_of([&] { load_cmp(shortp); }), "CMP file too small to contain tile block");

    // Corrupt: too wide, or an object count the file cannot hold.
    Bytes wide = full;
    wide[MAP_OFS_WIDTH] = 73;
    write_bytes(shortp, wide);
    EXPECT_EQ(error_of([&] { load_map(shortp); }), "Read failed: " + shortp);
    Bytes lying = full;
    lying[lying.size() - 2] = 0x10;  // 16 objects, none present
    write_bytes(shortp, lying);
    EXPECT_EQ(error_of([&] { load_map(shortp); }), "Read failed: " + shortp);
    EXPECT_EQ(error_of([&] { load_map_bytes(lying); }), "Read failed: DEMO.MAP");
    std::remove(shortp.c_str());
}

TEST(MapReader, OptionalObjectListAndForeignRecords) {
    MapBuilder b(5, 5);
    b.add_object(MOBJ_CHEST, 1, 1, -1, 0, 0, 1500);
    b.add_object(MOBJ_CHEST, 9, 1, -1, 0, 0, 1500);   // off the map
    b.add_object(200, 2, 2, -1, 0, 0, 0);             // unknown kind
    b.add_object(MOBJ_MINE, 2, 2, 7, 1, 0, 0);        // owner 7 reads as neutral
    GameMap m = load_map_bytes(write_map_bytes(b.map));
    ASSERT_EQ(m.objects.size(), 2u);
    EXPECT_EQ(m.objects[0].value, 1500);
    EXPECT_EQ(m.objects[1].owner, -1);

    Bytes bare = write_map_bytes(MapBuilder(5, 5).map);
    bare.resize(bare.size() - 2);
    EXPECT_TRUE(load_map_bytes(bare).objects.empty());
    // Width and height 0 mean the standard 72 x 72.
    Bytes big(MAP_HEADER_SIZE + 72 * 72 * 15, 0);
    GameMap g = load_map_bytes(big);
    EXPECT_EQ(g.width, 72);
    EXPECT_EQ(g.height, 72);
}

TEST(MapRules, GuardMapHarbourAndLanding) {
    MapBuilder b(6, 6);
    b.monster(2, 2, 3, 10);
    rebuild_monster_guard_map(b.map);
    EXPECT_TRUE(b.map.guarded(1, 1));
    EXPECT_TRUE(b.map.guarded(2, 2));
    EXPECT_TRUE(b.map.guarded(3, 3));
    EXPECT_FALSE(b.map.guarded(4, 2));
    EXPECT_FALSE(b.map.guarded(-1, 0));
    // Index is x * height + y.
    EXPECT_EQ(b.map.guard_map[3 * 6 + 1] & 0x80, 0x80);
    clear_tile_object(*b.map.tile(2, 2));
    rebuild_monster_guard_map(b.map);
    EXPECT_FALSE(b.map.guarded(1, 1));

    MapBuilder h(6, 6);
    EXPECT_EQ(find_castle_harbour_tile(h.map, 2, 2), -1);
    h.fill(0, 3, 5, 5, G_WATER);
    EXPECT_EQ(find_castle_harbour_tile(h.map, 2, 2), 3 * 6 + 2);
    h.at(2, 3).hero_figure = 1;
    EXPECT_EQ(find_castle_harbour_tile(h.map, 2, 2), 3 * 6 + 1);
    EXPECT_TRUE(water_within(h.map, 2, 1, 2));
    EXPECT_FALSE(water_within(h.map, 2, 0, 2));

    MapTile land = h.map.tiles[0];
    EXPECT_TRUE(land.is_clear_landing_tile());
    land.layer1_set = SET_TREES;
    land.layer1_frame = 0;
    EXPECT_FALSE(land.is_clear_landing_tile());
    land.layer1_set = 11;
    land.layer1_frame = 62;  // set 11 frames 61..68 are no barrier
    EXPECT_TRUE(land.is_clear_landing_tile());
    land.hero_figure = 3;
    EXPECT_FALSE(land.is_clear_landing_tile());
    EXPECT_FALSE(h.map.tile(0, 4)->is_clear_landing_tile());
}

TEST(MapRules, ObjectTypesAreOneListOfEnterableNumbers) {
    // Every named site type: distinct numbers, all of them enterable, so no two subsystems read a
    // tile differently.
    const uint8_t sites[] = {OBJ_TRADING_POST, OBJ_CHEST, OBJ_RESOURCE, OBJ_ARTIFACT, OBJ_THIEVES_DEN, OBJ_MINE,
                             OBJ_GRAVEYARD, OBJ_LIGHTHOUSE, OBJ_DWELLING, OBJ_SHRINE, OBJ_MILL, OBJ_OASIS,
                             OBJ_DRAGON_CITY, OBJ_FAERIE_RING, OBJ_FOUNTAIN, OBJ_ANGEL_STATUE, OBJ_MONSTER,
                             OBJ_OBELISK, OBJ_BUOY, OBJ_CAMPFIRE, OBJ_SHIPWRECK, OBJ_TOWN_ENTRANCE, OBJ_PORTAL,
                             OBJ_ARTIFACT_AMBUSH, OBJ_ARTIFACT_AMBUSH_B, OBJ_PICKUP, OBJ_CASTLE_ENTRANCE,
                             OBJ_TOWN_ENTRANCE_B, OBJ_MONSTER_B, OBJ_MONSTER_E};
    std::set<int> seen;
    for (uint8_t t : sites) {
        EXPECT_TRUE(seen.insert(t).second) << "type " << int(t) << " named twice";
        EXPECT_TRUE(is_enterable_object_type(t)) << int(t);
    }
    // Scenery around them stays out.
    for (int t : {0, 128, 146, 149, 158, 171, 177, 178, 191, 194, 199, 255}) EXPECT_FALSE(is_enterable_object_type((uint8_t)t)) << t;

    // Every site the kit draws carries its own type on a kit scenario map.
    const GameMap m = make_scenario_map(1, 2, 21, "Types");
    std::set<int> on_map;
    for (const MapTile& t : m.tiles) on_map.insert(t.object_type);
    for (uint8_t t : {OBJ_CHEST, OBJ_RESOURCE, OBJ_ARTIFACT, OBJ_ARTIFACT_AMBUSH, OBJ_MINE, OBJ_GRAVEYARD,
                      OBJ_LIGHTHOUSE, OBJ_DWELLING, OBJ_SHRINE, OBJ_MILL, OBJ_DRAGON_CITY, OBJ_MONSTER, OBJ_OBELISK,
                      OBJ_CAMPFIRE, OBJ_SHIPWRECK, OBJ_PORTAL, OBJ_TRADING_POST, OBJ_THIEVES_DEN, OBJ_FAERIE_RING,
                      OBJ_FOUNTAIN, OBJ_ANGEL_STATUE, OBJ_OASIS, OBJ_CASTLE_ENTRANCE, OBJ_TOWN_ENTRANCE})
        EXPECT_TRUE(on_map.count(t)) << int(t);
}
