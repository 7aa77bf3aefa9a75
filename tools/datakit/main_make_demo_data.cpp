// make_demo_data OUT_DIR: writes a whole demo data folder (archive, language files, maps, sounds).
// make_demo_data --lang DATA_DIR: puts the English catalogue and fonts into a player's data folder
// where they are missing.
#include <cstdio>
#include <exception>
#include <string>

#include "datakit/datakit.h"
#include "datakit/kit_catalogue.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_roads.h"
#include "datakit/kit_video.h"

namespace {

// A player's own data: the English catalogue and fonts where its language folder lacks them.
int fill_lang(const std::string& data_dir) {
    const vorn1::kit::LangFill fill = vorn1::kit::fill_lang_folder(data_dir);
    if (!fill.written.empty()) {
        std::string names;
        for (const std::string& n : fill.written) names += (names.empty() ? "" : ", ") + n;
        std::printf("The project's English text was put into %s (%s); files already there are kept.\n",
                    fill.folder.c_str(), names.c_str());
    }
    if (!fill.ok) std::fprintf(stderr, "make_demo_data: could not write every file into %s\n", fill.folder.c_str());
    return fill.ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (std::string(argv[1]) == "--lang" && argc < 3)) {
        std::fprintf(stderr, "usage: make_demo_data OUT_DIR\n       make_demo_data --lang DATA_DIR\n");
        return 2;
    }
    vorn1::kit::add_game_english_strings();  // every area's catalogue texts, before LANG is written
    if (std::string(argv[1]) == "--lang") return fill_lang(argv[2]);
    const std::string out = argv[1];
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
    if (!vorn1::kit::write_demo_maps(out + "/maps")) {
        std::fprintf(stderr, "make_demo_data: could not write %s/maps\n", out.c_str());
        return 1;
    }
    std::printf("demo data written to %s\n", out.c_str());
    return 0;
}
