#pragma once
// Which ambient loop sounds on which tile of the map: waves on the shore, lava and swamp grounds, and
// the sites that make a noise of their own (docs/formats.md, "Ambient loops").
#include <cstdint>

#include "world/map.h"

namespace vorn1 {

// Ambient loop ids: loop i is the archive's "LOOP00ii.82M".
enum AmbientLoop : uint8_t {
    AMB_SHORE = 0,  // water beside land
    AMB_LAVA = 1,
    AMB_SWAMP = 2,
    AMB_MINE = 3,
    AMB_MILL = 4,
    AMB_CAMPFIRE = 5,
    AMB_FOUNTAIN = 6,
    AMB_OASIS = 7,
    AMB_LIGHTHOUSE = 8,
    AMB_BUOY = 9,
    AMB_SHIPWRECK = 10,
    AMB_GRAVEYARD = 11,
    AMB_DRAGON_CITY = 12,
    AMB_FAERIE_RING = 13,
    AMB_SHRINE = 14,
    AMB_DWELLING = 15,
    AMB_TRADING_POST = 16,
    AMB_THIEVES_DEN = 17,
    AMB_ANGEL_STATUE = 18,
    AMB_PORTAL = 19,
    AMB_OBELISK = 20,
    AMB_NONE = 255,
};

// Fills map.ambient (72 x 72, row-major) from the tiles: a site's loop on the tile that carries its
// object type, else its ground's (shore water, lava, swamp), else AMB_NONE, as are the cells off the map.
// Tiles travel in saves, so a loaded game rebuilds the same grid.
void build_ambient_grid(GameMap& map);

}  // namespace vorn1
