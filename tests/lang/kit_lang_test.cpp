#include <gtest/gtest.h>

#include <SDL_ttf.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "datakit/kit_lang.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

namespace fs = std::filesystem;

TEST(KitLang, WritesCatalogueAndFontsTheGameOpens) {
    const fs::path out = fs::temp_directory_path() / ("vorn1_kitlang_" + std::to_string(::getpid()));
    fs::remove_all(out);
    kit::add_english_strings({{"TEST_KIT_EXTRA", "Extra {0}"}, {"CREATURE_HYDRA_PLURAL", "Hydras"}});
    ASSERT_TRUE(kit::write_lang_folder(out.string()));
    const std::string root = (out / "LANG").string();

    StringTable t;
    t.load(root, EN);
    for (const char* stem : kCreatureKeyStem) {
        for (const char* suffix : {"_PLURAL", "_SG", "_GEN"}) {
            const std::string key = std::string("CREATURE_") + stem + suffix;
            EXPECT_TRUE(t.has(key)) << key;
            EXPECT_NE(t.get(key), key);
        }
    }
    EXPECT_EQ(t.format("TEST_KIT_EXTRA", {"x"}), "Extra x");
    // Artifact names as the visit dialogs look them up: "ARTIFACTNAME_%02d", the book apart.
    for (int id = 0; id < 37; ++id) {
        char key[32];
        std::snprintf(key, sizeof key, "ARTIFACTNAME_%02d", id);
        EXPECT_NE(t.get(key), key);
    }
    EXPECT_EQ(t.get("ARTIFACTNAME_08"), "Medal of Valor");
    EXPECT_EQ(t.get("ARTIFACT_SPELLBOOK_TITLE"), "Magic Book");

    // A language without catalogue or fonts of its own falls back to what the kit wrote.
    t.load(root, PL);
    EXPECT_EQ(t.get("CREATURE_DWARF_SG"), "Dwarf");
    LangFontPaths fonts = lang_font_paths(PL, root);
    ASSERT_EQ(TTF_Init(), 0);
    for (const auto& [path, size] : {std::pair{fonts.large_path, fonts.large_size},
                                     std::pair{fonts.small_path, fonts.small_size}}) {
        TTF_Font* f = TTF_OpenFont(path.c_str(), size);
        ASSERT_NE(f, nullptr) << path;
        int w = 0, h = 0;
        EXPECT_EQ(TTF_SizeUTF8(f, "Dravenmoor", &w, &h), 0);
        EXPECT_GT(w, 0);
        TTF_CloseFont(f);
    }
    TTF_Quit();
    fs::remove_all(out);
}

// A player's own data folder: what is missing is put in, whatever is there stays as it was, and a
// second run writes nothing.
TEST(KitLang, FillsAPlayersLanguageFolderWithoutWritingOverItsFiles) {
    const fs::path data = fs::temp_directory_path() / ("vorn1_kitfill_" + std::to_string(::getpid()));
    fs::remove_all(data);
    fs::create_directories(data / "lang");
    {
        std::ofstream own(data / "lang" / "Strings_EN.json");
        own << R"({"OWN":"mine"})";
    }
    kit::LangFill fill = kit::fill_lang_folder(data.string());
    EXPECT_TRUE(fill.ok);
    EXPECT_EQ(fill.folder, (data / "lang").string()) << "the folder that is there, in its own letter case";
    EXPECT_EQ(fill.written, (std::vector<std::string>{"font_en.ttf", "font_small_en.ttf"}));
    EXPECT_FALSE(fs::exists(data / "LANG"));
    StringTable t;
    t.load((data / "lang").string(), EN);
    EXPECT_EQ(t.get("OWN"), "mine") << "the player's catalogue was written over";
    EXPECT_TRUE(kit::fill_lang_folder(data.string()).written.empty());

    // A folder with only an archive and maps gets LANG/ with all three, and its catalogue is the kit's.
    fs::remove_all(data / "lang");
    fill = kit::fill_lang_folder(data.string());
    EXPECT_TRUE(fill.ok);
    EXPECT_EQ(fill.written.size(), 3u);
    t.load((data / "LANG").string(), EN);
    EXPECT_EQ(t.get("ARTIFACTNAME_08"), "Medal of Valor");
    EXPECT_GT(fs::file_size(data / "LANG" / "font_small_en.ttf"), 1000u);
    fs::remove_all(data);
}

}  // namespace
}  // namespace vorn1
