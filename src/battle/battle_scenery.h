#pragma once
// Readers of the battlefield scenery files and the choice of files for a map tile; the picture
// itself is composed by the battle screen.
#include <cstdint>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

struct GameMap;

enum BattleTerrain : int {
    TerrainGrass = 0, TerrainDirt, TerrainSnow, TerrainSwamp, TerrainLava, TerrainDesert, TerrainWater,
};

// One frame of a ground-tile or obstacle set: the picture (empty when the frame has none) and the
// offsets stored with it.
struct XtlImage {
    Image img;
    int x = 0;
    int y = 0;
};

int battle_terrain_for_ground(int ground);
// A sky picture: empty for a short entry or a zero size.
Image decode_bkg(const std::vector<uint8_t>& bytes, const Palette& pal);
// A tile or obstacle set; frames whose records or data lie beyond the entry stay empty.
std::vector<XtlImage> decode_xtl(const std::vector<uint8_t>& bytes, const Palette& pal);
// The sky, tile and obstacle entries for the tile (x, y) of a terrain, or of a graveyard.
void pick_scene_files(const GameMap& map, int x, int y, int terrain, std::string& bkg, std::string& xtl,
                      std::string& obj, bool graveyard);

}  // namespace vorn1
