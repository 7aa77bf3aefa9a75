// make_fuzz_seeds OUT_DIR: writes the seed corpus of every fuzz target into OUT_DIR/<corpus>/.
#include <cstdio>
#include <exception>

#include "datakit/datakit.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_frontend.h"
#include "datakit/kit_battle.h"
#include "datakit/kit_battledraw.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_saves.h"
#include "datakit/kit_scores.h"
#include "datakit/kit_sound.h"
#include "datakit/kit_town.h"
#include "datakit/kit_video.h"

namespace {

// One seed writer per area; add yours here.
using SeedWriter = void (*)(const std::string& out_dir);
const SeedWriter kSeedWriters[] = {
    vorn1::kit::write_asset_seeds,
    vorn1::kit::write_lang_seeds,
    vorn1::kit::write_map_fuzz_seeds,
    vorn1::kit::write_town_seeds,
    vorn1::kit::write_battle_seeds,
    vorn1::kit::write_save_fuzz_seeds,
    vorn1::kit::write_screens_seeds,
    vorn1::kit::write_sound_seeds,
    vorn1::kit::write_film_sound_seeds,
    vorn1::kit::write_smk_seeds,
    vorn1::kit::write_frontend_seeds,
    vorn1::kit::write_creature_sprite_seeds,
    vorn1::kit::write_battle_scene_seeds,
    vorn1::kit::write_highscore_seeds,
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds OUT_DIR\n");
        return 2;
    }
    try {
        for (SeedWriter w : kSeedWriters) w(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
