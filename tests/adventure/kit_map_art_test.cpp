// Every map the data kit writes against the kit's archive: each object a tile names has its picture
// there, and each site a hero can visit is named by quick information, not by the ground under it.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "adventure/adventure_resources.h"
#include "adventure/quikinfo.h"
#include "adventure/render_map.h"
#include "assets/agg.h"
#include "assets/icn.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_roads.h"
#include "lang/runtime_strings.h"
#include "temp_dir.h"
#include "world/game_setup.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {
namespace {

TEST(KitMapArt, EverySiteOfEveryKitMapIsDrawnAndNamed) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    const AggArchive agg = AggArchive::from_bytes(kit::demo_archive_bytes());
    const Palette pal = kit::demo_palette();
    std::map<int, IcnFrames> sets;
    auto frames_of = [&](int set) -> const IcnFrames& {
        auto it = sets.find(set);
        if (it == sets.end()) {
            const std::string entry = object_set_entry(set);
            it = sets.emplace(set, agg.has(entry) ? decode_icn(agg.get(entry), pal) : IcnFrames{}).first;
        }
        return it->second;
    };
    std::set<std::string> ground_names;
    for (const char* k : {"ADV_QI_WATER", "ADV_QI_GRASS", "ADV_QI_ROUGH", "ADV_QI_DIRT", "ADV_QI_SWAMP", "ADV_QI_SAND",
                          "ADV_QI_FOREST", "ADV_QI_MOUNTAINS"})
        ground_names.insert(strings().get(k));

    test::TempDir dir("kit_map_art");
    ASSERT_TRUE(kit::write_demo_maps(dir.dir()));
    std::vector<std::pair<std::string, GameMap>> maps{{"DEMO.MAP", load_map_bytes(agg.get("DEMO.MAP"))}};
    for (const auto& e : std::filesystem::directory_iterator(dir.path)) {
        const std::string ext = e.path().extension().string(), file = e.path().filename().string();
        maps.push_back({file, ext == ".CMP" ? load_cmp(e.path().string()) : load_map(e.path().string())});
    }
    ASSERT_GE(maps.size(), 30u);

    int sites = 0;
    for (auto& [file, map] : maps) {
        ASSERT_TRUE(map.has_tiles()) << file;
        GameState state;
        init_game_state(state, map, NewGameConfig{}, 7);
        for (int y = 0; y < map.height; ++y)
            for (int x = 0; x < map.width; ++x) {
                const MapTile& t = *map.tile(x, y);
                const std::string at = file + " (" + std::to_string(x) + ", " + std::to_string(y) + ")";
                bool drawn = false;
                for (const auto& [set, frame] : {std::pair{t.layer1_set, t.layer1_frame}, {t.layer2_set, t.layer2_frame}}) {
                    if (!layer_present(set, frame)) continue;
                    const IcnFrames& icn = frames_of(set);
                    ASSERT_LT(frame, icn.frames.size()) << object_set_entry(set) << " frame " << (int)frame << " at " << at;
                    EXPECT_FALSE(icn.frames[frame].empty()) << object_set_entry(set) << " frame " << (int)frame;
                    drawn = true;
                }
                if (t.object_type < OBJ_EVENT_FIRST) continue;
                ++sites;
                EXPECT_TRUE(drawn) << "object type " << (int)t.object_type << " at " << at << " has no picture";
                const std::vector<std::string> lines = quick_info_lines(state, map, -1, x, y, false);
                ASSERT_FALSE(lines.empty()) << at;
                EXPECT_FALSE(ground_names.count(lines[0]))
                    << "object type " << (int)t.object_type << " at " << at << " is named " << lines[0];
            }
    }
    EXPECT_GT(sites, 500);
    strings().load_from_text("", "");
}

}  // namespace
}  // namespace vorn1
