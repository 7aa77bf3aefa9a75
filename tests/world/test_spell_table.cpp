#include <gtest/gtest.h>

#include <set>

#include "lang/runtime_strings.h"
#include "world/spell_table.h"
#include "world/game_state.h"

using namespace vorn1;

TEST(SpellTable, RowsAreIndexedByIdWithLevelBands) {
    std::set<int> icons;
    for (int id = 0; id < kSpellCount; ++id) {
        const SpellInfo* s = spell_info(id);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->id, id);
        const int expected_level = id <= 6 ? 1 : id <= 14 ? 2 : id <= 23 ? 3 : 4;
        EXPECT_EQ(s->level, expected_level) << id;
        icons.insert(s->icon);
    }
    // Every SPELLS.ICN frame 0..28 pictures exactly one spell.
    EXPECT_EQ(icons.size(), 29u);
    EXPECT_EQ(*icons.begin(), 0);
    EXPECT_EQ(*icons.rbegin(), 28);

    const SpellInfo* dd = spell_info(25);
    ASSERT_NE(dd, nullptr);
    EXPECT_STREQ(dd->name, "Dimension Door");
    EXPECT_EQ(dd->level, 4);
    EXPECT_EQ(dd->icon, 27);
    EXPECT_EQ(spell_info(16)->icon, 0);  // Fireball
    EXPECT_EQ(spell_info(29), nullptr);
    EXPECT_EQ(spell_info(-1), nullptr);
    EXPECT_EQ(spell_info(255), nullptr);
}

TEST(SpellTable, NamesComeFromTheCatalogue) {
    strings().load_from_text(R"({"SPELLNAME_03":"Schutz"})", R"({"SPELLNAME_03":"Protection","SPELLNAME_28":"View All"})");
    EXPECT_EQ(spell_name(3), "Schutz");
    EXPECT_EQ(spell_name(28), "View All");  // English fallback
    EXPECT_EQ(spell_name(0), "SPELLNAME_00");  // missing everywhere: the key
    EXPECT_EQ(spell_name(-1), "");
    EXPECT_EQ(spell_name(29), "");
    strings().load_from_text("", "");
}

TEST(SpellTable, GuildLevelFromHighestBit) {
    EXPECT_EQ(mage_guild_level_of(0), 0);
    EXPECT_EQ(mage_guild_level_of(0x2 | 0x4 | 0x10 | 0x80 | 0x100), 0);
    EXPECT_EQ(mage_guild_level_of(0x1), 1);
    EXPECT_EQ(mage_guild_level_of(0x4000), 2);
    EXPECT_EQ(mage_guild_level_of(0x8000), 3);
    EXPECT_EQ(mage_guild_level_of(0x40), 4);
    EXPECT_EQ(mage_guild_level_of(0x1 | 0x4000), 2);
    EXPECT_EQ(mage_guild_level_of(0x1 | 0x40), 4);
    EXPECT_EQ(mage_guild_level_of(0x4000 | 0x8000), 3);
    CastleState c;
    c.buildings = 0x8000;
    EXPECT_EQ(mage_guild_level(c), 3);
}
