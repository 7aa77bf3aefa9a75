#pragma once
// The kit's scenarios for the roads a player has, each a few tiles from the start (a town by water
// with a shipyard to build, a chest and a mine, a hero one battle short of a level-up), the short
// campaign of the spirit-world files, and the list of every scenario the demo data holds.
#include <string>
#include <utility>
#include <vector>

#include "world/map.h"

namespace vorn1::kit {

// The harbour road: the first seat's castle (no shipyard yet) with water at its south-west corner;
// its hero waits below the entrance. The boat of the shipyard is put on `kHarbourBoatX`, `kHarbourBoatY`.
constexpr int kHarbourTownX = 10, kHarbourTownY = 10;
constexpr int kHarbourBoatX = 9, kHarbourBoatY = 11;
constexpr const char* kHarbourMapFile = "KITHARBR.MAP";
GameMap make_harbour_map();

// The treasure road: a chest two tiles east of the hero and a gold mine three tiles south.
constexpr int kTreasureHeroX = 10, kTreasureHeroY = 10;
constexpr const char* kTreasureMapFile = "KITTREAS.MAP";
GameMap make_treasure_map();

// The level-up road: a hero with `kVeteranExperience` of the 1000 that make the second level, and
// goblins one tile east whose defeat brings more than the rest.
constexpr int kVeteranHeroX = 10, kVeteranHeroY = 10;
constexpr int kVeteranExperience = 990;
constexpr const char* kVeteranMapFile = "KITLEVEL.MAP";
GameMap make_veteran_map();

// Scenario `row` (0..3) of the short campaign written as the spirit-world files: each is won by one
// walk into the rival's empty town right above the hero on the first day, and later, once the rival
// may have walled and manned it, by a siege the hero's band wins.
GameMap make_short_campaign_map(int row);

// The road scenarios (battle, spells, siege, quick win, harbour, treasure, level-up, the hot-seat sieges)
// as (file name, map).
std::vector<std::pair<std::string, GameMap>> kit_road_maps();
// Every map of the demo's maps folder: the kit maps of write_kit_maps, the road scenarios and the goal
// scenarios; false on a write error.
bool write_demo_maps(const std::string& maps_dir);

}  // namespace vorn1::kit
