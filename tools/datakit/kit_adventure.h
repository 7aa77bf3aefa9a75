#pragma once
// Adventure-screen art of the demo data: the ground tile set, object sprite sets, hero figures by
// class and facing, boats, flags, route arrows and the side panel's pictures, all drawn procedurally.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "assets/palette.h"
#include "world/game_state.h"
#include "world/map.h"
#include "datakit/kit_formats.h"

namespace vorn1::kit {

// Nearest standard-palette index of a colour (index 0 is kept for black).
uint8_t nearest_index(const Palette& pal, uint8_t r, uint8_t g, uint8_t b);

// Every archive entry the adventure screen loads, in the standard palette.
std::vector<AggFile> adventure_archive_files();

// The bytes of one of those entries (name case-insensitive); null when the adventure art has none.
// The demo archive takes these in place of its plain labelled pictures.
const Bytes* adventure_entry_bytes(const std::string& name);
// Each entry with its frame (or tile) count.
std::vector<std::pair<std::string, int>> adventure_entry_counts();

// A game state of a kit map for drawing fixtures: seats for every owner found (colours 0..3 in
// order), live towns, mines, single sites, boats and one hero per hero record (portrait = pool
// entry, class = owner), marks placed on the map; every seat's fog fully explored when asked.
GameState adventure_state_for_map(GameMap& map, bool explore_all);

// English catalogue texts of the adventure screen's keys.
std::map<std::string, std::string> adventure_english_strings();

}  // namespace vorn1::kit
