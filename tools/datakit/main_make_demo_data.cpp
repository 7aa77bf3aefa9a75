// make_demo_data OUT_DIR: writes a whole demo data folder (archive, language files, maps, sounds).
#include <cstdio>
#include <exception>
#include <string>

#include "datakit/datakit.h"
#include "datakit/kit_catalogue.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_video.h"
#include "datakit/kit_battle_road.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_demo_data OUT_DIR\n");
        return 2;
    }
    const std::string out = argv[1];
    vorn1::kit::add_game_english_strings();  // every area's catalogue texts, before LANG is written
    try {
        vorn1::kit::write_demo_data(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_demo_data: %s\n", e.what());
        return 1;
    }
    if (!vorn1::kit::write_demo_videos(out + "/ANIM")) {
        std::fprintf(stderr, "make_demo_data: could not write %s/ANIM\n", out.c_str());
        return 1;
    }
    if (!vorn1::kit::write_kit_maps(out + "/maps") ||
        !vorn1::kit::write_map_file(out + "/maps/" + vorn1::kit::kBattleMapFile, vorn1::kit::make_battle_map()) ||
        !vorn1::kit::write_map_file(out + "/maps/" + vorn1::kit::kSpellMapFile, vorn1::kit::make_spell_map()) ||
        !vorn1::kit::write_map_file(out + "/maps/" + vorn1::kit::kSiegeMapFile, vorn1::kit::make_siege_map()) ||
        !vorn1::kit::write_map_file(out + "/maps/" + vorn1::kit::KIT_QUICK_WIN_FILE, vorn1::kit::make_quick_win_map())) {
        std::fprintf(stderr, "make_demo_data: could not write %s/maps\n", out.c_str());
        return 1;
    }
    std::printf("demo data written to %s\n", out.c_str());
    return 0;
}
