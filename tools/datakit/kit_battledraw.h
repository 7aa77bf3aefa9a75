#pragma once
// Battle drawing additions to the data kit: creature sprite files with shadows and attack parts,
// and the seeds of the creature sprite fuzz target.
#include <string>
#include <vector>

#include "datakit/datakit.h"

namespace vorn1::kit {

// A standing set in the full layout: header 0 the outline, frames 1..8 colour, 10..13 shadows
// of frames 1..4, 15..17 shadows of the three melee poses. Frame i is filled with index 10 + i.
Bytes creature_std_with_shadows();
// A shooter's attack set: base 0, parts 1..4, missile frames 5..9, shadows 10..13.
Bytes creature_atk_with_parts();

// Seeds of fuzz_creature_sprites: OUT/creature_sprites/seed*.
void write_creature_sprite_seeds(const std::string& out_dir);

// A tile or obstacle set whose frames carry the given run-length streams.
Bytes scene_set(const std::vector<Bytes>& streams);
// Seeds of fuzz_battle_scene: OUT/battle_scene/* (a selector byte, then a sky picture or a set).
void write_battle_scene_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
