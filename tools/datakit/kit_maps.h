#pragma once
// Writer of the map format and the kit's own maps (small, medium, large, campaign and demo maps).
#include <string>

#include "datakit/datakit.h"
#include "world/map.h"

namespace vorn1::kit {

// Ground indices the kit paints with.
enum KitGround : uint8_t { G_WATER = 5, G_GRASS = 25, G_ROUGH = 50, G_DIRT = 85, G_SWAMP = 105, G_SAND = 130 };
// Sprite sets the kit puts in layer 1 of object tiles.
enum KitSet : uint8_t {
    KSET_TOWN = SET_TOWN, KSET_MINE = 37, KSET_CHEST = 19, KSET_RESOURCE = 20, KSET_ARTIFACT = 21, KSET_CAMPFIRE = 22,
    KSET_SHRINE = 23, KSET_DWELLING = 24, KSET_MILL = 25, KSET_DRAGON_CITY = 26, KSET_LIGHTHOUSE = 27,
    KSET_OBELISK = 28, KSET_PORTAL = 29, KSET_SITE = 30,  // frame = type - 129 for sites without a record
};

// Serialises a map: 1354-byte header, width x height 15-byte tiles, then the object list.
Bytes write_map_bytes(const GameMap& map);
bool write_map_file(const std::string& path, const GameMap& map);

// Builds a map tile by tile; every place_* writes the tile bytes and the object record together.
struct MapBuilder {
    GameMap map;

    MapBuilder(int w, int h, uint8_t ground = G_GRASS, const std::string& name = "Kit map");
    MapTile& at(int x, int y);
    void fill(int x0, int y0, int x1, int y1, uint8_t ground);   // inclusive rectangle
    void clear(int x, int y);                                    // ground kept, objects gone
    void tree(int x, int y);
    void mountain(int x, int y);
    void town(int x, int y, int faction, int owner, bool castle, const std::string& name, uint16_t buildings = 0);
    void hero(int x, int y, int pool_index, int owner);
    void mine(int x, int y, int kind, int owner = -1);
    void chest(int x, int y, int gold = 0);
    void artifact(int x, int y, int id, int guard = 0);
    void resource(int x, int y, int kind, int amount = 0);
    void campfire(int x, int y, int kind, int amount = 0, int gold_hundreds = 0);
    void monster(int x, int y, int creature, int count = 0, bool willing = false);
    void boat(int x, int y);
    void shrine(int x, int y, int spell);
    void dwelling(int x, int y, int creature, int available);
    void mill(int x, int y, int amount);
    void dragon_city(int x, int y);
    void lighthouse(int x, int y);
    void obelisk(int x, int y);
    void portal(int x, int y);
    void graveyard(int x, int y, int level);   // guard level 0..3 in byte 9
    // A site without a record in the game state (shipwreck, trading post, thieves' den, luck and morale sites).
    void site(int x, int y, uint8_t type);
    void victory_site(int x, int y);
    void victory(int kind, int x = -1, int y = -1);
    void add_object(uint8_t kind, int x, int y, int owner, int a, int b, int value, const std::string& name = "");
};

// A full scenario: players 2..4 seats with a castle and a hero each, every kind of site, water with a
// boat, obelisk and portal pair. size_class 0 small (36), 1 medium (54), 2 large (72).
GameMap make_scenario_map(int size_class, int players, uint32_t seed, const std::string& name);
// The town road: the first seat's castle with a hero beside it, a second hero of the same seat two tiles
// east and water below the entrance for its shipyard; the second seat far away in the other corner.
GameMap make_road_map();
// The archive's demo map, and its bytes for the archive entry "DEMO.MAP".
GameMap make_demo_map();
Bytes demo_map_bytes();
// Campaign map `index` (1..9 for CAMP, 10..13 for the four spirit-world maps, the short campaign).
GameMap make_campaign_map(int index);

// The last scenario's title and description are written as the classic maps wrote theirs, in the DOS
// Latin code page (0x81 u-umlaut, 0x82 e-acute): "Dünmoor Vallée".
constexpr const char* kClassicTitleMapName = "D\x81nmoor Vall\x82" "e";
constexpr const char* kClassicTitleMapDescription =
    "Two rulers and the caf\x82 of D\x81nmoor, written in the old DOS code page.";

// A scenario whose description fills the header's room and ends in its victory condition (every rival
// defeated, the kind make_scenario_map gives).
constexpr const char* kLongDescriptionMapName = "The Long Road";
constexpr const char* kLongDescriptionMapDescription =
    "Cross the marsh and the rocky hills, hold every mine you find on the road, and win by defeating every "
    "rival ruler.";

// File names written by write_kit_maps, under `maps_dir`.
extern const char* const KIT_SCENARIO_FILES[6];
extern const char* const KIT_CAMPAIGN_FILES[13];
// Writes every kit map into maps_dir (created); false on a write error.
bool write_kit_maps(const std::string& maps_dir);

// Seeds of the map and campaign readers for the fuzz corpus: OUT/map/.
void write_map_fuzz_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
