// Map list: folder scan, header fields at their offsets and limits, player facts from the stem.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <SDL_ttf.h>

#include "assets/text_render.h"
#include "datakit/kit_frontend.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_roads.h"
#include "fe_fixture.h"
#include "frontend/localized_texts.h"
#include "frontend/map_discovery.h"
#include "frontend/map_select.h"
#include "frontend/scen_info.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

using fe_test::TempDir;

// Every scenario of the demo data, as the map list and the scenario information show it: a name of
// its own, whole in the label under the list (156 pixels), and a description shown whole in both: in
// the map list's details box (288 pixels wide and four lines of the game's font under the kit's art),
// and without a cut on the scenario information. The title written in the DOS code page shows its
// letters.
TEST(MapDiscovery, KitScenarioDescriptionsShowWholeOnTheScenarioPanels) {
    strings().load_from_text("{}", "{}");
    TempDir t("kitmaps");
    ASSERT_TRUE(kit::write_demo_maps(t.path.string()));
    const std::vector<MapFileInfo> maps = discover_maps(t.path.string());
    ASSERT_GE(maps.size(), 12u);
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kSmallFontSize);
    ASSERT_TRUE(font && small);
    int classic = -1, longest = -1;
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const std::string description = localized_map_desc(maps[i].stem, maps[i].description);
        EXPECT_FALSE(description.empty()) << maps[i].stem;
        EXPECT_LE(text::wrap_pixels(font, description, 288).size(), 4u) << description;
        EXPECT_FALSE(scen_info_description_layout(description, font, small).cut) << description;
        EXPECT_EQ(fitted_map_label(font, maps, (int)i, 156), localized_map_name(maps[i].stem, maps[i].name));
        if (i > 0) {
            EXPECT_NE(maps[i].name, maps[i - 1].name);
        }
        if (maps[i].stem == "KITC1200") classic = (int)i;
        if (maps[i].stem == "KITW1200") longest = (int)i;
    }
    ASSERT_GE(classic, 0);
    EXPECT_EQ(maps[(size_t)classic].name, kit::kClassicTitleMapName);  // the file's bytes, as saves keep them
    EXPECT_EQ(fitted_map_label(font, maps, classic, 156), "D\xC3\xBCnmoor Vall\xC3\xA9" "e");
    EXPECT_NE(localized_map_desc("KITC1200", maps[(size_t)classic].description).find("caf\xC3\xA9 of D\xC3\xBCnmoor"),
              std::string::npos);
    // One of them fills the header's room, more than the information's own box holds.
    ASSERT_GE(longest, 0);
    EXPECT_GT(text::wrap_pixels(font, maps[(size_t)longest].description, 250).size(), 3u);
    TTF_CloseFont(small);
    TTF_CloseFont(font);
    TTF_Quit();
}

TEST(MapDiscovery, ScanKeepsMapFilesOnlySortedByHeaderName) {
    TempDir t("scan");
    t.put("b.MAP", kit::map_header_bytes("Beta", "second", 1, 2));
    t.put("a.map", kit::map_header_bytes("Alpha", "first", 0, 0));
    t.put("c.txt", kit::map_header_bytes("Aardvark", "", 0, 0));
    t.put("x.MAP.bak", kit::map_header_bytes("Aaa", "", 0, 0));
    t.put(".MAP", kit::map_header_bytes("Aab", "", 0, 0));
    t.put("NOEXT", kit::map_header_bytes("Aac", "", 0, 0));
    std::filesystem::create_directories(t.path / "dir.MAP");
    std::filesystem::create_symlink(t.path / "a.map", t.path / "link.MAP");
    std::filesystem::create_symlink(t.path / "missing", t.path / "dangling.MAP");

    const std::vector<MapFileInfo> maps = discover_maps(t.path.string());
    ASSERT_EQ(maps.size(), 3u);  // a.map, b.MAP and the link to a.map
    EXPECT_EQ(maps[0].name, "Alpha");
    EXPECT_EQ(maps[1].name, "Alpha");
    EXPECT_EQ(maps[2].name, "Beta");
    EXPECT_EQ(maps[2].stem, "b");
    EXPECT_EQ(maps[2].description, "second");
    EXPECT_EQ(maps[2].size, 1);
    EXPECT_EQ(maps[2].difficulty, 2);
    for (const MapFileInfo& m : maps) EXPECT_TRUE(m.stem == "a" || m.stem == "b" || m.stem == "link") << m.stem;

    EXPECT_TRUE(discover_maps((t.path / "nothing").string()).empty());
}

TEST(MapDiscovery, HeaderFieldsStopAtTheirLimits) {
    TempDir t("limits");
    t.put("full.map", kit::map_header_bytes(std::string(16, 'N'), std::string(120, 'D'), 7, 3));
    const MapFileInfo full = read_map_info((t.path / "full.map").string());
    EXPECT_EQ(full.name, std::string(15, 'N'));  // byte 19 never belongs to the name
    EXPECT_EQ(full.description, std::string(120, 'D'));
    EXPECT_EQ(full.size, 7);
    EXPECT_EQ(full.difficulty, 3);

    // A short file reads as zero-filled: no name below 5 bytes, a partial description otherwise.
    kit::Bytes head = kit::map_header_bytes("Cut", "Partial text", 2, 1);
    head.resize(160);
    t.put("cut.map", head);
    const MapFileInfo cut = read_map_info((t.path / "cut.map").string());
    EXPECT_EQ(cut.name, "Cut");
    EXPECT_EQ(cut.description, "Partia");
    t.put("tiny.map", kit::Bytes{0, 0, 3, 2});
    const MapFileInfo tiny = read_map_info((t.path / "tiny.map").string());
    EXPECT_EQ(tiny.name, "");
    EXPECT_EQ(tiny.difficulty, 3);
    EXPECT_EQ(tiny.size, 2);
}

TEST(MapDiscovery, PlayerFactsComeFromTheStemsLastFourDigits) {
    struct Case {
        const char* stem;
        bool single;
        int players;
        bool multi;
    };
    const Case cases[] = {{"AES31000", true, 1, false}, {"BEM20234", false, 4, true}, {"KNS21234", true, 4, true},
                          {"MIS71200", true, 2, true},  {"TEST", true, 1, false},     {"KNS2", true, 1, false},
                          {"X12a4", true, 1, false},    {"ZZ0000", false, 1, false},  {"123", true, 1, false}};
    TempDir t("stems");
    for (const Case& c : cases) {
        t.put(std::string(c.stem) + ".MAP", kit::map_header_bytes(c.stem, "", 0, 0));
        const MapFileInfo m = read_map_info((t.path / (std::string(c.stem) + ".MAP")).string());
        EXPECT_EQ(m.single_player, c.single) << c.stem;
        EXPECT_EQ(m.players, c.players) << c.stem;
        EXPECT_EQ(m.multiplayer, c.multi) << c.stem;
    }
    // A file that cannot be opened keeps the defaults whatever its digits say.
    const MapFileInfo gone = read_map_info((t.path / "BEM20234-gone" / "BEM20234.MAP").string());
    EXPECT_TRUE(gone.single_player);
    EXPECT_EQ(gone.players, 1);
    EXPECT_EQ(gone.stem, "BEM20234");
    EXPECT_EQ(gone.name, "");
}

TEST(MapDiscovery, StemsOfBothSeparators) {
    EXPECT_EQ(map_stem_of("maps\\x\\ABC.MAP"), "ABC");
    EXPECT_EQ(map_stem_of("maps/KNS21234.MAP"), "KNS21234");
    EXPECT_EQ(map_stem_of("a.b.MAP"), "a.b");
    EXPECT_EQ(map_stem_of("plain"), "plain");
}

TEST(MapDiscovery, JunkStaysOutAndRepeatedNamesShowTheirFiles) {
    TempDir t("junk");
    kit::Bytes junk(3000);
    uint32_t x = 12345;
    for (uint8_t& b : junk) b = (uint8_t)((x = x * 1103515245u + 12345u) >> 24);
    t.put("JUNK.MAP", junk);
    t.put("SHORT.MAP", kit::Bytes(40, 0x41));
    kit::Bytes control = kit::map_header_bytes("Bad\x01Name", "", 0, 0);
    t.put("CONTROL.MAP", control);
    kit::Bytes wide = kit::map_header_bytes("Wide", "", 0, 0);
    wide[20] = 100;
    t.put("WIDE.MAP", wide);
    t.put("NONAME.MAP", kit::map_header_bytes("", "nameless", 0, 0));
    t.put("A.MAP", kit::map_header_bytes("Twin", "", 0, 0));
    t.put("B.MAP", kit::map_header_bytes("Twin", "", 0, 0));
    t.put("C.MAP", kit::map_header_bytes("Twin", "", 0, 0));
    t.put("D.MAP", kit::map_header_bytes("Solo\xE9", "", 0, 0));  // a letter of a single-byte encoding
    // Letters of the classic data's code pages lie from 0x80 up, 0x80..0x9F too (0x82 is an accented e).
    t.put("E.MAP", kit::map_header_bytes("Cr\x82\x80\x9F", "", 0, 0));
    t.put("DEL.MAP", kit::map_header_bytes("Del\x7F", "", 0, 0));
    // Names that look the same once drawn: blanks at either end (0xFF is the DOS no-break space).
    t.put("F.MAP", kit::map_header_bytes("Pair", "", 0, 0));
    t.put("G.MAP", kit::map_header_bytes("Pair   ", "", 0, 0));
    t.put("H.MAP", kit::map_header_bytes(" Pair\xFF", "", 0, 0));
    t.put("I.MAP", kit::map_header_bytes("Pai r", "", 0, 0));
    const std::vector<MapFileInfo> maps = discover_maps(t.path.string());
    std::vector<std::string> labels;
    for (int i = 0; i < (int)maps.size(); ++i) labels.push_back(map_list_label(maps, i));
    std::sort(labels.begin(), labels.end());
    // Shown in the DOS code page's letters: e-acute, C-cedilla and f-hook; theta.
    EXPECT_EQ(labels, (std::vector<std::string>{"Cr\xC3\xA9\xC3\x87\xC6\x92", "Pai r", "Pair (F.MAP)", "Pair (G.MAP)",
                                                "Pair (H.MAP)", "Solo\xCE\x98", "Twin (A.MAP)", "Twin (B.MAP)",
                                                "Twin (C.MAP)"}));
    const auto g = std::find_if(maps.begin(), maps.end(), [](const MapFileInfo& m) { return m.stem == "G"; });
    ASSERT_NE(g, maps.end());
    EXPECT_EQ(g->name, "Pair   ");  // the file's bytes are kept
    EXPECT_EQ(map_list_label(maps, (int)maps.size()), "");
}

// Two maps of one name in a narrow row: the file's name gives way, the map's name stays whole.
TEST(MapDiscovery, ATwinsLabelShortensTheFileNotTheName) {
    strings().load_from_text("{}", "{}");
    std::vector<MapFileInfo> maps(2);
    maps[0].path = "maps/KITBAT1.MAP";
    maps[1].path = "maps/KITBAT2.MAP";
    for (MapFileInfo& m : maps) {
        m.stem = map_stem_of(m.path);
        m.name = "Battle";
    }
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    ASSERT_NE(font, nullptr);
    const auto width = [&](const std::string& s) { return text::measure(font, s).x; };
    EXPECT_EQ(fitted_map_label(font, maps, 1, width("Battle (KITBAT2.MAP)")), "Battle (KITBAT2.MAP)");
    EXPECT_EQ(fitted_map_label(font, maps, 1, width("Battle (KITBAT2.MAP)") - 1), "Battle (KITBAT2)");
    EXPECT_EQ(fitted_map_label(font, maps, 1, width("Battle (..BAT2)")), "Battle (..BAT2)");
    EXPECT_EQ(fitted_map_label(font, maps, 1, width("Battle (..2)") - 1), "Battle");
    for (int w = width("Battle"); w <= width("Battle (KITBAT2.MAP)"); ++w) {
        const std::string label = fitted_map_label(font, maps, 1, w);
        EXPECT_EQ(label.rfind("Battle", 0), 0u) << w << ": " << label;
        EXPECT_LE(width(label), w) << label;
    }
    TTF_CloseFont(font);
    TTF_Quit();
}

// A title too wide for the label under the list and the scenario information's field keeps its
// start, cut between letters past its first word, and shows the cut with "..."; one that fits stays
// whole.
TEST(MapDiscovery, ATooWideTitleIsCutVisibly) {
    strings().load_from_text("{}", "{}");
    std::vector<MapFileInfo> maps(1);
    maps[0].path = "maps/UBER.MAP";
    maps[0].stem = "UBER";
    maps[0].name = "\x9A" "berm\x81hle Kr\x84h\x82";  // the file's code page
    const std::string title = "\xC3\x9C" "berm\xC3\xBChle Kr\xC3\xA4h\xC3\xA9", first_word = title.substr(0, 11);
    NewGameConfig c;
    c.map_name = maps[0].name;
    c.map_stem = maps[0].stem;
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    ASSERT_NE(font, nullptr);
    TTF_SetFontHinting(font, TTF_HINTING_NONE);  // as the game opens it
    const auto width = [&](const std::string& s) { return text::measure(font, s).x; };
    ASSERT_GT(width(title), 157) << "too wide for both";
    for (const std::string& shown : {fitted_map_label(font, maps, 0, 156), scen_info_map_title(font, c)}) {
        ASSERT_GT(shown.size(), first_word.size() + 4) << shown;
        EXPECT_EQ(shown.substr(shown.size() - 3), "...") << shown;
        EXPECT_EQ(title.rfind(shown.substr(0, shown.size() - 3), 0), 0u) << shown;
        EXPECT_LE(width(shown), 157) << shown;
    }
    EXPECT_EQ(fitted_map_label(font, maps, 0, width(title)), title);
    EXPECT_EQ(text::fit_chars_marked(font, title, width(first_word + " K...")), first_word + " K...");
    EXPECT_EQ(text::fit_chars_marked(font, title, width(first_word + " K...") - 1), first_word + "...")
        << "no space before the mark";
    TTF_CloseFont(font);
    TTF_Quit();
}

TEST(MapDiscovery, KnownMapsKeepOnlyNamedFilesInTableOrder) {
    TempDir t("known");
    t.put("maps/KNS21234.MAP", kit::map_header_bytes("Kings", "", 0, 0));
    t.put("maps/AES31000.MAP", kit::map_header_bytes("Aces", "", 0, 0));
    t.put("maps/BEM20234.MAP", kit::map_header_bytes("", "nameless", 0, 0));
    const std::vector<MapFileInfo> maps = known_map_infos(t.dir());
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].stem, "AES31000");
    EXPECT_EQ(maps[1].stem, "KNS21234");
    EXPECT_EQ(maps[1].players, 4);
}

}  // namespace
}  // namespace vorn1
