#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "datakit/kit_town.h"
#include "lang/runtime_strings.h"
#include "world/spell_table.h"
#include "world/town_names.h"

using namespace vorn1;

namespace {

// A catalogue that knows a few keys in the current language, a few more only in English,
// and lacks "HERONAME_05".
class TownNames : public ::testing::Test {
protected:
    void SetUp() override {
        strings().load_from_text(
            R"({"CITYNAME_27":"Tremvik","STRUCT_PYRAMID":"Piramide","HERONAME_00":"Signore Zevoraz",
                "CREATURE_HYDRA_PLURAL":"Idre","STRUCT_ARCHERY_RANGE_K":"Tiro con l'arco"})",
            R"j({"CITYNAME_27":"Tremwick","CAMP8_CITYNAME":"Castle Oskarn (en)","STRUCT_WELL":"Well (en)",
                "CREATURE_DRAGON_PLURAL":"Dragons (en)"})j");
    }
    void TearDown() override { strings().load_from_text("", ""); }
};

}  // namespace

TEST_F(TownNames, TownsMapThroughTheirKeys) {
    EXPECT_EQ(localized_castle_name("Tremwick"), "Tremvik");
    EXPECT_EQ(localized_castle_name("Castle Oskarn"), "Castle Oskarn (en)");  // English fallback
    EXPECT_EQ(localized_castle_name("Oskarn"), "CITYNAME_00");                // missing: the key
    EXPECT_EQ(localized_castle_name("Xabran"), "CITYNAME_35");
    EXPECT_EQ(localized_castle_name("PYRAMID"), "Piramide");
    // Unknown, trailing blank, wrong case: shown as stored.
    EXPECT_EQ(localized_castle_name("Tremwick "), "Tremwick ");
    EXPECT_EQ(localized_castle_name("tremwick"), "tremwick");
    EXPECT_EQ(localized_castle_name("Authorville"), "Authorville");
    EXPECT_EQ(localized_castle_name(""), "");
    EXPECT_EQ(localized_castle_name("pyramid"), "pyramid");
    EXPECT_EQ(localized_castle_name(std::string("Tremwick\0x", 10)), std::string("Tremwick\0x", 10));
}

TEST_F(TownNames, HeroesAndStructures) {
    EXPECT_EQ(localized_hero_name("Lord Zevoraz"), "Signore Zevoraz");
    EXPECT_EQ(localized_hero_name("Maxiumus"), "HERONAME_05");
    EXPECT_EQ(localized_hero_name("Dodora"), "HERONAME_35");
    EXPECT_EQ(localized_hero_name("Nobody"), "Nobody");
    EXPECT_EQ(localized_structure_name(nullptr), "");
    EXPECT_EQ(localized_structure_name("Pyramid"), "Piramide");
    EXPECT_EQ(localized_structure_name("pyramid"), "pyramid");
    EXPECT_EQ(localized_structure_name("PYRAMID"), "PYRAMID");  // only the town table has it
    EXPECT_EQ(localized_structure_name("Archery Range"), "Tiro con l'arco");
    EXPECT_EQ(localized_structure_name("Well"), "Well (en)");
    EXPECT_EQ(localized_structure_name("Black Tower"), "STRUCT_BLACK_TOWER");
    EXPECT_EQ(localized_structure_name("Recruit Hero"), "Recruit Hero");
}

TEST_F(TownNames, CreaturePlurals) {
    EXPECT_EQ(localized_creature_plural_en(nullptr), "");
    EXPECT_EQ(localized_creature_plural_en("Hydras"), "Idre");
    EXPECT_EQ(localized_creature_plural_en("Dragons"), "Dragons (en)");
    EXPECT_EQ(localized_creature_plural_en("Peasants"), "CREATURE_PEASANT_PLURAL");
    EXPECT_EQ(localized_creature_plural_en("Cyclopes"), "CREATURE_CYCLOPS_PLURAL");
    EXPECT_EQ(localized_creature_plural_en("Rogues"), "Rogues");
    EXPECT_EQ(localized_creature_plural_en("Genies"), "Genies");
    EXPECT_EQ(localized_creature_plural_en("hydras"), "hydras");
    // A catalogue text with an embedded NUL is cut there.
    strings().load_from_text(R"({"CREATURE_ORC_PLURAL":"Orki\u0000junk"})", "");
    EXPECT_EQ(localized_creature_plural_en("Orcs"), "Orki");
}

// Keys are numbered in table order; a slip shifts every later name.
TEST_F(TownNames, KeysFollowTableOrder) {
    for (int i = 0; i < 36; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "CITYNAME_%02d", i);
        EXPECT_STREQ(kCityKey[i].key, key);
        std::snprintf(key, sizeof key, "HERONAME_%02d", i);
        EXPECT_STREQ(kHeroKey[i].key, key);
    }
    for (int i = 0; i < kCreaturePluralCount; ++i) EXPECT_EQ(kId[i].id, i);
}

// With the kit's English catalogue every table name reads back as its English text.
TEST_F(TownNames, KitCatalogueCoversEveryName) {
    strings().load_from_text("", nlohmann::json(kit::town_english_strings()).dump());
    for (const NameKeyPair& p : kCityKey) {
        const std::string shown = localized_castle_name(p.name);
        EXPECT_EQ(shown, std::string(p.name) == "PYRAMID" ? "Pyramid" : p.name);
    }
    for (const NameKeyPair& p : kHeroKey) EXPECT_EQ(localized_hero_name(p.name), p.name);
    for (const NameKeyPair& p : kKey) EXPECT_EQ(localized_structure_name(p.name), p.name);
    for (const NameIdPair& p : kId) EXPECT_EQ(localized_creature_plural_en(p.name), p.name);
    for (int s = 0; s < kSpellCount; ++s) EXPECT_NE(spell_name(s).rfind("SPELLNAME_", 0), 0u) << s;
}
