#include "datakit/datakit.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_town.h"
#include <cstdio>
int main(int argc, char** argv) {
    if (argc < 2) { std::fprintf(stderr, "usage: make_demo_data OUT_DIR\n"); return 2; }
    const std::string out = argv[1];
    vorn1::kit::add_english_strings(vorn1::kit::town_english_strings());
    if (!vorn1::kit::write_lang_folder(out)) {
        std::fprintf(stderr, "make_demo_data: could not write %s/LANG\n", out.c_str());
        return 1;
    }
    if (!vorn1::kit::write_kit_maps(out + "/maps")) {
        std::fprintf(stderr, "make_demo_data: could not write %s/maps\n", out.c_str());
        return 1;
    }
    return 0;
}
